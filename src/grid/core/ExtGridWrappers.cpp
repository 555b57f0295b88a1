// The in-place editors of the special editor types. The grid places, fills, shows and reads
// back these controls; each wrapper decides what happens between show and hide: which keys it
// keeps although a dialog would take them, which keys commit (validated first) or cancel, which
// hand navigation back to the grid, and which grid events it fires while the user types or picks.
//
// Every end of an edit goes through the grid's HideInplaceEdit, so the value is written by the
// grid's commit; only the commit checks, the paste of the edit with a button and the cell button
// write the current cell themselves.
#include "grid/core/ExtGrid.h"
#include "grid/core/ExtGridOwner.h"

#include "platform/Clipbrd.h"
#include "platform/Messages.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"

#include <QRegularExpression>

#include <initializer_list>

namespace {

bool InKeys(Word Key, std::initializer_list<Word> Keys)
{
    for (Word k : Keys)
        if (k == Key)
            return true;
    return false;
}

// The cursor walk of the editors with a button and the combo: the grid takes the focus and
// the walk goes on, opening the next editor when the walk always edits.
void WalkFromEditor(TExtStringGrid *Grid, bool Right, const UnicodeString &Text)
{
    const bool walked = Grid->EditorCursorWalk(Right, false, [Grid, Text] { return Grid->ValidateCell(Text); }, nullptr);
    if (walked && Grid->Navigation()->CursorWalkAlwaysEdit)
        Grid->ShowEditor();
}

// The first item that begins with the prefix (both upper-cased unless case counts); -1 when none.
int FindPrefix(TStrings *Items, const UnicodeString &Prefix, bool CaseSensitive)
{
    for (int i = 0; i < Items->Count(); ++i) {
        const UnicodeString s = CaseSensitive ? Items->Strings(i) : Items->Strings(i).toUpper();
        if (s.startsWith(Prefix))
            return i;
    }
    return -1;
}

// The typed part followed by the rest of the item, at most 255 characters of it.
UnicodeString Completed(const UnicodeString &Typed, int PrefixLen, const UnicodeString &Item)
{
    return Typed.left(PrefixLen) + Item.mid(PrefixLen, 255);
}

// The characters the numeric and float editors take; false drops the character.
bool NumericCharAllowed(TEditorType Type, TCustomEdit *Edit, WideChar Key, bool CtrlDown)
{
    const QChar c{char16_t(Key)};
    const UnicodeString text = Edit->Text();
    const int start = Edit->SelStart();
    const UnicodeString sel = text.mid(start, Edit->SelLength());
    const bool control = Key == 8 || Key == 9 || Key == 13 || Key == 27;
    if (Type == edNumericEditBtn || Type == edNumericUnitEditBtn) {
        if (control || c.isDigit())
            return true;
        if (c == u'-' && !text.contains(u'-') && start == 0)
            return true;
        MessageBeep(0);
        return false;
    }
    const QChar dec = FormatSettings.DecimalSeparator;
    const QChar thou = FormatSettings.ThousandSeparator;
    if (control || c.isDigit())
        return true;
    if (c == dec)
        return !(text.contains(dec) && !sel.contains(dec));
    if (c == thou)
        return false;
    if (c == u'-') {
        if ((start == 0 && !text.contains(u'-')) || sel.contains(u'-'))
            return true;
        MessageBeep(0);
        return false;
    }
    if (c == u',' || c == u'.')
        return false;
    // Clipboard shortcuts come as control characters while Ctrl is held.
    return CtrlDown;
}

// Whether a pasted value may go into an editor of the type (the grid's per-type paste checks).
bool PasteAllowed(TEditorType Type, const UnicodeString &NewText)
{
    if (Type == edNumericEditBtn) {
        static const QRegularExpression re(QStringLiteral("^-?[0-9]*$"));
        return re.match(NewText).hasMatch();
    }
    if (Type == edFloatEditBtn) {
        if (NewText.isEmpty() || NewText == u"-")
            return true;
        const QChar dec = FormatSettings.DecimalSeparator;
        const QRegularExpression re(QStringLiteral("^-?[0-9]*(%1[0-9]*)?$").arg(QRegularExpression::escape(QString(dec))));
        return re.match(NewText).hasMatch();
    }
    return true;
}

} // namespace

