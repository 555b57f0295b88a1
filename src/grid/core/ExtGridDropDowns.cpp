// The grid's drop-down in-place editors and the grid's side of them: creating each editor when
// first needed, showing it over the cell and reading its value back into the cell.
#include "grid/core/ExtGridDropDowns.h"
#include "grid/core/ExtGridOwner.h"
#include "grid/core/ExtGridPickers.h"
#include "grid/dropdown/ExtCustomGridDropDown.h"

#include "platform/Messages.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"

#include <initializer_list>

namespace {

bool OneOf(Word Key, std::initializer_list<Word> Keys)
{
    for (Word k : Keys)
        if (k == Key)
            return true;
    return false;
}

} // namespace

// ---- the shared editor ----

template <class TControlT>
TGridDropDownEditor<TControlT>::TGridDropDownEditor(TComponent *AOwner) : TControlT(AOwner), FGrid(OwnerGrid(AOwner))
{
}

template <class TControlT>
void TGridDropDownEditor<TControlT>::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    TControlT::CMWantSpecialKey(Message);
    const Word k = Message.CharCode;
    if ((WantsEnterAndEscape() && (k == VK_RETURN || k == VK_ESCAPE)) || (k == VK_TAB && FGrid->NeedsEditorTab()))
        Message.Result = 1;
}

template <class TControlT>
bool TGridDropDownEditor<TControlT>::CommitCheck(bool ForTab)
{
    const UnicodeString text = EditorText();
    FGrid->SetCurrentCell(text);
    if (!FGrid->ValidateCell(text)) {
        this->SetTextInternal(FGrid->FNewCellText);
        if (ForTab)
            this->SetSelStart(static_cast<int>(this->Text().size()));
        else
            this->SelectAll();
        this->Repaint();
        if (!ForTab)
            FGrid->FNoAutoAdvance = true;
        return false;
    }
    this->SetTextInternal(FGrid->GetCurrentCell());
    return true;
}

template <class TControlT>
bool TGridDropDownEditor<TControlT>::HandlesKey(Word Key, bool Open) const
{
    return OneOf(Key, {VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_UP, VK_DOWN});
}

template <class TControlT>
void TGridDropDownEditor<TControlT>::KeyDown(Word &Key, TShiftState Shift)
{
    const bool handled = HandlesKey(Key, this->DroppedDown()) && !(Shift.Contains(ssAlt) && Key == VK_DOWN);
    WorkMode = Key != VK_BACK && Key != VK_DELETE;
    if (!handled) {
        TControlT::KeyDown(Key, Shift);
        // Alt+Down opened the popup: the grid must not take it as a move to the next row.
        if (Shift.Contains(ssAlt) && (Key == VK_DOWN || Key == VK_UP))
            Key = 0;
        return;
    }
    const bool open = this->DroppedDown();

    if (Key == VK_ESCAPE) {
        RestoreText(FGrid->GetCurrentCell());
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
        Key = 0;
        return;
    }
    if (Key == VK_RETURN)
        BeforeEnterCommit();
    const Word key = Key;
    if (FGrid->EditorCommitKey(Key, Shift,
                               [this, key](bool ForTab) { return !ForTab && !ChecksKey(key) ? true : CommitCheck(ForTab); }))
        return;
    if (open) {
        FGrid->HideInplaceEdit();
        if (OneOf(Key, {VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN}))
            Key = 0;
    } else if (Key == VK_END) {
        TControlT::KeyDown(Key, Shift);
        return;
    }
    FGrid->DoneInplaceEdit(Key, Shift);
    TNavigation *nav = FGrid->Navigation();
    if (nav->AdvanceOnEnter && nav->AdvanceAutoEdit)
        FGrid->ShowInplaceEdit();
    Key = 0;
    TControlT::KeyDown(Key, Shift);
}

template <class TControlT>
void TGridDropDownEditor<TControlT>::KeyPress(WideChar &Key)
{
    if (FGrid->OnKeyPress)
        FGrid->OnKeyPress(this, Key);
    if (Key == 27 || Key == 13 || Key == 9)
        Key = 0;
    TControlT::KeyPress(Key);
}

template <class TControlT>
void TGridDropDownEditor<TControlT>::Change()
{
    TControlT::Change();
    FGrid->EditorTextChanged(this->Text());
}

template <class TControlT>
void TGridDropDownEditor<TControlT>::DoExit()
{
    // Focus moving into the editor's own popup is no end of the edit.
    if (this->DroppedDown())
        return;
    FGrid->EditorExited();
    TControlT::DoExit();
}

