// Identifiers of the pictures and the icon built into the executable.
#pragma once

#define IDI_APP 1
#define IDR_TUTORIAL_PNG 101
#define IDR_COLOUR_CHART_JPG 102
#define IDR_THEME_PNG 103
