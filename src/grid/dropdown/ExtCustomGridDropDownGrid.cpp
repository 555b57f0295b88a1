// The string grid in the grid drop-down's popup: loaded from the drop-down before every
// drop-down, sized to its items, and reporting a choice made by key or click.
#include "grid/dropdown/ExtCustomGridDropDown.h"

#include <algorithm>
#include <vector>

namespace ExtCustomGridDropDown {

TExtColGrid::TExtColGrid(TComponent *AOwner) : TColumnListGrid<TExtStringGrid>(AOwner)
{
    SetFixedRowAlways(true);
    SetFixedRows(1);
    SetFixedCols(0);
    TGridOptions o = Options();
    o += TGridOptions{goHorzLine, goRowSelect};
    o -= TGridOptions{goRangeSelect};
    SetOptions(o);
    SetCtl3D(false);
    SetBorderStyle(bsNone);
    FOwnLineWidth = 1;
    FOldRow = Row();
}

TExtColGrid::~TExtColGrid() = default;

bool TExtColGrid::OnPopupForm() const
{
    return FExtDropDown && FExtDropDown->DropDownForm() && Parent() == FExtDropDown->DropDownForm();
}

void TExtColGrid::LoadFromDropDown(TCustomExtGridDropDown *DropDown)
{
    if (!DropDown)
        return;
    FExtDropDown = DropDown;
    FColumns->Assign(DropDown->Columns());
    if (ColCount() < FColumns->Count())
        SetColCount(FColumns->Count());
    if (DropDown->UseItems)
        SetRowCount(DropDown->Items()->Count() + 1);
    for (int i = 0; i < DropDown->Columns()->Count() && i < ColCount(); ++i)
        SetColWidths(i, DropDown->Columns()->Items(i)->Width);
    LineColor = DropDown->LineColor;
    FixedLineColor = DropDown->FixedLineColor;
    HeaderColor = DropDown->HeaderColor;
    HeaderColorTo = DropDown->HeaderColorTo;
    HeaderHeight = DropDown->HeaderHeight;
    FHeaderFont->Assign(DropDown->HeaderFont());
    SetHoverRow(DropDown->HoverRow);
    SetHoverRowColor(DropDown->HoverRowColor);
    SetHoverRowColorTo(DropDown->HoverRowColorTo);
    SetImages(DropDown->Images());
    SetDefaultRowHeight(DropDown->DropDownRowHeight);
    SetRowHeights(0, DropDown->HeaderHeight);
    TGridOptions o = Options();
    auto follow = [&o](bool On, TGridOption Option) {
        if (On)
            o += TGridOptions{Option};
        else
            o -= TGridOptions{Option};
    };
    follow(DropDown->ColumnSizing, goColSizing);
    follow(DropDown->ColumnMoving, goColMoving);
    follow(DropDown->RowSizing, goRowSizing);
    follow(DropDown->RowMoving, goRowMoving);
    SetOptions(o);
    if (DropDown->AutoSizeColumns) {
        if (DropDown->UseItems)
            AutoSizeMarkedColumns();
        else
            TExtStringGrid::AutoSizeColumns(true, 4);
    }
    SizeWordWrapRows();
}

void TExtColGrid::LoadItems()
{
    if (!FExtDropDown)
        return;
    TDropDownColumns *cols = FExtDropDown->Columns();
    TDropDownItems *items = FExtDropDown->Items();
    if (ColCount() != cols->Count())
        SetColCount(cols->Count());
    for (int i = 0; i < cols->Count() && i < ColCount(); ++i) {
        SetCells(i, 0, cols->Items(i)->Header);
        SetObjectEx(i, 0, reinterpret_cast<TObject *>(std::intptr_t(-1)));
    }
    if (items->Count() >= 1)
        SetRowCount(FixedRows() + items->Count());
    const int cc = ColCount();
    const int n = std::min(items->Count(), RowCount() - 1);
    // The items' lines are read from the collection's one block, a row's cells written at once.
    const ExtMultiColumnDropDown::TItemLineBlock &lines = items->AllLines();
    std::vector<QStringView> texts(static_cast<std::size_t>(cc));
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < cc; ++i)
            texts[std::size_t(i)] = lines.Line(j, i);
        SetRowCells(j + 1, texts.data(), cc);
        // The item's index travels with its row through sorting and narrowing; a row loaded
        // again in the same place has it already.
        TObject *index = reinterpret_cast<TObject *>(std::intptr_t(j));
        if (GetObjectEx(0, j + 1) != index)
            SetObjectEx(0, j + 1, index);
    }
}

ExtMultiColumnDropDown::TMeasureCell TExtColGrid::ItemCell(int Row, int Col)
{
    ExtMultiColumnDropDown::TMeasureCell c;
    if (!FExtDropDown)
        return c;
    if (!FExtDropDown->UseItems) {
        // Rows filled by the application have no items: their own cells are measured.
        if (Col < ColCount() && Row < RowCount()) {
            c.HasLine = true;
            c.Text = Cells(Col, Row);
        }
        return c;
    }
    if (Row < 1 || Row - 1 >= FExtDropDown->Items()->Count())
        return c;
    TDropDownItem *item = FExtDropDown->Items()->Items(Row - 1);
    if (const auto l = item->Line(Col)) {
        c.HasLine = true;
        c.Text = *l;
    }
    c.HasImage = Col < FColumns->Count() &&
                 FColumns->Items(Col)->ColumnType == ExtMultiColumnDropDown::ctImage && item->ImageIndex >= 0;
    return c;
}

void TExtColGrid::DoEndBlockFocus()
{
    TExtStringGrid::DoEndBlockFocus();
    if (FExtDropDown)
        FExtDropDown->GridEndBlockFocus();
}

// ---- keys and mouse ----

void TExtColGrid::WMKeyDown(TWMKey &Message)
{
    if (Message.CharCode == VK_TAB)
        return;
    // The string grid answers Enter on a cell it cannot edit without its KeyDown; the choice
    // is made there.
    if (Message.CharCode == VK_RETURN) {
        Word key = VK_RETURN;
        KeyDown(key, KeyDataToShiftState(Message.KeyData));
        Message.Result = 1;
        return;
    }
    TExtStringGrid::WMKeyDown(Message);
}

void TExtColGrid::WMChar(TWMKey &Message)
{
    // Enter chose the row in KeyDown; the grid's own character handling must not see it.
    if (Message.CharCode == VK_RETURN) {
        Message.Result = 1;
        return;
    }
    TExtStringGrid::WMChar(Message);
}

void TExtColGrid::KeyDown(Word &Key, TShiftState Shift)
{
    if (KeyToDropDown(FExtDropDown, Key, Shift))
        return;
    if (Key == VK_RETURN) {
        Key = 0;
        TExtStringGrid::KeyDown(Key, Shift);
        DoSelect();
        return;
    }
    TExtStringGrid::KeyDown(Key, Shift);
}

void TExtColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtStringGrid::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    int c = 0;
    int r = 0;
    MouseToCell(X, Y, c, r);
    if (c >= 0 && r >= 0 && !HasCheckBox(c, r) && r >= FixedRows() && r <= RowCount() - 1)
        DoSelect();
}

} // namespace ExtCustomGridDropDown
