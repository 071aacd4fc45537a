#include "ui/font_cache.h"

#include "ui/win_text.h"

namespace ui {

HFONT FontCache::get(const editor::Font& font) {
    const std::string face(font.face.empty() ? kDefaultFace : font.face);
    const int height = font.pixelHeight ? font.pixelHeight : kDefaultHeight;
    auto key = std::make_tuple(face, height, font.weight);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second.get();
    // Negative height: the character height, as the layout gives it.
    HFONT created = CreateFontW(-height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, wide(face).c_str());
    return fonts_.emplace(std::move(key), skin::GdiFont(created)).first->second.get();
}

}  // namespace ui
