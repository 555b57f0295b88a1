// Printing, print preview and drawing a page into a rectangle: the drivers and the page layout
// engine (column widths, fitting, strips, pages, repeated fixed rows and columns, page lines).
#include "grid/services/ExtGridPrintEngine.h"

#include "platform/WinGdi.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int ExportStart = 0;
constexpr int ExportDone = 2;

// Puts the canvas's pen, brush and font back as they were when the run began.
class TCanvasObjectsKeeper {
public:
    explicit TCanvasObjectsKeeper(TCanvas *C) : FCanvas(C)
    {
        FPen.Assign(C->Pen());
        FBrush.Assign(C->Brush());
        FFont.Assign(C->Font());
    }
    ~TCanvasObjectsKeeper()
    {
        FCanvas->Pen()->Assign(&FPen);
        FCanvas->Brush()->Assign(&FBrush);
        FCanvas->Font()->Assign(&FFont);
    }

private:
    TCanvas *FCanvas;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
};

// Puts a canvas's mapping mode back whatever happens.
class TMapModeKeeper {
public:
    explicit TMapModeKeeper(TCanvas *C) : FCanvas(C), FMode(C->GetMapMode()) {}
    ~TMapModeKeeper() { FCanvas->SetMapMode(FMode); }

private:
    TCanvas *FCanvas;
    int FMode;
};

TGridRect WholeGrid(const TExtStringGrid &G)
{
    TGridRect r;
    r.Left = 0;
    r.Top = 0;
    r.Right = G.ColCount() - 1;
    r.Bottom = G.RowCount() - 1;
    return r;
}

} // namespace

// ---- the engine -------------------------------------------------------------------------------------

TGridPrintEngine::TGridPrintEngine(TExtStringGrid &AGrid, TCanvas *ACanvas, TPrintRunMode AMode,
                                   std::int64_t APageCount, bool AFilter, const TGridRect &ARange)
    : Grid(AGrid), PS(*AGrid.PrintSettings()), C(ACanvas), Mode(AMode), PageCount(APageCount), Filter(AFilter),
      Range(ARange)
{
    // Only cells of the grid are laid out.
    Range.Left = std::max(Range.Left, 0);
    Range.Top = std::max(Range.Top, 0);
    Range.Right = std::min(Range.Right, Grid.ColCount() - 1);
    Range.Bottom = std::min(Range.Bottom, Grid.RowCount() - 1);
}

int TGridPrintEngine::Round(double Value) const
{
    return static_cast<int>(std::nearbyint(Value));
}

bool TGridPrintEngine::RowTaken(int ARow) const
{
    if (!Filter)
        return true;
    if (ARow < Grid.FixedRows() && PS.FixedCellsAlways)
        return true;
    TMouseActions *ma = Grid.MouseActions();
    if (ma->DisjunctRowSelect())
        return Grid.GetRowSelect(ma->RowSelectPersistent ? Grid.RealRowIndex(ARow) : ARow);
    const TGridRect sel = Grid.Selection();
    return ARow >= sel.Top && ARow <= sel.Bottom;
}

bool TGridPrintEngine::ColTaken(int ACol) const
{
    if (!Filter)
        return true;
    TMouseActions *ma = Grid.MouseActions();
    if (ma->DisjunctRowSelect())
        return true;
    if (ACol < Grid.FixedCols() && PS.FixedCellsAlways)
        return true;
    if (ma->DisjunctColSelect())
        return Grid.ColSelect(ACol);
    const TGridRect sel = Grid.Selection();
    return ACol >= sel.Left && ACol <= sel.Right;
}

void TGridPrintEngine::SetFontFor(TFont *Font)
{
    C->Font()->Assign(Font);
    C->Font()->SetHeight(Grid.MapFontHeight(Font->Size()));
}

