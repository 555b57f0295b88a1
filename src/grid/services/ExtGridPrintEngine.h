#pragma once
// The print layout engine of the string grid, shared by the drivers and the page layout
// (ExtGridPrint.cpp), the row renderer and cell measurement (ExtGridPrintCell.cpp) and the
// header and footer writer (ExtGridPrintHeader.cpp).
//
// Every length is in tenths of a millimetre with y growing upwards (the canvas's metric
// mapping): the top of the page is y = 0, its bottom the negative page height H.

#include "grid/core/ExtGrid.h"

#include <cstdint>

enum class TPrintRunMode { Preview, Print, CountPrint, CountPreview };

class TGridPrintEngine {
public:
    TGridPrintEngine(TExtStringGrid &AGrid, TCanvas *ACanvas, TPrintRunMode AMode, std::int64_t APageCount,
                     bool AFilter, const TGridRect &ARange);
    // Lays out (and in the draw modes draws) the range; returns the number of pages.
    int Run();

    // Set by the drivers before the run.
    TPrinter *Printer = nullptr;  // the printer whose NewPage starts a printed page
    TRect PageRect;               // counting for a print: the page in layout units
    TRect *PreviewRect = nullptr; // preview runs: the page in device pixels, made logical by the run

    // ---- used by the row renderer and the header writer ----
    bool DrawMode() const { return Mode == TPrintRunMode::Preview || Mode == TPrintRunMode::Print; }
    bool PageInRange(std::int64_t PageIndex) const
    {
        return PageIndex + 1 >= Grid.FPrintPageFrom && PageIndex + 1 <= Grid.FPrintPageTo;
    }
    bool RowTaken(int ARow) const;
    bool ColTaken(int ACol) const;
    int RowHeight(int ARow);
    // Draws the cells of display columns First..Last of the row at y; returns the row pitch.
    int DrawRow(int Y, int First, int Last, int ARow);
    // The printed size of the cell of real column R.
    TPoint MeasureCell(int R, int ARow);
    // Writes the page's header and footer; returns the height of an HTML title at the top.
    int WriteHeaderFooter();
    int Round(double Value) const;
    int Width(int ACol) const { return ACol >= 0 && std::size_t(ACol) < Grid.MaxWidths.size() ? Grid.MaxWidths[std::size_t(ACol)] : 0; }
    int Offset(int ACol) const { return ACol >= 0 && std::size_t(ACol) < Grid.Indents.size() ? Grid.Indents[std::size_t(ACol)] : 0; }

    TExtStringGrid &Grid;
    TPrintSettings &PS;
    TCanvas *C;
    TPrintRunMode Mode;
    std::int64_t PageCount;
    bool Filter;
    TGridRect Range;

    double S = 1.0;        // layout units per screen pixel
    double F = 1.0;        // fit scale
    double ResRatio = 1.0; // target resolution / screen resolution
    int W = 0, H = 0;
    int HeaderTextHeight = 0, FooterTextHeight = 0, BodyTextHeight = 0;
    int E8 = 0;    // an eighth of the body text height
    int Inset = 0; // horizontal text inset of cells
    int Sp = 0;    // column spacing

    std::int64_t PageIndex = 0;
    int StripNr = 0;
    int PageInStrip = 0;
    int First = 0, Last = 0;
    bool RepeatCols = false;
    bool MoreStrips = false;
    bool Cancelled = false;
    int HeaderHeight = 0, FooterHeight = 0;

private:
    void MeasureColumns();
    void FitColumns();
    void LayOutStrip(bool &Done);
    void ComputeHeights(bool StripStart);
    void RowLoop();
    void StartNextPage();
    void DrawPageLines(int Y);
    int DrawFixedPart(int Y, int ARow);
    void DrawCell(int ADisplCol, int R, int ARow, int AY, int P, int V, int B, int SX, int SY, int ALast);
    void DrawContent(int ADisplCol, int R, int ARow, int AY, int P, int V, int B, int SX, int SY, int ALast,
                     TCellBorders Sides, int PenWidth);
    // Brush, font, gradient end, vertical alignment and word wrap of a cell on paper.
    void PrintLook(int R, int ARow, TBrush &Brush, TFont &Font, TColor &ColorTo, TVAlignment &VA, bool &WordWrap);
    void DrawGraphic(TCellGraphic *G, int R, int ARow, TRect Gr, const TRect &Tr);
    void SetFontFor(TFont *Font);

    int Y = 0;
    int Row = 0;
    int LastBreakRow = -1;
    bool AnyBreak = false;
    int CacheRow = -1;
    int CacheHeight = 0;
};

// The placement rule of turned text: moves R's left and top to the text's origin. The screen
// passes (Hc, Ws, Hs, Wc), the page (-Hc, -Ws, Hs, Wc) since its y grows upwards.
void PlaceRotatedText(TRect &R, int Angle, TAlignment HAlign, TVAlignment VAlign, int A, int B, int C, int D);
