// Counts, sizes, geometry, the current cell, the selection and the scroll position of the grid.
#include "platform/Grids.h"

#include "platform/Windows.h"

#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

const UnicodeString SIndexOutOfRange = QStringLiteral("Grid index out of range");
const UnicodeString SFixedColTooBig = QStringLiteral("Fixed column count must be less than column count");
const UnicodeString SFixedRowTooBig = QStringLiteral("Fixed row count must be less than row count");

[[noreturn]] void InvalidOp(const UnicodeString &Msg)
{
    throw EInvalidGridOperation(Msg);
}

// Classic scroll scale of the grid's scroll bars.
constexpr int ScrollRange = 127;

int MulDivTrunc(int a, int b, int c)
{
    if (c == 0)
        return 0;
    return int((long long)a * b / c);
}

} // namespace

TCustomGrid::TCustomGrid(TComponent *AOwner) : TCustomControl(AOwner)
{
    FOptions = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TControlStyle style = ControlStyle();
    style << csCaptureMouse << csOpaque << csDoubleClicks << csClickEvents;
    SetControlStyle(style);
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 320, 120);
    Initialize();
}

TCustomGrid::~TCustomGrid()
{
    // The editor and the scroll bars outlive this part of the grid by a little (the window and
    // the children go last): cut their ties to it first.
    if (FInplaceEdit)
        FInplaceEdit->SetGrid(nullptr);
    for (QPointer<QObject> &sb : FScrollWidgets)
        delete sb.data();
}

void TCustomGrid::Initialize()
{
    FTopLeft = {FFixedCols, FFixedRows};
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect))
        FAnchor.X = FColCount - 1;
}

int TCustomGrid::ColExtent(int Index) const
{
    int w = Index >= 0 && std::size_t(Index) < FColWidths.size() ? FColWidths[std::size_t(Index)] : FDefaultColWidth;
    return w < 0 ? 0 : w;
}

int TCustomGrid::RowExtent(int Index) const
{
    int h = Index >= 0 && std::size_t(Index) < FRowHeights.size() ? FRowHeights[std::size_t(Index)] : FDefaultRowHeight;
    return h < 0 ? 0 : h;
}

// ---- structure ----

void TCustomGrid::SetColCount(int Value)
{
    if (Value == FColCount)
        return;
    if (Value < 1)
        Value = 1;
    if (Value <= FFixedCols)
        SetFixedCols(Value - 1);
    ChangeSize(Value, FRowCount);
}

void TCustomGrid::SetRowCount(int Value)
{
    if (Value == FRowCount)
        return;
    if (Value < 1)
        Value = 1;
    if (Value <= FFixedRows)
        SetFixedRows(Value - 1);
    ChangeSize(FColCount, Value);
}

void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount)
{
    int oldCols = FColCount;
    int oldRows = FRowCount;
    // The edited or the current cell about to go: the editor hands its text to the cell while the
    // cell still exists, instead of staying over a cell that is no more.
    const bool editedGoes = FInplaceEdit && FInplaceCol != -1 &&
                            (FInplaceCol >= NewColCount || FInplaceRow >= NewRowCount);
    const bool currentGoes = FCurrent.X >= NewColCount || FCurrent.Y >= NewRowCount;
    if (editedGoes || currentGoes)
        LeaveEditedCell();
    FColCount = NewColCount;
    FRowCount = NewRowCount;
    if (!FColWidths.empty())
        FColWidths.resize(std::size_t(FColCount), FDefaultColWidth);
    if (!FRowHeights.empty())
        FRowHeights.resize(std::size_t(FRowCount), FDefaultRowHeight);
    // Keep the current cell, the anchor and the view inside the new counts.
    auto clamp = [&](TGridCoord &c, int minX, int minY) {
        c.X = std::clamp(c.X, std::min(minX, FColCount - 1), FColCount - 1);
        c.Y = std::clamp(c.Y, std::min(minY, FRowCount - 1), FRowCount - 1);
    };
    clamp(FCurrent, 0, 0);
    clamp(FAnchor, 0, 0);
    if (FOptions.Contains(goRowSelect))
        FAnchor.X = FColCount - 1;
    TGridCoord oldTopLeft = FTopLeft;
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, FColCount - 1));
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, FRowCount - 1));
    SizeChanged(oldCols, oldRows);
    if (!(oldTopLeft == FTopLeft))
        TopLeftMoved(oldTopLeft);
    UpdateScrollRange();
    if (editedGoes || currentGoes)
        UpdateEdit();
    Invalidate();
}