int TGridPrintEngine::Run()
{
    TCanvasObjectsKeeper keep(C);
    // 1: resolution, metrics and the page pen.
    C->SetMapMode(MM_TEXT);
    const int screenDpi = GetDeviceCaps(Grid.Canvas()->Handle(), LOGPIXELSX);
    const int targetDpi = GetDeviceCaps(C->Handle(), LOGPIXELSX);
    ResRatio = screenDpi > 0 ? double(targetDpi) / screenDpi : 1.0;
    Grid.FPrintFontScale = 1.0;
    struct TScaleReset {
        TExtStringGrid &G;
        ~TScaleReset() { G.FPrintFontScale = 1.0; }
    } scaleReset{Grid};
    C->SetMapMode(MM_LOMETRIC);
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetStyle(PS.BorderStyle);
    C->Pen()->SetWidth(PS.Borders == pbDouble ? 10 : 2);
    SetFontFor(PS.HeaderFont());
    HeaderTextHeight = C->TextHeight(QStringLiteral("gh"));
    SetFontFor(PS.FooterFont());
    FooterTextHeight = C->TextHeight(QStringLiteral("gh"));
    SetFontFor(PS.Font());
    BodyTextHeight = C->TextHeight(QStringLiteral("gh"));
    E8 = static_cast<std::int16_t>(BodyTextHeight) >> 3;
    Inset = C->TextWidth(QStringLiteral("g")) / 2;

    // 2: the page.
    switch (Mode) {
    case TPrintRunMode::Print: {
        const TRect clip = C->ClipRect();
        W = clip.Right - clip.Left;
        H = clip.Bottom;
        break;
    }
    case TPrintRunMode::CountPrint:
        W = PageRect.Right - PageRect.Left;
        H = -(PageRect.Bottom - PageRect.Top);
        break;
    case TPrintRunMode::Preview:
    case TPrintRunMode::CountPreview: {
        TRect &r = *PreviewRect;
        TPoint p[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
        C->DPtoLP(p, 2);
        r = TRect(p[0].X, p[0].Y, p[1].X, p[1].Y);
        W = r.Right - r.Left;
        H = r.Bottom - r.Top;
        break;
    }
    }
    Grid.FPrintPageRect = TRect(0, 0, W, H);
    const int screenPpi = Grid.Canvas()->PixelsPerInchX();
    S = 254.0 / (screenPpi > 0 ? screenPpi : 96);
    Sp = PS.UseFixedWidth ? 0 : PS.ColumnSpacing + 20;

    // The tables reach one past the range's last column (the right edge of a strip).
    const std::size_t need = std::size_t(std::max({Range.Right + 2, Grid.FixedCols() + 1, 0}));
    if (Grid.MaxWidths.size() < need)
        Grid.MaxWidths.resize(need);
    if (Grid.Indents.size() < need)
        Grid.Indents.resize(need);

    MeasureColumns();
    FitColumns();
    if (Grid.OnPrintSetColumnWidth)
        for (int c = Range.Left; c <= Range.Right; ++c)
            Grid.OnPrintSetColumnWidth(&Grid, c, Grid.MaxWidths[std::size_t(c)]);

    // 7: the strips.
    if (Range.Right < Range.Left || Range.Bottom < Range.Top)
        return 0;
    First = Last = Range.Left;
    PageIndex = 0;
    bool done = false;
    while (Last <= Range.Right && !Cancelled && !done)
        LayOutStrip(done);
    return static_cast<int>(std::min<std::int64_t>(PageIndex, std::numeric_limits<int>::max()));
}

void TGridPrintEngine::MeasureColumns()
{
    for (int c = Range.Left; c <= Range.Right; ++c)
        Grid.MaxWidths[std::size_t(c)] = 0;
    if (PS.NoAutoSize) {
        for (int c = Range.Left; c <= Range.Right; ++c)
            if (ColTaken(c))
                Grid.MaxWidths[std::size_t(c)] = Round(Grid.ColWidths(c) * S);
        return;
    }
    auto visit = [&](int row) {
        for (int c = Range.Left; c <= Range.Right; ++c) {
            if (!ColTaken(c))
                continue;
            const int R = Grid.DisplToRealCol(c);
            const int candidate = PS.UseFixedWidth ? PS.FixedWidth : MeasureCell(R, row).X;
            int &w = Grid.MaxWidths[std::size_t(c)];
            if (candidate > w && !Grid.IsXMergedCell(R, row))
                w = candidate;
        }
    };
    if (PS.RepeatFixedRows)
        for (int r = 0; r < Grid.FixedRows(); ++r)
            visit(r);
    for (int r = Range.Top; r <= Range.Bottom; ++r)
        visit(r);
}

void TGridPrintEngine::FitColumns()
{
    F = 1.0;
    std::int64_t sum = 0;
    for (int c = Range.Left; c <= Range.Right; ++c)
        if (ColTaken(c))
            sum += Width(c) + Sp;
    if (PS.FitToPage == fpNever)
        return;
    const std::int64_t v = std::int64_t(Range.Right - Range.Left + 1) * Sp;
    if (sum != v)
        F = double(W - PS.RightSize - PS.LeftSize - v) / double(sum - v);
    if (PS.FitToPage == fpShrink && F > 1)
        F = 1;
    if (PS.FitToPage == fpGrow && F < 1)
        F = 1;
    if (PS.FitToPage == fpCustom && F != 1) {
        bool allow = true;
        if (Grid.OnFitToPage)
            Grid.OnFitToPage(&Grid, F, allow);
        if (!allow)
            F = 1;
    }
    // A page narrower than the spacing alone leaves no room to scale into: the columns keep
    // their widths rather than turning negative.
    if (!(F > 0) || !std::isfinite(F))
        F = 1.0;
    if (F != 1)
        for (int c = Range.Left; c <= Range.Right; ++c)
            Grid.MaxWidths[std::size_t(c)] = static_cast<int>(std::trunc(Width(c) * F));
}

void TGridPrintEngine::LayOutStrip(bool &Done)
{
    PageInStrip = 0;
    ++StripNr;
    const int fixedCols = Grid.FixedCols();
    RepeatCols = fixedCols > 0 && PS.RepeatFixedCols && (First > Range.Left || fixedCols <= Range.Left);
    int fixedW = 0;
    if (RepeatCols)
        for (int k = 0; k < fixedCols; ++k)
            fixedW += Width(k) + Sp;

    // Fit the strip to the page width.
    const int room = W - PS.RightSize;
    int used = fixedW;
    while (used <= room && Last <= Range.Right) {
        used += Width(Last) + Sp;
        if (used <= room)
            ++Last;
    }
    if (used > room) {
        used -= Width(Last) + Sp;
        --Last;
    }
    if (Last <= First)
        Last = First + 1;
    if (Last > Range.Right)
        Last = Range.Right;
    MoreStrips = MoreStrips || Last < Range.Right;
    Grid.FPrintPageWidth = used;

    // Offsets of the strip's columns, then of the repeated fixed columns.
    auto &off = Grid.Indents;
    const int start = PS.Centered ? 0 : PS.LeftSize;
    off[std::size_t(First)] = start;
    off[0] = start;
    for (int j = First; j <= Last; ++j)
        off[std::size_t(j + 1)] = off[std::size_t(j)] + (ColTaken(j) ? Width(j) + Sp : 0);
    Grid.FPrintColStart = First;
    Grid.FPrintColEnd = Last;
    if (RepeatCols)
        for (int k = 1; k <= fixedCols - 1; ++k)
            off[std::size_t(k)] = off[std::size_t(k - 1)] + Width(k - 1) + Sp;
    if (PS.Centered && used < W) {
        const int d = (W - used) / 2;
        for (int j = First; j <= Last + 1; ++j)
            off[std::size_t(j)] += d;
        if (RepeatCols)
            for (int k = 0; k <= fixedCols && k < First; ++k)
                off[std::size_t(k)] += d;
    }
    for (int j = First; j <= Last + 1; ++j)
        off[std::size_t(j)] += fixedW;

    ComputeHeights(true);
    Row = Range.Top;
    if (DrawMode() && Grid.OnPrintPage)
        Grid.OnPrintPage(&Grid, C, static_cast<int>(PageIndex + 1), W, H);
    RowLoop();

    // Strip end.
    if (!AnyBreak || Row != LastBreakRow)
        DrawPageLines(Y);
    First = Last = Last + 1;
    if (First <= Range.Right && !Cancelled)
        StartNextPage();
    ++PageIndex;
    Done = Last > Range.Right;
}

void TGridPrintEngine::ComputeHeights(bool StripStart)
{
    auto isTop = [](TPrintPosition p) { return p == ppTopLeft || p == ppTopRight || p == ppTopCenter; };
    auto isBottom = [](TPrintPosition p) { return p == ppBottomLeft || p == ppBottomRight || p == ppBottomCenter; };
    const int lines = PS.TitleLines()->Count();
    const bool anyTop = isTop(PS.Time) || isTop(PS.Date) || isTop(PS.PageNr) || isTop(PS.Title);
    const bool anyBottom = isBottom(PS.Time) || isBottom(PS.Date) || isBottom(PS.PageNr) || isBottom(PS.Title);
    if (anyTop) {
        HeaderHeight = E8 + HeaderTextHeight + PS.HeaderSize;
        if (lines > 0 && isTop(PS.Title)) {
            if (StripStart) {
                const int g = WriteHeaderFooter();
                HeaderHeight += g != 0 ? g + PS.HeaderSize : (lines - 1) * HeaderTextHeight;
            } else
                HeaderHeight += (lines - 1) * HeaderTextHeight;
        }
    } else
        HeaderHeight = PS.HeaderSize;
    if (anyBottom) {
        FooterHeight = 2 * (E8 + FooterTextHeight) + PS.FooterSize;
        if (lines > 0 && isBottom(PS.Title))
            FooterHeight += (lines - 1) * FooterTextHeight;
    } else
        FooterHeight = E8 + FooterTextHeight + PS.FooterSize;
}

int TGridPrintEngine::DrawFixedPart(int AY, int ARow)
{
    int pitch = 0;
    if (RepeatCols)
        pitch = DrawRow(AY, 0, Grid.FixedCols() - 1, ARow);
    const int p = DrawRow(AY, First, Last, ARow);
    return RepeatCols ? pitch : p;
}

void TGridPrintEngine::RowLoop()
{
    const int state = Range.Top <= Grid.FixedRows() && Range.Bottom >= Grid.RowCount() - 1 - Grid.FixedFooters() ? 1 : 3;
    int placed = 0;    // rows on the current page, repeated fixed rows counted as one
    int dataRows = 0;  // rows of the range drawn on the current page
    auto fits = [&](int ARow) { return Y - RowHeight(ARow) > H + FooterHeight; };
    do {
        Grid.ExportNotification(state, Row);
        if (placed == 0) {
            const int g = WriteHeaderFooter();
            Y = -HeaderHeight - PS.TitleSpacing - g;
            dataRows = 0;
        }
        if (placed == 0 && Row > 0 && PS.RepeatFixedRows && Grid.FixedRows() > 0 &&
            (PageIndex > 0 || Grid.FixedRows() <= Range.Top)) {
            for (int r = 0; r < Grid.FixedRows(); ++r)
                Y -= DrawFixedPart(Y, r);
            ++placed;
        }
        if (RowTaken(Row)) {
            if (fits(Row)) {
                Y -= DrawFixedPart(Y, Row);
                ++dataRows;
                ++Row;
            } else if (dataRows == 0) {
                // A row taller than the page's room goes on a page of its own, cut at the
                // footer line, so that the layout always moves on.
                C->SaveDC();
                C->IntersectClipRect(-1, Y + 1, W + 1, H + FooterHeight);
                Y -= DrawFixedPart(Y, Row);
                C->RestoreDC(-1);
                Y = std::max(Y, H + FooterHeight);
                ++dataRows;
                ++Row;
            }
        } else
            ++Row;
        ++placed;
        bool newPage = false;
        if (Grid.OnPrintNewPage)
            Grid.OnPrintNewPage(&Grid, Row, newPage);
        const bool remain = Row <= Range.Bottom;
        const bool nextFits = remain && fits(Row);
        if (!remain || newPage || !nextFits) {
            if (DrawMode()) {
                if (Grid.OnPrintPageDone)
                    Grid.OnPrintPageDone(&Grid, C, Row, Y, static_cast<int>(PageIndex + 1), W, H);
                bool cancel = false;
                if (Grid.OnPrintCancel)
                    Grid.OnPrintCancel(&Grid, static_cast<int>(PageIndex + 1), cancel);
                Cancelled = Cancelled || cancel;
            }
        }
        if (remain && (!nextFits || newPage) && !Cancelled) {
            DrawPageLines(Y);
            placed = 0;
            LastBreakRow = Row;
            AnyBreak = true;
            StartNextPage();
            if (Grid.FFastPrint && PageIndex > Grid.FPrintPageFrom)
                Row = Range.Bottom + 1;
            ++PageIndex;
            ++PageInStrip;
            ComputeHeights(false);
        }
    } while (Row <= Range.Bottom && !Cancelled);
}

void TGridPrintEngine::StartNextPage()
{
    const std::int64_t p = PageIndex;
    if (p + 2 < Grid.FPrintPageFrom || p + 2 > Grid.FPrintPageTo)
        return;
    if (Mode == TPrintRunMode::Print && p + 1 >= Grid.FPrintPageFrom && Printer)
        Printer->NewPage();
    C->SetMapMode(MM_LOMETRIC);
    if (DrawMode() && Grid.OnPrintPage)
        Grid.OnPrintPage(&Grid, C, static_cast<int>(p + 2), W, H);
}

void TGridPrintEngine::DrawPageLines(int AY)
{
    if (!DrawMode() || !PageInRange(PageIndex))
        return;
    TPen keep;
    keep.Assign(C->Pen());
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetStyle(PS.BorderStyle);
    C->Pen()->SetWidth(PS.Borders == pbDouble ? 10 : 2);
    const int x0 = RepeatCols ? Offset(0) : Offset(First);
    const int x1 = Offset(Last + 1);
    const int top = -HeaderHeight - PS.TitleSpacing;
    const int bottom = AY + E8 / 2;
    const TPrintBorders b = PS.Borders;
    if (b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal) {
        const TBrushStyle bs = C->Brush()->Style();
        C->Brush()->SetStyle(TBrushStyle::bsClear);
        C->Rectangle(x0, top, x1, bottom);
        C->Brush()->SetStyle(bs);
    }
    if (b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) {
        C->MoveTo(x0, bottom);
        C->LineTo(x1, bottom);
    }
    if ((b == pbDouble || b == pbVertical || b == pbAroundVertical) && RepeatCols)
        for (int i = 0; i < Grid.FixedCols(); ++i) {
            C->MoveTo(Offset(i), top);
            C->LineTo(Offset(i), bottom);
        }
    C->Pen()->Assign(&keep);
}

// ---- the drivers ------------------------------------------------------------------------------------

class TGridPrintDrivers {
public:
    static void Print(TExtStringGrid &G, const TGridRect &Range, bool Filter)
    {
        G.ExportNotification(ExportStart, -1);
        TPrinter *printer = ::Printer();
        TPrintSettings &ps = *G.PrintSettings();
        if (!ps.UseDefaultOrientation)
            printer->SetOrientation(ps.Orientation);
        TCanvas *pc = printer->Canvas();
        const int dpiX = GetDeviceCaps(printer->Handle(), LOGPIXELSX);
        const int dpiY = GetDeviceCaps(printer->Handle(), LOGPIXELSY);
        const TRect pageRect(0, 0, static_cast<int>(std::nearbyint(254.0 / std::max(dpiX, 1) * printer->PageWidth())),
                             static_cast<int>(std::nearbyint(254.0 / std::max(dpiY, 1) * printer->PageHeight())));
        printer->SetTitle(ps.JobName);
        printer->BeginDoc();
        int mapMode = pc->GetMapMode();
        std::int64_t n = std::numeric_limits<int>::max();
        try {
            if (!G.FastPrint()) {
                pc->SetMapMode(MM_LOMETRIC);
                TGridPrintEngine count(G, pc, TPrintRunMode::CountPrint, 0, Filter, Range);
                count.PageRect = pageRect;
                n = count.Run();
            }
        } catch (...) {
            pc->SetMapMode(mapMode);
            printer->Abort();
            throw;
        }
        G.FPrintPageFrom = 1;
        G.FPrintPageTo = static_cast<int>(n);
        G.FPrintPageNum = static_cast<int>(n);
        if (G.OnPrintStart) {
            printer->Abort();
            G.OnPrintStart(&G, static_cast<int>(n), G.FPrintPageFrom, G.FPrintPageTo);
            if (G.FPrintPageFrom == 0 || G.FPrintPageTo == 0 || G.FPrintPageTo < G.FPrintPageFrom)
                return;
            printer->BeginDoc();
            mapMode = pc->GetMapMode();
        }
        G.FPrintPageNum = G.FPrintPageTo;
        try {
            TGridPrintEngine draw(G, pc, TPrintRunMode::Print, n, Filter, Range);
            draw.Printer = printer;
            draw.Run();
        } catch (...) {
            pc->SetMapMode(mapMode);
            // The pages made so far are finished; the error stays the caller's to see.
            try {
                printer->EndDoc();
            } catch (...) {
            }
            throw;
        }
        pc->SetMapMode(mapMode);
        printer->EndDoc();
        G.ExportNotification(ExportDone, -1);
    }

    static void Preview(TExtStringGrid &G, TCanvas *Canvas, TRect DisplayRect, const TGridRect &Range, bool Filter)
    {
        G.ExportNotification(ExportStart, -1);
        struct TEnd {
            TExtStringGrid &G;
            ~TEnd()
            {
                G.ExportNotification(ExportDone, -1);
                G.FIsPrintPreview = false;
            }
        } end{G};
        TMapModeKeeper keepMap(Canvas);
        Canvas->SetMapMode(MM_LOMETRIC);
        TRect preview = DisplayRect;
        std::int64_t n = 1;
        if (!G.FastPrint()) {
            TGridPrintEngine count(G, Canvas, TPrintRunMode::CountPreview, 0, Filter, Range);
            count.PreviewRect = &preview;
            n = count.Run();
            G.FPrintPageNum = static_cast<int>(n);
        }
        G.FIsPrintPreview = true;
        int from = 1, to = static_cast<int>(n);
        if (G.OnPrintStart)
            G.OnPrintStart(&G, static_cast<int>(n), from, to);
        if (from > 0 && to > 0 && to >= from) {
            preview = DisplayRect;
            TGridPrintEngine draw(G, Canvas, TPrintRunMode::Preview, n, Filter, Range);
            draw.PreviewRect = &preview;
            draw.Run();
        }
    }

    static void Draw(TExtStringGrid &G, TCanvas *Canvas, const TGridRect &Range)
    {
        G.FPrintPageFrom = G.FPrintPageTo = 1;
        G.FPrintPageNum = 1;
        TMapModeKeeper keepMap(Canvas);
        Canvas->SetMapMode(MM_LOMETRIC);
        TGridPrintEngine draw(G, Canvas, TPrintRunMode::Print, 1, false, Range);
        draw.Run();
    }
};

void TExtStringGrid::Print()
{
    TGridPrintDrivers::Print(*this, WholeGrid(*this), false);
}

void TExtStringGrid::PrintSelection()
{
    TGridPrintDrivers::Print(*this, Selection(), false);
}

void TExtStringGrid::PrintRect(const TGridRect &GridRect)
{
    TGridPrintDrivers::Print(*this, GridRect, false);
}

void TExtStringGrid::PrintSelectedRows()
{
    TGridPrintDrivers::Print(*this, WholeGrid(*this), true);
}

void TExtStringGrid::PrintSelectedCols()
{
    PrintSelectedRows();
}

void TExtStringGrid::PrintPreview(TCanvas *Canvas, TRect DisplayRect)
{
    TGridPrintDrivers::Preview(*this, Canvas, DisplayRect, WholeGrid(*this), false);
}

void TExtStringGrid::PrintPreviewRect(TCanvas *Canvas, TRect DisplayRect, const TGridRect &GridRect)
{
    TGridPrintDrivers::Preview(*this, Canvas, DisplayRect, GridRect, false);
}

void TExtStringGrid::PrintPreviewSelection(TCanvas *Canvas, TRect DisplayRect)
{
    TGridPrintDrivers::Preview(*this, Canvas, DisplayRect, Selection(), false);
}

void TExtStringGrid::PrintPreviewSelectedRows(TCanvas *Canvas, TRect DisplayRect)
{
    TGridPrintDrivers::Preview(*this, Canvas, DisplayRect, WholeGrid(*this), true);
}

void TExtStringGrid::PrintPreviewSelectedCols(TCanvas *Canvas, TRect DisplayRect)
{
    PrintPreviewSelectedRows(Canvas, DisplayRect);
}

void TExtStringGrid::PrintDraw(TCanvas *Canvas, TRect DrawRect)
{
    TGridPrintDrivers::Draw(*this, Canvas, WholeGrid(*this));
}

void TExtStringGrid::PrintDrawRect(TCanvas *Canvas, TRect DrawRect, const TGridRect &GridRect)
{
    TGridPrintDrivers::Draw(*this, Canvas, GridRect);
}
