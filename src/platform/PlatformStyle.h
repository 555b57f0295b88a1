#pragma once
// The platform's active visual style (a desktop-wide skin that recolours the controls): whether
// one is active, its name and the colours it gives grid cells. No such style exists here, so the
// query reports none until a caller (a test) sets one. A change arrives at the windows as
// WM_THEMECHANGED.

#include "platform/Graphics.h"
#include "platform/System.h"

struct TPlatformStyle {
    bool Enabled = false;
    UnicodeString Name;
    // A normal cell: fill, border and text; a selected cell's text; a normal fixed cell's
    // border and text. clNone where the style gives none.
    TColor CellFill = clNone;
    TColor CellBorder = clNone;
    TColor CellText = clNone;
    TColor SelectedText = clNone;
    TColor FixedBorder = clNone;
    TColor FixedText = clNone;
};

const TPlatformStyle &ActivePlatformStyle();
void SetActivePlatformStyle(const TPlatformStyle &Style);
