#include "dropdowns/ExtCalculatorDropDown.h"

#include "platform/SysUtils.h"

#include <cmath>

namespace {

QChar DecimalChar()
{
    return DecimalSeparatorChar();
}

QChar ThousandChar()
{
    return ThousandSeparatorChar();
}

bool IsNumberChar(QChar C)
{
    return C.isNumber();
}

const UnicodeString ErrorText = QStringLiteral("Error");

} // namespace

TExtCalculatorDropdown::TExtCalculatorDropdown(TComponent *AOwner)
    : TExtCustomDropDown(AOwner), FCalcButtonAppearance(std::make_unique<TButtonAppearance>())
{
    SetDropDownColor(clWhite);
    SetDropDownWidth(230);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetEditType(etFloat);
    SetPrecision(2);
}

TExtCalculatorDropdown::~TExtCalculatorDropdown() = default;

void TExtCalculatorDropdown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm())
        return;
    if (!FPanel) {
        FPanel = new TCustomButtonPanel(this);
        FPanel->SetParent(DropDownForm());
        FPanel->SetHostDropDown(this);
        FPanel->SetHeight(150);
        FPanel->BuildButtons();
    }
    SetControl(FPanel);
    FPanel->OnButtonClick = [this](TObject *Sender, int Index) { ButtonClick(Sender, Index); };
}

void TExtCalculatorDropdown::BeforeDropDown()
{
    TExtCustomDropDown::BeforeDropDown();
    // A click elsewhere closes the popup keeping the value.
    if (DropDownForm())
        DropDownForm()->CancelOnDeActivate = false;
    if (FPanel) {
        FPanel->SetButtonAppearance(FCalcButtonAppearance.get());
        FPanel->SetColor(DropDownColor());
        FPanel->ArrangeButtons();
    }
    FNewNumber = true;
    FDivisor = 0;
    FCalcClosed = false;
}

void TExtCalculatorDropdown::SetComponentStyle(TQRVStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    if (!FCalcButtonAppearance)
        return;
    TExtButtonAppearance *b = ButtonAppearance();
    TButtonAppearance *c = FCalcButtonAppearance.get();
    c->SetBorderColor(b->BorderColor());
    c->SetBorderColorHot(b->BorderColorHot());
    c->SetBorderColorDown(b->BorderColorDown());
    c->SetColor(b->Color());
    c->SetColorTo(b->ColorTo());
    c->SetColorDown(b->ColorDown());
    c->SetColorDownTo(b->ColorDownTo());
    c->SetColorHot(b->ColorHot());
    c->SetColorHotTo(b->ColorHotTo());
    if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black) {
        c->SetGlowColorHot(b->ColorHot());
        c->SetGlowColorDown(b->ColorHot());
    } else {
        c->SetGlowColorHot(b->ColorDownTo());
        c->SetGlowColorDown(0xD5C244);
    }
}

void TExtCalculatorDropdown::SetShowThousandSeparator(bool Value)
{
    if (FShowThousandSeparator == Value)
        return;
    FShowThousandSeparator = Value;
    SetEditType(Value ? etMoney : etFloat);
    SetFloatValue(GetFloatValue());
}

long double TExtCalculatorDropdown::Value()
{
    UnicodeString t = Display();
    if (t.isEmpty())
        t = QStringLiteral("0");
    t.remove(ThousandChar());
    double v = 0;
    return TryStrToFloat(t, v) ? v : 0;
}

void TExtCalculatorDropdown::SetValue(long double Value)
{
    SetText(Format(QStringLiteral("%g"), {static_cast<double>(Value)}));
}

long double TExtCalculatorDropdown::DisplayValue() const
{
    UnicodeString t = Display();
    t.remove(ThousandChar());
    return StrToFloat(t);
}

void TExtCalculatorDropdown::Clear(bool Accumulator)
{
    SetDisplay(QStringLiteral("0"));
    if (Accumulator)
        FAccumulator = 0;
    FOperator = opNone;
}

