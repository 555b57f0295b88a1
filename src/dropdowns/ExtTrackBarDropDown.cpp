#include "dropdowns/ExtTrackBarDropDown.h"

#include "platform/SysUtils.h"

TExtTrackBarDropDown::TExtTrackBarDropDown(TComponent *AOwner) : TExtCustomDropDown(AOwner)
{
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetEditType(etNumeric);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    ForceShadow = true;
}

void TExtTrackBarDropDown::AfterConstruction()
{
    TExtCustomDropDown::AfterConstruction();
    SetTextInternal(IntToStr(FPosition));
}

void TExtTrackBarDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!FTrackBar && DropDownForm()) {
        FTrackBar = new TTrackBar(this);
        FTrackBar->SetParent(DropDownForm());
        FTrackBar->SetLeft(0);
        FTrackBar->SetTop(0);
        FTrackBar->SetHeight(40);
        FocusControl = FTrackBar;
    }
    if (FTrackBar)
        FTrackBar->OnChange = [this](TObject *Sender) { TrackBarChange(Sender); };
}

void TExtTrackBarDropDown::BeforeDropDown()
{
    TExtCustomDropDown::BeforeDropDown();
    // A click elsewhere closes the popup keeping the value.
    if (DropDownForm())
        DropDownForm()->CancelOnDeActivate = false;
    FPositionAtDropDown = FPosition;
    SetControl(FTrackBar);
    if (FTrackBar) {
        // The popup is sized around the track bar's own size, not the one its last stretch left.
        FTrackBar->SetAlign(alNone);
        FTrackBar->SetBounds(0, 0, Width(), 40);
        FTrackBar->SetMin(FMin);
        FTrackBar->SetMax(FMax);
        FTrackBar->SetPosition(FPosition);
        FTrackBar->SetPageSize(FPageSize);
        FTrackBar->SetFrequency(FFrequency);
    }
}

void TExtTrackBarDropDown::AdaptDropDownHeight(int &H)
{
    // The popup is exactly the track bar's height, lower than a popup's usual minimum.
    if (!DropDownForm() || DropDownHeight() > 0)
        return;
    DropDownForm()->Constraints()->SetMinHeight(0);
    H = 2 * DropDownBorderWidth + 40;
}

void TExtTrackBarDropDown::DoHideDropDown(bool Cancel)
{
    const bool wasOpen = DroppedDown();
    TExtCustomDropDown::DoHideDropDown(Cancel);
    // The text of the opening may not read back as the position it showed (an empty text).
    if (Cancel && wasOpen)
        SetPosition(FPositionAtDropDown);
}

void TExtTrackBarDropDown::ControlKeyDown(Word &Key, TShiftState Shift)
{
    const bool edit = !EditorEnabled() && !Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN);
    TExtCustomDropDown::ControlKeyDown(Key, Shift);
    // The edit's step has moved the track bar already, and a key that closed the popup is
    // spent: the track bar must not step a second time.
    if (edit || !DroppedDown())
        Key = 0;
}

void TExtTrackBarDropDown::SetMin(int Value)
{
    FMin = Value;
    if (FTrackBar) {
        FTrackBar->SetMin(Value);
        FMin = FTrackBar->Min();
        FMax = FTrackBar->Max();
    }
}

void TExtTrackBarDropDown::SetMax(int Value)
{
    FMax = Value;
    if (FTrackBar) {
        FTrackBar->SetMax(Value);
        FMin = FTrackBar->Min();
        FMax = FTrackBar->Max();
    }
}

void TExtTrackBarDropDown::SetPosition(int Value)
{
    FPosition = Value;
    if (FTrackBar) {
        FTrackBar->SetPosition(Value);
        FPosition = FTrackBar->Position();
    }
    // The edit shows the stored value also when the track bar did not move.
    const UnicodeString t = IntToStr(FPosition);
    if (Text() != t)
        SetTextInternal(t);
}

void TExtTrackBarDropDown::SetPageSize(int Value)
{
    FPageSize = Value;
    if (FTrackBar)
        FTrackBar->SetPageSize(Value);
}

void TExtTrackBarDropDown::SetFrequency(int Value)
{
    FFrequency = Value;
    if (FTrackBar)
        FTrackBar->SetFrequency(Value);
}

void TExtTrackBarDropDown::TrackBarChange(TObject *)
{
    if (!FTrackBar)
        return;
    FPosition = FTrackBar->Position();
    SetTextInternal(IntToStr(FPosition));
    if (OnTrackChange)
        OnTrackChange(this);
}

void TExtTrackBarDropDown::Change()
{
    TExtCustomDropDown::Change();
    // A text that is no integer (while typing a sign, or empty) leaves the position.
    int v = 0;
    if (TryStrToInt(GetText(), v) && v != FPosition)
        SetPosition(v);
}

void TExtTrackBarDropDown::WMKeyDown(TWMKey &Message)
{
    const Word key = Message.CharCode;
    TExtCustomDropDown::WMKeyDown(Message);
    if (EditorEnabled() || GetKeyState(VK_MENU) < 0)
        return;
    if (key == VK_UP && FPosition - FFrequency >= FMin)
        SetPosition(FPosition - FFrequency);
    else if (key == VK_DOWN && FPosition + FFrequency <= FMax)
        SetPosition(FPosition + FFrequency);
}

void TExtTrackBarDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtCustomDropDown::MouseDown(Button, Shift, X, Y);
    if (!Draggable())
        return;
    FMouseX = X;
    FMouseDragging = true;
}

void TExtTrackBarDropDown::MouseMove(TShiftState Shift, int X, int Y)
{
    TExtCustomDropDown::MouseMove(Shift, X, Y);
    if (!FMouseDragging || !Draggable())
        return;
    const int d = X - FMouseX;
    FMouseX = X;
    // Without a page size there is no step to drag by.
    if (FPageSize != 0 && d / FPageSize != 0)
        SetPosition(FPosition + d / FPageSize);
}

void TExtTrackBarDropDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtCustomDropDown::MouseUp(Button, Shift, X, Y);
    FMouseDragging = false;
}
