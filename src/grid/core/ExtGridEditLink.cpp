// Editors beside the grid's own: editors written by the application (TEditLink, over the cell or
// in a popup form), the rich-text editor, the editors of the in-text controls of a mini-HTML cell
// and the editors of fixed cells.
#include "grid/core/ExtGrid.h"

#include "platform/Messages.h"
#include "platform/Windows.h"

// ---- TEditLink ----

TEditLink::TEditLink(TComponent *AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink()
{
    if (FGrid)
        FGrid->RemoveFreeNotification(this);
    if (FHooked) {
        FHooked->SetWindowProc(nullptr);
        FHooked->RemoveFreeNotification(this);
    }
}

void TEditLink::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent && static_cast<TComponent *>(FGrid) == AComponent) {
        // The hook calls into the grid: the control gets its own method back first.
        if (FHooked && FSubClassed)
            FHooked->SetWindowProc(FSavedProc);
        FSubClassed = false;
        FHooked = nullptr;
        FGrid = nullptr;
    }
    if (Operation == TOperation::opRemove && AComponent && static_cast<TComponent *>(FPopupForm) == AComponent)
        FPopupForm = nullptr;
    // The control may go with its parent before the link goes.
    if (Operation == TOperation::opRemove && AComponent && static_cast<TComponent *>(FHooked) == AComponent) {
        FHooked = nullptr;
        FSavedProc = nullptr;
        FSubClassed = false;
    }
    TComponent::Notification(AComponent, Operation);
}

void TEditLink::FocusGrid()
{
    if (!FGrid)
        return;
    FForcedExit = true;
    try {
        if (FGrid->CanFocus())
            FGrid->SetFocus();
    } catch (...) {
        FForcedExit = false;
        throw;
    }
    FForcedExit = false;
}

void TEditLink::EditKeyDown(TObject *Sender, Word &Key, TShiftState Shift)
{
    if (!FGrid)
        return;
    bool ends = false, kept = false;
    switch (Key) {
    case VK_TAB: ends = true; kept = WantTabs; break;
    case VK_RETURN: ends = true; kept = WantKeyReturn; break;
    case VK_ESCAPE: ends = true; kept = WantKeyEscape; break;
    case VK_PRIOR: case VK_NEXT: ends = true; kept = WantKeyPriorNext; break;
    // Home keeps the edit; End ends it.
    case VK_END: ends = true; kept = WantKeyHomeEnd; break;
    case VK_HOME: kept = WantKeyHomeEnd; break;
    case VK_LEFT: case VK_RIGHT: ends = true; kept = WantKeyLeftRight; break;
    case VK_UP: case VK_DOWN: ends = true; kept = WantKeyUpDown; break;
    default: break;
    }
    if (Shift.Contains(ssAlt))
        ends = true;
    if (!ends || kept)
        return;
    TExtStringGrid *g = FGrid;
    if (Key == VK_TAB) {
        if (g->FNavigation->TabToNextAtEnd) {
            FocusGrid();
            g->CommitCellEditor(g->Col(), g->Row());
            if (g->HandleTabKey(Shift.Contains(ssShift)) && !g->IsControlCell(g->RealColIndex(g->Col()), g->Row()) &&
                g->HandleAllocated())
                PostMessage(g->Handle(), WM_KEYDOWN, VK_F2, 0);
            Key = 0;
            return;
        }
        Key = 0;
    }
    if (Key == VK_ESCAPE)
        SetEditorValue(g->FCellCache);
    FocusGrid();
    if (g->EditMode && g->EditControl == edCustom)
        g->CommitCellEditor(g->Col(), g->Row());
    if (EditStyle == esPopup)
        EditExit(Sender);
    g->EditMode = false;
    g->SelectCell(g->Col(), g->Row());
    if (!g->FLastValidation) {
        // The refused value is back in the cell: the user goes on editing it.
        g->FLastValidation = true;
        if (!g->EditMode)
            g->ShowInplaceEdit();
        return;
    }
    if (Key == VK_RETURN) {
        if (g->FNavigation->AdvanceOnEnter)
            g->AdvanceCell(g->Col(), g->Row(), false, true, !Shift.Contains(ssShift), false, true);
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) {
        Key = 0;
        return;
    }
    if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) {
        Word k = Key;
        g->KeyDown(k, Shift);
    }
    if (TWinControl *c = GetEditControl())
        c->SetEnabled(false);
    FocusGrid();
}

