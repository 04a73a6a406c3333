// Resource identifiers shared by the .rc file and the window code.
#pragma once

#define IDI_APPICON 1
#define IDB_GLYPH_COPY 101
#define IDB_GLYPH_CLOSE 102
#define IDB_GLYPH_HELP 103
