// Column and row calculations, running numbers, the selection's text, and every operation that
// sizes columns and rows to their content or exchanges two whole columns or rows.

#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/ComCtrls.h"
#include "platform/Windows.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

bool IsCheckLikeGraphic(TCellType T) { return T == ctDataCheckBox || T == ctVirtCheckBox; }

bool IsRowHeightGraphic(TCellType T)
{
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRadioButton;
}

// Halves go to the even neighbour, as the widths of a fitted grid are rounded.
int RoundEven(double Value) { return static_cast<int>(std::nearbyint(Value)); }

} // namespace

// ---- running through a column ----------------------------------------------------------------

namespace {

// One walk over the rows of a column calculation: whether the rows are real
// rows (hidden ones included), which rows count and where their values come from.
class TColumnWalk {
public:
    TColumnWalk(TExtStringGrid *AGrid, int ACol, int ToRow) : G(AGrid), Col(ACol)
    {
        // A range past the last data row reaches into the hidden rows. The footer row is no data
        // row: read as shown, it would add the footer's own last result to the next one.
        const int lastData = G->RowCount() - (G->FloatingFooter()->Visible() ? 2 : 1);
        RealMode = ToRow > lastData;
    }
    ~TColumnWalk() { delete Hidden; }
    TColumnWalk(const TColumnWalk &) = delete;
    TColumnWalk &operator=(const TColumnWalk &) = delete;

    // Node and summary rows count only while the grid is not grouped; the covered cells of a
    // merged range never count.
    bool Counts(int R)
    {
        if (RealMode && G->IsHiddenRow(R, Hidden))
            return true;
        const int r2 = RealMode ? G->DisplRowIndex(R) : R;
        if (G->GroupColumn() != -1 && (G->IsNode(r2) || G->IsSummary(r2)))
            return false;
        return G->IsBaseCell(Col, r2);
    }
    // False for a text that is no number.
    bool Value(int R, double &V)
    {
        if (RealMode)
            return TExtStringGrid::CellTextToNumber(StripHtmlTags(G->AllCells(Col, R)), V);
        return TExtStringGrid::CellTextToNumber(G->StrippedCells(Col, R), V);
    }

private:
    TExtStringGrid *G;
    int Col;
    bool RealMode = false;
    TIntList *Hidden = nullptr;
};

} // namespace

namespace {

// Hands every counted number of the range to Take, with the progress notifications around it.
template <typename F> void ForEachColumnValue(TExtStringGrid *G, int ACol, int FromRow, int ToRow, F Take)
{
    TColumnWalk walk(G, ACol, ToRow);
    G->ExportNotification(esExportStart, FromRow);
    for (int r = FromRow; r <= ToRow; ++r) {
        G->ExportNotification(esExportNextRow, r);
        double v = 0;
        if (walk.Counts(r) && walk.Value(r, v))
            Take(v);
    }
    G->ExportNotification(esExportDone, -1);
}

void DefaultRange(TExtStringGrid *G, int &FromRow, int &ToRow)
{
    if (FromRow == -1 || ToRow == -1) {
        FromRow = G->FixedRows();
        ToRow = G->RowCount() - G->FixedFooters() - 1;
    }
}

// The first cell must hold a number; the others are skipped when they do not.
double ColumnExtreme(TExtStringGrid *G, int ACol, int FromRow, int ToRow, bool Smallest)
{
    DefaultRange(G, FromRow, ToRow);
    double best = G->Floats(ACol, FromRow);
    ForEachColumnValue(G, ACol, FromRow, ToRow, [&](double v) {
        if (Smallest ? v < best : v > best)
            best = v;
    });
    return best;
}

double RowExtreme(TExtStringGrid *G, int ARow, int FromCol, int ToCol, bool Smallest)
{
    double best = G->Floats(FromCol, ARow);
    for (int c = FromCol; c <= ToCol; ++c) {
        double v = 0;
        if (G->IsBaseCell(c, ARow) && TExtStringGrid::CellTextToNumber(G->StrippedCells(c, ARow), v) &&
            (Smallest ? v < best : v > best))
            best = v;
    }
    return best;
}

} // namespace

double TExtStringGrid::ColumnSum(int ACol, int FromRow, int ToRow)
{
    DefaultRange(this, FromRow, ToRow);
    double sum = 0;
    ForEachColumnValue(this, ACol, FromRow, ToRow, [&](double v) { sum += v; });
    return sum;
}

double TExtStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow)
{
    DefaultRange(this, FromRow, ToRow);
    // Every row of the range divides, also one the sum passed over.
    const int n = ToRow - FromRow + 1;
    return n <= 0 ? 0 : ColumnSum(ACol, FromRow, ToRow) / n;
}

