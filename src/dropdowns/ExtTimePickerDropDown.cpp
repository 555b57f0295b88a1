#include "dropdowns/ExtTimePickerDropDown.h"

#include "platform/ComCtrls.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"

#include <cmath>

namespace {

QChar Sep()
{
    return FormatSettings.TimeSeparator;
}

UnicodeString TwoDigits(int V)
{
    return QStringLiteral("%1").arg(V, 2, 10, QLatin1Char('0'));
}

bool IsDigit(QChar C)
{
    return C >= QLatin1Char('0') && C <= QLatin1Char('9');
}

} // namespace

TExtTimePickerDropDown::TExtTimePickerDropDown(TComponent *AOwner)
    : TExtCustomDropDown(AOwner), FWatchAppearance(std::make_unique<TWatchAppearance>()),
      FWatchSettings(std::make_unique<TWatchSettings>())
{
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
}

void TExtTimePickerDropDown::AfterConstruction()
{
    TExtCustomDropDown::AfterConstruction();
    FInternalCall = true;
    SetEditMask(MaskFor(true));
    SetTextInternal(FormatTime(0));
    FInternalCall = false;
}

TExtTimePickerDropDown::~TExtTimePickerDropDown()
{
    if (FWatch)
        FWatch->OnChange = nullptr;
    if (FPicker)
        FPicker->OnChange = nullptr;
}

UnicodeString TExtTimePickerDropDown::FormatTime(TDateTime Value) const
{
    Word h, m, s, ms;
    DecodeTime(Value, h, m, s, ms);
    UnicodeString t = TwoDigits(h) + Sep() + TwoDigits(m);
    if (FShowSeconds)
        t += Sep() + TwoDigits(s);
    return t;
}

UnicodeString TExtTimePickerDropDown::MaskFor(bool Seconds) const
{
    return Seconds ? QStringLiteral("!90") + Sep() + QStringLiteral("00") + Sep() + QStringLiteral("00;1; ")
                   : QStringLiteral("!90") + Sep() + QStringLiteral("00;1; ");
}

// ---- the popup ----

void TExtTimePickerDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm())
        return;
    if (!FPanel) {
        FPanel = new TPanel(this);
        FPanel->SetParent(DropDownForm());
        FPanel->SetBevelOuter(bvNone);
        FPanel->SetBevelInner(bvNone);
        FPanel->SetBorderWidth(0);
    }
    FPanel->SetBounds(0, 0, FPanel->Width(), 180);
    if (!FWatch) {
        FWatch = new TExtWatch(this);
        FWatch->SetParent(FPanel);
        FWatch->SetAlign(alClient);
    }
    SetControl(FPanel);
}