// ---- grid services the wrappers call ----

void TExtStringGrid::FocusGridQuietly()
{
    const bool alwaysEdit = FNavigation->AlwaysEdit;
    FNavigation->AlwaysEdit = false;
    if (CanFocus() && HandleAllocated())
        SetFocus();
    FNavigation->AlwaysEdit = alwaysEdit;
}

UnicodeString TExtStringGrid::DoEllipsClick(const UnicodeString &Value)
{
    UnicodeString s = Value;
    if (OnEllipsClick)
        OnEllipsClick(this, RealColIndex(Col()), Row(), s);
    return s;
}

// ---- TGridCombo ----

TGridCombo::TGridCombo(TComponent *AOwner) : TEsgComboBox(AOwner), FGrid(OwnerGrid(AOwner))
{
    SetButtonWidth(16);
    // Completion follows the grid's lookup settings only.
    SetAutoComplete(false);
}

bool TGridCombo::ListMode() const
{
    return Style() == csDropDownList || DroppedDown();
}

void TGridCombo::EditSel(int &Start, int &End)
{
    const LRESULT r = const_cast<TGridCombo *>(this)->Perform(CB_GETEDITSEL, 0, 0);
    if (r == CB_ERR) {
        Start = End = -1;
        return;
    }
    Start = LoWord(std::uintptr_t(r));
    End = HiWord(std::uintptr_t(r));
}

void TGridCombo::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    TEsgComboBox::CMWantSpecialKey(Message);
    if (Message.CharCode == VK_RETURN || Message.CharCode == VK_ESCAPE ||
        (Message.CharCode == VK_TAB && FGrid->NeedsEditorTab()))
        Message.Result = 1;
}

bool TExtStringGrid::EditorCommitKey(Word &Key, TShiftState Shift, const std::function<bool(bool ForTab)> &Check)
{
    if (Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        if (!Check(false)) {
            Key = 0;
            return true;
        }
    }
    if (Key == VK_TAB && NeedsEditorTab()) {
        if (!Check(true)) {
            Key = 0;
            return true;
        }
        if (Options().Contains(goTabs)) {
            HideInplaceEdit();
            FocusGridQuietly();
            HandleTabKey(Shift.Contains(ssShift));
            Key = 0;
            return true;
        }
        if (HandleAllocated())
            PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    return false;
}

bool TGridCombo::CommitCheck(bool ForTab)
{
    FGrid->SetCurrentCell(Text());
    if (!FGrid->ValidateCell(Text())) {
        SetText(FGrid->FNewCellText);
        if (Style() != csDropDownList) {
            if (ForTab) {
                const int n = int(Text().size());
                Perform(CB_SETEDITSEL, 0, MakeLParam(n, n));
            } else {
                SelectAll();
            }
        }
        Repaint();
        if (!ForTab)
            FGrid->FNoAutoAdvance = true;
        return false;
    }
    if (Style() == csDropDownList) {
        const int k = Items()->IndexOf(FGrid->GetCurrentCell());
        if (k >= 0 || ForTab)
            SetItemIndex(k);
    } else {
        SetText(FGrid->GetCurrentCell());
    }
    return true;
}

void TGridCombo::KeyDown(Word &Key, TShiftState Shift)
{
    bool listMode = ListMode();
    const bool handled = listMode ? InKeys(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_LEFT, VK_RIGHT})
                                  : InKeys(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP,
                                                 VK_DOWN});
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    TNavigation *nav = FGrid->Navigation();

    if ((Key == VK_UP || Key == VK_DOWN) && !nav->ComboGetUpDown && !DroppedDown()) {
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
        FGrid->KeyDown(Key, Shift);
        // The edit is committed and the grid has moved: nothing of the combo may reach the cell
        // that is current now.
        Key = 0;
        return;
    }
    if (!handled || (Shift.Contains(ssAlt) && Key == VK_DOWN)) {
        TEsgComboBox::KeyDown(Key, Shift);
        return;
    }
    listMode = ListMode();

    if (Key == VK_ESCAPE) {
        const UnicodeString cell = FGrid->GetCurrentCell();
        SetText(cell);
        const int k = Items()->IndexOf(cell);
        if (k >= 0)
            SetItemIndex(k);
        FGrid->HideInplaceEdit();
        // A list holds only its items: a cell text that is none of them is put back as it was.
        if (FGrid->GetCurrentCell() != cell)
            FGrid->SetCurrentCell(cell);
        FGrid->FocusGridQuietly();
        Key = 0;
        return;
    }
    if (FGrid->EditorCommitKey(Key, Shift, [this](bool ForTab) { return CommitCheck(ForTab); }))
        return;
    if (listMode) {
        TMouseActions *ma = FGrid->MouseActions();
        const bool directClose = ma->DirectComboClose;
        ma->DirectComboClose = false;
        FGrid->HideInplaceEdit();
        ma->DirectComboClose = directClose;
        if (Key == VK_LEFT || Key == VK_RIGHT)
            FGrid->KeyDown(Key, Shift);
        if (InKeys(Key, {VK_PRIOR, VK_NEXT, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN}))
            Key = 0;
    } else if (Key == VK_END) {
        TEsgComboBox::KeyDown(Key, Shift);
        return;
    }
    FGrid->DoneInplaceEdit(Key, Shift);
    if (nav->AdvanceOnEnter && nav->AdvanceAutoEdit)
        FGrid->ShowInplaceEdit();
    Key = 0;
    TEsgComboBox::KeyDown(Key, Shift);
}

