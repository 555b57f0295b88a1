// The grid in the multi-column drop-down's popup: it paints the drop-down's items itself (its
// own cells stay empty), sizes columns and rows to them and reports a choice.
#include "dropdowns/ExtMultiColumnDropDown.h"

#include "controls/ExtDropDown.h"
#include "platform/WinGdi.h"

namespace ExtMultiColumnDropDown {

TExtColGrid::TExtColGrid(TComponent *AOwner) : TColumnListGrid<TStringGrid>(AOwner)
{
    SetFixedCols(0);
    SetFixedRows(1);
    TGridOptions o = Options();
    o += TGridOptions{goHorzLine, goRowSelect};
    o -= TGridOptions{goRangeSelect, goDrawFocusSelected};
    SetOptions(o);
    SetDefaultDrawing(false);
    SetCtl3D(false);
    TStringGrid::SetGridLineWidth(0);
    SetBorderStyle(bsNone);
    FOwnLineWidth = 1;
    FOldRow = Row();
}

TExtColGrid::~TExtColGrid() = default;

bool TExtColGrid::OnPopupForm() const
{
    return FExtDropDown && FExtDropDown->DropDownForm() && Parent() == FExtDropDown->DropDownForm();
}

void TExtColGrid::LoadFromDropDown(TExtMultiColumnDropDown *DropDown)
{
    if (!DropDown)
        return;
    FExtDropDown = DropDown;
    FColumns->Assign(DropDown->Columns());
    SetColCount(FColumns->Count());
    SetRowCount(DropDown->Items()->Count() + 1);
    if (RowCount() > 1) {
        SetFixedRows(1);
        SetRow(1);
        SetRowCount(DropDown->Items()->Count() + 1);
    }
    for (int i = 0; i < FColumns->Count() && i < ColCount(); ++i)
        SetColWidths(i, FColumns->Items(i)->Width);
    LineColor = DropDown->LineColor;
    FixedLineColor = DropDown->FixedLineColor;
    HeaderColor = DropDown->HeaderColor;
    HeaderColorTo = DropDown->HeaderColorTo;
    HeaderHeight = DropDown->HeaderHeight;
    FHeaderFont->Assign(DropDown->HeaderFont());
    SetImages(DropDown->Images());
    SetDefaultRowHeight(DropDown->DropDownRowHeight);
    SetRowHeights(0, HeaderHeight);
    TGridOptions o = Options();
    if (DropDown->ColumnSizing)
        o += TGridOptions{goColSizing};
    else
        o -= TGridOptions{goColSizing};
    SetOptions(o);
    AutoSizeMarkedColumns();
    SizeWordWrapRows();
}

TRect TExtColGrid::CellBounds(int ACol, int ARow) const
{
    const TRect r = CellRect(ACol, ARow);
    return TRect(r.Left, r.Top, r.Left + ColWidths(ACol), r.Top + RowHeights(ARow));
}

TMeasureCell TExtColGrid::ItemCell(int Row, int Col)
{
    TMeasureCell c;
    if (!FExtDropDown || Row < 1 || Row - 1 >= FExtDropDown->Items()->Count())
        return c;
    TDropDownItem *item = FExtDropDown->Items()->Items(Row - 1);
    if (const auto l = item->Line(Col)) {
        c.HasLine = true;
        c.Text = *l;
    }
    c.HasImage = Col < FColumns->Count() && FColumns->Items(Col)->ColumnType == ctImage && item->ImageIndex >= 0;
    return c;
}

void TExtColGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    PaintCell(Canvas(), ACol, ARow, ARect, AState);
}

