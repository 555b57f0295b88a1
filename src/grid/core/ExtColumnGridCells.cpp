// The column grid's per-cell answers: each is computed from the column's definition first and
// then handed to the string grid, which (with the application's event) has the last word.

#include "grid/core/ExtColumnGrid.h"

#include "controls/ExtGridUtil.h"
#include "platform/Controls.h"
#include "platform/SysUtils.h"

TCellType TExtColumnGrid::GetCellType(int ACol, int ARow)
{
    TCellType t = TExtStringGrid::GetCellType(ACol, ARow);
    if (ColumnsDestroying() || !FColumns)
        return t;
    if (t == ctEmpty && IsBodyCell(ACol, ARow) && FColumns->Items(ACol)->Editor() == edDataCheckBox)
        t = ctDataCheckBox;
    return t;
}

TCellGraphic *TExtColumnGrid::GetCellGraphic(int ACol, int ARow)
{
    TCellGraphic *g = TExtStringGrid::GetCellGraphic(ACol, ARow);
    if (ColumnsDestroying() || !FColumns || g)
        return g;
    if (IsBodyCell(ACol, ARow) && FColumns->Items(ACol)->Editor() == edDataCheckBox) {
        FDataCheckGraphic->SetCellType(ctVirtCheckBox);
        FDataCheckGraphic->SetCellTransparent(FControlLook->ControlStyle() == TControlLook::csFlat);
        return FDataCheckGraphic;
    }
    return g;
}

UnicodeString TExtColumnGrid::GetCellFloatFormat(int ACol, int ARow)
{
    UnicodeString f = TExtStringGrid::GetCellFloatFormat(ACol, ARow);
    if (TGridColumnItem *c = ItemOf(ACol); c && !c->FloatFormat().isEmpty())
        f = c->FloatFormat();
    return f;
}

UnicodeString TExtColumnGrid::GetFormattedCell(int ACol, int ARow)
{
    TGridColumnItem *c = ItemOf(ACol);
    if (!c)
        return TExtStringGrid::GetFormattedCell(ACol, ARow);
    const UnicodeString text = Cells(ACol, ARow);
    UnicodeString format = c->FloatFormat();
    const int kind = NumberKindOf(text);
    bool isFloat = kind == 0 || kind == 1;
    if (OnGetFloatFormat)
        OnGetFloatFormat(this, ACol, ARow, isFloat, format);
    if (format.isEmpty() || !isFloat)
        return text;
    double v = 0;
    // A text the handler called a number but that holds none is shown as it is.
    if (!TryCellFloats(ACol, ARow, v))
        return text;
    try {
        return Format(format, {v});
    } catch (const EConvertError &) {
        return text;
    }
}

void TExtColumnGrid::DoUpdateColumnSize(int ACol, int &AWidth)
{
    if (TGridColumnItem *c = ItemOf(ACol)) {
        if (c->MinSize() > 0 && AWidth < c->MinSize())
            AWidth = c->MinSize();
        if (c->MaxSize() > 0 && AWidth > c->MaxSize())
            AWidth = c->MaxSize();
    }
    TExtStringGrid::DoUpdateColumnSize(ACol, AWidth);
}

void TExtColumnGrid::DoUpdateColumnAutoSize(int ACol, int &AWidth)
{
    if (TGridColumnItem *c = ItemOf(ACol)) {
        if (c->AutoMinSize() > 0 && AWidth < c->AutoMinSize())
            AWidth = c->AutoMinSize();
        if (c->AutoMaxSize() > 0 && AWidth > c->AutoMaxSize())
            AWidth = c->AutoMaxSize();
    }
    TExtStringGrid::DoUpdateColumnAutoSize(ACol, AWidth);
}