void TGridCombo::KeyPress(WideChar &Key)
{
    const int old = ItemIndex();
    if (FGrid->OnKeyPress)
        FGrid->OnKeyPress(this, Key);
    if (Key == 27)
        Key = 0;
    if (Key == 13 && OnReturnKey)
        OnReturnKey(this);
    if (Key == 13 || Key == 9)
        Key = 0;
    TEsgComboBox::KeyPress(Key);
    if (ItemIndex() != old)
        FireComboEvents();
}

void TGridCombo::FireComboEvents()
{
    const int realCol = FGrid->RealColIndex(FGrid->Col());
    const int k = ItemIndex();
    // No item selected: no object either.
    TObject *obj = k >= 0 && k < Items()->Count() ? Items()->Objects(k) : nullptr;
    if (FGrid->OnComboChange)
        FGrid->OnComboChange(FGrid, realCol, FGrid->Row(), k, Text());
    if (FGrid->OnComboObjectChange)
        FGrid->OnComboObjectChange(FGrid, realCol, FGrid->Row(), k, Text(), obj);
}

void TGridCombo::KeyUp(Word &Key, TShiftState Shift)
{
    TNavigation *nav = FGrid->Navigation();
    int start = -1, end = -1;
    EditSel(start, end);
    const bool walk = Style() == csDropDown && nav->CursorWalkEditor && start == end && start >= 0 &&
                      !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    const bool left = walk && Key == VK_LEFT && start == 0;
    const bool right = walk && Key == VK_RIGHT && start == int(Text().size());
    if (left || right) {
        Key = 0;
        WalkFromEditor(FGrid, right, Text());
    }
    FGrid->FNoAutoAdvance = false;
    if (Key != VK_RETURN)
        TEsgComboBox::KeyUp(Key, Shift);
    DoChange();
}