void TCustomGrid::DeleteRowLines(const std::vector<int> &Rows)
{
    // Rows that ascend inside the grid and leave a row over are taken as they are; the others
    // are cleaned up in a copy.
    bool clean = !Rows.empty() && Rows.front() >= 0 && Rows.back() < FRowCount && Rows.size() < std::size_t(FRowCount);
    for (std::size_t i = 1; clean && i < Rows.size(); ++i)
        clean = Rows[i - 1] < Rows[i];
    std::vector<int> cleaned;
    if (!clean) {
        cleaned.reserve(Rows.size());
        for (int r : Rows)
            if (r >= 0 && r < FRowCount && (cleaned.empty() || r > cleaned.back()))
                cleaned.push_back(r);
        // At least one row stays, as SetRowCount keeps one.
        if (!cleaned.empty() && int(cleaned.size()) >= FRowCount)
            cleaned.pop_back();
        if (cleaned.empty())
            return;
    }
    const std::vector<int> &rows = clean ? Rows : cleaned;
    LeaveEditedCell();
    if (!FRowHeights.empty()) {
        std::size_t out = rows.front(), k = 0;
        for (std::size_t i = rows.front(); i < FRowHeights.size(); ++i) {
            if (k < rows.size() && int(i) == rows[k]) {
                ++k;
                continue;
            }
            FRowHeights[out++] = FRowHeights[i];
        }
        FRowHeights.resize(out);
    }
    RowLinesDeleted(rows);
    const int newCount = FRowCount - int(rows.size());
    if (newCount <= FFixedRows)
        SetFixedRows(newCount - 1);
    ChangeSize(FColCount, newCount);
    RowHeightsChanged();
}

void TCustomGrid::InsertRowLines(const std::vector<int> &Rows, const std::vector<int> &Heights)
{
    if (Rows.empty())
        return;
    const int newCount = FRowCount + int(Rows.size());
    std::vector<int> rows;
    rows.reserve(Rows.size());
    // Strictly ascending and inside the grown grid, with room left for the rows after each.
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const int lo = rows.empty() ? 0 : rows.back() + 1;
        const int hi = newCount - int(Rows.size() - i);
        rows.push_back(std::clamp(Rows[i], lo, std::max(lo, hi)));
    }
    LeaveEditedCell();
    const bool sized = !FRowHeights.empty() ||
                       std::any_of(Heights.begin(), Heights.end(), [this](int h) { return h != FDefaultRowHeight; });
    if (sized) {
        if (FRowHeights.empty())
            FRowHeights.assign(std::size_t(FRowCount), FDefaultRowHeight);
        // In place from the back: each old row moves down by the new rows still before it.
        FRowHeights.resize(std::size_t(newCount), FDefaultRowHeight);
        std::size_t k = rows.size();
        for (int i = newCount - 1; k > 0 && i >= rows.front(); --i) {
            if (i == rows[k - 1]) {
                --k;
                FRowHeights[std::size_t(i)] = k < Heights.size() ? Heights[k] : FDefaultRowHeight;
            } else {
                FRowHeights[std::size_t(i)] = FRowHeights[std::size_t(i) - k];
            }
        }
    }
    RowLinesInserted(rows);
    // ChangeSize would size the new rows at the end; the sizes are in place already.
    std::vector<int> keep;
    keep.swap(FRowHeights);
    ChangeSize(FColCount, newCount);
    FRowHeights.swap(keep);
    RowHeightsChanged();
}

void TCustomGrid::LeaveEditedCell()
{
    // As a move of the current cell does: an always shown editor only changes cells.
    if (FOptions.Contains(goAlwaysShowEditor))
        HideEdit();
    else
        HideEditor();
}

void TCustomGrid::SetFixedCols(int Value)
{
    if (Value == FFixedCols)
        return;
    if (Value < 0)
        InvalidOp(SIndexOutOfRange);
    if (Value >= FColCount)
        InvalidOp(SFixedColTooBig);
    // The current cell goes back to the first scrolling cell: the editor leaves the old one.
    LeaveEditedCell();
    FFixedCols = Value;
    Initialize();
    UpdateEdit();
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int Value)
{
    if (Value == FFixedRows)
        return;
    if (Value < 0)
        InvalidOp(SIndexOutOfRange);
    if (Value >= FRowCount)
        InvalidOp(SFixedRowTooBig);
    // The current cell goes back to the first scrolling cell: the editor leaves the old one.
    LeaveEditedCell();
    FFixedRows = Value;
    Initialize();
    UpdateEdit();
    UpdateScrollRange();
    Invalidate();
}

int TCustomGrid::ColWidths(int Index) const
{
    if (Index < 0 || Index >= FColCount)
        return FDefaultColWidth;
    return std::size_t(Index) < FColWidths.size() ? FColWidths[std::size_t(Index)] : FDefaultColWidth;
}

