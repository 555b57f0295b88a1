// The spin edit: values by kind, stepping, the character filter, keys, focus and layout.
#include "dropdowns/EsgSpinEdit.h"

#include "platform/SysUtils.h"
#include "platform/Windows.h"

TEsgSpinEdit::TEsgSpinEdit(TComponent *AOwner) : TCustomMaskEdit(AOwner)
{
    FButton = new TEsgSpinButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    // Through the virtual slots, so that a subclass's overrides receive the clicks.
    FButton->OnUpClick = [this](TObject *Sender) { UpClick(Sender); };
    FButton->OnDownClick = [this](TObject *Sender) { DownClick(Sender); };
    SetText(QStringLiteral("0"));
    TControlStyle style = ControlStyle();
    style.Exclude(csSetCaption);
    SetControlStyle(style);
}

TEsgSpinEdit::~TEsgSpinEdit()
{
    FButton = nullptr;
}

// ---- limits ----

int TEsgSpinEdit::CheckValue(int Value) const
{
    if (MinValue == MaxValue)
        return Value;
    if (Value < MinValue)
        return MinValue;
    if (Value > MaxValue)
        return MaxValue;
    return Value;
}

double TEsgSpinEdit::CheckFloatValue(double Value) const
{
    if (MinFloatValue == MaxFloatValue)
        return Value;
    if (Value < MinFloatValue)
        return MinFloatValue;
    if (Value > MaxFloatValue)
        return MaxFloatValue;
    return Value;
}

TDateTime TEsgSpinEdit::CheckDateValue(TDateTime Value) const
{
    if (MinDateValue == MaxDateValue)
        return Value;
    if (Value < MinDateValue)
        return MinDateValue;
    if (Value > MaxDateValue)
        return MaxDateValue;
    return Value;
}

// ---- values ----

int TEsgSpinEdit::GetValue()
{
    const UnicodeString s = Text().trimmed();
    if (s.isEmpty())
        return 0;
    int v = 0;
    return TryStrToInt(s, v) ? v : MinValue;
}

void TEsgSpinEdit::SetValue(int Value)
{
    SetText(IntToStr(CheckValue(Value)));
    if (!FEditorEnabled)
        SelectAll();
}

double TEsgSpinEdit::GetFloatValue()
{
    double v = 0;
    return TryStrToFloat(Text(), v) ? v : MinFloatValue;
}

void TEsgSpinEdit::SetFloatValue(double Value)
{
    const double y = CheckFloatValue(Value);
    SetText(FPrecision != 0 ? FloatToStrF(y, TFloatFormat::ffFixed, 15, FPrecision) : FloatToStr(y));
}

TDateTime TEsgSpinEdit::GetDateValue()
{
    const UnicodeString s = Text();
    if (s.isEmpty() || s == QLatin1String("0"))
        return Now();
    TDateTime d = 0;
    return TryStrToDate(s, d) ? d : MinDateValue;
}

void TEsgSpinEdit::SetDateValue(TDateTime Value)
{
    FDateValue = Value;
    if (ComponentState().Contains(TComponentStateItem::csLoading))
        return;
    FDateValue = CheckDateValue(Value);
    const int caret = SelStart();
    SetText(DateToStr(FDateValue));
    TCustomMaskEdit::SetSelStart(caret);
}

TDateTime TEsgSpinEdit::GetTimeValue()
{
    TDateTime t = 0;
    return TryStrToTime(Text(), t) ? t : 0;
}

void TEsgSpinEdit::WriteTimeText(TDateTime Value)
{
    SetText(ShowSeconds ? TimeToStr(Value) : FormatDateTime(QStringLiteral("h:nn"), Value));
}

void TEsgSpinEdit::SetTimeValue(TDateTime Value)
{
    FTimeValue = Value;
    if (ComponentState().Contains(TComponentStateItem::csLoading))
        return;
    FTimeValue = CheckDateValue(Value);
    const int caret = SelStart();
    WriteTimeText(FTimeValue);
    TCustomMaskEdit::SetSelStart(caret);
}