void TGridCombo::DoChange()
{
    if (!WorkMode || !FGrid->Lookup || !Visible())
        return;
    int start = -1, end = -1;
    EditSel(start, end);
    const UnicodeString text = Text();
    // Only a typed prefix at the end of the text completes: a caret inside the text or before
    // it must not cut off what the user wrote after it.
    if (start <= 0 || end != int(text.size()))
        return;
    const bool cs = FGrid->LookupCaseSensitive;
    const UnicodeString prefix = cs ? text.left(start) : text.left(start).toUpper();
    int k = FindPrefix(Items(), prefix, cs);
    UnicodeString completed;
    if (k >= 0) {
        completed = Completed(text, start, Items()->Strings(k));
        SetItemIndex(k);
    } else {
        const int j = FindPrefix(FGrid->FLookupItems, prefix, cs);
        if (j < 0)
            return;
        completed = Completed(text, start, FGrid->FLookupItems->Strings(j));
    }
    SetText(completed);
    Perform(CB_SETEDITSEL, 0, MakeLParam(start, -1));
}

void TGridCombo::Change()
{
    TEsgComboBox::Change();
    FGrid->EditorTextChanged(Text());
}

void TGridCombo::DoExit()
{
    if (FGrid->LookupHistory && !Text().isEmpty() && Items()->IndexOf(Text()) < 0)
        Items()->Add(Text());
    FGrid->EditorExited();
    TEsgComboBox::DoExit();
}

void TGridCombo::WndProc(TMessage &Message)
{
    const Cardinal wheel = FGrid->wheelmsg != 0 ? FGrid->wheelmsg : WM_MOUSEWHEEL;
    if (Message.Msg != wheel) {
        TEsgComboBox::WndProc(Message);
        return;
    }
    // The wheel steps through the items here and never reaches the platform's combo; past the
    // last item it stays.
    const auto delta = static_cast<SmallInt>(Message.WParamHi());
    if (delta < 0) {
        if (ItemIndex() + 1 < Items()->Count())
            SetItemIndex(ItemIndex() + 1);
    } else if (ItemIndex() > 0) {
        SetItemIndex(ItemIndex() - 1);
    }
    if (FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), Text());
    FireComboEvents();
    Message.Result = 0;
}

void TGridCombo::WMSetFocus(TWMSetFocus &Message)
{
    TEsgComboBox::WMSetFocus(Message);
    if (!FGrid->Navigation()->EditSelectAll && Style() == csDropDown) {
        const int n = int(Text().size());
        Perform(CB_SETEDITSEL, 0, MakeLParam(n, n));
    }
    // An edit started by a click puts the caret where the mouse is.
    if (FGrid->LButFlg) {
        TPoint pt;
        GetCursorPos(pt);
        pt = ScreenToClient(pt);
        if (pt.X >= 0 && pt.X <= Width() && pt.Y >= 0 && pt.Y <= Height()) {
            const LRESULT r = Perform(EM_CHARFROMPOS, 0, MakeLParam(pt.X, pt.Y));
            if (r != -1) {
                const int k = LoWord(std::uintptr_t(r));
                Perform(CB_SETEDITSEL, 0, MakeLParam(k, k));
                FGrid->LButFlg = false;
            }
        }
    }
}

void TGridCombo::SizeDropDownWidth()
{
    int W = Width();
    const bool scroll = Items()->Count() > DropDownCount();
    TCanvas *canvas = FGrid->Canvas();
    canvas->Font()->Assign(FGrid->Font());
    for (int i = 0; i < Items()->Count(); ++i) {
        const int T = canvas->TextWidth(Items()->Strings(i));
        if (scroll) {
            if (T > W - 25)
                W = T + 25;
        } else if (T > W - 5) {
            W = T + 8;
        }
    }
    Perform(CB_SETDROPPEDWIDTH, WPARAM(W), 0);
}

// ---- TGridCheckBox ----

TGridCheckBox::TGridCheckBox(TComponent *AOwner) : TCheckBox(AOwner), FGrid(OwnerGrid(AOwner)) {}

void TGridCheckBox::WMLButtonDown(TWMMouse &Message)
{
    // The press toggles; the window does not see it, so that its release toggles nothing more.
    Toggle();
    if (CanFocus() && !Focused())
        SetFocus();
    Message.Result = 0;
}