void TEditLink::SetFocus(bool Value)
{
    TWinControl *c = GetEditControl();
    if (Value && c) {
        if (!c->Visible())
            c->SetVisible(true);
        if (!c->Enabled())
            c->SetEnabled(true);
    }
    if (EditStyle == esInplace && c && !FSubClassed) {
        FSavedProc = c->WindowProc();
        FHooked = c;
        c->FreeNotification(this);
        c->SetWindowProc([this](TMessage &Message) {
            if (FGrid)
                FGrid->EditLinkWndProc(Message, FSavedProc);
            else
                FSavedProc(Message);
        });
        FSubClassed = true;
    }
    if (Value) {
        if (c && c->CanFocus())
            c->SetFocus();
    } else if (FGrid && FGrid->CanFocus()) {
        FGrid->SetFocus();
    }
}

void TEditLink::RestoreWinProc()
{
    if (EditStyle != esInplace || !FSubClassed)
        return;
    if (FHooked) {
        FHooked->SetWindowProc(FSavedProc);
        FHooked->RemoveFreeNotification(this);
        if (FHooked->HandleAllocated())
            FHooked->SetVisible(false);
    }
    FSavedProc = nullptr;
    FHooked = nullptr;
    FSubClassed = false;
}

void TEditLink::SetRect(TRect R)
{
    TWinControl *c = GetEditControl();
    if (!c)
        return;
    const int lw = FGrid ? FGrid->GridLineWidth() : 0;
    c->SetBounds(R.Left, R.Top, R.Right - R.Left - lw, R.Bottom - R.Top - lw);
}

void TEditLink::SetVisible(bool Value)
{
    if (TWinControl *c = GetEditControl())
        c->SetVisible(Value);
}

void TEditLink::EditExit(TObject *)
{
    HideEditor();
    if (EditStyle == esPopup && FPopupForm) {
        DestroyEditor();
        FPopupForm->Hide();
    }
}

void TEditLink::FormExit(TObject *)
{
    if (!FGrid)
        return;
    if (TExtInplaceEdit *e = FGrid->NormalEdit())
        e->SetText(GetEditorValue());
    if (FForcedExit) {
        SetCellValue(GetEditorValue());
        return;
    }
    EditExit(this);
    // The focus message that follows belongs to this exit, not to the user.
    if (FGrid)
        FGrid->InvokedFocusChange = true;
}

void TEditLink::HideEditor()
{
    SetCellValue(GetEditorValue());
    if (FGrid)
        FGrid->HideInplaceEdit();
    RestoreWinProc();
}

UnicodeString TEditLink::GetCellValue()
{
    if (!FGrid)
        return {};
    return FGrid->Cells(FGrid->RealColIndex(FGrid->Col()), FGrid->Row());
}

void TEditLink::SetCellValue(const UnicodeString &Value)
{
    if (FGrid)
        FGrid->WriteEditValue(FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), Value);
}

TWinControl *TEditLink::GetParent()
{
    if (EditStyle == esPopup)
        return FPopupForm;
    return FGrid;
}

// ---- the grid's side of the links ----

