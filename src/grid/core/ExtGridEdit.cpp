// Editing a cell: which editor a cell gets, showing and reading back the grid's own editor
// controls, and the notifications that end an edit.
#include "grid/core/ExtGrid.h"

#include "grid/view/GridLookSettings.h"
#include "platform/Messages.h"
#include "platform/StdCtrls.h"
#include "platform/Windows.h"

namespace {

} // namespace

bool TExtStringGrid::IsTextEditorType(TEditorType E)
{
    switch (E) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edValidChars: case edPositiveFloat:
        return true;
    default:
        return false;
    }
}

namespace {

// Whole-text search that ignores letter case; an empty text finds only an empty item.
int FindItem(TStrings *Items, const UnicodeString &Text)
{
    for (int i = 0; i < Items->Count(); ++i)
        if (Items->Strings(i).compare(Text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

UnicodeString StripTags(const UnicodeString &S)
{
    UnicodeString r;
    bool inTag = false;
    for (QChar c : S) {
        if (c == u'<')
            inTag = true;
        else if (c == u'>' && inTag)
            inTag = false;
        else if (!inTag)
            r += c;
    }
    return r;
}

} // namespace

int TExtStringGrid::DisplColOfReal(int ARealCol) const
{
    for (int c = 0; c < ColCount(); ++c)
        if (RealColIndex(c) == ARealCol)
            return c;
    return ARealCol;
}

TInplaceEdit *TExtStringGrid::CreateEditor()
{
    return new TExtInplaceEdit(this);
}

bool TExtStringGrid::IsControlCell(int ACol, int ARow)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox: case ctDataCheckBox: case ctRadio: case ctButton: case ctVirtCheckBox:
    case ctRowCheckBox: case ctRadioButton: case ctTriStateCheckBox:
        return true;
    default:
        return false;
    }
}

bool TExtStringGrid::NeedsEditorTab()
{
    return Options().Contains(goTabs) || bool(OnCellValidate) || bool(OnCellValidateWide);
}

bool TExtStringGrid::CanEditShow()
{
    if (FValidating)
        return false;
    bool ret = TBaseGrid::CanEditShow();
    if (Designing())
        return ret;
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (ret && !EditMode && IsControlCell(b.X, b.Y))
        return false;
    if (ret && !EditMode) {
        FNoEditChange = true;
        FCellCache = GetCurrentCell();
        // The value the cell had before this edit is what validation compares with.
        if (!FEditing || FOldCol != Col() || FOldRow != Row())
            SaveOldCellValue(Col(), Row());
        EditControl = FDefaultEditor;
        GetCellEditor(b.X, b.Y, EditControl);
        if (EditControl == edNone)
            return false;
        EditMode = true;
        // The cell shows the text as it is typed, in the text editor as in a spin or an
        // edit-with-button editor.
        FShowEditProcess = true;
        if (!IsTextEditorType(EditControl)) {
            ShowCellEditor(DisplColOfReal(b.X), b.Y);
            FEntered = true;
            FEditing = true;
            ShowEditFocusFrame();
            ret = false;
        }
    }
    if (ret) {
        FEntered = true;
        FEditing = true;
        ShowEditFocusFrame();
    }
    return ret;
}

void TExtStringGrid::ShowEditFocusFrame()
{
    if (FFocusHelper->Enabled && HandleAllocated())
        ShowFocusWindow(CellRect(Col(), Row()));
}

TColor TExtStringGrid::EditorCellColor(int ACol, int ARow)
{
    TGridDrawState state;
    TBrush brush;
    TFont font;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, state, false, false, true, &brush, colorTo, mirror, mirrorTo, &font, ha, va, ww,
                        gd);
    return brush.Color() == clNone ? Color() : brush.Color();
}