void TExtColumnGrid::DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont)
{
    if (IsBodyCell(ACol, ARow)) {
        TGridColumnItem *c = FColumns->Items(ACol);
        if (c->Fixed())
            ABrush->SetColor(FixedColor());
        else if ((!c->ShowBands() || !FBands->Active()) && ARow >= FixedRows())
            ABrush->SetColor(c->Color());
        AFont->Assign(ARow < FixedRows() ? c->HeaderFont() : c->Font());
        if (CellHasProperties(ACol, ARow)) {
            TCellProperties *p = CellProperties(ACol, ARow);
            if (p->BrushColor() != clNone)
                ABrush->SetColor(p->BrushColor());
            if (p->FontColor() != clNone)
                AFont->SetColor(p->FontColor());
        }
    }
    TExtStringGrid::DoGetCellColor(ACol, ARow, AState, ABrush, AFont);
}

void TExtColumnGrid::DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont)
{
    if (TGridColumnItem *c = ItemOf(ACol)) {
        const bool fixedArea = ACol < FixedCols() || ARow < FixedRows() ||
                               ACol >= TExtStringGrid::ColCount() + NumHiddenColumns() - FFixedRightCols ||
                               ARow >= RowCount() - FFixedFooters;
        if (!fixedArea) {
            const bool props = CellHasProperties(ACol, ARow);
            TCellProperties *p = props ? CellProperties(ACol, ARow) : nullptr;
            if (c->Fixed())
                ABrush->SetColor(FixedColor());
            else if (!(c->ShowBands() && FBands->Active() && FBands->Print)) {
                ABrush->SetColor(c->PrintColor());
                if (p && p->BrushColor() != clNone)
                    ABrush->SetColor(p->BrushColor());
            }
            if (c->PrintFontCustom()) {
                AFont->Assign(c->PrintFont());
                if (p) {
                    if (p->FontColor() != clNone)
                        AFont->SetColor(p->FontColor());
                    if (!p->FontStyle().Empty())
                        AFont->SetStyle(p->FontStyle());
                    if (p->FontSize() != 0)
                        AFont->SetSize(p->FontSize());
                    if (!p->FontName().isEmpty())
                        AFont->SetName(p->FontName());
                }
            }
        }
    }
    TExtStringGrid::DoGetCellPrintColor(ACol, ARow, AState, ABrush, AFont);
}

void TExtColumnGrid::DoGetCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    if (IsNormalCell(ACol, ARow)) {
        TGridColumnItem *c = FColumns->Items(ACol);
        Borders = c->Borders();
        APen->Assign(c->BorderPen());
    }
    TExtStringGrid::DoGetCellBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::DoGetCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    if (IsNormalCell(ACol, ARow) && FColumns->Items(ACol)->PrintBorderCustom()) {
        TGridColumnItem *c = FColumns->Items(ACol);
        Borders = c->PrintBorders();
        APen->Assign(c->PrintBorderPen());
    }
    TExtStringGrid::DoGetCellPrintBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::DoGetAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign)
{
    if (TGridColumnItem *c = ItemOf(ACol)) {
        HAlign = ARow < FixedRows() ? c->HeaderAlignment() : c->Alignment();
        if (CellHasProperties(ACol, ARow))
            HAlign = CellProperties(ACol, ARow)->Alignment();
    }
    TExtStringGrid::DoGetAlignment(ACol, ARow, HAlign, VAlign);
}

void TExtColumnGrid::DoGetFormat(int ACol, TSortStyle &AStyle, UnicodeString &aPrefix, UnicodeString &aSuffix)
{
    if (TGridColumnItem *c = ItemOf(ACol)) {
        AStyle = c->SortStyle();
        aPrefix = c->SortPrefix();
        aSuffix = c->SortSuffix();
    }
    TExtStringGrid::DoGetFormat(ACol, AStyle, aPrefix, aSuffix);
}

void TExtColumnGrid::GetCellEditor(int ACol, int ARow, TEditorType &AEditor)
{
    if (TGridColumnItem *c = ItemOf(ACol)) {
        if (IsNormalCell(ACol, ARow)) {
            AEditor = c->Editor();
            if (EditCombo) {
                EditCombo->Items()->Assign(c->ComboItems());
                EditCombo->SetDropDownCount(c->DropDownCount());
            }
            TGridSpin *spin = SpinEdit();
            spin->MinValue = c->SpinMin();
            spin->MaxValue = c->SpinMax();
            spin->Increment = c->SpinStep();
            FEditLink = c->EditLink();
            FControlLook->DropDownCount = c->DropDownCount();
        }
        // Stays in the grid's own format afterwards, as the float editor reads it from there.
        if (!c->FloatFormat().isEmpty())
            FFloatFormat = c->FloatFormat();
    }
    TExtStringGrid::GetCellEditor(ACol, ARow, AEditor);
}