double TExtStringGrid::ColumnMin(int ACol, int FromRow, int ToRow) { return ColumnExtreme(this, ACol, FromRow, ToRow, true); }

double TExtStringGrid::ColumnMax(int ACol, int FromRow, int ToRow) { return ColumnExtreme(this, ACol, FromRow, ToRow, false); }

double TExtStringGrid::ColumnStdDev(int ACol, int FromRow, int ToRow)
{
    DefaultRange(this, FromRow, ToRow);
    const int n = ToRow - FromRow + 1;
    // An empty range has no spread.
    if (n <= 0)
        return 0;
    const double avg = ColumnAvg(ACol, FromRow, ToRow);
    double squares = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
        const double d = Floats(ACol, r) - avg;
        squares += d * d;
    }
    return std::sqrt(squares / n);
}

double TExtStringGrid::ColumnDistinct(int ACol, int FromRow, int ToRow)
{
    DefaultRange(this, FromRow, ToRow);
    TStringList seen;
    seen.SetCaseSensitive(false);
    seen.SetSorted(true);
    seen.SetDuplicates(dupIgnore);
    for (int r = FromRow; r <= ToRow; ++r)
        seen.Add(Cells(ACol, r));
    return seen.Count();
}

double TExtStringGrid::ColumnCustomCalc(int ACol, int FromRow, int ToRow)
{
    double res = 0;
    if (OnColumnCalc)
        OnColumnCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

double TExtStringGrid::DoGroupCalc(int ACol, int FromRow, int ToRow)
{
    double res = 0;
    if (OnGroupCalc)
        OnGroupCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

double TExtStringGrid::RowSum(int ARow, int FromCol, int ToCol)
{
    double sum = 0;
    for (int c = FromCol; c <= ToCol; ++c) {
        double v = 0;
        if (IsBaseCell(c, ARow) && CellTextToNumber(StrippedCells(c, ARow), v))
            sum += v;
    }
    return sum;
}

double TExtStringGrid::RowAvg(int ARow, int FromCol, int ToCol)
{
    const int n = ToCol - FromCol + 1;
    return n <= 0 ? 0 : RowSum(ARow, FromCol, ToCol) / n;
}

double TExtStringGrid::RowMin(int ARow, int FromCol, int ToCol) { return RowExtreme(this, ARow, FromCol, ToCol, true); }

double TExtStringGrid::RowMax(int ARow, int FromCol, int ToCol) { return RowExtreme(this, ARow, FromCol, ToCol, false); }

// ---- running numbers ----------------------------------------------------------------------------

void TExtStringGrid::AutoNumberCol(int ACol)
{
    if (RowCount() <= 0)
        return;
    const int last = RowCount() - FFixedFooters - 1;
    for (int r = FixedRows() + AutoNumberStart; r <= last; ++r) {
        const int value = r - FixedRows() + 1 + AutoNumberOffset;
        SetInts(ACol, AutoNumberDirection == sdAscending ? r : FixedRows() + last - r, value);
    }
}

void TExtStringGrid::AutoNumberRow(int ARow)
{
    if (ColCount() <= 0)
        return;
    for (int c = FixedCols() + AutoNumberStart; c <= ColCount() - FFixedRightCols - 1; ++c) {
        const int value = c - FixedCols() + 1 + AutoNumberOffset;
        SetInts(AutoNumberDirection == sdAscending ? c : ColCount() + FixedCols() - FFixedRightCols - c - 1, ARow,
                value);
    }
}

// ---- selection ------------------------------------------------------------------------------------

void TExtStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    SetSelection(TGridRect(FromCol, FromRow, ToCol, ToRow));
}

UnicodeString TExtStringGrid::SelectedText()
{
    const TGridRect sel = Selection();
    int c1 = sel.Left, c2 = sel.Right;
    if (Options().Contains(goRowSelect) && FDragDropSettings->OleEntireRows) {
        c1 = 0;
        c2 = ColCount() - 1;
    }
    auto rowText = [&](int r) {
        UnicodeString line;
        for (int c = c1; c <= c2; ++c) {
            UnicodeString s = Cells(RealColIndex(c), r);
            if (s.contains(QStringLiteral("{\\"))) {
                TRichEdit *rich = CellRichEdit();
                CellToRich(RealColIndex(c), r, rich);
                s = rich->Lines()->Text();
                while (s.endsWith(QLatin1Char('\n')) || s.endsWith(QLatin1Char('\r')))
                    s.chop(1);
            }
            if (FExcelClipboardFormat && CountTextLines(s, FMultilineCells) > 1)
                QuoteMultilineField(s);
            if (c > c1)
                line += QLatin1Char('\t');
            line += s;
        }
        return line;
    };
    QStringList rows;
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (GetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(r) : r))
                rows << rowText(r);
    } else {
        for (int r = sel.Top; r <= sel.Bottom; ++r)
            rows << rowText(r);
    }
    return rows.join(QStringLiteral("\r\n"));
}