void TExtCalculatorDropdown::Calc()
{
    if (Display().isEmpty() || Display() == ErrorText)
        SetDisplay(QStringLiteral("0"));
    const long double x = DisplayValue();
    switch (FOperator) {
    case opAdd: FAccumulator += x; break;
    case opMultiply: FAccumulator *= x; break;
    case opSubtract: FAccumulator -= x; break;
    case opDivide:
        if (x == 0) {
            FAccumulator = 0;
            SetDisplay(ErrorText);
            return;
        }
        FAccumulator /= x;
        break;
    case opNone: FAccumulator = x; break;
    }
    // An overflow leaves no number to go on with.
    if (!std::isfinite(FAccumulator))
        FAccumulator = 0;
    Show(FAccumulator);
    FNewNumber = true;
}

void TExtCalculatorDropdown::PressOperator(TOperator Op)
{
    Calc();
    FOperator = Op;
}

void TExtCalculatorDropdown::PressEquals()
{
    Calc();
    if (Display().isEmpty())
        SetDisplay(QStringLiteral("0"));
    FOperator = opNone;
    if (Display() != ErrorText)
        FAccumulator = DisplayValue();
}

void TExtCalculatorDropdown::PressPercent()
{
    if (Display().isEmpty() || Display() == ErrorText)
        SetDisplay(QStringLiteral("0"));
    SetDisplay(Format(QStringLiteral("%g"), {static_cast<double>(FAccumulator * DisplayValue() / 100)}));
}

bool TExtCalculatorDropdown::AtMaxLength() const
{
    return MaxLength() > 0 && Display().length() == MaxLength();
}

void TExtCalculatorDropdown::ButtonClick(TObject *, int Index)
{
    if (!FPanel || Index < 0 || Index >= FPanel->Buttons()->Count())
        return;
    BeforeCalcAction();
    const int tag = FPanel->Buttons()->Items(Index)->Tag;
    if ((tag >= 10 && tag <= 14) || (tag >= 16 && tag <= 18))
        FDivisor = 0;
    if (((tag >= 0 && tag <= 9) || tag == 14 || tag == 15) && AtMaxLength())
        return;
    switch (tag) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: {
        const double value = GetFloatValue();
        if ((value == 0 && FDivisor == 0) || FNewNumber) {
            SetDisplay(IntToStr(tag));
            FNewNumber = false;
        } else if (FDivisor > 0) {
            SetFloatValue(value + double(tag) / FDivisor);
            FDivisor *= 10;
        } else {
            SetFloatValue(value * 10 + tag);
        }
        break;
    }
    case 10: PressOperator(opAdd); break;
    case 11: PressOperator(opSubtract); break;
    case 12: PressOperator(opMultiply); break;
    case 13: PressOperator(opDivide); break;
    case 14: {
        UnicodeString d = Display();
        if (d.contains(QLatin1Char('-')))
            d.remove(0, 1);
        else
            d.prepend(QLatin1Char('-'));
        SetDisplay(d);
        break;
    }
    case 15:
        if (FNewNumber)
            SetDisplay(QStringLiteral("0"));
        if (!Display().contains(DecimalChar()))
            SetDisplay(Display() + DecimalChar());
        FDivisor = 10;
        FNewNumber = false;
        break;
    case 16: case 30: case 32: Clear(true); break;
    case 17: PressEquals(); break;
    case 18: PressPercent(); break;
    case 31:
        if (FOperator == opNone) {
            UnicodeString s = FloatToStr(GetFloatValue());
            s.chop(1);
            SetDisplay(s);
        }
        break;
    case 33: FMemory = 0; break;
    case 34: Show(FMemory); break;
    // Read as Calc reads the display, so that a grouped display stores its number.
    case 35: FMemory = DisplayValue(); break;
    case 36: FMemory += DisplayValue(); break;
    case 37: {
        const double v = GetFloatValue();
        if (v < 0)
            SetDisplay(ErrorText);
        else
            SetFloatValue(std::sqrt(v));
        break;
    }
    case 38: {
        const double v = GetFloatValue();
        if (v == 0)
            SetDisplay(ErrorText);
        else
            SetFloatValue(1 / v);
        break;
    }
    default: return;
    }
    SetIsModified(true);
}