void TCustomGrid::SetColWidths(int Index, int Value)
{
    if (Index < 0 || Index >= FColCount)
        InvalidOp(SIndexOutOfRange);
    if (ColWidths(Index) == Value)
        return;
    if (FColWidths.empty())
        FColWidths.assign(std::size_t(FColCount), FDefaultColWidth);
    FColWidths[std::size_t(Index)] = Value;
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int Index) const
{
    if (Index < 0 || Index >= FRowCount)
        return FDefaultRowHeight;
    return std::size_t(Index) < FRowHeights.size() ? FRowHeights[std::size_t(Index)] : FDefaultRowHeight;
}

void TCustomGrid::RowHeightsOf(const std::vector<int> &Rows, std::vector<int> &Heights) const
{
    Heights.clear();
    // No row was ever sized: every row has the default height.
    if (FRowHeights.empty())
        return;
    Heights.resize(Rows.size());
    const std::size_t Known = FRowHeights.size();
    for (std::size_t I = 0; I < Rows.size(); ++I) {
        const int R = Rows[I];
        Heights[I] = R >= 0 && R < FRowCount && std::size_t(R) < Known ? FRowHeights[std::size_t(R)] : FDefaultRowHeight;
    }
}

void TCustomGrid::SetRowHeights(int Index, int Value)
{
    if (Index < 0 || Index >= FRowCount)
        InvalidOp(SIndexOutOfRange);
    if (RowHeights(Index) == Value)
        return;
    if (FRowHeights.empty())
        FRowHeights.assign(std::size_t(FRowCount), FDefaultRowHeight);
    FRowHeights[std::size_t(Index)] = Value;
    RowHeightsChanged();
}

bool TCustomGrid::SwapRowHeights(int A, int B)
{
    const auto n = FRowHeights.size();
    if (A < 0 || B < 0 || std::size_t(A) >= n || std::size_t(B) >= n || FRowHeights[std::size_t(A)] == FRowHeights[std::size_t(B)])
        return false;
    std::swap(FRowHeights[std::size_t(A)], FRowHeights[std::size_t(B)]);
    return true;
}

void TCustomGrid::InsertRowHeights(int AIndex, int ACount)
{
    // While every row has the default height there is nothing to move.
    if (FRowHeights.empty() || ACount <= 0 || AIndex < 0 || std::size_t(AIndex) >= FRowHeights.size())
        return;
    const auto n = std::min(std::size_t(ACount), FRowHeights.size() - std::size_t(AIndex));
    const auto b = FRowHeights.begin() + AIndex;
    std::move_backward(b, FRowHeights.end() - std::ptrdiff_t(n), FRowHeights.end());
    std::fill_n(b, n, FDefaultRowHeight);
    RowHeightsChanged();
}

void TCustomGrid::DeleteRowHeights(int AIndex, int ACount)
{
    if (FRowHeights.empty() || ACount <= 0 || AIndex < 0 || std::size_t(AIndex) >= FRowHeights.size())
        return;
    const auto n = std::min(std::size_t(ACount), FRowHeights.size() - std::size_t(AIndex));
    const auto b = FRowHeights.begin() + AIndex;
    std::move(b + std::ptrdiff_t(n), FRowHeights.end(), b);
    std::fill(FRowHeights.end() - std::ptrdiff_t(n), FRowHeights.end(), FDefaultRowHeight);
    RowHeightsChanged();
}

void TCustomGrid::SetDefaultColWidth(int Value)
{
    FDefaultColWidth = Value;
    FColWidths.clear();
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value)
{
    FDefaultRowHeight = Value;
    FRowHeights.clear();
    RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int Value)
{
    if (Value < 0)
        Value = 0;
    if (Value == FGridLineWidth)
        return;
    FGridLineWidth = Value;
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetOptions(const TGridOptions &Value)
{
    if (Value == FOptions)
        return;
    bool rowSelect = Value.Contains(goRowSelect) && !FOptions.Contains(goRowSelect);
    FOptions = Value;
    if (FOptions.Contains(goRowSelect))
        FOptions.Exclude(goAlwaysShowEditor);
    if (rowSelect) {
        FAnchor.X = FColCount - 1;
        FCurrent.X = std::min(FFixedCols, FColCount - 1);
    }
    // Row select draws whole rows and edits none.
    if ((!FOptions.Contains(goEditing) || FOptions.Contains(goRowSelect)) && FEditorMode)
        HideEditor();
    else if (!FEditorMode && FOptions.Contains(goAlwaysShowEditor))
        ShowEditor();
    UpdateScrollRange();
    Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool Value)
{
    if (Value == FDefaultDrawing)
        return;
    FDefaultDrawing = Value;
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor Value)
{
    if (Value == FFixedColor)
        return;
    FFixedColor = Value;
    Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value)
{
    if (Value != bsNone)
        Value = bsSingle;
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars)
        return;
    FScrollBars = Value;
    UpdateScrollRange();
    Invalidate();
}

