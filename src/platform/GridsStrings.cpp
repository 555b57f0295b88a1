// The draw grid's events and the string grid: cells, objects and rows and columns as string lists.
#include "platform/Grids.h"

#include <algorithm>

namespace {

const UnicodeString SIndexOutOfRange = QStringLiteral("Grid index out of range");
const UnicodeString SInvalidStringGridOp = QStringLiteral("Cannot insert or delete rows from grid");

// How far beyond the counts a cell may be written: the grid library keeps hidden columns and a
// few scratch rows there, but a wild index must not make the store allocate without bound.
constexpr int WriteMargin = 65536;

} // namespace

// ---- TCustomDrawGrid ----

TCustomDrawGrid::TCustomDrawGrid(TComponent *AOwner) : TCustomGrid(AOwner)
{
}

TCustomDrawGrid::~TCustomDrawGrid()
{
    if (FInplaceEdit)
        FInplaceEdit->SetGrid(nullptr);
}

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow)
{
    bool result = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, result);
    return result;
}

void TCustomDrawGrid::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TCustomDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

UnicodeString TCustomDrawGrid::GetEditText(int ACol, int ARow)
{
    UnicodeString result;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, result);
    return result;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const UnicodeString &Value)
{
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

// ---- TStringGridStrings ----

TStringGridStrings::TStringGridStrings(TStringGrid *AGrid, bool AIsColumn, int AIndex)
    : FGrid(AGrid), FIsColumn(AIsColumn), FIndex(AIndex)
{
}

int TStringGridStrings::Count() const
{
    return FIsColumn ? FGrid->RowCount() : FGrid->ColCount();
}

UnicodeString TStringGridStrings::Strings(int Index) const
{
    return FIsColumn ? FGrid->Cells(FIndex, Index) : FGrid->Cells(Index, FIndex);
}

void TStringGridStrings::SetStrings(int Index, const UnicodeString &S)
{
    if (FIsColumn)
        FGrid->SetCells(FIndex, Index, S);
    else
        FGrid->SetCells(Index, FIndex, S);
}

TObject *TStringGridStrings::Objects(int Index) const
{
    return FIsColumn ? FGrid->Objects(FIndex, Index) : FGrid->Objects(Index, FIndex);
}

void TStringGridStrings::SetObjects(int Index, TObject *AObject)
{
    if (FIsColumn)
        FGrid->SetObjects(FIndex, Index, AObject);
    else
        FGrid->SetObjects(Index, FIndex, AObject);
}

int TStringGridStrings::Add(const UnicodeString &S)
{
    // A grid line has a fixed length: Add fills its first empty cell.
    for (int i = 0; i < Count(); ++i)
        if (Strings(i).isEmpty()) {
            SetStrings(i, S.isEmpty() ? QStringLiteral(" ") : S);
            return i;
        }
    return -1;
}

void TStringGridStrings::Insert(int, const UnicodeString &)
{
    throw EInvalidGridOperation(SInvalidStringGridOp);
}

void TStringGridStrings::Delete(int)
{
    throw EInvalidGridOperation(SInvalidStringGridOp);
}

void TStringGridStrings::Clear()
{
    if (FIsColumn) {
        for (int r = 0; r < FGrid->RowCount(); ++r) {
            FGrid->SetCells(FIndex, r, UnicodeString());
            FGrid->SetObjects(FIndex, r, nullptr);
        }
    } else {
        FGrid->FStore.ClearRow(FIndex);
        FGrid->InvalidateRow(FIndex);
    }
}

void TStringGridStrings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TStrings *>(Source);
    if (!src) {
        TStrings::Assign(Source);
        return;
    }
    if (src == this)
        return;
    int n = std::min(src->Count(), Count());
    for (int i = 0; i < n; ++i) {
        SetStrings(i, src->Strings(i));
        SetObjects(i, src->Objects(i));
    }
}

// ---- TStringGrid ----

TStringGrid::TStringGrid(TComponent *AOwner) : TDrawGrid(AOwner)
{
    FStore.SetColumnHint(ColCount());
}

TStringGrid::~TStringGrid()
{
    // The editor lives on until the window goes; it must not write into a store that is gone.
    if (FInplaceEdit)
        FInplaceEdit->SetGrid(nullptr);
}

void TStringGrid::CheckWriteIndex(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= std::max(ColCount(), 1) + WriteMargin ||
        ARow >= std::max(RowCount(), 1) + WriteMargin)
        throw EInvalidGridOperation(SIndexOutOfRange);
}

void TStringGrid::CellChanged(int ACol, int ARow)
{
    if (!HandleAllocated())
        return;
    // Cells far from the view need no repaint; every visible line is at least one pixel.
    TRect cr = ClientRect();
    if (ARow >= RowCount() || ACol >= ColCount())
        return;
    if (ARow >= FixedRows() && (ARow < TopRow() || ARow > TopRow() + cr.Height()))
        return;
    if (ACol >= FixedCols() && (ACol < LeftCol() || ACol > LeftCol() + cr.Width()))
        return;
    InvalidateCell(ACol, ARow);
}