int TExtStringGrid::GetMaxRowLines(int ARow)
{
    // Line breaks count only in a grid that shows cells on several lines.
    if (ColCount() == 0 || !FMultilineCells)
        return 1;
    int lines = 1;
    for (int c = 0; c < ColCount(); ++c)
        lines = std::max(lines, CountTextLines(GetCellEx(DisplToRealCol(c), ARow), true));
    return lines;
}

// ---- sizing columns -------------------------------------------------------------------------------

int TExtStringGrid::MeasureColContent(int Index)
{
    const int R = DisplToRealCol(Index);
    int r1 = 0, r2 = RowCount() - 1;
    switch (FColumnSize->Rows) {
    case arAll:
        break;
    case arNormal:
        r1 = FixedRows();
        r2 = RowCount() - FFixedFooters - 1;
        break;
    case arFixed:
        r2 = FixedRows() - 1;
        break;
    }
    const bool combos = FControlLook->DropDownAlwaysVisible;
    const bool sortColumn = Index == FSortSettings->Column;
    int filterKnown = -1; // asked once: the filter list of a column is the same for every row
    int widest = 0;
    for (int r = r1; r <= r2; ++r) {
        // Text that runs over several columns does not belong to this one.
        if (IsXMergedCell(Index, r))
            continue;
        const TPoint graphic = GetCellGraphicSize(R, r);
        int w = graphic.X + MeasureCellText(R, Index, r, false, false).X;
        if (combos && HasComboBox(Index, r))
            w += 16;
        if (FFilterDropDownAuto && r == FFilterDropDownRow) {
            if (filterKnown < 0)
                filterKnown = DoGetColumnFilter(Index) ? 1 : 0;
            if (filterKnown == 1)
                w += 12;
        }
        if (sortColumn && IsSortIndicatorCell(Index, r))
            w += 10;
        // A graphic filling the cell leaves no room for anything else.
        if (const TCellGraphic *g = GetCellGraphic(R, r); g && g->CellHAlign() == haFull)
            w = graphic.X - (2 * (GridLineWidth() + 1) + FXYOffset.X);
        widest = std::max(widest, w);
    }
    return widest;
}

void TExtStringGrid::SizeColToContent(int Index, bool GrowOnly)
{
    if (Index < 0 || Index >= ColCount())
        return;
    int width = GetTotalXOffset() + MeasureColContent(Index) + 2 * GridLineWidth() + 2;
    if (GrowOnly && ColWidths(Index) >= width)
        return;
    // The column grid keeps the width within the column's own automatic limits there.
    DoUpdateColumnAutoSize(DisplToRealCol(Index), width);
    SetColWidths(Index, ClampToLimits(width, FMinColWidth, FMaxColWidth));
}

void TExtStringGrid::AutoSizeCol(int Index, int Padding)
{
    if (Index < 0 || Index >= ColCount())
        return;
    SizeColToContent(Index, FSizeGrowOnly);
    if (Padding != 0)
        SetColWidths(Index, ClampToLimits(ColWidths(Index) + Padding, FMinColWidth, FMaxColWidth));
}

void TExtStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    const int c1 = DoFixedCols ? 0 : FixedCols();
    const int c2 = DoFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    for (int c = c1; c <= c2; ++c)
        AutoSizeCol(c, Padding);
}