int TCustomGrid::GridWidth() const
{
    TGridDrawInfo di;
    CalcFixedInfo(di);
    long long w = 0;
    for (int i = 0; i < FColCount; ++i)
        w += ColExtent(i) + di.Horz.EffectiveLineWidth;
    return int(std::min<long long>(w, 0x7FFFFFFF));
}

int TCustomGrid::GridHeight() const
{
    TGridDrawInfo di;
    CalcFixedInfo(di);
    if (FRowHeights.empty())
        return int(std::min<long long>((long long)FRowCount * (FDefaultRowHeight + di.Vert.EffectiveLineWidth), 0x7FFFFFFF));
    long long h = 0;
    for (int i = 0; i < FRowCount; ++i)
        h += RowExtent(i) + di.Vert.EffectiveLineWidth;
    return int(std::min<long long>(h, 0x7FFFFFFF));
}

// ---- client area ----

TRect TCustomGrid::ClientRect() const
{
    int w = Width();
    int h = Height();
    if (FScroll[SB_VERT].Visible)
        w -= GetSystemMetrics(SM_CXVSCROLL);
    if (FScroll[SB_HORZ].Visible)
        h -= GetSystemMetrics(SM_CYHSCROLL);
    return {0, 0, std::max(0, w), std::max(0, h)};
}

// ---- draw info ----

void TCustomGrid::CalcFixedInfo(TGridDrawInfo &DrawInfo) const
{
    auto fixedAxis = [](TGridAxisDrawInfo &a, int lineWidth, int fixedCount, int first, int count,
                        std::function<int(int)> extent) {
        a.EffectiveLineWidth = lineWidth;
        a.FixedCellCount = fixedCount;
        a.FirstGridCell = first;
        a.GridCellCount = count;
        a.GetExtent = std::move(extent);
        a.FixedBoundary = 0;
        for (int i = 0; i < fixedCount; ++i)
            a.FixedBoundary += a.GetExtent(i) + lineWidth;
    };
    int hl = FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine) ? FGridLineWidth : 0;
    int vl = FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine) ? FGridLineWidth : 0;
    fixedAxis(DrawInfo.Horz, hl, FFixedCols, FTopLeft.X, FColCount, [this](int i) { return ColExtent(i); });
    fixedAxis(DrawInfo.Vert, vl, FFixedRows, FTopLeft.Y, FRowCount, [this](int i) { return RowExtent(i); });
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo &DrawInfo) const
{
    CalcFixedInfo(DrawInfo);
    TRect cr = ClientRect();
    auto axis = [](TGridAxisDrawInfo &a, int extent) {
        a.GridExtent = extent;
        a.GridBoundary = a.FixedBoundary;
        a.FullVisBoundary = a.FixedBoundary;
        a.LastFullVisibleCell = a.FirstGridCell;
        for (int i = a.FirstGridCell; i < a.GridCellCount; ++i) {
            a.GridBoundary += a.GetExtent(i) + a.EffectiveLineWidth;
            if (a.GridBoundary > a.GridExtent + a.EffectiveLineWidth) {
                a.GridBoundary = a.GridExtent;
                break;
            }
            a.LastFullVisibleCell = i;
            a.FullVisBoundary = a.GridBoundary;
        }
    };
    axis(DrawInfo.Horz, cr.Width());
    axis(DrawInfo.Vert, cr.Height());
}

int TCustomGrid::VisibleColCount() const
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    return di.Horz.LastFullVisibleCell - FTopLeft.X + 1;
}

int TCustomGrid::VisibleRowCount() const
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    return di.Vert.LastFullVisibleCell - FTopLeft.Y + 1;
}

TGridCoord TCustomGrid::CalcMaxTopLeft(const TGridCoord &Coord, const TGridDrawInfo &DrawInfo) const
{
    auto maxCell = [](const TGridAxisDrawInfo &a, int start) {
        int result = start;
        int line = a.GridExtent + a.EffectiveLineWidth;
        for (int i = start; i >= a.FixedCellCount; --i) {
            int e = a.GetExtent(i);
            if (e > 0) {
                line -= e + a.EffectiveLineWidth;
                if (line < a.FixedBoundary) {
                    if (result == start && a.GetExtent(start) <= 0)
                        result = i;
                    break;
                }
                result = i;
            }
        }
        return result;
    };
    return {maxCell(DrawInfo.Horz, Coord.X), maxCell(DrawInfo.Vert, Coord.Y)};
}