void TStringGrid::SetCells(int ACol, int ARow, const UnicodeString &Value)
{
    CheckWriteIndex(ACol, ARow);
    FStore.SetText(ACol, ARow, Value);
    CellChanged(ACol, ARow);
}

void TStringGrid::SetRowCells(int ARow, const QStringView *Texts, int Count)
{
    if (Count <= 0)
        return;
    CheckWriteIndex(Count - 1, ARow);
    FStore.SetRowTexts(ARow, Texts, Count);
    if (!HandleAllocated() || ARow >= RowCount())
        return;
    // As CellChanged, with the row's view test made once.
    const TRect cr = ClientRect();
    if (ARow >= FixedRows() && (ARow < TopRow() || ARow > TopRow() + cr.Height()))
        return;
    for (int c = 0; c < Count && c < ColCount(); ++c)
        if (c < FixedCols() || (c >= LeftCol() && c <= LeftCol() + cr.Width()))
            InvalidateCell(c, ARow);
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject *Value)
{
    CheckWriteIndex(ACol, ARow);
    FStore.SetObject(ACol, ARow, Value);
}

TStrings *TStringGrid::Rows(int Index)
{
    if (Index < 0)
        throw EInvalidGridOperation(SIndexOutOfRange);
    auto &p = FRowLists[Index];
    if (!p)
        p = std::make_unique<TStringGridStrings>(this, false, Index);
    return p.get();
}

void TStringGrid::SetRows(int Index, TStrings *Value)
{
    Rows(Index)->Assign(Value);
}

TStrings *TStringGrid::Cols(int Index)
{
    if (Index < 0)
        throw EInvalidGridOperation(SIndexOutOfRange);
    auto &p = FColLists[Index];
    if (!p)
        p = std::make_unique<TStringGridStrings>(this, true, Index);
    return p.get();
}

void TStringGrid::SetCols(int Index, TStrings *Value)
{
    Cols(Index)->Assign(Value);
}

void TStringGrid::DeleteColumn(int ACol)
{
    TCustomGrid::DeleteColumn(ACol);
    // The deleted column now lies just beyond the end: take it out, so that it does not come back
    // when the grid grows and the columns kept beyond the count stay right after the last one.
    FStore.DeleteColumns(ColCount(), 1);
}

void TStringGrid::DeleteRow(int ARow)
{
    TCustomGrid::DeleteRow(ARow);
    FStore.DeleteRows(RowCount(), 1);
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    if (DefaultDrawing())
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, FStore.Text(ACol, ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    FStore.MoveColumn(FromIndex, ToIndex);
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    FStore.MoveRow(FromIndex, ToIndex);
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::RowLinesDeleted(const std::vector<int> &Rows)
{
    if (FCellsOut) {
        FStore.TakeRows(Rows, *FCellsOut);
        FCellsOut = nullptr;
        return;
    }
    // From the bottom up, runs at a time: the store's gap walks up once over the rows.
    for (std::size_t i = Rows.size(); i > 0;) {
        std::size_t j = i - 1;
        while (j > 0 && Rows[j - 1] == Rows[j] - 1)
            --j;
        FStore.DeleteRows(Rows[j], int(i - j));
        i = j;
    }
}

void TStringGrid::RowLinesInserted(const std::vector<int> &Rows)
{
    if (FCellsIn) {
        FStore.PutRows(Rows, *FCellsIn);
        FCellsIn = nullptr;
        return;
    }
    // From the top down, runs at a time: each index is where the row ends up.
    for (std::size_t i = 0; i < Rows.size();) {
        std::size_t j = i + 1;
        while (j < Rows.size() && Rows[j] == Rows[j - 1] + 1)
            ++j;
        FStore.InsertRows(Rows[i], int(j - i));
        i = j;
    }
}

void TStringGrid::DetachRowLines(const std::vector<int> &Rows, std::vector<TGridStore::TRow *> &Cells)
{
    Cells.clear();
    FCellsOut = &Cells;
    try {
        DeleteRowLines(Rows);
    } catch (...) {
        FCellsOut = nullptr;
        throw;
    }
    FCellsOut = nullptr;
}

void TStringGrid::AttachRowLines(const std::vector<int> &Rows, const std::vector<int> &Heights,
                                 const std::vector<TGridStore::TRow *> &Cells)
{
    FCellsIn = &Cells;
    try {
        InsertRowLines(Rows, Heights);
    } catch (...) {
        FCellsIn = nullptr;
        throw;
    }
    FCellsIn = nullptr;
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    FStore.SetColumnHint(ColCount());
    TDrawGrid::SizeChanged(OldColCount, OldRowCount);
}

UnicodeString TStringGrid::GetEditText(int ACol, int ARow)
{
    UnicodeString result = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, result);
    return result;
}

void TStringGrid::SetEditText(int ACol, int ARow, const UnicodeString &Value)
{
    if (Value != Cells(ACol, ARow))
        SetCells(ACol, ARow, Value);
    TDrawGrid::SetEditText(ACol, ARow, Value);
}