void TExtTimePickerDropDown::BeforeDropDown()
{
    TExtCustomDropDown::BeforeDropDown();
    FTimeAtDropDown = FTime;
    if (!FPanel || !FWatch)
        return;
    FPanel->SetBounds(FPanel->Left(), FPanel->Top(), 170, 170);
    if (TDropDownForm *f = DropDownForm()) {
        // Lays the popup out afresh around the new panel size.
        f->SetWidth(f->Width() + 1);
        f->SetWidth(f->Width() - 1);
        f->CancelOnDeActivate = false;
    }
    FPanel->SetColor(DropDownColor());
    FWatch->SetAppearance(FWatchAppearance.get());
    FWatch->SetSettings(FWatchSettings.get());
    FWatch->SetShowAMPM(ShowWatchAMPM);
    FWatch->SetShowNumbers(ShowWatchNumbers);
    FWatch->SetAnimation(Animation);
    FWatch->SetAnimationFactor(FAnimationFactor);
    FWatch->OnChange = nullptr;
    if (!FWatchSettings->Auto())
        FWatch->SetTime(FTime);
    FWatch->OnChange = [this](TObject *Sender) { WatchChanged(Sender); };
    if (!ShowTimePicker) {
        if (FPicker)
            FPicker->SetVisible(false);
        return;
    }
    if (!FPicker) {
        FPicker = new TDateTimePicker(this);
        FPicker->SetParent(FPanel);
        FPicker->SetKind(dtkTime);
    }
    FPicker->OnChange = nullptr;
    FPicker->SetAlign(alBottom);
    FPicker->SetVisible(true);
    FPicker->SetTime(FTime);
    FPicker->BringToFront();
    FPicker->OnChange = [this](TObject *Sender) { PickerChanged(Sender); };
    FPicker->OnKeyDown = [this](TObject *, Word &Key, TShiftState Shift) { ControlKeyDown(Key, Shift); };
    FPicker->OnKeyUp = [this](TObject *, Word &Key, TShiftState Shift) { ControlKeyUp(Key, Shift); };
    FPicker->OnKeyPress = [this](TObject *, WideChar &Key) { ControlKeyPress(Key); };
    FPicker->SetFormat(FShowSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    FPanel->SetHeight(FPicker->Height() + 170);
}

void TExtTimePickerDropDown::DoHideDropDown(bool Cancel)
{
    const bool wasOpen = DroppedDown();
    TExtCustomDropDown::DoHideDropDown(Cancel);
    if (!wasOpen)
        return;
    if (!Cancel) {
        if (FWatch)
            SetTime(FWatch->Time());
        return;
    }
    // The value of the opening comes back whole: the hidden popup took the watch's time and the
    // base's restore wrote a text of its own.
    FTime = FTimeAtDropDown + 1;
    SetTime(FTimeAtDropDown);
    FTime = FTimeAtDropDown;
    if (FWatch) {
        const TNotifyEvent keep = FWatch->OnChange;
        FWatch->OnChange = nullptr;
        FWatch->SetTime(FTimeAtDropDown);
        FWatch->OnChange = keep;
    }
}

void TExtTimePickerDropDown::DropDownHidden()
{
    TExtCustomDropDown::DropDownHidden();
    if (FWatch)
        SetTime(FWatch->Time());
}

bool TExtTimePickerDropDown::PopupKey(Word Key, TShiftState Shift)
{
    return (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN) && !Shift.Contains(ssAlt);
}

void TExtTimePickerDropDown::FormKeyDown(Word &Key, TShiftState Shift)
{
    if (!PopupKey(Key, Shift))
        TExtCustomDropDown::FormKeyDown(Key, Shift);
    // The watch's commands are letters; 97 and 112 are the virtual keys Numpad 1 and F1 here.
    if (DroppedDown() && FWatch && Key != 97 && Key != 112)
        FWatch->HandleKey(Key);
}

void TExtTimePickerDropDown::FormKeyUp(Word &Key, TShiftState Shift)
{
    if (!PopupKey(Key, Shift))
        TExtCustomDropDown::FormKeyUp(Key, Shift);
}

void TExtTimePickerDropDown::ControlKeyDown(Word &Key, TShiftState Shift)
{
    if (!PopupKey(Key, Shift))
        TExtCustomDropDown::ControlKeyDown(Key, Shift);
}

void TExtTimePickerDropDown::ControlKeyUp(Word &Key, TShiftState Shift)
{
    if (!PopupKey(Key, Shift))
        TExtCustomDropDown::ControlKeyUp(Key, Shift);
}

void TExtTimePickerDropDown::ControlKeyPress(WideChar &Key)
{
    const bool popup = Key == 33 || Key == 34 || Key == 38 || Key == 40;
    if (!popup || GetKeyState(VK_MENU) < 0)
        TExtCustomDropDown::ControlKeyPress(Key);
}

void TExtTimePickerDropDown::SetComponentStyle(TQRVStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    if (FWatchAppearance)
        ApplyStyleColors(FWatchAppearance.get(), AStyle);
}

void TExtTimePickerDropDown::WatchChanged(TObject *)
{
    if (!FWatch)
        return;
    if (FPicker && ShowTimePicker) {
        const TDateTime w = FWatch->Time();
        const double dayPart = w - std::floor(w);
        if (std::abs(FPicker->Time() - dayPart) > 0.5 / 86400000.0) {
            FPicker->SetTime(w);
            if (OnTimeChange)
                OnTimeChange(this);
        }
    }
    SetTime(FWatch->Time());
}

void TExtTimePickerDropDown::PickerChanged(TObject *)
{
    if (FWatch && !FWatchSettings->Auto())
        FWatch->SetTime(FPicker->Time());
}

// ---- the value ----

void TExtTimePickerDropDown::SetTime(TDateTime Value)
{
    if (Value == FTime)
        return;
    FTime = Value;
    // The text passes through Change, which reads the time of day shown back into Time.
    SetTextInternal(FormatTime(Value));
    if (!DroppedDown())
        return;
    if (FWatch)
        FWatch->SetTime(Value);
    if (FPicker && ShowTimePicker)
        FPicker->SetTime(Value);
}

void TExtTimePickerDropDown::SetShowSeconds(bool Value)
{
    if (FShowSeconds == Value)
        return;
    FShowSeconds = Value;
    FInternalCall = true;
    SetEditMask(QString());
    SetTextInternal(QString());
    SetEditMask(MaskFor(Value));
    FInternalCall = false;
    const TDateTime keep = FTime;
    FTime = keep + 1;
    SetTime(keep);
}

void TExtTimePickerDropDown::SetHourPart(int Value)
{
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (Value == h || Value < 0 || Value > 23)
        return;
    SetTime(EncodeTime(static_cast<Word>(Value), m, s, ms));
    if (OnTimeChange)
        OnTimeChange(this);
}

void TExtTimePickerDropDown::SetMinutePart(int Value)
{
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (Value == m || Value < 0 || Value > 59)
        return;
    SetTime(EncodeTime(h, static_cast<Word>(Value), s, ms));
    if (OnTimeChange)
        OnTimeChange(this);
}

void TExtTimePickerDropDown::SetSecondPart(int Value)
{
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (Value == s || Value < 0 || Value > 59)
        return;
    SetTime(EncodeTime(h, m, static_cast<Word>(Value), ms));
    if (OnTimeChange)
        OnTimeChange(this);
}

void TExtTimePickerDropDown::KeyDown(Word &Key, TShiftState Shift)
{
    // The masked edit takes Up and Down for nothing; the step reads the key as pressed.
    const Word pressed = Key;
    TExtCustomDropDown::KeyDown(Key, Shift);
    if (pressed != VK_UP && pressed != VK_DOWN)
        return;
    if (GetKeyState(VK_MENU) < 0 || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl))
        return;
    const UnicodeString t = Text();
    const int c = TCustomMaskEdit::SelStart();
    const int p1 = t.indexOf(Sep()) + 1;
    const bool up = pressed == VK_UP;
    Word h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    // Up lowers and Down raises; no carry into the next field.
    auto stepped = [up](int V, int Top) { return up ? (V == 0 ? Top : V - 1) : (V == Top ? 0 : V + 1); };
    if (c < p1) {
        SetHourPart(stepped(h, 23));
    } else {
        const UnicodeString t2 = t.mid(p1);
        const int p2 = t2.indexOf(Sep()) + 1;
        if (p2 > 0 && c - p1 >= p2 && FShowSeconds)
            SetSecondPart(stepped(s, 59));
        else
            SetMinutePart(stepped(m, 59));
    }
    TCustomMaskEdit::SetSelStart(c);
}