int TCustomGrid::MaxTopRow() const
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    return std::max(FFixedRows, CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di).Y);
}

int TCustomGrid::MaxLeftCol() const
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    return std::max(FFixedCols, CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di).X);
}

TGridCoord TCustomGrid::CalcCoordFromPoint(int X, int Y, const TGridDrawInfo &DrawInfo) const
{
    auto calc = [](const TGridAxisDrawInfo &a, int n) {
        if (n < 0)
            return -1;
        int start, stop, line;
        if (n < a.FixedBoundary) {
            start = 0;
            stop = a.FixedCellCount - 1;
            line = 0;
        } else {
            start = a.FirstGridCell;
            stop = a.GridCellCount - 1;
            line = a.FixedBoundary;
        }
        for (int i = start; i <= stop; ++i) {
            line += a.GetExtent(i) + a.EffectiveLineWidth;
            if (n < line)
                return i;
        }
        return -1;
    };
    return {calc(DrawInfo.Horz, X), calc(DrawInfo.Vert, Y)};
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord c = CalcCoordFromPoint(X, Y, di);
    if (c.X < 0)
        c.Y = -1;
    else if (c.Y < 0)
        c.X = -1;
    return c;
}

void TCustomGrid::MouseToCell(int X, int Y, int &ACol, int &ARow) const
{
    TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
        return {};
    TGridDrawInfo di;
    CalcDrawInfo(di);
    // Start of the cell on one axis, or -1 when it lies out of view.
    auto pos = [](const TGridAxisDrawInfo &a, int line, int &lo, int &hi) {
        int p;
        int start;
        if (line < a.FixedCellCount) {
            p = 0;
            start = 0;
        } else {
            if (line < a.FirstGridCell)
                return false;
            p = a.FixedBoundary;
            start = a.FirstGridCell;
        }
        for (int i = start; i < line; ++i) {
            p += a.GetExtent(i) + a.EffectiveLineWidth;
            if (p >= a.GridExtent)
                return false;
        }
        if (p >= a.GridExtent)
            return false;
        lo = p;
        hi = std::min(p + a.GetExtent(line), a.GridExtent);
        return true;
    };
    TRect r;
    if (!pos(di.Horz, ACol, r.Left, r.Right) || !pos(di.Vert, ARow, r.Top, r.Bottom))
        return {};
    return r;
}

// ---- current cell and selection ----

TGridRect TCustomGrid::Selection() const
{
    return {std::min(FCurrent.X, FAnchor.X), std::min(FCurrent.Y, FAnchor.Y), std::max(FCurrent.X, FAnchor.X),
            std::max(FCurrent.Y, FAnchor.Y)};
}

void TCustomGrid::SetSelection(const TGridRect &Value)
{
    TGridRect old = Selection();
    // A rectangle reaching past the grid is cut to it: the current cell must be a cell.
    auto inside = [this](TGridCoord c) {
        return TGridCoord{std::clamp(c.X, 0, FColCount - 1), std::clamp(c.Y, 0, FRowCount - 1)};
    };
    FAnchor = inside(Value.TopLeft());
    FCurrent = inside(Value.BottomRight());
    SelectionMoved(old);
}