void TExtStringGrid::SetEditLink(TEditLink *Value)
{
    if (TEditLink *old = EditLink(); old && old != Value)
        old->RemoveFreeNotification(this);
    FEditLink = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TExtStringGrid::EditLinkWndProc(TMessage &Message, const TControl::TWndMethod &Saved)
{
    if (Message.Msg == WM_GETDLGCODE && Options().Contains(goTabs)) {
        Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        return;
    }
    if (Saved)
        Saved(Message);
}

void TExtStringGrid::ShowEditLink(int ACol, int ARow, const TRect &R, const UnicodeString &EditText)
{
    TEditLink *link = EditLink();
    if (!link)
        return;
    const int realCol = RealColIndex(ACol);
    EditMode = true;
    if (link->FGrid != this) {
        if (link->FGrid)
            link->FGrid->RemoveFreeNotification(link);
        FreeNotification(link);
    }
    link->FGrid = this;
    link->EditCell = TPoint(realCol, ARow);
    if (link->EditStyle == esPopup) {
        if (link->AutoPopupWidth)
            link->PopupWidth = R.Right - R.Left;
        // The link keeps a form of its own: another link's form of the same name stays alive.
        if (!link->FPopupForm) {
            auto *f = new TForm(link);
            f->SetName(QStringLiteral("gridform"));
            f->FreeNotification(link);
            link->FPopupForm = f;
        }
        TForm *f = link->FPopupForm;
        const TPoint P = link->PopupLeft != -1 && link->PopupTop != -1 ? TPoint(link->PopupLeft, link->PopupTop)
                                                                       : ClientToScreen(TPoint(R.Left, R.Top));
        f->SetBounds(P.X, P.Y, 0, 0);
        f->OnDeactivate = [link](TObject *Sender) { link->FormExit(Sender); };
        f->SetFormStyle(fsStayOnTop);
        f->SetBorderStyle(bsNone);
        f->Show();
        f->SetBounds(P.X, P.Y, link->PopupWidth, link->PopupHeight);
        link->CreateEditor(f);
        link->SetRect(TRect(0, 0, link->PopupWidth, link->PopupHeight));
    } else {
        link->CreateEditor(this);
        link->SetRect(R);
    }
    link->SetVisible(true);
    link->SetCellProps(FEditorColor, GetCellFont(realCol, ARow));
    link->SetProperties();
    DoGetEditorProp(realCol, ARow);
    link->SetEditorValue(EditText);
    link->SetFocus(true);
    FEditActive = true;
    TWinControl *c = link->GetEditControl();
    if (c && FStartEditChar >= 32 && c->HandleAllocated())
        PostMessage(c->Handle(), WM_CHAR, WPARAM(FStartEditChar), 0);
    EditCtrl = c;
}

void TExtStringGrid::CommitEditLink(int ACol, int ARow)
{
    if (FControlLook->DropDownAlwaysVisible)
        DoGetEditorType(ACol, ARow, EditControl);
    TEditLink *link = EditLink();
    if (!link)
        return;
    WriteEditValue(ACol, ARow, link->GetEditorValue());
    // A popup keeps its form: the link closes it itself.
    if (link->EditStyle == esInplace)
        link->SetVisible(false);
    link->RestoreWinProc();
    EditMode = false;
}

// ---- the rich-text editor ----

TExtRichEdit::TExtRichEdit(TComponent *AOwner) : TRichEdit(AOwner), FGrid(dynamic_cast<TExtStringGrid *>(AOwner)) {}

TExtRichEdit *TExtStringGrid::InplaceRichEdit()
{
    if (!FInplaceRichEdit) {
        FInplaceRichEdit = new TExtRichEdit(this);
        FInplaceRichEdit->SetVisible(false);
        FInplaceRichEdit->SetResizeRequests(true);
        FInplaceRichEdit->OnSelectionChange = [this](TObject *Sender) { RichEditSelectionChanged(Sender); };
    }
    return FInplaceRichEdit;
}

void TExtRichEdit::WMGetDlgCode(TWMGetDlgCode &Message)
{
    TRichEdit::WMGetDlgCode(Message);
    Message.Result |= DLGC_WANTTAB;
}

void TExtRichEdit::WMKillFocus(TWMKillFocus &Message)
{
    if (FGrid && FGrid->InvokedFocusChange)
        return;
    if (FGrid && FGrid->HandleAllocated() && Message.FocusedWnd == FGrid->Handle())
        FGrid->HideInplaceEdit();
    TRichEdit::WMKillFocus(Message);
}

void TExtRichEdit::DoResizeRequest(const TRect &Rect)
{
    TRichEdit::DoResizeRequest(Rect);
    if (!FGrid || FGrid->Designing())
        return;
    if (this == FGrid->FCellRichEdit) {
        FReqWidth = Rect.Width();
        FReqHeight = Rect.Height();
        return;
    }
    if (this != FGrid->FInplaceRichEdit || !FGrid->FSizeWhileTyping->Height || FLocked)
        return;
    const int h = Rect.Height();
    const int row = FGrid->Row();
    const TRect cell = FGrid->CellRect(FGrid->Col(), row);
    if (FGrid->RowHeights(row) < h + 5 && cell.Top + h + 5 < FGrid->Height()) {
        // The request follows from this growth: it must not run again meanwhile.
        LockResize();
        SetHeight(h + 9);
        FGrid->SetRowHeights(row, h + 10);
        UnlockResize();
        if (FGrid->OnEndRowSize)
            FGrid->OnEndRowSize(FGrid, row);
    }
}

void TExtRichEdit::KeyDown(Word &Key, TShiftState Shift)
{
    TRichEdit::KeyDown(Key, Shift);
    if (!FGrid)
        return;
    if (Key == VK_TAB && FGrid->Options().Contains(goTabs)) {
        if (FGrid->CanFocus())
            FGrid->SetFocus();
        Word k = Key;
        FGrid->KeyDown(k, Shift);
        FGrid->ShowInplaceEdit();
        Key = 0;
    } else if ((Key == VK_UP || Key == VK_DOWN) && !FGrid->WordWrap() && !FGrid->Multilinecells()) {
        if (FGrid->CanFocus())
            FGrid->SetFocus();
        Word k = Key;
        FGrid->KeyDown(k, Shift);
        Key = 0;
    }
}

void TExtStringGrid::ShowRichEditor(int ACol, int ARow, const TRect &R)
{
    TExtRichEdit *e = InplaceRichEdit();
    EditMode = true;
    e->ReCreate();
    e->SetParent(this);
    e->SetBorderStyle(bsNone);
    e->SetHideSelection(false);
    e->SetBounds(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1);
    const int realCol = RealColIndex(ACol);
    DoGetEditorProp(realCol, ARow);
    e->LockResize();
    CellToRich(realCol, ARow, e);
    e->UnlockResize();
    if (FNavigation->EditSelectAll)
        e->SelectAll();
    e->SetVisible(true);
    e->SetEnabled(true);
    // The text keeps two pixels from the cell's edges.
    TRect format(2, 2, R.Right - R.Left - 2, R.Bottom - R.Top - 2);
    e->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
    e->SetColor(FEditorColor);
    if (e->CanFocus())
        e->SetFocus();
    if (FStartEditChar >= 32 && e->HandleAllocated())
        PostMessage(e->Handle(), WM_CHAR, WPARAM(FStartEditChar), 0);
    EditCtrl = e;
}

void TExtStringGrid::CommitRichEditor(int ACol, int ARow)
{
    TExtRichEdit *e = InplaceRichEdit();
    WriteEditValue(ACol, ARow, RichToString(e));
    e->SetEnabled(false);
    e->SetVisible(false);
    EditMode = false;
}

// ---- in-text control editors ----

void TControlEdit::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    if (Message.CharCode == VK_RETURN) {
        Message.Result = 0;
        return;
    }
    if (Message.CharCode == VK_TAB) {
        Message.Result = 1;
        return;
    }
    TMaskEdit::CMWantSpecialKey(Message);
}

