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
// Arrows of the skinned controls (300-309).
#define IDR_ARROW_DOWN_PNG 300
#define IDR_ARROW_UP_PNG 301
#define IDR_ARROW_LEFT_PNG 302
#define IDR_ARROW_RIGHT_PNG 303