void TCustomGrid::SetCol(int Value)
{
    if (Value != FCurrent.X)
        FocusCell(Value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int Value)
{
    if (Value != FCurrent.Y)
        FocusCell(FCurrent.X, Value, true);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    MoveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
        InvalidOp(SIndexOutOfRange);
    if (!SelectCell(ACol, ARow))
        return;
    TGridRect old = Selection();
    FCurrent = {ACol, ARow};
    if (!FOptions.Contains(goAlwaysShowEditor))
        HideEditor();
    if (MoveAnchor || !FOptions.Contains(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.Contains(goRowSelect))
            FAnchor.X = FColCount - 1;
    }
    if (FOptions.Contains(goRowSelect))
        FCurrent.X = FFixedCols;
    if (Show)
        ClampInView(FCurrent);
    SelectionMoved(old);
}

void TCustomGrid::MoveAnchor(const TGridCoord &NewAnchor)
{
    if (!FOptions.Contains(goRangeSelect)) {
        MoveCurrent(NewAnchor.X, NewAnchor.Y, true, true);
        return;
    }
    TGridRect old = Selection();
    FAnchor = NewAnchor;
    if (FOptions.Contains(goRowSelect))
        FAnchor.X = FColCount - 1;
    ClampInView(NewAnchor);
    SelectionMoved(old);
}

void TCustomGrid::SelectionMoved(const TGridRect &OldSel)
{
    TGridRect sel = Selection();
    if (sel == OldSel)
        return;
    // Only the cells that changed state need painting; the union is close enough.
    InvalidateRect(OldSel);
    InvalidateRect(sel);
}

void TCustomGrid::ClampInView(const TGridCoord &Coord)
{
    if (!HandleAllocated() && (Width() <= 0 || Height() <= 0))
        return;
    TGridDrawInfo di;
    CalcDrawInfo(di);
    bool outX = Coord.X >= FFixedCols && (Coord.X > di.Horz.LastFullVisibleCell || Coord.X < FTopLeft.X);
    bool outY = Coord.Y >= FFixedRows && (Coord.Y > di.Vert.LastFullVisibleCell || Coord.Y < FTopLeft.Y);
    if (!outX && !outY)
        return;
    TGridCoord old = FTopLeft;
    TGridCoord maxTL = CalcMaxTopLeft(Coord, di);
    if (outX)
        FTopLeft.X = Coord.X < FTopLeft.X ? Coord.X : maxTL.X;
    if (outY)
        FTopLeft.Y = Coord.Y < FTopLeft.Y ? Coord.Y : maxTL.Y;
    TopLeftMoved(old);
}

void TCustomGrid::SetLeftCol(int Value)
{
    Value = std::clamp(Value, FFixedCols, std::max(FFixedCols, std::min(FColCount - 1, MaxLeftCol() + 1)));
    if (Value != FTopLeft.X)
        MoveTopLeft(Value, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int Value)
{
    Value = std::clamp(Value, FFixedRows, std::max(FFixedRows, std::min(FRowCount - 1, MaxTopRow() + 1)));
    if (Value != FTopLeft.Y)
        MoveTopLeft(FTopLeft.X, Value);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop)
{
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y)
        return;
    TGridCoord old = FTopLeft;
    FTopLeft = {ALeft, ATop};
    TopLeftMoved(old);
}

void TCustomGrid::TopLeftMoved(const TGridCoord &OldTopLeft)
{
    if (OldTopLeft == FTopLeft)
        return;
    UpdateScrollPos();
    Invalidate();
    TopLeftChanged();
}

// ---- moving and deleting ----

void TCustomGrid::MoveColRow(bool IsColumn, int FromIndex, int ToIndex)
{
    int count = IsColumn ? FColCount : FRowCount;
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= count || ToIndex >= count)
        InvalidOp(SIndexOutOfRange);
    if (FromIndex == ToIndex)
        return;
    // The editor's text goes into its cell before the cell moves.
    LeaveEditedCell();
    std::vector<int> &sizes = IsColumn ? FColWidths : FRowHeights;
    if (!sizes.empty()) {
        auto b = sizes.begin();
        if (FromIndex < ToIndex)
            std::rotate(b + FromIndex, b + FromIndex + 1, b + ToIndex + 1);
        else
            std::rotate(b + ToIndex, b + FromIndex, b + FromIndex + 1);
    }
    // The current cell follows the moved line, as the selection does.
    auto follow = [&](int &v) {
        if (v == FromIndex)
            v = ToIndex;
        else if (FromIndex < ToIndex && v > FromIndex && v <= ToIndex)
            --v;
        else if (FromIndex > ToIndex && v >= ToIndex && v < FromIndex)
            ++v;
    };
    if (IsColumn && !FOptions.Contains(goRowSelect)) {
        follow(FCurrent.X);
        follow(FAnchor.X);
    } else if (!IsColumn) {
        follow(FCurrent.Y);
        follow(FAnchor.Y);
    }
    if (IsColumn)
        ColumnMoved(FromIndex, ToIndex);
    else
        RowMoved(FromIndex, ToIndex);
    if (IsColumn)
        ColWidthsChanged();
    else
        RowHeightsChanged();
    UpdateEdit();
    Invalidate();
}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
    MoveColRow(true, FromIndex, ToIndex);
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
    MoveColRow(false, FromIndex, ToIndex);
}

void TCustomGrid::DeleteColumn(int ACol)
{
    MoveColumn(ACol, FColCount - 1);
    SetColCount(FColCount - 1);
}

void TCustomGrid::DeleteRow(int ARow)
{
    MoveRow(ARow, FRowCount - 1);
    SetRowCount(FRowCount - 1);
}

// ---- scroll bars ----

bool TCustomGrid::GetScrollInfo(int ABar, TGridScrollInfo &Info) const
{
    if (ABar != SB_HORZ && ABar != SB_VERT)
        return false;
    Info = FScroll[ABar];
    return true;
}