void TExtStringGrid::ShowCellEditor(int ACol, int ARow)
{
    FEditing = FSpecialEditor = FEditActive = true;
    TRect R = CellRect(ACol, ARow);
    if (RightToLeftGrid())
        R.Left += 1;
    const int realCol = RealColIndex(ACol);
    const int W = R.Right - R.Left - 1, H = R.Bottom - R.Top - 1;
    FEditorColor = EditorCellColor(ACol, Row());
    EditCtrl = nullptr;
    if (EditControl != edCustom)
        FLastValidation = true;
    const UnicodeString editText = GetEditText(ACol, ARow);
    // The key that opened the editor is its first typed character: it replaces the text that
    // the editor shows selected.
    auto postStart = [this](TWinControl *C) {
        if (FStartEditChar == WideChar(0) || !C || FStartEditChar < 32)
            return;
        const UnicodeString ch{QChar(char16_t(FStartEditChar))};
        if (auto *e = dynamic_cast<TCustomEdit *>(C)) {
            e->SelectAll();
            e->SetSelText(ch);
        } else if (auto *cb = dynamic_cast<TCustomComboBox *>(C); cb && cb->Style() == csDropDown) {
            cb->SetText(ch);
        } else {
            C->Perform(WM_CHAR, WPARAM(FStartEditChar), 0);
        }
    };
    switch (EditControl) {
    case edComboEdit:
    case edComboList: {
        EditMode = true;
        TGridCombo *c = EditCombo;
        c->SetDropDownCount(FControlLook->DropDownCount);
        DoGetEditorProp(realCol, ARow);
        c->SetBounds(R.Left, R.Top, 0, 0);
        c->SetDroppedDown(false);
        c->SetEnabled(true);
        FComboPicked = false;
        if (EditControl == edComboEdit) {
            c->SetStyle(csDropDown);
            c->SetText(editText);
            if (FComboIdx != -1 && c->ItemIndex() == -1)
                c->SetItemIndex(FComboIdx);
            // A column's own limit holds for its combo as for its edit.
            const int limit = GetEditLimit();
            c->SetMaxLength(limit > 0 ? limit : FMaxComboLength);
        } else {
            c->SetStyle(csDropDownList);
            c->SetItemIndex(FindItem(c->Items(), GetCellEx(realCol, ARow)));
            if (FComboIdx == -1 && c->ItemIndex() == -1) {
                int k = FindItem(c->Items(), StripTags(GetCellEx(realCol, ARow)));
                c->SetItemIndex(k >= 0 ? k : 0);
                FComboPicked = c->ItemIndex() >= 0;
            } else if (c->ItemIndex() == -1) {
                c->SetItemIndex(FComboIdx);
            }
        }
        // The platform's combo is as high as its selection field: the list below it takes
        // DropDownCount items by itself.
        c->SetBounds(R.Left, R.Top, W, H);
        c->SetColor(FEditorColor);
        c->SetVisible(true);
        // Switching the flat look on gives the combo its parent's colour, so only a grid's first
        // combo edit under a flat look shows the grid's colour instead of the cell's.
        const bool flat = FLook == glSoft || FLook == glQRV || FLook == glXP || FLook == glListView ||
                          FLook == glVista || FLook == glWin7 || FLook == glOffice2007;
        c->SetFlat(flat);
        c->SetEtched(flat);
        if (FNavigation->AutoComboDropSize)
            c->SizeDropDownWidth();
        else if (c->DropWidth() > 0)
            c->Perform(CB_SETDROPPEDWIDTH, WPARAM(c->DropWidth()), 0);
        if (c->CanFocus())
            c->SetFocus();
        c->SetDroppedDown(FMouseActions->DirectComboDrop || FControlLook->DropDownAlwaysVisible);
        if (FMouseActions->DirectEdit && FMouseActions->DirectComboDrop) {
            const TGridRect sel = Selection();
            DoSelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
        }
        // The events report the item the grid chose itself.
        if (FComboPicked && c->Items()->Count() > 0) {
            const int k = c->ItemIndex();
            if (OnComboChange)
                OnComboChange(this, realCol, ARow, k, c->Items()->Strings(k));
            if (OnComboObjectChange)
                OnComboObjectChange(this, realCol, ARow, k, c->Items()->Strings(k), c->Items()->Objects(k));
        }
        // The grid's window procedure announces its selection and text changes.
        c->OnChange = nullptr;
        postStart(c);
        EditCtrl = c;
        break;
    }
    case edEditBtn: case edNumericEditBtn: case edFloatEditBtn: case edMaskEditBtn: {
        EditMode = true;
        TGridEditBtn *e = EditBtn;
        e->SetBounds(R.Left, R.Top, W, H);
        e->SetEditMask(EditControl == edMaskEditBtn ? GetEditMask(ACol, ARow) : UnicodeString());
        e->SetText(editText);
        e->SetMaxLength(GetEditLimit());
        e->SetVisible(true);
        e->SetEnabled(true);
        e->SetColor(FEditorColor);
        if (e->CanFocus())
            e->SetFocus();
        postStart(e);
        EditCtrl = e;
        break;
    }
    case edUnitEditBtn: case edNumericUnitEditBtn: case edFloatUnitEditBtn: {
        EditMode = true;
        TGridUnitEditBtn *e = UnitEditBtn;
        e->SetBounds(R.Left, R.Top, W, H);
        e->SetMaxLength(GetEditLimit());
        e->SetUnitID(UnicodeString());
        e->SetText(UnicodeString());
        e->SetTextAndUnit(editText);
        DoGetEditorProp(realCol, ARow);
        e->SetVisible(true);
        e->SetEnabled(true);
        e->SetColor(FEditorColor);
        if (e->CanFocus())
            e->SetFocus();
        postStart(e);
        EditCtrl = e;
        break;
    }
    case edCheckBox: {
        EditMode = true;
        EditCheck->SetBounds(R.Left, R.Top, W, H);
        EditCheck->SetCaption(editText);
        EditCheck->SetEnabled(true);
        EditCheck->SetState(cbUnchecked);
        EditCheck->SetVisible(true);
        if (EditCheck->CanFocus())
            EditCheck->SetFocus();
        break;
    }
    case edButton: {
        EditMode = true;
        GridButton->SetBounds(R.Left - 1, R.Top - 1, W + 2, H + 2);
        GridButton->SetCaption(editText);
        GridButton->SetVisible(true);
        GridButton->SetEnabled(true);
        if (GridButton->CanFocus())
            GridButton->SetFocus();
        EditCtrl = GridButton;
        break;
    }
    case edCustom:
        // Without an edit link nothing shows.
        ShowEditLink(ACol, ARow, R, editText);
        break;
    case edRichEdit:
        ShowRichEditor(ACol, ARow, R);
        break;
    case edDateTimeEdit:
        ShowDateTimeEditor(realCol, ARow, R, editText);
        break;
    default:
        if (!ShowSpinDateEditor(realCol, ARow, R, editText))
            ShowDropDownEditor(realCol, ARow, R, editText);
        break;
    }
    FStartEditChar = WideChar(0);
}