void TExtColumnGrid::DoIsFixedCell(int ACol, int ARow, bool &IsFixed)
{
    const int r = ACol >= 0 ? RealColIndex(ACol) : ACol;
    if (ACol >= FixedCols() && ARow >= FixedRows() && r < FColumns->Count())
        IsFixed = FColumns->Items(r)->Fixed();
    TExtStringGrid::DoIsFixedCell(ACol, ARow, IsFixed);
}

void TExtColumnGrid::CanEditCell(int ACol, int ARow, bool &CanEdit)
{
    // The grid's editing option plays no part: a column that allows editing turns it on.
    CanEdit = false;
    if (!ColumnsLoading() && IsNormalCell(ACol, ARow)) {
        TGridColumnItem *c = FColumns->Items(ACol);
        CanEdit = !c->ReadOnly() && !c->Fixed();
    }
    if (CellHasProperties(ACol, ARow) && CanEdit)
        CanEdit = !GetReadOnly(ACol, ARow);
    int x = ACol, y = ARow;
    if (CellHasProperties(ACol, ARow)) {
        const TPoint b = BaseCell(ACol, ARow);
        x = b.X;
        y = b.Y;
    }
    if (OnCanEditCell)
        OnCanEditCell(this, y, x, CanEdit);
}

void TExtColumnGrid::DoIsPasswordCell(int ACol, int ARow, bool &IsPassword)
{
    if (TGridColumnItem *c = ItemOf(ACol))
        IsPassword = c->Password();
    TExtStringGrid::DoIsPasswordCell(ACol, ARow, IsPassword);
}

bool TExtColumnGrid::HasComboBox(int ACol, int ARow)
{
    bool has = false;
    if (IsNormalCell(ACol, ARow)) {
        const TEditorType e = FColumns->Items(ACol)->Editor();
        has = e == edComboEdit || e == edComboList;
    }
    if (OnHasComboBox)
        OnHasComboBox(this, ACol, ARow, has);
    return has;
}

void TExtColumnGrid::DoGetCheckTrue(int ACol, int ARow, UnicodeString &Value)
{
    TExtStringGrid::DoGetCheckTrue(ACol, ARow, Value);
    if (IsBodyCell(ACol, ARow))
        Value = FColumns->Items(ACol)->CheckTrue();
}

void TExtColumnGrid::DoGetCheckFalse(int ACol, int ARow, UnicodeString &Value)
{
    TExtStringGrid::DoGetCheckFalse(ACol, ARow, Value);
    if (IsBodyCell(ACol, ARow))
        Value = FColumns->Items(ACol)->CheckFalse();
}

static UnicodeString FilterName(const UnicodeString &Entry)
{
    const auto p = Entry.indexOf(QLatin1Char('='));
    return p < 0 ? Entry : Entry.left(p);
}

static UnicodeString FilterCondition(const UnicodeString &Entry)
{
    const auto p = Entry.indexOf(QLatin1Char('='));
    return p < 0 ? Entry : Entry.mid(p + 1);
}

bool TExtColumnGrid::DoGetColumnFilter(int Column)
{
    FFilterList->SetSorted(false);
    TExtStringGrid::DoGetColumnFilter(Column);
    TGridColumnItem *c = ItemOf(Column);
    if (!c || c->Filter()->Count() == 0)
        return false;
    FFilterList->Clear();
    FFilterValues.clear();
    FFilterList->SetSorted(false);
    for (int i = 0; i < c->Filter()->Count(); ++i)
        FFilterList->Add(FilterName(c->Filter()->Strings(i)));
    return true;
}