void TCustomGrid::SetScrollInfo(int ABar, const TGridScrollInfo &Info, bool Redraw)
{
    if (ABar != SB_HORZ && ABar != SB_VERT)
        return;
    bool vis = FScroll[ABar].Visible;
    FScroll[ABar] = Info;
    FScroll[ABar].Visible = vis;
    FScroll[ABar].nPos = std::clamp(Info.nPos, Info.nMin, std::max(Info.nMin, Info.nMax));
    LayoutScrollBars();
}

int TCustomGrid::GetScrollPos(int ABar) const
{
    return ABar == SB_HORZ || ABar == SB_VERT ? FScroll[ABar].nPos : 0;
}

void TCustomGrid::ShowScrollBar(int ABar, bool AShow)
{
    if (ABar != SB_HORZ && ABar != SB_VERT)
        return;
    if (FScroll[ABar].Visible == AShow)
        return;
    FScroll[ABar].Visible = AShow;
    LayoutScrollBars();
    Invalidate();
}

void TCustomGrid::EnableScrollBar(int ABar, UINT Arrows)
{
    if (ABar != SB_HORZ && ABar != SB_VERT)
        return;
    FScrollEnabled[ABar] = Arrows == ESB_ENABLE_BOTH;
    LayoutScrollBars();
}

BOOL EnableScrollBar(HWND Wnd, UINT SBFlags, UINT Arrows)
{
    auto *g = dynamic_cast<TCustomGrid *>(TWinControl::FindControl(Wnd));
    if (!g)
        return FALSE;
    if (SBFlags == SB_BOTH) {
        g->EnableScrollBar(SB_HORZ, Arrows);
        g->EnableScrollBar(SB_VERT, Arrows);
    } else {
        g->EnableScrollBar(int(SBFlags), Arrows);
    }
    return TRUE;
}

void TCustomGrid::UpdateScrollPos()
{
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
    auto pos = [](int v, int fixed, int maxV) {
        if (maxV <= fixed)
            return 0;
        return std::clamp(MulDivTrunc(v - fixed, ScrollRange, maxV - fixed), 0, ScrollRange);
    };
    FScroll[SB_HORZ].nPos = pos(FTopLeft.X, FFixedCols, maxTL.X);
    FScroll[SB_VERT].nPos = pos(FTopLeft.Y, FFixedRows, maxTL.Y);
    LayoutScrollBars();
}

void TCustomGrid::UpdateScrollRange()
{
    if (FUpdatingScroll)
        return;
    FUpdatingScroll = true;
    // Showing one bar narrows the client area and may call for the other: settle in a few passes.
    for (int pass = 0; pass < 3; ++pass) {
        TGridDrawInfo di;
        CalcDrawInfo(di);
        TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
        bool wantH = (FScrollBars == ssHorizontal || FScrollBars == ssBoth) && maxTL.X > FFixedCols;
        bool wantV = (FScrollBars == ssVertical || FScrollBars == ssBoth) && maxTL.Y > FFixedRows;
        bool changed = wantH != FScroll[SB_HORZ].Visible || wantV != FScroll[SB_VERT].Visible;
        FScroll[SB_HORZ].Visible = wantH;
        FScroll[SB_VERT].Visible = wantV;
        for (int bar : {SB_HORZ, SB_VERT}) {
            FScroll[bar].nMin = 0;
            FScroll[bar].nMax = FScroll[bar].Visible ? ScrollRange : 0;
            FScroll[bar].nPage = 0;
        }
        if (!changed)
            break;
    }
    // A view scrolled further than the new size allows comes back.
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
    TGridCoord old = FTopLeft;
    // With a scroll bar the view may stay one line past the last full page, as LeftCol and TopRow
    // allow, but no further.
    auto settle = [](int &first, int fixed, int maxFirst, int count, bool bar) {
        int limit = bar ? std::min(count - 1, maxFirst + 1) : fixed;
        if (first > std::max(fixed, maxFirst) && first > limit)
            first = std::max(fixed, limit);
    };
    settle(FTopLeft.X, FFixedCols, maxTL.X, FColCount, FScroll[SB_HORZ].Visible);
    settle(FTopLeft.Y, FFixedRows, maxTL.Y, FRowCount, FScroll[SB_VERT].Visible);
    FUpdatingScroll = false;
    if (!(old == FTopLeft))
        TopLeftMoved(old);
    else
        UpdateScrollPos();
    ScrollRangeUpdated();
}