void TExtTimePickerDropDown::Change()
{
    TExtCustomDropDown::Change();
    if (FInternalCall)
        return;
    UnicodeString t = Text().trimmed();
    if (t.length() != (FShowSeconds ? 8 : 5))
        return;
    if (t.count(Sep()) != (FShowSeconds ? 2 : 1))
        return;
    t.replace(QLatin1Char(' '), QLatin1Char('0'));
    const QStringList parts = t.split(Sep());
    int v[3] = {0, 0, 0};
    for (int i = 0; i < parts.size() && i < 3; ++i) {
        const UnicodeString p = parts[i].trimmed();
        if ((p.length() > 0 && !IsDigit(p[0])) || (p.length() > 1 && !IsDigit(p[1])))
            return;
        bool ok = true;
        v[i] = p.isEmpty() ? 0 : p.toInt(&ok);
        if (!ok)
            return;
    }
    // A time of day that does not exist is left like an incomplete one.
    if (v[0] > 23 || v[1] > 59 || v[2] > 59)
        return;
    FTime = EncodeTime(static_cast<Word>(v[0]), static_cast<Word>(v[1]), static_cast<Word>(v[2]), 0);
    if (v[1] == 0 && v[2] == 0 && FormatTime(FTime) != Text()) {
        FInternalCall = true;
        SetTextInternal(FormatTime(FTime));
        FInternalCall = false;
    }
}
