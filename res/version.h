// The program's version, as its version resource carries it.
#pragma once

#define RPGITEM_VERSION_MAJOR 1
#define RPGITEM_VERSION_MINOR 0
#define RPGITEM_VERSION_PATCH 0
#define RPGITEM_VERSION_BUILD 0
#define RPGITEM_VERSION_TEXT "1.0.0.0"
