#include "output/output_history.h"

#include <gtest/gtest.h>

using namespace output;

namespace {

// The output box as the history sees it: a text whose every write records.
struct FakeBox {
    OutputHistory history;
    std::string shown;

    void write(const std::string& text) {
        shown = text;
        history.record(shown);
    }
    void append(const std::string& piece) { write(shown + piece); }
    bool undo() {
        return history.undo(shown, [this](const std::string& t) { write(t); });
    }
    bool redo() {
        return history.redo([this](const std::string& t) { write(t); });
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> all;
        for (int i = 0; i < static_cast<int>(history.size()); ++i) all.push_back(history.entry(i));
        return all;
    }
};

using Texts = std::vector<std::string>;

// E0..E3 recorded one after the other, the box showing E3.
FakeBox withFourEntries() {
    FakeBox box;
    for (const char* text : {"E0", "E1", "E2", "E3"}) box.write(text);
    return box;
}

}  // namespace

TEST(OutputHistory, EmptyHistoryIgnoresUndoAndRedo) {
    FakeBox box;
    EXPECT_FALSE(box.undo());
    EXPECT_FALSE(box.redo());
    EXPECT_EQ(box.history.size(), 0u);
    EXPECT_EQ(box.history.cursor(), -1);
}

TEST(OutputHistory, CompositionOfThreeLinesRecordsFourEntries) {
    FakeBox box;
    box.write("");
    for (const char* line : {"l1\r\n", "l2\r\n", "l3\r\n"}) box.append(line);
    EXPECT_EQ(box.entries(), (Texts{"", "l1\r\n", "l1\r\nl2\r\n", "l1\r\nl2\r\nl3\r\n"}));
    EXPECT_EQ(box.history.cursor(), 3);
}

TEST(OutputHistory, UndoThenRedo) {
    FakeBox box = withFourEntries();
    EXPECT_TRUE(box.undo());
    EXPECT_EQ(box.shown, "E2");
    EXPECT_EQ(box.entries(), (Texts{"E0", "E1", "E2", "E3", "E2"}));
    EXPECT_EQ(box.history.cursor(), 2);
    EXPECT_TRUE(box.redo());
    EXPECT_EQ(box.shown, "E3");
    EXPECT_EQ(box.entries(), (Texts{"E0", "E1", "E2", "E3"}));
    EXPECT_EQ(box.history.cursor(), 3);
}

TEST(OutputHistory, TwoUndosThenRedoLosesTheLastEntry) {
    FakeBox box = withFourEntries();
    box.undo();
    box.undo();
    EXPECT_EQ(box.shown, "E1");
    EXPECT_EQ(box.entries(), (Texts{"E0", "E1", "E2", "E1"}));
    EXPECT_EQ(box.history.cursor(), 1);
    box.redo();
    EXPECT_EQ(box.shown, "E2");
    EXPECT_EQ(box.entries(), (Texts{"E0", "E1", "E2"}));
    EXPECT_EQ(box.history.cursor(), 2);
    EXPECT_FALSE(box.redo());
    EXPECT_EQ(box.shown, "E2");
}

TEST(OutputHistory, CursorAtFirstEntryUndoesNothing) {
    FakeBox box = withFourEntries();
    box.undo();
    box.undo();
    box.undo();
    EXPECT_EQ(box.shown, "E0");
    EXPECT_EQ(box.history.cursor(), 0);
    const Texts before = box.entries();
    EXPECT_FALSE(box.undo());
    EXPECT_EQ(box.entries(), before);
    EXPECT_EQ(box.shown, "E0");
}

TEST(OutputHistory, CursorOnLastEntryRedoesNothing) {
    FakeBox box = withFourEntries();
    EXPECT_FALSE(box.redo());
    EXPECT_EQ(box.entries().size(), 4u);
}

TEST(OutputHistory, EqualEntriesUndoToEmptyTextAndNoCursor) {
    FakeBox box;
    for (int i = 0; i < 4; ++i) box.write("same");
    EXPECT_TRUE(box.undo());
    EXPECT_EQ(box.shown, "");
    EXPECT_EQ(box.entries(), (Texts{"same", "same", "same", "same", ""}));
    EXPECT_EQ(box.history.cursor(), -1);
    // With no cursor, a redo restores the first entry.
    EXPECT_TRUE(box.redo());
    EXPECT_EQ(box.shown, "same");
    EXPECT_EQ(box.history.cursor(), 0);
}