template <class TControlT>
void TGridDropDownEditor<TControlT>::WMSetFocus(TWMSetFocus &Message)
{
    TControlT::WMSetFocus(Message);
    if (!CaretToMouse() || !FGrid->LButFlg)
        return;
    TPoint pt;
    GetCursorPos(pt);
    pt = this->ScreenToClient(pt);
    if (pt.X < 0 || pt.X > this->Width() || pt.Y < 0 || pt.Y > this->Height())
        return;
    const LRESULT r = this->Perform(EM_CHARFROMPOS, 0, MakeLParam(pt.X, pt.Y));
    if (r != -1) {
        const int k = LoWord(std::uintptr_t(r));
        this->SetSelStart(k);
        this->SetSelLength(0);
        FGrid->LButFlg = false;
    }
}

template class TGridDropDownEditor<TExtMemoDropDown>;
template class TGridDropDownEditor<TExtTrackBarDropDown>;
template class TGridDropDownEditor<TExtCalculatorDropdown>;
template class TGridDropDownEditor<TExtTimePickerDropDown>;
template class TGridDropDownEditor<TExtColorPickerDropDown>;
template class TGridDropDownEditor<TExtImagePickerDropDown>;
template class TGridDropDownEditor<TExtDetailDropDown>;
template class TGridDropDownEditor<TExtMultiColumnDropDown>;
template class TGridDropDownEditor<TCustomExtGridDropDown>;

TGridCalculatorDropDown::TGridCalculatorDropDown(TComponent *AOwner)
    : TGridDropDownEditor<TExtCalculatorDropdown>(AOwner)
{
}

// ---- the track-bar editor ----

TGridTrackbarDropDown::TGridTrackbarDropDown(TComponent *AOwner)
    : TGridDropDownEditor<TExtTrackBarDropDown>(AOwner)
{
    // In a cell the number is typed as well.
    SetEditorEnabled(true);
}

// ---- the time editor ----

TGridTimepickerDropDown::TGridTimepickerDropDown(TComponent *AOwner)
    : TGridDropDownEditor<TExtTimePickerDropDown>(AOwner)
{
    // The cell's own look shows the focus; the edit does not paint its value highlighted.
    FocusDraw = false;
}

// ---- the memo editor ----

UnicodeString MemoCellText(TExtMemoDropDown *Memo)
{
    UnicodeString t = Memo->MemoText()->Text();
    const UnicodeString br = Memo->MemoText()->LineBreak();
    if (t.endsWith(br))
        t.chop(br.length());
    return t;
}

TGridMemoDropDown::TGridMemoDropDown(TComponent *AOwner) : TGridDropDownEditor<TExtMemoDropDown>(AOwner) {}

UnicodeString TGridMemoDropDown::EditorText()
{
    return MemoCellText(this);
}

// ---- the grid's side ----

TGridTrackbarDropDown *TExtStringGrid::TrackbarDropDown()
{
    if (!EditTrackbarDropDown)
        EditTrackbarDropDown = PrepareDropDownEditor(NewDropDown<TGridTrackbarDropDown>(this));
    return EditTrackbarDropDown;
}

TGridCalculatorDropDown *TExtStringGrid::CalculatorDropDown()
{
    if (!EditCalculatorDropDown)
        EditCalculatorDropDown = PrepareDropDownEditor(NewDropDown<TGridCalculatorDropDown>(this));
    return EditCalculatorDropDown;
}

TGridMemoDropDown *TExtStringGrid::MemoDropDown()
{
    if (!EditMemoDropDown) {
        EditMemoDropDown = PrepareDropDownEditor(NewDropDown<TGridMemoDropDown>(this));
        EditMemoDropDown->OnMemoChange = [this](TObject *Sender) { MemoDropDownChange(Sender); };
    }
    return EditMemoDropDown;
}

template <class T>
T *TExtStringGrid::PrepareDropDownEditor(T *Editor)
{
    Editor->SetVisible(false);
    Editor->SetParent(this);
    // A new editor dresses as the grid does now; later changes reach it through the grid's
    // style setter.
    Editor->SetComponentStyle(FStyle);
    Editor->SetColorTones(FTones);
    Editor->OnDropDownHeaderButtonClick = [this](TObject *Sender, int Index) {
        DropDownHeaderButtonClick(Sender, Index);
    };
    Editor->OnDropDownFooterButtonClick = [this](TObject *Sender, int Index) {
        DropDownFooterButtonClick(Sender, Index);
    };
    return Editor;
}

TGridTimepickerDropDown *TExtStringGrid::TimePickerDropDown()
{
    if (!EditTimePickerDropDown)
        EditTimePickerDropDown = PrepareDropDownEditor(NewDropDown<TGridTimepickerDropDown>(this));
    return EditTimePickerDropDown;
}

