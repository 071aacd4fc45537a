// The rules of the game lookup, free of Windows headers: how names are
// compared and which top-level window of the game's process is chosen.
// Texts are UTF-8, so a byte of a multi-byte character is never folded and a
// match never starts inside a character.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace bridge {

// A window handle as a number; 0 is no window.
using WindowId = std::uintptr_t;

// One top-level window as an enumeration reports it.
struct WindowInfo {
    WindowId handle = 0;
    std::uint32_t processId = 0;
    std::uint32_t threadId = 0;
    std::string title;      // at most 255 characters
    std::string className;  // at most 49 characters
};

// A copy with the ASCII letters A to Z lowered; every other byte unchanged.
std::string asciiLower(std::string_view text);

// Byte-for-byte equality after asciiLower of both sides.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Whether `part` occurs in `text`, compared as equalsIgnoringAsciiCase does,
// starting only where a character starts. An empty part matches any
// non-empty text and no empty one.
bool containsIgnoringAsciiCase(std::string_view text, std::string_view part);

// Equal ignoring ASCII case, or byte for byte with `exactMatch`.
bool processNameMatches(std::string_view exeName, std::string_view wanted, bool exactMatch);

struct WindowQuery {
    std::uint32_t processId = 0;
    std::string_view titlePart;
    bool useTitle = false;
    std::string_view classPart;
    bool useClass = false;
};

// The first window, in list order, of the query's process that is visible
// and whose title and class contain the query's parts where asked; 0 when
// there is none.
WindowId selectWindow(std::span<const WindowInfo> windows, const WindowQuery& query,
                      const std::function<bool(WindowId)>& isVisible);

}  // namespace bridge