void TExtColGrid::PaintCell(TCanvas *C, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    TExtMultiColumnDropDown *dd = FExtDropDown;
    if (dd && dd->OnDropDownDrawItem) {
        dd->OnDropDownDrawItem(dd, ACol, ARow, C, ARect);
        return;
    }
    const int place = ColCount() == 1 ? 0 : ACol == FixedCols() ? 1 : ACol == ColCount() - 1 ? 2 : 3;
    TRect R = CellBounds(ACol, ARow);
    UnicodeString text = ARow >= 0 ? Cells(ACol, ARow) : UnicodeString();
    int imageIndex = -1;
    TColor color = Color();
    TAlignment alignment = taLeftJustify;
    bool wrap = false;
    bool ellipsis = false;
    if (ACol < FColumns->Count() && ACol >= FixedCols()) {
        TDropDownColumn *col = FColumns->Items(ACol);
        color = col->Color;
        alignment = col->Alignment;
        wrap = col->Wordwrap;
        ellipsis = col->Ellipsis;
        C->Font()->Assign(col->Font());
        if (ARow > 0 && dd && ARow - 1 < dd->Items()->Count()) {
            TDropDownItem *item = dd->Items()->Items(ARow - 1);
            if (col->ColumnType == ctImage)
                imageIndex = item->ImageIndex;
            if (const auto l = item->Line(ACol))
                text = *l;
        }
    } else {
        C->Font()->Assign(FHeaderFont.get());
    }
    if (dd && dd->OnDropDownGetItemText)
        dd->OnDropDownGetItemText(dd, ACol, ARow, text);

    const bool fixed = AState.Contains(gdFixed);
    const bool selected = AState.Contains(gdSelected);
    if (fixed) {
        text = ACol < FColumns->Count() ? FColumns->Items(ACol)->Header : UnicodeString();
        imageIndex = -1;
        if (HeaderColor == clNone || HeaderColorTo == clNone) {
            C->Brush()->SetColor(HeaderColor);
            C->FillRect(R);
        } else if (dd) {
            dd->DrawGradientBackground(C, HeaderColor, HeaderColorTo, 80, R, gdVertical);
        } else {
            DrawGradient(C, HeaderColor, HeaderColorTo, 80, R, false);
        }
    } else if (selected) {
        if (dd) {
            dd->DrawSelectionBackground(C, R, color, place);
        } else {
            C->Brush()->SetColor(static_cast<TColor>(0xFF000002));
            C->FillRect(R);
        }
    } else {
        C->Brush()->SetColor(color);
        C->Pen()->SetColor(color);
        C->Pen()->SetWidth(1);
        C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
    }

    int c = 1;
    bool horz = false;
    bool vert = false;
    if (fixed) {
        C->Pen()->SetColor(FixedLineColor);
        C->Pen()->SetWidth(1);
        horz = Options().Contains(goFixedHorzLine);
        vert = Options().Contains(goFixedVertLine);
    } else {
        if (FOwnLineWidth > 0)
            C->Pen()->SetColor(LineColor);
        C->Pen()->SetWidth(FOwnLineWidth);
        c = (FOwnLineWidth + 1) / 2;
        horz = Options().Contains(goHorzLine);
        vert = Options().Contains(goVertLine);
    }
    if (horz) {
        C->MoveTo(R.Left - c + 1, R.Bottom - c);
        C->LineTo(R.Right - c + 1, R.Bottom - c);
    }
    if (vert) {
        const int x = BiDiMode() == bdRightToLeft ? R.Right - c + 1 : R.Right - c;
        C->MoveTo(x, R.Bottom - c);
        C->LineTo(x, R.Top - c);
    }

    R = TRect(R.Left + FOwnLineWidth, R.Top + FOwnLineWidth, R.Right - FOwnLineWidth, R.Bottom - FOwnLineWidth);
    int x = R.Left + 2;
    TCustomImageList *images = dd ? dd->Images() : nullptr;
    if (images && imageIndex >= 0) {
        int y = R.Top;
        if (images->Height() < R.Bottom - R.Top)
            y = R.Top + (R.Bottom - R.Top - images->Height()) / 2;
        images->Draw(C, R.Left + 2, y, imageIndex, true);
        x = R.Left + images->Width() + 4;
    }
    if (text.isEmpty())
        return;
    C->SetBkMode(TRANSPARENT);
    if (selected && !fixed && dd)
        C->Font()->SetColor(dd->SelectionTextColor);
    if (fixed)
        C->Font()->Assign(FHeaderFont.get());
    TRect tr(x, R.Top, R.Right, R.Bottom);
    DrawText(C->Handle(), text, -1, &tr, ColCellTextFlags(wrap, alignment, ellipsis));
}

// ---- keys and mouse ----

void TExtColGrid::WMKeyDown(TWMKey &Message)
{
    if (Message.CharCode == VK_TAB)
        return;
    TStringGrid::WMKeyDown(Message);
}

void TExtColGrid::KeyDown(Word &Key, TShiftState Shift)
{
    if (KeyToDropDown(FExtDropDown, Key, Shift))
        return;
    const Word key = Key;
    TStringGrid::KeyDown(Key, Shift);
    if (key == VK_RETURN)
        DoSelect();
}

void TExtColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TStringGrid::MouseUp(Button, Shift, X, Y);
    const int row = MouseCoord(X, Y).Y;
    if (row >= FixedRows() && row <= RowCount() - 1)
        DoSelect();
}

} // namespace ExtMultiColumnDropDown