void TExtStringGrid::AutoFitColumns(bool DoFixedCells)
{
    const TGridOptions opts = Options();
    int sb = 0;
    if (FScrollBarAlways == saVert || (ScrollBars() != ssNone && VisibleRowCount() + FixedRows() < RowCount()))
        sb = GetSystemMetrics(SM_CXVSCROLL);
    int b = 0;
    if (BorderStyle() == bsSingle)
        b = Ctl3D() ? 4 : 2;

    int c1 = 0, c2 = ColCount() - 1;
    int available = Width();
    if (!DoFixedCells) {
        c1 = FixedCols();
        c2 = ColCount() - FFixedRightCols - 1;
        for (int c = 0; c < FixedCols(); ++c)
            available -= ColWidths(c);
        for (int c = c2 + 1; c < ColCount(); ++c)
            available -= ColWidths(c);
    }
    int lines = opts.Contains(goVertLine) ? GridLineWidth() * (ColCount() - FixedCols() - FFixedRightCols) : 0;
    if (opts.Contains(goFixedVertLine) && DoFixedCells)
        lines += FixedCols() + FFixedRightCols;

    if (ColCount() < 2) {
        if (ColCount() == 1)
            SetColWidths(0, Width() - sb - 5);
        return;
    }
    const int room = available - sb - b;
    int sum = 0;
    for (int c = c1; c <= c2; ++c)
        sum += ColWidths(c);
    // Columns without width cannot be scaled.
    if (sum == room || sum <= 0)
        return;
    const double e = double(room - lines) / sum;
    int target = 0;
    for (int c = c1; c <= c2; ++c)
        target += RoundEven(e * ColWidths(c));
    for (int c = c1; c <= c2; ++c)
        SetColWidths(c, RoundEven(double(ColWidths(c)) * target / sum));

    int newSum = 0;
    for (int c = c1; c <= c2; ++c)
        newSum += ColWidths(c);
    int rest = room - newSum;
    const int n = c2 - c1 + 1;
    if (n >= 2 && rest > n) {
        const int each = rest / n;
        for (int c = c1; c <= c2; ++c)
            SetColWidths(c, ColWidths(c) + each);
        rest -= each * n;
    }
    int widest = c1;
    for (int c = c1; c <= c2; ++c)
        if (ColWidths(c) > ColWidths(widest))
            widest = c;
    if (rest != 0)
        SetColWidths(widest, ColWidths(widest) + rest);
}

void TExtStringGrid::SizeToCols()
{
    int w = 0;
    for (int c = 0; c < ColCount(); ++c)
        w += ColWidths(c);
    SetClientWidth(w);
}

void TExtStringGrid::SizeToRows()
{
    int h = 0;
    for (int r = 0; r < RowCount(); ++r)
        h += RowHeights(r);
    SetClientHeight(h);
}

void TExtStringGrid::SizeToCells()
{
    const TScrollStyle old = ScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(old);
}

// ---- sizing rows ------------------------------------------------------------------------------------

void TExtStringGrid::SizeRowToContent(int ARow, bool GrowOnly, int Padding)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    const bool allVisibleBefore = VisibleRowCount() + FixedRows() >= RowCount();
    int highest = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int R = DisplToRealCol(c);
        if (IsYMergedCell(c, ARow) || IsIgnoredColumn(R))
            continue;
        int th = GetCellTextSize(R, ARow, FWordWrapEx, false).Y;
        TPoint gs;
        CalcCellGraphicSize(R, ARow, gs, Padding);
        int gh = gs.Y;
        const TCellGraphic *g = GetCellGraphic(R, ARow);
        if (g && g->CellVAlign() == vaFull)
            gh = th == 0 ? DefaultRowHeight() : 0;
        if (g && IsCheckLikeGraphic(g->CellType()) && gh > 0)
            th = 0;
        int h = th + gh;
        if (IsMergedNonBaseCell(c, ARow))
            h = 0;
        if (g && IsRowHeightGraphic(g->CellType()))
            h = DefaultRowHeight();
        highest = std::max(highest, h);
    }
    int height = GetTotalYOffset() + highest + 2 * GridLineWidth() + (FXYOffsetTopLeftOnly ? 2 : 0);
    if (GrowOnly && RowHeights(ARow) >= height)
        return;
    SetRowHeights(ARow, ClampToLimits(height, FMinRowHeight, FMaxRowHeight));
    // A row grown while typing may push the edited cell out of view: the editor follows it.
    if (allVisibleBefore && EditorMode() && FSizeWhileTyping->Height && VisibleRowCount() + FixedRows() < RowCount()) {
        ShowInplaceEdit();
        if (TExtInplaceEdit *ed = NormalEdit())
            ed->SetSelStart(ed->Text().length());
    }
}

void TExtStringGrid::AutoSizeRow(int Index, int Padding)
{
    SizeRowToContent(Index, FSizeGrowOnly, Padding);
    if (Padding != 0 && Index >= 0 && Index < RowCount())
        SetRowHeights(Index, ClampToLimits(RowHeights(Index) + Padding, FMinRowHeight, FMaxRowHeight));
}

void TExtStringGrid::SizeRowToLines(int Index, int Lines, int Padding)
{
    if (Index < 0 || Index >= RowCount())
        return;
    TCanvas *canvas = Canvas();
    canvas->Font()->Assign(Font());
    TBrush brush;
    DoGetCellColor(FixedCols(), Index, TGridDrawState(), &brush, canvas->Font());
    const int h = canvas->TextHeight(QStringLiteral("gh"));
    SetRowHeights(Index, ClampToLimits(Padding + Lines * (h + h / 8), FMinRowHeight, FMaxRowHeight));
}