void TExtColumnGrid::DoFilterSelect(int Index)
{
    TGridColumnItem *c = ItemOf(FFilterCol);
    if (c && Index >= 0 && Index < c->Filter()->Count()) {
        const UnicodeString entry = c->Filter()->Strings(Index);
        const UnicodeString name = FilterName(entry);
        if (FAutoFilterDisplay)
            c->SetHeader(name);
        if (FAutoFilterUpdate)
            SetFilterActive(false);
        UnicodeString cond = FilterCondition(entry);
        if (OnFilterSelect)
            OnFilterSelect(this, FFilterCol, Index, name, cond);
        TFilterData *f = FFilter->ColumnFilter(FFilterCol);
        f->Condition = cond;
        f->CaseSensitive = c->FilterCaseSensitive();
        if (FAutoFilterUpdate) {
            SetFilterActive(true);
            if (!(RowCount() == FixedRows() || (RowCount() == 1 && FFixedRowAlways)))
                SetRow(FixedRows());
            DoFilterDone();
        }
    }
    FFilterCol = -1;
}

int TExtColumnGrid::GetEditLimit()
{
    const int col = Col();
    if (FColumns && col < FColumns->Count() && col >= FixedCols())
        return FColumns->Items(RealColIndex(col))->EditLength();
    return FMaxEditLength;
}

UnicodeString TExtColumnGrid::GetEditMask(int ACol, int ARow)
{
    UnicodeString mask;
    if (FColumns && ACol < FColumns->Count() && ACol >= FixedCols())
        mask = FColumns->Items(RealColIndex(ACol))->EditMask();
    const UnicodeString own = TExtStringGrid::GetEditMask(ACol, ARow);
    if (!own.isEmpty())
        mask = own;
    return mask;
}

void TExtColumnGrid::GetDefaultCellProperties(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo,
                                              TColor &AMirrorColor, TColor &AMirrorColorTo, TAlignment &HA,
                                              TVAlignment &VA, bool &WW, TCellGradientDirection &GD)
{
    TGridColumnItem *c = ItemOf(ACol);
    if (!c) {
        TExtStringGrid::GetDefaultCellProperties(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, HA, VA, WW, GD);
        return;
    }
    AFont->Assign(c->Font());
    ABrush->SetColor(c->Color());
    AColorTo = clNone;
    HA = ARow < FixedRows() ? c->HeaderAlignment() : c->Alignment();
    VA = FVAlignment;
    WW = WordWrap();
    GD = TCellGradientDirection(0);
    if (IsFixed(ACol, ARow) || (c->ShowBands() && FBands->Active())) {
        ABrush->SetColor(clNone);
        AColorTo = clNone;
    }
}

void TExtColumnGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtStringGrid::MouseDown(Button, Shift, X, Y);
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    if (col < 0 || row < 0 || col >= FColumns->Count())
        return;
    TGridColumnItem *c = FColumns->Items(col);
    TPopupMenu *menu = c->ColumnPopup();
    if (!menu)
        return;
    const TRect r = CellRect(col, row);
    const TPoint pt = ClientToScreen(TPoint(r.Left, r.Bottom));
    const bool fixedRow = row < FixedRows();
    const TColumnPopupType t = c->ColumnPopupType();
    bool fire = false, pop = false;
    if (Button == mbLeft) {
        fire = t == cpFixedCellsLClick || t == cpNormalCellsLClick || t == cpAllCellsLClick;
        pop = (fixedRow && (t == cpFixedCellsLClick || t == cpAllCellsLClick)) ||
              (!fixedRow && (t == cpNormalCellsLClick || t == cpAllCellsLClick));
    } else if (Button == mbRight) {
        fire = t == cpFixedCellsRClick || t == cpNormalCellsRClick || t == cpAllCellsRClick;
        pop = (fixedRow && (t == cpFixedCellsRClick || t == cpAllCellsRClick)) ||
              (!fixedRow && (t == cpNormalCellsRClick || t == cpAllCellsRClick));
    }
    if (fire && OnColumnPopup)
        OnColumnPopup(this, col, row, menu);
    if (pop)
        menu->Popup(pt.X, pt.Y);
}
