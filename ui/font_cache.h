// Fonts of the layout, created once per (face, height, weight) and owned
// for the window's lifetime.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "editor/layout.h"
#include "skin/handle_owners.h"

namespace ui {

class FontCache {
public:
    // The face controls use when the layout names none: the simplified-Chinese
    // system's interface face (9 pt, 12 px).
    static constexpr std::string_view kDefaultFace = "微软雅黑";
    static constexpr int kDefaultHeight = 12;

    HFONT get(const editor::Font& font);

private:
    std::map<std::tuple<std::string, int, int>, skin::GdiFont> fonts_;
};

}  // namespace ui
