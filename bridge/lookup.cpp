#include "bridge/lookup.h"

namespace bridge {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string asciiLower(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = lowerAscii(c);
    return lowered;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

bool containsIgnoringAsciiCase(std::string_view text, std::string_view part) {
    if (part.empty()) return !text.empty();
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (isContinuationByte(text[at])) continue;
        if (equalsIgnoringAsciiCase(text.substr(at, part.size()), part)) return true;
    }
    return false;
}

bool processNameMatches(std::string_view exeName, std::string_view wanted, bool exactMatch) {
    return exactMatch ? exeName == wanted : equalsIgnoringAsciiCase(exeName, wanted);
}

WindowId selectWindow(std::span<const WindowInfo> windows, const WindowQuery& query,
                      const std::function<bool(WindowId)>& isVisible) {
    for (const WindowInfo& window : windows) {
        if (window.processId != query.processId) continue;
        if (!isVisible(window.handle)) continue;
        if (query.useTitle && !containsIgnoringAsciiCase(window.title, query.titlePart)) continue;
        if (query.useClass && !containsIgnoringAsciiCase(window.className, query.classPart)) continue;
        return window.handle;
    }
    return 0;
}

}  // namespace bridge
