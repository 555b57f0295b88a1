#include "dropdowns/ExtMemoDropDown.h"

#include "platform/Menus.h"

UnicodeString ShortenWithEllipsis(const UnicodeString &Line, int Available,
                                  const std::function<int(const UnicodeString &)> &Width)
{
    const UnicodeString Dots = QStringLiteral("...");
    UnicodeString s = Line;
    while (!s.isEmpty()) {
        s.chop(1);
        if (Width(s + Dots) < Available)
            return s + Dots;
    }
    // An edit too narrow even for the dots shows the line as it is and lets the edit clip it.
    return Line;
}

TExtMemoDropDown::TExtMemoDropDown(TComponent *AOwner)
    : TExtCustomDropDown(AOwner), FMemoText(std::make_unique<TStringList>())
{
    FMemoText->OnChange = [this](TObject *Sender) { MemoTextChanged(Sender); };
}

TExtMemoDropDown::~TExtMemoDropDown()
{
    FMemoText->OnChange = nullptr;
}

void TExtMemoDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!FMemo && DropDownForm()) {
        FMemo = new TMemo(this);
        FMemo->SetParent(DropDownForm());
        FMemo->SetHeight(100);
        FMemo->OnChange = [this](TObject *Sender) { MemoChange(Sender); };
        FMemo->SetBorderStyle(bsNone);
        // Typing goes into the memo as soon as the popup opens.
        FocusControl = FMemo;
    }
    SetControl(FMemo);
}

void TExtMemoDropDown::BeforeDropDown()
{
    TExtCustomDropDown::BeforeDropDown();
    if (DropDownForm())
        DropDownForm()->CancelOnDeActivate = false;
    if (!FMemo)
        return;
    FMemo->Lines()->Assign(FMemoText.get());
    FMemo->SetPopupMenu(FMemoPopup);
    FMemo->SetMaxLength(MaxLength());
    FMemo->SetScrollBars(FMemoScrollBars);
    FMemo->SetReadOnly(FMemoReadOnly);
}

void TExtMemoDropDown::DoHideDropDown(bool Cancel)
{
    // The edit takes the focus back as the popup closes; that must not open it again.
    const bool autoDrop = AutoDrop;
    AutoDrop = false;
    if (Cancel && FMemo)
        FMemo->Lines()->Assign(FMemoText.get());
    // The base puts back the edit text of the opening on a cancel; for a memo that text is one
    // display line, which must not replace the lines just restored.
    const bool internal = FInternalUpdate;
    FInternalUpdate = FInternalUpdate || Cancel;
    TExtCustomDropDown::DoHideDropDown(Cancel);
    FInternalUpdate = internal;
    if (Cancel)
        MemoTextChanged(FMemoText.get());
    AutoDrop = autoDrop;
}

void TExtMemoDropDown::DropDownHidden()
{
    TExtCustomDropDown::DropDownHidden();
    if (FMemo) {
        FMemoText->SetText(FMemo->Text());
        MemoTextChanged(FMemoText.get());
    }
    SetSelStart(0);
    SetSelLength(0);
}

void TExtMemoDropDown::ControlKeyDown(Word &Key, TShiftState Shift)
{
    if (Shift.Contains(ssAlt) || Key == VK_ESCAPE || Key == VK_F4)
    {
        TExtCustomDropDown::ControlKeyDown(Key, Shift);
        // Handled by the edit: the popup around the memo must not see it again.
        Key = 0;
    } else if ((Key == 'A' || Key == 'a') && Shift.Contains(ssCtrl) && FMemo)
        FMemo->SelectAll();
}

void TExtMemoDropDown::ControlKeyUp(Word &Key, TShiftState Shift)
{
    if (Shift.Contains(ssAlt) || Key == VK_ESCAPE || Key == VK_F4)
        TExtCustomDropDown::ControlKeyUp(Key, Shift);
}

void TExtMemoDropDown::ControlKeyPress(WideChar &Key)
{
    if (Key == WideChar(VK_ESCAPE) || GetKeyState(VK_MENU) < 0)
        TExtCustomDropDown::ControlKeyPress(Key);
}

void TExtMemoDropDown::DoEnter()
{
    TExtCustomDropDown::DoEnter();
    if (AutoDrop)
        DoShowDropDown();
}

void TExtMemoDropDown::SetMemoText(TStrings *Value)
{
    FMemoText->Assign(Value);
    if (FMemo)
        FMemo->Lines()->Assign(Value);
}

void TExtMemoDropDown::SetMemoPopup(TPopupMenu *Value)
{
    if (FMemoPopup == Value)
        return;
    if (FMemoPopup)
        FMemoPopup->RemoveFreeNotification(this);
    FMemoPopup = Value;
    if (FMemoPopup)
        FMemoPopup->FreeNotification(this);
}

void TExtMemoDropDown::Notification(TComponent *AComponent, TOperation Operation)
{
    TExtCustomDropDown::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMemoPopup)
        FMemoPopup = nullptr;
}

void TExtMemoDropDown::SetMemoReadOnly(bool Value)
{
    FMemoReadOnly = Value;
    if (FMemo && DroppedDown())
        FMemo->SetReadOnly(Value);
}

void TExtMemoDropDown::MemoChange(TObject *)
{
    if (OnMemoChange)
        OnMemoChange(this);
}

void TExtMemoDropDown::MemoTextChanged(TObject *)
{
    UnicodeString T;
    if (FMemoText->Count() == 0 || EditorEnabled()) {
        T = FMemoText->Text();
        // The list's text ends every line with a break; the edit shows the lines between them.
        const UnicodeString br = FMemoText->LineBreak();
        if (T.endsWith(br))
            T.chop(br.length());
    } else {
        T = FMemoText->Strings(0);
        TBitmap probe(1, 1);
        probe.Canvas()->Font()->Assign(Font());
        auto width = [&](const UnicodeString &S) { return probe.Canvas()->TextWidth(S); };
        const TRect r = GetEditRect();
        const int available = r.Right - r.Left;
        if (available > width(T)) {
            if (FMemoText->Count() > 1)
                T += QStringLiteral("...");
        } else {
            T = ShortenWithEllipsis(T, available, width);
        }
    }
    FInternalUpdate = true;
    SetTextInternal(T);
    FInternalUpdate = false;
}

void TExtMemoDropDown::Change()
{
    if (!FInternalUpdate) {
        auto handler = std::move(FMemoText->OnChange);
        FMemoText->OnChange = nullptr;
        FMemoText->SetText(GetText());
        FMemoText->OnChange = std::move(handler);
    }
    TExtCustomDropDown::Change();
}