void TEsgSpinEdit::SetSpinType(TEsgSpinType Value)
{
    FSpinType = Value;
    switch (Value) {
    case sptNormal: SetValue(GetValue()); break;
    case sptFloat: SetFloatValue(GetFloatValue()); break;
    case sptDate: SetDateValue(GetDateValue()); break;
    case sptTime: SetTimeValue(GetTimeValue()); break;
    }
}

void TEsgSpinEdit::SetPrecision(int Value)
{
    FPrecision = Value;
    if (FSpinType == sptFloat)
        SetFloatValue(GetFloatValue());
}

void TEsgSpinEdit::Loaded()
{
    TCustomMaskEdit::Loaded();
    if (FSpinType == sptDate)
        SetText(DateToStr(FDateValue));
    else if (FSpinType == sptTime)
        WriteTimeText(FTimeValue);
    SetSpinType(FSpinType);
}

// ---- stepping ----

int TEsgSpinEdit::CaretField(QChar Separator)
{
    const UnicodeString s = Text();
    const int p = SelStart();
    const int p1 = s.indexOf(Separator) + 1;
    const int p2 = p1 > 0 ? s.indexOf(Separator, p1) + 1 : 0;
    if (p < p1)
        return 0;
    if (p < p2)
        return 1;
    return 2;
}

void TEsgSpinEdit::Step(int Sign, bool PageStep)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    switch (FSpinType) {
    case sptNormal:
        SetValue(GetValue() + Sign * Increment);
        break;
    case sptFloat:
        SetFloatValue(GetFloatValue() + Sign * (PageStep ? IncrementFloatPage : IncrementFloat));
        break;
    case sptDate: {
        const UnicodeString fmt = FormatSettings.ShortDateFormat.toUpper();
        const int m = fmt.indexOf(QLatin1Char('M'));
        const int d = fmt.indexOf(QLatin1Char('D'));
        FUsDates = m >= 0 && (d < 0 || m < d);
        const int field = CaretField(FormatSettings.DateSeparator);
        enum { Day, Month, Year } what = field == 2 ? Year : (field == 0) == FUsDates ? Month : Day;
        TDateTime value = GetDateValue();
        if (what == Day) {
            value += Sign;
        } else if (what == Month) {
            value = IncMonth(value, Sign);
        } else {
            Word y = 0, mo = 0, dd = 0;
            DecodeDate(value, y, mo, dd);
            const Word ny = static_cast<Word>(y + Sign);
            // Like the month step, a year step cuts the day to the length of the new month.
            if (mo == 2 && dd == 29 && !IsLeapYear(ny))
                dd = 28;
            value = EncodeDate(ny, mo, dd);
        }
        SetDateValue(value);
        break;
    }
    case sptTime: {
        const int field = CaretField(FormatSettings.TimeSeparator);
        TDateTime step = 0;
        if (field == 0)
            step = EncodeTime(static_cast<Word>(IncrementHours), 0, 0, 0);
        else if (field == 1 || !ShowSeconds)
            step = EncodeTime(0, static_cast<Word>(IncrementMinutes), 0, 0);
        else
            step = EncodeTime(0, 0, static_cast<Word>(IncrementSeconds), 0);
        if (Sign > 0) {
            SetTimeValue(GetTimeValue() + step);
        } else {
            TDateTime x = GetTimeValue() + 1 - step;
            if (x > 1)
                x -= 1;
            SetTimeValue(x);
        }
        break;
    }
    }
}

void TEsgSpinEdit::StepUp(bool PageStep)
{
    Step(1, PageStep);
}

void TEsgSpinEdit::StepDown(bool PageStep)
{
    Step(-1, PageStep);
}

void TEsgSpinEdit::UpClick(TObject *)
{
    StepUp(false);
}

void TEsgSpinEdit::DownClick(TObject *)
{
    StepDown(false);
}

// ---- typing ----