void TExtCalculatorDropdown::FormKeyPress(WideChar &Key)
{
    TExtCustomDropDown::FormKeyPress(Key);
    BeforeCalcAction();
    const QChar c{char16_t(Key)};
    if (c == DecimalChar() && !Display().contains(DecimalChar()))
        SetDisplay(Display() + DecimalChar());
    if (IsNumberChar(c) && AtMaxLength())
        return;
    switch (Key) {
    case 13:
        PressEquals();
        DoHideDropDown(false);
        return;
    case 27:
        DoHideDropDown(true);
        return;
    case '%': PressPercent(); return;
    case '*': PressOperator(opMultiply); return;
    case '+': PressOperator(opAdd); return;
    case '-': PressOperator(opSubtract); return;
    case '/': PressOperator(opDivide); return;
    case '=': PressEquals(); return;
    case 'C': case 'c':
        Clear(true);
        FNewNumber = true;
        return;
    default:
        break;
    }
    if (Key == 38 && GetKeyState(VK_MENU) < 0)
        DoHideDropDown(true);
    else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        FNewNumber = false;
}

void TExtCalculatorDropdown::FormKeyDown(Word &Key, TShiftState)
{
    if (Key == VK_TAB || Key == VK_F4) {
        DoHideDropDown(false);
    } else if (Key == VK_BACK) {
        UnicodeString d = Display();
        d.chop(1);
        SetDisplay(d.isEmpty() || d == ErrorText ? QStringLiteral("0") : d);
    }
}

bool TExtCalculatorDropdown::CalcChar(WideChar &Key)
{
    const QChar c{char16_t(Key)};
    if (!PopupShowing()) {
        switch (Key) {
        case '-': PressOperator(opSubtract); break;
        case 13: case '=': PressEquals(); break;
        case '%': PressPercent(); break;
        case '*': PressOperator(opMultiply); break;
        case '+': PressOperator(opAdd); break;
        case '/': PressOperator(opDivide); break;
        case 'C': case 'c':
            Clear(false);
            FNewNumber = true;
            break;
        default: break;
        }
    }
    if (!IsNumberChar(c) && c != DecimalChar() && Key != 8 && c != QLatin1Char('-')) {
        Key = 0;
        return true;
    }
    const UnicodeString d = Display();
    if ((d == QStringLiteral("0") || FNewNumber) && IsNumberChar(c)) {
        SetDisplay(UnicodeString(c));
        Key = 0;
        SetSelStart(static_cast<int>(Prefix.length()) + 1);
        SetSelLength(0);
        FNewNumber = false;
        return true;
    }
    if (d.length() == 1 && Key == 8) {
        SetDisplay(QStringLiteral("0"));
        Key = 0;
        SetSelStart(static_cast<int>(Prefix.length()) + 1);
        SetSelLength(0);
        return true;
    }
    if (c == ThousandChar() || (c == DecimalChar() && d.contains(DecimalChar()))) {
        Key = 0;
        return true;
    }
    return false;
}

void TExtCalculatorDropdown::KeyPress(WideChar &Key)
{
    if (!FCharJudged && CalcChar(Key))
        return;
    TExtCustomDropDown::KeyPress(Key);
}

void TExtCalculatorDropdown::WMKeyDown(TWMKey &Message)
{
    const Word key = Message.CharCode;
    TExtCustomDropDown::WMKeyDown(Message);
    if (key == VK_DELETE && (Display().isEmpty() || Display() == ErrorText))
        SetDisplay(QStringLiteral("0"));
}

void TExtCalculatorDropdown::WMChar(TWMKey &Message)
{
    // The calculator's rules come before the numeric filter, which would drop operators and
    // the digit that starts a new number.
    WideChar k = WideChar(Message.CharCode);
    if (CalcChar(k))
        return;
    FCharJudged = true;
    TExtCustomDropDown::WMChar(Message);
    FCharJudged = false;
}

void TExtCalculatorDropdown::CMEnter(TCMEnter &Message)
{
    if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0)
        SelectAll();
    TExtCustomDropDown::CMEnter(Message);
}