// The picker editors are made in ExtGridPickers.cpp.
template TGridColorDropDown *TExtStringGrid::PrepareDropDownEditor(TGridColorDropDown *);
template TGridImageDropDown *TExtStringGrid::PrepareDropDownEditor(TGridImageDropDown *);
template TGridDetailPickerDropDown *TExtStringGrid::PrepareDropDownEditor(TGridDetailPickerDropDown *);

template TGridGridDropDown *TExtStringGrid::PrepareDropDownEditor(TGridGridDropDown *);
template TGridExtGridDropDown *TExtStringGrid::PrepareDropDownEditor(TGridExtGridDropDown *);

TExtCustomDropDown *TExtStringGrid::DropDownEditorOf(TEditorType Type)
{
    switch (Type) {
    case edTrackbarDropDown:
        return TrackbarDropDown();
    case edMemoDropDown:
        return MemoDropDown();
    case edCalculatorDropDown:
        return CalculatorDropDown();
    case edTimePickerDropDown:
        return TimePickerDropDown();
    case edGridDropDown:
        return GridDropDown();
    case edExtGridDropDown:
        return ExtGridDropDown();
    default:
        return PickerEditorOf(Type);
    }
}

bool TExtStringGrid::ShowDropDownEditor(int ACol, int ARow, const TRect &R, const UnicodeString &EditText)
{
    TExtCustomDropDown *d = DropDownEditorOf(EditControl);
    if (!d)
        return false;
    EditMode = true;
    d->DropDownFooter()->Assign(FControlLook->DropDownFooter);
    d->DropDownHeader()->Assign(FControlLook->DropDownHeader);
    DoGetEditorProp(ACol, ARow);
    d->SetBounds(R.Left, R.Top, 0, 0);
    d->SetEnabled(true);
    d->SetBorderStyle(bsNone);
    d->SetBounds(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1);
    switch (EditControl) {
    case edTrackbarDropDown: {
        int v = 0;
        if (TryStrToInt(EditText, v))
            TrackbarDropDown()->SetPosition(v);
        break;
    }
    case edMemoDropDown:
    case edCalculatorDropDown:
        d->SetText(EditText);
        break;
    case edTimePickerDropDown:
        d->SetEditorEnabled(true);
        d->SetText(EditText);
        break;
    case edGridDropDown:
    case edExtGridDropDown:
        SetGridPickerValue(EditText);
        break;
    default:
        ShowPickerValue(ACol, ARow, EditText);
        break;
    }
    d->SetColor(FEditorColor);
    d->SetVisible(true);
    if (d->CanFocus())
        d->SetFocus();
    // A picker that cannot be typed into takes no start character.
    if (FStartEditChar >= 32 && d->EditorEnabled()) {
        d->SelectAll();
        d->SetSelText(UnicodeString{QChar(char16_t(FStartEditChar))});
    } else if (EditControl == edMemoDropDown) {
        d->SetSelStart(0);
        d->SetSelLength(0);
    }
    EditCtrl = d;
    if (FMouseActions->DirectComboDrop) {
        d->ShowDropDown();
        if (EditControl == edMemoDropDown) {
            d->SetSelStart(0);
            d->SetSelLength(0);
        }
    }
    return true;
}

bool TExtStringGrid::CommitDropDownEditor(int ACol, int ARow)
{
    TExtCustomDropDown *d = DropDownEditorOf(EditControl);
    if (!d)
        return false;
    if (EditMode) {
        EditMode = false;
        if (d->DroppedDown())
            d->HideDropDown(false);
        if (EditControl == edMemoDropDown)
            WriteEditValue(ACol, ARow, MemoCellText(static_cast<TExtMemoDropDown *>(d)));
        else if (!CommitPickerValue(ACol, ARow))
            WriteEditValue(ACol, ARow, d->Text());
    }
    d->SetVisible(false);
    d->SetEnabled(false);
    return true;
}

void TExtStringGrid::DropDownHeaderButtonClick(TObject *, int ButtonIndex)
{
    if (OnDropDownHeaderButtonClick)
        OnDropDownHeaderButtonClick(this, Col(), Row(), ButtonIndex);
}

void TExtStringGrid::DropDownFooterButtonClick(TObject *, int ButtonIndex)
{
    if (OnDropDownFooterButtonClick)
        OnDropDownFooterButtonClick(this, Col(), Row(), ButtonIndex);
}

void TExtStringGrid::MemoDropDownChange(TObject *)
{
    if (EditMemoDropDown && EditMemoDropDown->Memo())
        SetEditText(Col(), Row(), EditMemoDropDown->Memo()->Text());
}