void TExtStringGrid::CommitCellEditor(int ACol, int ARow)
{
    if (DestroyingState())
        return;
    const int realCol = RealColIndex(ACol);
    FBlockKill = true;
    FStartEditChar = WideChar(0);
    auto hide = [](TWinControl *C) {
        if (!C)
            return;
        C->SetVisible(false);
        C->SetEnabled(false);
    };
    try {
        switch (EditControl) {
        case edComboEdit:
        case edComboList:
            if (EditMode)
                WriteEditValue(realCol, ARow, EditCombo->Text());
            hide(EditCombo);
            break;
        case edEditBtn: case edNumericEditBtn: case edFloatEditBtn: case edMaskEditBtn:
            if (EditMode)
                WriteEditValue(realCol, ARow, EditBtn->Text());
            hide(EditBtn);
            break;
        case edUnitEditBtn: case edNumericUnitEditBtn: case edFloatUnitEditBtn:
            if (EditMode)
                WriteEditValue(realCol, ARow, UnitEditBtn->Text() + UnitEditBtn->UnitID());
            hide(UnitEditBtn);
            break;
        case edCheckBox:
            hide(EditCheck);
            break;
        case edButton:
            hide(GridButton);
            break;
        case edCustom:
            CommitEditLink(realCol, ARow);
            break;
        case edRichEdit:
            CommitRichEditor(realCol, ARow);
            break;
        case edDateTimeEdit:
            CommitDateTimeEditor(realCol, ARow);
            break;
        default:
            if (!CommitSpinDateEditor(realCol, ARow))
                CommitDropDownEditor(realCol, ARow);
            break;
        }
    } catch (...) {
        FBlockKill = false;
        throw;
    }
    FBlockKill = false;
    const bool wasActive = FEditActive;
    FSpecialEditor = false;
    FEditActive = false;
    EditMode = false;
    EditCtrl = nullptr;
    if (CanFocus() && HandleAllocated())
        SetFocus();
    if (wasActive)
        EditDone(realCol, ARow);
}

