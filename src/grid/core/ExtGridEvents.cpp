// The per-cell questions of the string grid and the firers of its events: the grid answers from
// its own rules first, the application's handler has the last word.
#include "grid/core/ExtGrid.h"

#include <QHash>

#include "controls/ExtGridUtil.h"

void TExtStringGrid::DoGridHint(int ACol, int ARow, UnicodeString &HintStr, UnicodeString &WideHintStr)
{
    if (OnGridHint)
        OnGridHint(this, ARow, ACol, HintStr);
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHintStr);
        if (!WideHintStr.isEmpty())
            HintStr = EncodeWideCellText(WideHintStr);
    }
}

void TExtStringGrid::DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont)
{
    if (FActiveCellShow) {
        const int d = DisplColIndex(ACol);
        if ((ARow == Row() && FixedCols() > 0 && d + 1 == FixedCols()) ||
            (d == Col() && FixedRows() > 0 && ARow + 1 == FixedRows())) {
            AFont->Assign(FActiveCellFont);
            ABrush->SetColor(FActiveCellColor);
        }
    }
    if (CellHasProperties(ACol, ARow)) {
        TCellProperties *p = PropsOf(ACol, ARow);
        switch (GetCellType(ACol, ARow)) {
        case ctIcon: case ctNone: case ctImageList: case ctEmpty: case ctImages: case ctComment:
            if (p->BrushColor() != clNone)
                ABrush->SetColor(p->BrushColor());
            break;
        default:
            break;
        }
        if (p->FontColor() != clNone)
            AFont->SetColor(p->FontColor());
        if (p->FontStyle() != TFontStyles())
            AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0)
            AFont->SetSize(p->FontSize());
        if (!p->FontName().isEmpty())
            AFont->SetName(p->FontName());
    }
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TExtStringGrid::DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont)
{
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TExtStringGrid::DoGetCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    if (ACol > 0 && ARow >= 0) {
        const TCellType t = GetCellType(0, ARow);
        if (FGrouping->HeaderUnderline && t == ctNode) {
            Borders = TCellBorders{cbBottom};
            APen->SetColor(FGrouping->HeaderLineColor);
            APen->SetWidth(FGrouping->HeaderLineWidth);
        }
        if (FGrouping->SummaryLine && t == ctSummary) {
            Borders = TCellBorders{cbTop};
            APen->SetColor(FGrouping->SummaryLineColor);
            APen->SetWidth(FGrouping->SummaryLineWidth);
        }
    }
    if (OnGetCellBorder)
        OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::DoGetCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders)
{
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TExtStringGrid::DoGetAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign)
{
    if (ACol == 0 && FMouseActions->HotmailRowSelect())
        HAlign = taCenter;
    if (OnGetAlignment)
        OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TExtStringGrid::DoGetFormat(int ACol, TSortStyle &AStyle, UnicodeString &aPrefix, UnicodeString &aSuffix)
{
    if (OnGetFormat)
        OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TExtStringGrid::DoGetEditorType(int ACol, int ARow, TEditorType &AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TExtStringGrid::GetCellEditor(int ACol, int ARow, TEditorType &AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TExtStringGrid::IsNoEditorCell(int ACol, int ARow)
{
    if (!OnGetEditorType)
        return false;
    TEditorType ed = edNormal;
    OnGetEditorType(this, ACol, ARow, ed);
    return ed == edNone;
}

void TExtStringGrid::DoIsFixedCell(int ACol, int ARow, bool &IsFixed)
{
    IsFixed = IsFixed || (FFixedRowAlways && RowCount() == FFixedRowsMin && ARow <= FFixedRowsMin) ||
              (FFixedColAlways && ColCount() == FFixedColsMin && ACol < FFixedColsMin) || ACol < FixedCols() ||
              ARow < FixedRows();
    if (!IsFixed && OnIsFixedCell)
        OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TExtStringGrid::CanEditCell(int ACol, int ARow, bool &CanEdit)
{
    int x = ACol, y = ARow;
    if (CellHasProperties(ACol, ARow)) {
        const TPoint b = BaseCell(ACol, ARow);
        x = b.X;
        y = b.Y;
    }
    if (CellHasProperties(x, y) && CanEdit) {
        CanEdit = !GetReadOnly(x, y);
        if (!Options().Contains(goEditing) && !FEditDisable && !FMouseActions->RangeSelectAndEdit)
            CanEdit = false;
    }
    if (x < ColCount() + NumHiddenColumns())
        DoCanEditCell(x, y, CanEdit);
    else
        CanEdit = true;
}

void TExtStringGrid::DoCanEditCell(int ACol, int ARow, bool &CanEdit)
{
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TExtStringGrid::DoIsPasswordCell(int ACol, int ARow, bool &IsPassword)
{
    if (OnIsPasswordCell)
        OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TExtStringGrid::DoGetWordWrap(int ACol, int ARow, bool &WordWrap)
{
    if (OnGetWordWrap)
        OnGetWordWrap(this, ACol, ARow, WordWrap);
}

bool TExtStringGrid::HasComboBox(int ACol, int ARow)
{
    if (OnHasComboBox) {
        bool has = false;
        OnHasComboBox(this, ACol, ARow, has);
        return has;
    }
    if (FControlLook->DropDownAlwaysVisible) {
        TEditorType ed = FDefaultEditor;
        GetCellEditor(ACol, ARow, ed);
        return ed == edComboEdit || ed == edComboList;
    }
    return false;
}

bool TExtStringGrid::HasSpinEdit(int ACol, int ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    if (OnHasSpinEdit) {
        bool has = false;
        OnHasSpinEdit(this, ACol, ARow, has);
        return has;
    }
    if (FControlLook->SpinButtonsAlwaysVisible) {
        TEditorType ed = FDefaultEditor;
        DoGetEditorType(ACol, ARow, ed);
        return ed == edSpinEdit || ed == edFloatSpinEdit || ed == edTimeSpinEdit || ed == edDateSpinEdit;
    }
    return false;
}

void TExtStringGrid::DoGetCheckTrue(int ACol, int ARow, UnicodeString &Value)
{
    Value = FCheckTrue;
    if (OnGetCheckTrue)
        OnGetCheckTrue(this, ACol, ARow, Value);
}

void TExtStringGrid::DoGetCheckFalse(int ACol, int ARow, UnicodeString &Value)
{
    Value = FCheckFalse;
    if (OnGetCheckFalse)
        OnGetCheckFalse(this, ACol, ARow, Value);
}

bool TExtStringGrid::DoGetColumnFilter(int Column)
{
    FFilterList->Clear();
    FFilterValues.clear();
    FFilterList->SetSorted(true);
    QHash<QString, QString> valueOf;
    if (FFilterDropDownAuto && (Column >= FixedCols() || FFilterDropDownColumns == fdAll)) {
        // A text with a blank is offered by its name and filtered as one quoted condition, so that
        // the blank does not split it into two conditions. Each entry remembers the value it
        // stands for: a value that holds "=" or filter syntax is then filtered on as it is.
        auto add = [&](const UnicodeString &s) {
            const UnicodeString entry =
                s.contains(QLatin1Char(' ')) ? s + QLatin1Char('=') + QLatin1Char('"') + s + QLatin1Char('"') : s;
            FFilterList->Add(entry);
            valueOf.insert(entry, s);
        };
        for (int r = FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r)
            add(GetCellEx(Column, r).trimmed());
        if (!FFilterIncremental)
            for (int real : FGridItems->SortedIdx())
                if (TStrings *cells = HiddenRowItems(real); cells && Column < cells->Count())
                    add(cells->Strings(Column));
        FFilterList->SetSorted(false);
        if (!FFilterDropDownClear.isEmpty())
            FFilterList->Insert(0, FFilterDropDownClear);
    }
    if (OnGetColumnFilter)
        OnGetColumnFilter(this, Column, FFilterList);
    if (!valueOf.isEmpty())
        for (int i = 0; i < FFilterList->Count(); ++i) {
            const auto v = valueOf.constFind(FFilterList->Strings(i));
            FFilterValues.push_back(v != valueOf.constEnd() ? *v : QString());
        }
    return FFilterList->Count() > 0;
}

void TExtStringGrid::DoGetCellCursor(int ACol, int ARow, int X, int Y)
{
    if (!OnGetCellCursor)
        return;
    TCursor c = Cursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, c);
    if (Screen)
        Screen->SetCursor(c);
}

void TExtStringGrid::DoSearchFooterAction(const UnicodeString &Value, int ACol, int ARow, TSearchAction SearchAction)
{
    if (OnSearchFooterAction)
        OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TExtStringGrid::DoButtonClick(int ACol, int ARow)
{
    if (OnButtonClick)
        OnButtonClick(this, ACol, ARow);
}

void TExtStringGrid::DoExpandClick(int ACol, int ARow, bool Expanded)
{
    if (OnExpandClick)
        OnExpandClick(this, ACol, ARow, Expanded);
    SetRowHeights(ARow, GetExpandHeight(ACol, ARow, Expanded));
}

bool TExtStringGrid::DoCanShowFixedDropDown(int ACol)
{
    bool CanShow = true;
    if (OnCanShowFixedDropDown)
        OnCanShowFixedDropDown(this, ACol, CanShow);
    return CanShow;
}

void TExtStringGrid::DoStartBlockFocus()
{
    if (OnStartBlockFocus)
        OnStartBlockFocus(this);
}

void TExtStringGrid::DoEndBlockFocus()
{
    if (OnEndBlockFocus)
        OnEndBlockFocus(this);
}

void TExtStringGrid::DoComboCloseUp(int ARow, int ACol)
{
    if (OnComboCloseUp)
        OnComboCloseUp(this, ARow, ACol);
}

void TExtStringGrid::DoComboDropDown(int ARow, int ACol)
{
    if (OnComboDropDown)
        OnComboDropDown(this, ARow, ACol);
}

void TExtStringGrid::GetIsDesigning(TObject *Sender, bool &IsDesigning) { IsDesigning = Designing(); }

int TExtStringGrid::GetVersionNr() { return 0x06020103; }

UnicodeString TExtStringGrid::GetVersionString()
{
    const int v = GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4 Sep, 2012")
        .arg((v >> 24) & 0xFF)
        .arg((v >> 16) & 0xFF)
        .arg((v >> 8) & 0xFF)
        .arg(v & 0xFF);
}

UnicodeString TExtStringGrid::GetEditMask(int ACol, int ARow)
{
    UnicodeString mask = FEditMask;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, mask);
    return mask;
}

TFont *TExtStringGrid::GetCellFont(int i, int j)
{
    if (!CellHasProperties(i, j))
        return Font();
    TCellProperties *p = PropsOf(i, j);
    cf->Assign(Font());
    if (!p->FontName().isEmpty())
        cf->SetName(p->FontName());
    if (p->FontSize() != 0)
        cf->SetSize(p->FontSize());
    cf->SetStyle(p->FontStyle());
    if (p->FontColor() != clNone)
        cf->SetColor(p->FontColor());
    return cf;
}
