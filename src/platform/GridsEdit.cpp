// The in-place editor of the grid and the grid's side of editing.
#include "platform/Grids.h"

#include "platform/Forms.h"
#include "platform/Windows.h"

// ---- TInplaceEdit ----

TInplaceEdit::TInplaceEdit(TComponent *AOwner) : TCustomMaskEdit(AOwner)
{
    SetVisible(false);
    SetTabStop(false);
    SetBorderStyle(bsNone);
    SetParentColor(false);
}

void TInplaceEdit::Move(const TRect &Loc)
{
    if (Loc.IsEmpty()) {
        Hide();
        return;
    }
    HandleNeeded();
    SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
    bool wasVisible = Visible();
    SetVisible(true);
    if (FGrid && FGrid->Focused() && CanFocus())
        SetFocus();
    if (!wasVisible)
        Invalidate();
}

void TInplaceEdit::UpdateLoc(const TRect &Loc)
{
    if (Loc.IsEmpty()) {
        Hide();
        return;
    }
    SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
    SetVisible(true);
}

void TInplaceEdit::Hide()
{
    if (!Visible())
        return;
    bool hadFocus = HandleAllocated() && Focused();
    SetVisible(false);
    // The keys go back to the grid.
    if (hadFocus && FGrid && FGrid->CanFocus())
        FGrid->SetFocus();
}

void TInplaceEdit::Deselect()
{
    SetSelStart(EditText().size());
    SetSelLength(0);
}

void TInplaceEdit::UpdateContents()
{
    if (!FGrid)
        return;
    FLoading = true;
    try {
        SetText(UnicodeString());
        SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
        SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
        if (!IsMasked())
            SetMaxLength(FGrid->GetEditLimit());
    } catch (...) {
        FLoading = false;
        throw;
    }
    FLoading = false;
    FLoadedText = Text();
    SetModified(false);
}

void TInplaceEdit::Change()
{
    TCustomMaskEdit::Change();
    // The cell follows the editor as it is typed into.
    if (!FLoading && FGrid)
        FGrid->UpdateText();
}

void TInplaceEdit::CMExit(TCMExit &Message)
{
    // The cell takes the text as it stands, complete or not: the editor loses the focus when the
    // grid has already left the cell, so there is no entry left to finish and no complaint to make.
    TCustomEdit::CMExit(Message);
}

void TInplaceEdit::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    if (FGrid && FGrid->Options().Contains(goTabs))
        Message.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::KeyDown(Word &Key, TShiftState Shift)
{
    if (!FGrid) {
        TCustomMaskEdit::KeyDown(Key, Shift);
        return;
    }
    auto sendToParent = [&] {
        FGrid->KeyDown(Key, Shift);
        Key = 0;
    };
    auto parentEvent = [&] {
        if (FGrid->OnKeyDown)
            FGrid->OnKeyDown(FGrid, Key, Shift);
    };
    const bool forward = FGrid->Options().Contains(goAlwaysShowEditor);
    const bool ctrl = Shift.Contains(ssCtrl);
    const int len = EditText().size();
    const int start = SelStart(), end = start + SelLength();
    const bool rightSide = (start == 0 || end == start) && end == len;
    const bool leftSide = start == 0 && (end == 0 || end == len);
    switch (Key) {
    case VK_ESCAPE: {
        sendToParent();
        // Escape gives the cell back the text it had when the edit began.
        UnicodeString loaded = FLoadedText;
        if (Text() != loaded)
            SetText(loaded);
        FGrid->HideEditor();
        return;
    }
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        sendToParent();
        break;
    case VK_INSERT:
        if (Shift.Empty())
            sendToParent();
        else if (Shift.Contains(ssShift) && !FGrid->CanEditModify())
            Key = 0;
        break;
    case VK_LEFT:
    case VK_HOME:
        if (forward && (ctrl || leftSide))
            sendToParent();
        break;
    case VK_RIGHT:
    case VK_END:
        if (forward && (ctrl || rightSide))
            sendToParent();
        break;
    case VK_F2:
        parentEvent();
        if (Key == VK_F2) {
            Deselect();
            Key = 0;
        }
        break;
    case VK_TAB:
        if (!Shift.Contains(ssAlt))
            sendToParent();
        break;
    case VK_DELETE:
        if (ctrl)
            sendToParent();
        else if (!FGrid->CanEditModify())
            Key = 0;
        break;
    default:
        break;
    }
    if (Key != 0) {
        parentEvent();
        if (Key != 0)
            TCustomMaskEdit::KeyDown(Key, Shift);
    }
}