void TExtStringGrid::WriteEditValue(int ACol, int ARow, const UnicodeString &Value)
{
    SetEditText(DisplColOfReal(ACol), ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

void TExtStringGrid::DoGetEditorProp(int ACol, int ARow)
{
    if (OnGetEditorProp)
        OnGetEditorProp(this, ACol, ARow, FEditLink);
    if (OnGetEditorPropInt)
        OnGetEditorPropInt(this, ACol, ARow);
}

void TExtStringGrid::HideCellEdit()
{
    CommitCellEditor(Col(), Row());
}

void TExtStringGrid::ShowCellEdit()
{
    Perform(WM_KEYDOWN, VK_F2, 0);
}

void TExtStringGrid::EditDone(int ACol, int ARow)
{
    if (OnEditingDone)
        OnEditingDone(this);
    EditMode = false;
    if (HandleAllocated())
        PostMessage(Handle(), ExtGrid::WM_GRIDEDITDONE, WPARAM(ACol), LPARAM(ARow));
}

void TExtStringGrid::ShowInplaceEdit()
{
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (IsControlCell(b.X, b.Y))
        return;
    if (Row() < TopRow())
        SetTopRow(Row());
    if (Col() < LeftCol())
        SetLeftCol(Col());
    FEditText = Cells(RealColIndex(Col()), Row());
    ShowEditor();
}

void TExtStringGrid::EditorTextChanged(const UnicodeString &Text)
{
    if (OnEditChange)
        OnEditChange(this, Col(), Row(), Text);
}

void TExtStringGrid::EditorExited()
{
    if (!FBlockKill)
        HideInplaceEdit();
}

void TExtStringGrid::HideInplaceEdit()
{
    if (!EditMode)
        return;
    HideEditor();
    if (!IsTextEditorType(EditControl) && FSpecialEditor)
        CommitCellEditor(Col(), Row());
    EditMode = false;
    FShowEditProcess = false;
    SelectCell(Col(), Row());
}

void TExtStringGrid::DoneInplaceEdit(Word Key, TShiftState Shift)
{
    FBlockFocus = true;
    FEditing = false;
    HideInplaceEdit();
    if (FNavigation->AppendOnArrowDown && Key == VK_DOWN && IsLastEditRow())
        AutoAppendRow();
    if (Key == VK_TAB || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) {
        Word k = Key;
        KeyDown(k, Shift);
    }
    const bool alwaysEdit = FNavigation->AlwaysEdit;
    FNavigation->AlwaysEdit = false;
    if (CanFocus() && HandleAllocated())
        SetFocus();
    // Enter moves on as it does from the text editor; the editor of the next cell opens only
    // where the caller asks for it.
    if (Key == VK_RETURN)
        AdvanceCell(Col(), Row(), false, false, true, false, false);
    FNavigation->AlwaysEdit = alwaysEdit;
    FBlockFocus = false;
}

void TExtStringGrid::SimulateCellClick(int ACol, int ARow)
{
    const TRect r = CellRect(ACol, ARow);
    FForceSel = true;
    try {
        SyntheticClick(r.Left + 2, r.Top + 2);
    } catch (...) {
        FForceSel = false;
        throw;
    }
    FForceSel = false;
}

void TExtStringGrid::HideEditor()
{
    TBaseGrid::HideEditor();
    // The text editor's edit is over once the platform has put it away.
    if (IsTextEditorType(EditControl)) {
        EditMode = false;
        FShowEditProcess = false;
    }
}

void TExtStringGrid::Select()
{
    SelectCell(Col(), Row());
}

void TExtStringGrid::TopLeftChanged()
{
    // A picture in a fixed place covers other cells once the view moved: the cells it covered
    // before are those under it now, shifted back by the scroll.
    TPoint tl, br;
    TBaseGrid::TopLeftChanged();
    const bool fixedPicture = HandleAllocated() && BackGroundCorners(tl, br);
    const int dc = LeftCol() - (FTopLeftCol >= 0 ? FTopLeftCol : FixedCols());
    const int dr = TopRow() - (FTopLeftRow >= 0 ? FTopLeftRow : FixedRows());
    if (HandleAllocated()) {
        const TGridRect sel = Selection();
        if (FSelectionRectangle && sel.Bottom > sel.Top)
            Invalidate();
        if (fixedPicture) {
            RepaintRect(TRect(tl.X - dc, tl.Y - dr, br.X - dc, br.Y - dr));
            RepaintRect(TRect(tl.X, tl.Y, br.X, br.Y));
        } else if ((FBackGround->Display == bdTile && FBackGround->HasBitmap()) ||
                   (FBackGround->IsGradient() && FBackGround->ColorTo != clNone)) {
            Invalidate();
        }
    }
    // Scrolling stores every editor but the plain text editor, which scrolls with its cell.
    if (EditMode && EditControl != edNormal && !IsTextEditorType(EditControl))
        HideInplaceEdit();
    UpdateFlatScrollBars();
    UpdateFooter();
    CellControlsUpdate(false);
    FTopLeftCol = LeftCol();
    FTopLeftRow = TopRow();
    if (Designing())
        Invalidate();
    if (TStringGrid *sync = FSyncGrid->Grid()) {
        if (FSyncGrid->ScrollVertical && TopRow() < sync->RowCount())
            sync->SetTopRow(TopRow());
        if (FSyncGrid->ScrollHorizontal && LeftCol() < sync->ColCount())
            sync->SetLeftCol(LeftCol());
    }
    // The metro indicators show where the view stands.
    for (TScrollControl *c : {vscrlctrl, hscrlctrl})
        if (c)
            c->Invalidate();
}

void TExtStringGrid::FireComboChange(int ItemIndex)
{
    const int realCol = RealColIndex(Col());
    const UnicodeString text = ItemIndex >= 0 ? EditCombo->Items()->Strings(ItemIndex) : EditCombo->Text();
    TObject *obj = ItemIndex >= 0 ? EditCombo->Items()->Objects(ItemIndex) : nullptr;
    if (OnComboChange)
        OnComboChange(this, realCol, Row(), ItemIndex, text);
    if (OnComboObjectChange)
        OnComboObjectChange(this, realCol, Row(), ItemIndex, text, obj);
}

void TExtStringGrid::ApplyEditorAlignment(int ACol, int ARow)
{
    TExtInplaceEdit *e = NormalEdit();
    if (!e)
        return;
    TAlignment h = taLeftJustify;
    TVAlignment v = vtaTop;
    DoGetAlignment(RealColIndex(ACol), ARow, h, v);
    e->SetAlignment(h == taRightJustify ? taRightJustify : taLeftJustify);
}

void TExtStringGrid::CellControlsUpdate(bool RebuildList)
{
    if (!HandleAllocated())
        return;
    // The list keeps real columns and real rows: a hidden column left of a control shifts where
    // it shows, never which cell it belongs to.
    if (RebuildList) {
        FControlList->Clear();
        for (int c = 0; c < ColCount(); ++c) {
            const int rc = RealColIndex(c);
            for (int r = 0; r < RowCount(); ++r)
                if (auto *p = dynamic_cast<TCellProperties *>(GridObjects(rc, r)); p && p->Control())
                    FControlList->AddControl(rc, RealRowIndex(r), p->Control());
        }
        FNumCellControls = FControlList->Count();
    }
    if (FScrollBar && FScrollBar->Visible()) {
        const bool inView = Col() >= LeftCol() && Col() <= LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                            Row() <= TopRow() + VisibleRowCount();
        if (!inView) {
            FScrollBar->SetHeight(0);
        } else {
            const TRect r = CellRect(Col(), Row());
            FScrollBar->SetBounds(r.Right - FScrollBar->Width(), r.Top, FScrollBar->Width(), r.Bottom - r.Top);
        }
    }
    if (FControlList->Count() == 0)
        return;
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem *item = FControlList->Control(i);
        TControl *ctl = item->Control();
        if (!ctl)
            continue;
        if (IsHiddenColumn(item->X()) || IsHiddenRow(item->Y())) {
            ctl->SetVisible(false);
            continue;
        }
        const int dc = RealToDisplCol(item->X());
        const int dr = DisplRowIndex(item->Y());
        if (dr < FixedRows() || dc < FixedCols())
            continue;
        if (dc < LeftCol() || dc > LeftCol() + VisibleColCount() || dr < TopRow() || dr > TopRow() + VisibleRowCount()) {
            ctl->SetVisible(false);
            continue;
        }
        const TRect r = CellRect(dc, dr);
        ctl->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 1, r.Height() + 1);
        ctl->SetVisible(true);
        ctl->Invalidate();
    }
}