bool TEsgSpinEdit::IsValidChar(WideChar KeyChar)
{
    const QChar Key(KeyChar);
    if (Key.unicode() == 8)
        return FEditorEnabled;
    const TFormatSettings &fs = FormatSettings;
    const UnicodeString text = Text();
    const ushort code = Key.unicode();
    bool v = Key == fs.DecimalSeparator || Key == fs.ThousandSeparator || Key == fs.TimeSeparator
             || Key == fs.DateSeparator || Key.isNumber() || Key == QLatin1Char('-') || (code < 32 && code != 13);
    const bool numeric = FSpinType == sptNormal || FSpinType == sptFloat;
    // A separator of another kind passes only where it doubles as a number character.
    auto sharesNumberChar = [&fs](QChar Sep) {
        return Sep == fs.DecimalSeparator || Sep == fs.ThousandSeparator || Sep == QLatin1Char('-')
               || Sep == QLatin1Char('+');
    };
    if (Key == fs.TimeSeparator && FSpinType != sptTime)
        v = v && sharesNumberChar(fs.TimeSeparator) && numeric;
    if (Key == fs.DateSeparator && FSpinType != sptDate) {
        const bool dateShared = sharesNumberChar(fs.DateSeparator);
        v = v && dateShared && numeric;
    }
    if (Key == QLatin1Char('-')) {
        if (!text.contains(QLatin1Char('-')))
            v = v && SelStart() == 0;
        else
            v = v && SelText().contains(QLatin1Char('-')) && SelStart() == 0;
    }
    if (FSpinType == sptNormal)
        v = v && (Key.isNumber() || Key == QLatin1Char('-'));
    if (FSpinType == sptFloat && code != 27 && code != 13 && code != 8) {
        if (Key == fs.ThousandSeparator)
            v = false;
        if (Key == fs.DecimalSeparator && text.contains(fs.DecimalSeparator) && !SelText().contains(fs.DecimalSeparator))
            v = false;
        const int d = text.indexOf(fs.DecimalSeparator) + 1;
        if (FPrecision > 0 && d > 0 && SelStart() >= d && SelLength() == 0 && v && text.size() >= d + FPrecision)
            v = false;
    }
    if (FSpinType == sptTime && Key == fs.TimeSeparator && text.count(fs.TimeSeparator) >= 2)
        v = false;
    if (!FEditorEnabled && code >= 32)
        v = false;
    return v;
}

void TEsgSpinEdit::KeyPress(WideChar &Key)
{
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0)
        TCustomMaskEdit::KeyPress(Key);
}