void TInplaceEdit::KeyPress(WideChar &Key)
{
    if (!FGrid) {
        TCustomMaskEdit::KeyPress(Key);
        return;
    }
    FGrid->KeyPress(Key);
    if (Key >= 32 && !FGrid->CanEditAcceptKey(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    switch (Key) {
    case 9:
    case 27:
        Key = 0;
        break;
    case 13: {
        if (SelStart() == 0 && SelLength() == EditText().size())
            Deselect();
        else
            SelectAll();
        Key = 0;
        break;
    }
    case 8:
    case 22:
    case 24:
        if (!FGrid->CanEditModify())
            Key = 0;
        break;
    default:
        if (Key >= 32 && !FGrid->CanEditModify())
            Key = 0;
        break;
    }
    if (Key != 0)
        TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::TypeKey(WideChar Key)
{
    KeyPress(Key);
    if (Key == 0 || IsMasked())
        return; // taken, or typed by the mask already
    if (Key == 8) {
        if (SelLength() == 0 && SelStart() > 0) {
            int s = SelStart();
            SetSelStart(s - 1);
            SetSelLength(1);
        }
        SetSelText(UnicodeString());
    } else if (Key >= 32) {
        if (MaxLength() > 0 && EditText().size() - SelLength() >= MaxLength())
            return;
        SetSelText(UnicodeString(QChar(Key)));
    }
    SetModified(true);
    Change();
}

// ---- the grid's side ----

TInplaceEdit *TCustomGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

bool TCustomGrid::IsActiveControl() const
{
    // The editor counts as the grid: while it has the keys the grid is still the one being edited.
    auto isThis = [this](const TWinControl *c) { return c && (c == this || c == FInplaceEdit); };
    if (TCustomForm *form = ::GetParentForm(this))
        return isThis(form->ActiveControl());
    for (TWinControl *c = TWinControl::FindControl(GetFocus()); c; c = c->Parent())
        if (isThis(c))
            return true;
    return false;
}

bool TCustomGrid::CanEditShow()
{
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
           !ComponentState().Contains(TComponentStateItem::csDesigning) && HandleAllocated() &&
           (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

void TCustomGrid::SetEditorMode(bool Value)
{
    if (!Value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (FInplaceEdit)
        FInplaceEdit->Deselect();
}

void TCustomGrid::ShowEditor()
{
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGrid::HideEditor()
{
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::UpdateEdit()
{
    if (!CanEditShow())
        return;
    auto load = [this] {
        FInplaceCol = FCurrent.X;
        FInplaceRow = FCurrent.Y;
        FInplaceEdit->UpdateContents();
        FCanEditModify = FInplaceEdit->MaxLength() != -1;
        FInplaceEdit->SelectAll();
    };
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetGrid(this);
        FInplaceEdit->SetParent(this);
        load();
    } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
        HideEdit();
        load();
    }
    if (CanEditShow())
        FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
}

void TCustomGrid::HideEdit()
{
    if (!FInplaceEdit)
        return;
    try {
        UpdateText();
    } catch (...) {
        FInplaceCol = FInplaceRow = -1;
        FInplaceEdit->Hide();
        throw;
    }
    FInplaceCol = FInplaceRow = -1;
    FInplaceEdit->Hide();
}

void TCustomGrid::UpdateText()
{
    if (FInplaceEdit && FInplaceCol != -1 && FInplaceRow != -1)
        SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TCustomGrid::ShowEditorChar(WideChar Ch)
{
    ShowEditor();
    if (FInplaceEdit && FInplaceEdit->Visible())
        FInplaceEdit->TypeKey(Ch);
}

void TCustomGrid::WMChar(TWMKey &Message)
{
    WideChar ch = static_cast<WideChar>(Message.CharCode);
    if (FOptions.Contains(goEditing) && (ch == 8 || ch >= 32)) {
        // The editor hands the character to the grid's KeyPress first (OnKeyPress of the grid).
        ShowEditorChar(ch);
        return;
    }
    TCustomControl::WMChar(Message);
}

UnicodeString TCustomDrawGrid::GetEditMask(int ACol, int ARow)
{
    UnicodeString result;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, result);
    return result;
}
