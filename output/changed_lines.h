// The lines in which two texts differ: the one span to replace in the first
// to obtain the second. The span starts and ends at line starts in both texts
// (after a '\n' or at an end), so it never splits a line break, a UTF-8
// sequence or a UTF-16 surrogate pair.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace output {

struct ChangedLines {
    std::size_t start = 0;      // where the span begins, the same in both texts
    std::size_t oldLength = 0;  // its length in the first text
    std::size_t newLength = 0;  // its length in the second text
};

template <typename Char>
ChangedLines changedLines(std::basic_string_view<Char> before, std::basic_string_view<Char> after) {
    const auto lineStartAt = [](std::basic_string_view<Char> text, std::size_t at) {
        return at == 0 || text[at - 1] == Char('\n');
    };
    std::size_t prefix = static_cast<std::size_t>(
        std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first - before.begin());
    while (!lineStartAt(before, prefix)) --prefix;
    const std::size_t room = std::min(before.size(), after.size()) - prefix;
    std::size_t suffix = static_cast<std::size_t>(
        std::mismatch(before.rbegin(), before.rbegin() + static_cast<std::ptrdiff_t>(room), after.rbegin()).first -
        before.rbegin());
    while (suffix > 0 && !(lineStartAt(before, before.size() - suffix) && lineStartAt(after, after.size() - suffix))) {
        --suffix;
    }
    return {prefix, before.size() - suffix - prefix, after.size() - suffix - prefix};
}

}  // namespace output