void TEsgSpinEdit::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_RETURN && ReturnIsTab) {
        Key = VK_TAB;
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    // The window deletes on the key-down of Backspace already, before its character is filtered.
    if ((Key == VK_DELETE || Key == VK_BACK) && !FEditorEnabled)
        Key = 0;
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TEsgSpinEdit::WMKeyDown(TWMKey &Message)
{
    switch (Message.CharCode) {
    case VK_PRIOR: StepUp(true); break;
    case VK_NEXT: StepDown(true); break;
    case VK_UP: StepUp(false); break;
    case VK_DOWN: StepDown(false); break;
    default: TCustomMaskEdit::WMKeyDown(Message); return;
    }
    Message.Result = 0;
}

void TEsgSpinEdit::WMChar(TWMKey &Message)
{
    // Bit 22 is the top bit of the numeric keypad's decimal key scan code ($53); the main
    // keyboard's full stop ($34) lacks it.
    constexpr LPARAM KeypadBit = LPARAM(1) << 22;
    if (Message.CharCode == '.' && ExcelStyleDecimalSeparator && (Message.KeyData & KeypadBit) != 0)
        Message.CharCode = FormatSettings.DecimalSeparator.unicode();
    TCustomMaskEdit::WMChar(Message);
}

void TEsgSpinEdit::WMPaste(TMessage &Message)
{
    if (FEditorEnabled && !ReadOnly())
        TCustomMaskEdit::WMPaste(Message);
}

void TEsgSpinEdit::WMCut(TMessage &Message)
{
    if (FEditorEnabled && !ReadOnly())
        TCustomMaskEdit::WMCut(Message);
}

// ---- focus ----

void TEsgSpinEdit::CMEnter(TCMEnter &Message)
{
    // A click that puts the caret somewhere keeps it there while typing is allowed.
    if (AutoSelect() && !(GetKeyState(VK_LBUTTON) < 0 && FEditorEnabled))
        SelectAll();
    TCustomMaskEdit::CMEnter(Message);
}

void TEsgSpinEdit::CMExit(TCMExit &Message)
{
    TCustomMaskEdit::CMExit(Message);
    switch (FSpinType) {
    case sptNormal:
        if (CheckValue(GetValue()) != GetValue())
            SetValue(GetValue());
        break;
    case sptFloat:
        if (CheckFloatValue(GetFloatValue()) != GetFloatValue())
            SetFloatValue(GetFloatValue());
        break;
    case sptDate:
        if (CheckDateValue(GetDateValue()) != GetDateValue())
            SetDateValue(GetDateValue());
        break;
    case sptTime:
        if (CheckDateValue(GetTimeValue()) != GetTimeValue())
            SetTimeValue(GetTimeValue());
        break;
    }
}

// ---- window and layout ----

void TEsgSpinEdit::CreateParams(TCreateParams &Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (FEditAlign == eaRight)
        Params.Style = (Params.Style | ES_RIGHT) & ~ES_CENTER;
    else if (FEditAlign == eaCenter)
        Params.Style = (Params.Style | ES_CENTER) & ~ES_RIGHT;
}

void TEsgSpinEdit::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TEsgSpinEdit::SetEditAlign(TEditAlign Value)
{
    FEditAlign = Value;
    SetAlignment(Value == eaRight ? taRightJustify : Value == eaCenter ? taCenter : taLeftJustify);
    if (HandleAllocated())
        RecreateWnd();
}

void TEsgSpinEdit::SetEditRect()
{
    if (!FButton)
        return;
    const int m = BorderStyle() == bsNone ? 3 : 0;
    SetFormattingRect(TRect(m, m, ClientWidth() - FButton->Width() - m - 2, ClientHeight() + 1));
}

int TEsgSpinEdit::GetMinHeight()
{
    TBitmap probe;
    probe.SetSize(1, 1);
    TCanvas *c = probe.Canvas();
    const int s = c->TextHeight(QStringLiteral("0"));
    c->Font()->Assign(Font());
    const int f = c->TextHeight(QStringLiteral("0"));
    const int i = std::min(s, f);
    int result = f + i / 4 + 2;
    if (BorderStyle() == bsSingle)
        result += 4 * GetSystemMetrics(SM_CYBORDER);
    return result;
}

void TEsgSpinEdit::WMSize(TWMSize &Message)
{
    TCustomMaskEdit::WMSize(Message);
    const int minHeight = GetMinHeight();
    if (Height() < minHeight) {
        SetHeight(minHeight);
        return;
    }
    if (!FButton)
        return;
    if (Ctl3D()) {
        const int d = BorderStyle() == bsNone ? 1 : 5;
        FButton->SetBounds(Width() - FButton->Width() - d, 0, FButton->Width(), Height() - d);
    } else {
        FButton->SetBounds(Width() - FButton->Width(), 1, FButton->Width(), Height() - 3);
    }
    SetEditRect();
}

void TEsgSpinEdit::ForceLayout()
{
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TEsgSpinEdit::SetDirection(TSpinDirection Value)
{
    FDirection = Value;
    FButton->SetDirection(Value);
    ForceLayout();
}

void TEsgSpinEdit::SetSpinTransparent(bool Value)
{
    FButton->UpButton()->SetTransparent(Value);
    FButton->DownButton()->SetTransparent(Value);
    FSpinTransparent = Value;
    ForceLayout();
}

void TEsgSpinEdit::SetSpinFlat(bool Value)
{
    FButton->UpButton()->SetFlat(Value);
    FButton->DownButton()->SetFlat(Value);
    FSpinFlat = Value;
}

void TEsgSpinEdit::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FButton->SetIsWinXP(Value);
}