void TCustomGrid::LayoutScrollBars()
{
    QWidget *w = WidgetIfAllocated();
    if (!w)
        return;
    int b = 0;
    int sv = GetSystemMetrics(SM_CXVSCROLL);
    int sh = GetSystemMetrics(SM_CYHSCROLL);
    for (int bar : {SB_HORZ, SB_VERT}) {
        const TGridScrollInfo &si = FScroll[bar];
        if (!FScrollWidgets[bar]) {
            if (!si.Visible)
                continue;
            auto *sb = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, w);
            sb->setFocusPolicy(Qt::NoFocus);
            QObject::connect(sb, &QScrollBar::actionTriggered, sb, [this, bar, sb](int action) {
                int code = -1;
                switch (action) {
                case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
                case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
                case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
                case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
                case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
                case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
                case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
                default: break;
                }
                if (code >= 0)
                    ScrollBarMessage(bar, code, sb->sliderPosition());
            });
            QObject::connect(sb, &QScrollBar::sliderReleased, sb, [this, bar, sb]() {
                ScrollBarMessage(bar, SB_THUMBPOSITION, sb->sliderPosition());
                ScrollBarMessage(bar, SB_ENDSCROLL, 0);
            });
            FScrollWidgets[bar] = sb;
        }
        auto *sb = static_cast<QScrollBar *>(FScrollWidgets[bar].data());
        sb->blockSignals(true);
        sb->setRange(si.nMin, si.nMax);
        sb->setPageStep(std::max(1, si.nPage));
        if (!sb->isSliderDown())
            sb->setValue(si.nPos);
        sb->blockSignals(false);
        if (bar == SB_VERT)
            sb->setGeometry(Width() - b - sv, b, sv, Height() - 2 * b - (FScroll[SB_HORZ].Visible ? sh : 0));
        else
            sb->setGeometry(b, Height() - b - sh, Width() - 2 * b - (FScroll[SB_VERT].Visible ? sv : 0), sh);
        sb->setEnabled(FScrollEnabled[bar]);
        sb->setVisible(si.Visible);
    }
}

void TCustomGrid::ScrollBarMessage(int ABar, int ACode, int APos)
{
    TMessage m;
    m.Msg = ABar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    m.WParam = MakeWParam(ACode, APos);
    m.LParam = 0;
    WndProc(m);
}

void TCustomGrid::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollRange();
    LayoutScrollBars();
}

void TCustomGrid::Resize()
{
    UpdateScrollRange();
    LayoutScrollBars();
    TCustomControl::Resize();
}

// ---- repainting ----

void TCustomGrid::InvalidateRect(const TGridRect &ARect)
{
    if (!HandleAllocated())
        return;
    TGridDrawInfo di;
    CalcDrawInfo(di);
    // Clip the rectangle to the visible cells and invalidate their union.
    int l = std::max(ARect.Left, 0), t = std::max(ARect.Top, 0);
    int r = std::min(ARect.Right, FColCount - 1), btm = std::min(ARect.Bottom, FRowCount - 1);
    if (l > r || t > btm)
        return;
    if (l >= FFixedCols && l < FTopLeft.X)
        l = FTopLeft.X;
    if (t >= FFixedRows && t < FTopLeft.Y)
        t = FTopLeft.Y;
    r = std::min(r, di.Horz.LastFullVisibleCell + 1);
    btm = std::min(btm, di.Vert.LastFullVisibleCell + 1);
    r = std::min(r, FColCount - 1);
    btm = std::min(btm, FRowCount - 1);
    TRect a = CellRect(l, t);
    TRect z = CellRect(std::max(l, r), std::max(t, btm));
    if (a.IsEmpty() || z.IsEmpty()) {
        Invalidate();
        return;
    }
    TRect u{a.Left, a.Top, z.Right + di.Horz.EffectiveLineWidth, z.Bottom + di.Vert.EffectiveLineWidth};
    ::InvalidateRect(Handle(), &u, FALSE);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow)
{
    InvalidateRect({ACol, ARow, ACol, ARow});
}

void TCustomGrid::InvalidateCol(int ACol)
{
    InvalidateRect({ACol, 0, ACol, FRowCount - 1});
}

void TCustomGrid::InvalidateRow(int ARow)
{
    InvalidateRect({0, ARow, FColCount - 1, ARow});
}

// ---- default virtuals ----

bool TCustomGrid::SelectCell(int ACol, int ARow)
{
    return true;
}

void TCustomGrid::TopLeftChanged()
{
    // The editor follows its cell, and hides while the cell is out of view.
    if (FEditorMode && FInplaceEdit)
        FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
}

void TCustomGrid::SizeChanged(int OldColCount, int OldRowCount)
{
}

void TCustomGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
    Invalidate();
}

void TCustomGrid::RowHeightsChanged()
{
    UpdateScrollRange();
    UpdateEdit();
    Invalidate();
}

void TCustomGrid::ColumnMoved(int FromIndex, int ToIndex)
{
}

void TCustomGrid::RowMoved(int FromIndex, int ToIndex)
{
}
