// The game lookup's rules: process names, title and class parts, and which
// window of the process is chosen.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "bridge/lookup.h"

namespace {

using bridge::WindowInfo;

TEST(GameLookup, ProcessNamesMatchIgnoringOnlyAsciiCase) {
    struct Case {
        const char* exe;
        bool exact;
        bool matches;
    };
    const Case cases[] = {
        {"javaw.exe", false, true}, {"JAVAW.EXE", false, true},
        {"Javaw.Exe", false, true}, {"javaw.exe2", false, false},  // further characters after the name
        {"javaw.ex", false, false}, {"xjavaw.exe", false, false},
        {"java.exe", false, false}, {"", false, false},
        {"javaw.exe", true, true},  {"JAVAW.EXE", true, false},  // the exact flag compares byte for byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bridge::processNameMatches(c.exe, "javaw.exe", c.exact), c.matches) << c.exe << " " << c.exact;
    }
    // Only A to Z fold: bytes of other characters stay as they are.
    EXPECT_TRUE(bridge::processNameMatches("游戏JAVAW.exe", "游戏javaw.EXE", false));
    EXPECT_FALSE(bridge::processNameMatches("É.exe", "é.exe", false));
    EXPECT_EQ(bridge::asciiLower("AZaz@[`{Ä中"), "azaz@[`{Ä中");
}

TEST(GameLookup, TitleAndClassPartsAreFoundIgnoringAsciiCase) {
    struct Case {
        const char* text;
        const char* part;
        bool found;
    };
    const Case cases[] = {
        {"Minecraft 1.12.2", "MINECRAFT", true},
        {"Minecraft 1.12.2", "1.12", true},
        {"Minecraft 1.12.2", "1.13", false},
        {"Mine", "Minecraft", false},
        {"LWJGL", "", true},  // an empty part matches any non-empty text
        {"", "", false},      // and no empty one
        {"", "a", false},
        {"我的世界", "世界", true},
        {"中", "\xB8\xAD", false},  // never from the second byte of a character
        {"a中b", "中B", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bridge::containsIgnoringAsciiCase(c.text, c.part), c.found) << c.text << " / " << c.part;
    }
}

// A query of the process, with a title part and a class part where given.
bridge::WindowQuery query(std::uint32_t processId, const char* titlePart = nullptr, const char* classPart = nullptr) {
    return {processId, titlePart ? titlePart : "", titlePart != nullptr, classPart ? classPart : "",
            classPart != nullptr};
}

std::vector<WindowInfo> desktop() {
    // In enumeration order: top of the Z order first.
    return {
        {0x10, 7, 70, "Editor", "RPGitemEditorWindow"},
        {0x20, 42, 420, "", "SunAwtToolkit"},  // hidden helper window of the game
        {0x30, 42, 421, "Minecraft 1.12", "LWJGL"},
        {0x40, 42, 421, "Launcher", "SunAwtFrame"},
        {0x50, 43, 430, "Minecraft", "LWJGL"},  // a second game process
    };
}

TEST(GameLookup, ChoosesTheFirstVisibleWindowOfTheProcessInEnumerationOrder) {
    const std::vector<WindowInfo> windows = desktop();
    const std::set<bridge::WindowId> hidden{0x20};
    auto visible = [&](bridge::WindowId w) { return !hidden.contains(w); };
    struct Case {
        bridge::WindowQuery query;
        bridge::WindowId chosen;
    };
    const Case cases[] = {
        {query(42), 0x30},  // the hidden one above it is skipped
        {query(43), 0x50},
        {query(99), 0},  // no window of that process
        {query(42, "launcher"), 0x40},
        {query(42, "MINECRAFT", "lwjgl"), 0x30},
        {query(42, nullptr, "SunAwt"), 0x40},  // the hidden SunAwtToolkit never counts
        {query(42, "nothing"), 0},
        {query(42, ""), 0x30},  // empty title part: any non-empty title
        {query(7, nullptr, ""), 0x10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bridge::selectWindow(windows, c.query, visible), c.chosen)
            << c.query.processId << " " << c.query.titlePart << " " << c.query.classPart;
    }
    // An untitled visible window is found when the title is not asked for,
    // and not when an empty title part is.
    std::vector<WindowInfo> untitled{{0x60, 5, 50, "", "Cls"}};
    auto all = [](bridge::WindowId) { return true; };
    EXPECT_EQ(bridge::selectWindow(untitled, query(5), all), 0x60u);
    EXPECT_EQ(bridge::selectWindow(untitled, query(5, ""), all), 0u);
    EXPECT_EQ(bridge::selectWindow({}, query(5), all), 0u);
}

}  // namespace