void TControlCombo::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    if (Message.CharCode == VK_TAB) {
        Message.Result = 1;
        return;
    }
    TComboBox::CMWantSpecialKey(Message);
}

namespace {

// Enter and Tab in the editor of an in-text control: Enter goes back to the grid, Tab on to the
// next cell (AdvanceAuto) or the cell's next control. True when the key was taken.
bool ControlEditorKey(TExtStringGrid *Grid, WideChar &Key, const std::function<void()> &ExitHandling,
                      const UnicodeString &CtrlID)
{
    if (!Grid || (Key != WideChar(VK_RETURN) && Key != WideChar(VK_TAB)))
        return false;
    const bool tab = Key == WideChar(VK_TAB);
    Key = 0;
    ExitHandling();
    if (!tab) {
        if (Grid->CanFocus())
            Grid->SetFocus();
    } else if (Grid->Navigation()->AdvanceAuto()) {
        Grid->AdvanceCell(Grid->Col(), Grid->Row(), true, true, true, false, true);
    } else {
        Grid->EditNextCellControl(Grid->Col(), Grid->Row(), CtrlID);
    }
    return true;
}

} // namespace

void TControlEdit::KeyPress(WideChar &Key)
{
    auto *g = dynamic_cast<TExtStringGrid *>(Parent());
    if (!ControlEditorKey(g, Key, [this] { DoExit(); }, g ? g->FCtrlID : UnicodeString()))
        TMaskEdit::KeyPress(Key);
}

void TControlCombo::KeyPress(WideChar &Key)
{
    auto *g = dynamic_cast<TExtStringGrid *>(Owner());
    if (!ControlEditorKey(g, Key, [this] { DoExit(); }, g ? g->FCtrlID : UnicodeString()))
        TComboBox::KeyPress(Key);
}

// ---- fixed-cell editors ----

bool TExtStringGrid::StopFixedCellEdit(TWinControl *Editor, int ACol, int ARow, const UnicodeString &Text)
{
    // An editor that was never opened on a cell has nothing to write.
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) {
        Editor->SetVisible(false);
        return true;
    }
    UnicodeString value = Text;
    bool valid = true;
    if (OnCellValidate)
        OnCellValidate(this, ACol, ARow, value, valid);
    if (!valid) {
        FocusCell(ACol, ARow, true);
        if (Editor->CanFocus())
            Editor->SetFocus();
        return false;
    }
    if (OnEditingDone)
        OnEditingDone(this);
    SetCells(ACol, ARow, value);
    Editor->SetVisible(false);
    return true;
}

template <class TBase>
TFixedCellEditor<TBase>::TFixedCellEditor(TComponent *AOwner)
    : TBase(AOwner), FGrid(dynamic_cast<TExtStringGrid *>(AOwner))
{
}

template <class TBase>
bool TFixedCellEditor<TBase>::StopEdit()
{
    if (!FGrid) {
        this->SetVisible(false);
        return true;
    }
    return FGrid->StopFixedCellEdit(this, FCol, FRow, this->Text());
}

template <class TBase>
void TFixedCellEditor<TBase>::KeyPress(WideChar &Key)
{
    if (Key == WideChar(VK_RETURN)) {
        Key = 0;
        return;
    }
    TBase::KeyPress(Key);
}

template <class TBase>
void TFixedCellEditor<TBase>::DoExit()
{
    TBase::DoExit();
    StopEdit();
}

template class TFixedCellEditor<TEdit>;
template class TFixedCellEditor<TComboBox>;