void TGridCheckBox::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    if (InKeys(Message.CharCode, {VK_RETURN, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) {
        Message.Result = 1;
        return;
    }
    TCheckBox::CMWantSpecialKey(Message);
}

void TGridCheckBox::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        Toggle();
        Key = 0;
        return;
    }
    if (InKeys(Key, {VK_RETURN, VK_PRIOR, VK_NEXT, VK_END, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) {
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
        if (Key == VK_RETURN)
            FGrid->AdvanceCell(FGrid->Col(), FGrid->Row(), false, true, true, false, true);
        if (Key == VK_UP || Key == VK_DOWN)
            FGrid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    TCheckBox::KeyDown(Key, Shift);
}

void TGridCheckBox::DoExit()
{
    FGrid->EditorExited();
    TCheckBox::DoExit();
}

// ---- TGridEditBtn ----

TGridEditBtn::TGridEditBtn(TComponent *AOwner) : TEsgEditBtn(AOwner), FGrid(OwnerGrid(AOwner))
{
    OnClickBtn = [this](TObject *Sender) { ClickBtn(Sender); };
}

void TGridEditBtn::ClickBtn(TObject *)
{
    SetText(FGrid->DoEllipsClick(Text()));
    SelectAll();
    Invalidate();
    if (StopEditAfterClick) {
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
    }
}

void TGridEditBtn::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    TEsgEditBtn::CMWantSpecialKey(Message);
    if (Message.CharCode == VK_RETURN || Message.CharCode == VK_ESCAPE ||
        (Message.CharCode == VK_TAB && FGrid->NeedsEditorTab()))
        Message.Result = 1;
}

bool TGridEditBtn::CommitCheck()
{
    const TEditorType kept = FGrid->EditControl;
    FGrid->SetCurrentCell(Text());
    const bool valid = FGrid->ValidateCell(Text());
    SetText(FGrid->FNewCellText);
    if (!valid) {
        SelectAll();
        Repaint();
        FGrid->EditControl = kept;
    }
    return valid;
}

void TGridEditBtn::KeyDown(Word &Key, TShiftState Shift)
{
    const bool own = InKeys(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN});
    if (!own && FGrid->OnKeyDown)
        FGrid->OnKeyDown(FGrid, Key, Shift);
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    FSelKeyDown = SelStart();
    if (Shift.Contains(ssCtrl) || !own) {
        TEsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    if (InKeys(Key, {VK_TAB, VK_RETURN, VK_UP, VK_DOWN}) && !CommitCheck()) {
        Key = 0;
        return;
    }
    if (Key == VK_TAB && FGrid->NeedsEditorTab()) {
        if (!CommitCheck()) {
            SetSelStart(int(Text().size()));
            SetSelLength(0);
            Key = 0;
            return;
        }
        if (FGrid->Options().Contains(goTabs)) {
            FGrid->HideInplaceEdit();
            FGrid->FocusGridQuietly();
            FGrid->HandleTabKey(Shift.Contains(ssShift));
            Key = 0;
            return;
        }
        if (FGrid->HandleAllocated())
            PostMessage(FGrid->Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_ESCAPE)
        SetText(FGrid->FCellCache);
    FGrid->DoneInplaceEdit(Key, Shift);
    Key = 0;
}

void TGridEditBtn::KeyUp(Word &Key, TShiftState Shift)
{
    if (FGrid->OnKeyUp)
        FGrid->OnKeyUp(FGrid, Key, Shift);
    TNavigation *nav = FGrid->Navigation();
    const bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    if (nav->CursorWalkEditor && plain && SelLength() == 0 &&
        ((Key == VK_RIGHT && SelStart() == int(Text().size())) || (Key == VK_LEFT && FSelKeyDown == 0))) {
        const bool right = Key == VK_RIGHT;
        Key = 0;
        WalkFromEditor(FGrid, right, Text());
        return;
    }
    if (Key != VK_RETURN)
        TEsgEditBtn::KeyUp(Key, Shift);
    if (!WorkMode || SelLength() != 0 || !FGrid->Lookup || FGrid->FLookupItems->Count() == 0 || !Visible())
        return;
    const UnicodeString text = Text();
    const int start = SelStart();
    if (start <= 0 || start != int(text.size()))
        return;
    const bool cs = FGrid->LookupCaseSensitive;
    const int k = FindPrefix(FGrid->FLookupItems, cs ? text.left(start) : text.left(start).toUpper(), cs);
    if (k < 0)
        return;
    SetText(Completed(text, start, FGrid->FLookupItems->Strings(k)));
    SetSelStart(start);
    SetSelLength(int(Text().size()) - start);
}

void TGridEditBtn::KeyPress(WideChar &Key)
{
    if (FGrid->OnKeyPress)
        FGrid->OnKeyPress(FGrid, Key);
    if (Key == 9) {
        Key = 0;
        return;
    }
    TEsgEditBtn::KeyPress(Key);
}

void TGridEditBtn::WMChar(TWMKey &Message)
{
    const WideChar key = WideChar(Message.CharCode);
    if (key == 13 || key == 9) {
        Message.Result = 1;
        return;
    }
    switch (FGrid->EditControl) {
    case edEditBtn:
    case edMaskEditBtn:
        TEsgEditBtn::WMChar(Message);
        return;
    case edNumericEditBtn:
    case edFloatEditBtn:
        if (NumericCharAllowed(FGrid->EditControl, this, key, GetShiftState().Contains(ssCtrl)))
            TEsgEditBtn::WMChar(Message);
        else
            Message.Result = 1;
        return;
    default:
        Message.Result = 1;
        return;
    }
}

void TGridEditBtn::WMPaste(TMessage &Message)
{
    UnicodeString value;
    const bool allow = FGrid->EditorPasteAllowed(this, value);
    Message.Result = 0;
    if (!allow)
        return;
    // One line copied with its line break goes in without it.
    const int crlf = value.indexOf(u"\r\n");
    if (crlf >= 0 && crlf == value.size() - 2)
        value.chop(2);
    const UnicodeString text = Text();
    const int start = SelStart(), len = SelLength();
    const UnicodeString newText = text.left(start) + value + text.mid(start + len);
    if (!PasteAllowed(FGrid->EditControl, newText)) {
        MessageBeep(0);
        return;
    }
    SetText(newText);
    FGrid->SetCurrentCellText(Text());
    if (len > 0) {
        SetSelStart(start);
        SetSelLength(int(value.size()));
    } else {
        SetSelStart(start + int(value.size()));
        SetSelLength(0);
    }
}

void TGridEditBtn::DblClick()
{
    TEsgEditBtn::DblClick();
    if (FGrid->OnDblClickCell)
        FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
}

void TGridEditBtn::Change()
{
    TEsgEditBtn::Change();
    FGrid->EditorTextChanged(Text());
}

void TGridEditBtn::DoExit()
{
    FGrid->EditorExited();
    TEsgEditBtn::DoExit();
}

// ---- TGridUnitEditBtn ----

TGridUnitEditBtn::TGridUnitEditBtn(TComponent *AOwner) : TEsgUnitEditBtn(AOwner), FGrid(OwnerGrid(AOwner))
{
    OnClickBtn = [this](TObject *Sender) { ClickBtn(Sender); };
}

void TGridUnitEditBtn::ClickBtn(TObject *)
{
    SetText(FGrid->DoEllipsClick(Text()));
    SelectAll();
    Invalidate();
}

void TGridUnitEditBtn::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    TEsgUnitEditBtn::CMWantSpecialKey(Message);
    if (Message.CharCode == VK_RETURN || Message.CharCode == VK_ESCAPE ||
        (Message.CharCode == VK_TAB && FGrid->Options().Contains(goTabs)))
        Message.Result = 1;
}

void TGridUnitEditBtn::KeyDown(Word &Key, TShiftState Shift)
{
    if (!InKeys(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN})) {
        TEsgUnitEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (InKeys(Key, {VK_TAB, VK_RETURN, VK_UP, VK_DOWN})) {
        FGrid->SetCurrentCell(TextAndUnit());
        if (!FGrid->ValidateCell(TextAndUnit())) {
            SetText(FGrid->GetCurrentCell());
            return;
        }
        SetTextAndUnit(FGrid->GetCurrentCell());
    }
    TNavigation *nav = FGrid->Navigation();
    if (Key == VK_RETURN && nav->AdvanceOnEnter) {
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
        Key = 0;
        FGrid->AdvanceCell(FGrid->Col(), FGrid->Row(), false, true, true, false, true);
        return;
    }
    if (Key == VK_TAB && FGrid->Options().Contains(goTabs)) {
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
        FGrid->HandleTabKey(Shift.Contains(ssShift));
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) {
        SetUnitID(UnicodeString());
        SetText(FGrid->GetCurrentCell());
    }
    FGrid->DoneInplaceEdit(Key, Shift);
    Key = 0;
}

void TGridUnitEditBtn::WMChar(TWMKey &Message)
{
    const WideChar key = WideChar(Message.CharCode);
    if (key == 13) {
        Message.Result = 0;
        return;
    }
    switch (FGrid->EditControl) {
    case edUnitEditBtn:
        TEsgUnitEditBtn::WMChar(Message);
        return;
    case edNumericUnitEditBtn:
    case edFloatUnitEditBtn:
        if (NumericCharAllowed(FGrid->EditControl == edNumericUnitEditBtn ? edNumericEditBtn : edFloatEditBtn, this,
                               key, GetShiftState().Contains(ssCtrl)))
            TEsgUnitEditBtn::WMChar(Message);
        else
            Message.Result = 1;
        return;
    default:
        Message.Result = 1;
        return;
    }
}

void TGridUnitEditBtn::DoExit()
{
    FGrid->EditorExited();
    TEsgUnitEditBtn::DoExit();
}

// ---- TGridButton ----

TGridButton::TGridButton(TComponent *AOwner) : TButton(AOwner), FGrid(OwnerGrid(AOwner)) {}

void TGridButton::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    if (InKeys(Message.CharCode, {VK_ESCAPE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) {
        Message.Result = 1;
        return;
    }
    TButton::CMWantSpecialKey(Message);
}

void TGridButton::WMLButtonUp(TWMMouse &Message)
{
    if (auto *g = dynamic_cast<TExtStringGrid *>(Parent())) {
        SetCaption(g->DoEllipsClick(Caption()));
        g->SetCurrentCell(Caption());
    }
    TButton::WMLButtonUp(Message);
}

void TGridButton::KeyUp(Word &Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        SetCaption(FGrid->DoEllipsClick(Caption()));
        FGrid->SetCurrentCell(Caption());
        if (CanFocus())
            SetFocus();
        Invalidate();
        // The button's own click of a released Space would run the cell click a second time.
        Key = 0;
        return;
    }
    TButton::KeyUp(Key, Shift);
}

void TGridButton::KeyDown(Word &Key, TShiftState Shift)
{
    auto close = [this] {
        SetVisible(false);
        SetEnabled(false);
        FGrid->EditMode = false;
        FGrid->FocusGridQuietly();
    };
    if (InKeys(Key, {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN})) {
        const Word k = Key;
        if (FGrid->HandleAllocated())
            SendMessage(FGrid->Handle(), WM_KEYDOWN, k, 0);
        close();
        if (FGrid->HandleAllocated())
            SendMessage(FGrid->Handle(), WM_KEYUP, k, 0);
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE) {
        // The cache of the edit's start: the grid taking the focus back must not renew it.
        const UnicodeString cache = FGrid->FCellCache;
        close();
        FGrid->FCellCache = cache;
        FGrid->RestoreCellCache();
        if (FGrid->HandleAllocated())
            SendMessage(FGrid->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        Key = 0;
        return;
    }
    if (Key == VK_SPACE) {
        // Space acts on its release; the window's own press would click the button as well.
        Key = 0;
        return;
    }
    TButton::KeyDown(Key, Shift);
}

void TGridButton::DoExit()
{
    FGrid->EditorExited();
    TButton::DoExit();
}
