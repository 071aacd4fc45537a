#include "output/changed_lines.h"

#include <gtest/gtest.h>

#include <string>

using namespace output;

namespace {

struct Case {
    const char* before;
    const char* after;
    std::size_t start, oldLength, newLength;
};

std::string applied(const std::string& before, const std::string& after, const ChangedLines& span) {
    return before.substr(0, span.start) + after.substr(span.start, span.newLength) +
           before.substr(span.start + span.oldLength);
}

}  // namespace

TEST(ChangedLinesTest, SpansWholeLinesThatDiffer) {
    const Case cases[] = {
        {"", "", 0, 0, 0},
        {"a\r\nb\r\n", "a\r\nb\r\n", 6, 0, 0},             // nothing differs: an empty span at the end
        {"a\r\nb\r\nc\r\n", "a\r\nbb\r\nc\r\n", 3, 3, 4},  // one line in the middle, the whole line
        {"ab\r\nc\r\n", "ax\r\nc\r\n", 0, 4, 4},           // the first line
        {"a\r\nb\r\n", "a\r\nb\r\nc\r\n", 6, 0, 3},        // a line added at the end
        {"a\r\nb\r\nc\r\n", "a\r\nc\r\n", 3, 3, 0},        // a line deleted
        {"a\r\na\r\n", "a\r\na\r\na\r\n", 6, 0, 3},        // repeated lines: the span stays inside both texts
        {"xa\r\nxb\r\n", "ya\r\nyb\r\n", 0, 8, 8},         // every line differs
        {"a\r\nb", "a\r\nbc", 3, 1, 2},                    // no line break at the end
        {"a\r\n中文\r\n", "a\r\n中字\r\n", 3, 8, 8},       // multi-byte characters stay whole
        {"a\nb\n", "a\nb\r\n", 2, 2, 3},                   // the break itself changed
    };
    for (const Case& c : cases) {
        const ChangedLines span = changedLines<char>(c.before, c.after);
        EXPECT_EQ(span.start, c.start) << c.before << " -> " << c.after;
        EXPECT_EQ(span.oldLength, c.oldLength) << c.before << " -> " << c.after;
        EXPECT_EQ(span.newLength, c.newLength) << c.before << " -> " << c.after;
        EXPECT_EQ(applied(c.before, c.after, span), c.after);
    }
}

TEST(ChangedLinesTest, WorksOnUtf16Text) {
    const std::u16string before = u"a\r\n\U0001F600x\r\nc\r\n", after = u"a\r\n\U0001F600y\r\nc\r\n";
    const ChangedLines span = changedLines<char16_t>(before, after);
    EXPECT_EQ(span.start, 3u);
    EXPECT_EQ(span.oldLength, 5u) << "the surrogate pair, the letter and the break";
    EXPECT_EQ(span.newLength, 5u);
}