void TExtStringGrid::AutoSizeRows(bool DoFixedRows, int Padding)
{
    if (RowCount() == 0)
        return;
    const int first = DoFixedRows ? 0 : FixedRows();
    ExportNotification(esExportStart, first);
    for (int r = first; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        if (FWordWrapEx) {
            AutoSizeRow(r, 0);
            if (Padding != 0)
                SetRowHeights(r, ClampToLimits(RowHeights(r) + Padding, FMinRowHeight, FMaxRowHeight));
        } else {
            SizeRowToLines(r, GetMaxRowLines(r), Padding);
        }
    }
    ExportNotification(esExportDone, -1);
}

void TExtStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY)
{
    BeginUpdate();
    const int c1 = DoFixedCells ? 0 : FixedCols();
    const int r1 = DoFixedCells ? 0 : FixedRows();
    for (int c = c1; c < ColCount(); ++c) {
        const int R = DisplToRealCol(c);
        int running = FSizeGrowOnly ? ColWidths(c) : 0;
        for (int r = r1; r < RowCount(); ++r) {
            const TPoint ts = GetCellTextSize(R, r, false, false);
            const TPoint gs = GetCellGraphicSize(c, r);
            int w = ts.X + gs.X + PaddingX + FXYOffset.X;
            int h = ts.Y + gs.Y + PaddingY + FXYOffset.Y;
            if (!IsXMergedCell(c, r) && w > running) {
                w = ClampToLimits(w, FMinColWidth, FMaxColWidth);
                if (w > running) {
                    SetColWidths(c, w);
                    running = w;
                }
            }
            if (!IsYMergedCell(c, r) && h > RowHeights(r)) {
                h = ClampToLimits(h, FMinRowHeight, FMaxRowHeight);
                if (h > RowHeights(r))
                    SetRowHeights(r, h);
            }
        }
    }
    EndUpdate();
}

// ---- exchanging columns and rows --------------------------------------------------------------------

void TExtStringGrid::SwapLines(bool Columns, int Index1, int Index2)
{
    if (Index1 == Index2 || Index1 < 0 || Index2 < 0)
        return;
    // Texts and object slots change places as they are: no object is freed or copied.
    auto swapCells = [this](int C1, int R1, int C2, int R2) {
        const UnicodeString t = GridCells(C1, R1);
        TObject *o = GridObjects(C1, R1);
        SetGridCell(C1, R1, GridCells(C2, R2));
        SetGridObject(C1, R1, GridObjects(C2, R2));
        SetGridCell(C2, R2, t);
        SetGridObject(C2, R2, o);
    };
    if (Columns) {
        if (Index1 < TotalColCount() && Index2 < TotalColCount())
            for (int r = 0; r < RowCount(); ++r)
                swapCells(Index1, r, Index2, r);
    } else if (Index1 < RowCount() && Index2 < RowCount()) {
        for (int c = 0; c < TotalColCount(); ++c)
            swapCells(c, Index1, c, Index2);
    }
}

void TExtStringGrid::SwapColumns(int Index1, int Index2)
{
    if (Index1 == Index2 || Index1 < 0 || Index2 < 0 || Index1 >= TotalColCount() || Index2 >= TotalColCount())
        return;
    SwapLines(true, Index1, Index2);
    if (Index1 < ColCount() && Index2 < ColCount()) {
        const int w = ColWidths(Index1);
        SetColWidths(Index1, ColWidths(Index2));
        SetColWidths(Index2, w);
    }
    if (FSortSettings->Column == Index1)
        FSortSettings->Column = Index2;
    else if (FSortSettings->Column == Index2)
        FSortSettings->Column = Index1;
    if (FControlList->Count() > 0) {
        FControlList->SwapColumns(Index1, Index2);
        CellControlsUpdate(false);
    }
    Invalidate();
}

void TExtStringGrid::SwapRows(int Index1, int Index2)
{
    if (Index1 == Index2 || Index1 < 0 || Index2 < 0 || Index1 >= RowCount() || Index2 >= RowCount())
        return;
    SwapLines(false, Index1, Index2);
    const int h = RowHeights(Index1);
    SetRowHeights(Index1, RowHeights(Index2));
    SetRowHeights(Index2, h);
    if (FControlList->Count() > 0) {
        FControlList->SwapRows(RealRowIndex(Index1), RealRowIndex(Index2));
        CellControlsUpdate(false);
    }
    Invalidate();
}
