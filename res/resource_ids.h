// Identifiers of the pictures and the icon built into the executable.
#pragma once

#define IDI_APP 1
#define IDR_TUTORIAL_PNG 101
#define IDR_COLOUR_CHART_JPG 102
#define IDR_THEME_PNG 103
#define IDR_CAPTION_HELP_PNG 104
#define IDR_CAPTION_MENU_PNG 105
#define IDR_CAPTION_MINIMIZE_PNG 106
#define IDR_CAPTION_MAXIMIZE_PNG 107
#define IDR_CAPTION_RESTORE_PNG 108
#define IDR_CAPTION_CLOSE_PNG 109
#define IDR_CHECK_BOX_UNCHECKED_PNG 110
#define IDR_CHECK_BOX_CHECKED_PNG 111
// GNU Unifont's glyphs for the item preview (zlib; tools/make_unifont_glyphs.cpp).
#define IDR_UNIFONT_GLYPHS 112
// Arrow glyphs of skinned up-down controls.
#define IDR_UPDOWN_UP_PNG 320
#define IDR_UPDOWN_DOWN_PNG 321
#define IDR_UPDOWN_LEFT_PNG 322
#define IDR_UPDOWN_RIGHT_PNG 323
