#pragma once
// The working state of painting one cell of the string grid. The paint pass fills it, and the
// content, graphic, header and border drawers read and change it in turn, so that what one of
// them decides (colours, the text's measured size, a rectangle moved in for a glyph) reaches the
// next without a long argument list. It lives on the stack of one cell's painting only.

#include "grid/core/ExtGrid.h"

struct TCellPaintContext {
    TCanvas *Canvas = nullptr;
    TExtStringGrid *Grid = nullptr;
    // The column as painted, and the storage column behind it (hidden columns shift them apart).
    int DisplayCol = 0;
    int RealCol = 0;
    int Row = 0;
    // The row whose disjunct selection flag counts: the real row with persistent row selection.
    int SelectRow = 0;

    // The rectangle inside the grid lines. Drawers shrink it for what they place at an edge and
    // the pass puts back the right edge once the content is drawn.
    TRect PaintRect;
    // The draw state after the visual properties were decided (selection may be set or cleared).
    TGridDrawState State;
    // A fixed cell that is drawn as a header (not on the hover row when hover paints fixed cells).
    bool IsHeader = false;
    // The cell carries the filter drop-down glyph of its column.
    bool ShowFilterButton = false;
    // Position of the cell's own scroll bar; 0 without one.
    int ScrollPos = 0;
    // The right edge the cell was handed, before buttons and scroll bars took their room.
    int OrgRight = 0;
    // Width of the row indicator drawn at the left; given back once the content is drawn.
    int IndicatorWidth = 0;

    // The cell's graphic (nullptr for none) and where it goes.
    TCellGraphic *Graphic = nullptr;
    int GraphicWidth = 0;
    int GraphicHeight = 0;
    TCellHAlign GraphicHAlign = haLeft;
    TCellVAlign GraphicVAlign = vaTop;
    bool TextAllowed = true;

    // The look decided for the cell.
    TAlignment HAlign = taLeftJustify;
    TVAlignment VAlign = vtaTop;
    bool WordWrap = false;
    TCellGradientDirection GradientDirection = GradientVertical;
    TColor ColorTo = clNone;
    TColor ColorMirror = clNone;
    TColor ColorMirrorTo = clNone;
    // Brush and font colour as decided; put back after the content drew over them.
    TColor SavedBrushColor = clNone;
    TColor SavedFontColor = clNone;

    // Size of the text as drawn, so that a graphic placed before or after it can keep clear.
    int TextWidth = 0;
    int TextHeight = 0;
    // Vertical position of the sort glyph in a header cell.
    int SortGlyphY = 0;
};