TEST(OutputHistory, UndoFromNoCursorCountsFromTheEnd) {
    FakeBox box;
    for (int i = 0; i < 2; ++i) box.write("same");
    box.undo();  // empties the box, no cursor: entries same, same, ""
    ASSERT_EQ(box.history.cursor(), -1);
    EXPECT_TRUE(box.undo());
    EXPECT_EQ(box.shown, "same");
    EXPECT_EQ(box.history.cursor(), 1);
}

TEST(OutputHistory, TypingAfterUndoDropsLaterEntries) {
    FakeBox box = withFourEntries();
    box.undo();
    box.write("E2x");
    EXPECT_EQ(box.entries(), (Texts{"E0", "E1", "E2", "E2x"}));
    EXPECT_EQ(box.history.cursor(), 3);
}

TEST(OutputHistory, EntriesOutsideTheListAreEmpty) {
    FakeBox box = withFourEntries();
    EXPECT_EQ(box.history.entry(-1), "");
    EXPECT_EQ(box.history.entry(4), "");
}

TEST(OutputHistory, EditsInTheMiddleKeepEveryTextExact) {
    FakeBox box;
    const Texts texts{"", "abc\r\n", "abc\r\ndef\r\n", "abX\r\ndef\r\n", "abX\r\n", "", "中文\r\n", "中文字\r\n"};
    for (const auto& t : texts) box.write(t);
    EXPECT_EQ(box.entries(), texts);
    for (int i = 0; i < 3; ++i) box.undo();
    EXPECT_EQ(box.shown, "abX\r\n");
    EXPECT_EQ(box.history.cursor(), 4);
}

TEST(OutputHistory, CompositionsShareTheirBytes) {
    FakeBox box;
    std::string line(100, 'x');
    line += "\r\n";
    constexpr int kLines = 100, kCompositions = 50;
    for (int c = 0; c < kCompositions; ++c) {
        box.write("");
        for (int i = 0; i < kLines; ++i) box.append(line);
    }
    const std::size_t textBytes = line.size() * kLines;
    EXPECT_EQ(box.history.size(), static_cast<std::size_t>(kCompositions * (kLines + 1)));
    // Each composition costs its text once plus a small constant per entry,
    // not the sum of its prefixes (about 50 times as much here).
    EXPECT_LT(box.history.memoryBytes(), 2 * kCompositions * (textBytes + (kLines + 1) * 32));
    EXPECT_EQ(box.history.entry(kLines), std::string(box.shown));
}

TEST(OutputHistory, AStepOfManyChangesIsUndoneAtOnce) {
    output::OutputHistory history;
    std::string box;
    const auto write = [&](const std::string& text) {
        box = text;
        history.record(box);
    };
    write("typed by hand");
    const int mark = history.markStep(box);
    for (const char* text : {"", "/rpgitem a remove\r\n", "/rpgitem a remove\r\n/rpgitem a create\r\n"}) write(text);
    history.closeStep(mark, box);
    EXPECT_EQ(history.size(), 2u);
    ASSERT_TRUE(history.undo(box, write));
    EXPECT_EQ(box, "typed by hand");
    ASSERT_TRUE(history.redo(write));
    EXPECT_EQ(box, "/rpgitem a remove\r\n/rpgitem a create\r\n");
    // A step that ends where it began leaves no entry of its own.
    const int again = history.markStep(box);
    write("");
    write("/rpgitem a remove\r\n/rpgitem a create\r\n");
    history.closeStep(again, box);
    EXPECT_EQ(history.size(), 2u);
    // An empty history first keeps the text before the step.
    output::OutputHistory fresh;
    const int first = fresh.markStep("");
    fresh.record("x");
    fresh.record("xy");
    fresh.closeStep(first, "xy");
    EXPECT_EQ(fresh.size(), 2u);
    EXPECT_EQ(fresh.entry(0), "");
}
