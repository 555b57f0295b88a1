#include "dropdowns/ExtCustomDropDown.h"

#include "controls/ExtGridUtil.h"
#include "platform/Clipbrd.h"
#include "platform/SysUtils.h"

#include <cmath>

namespace {

QChar DS()
{
    return DecimalSeparatorChar();
}

QChar TS()
{
    return ThousandSeparatorChar();
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsHexLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('F')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}

bool IsAlnum(QChar c)
{
    return IsDigit(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

double TextToFloat(UnicodeString Text)
{
    if (Text.contains(TS()))
        Text.remove(TS());
    double v = 0;
    if (!TryStrToFloat(Text, v))
        return 0;
    return v;
}

UnicodeString FormatFixed(double V, int Decimals, bool Grouped)
{
    return Format(Grouped ? QStringLiteral("%.*n") : QStringLiteral("%.*f"), {Decimals, V});
}

UnicodeString FormatG(double V)
{
    return Format(QStringLiteral("%g"), {V});
}

bool CtrlHeld()
{
    return GetKeyState(VK_LCONTROL) < 0 || GetKeyState(VK_RCONTROL) < 0 || GetKeyState(VK_CONTROL) < 0;
}

} // namespace

// ---- value ----

UnicodeString TExtCustomDropDown::GetText() const
{
    // While the platform's edit code runs it counts on the whole edit text.
    return FWholeText > 0 ? TCustomMaskEdit::GetText() : ValueText();
}

UnicodeString TExtCustomDropDown::ValueText() const
{
    UnicodeString t = TCustomMaskEdit::GetText();
    if (!Prefix.isEmpty() && t.startsWith(Prefix))
        t.remove(0, Prefix.length());
    if (!Suffix.isEmpty())
        t.chop(std::min(Suffix.length(), t.length()));
    return t;
}

void TExtCustomDropDown::SetTextInternal(const UnicodeString &Value)
{
    TControl::SetText(Value);
}

void TExtCustomDropDown::SetText(const UnicodeString &Value)
{
    UnicodeString v = Value;
    if (v.isEmpty() && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex))
        v = QStringLiteral("0");
    if (FPrecision > 0 && !v.isEmpty() && v != QLatin1String("Error")) {
        if (FEditType == etMoney)
            v = FormatFixed(TextToFloat(v), FPrecision, true);
        else if (FEditType == etFloat)
            v = FormatFixed(TextToFloat(v), FPrecision, false);
    }
    if (FEditType == etHex)
        v = v.toUpper();
    SetTextInternal(Prefix + v + Suffix);
    FOldText = v;
    SetIsModified(false);
}

void TExtCustomDropDown::SetIsModified(bool Value)
{
    if (ComponentState().Contains(TComponentStateItem::csLoading) || !FEditorEnabled || ReadOnly())
        return;
    SetModified(Value);
    FIsModified = Value;
}

double TExtCustomDropDown::GetFloatValue()
{
    const UnicodeString v = ValueText();
    switch (FEditType) {
    case etString: {
        bool ok = false;
        const double d = v.trimmed().toDouble(&ok);
        return ok ? d : 0;
    }
    case etNumeric:
    case etFloat:
        if (!v.isEmpty() && v != QLatin1String("Error") && v != QLatin1String("-"))
            return TextToFloat(v);
        return 0;
    case etMoney: {
        if (v.isEmpty())
            return 0;
        UnicodeString w = v;
        w.remove(TS());
        if (w.endsWith(DS()))
            w.chop(1);
        if (!w.isEmpty() && w != QLatin1String("-"))
            return TextToFloat(w);
        return 0;
    }
    case etHex:
        return v.isEmpty() ? 0 : HexTextToInt(v);
    default:
        return 0;
    }
}

void TExtCustomDropDown::SetFloatValue(double V)
{
    switch (FEditType) {
    case etString:
    case etFloat:
        SetText(FPrecision < 0 ? FormatG(V) : FormatFixed(V, FPrecision, false));
        break;
    case etNumeric:
        SetText(FPrecision < 0 ? FormatG(V) : FormatFixed(V, FPrecision, true));
        break;
    case etMoney:
        SetText(FPrecision < 0 ? FormatG(V) : FormatFixed(V, FPrecision, false));
        FormatMoneyText();
        break;
    case etHex:
        SetText(QString::number(static_cast<unsigned>(static_cast<int>(std::trunc(V))), 16).toUpper());
        break;
    default:
        break;
    }
    SetIsModified(true);
}

void TExtCustomDropDown::SetIntValue(int N)
{
    switch (FEditType) {
    case etNumeric:
    case etFloat:
        SetText(QString::number(N));
        break;
    case etMoney:
        SetText(QString::number(N));
        FormatMoneyText();
        break;
    case etHex:
        SetText(QString::number(static_cast<unsigned>(N), 16).toUpper());
        break;
    default:
        break;
    }
    SetIsModified(true);
}

void TExtCustomDropDown::SetEditType(TDropDownEditType Value)
{
    if (FEditType == Value)
        return;
    FEditType = Value;
    if (Value == etPassword) {
        SetPasswordChar(u'*');
        CanUndo = false;
    } else {
        SetPasswordChar(0);
    }
    const int kind = DropDownNumberKind(ValueText());
    if (Value == etNumeric && kind != 0)
        SetIntValue(0);
    else if ((Value == etFloat || Value == etMoney) && kind > 1)
        SetFloatValue(0);
    else if (Value == etHex && kind != 0 && kind != 5)
        SetIntValue(0);
}

void TExtCustomDropDown::SetPrecision(SmallInt Value)
{
    if (FPrecision == Value || !(FEditType == etString || FEditType == etFloat || FEditType == etMoney))
        return;
    FPrecision = Value;
    if (DropDownNumberKind(ValueText()) > 1)
        SetFloatValue(0);
    else
        SetFloatValue(GetFloatValue());
}

void TExtCustomDropDown::FormatMoneyText()
{
    const UnicodeString value = ValueText();
    if (value.isEmpty())
        return;
    const int L0 = static_cast<int>(value.length());
    const int caret = SelStart();
    UnicodeString work = value;
    UnicodeString sign;
    if (work.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("-");
        work.remove(0, 1);
    }
    UnicodeString decimals;
    const auto dp = work.indexOf(DS());
    if (dp >= 0)
        decimals = work.mid(dp, 255);
    const double n = std::trunc(std::fabs(GetFloatValue()));
    UnicodeString integer = AutoThousandSeparator ? Format(QStringLiteral("%n"), {n}) : Format(QStringLiteral("%f"), {n});
    if (const auto cut = integer.indexOf(DS()); cut >= 0)
        integer.truncate(cut);
    const SmallInt keep = FPrecision;
    FPrecision = 0;
    const UnicodeString text = Prefix + sign + integer + decimals + Suffix;
    // The rewrite is not a change of its own: the keystroke that caused it already reported one.
    FBlockChange = text != TCustomMaskEdit::GetText();
    SetTextInternal(text);
    FPrecision = keep;
    SetSelStart(std::max(0, caret + static_cast<int>(ValueText().length()) - L0));
    SetSelLength(0);
}

void TExtCustomDropDown::Change()
{
    if (FBlockChange) {
        FBlockChange = false;
        return;
    }
    TCustomMaskEdit::Change();
}

int TExtCustomDropDown::DecimalSeparatorPos()
{
    const UnicodeString v = ValueText();
    const auto p = v.indexOf(DS());
    if (p >= 0)
        return static_cast<int>(Prefix.length() + p + 1);
    return static_cast<int>(Prefix.length() + v.length() + Suffix.length() + 1);
}

int TExtCustomDropDown::IntegerPartEnd(const UnicodeString &Text)
{
    UnicodeString t = Text;
    t.remove(TS());
    const auto p = t.indexOf(DS());
    int r = p >= 0 ? static_cast<int>(p + 1) : static_cast<int>(t.length() + 1);
    if (Signed && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) &&
        t.contains(QLatin1Char('-')))
        --r;
    return r;
}

bool TExtCustomDropDown::IsSignAllowed(QChar Ch)
{
    return Signed && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && Ch == QLatin1Char('-');
}

bool TExtCustomDropDown::SeparatorMisplaced(const UnicodeString &Value, int Caret)
{
    if (!Value.contains(TS()))
        return false;
    int b = Caret;
    int mn = static_cast<int>(Value.length());
    UnicodeString copy = Value;
    for (auto idx = copy.indexOf(TS()); idx >= 0; idx = copy.indexOf(TS())) {
        const int p = static_cast<int>(idx + 1);
        const int d = std::abs(p - b);
        if (d < mn)
            mn = d;
        if (d < 3)
            return true;
        if (b > p)
            b -= p;
        copy.remove(0, p);
    }
    return mn > 3;
}

bool TExtCustomDropDown::PrecisionReached(const UnicodeString &Value, int Caret)
{
    if (FPrecision <= 0)
        return false;
    const int after = static_cast<int>(Value.length()) - Caret;
    if (after > FPrecision)
        return false;
    const auto p = Value.indexOf(DS());
    if (p < 0)
        return false;
    const int pos = static_cast<int>(p + 1);
    return Caret >= pos && static_cast<int>(Value.length()) - pos >= FPrecision;
}

void TExtCustomDropDown::SelectAll()
{
    const int pre = static_cast<int>(Prefix.length());
    SetSelStart(pre);
    SetSelLength(static_cast<int>(ValueText().length()));
}

void TExtCustomDropDown::SelectBeforeDecimal()
{
    const auto p = ValueText().indexOf(DS());
    SetSelStart(static_cast<int>(Prefix.length() + (p >= 0 ? p : 0)));
}

void TExtCustomDropDown::SelectAfterDecimal()
{
    const auto p = ValueText().indexOf(DS());
    SetSelStart(static_cast<int>(Prefix.length() + (p >= 0 ? p + 1 : 0)));
    SetSelLength(0);
}

void TExtCustomDropDown::InsertChar(QChar Ch)
{
    SetSelText(UnicodeString(Ch));
}

void TExtCustomDropDown::ToggleSign(bool WholeValueCase)
{
    const UnicodeString v = ValueText();
    const int pre = static_cast<int>(Prefix.length());
    const int caret = SelStart();
    if (WholeValueCase && SelLength() == v.length() && !v.isEmpty()) {
        SetTextInternal(Prefix + QStringLiteral("-") + Suffix);
        SetSelStart(pre + 1);
        SetSelLength(0);
        return;
    }
    const SmallInt keep = FPrecision;
    FPrecision = 0;
    if (v.contains(QLatin1Char('-'))) {
        SetTextInternal(Prefix + v.mid(1) + Suffix);
        SetSelStart(std::max(pre, caret - 1));
    } else {
        SetTextInternal(Prefix + QStringLiteral("-") + v + Suffix);
        SetSelStart(caret + 1);
    }
    SetSelLength(0);
    FPrecision = keep;
    SetIsModified(true);
}

// ---- typing ----

void TExtCustomDropDown::WMChar(TWMKey &Message)
{
    if (JudgeChar(Message))
        TCustomMaskEdit::WMChar(Message);
    if (Modified())
        SetIsModified(true);
}

bool TExtCustomDropDown::JudgeChar(TWMKey &Message)
{
    if (!FEditorEnabled)
        return false;
    QChar ch(static_cast<char16_t>(Message.CharCode));
    const bool ctrl = CtrlHeld();
    const int pre = static_cast<int>(Prefix.length());
    UnicodeString value = ValueText();
    if (ch == QChar(13) && ctrl) {
        Message.Result = 1;
        return false;
    }
    if (ch == QChar(13)) {
        WideChar k = 13;
        if (OnKeyPress)
            OnKeyPress(this, k);
        if (!DefaultHandling && Parent()) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            TCustomForm *f = GetParentForm();
            if (!(f && f->KeyPreview()))
                PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
        }
        return false;
    }
    if (ch == QChar(27) && !DefaultHandling && Parent()) {
        TCustomForm *f = GetParentForm();
        if (f && f->KeyPreview())
            return true;
        PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
    }
    if (ch == QChar(27) && !CanUndo)
        return true;
    if (ctrl && (ch == QChar(3) || ch == QChar(22) || ch == QChar(24)))
        return true;
    // The keypad's decimal key (scan code bit 0x40 in the key data's third byte).
    if (ExcelStyleDecimalSeparator && (ch == QLatin1Char('.') || ch == QLatin1Char(',')) &&
        ((Message.KeyData >> 16) & 0x40) != 0) {
        ch = DS();
        Message.CharCode = ch.unicode();
    }
    if (ch == QChar(8) && !Prefix.isEmpty() && pre >= SelStart() && SelLength() == 0)
        return false;
    if (LengthLimit > 0 && IntegerPartEnd(value) > LengthLimit && SelLength() == 0 &&
        SelStart() < DecimalSeparatorPos() && ch != QChar(8) && ch != DS() && !IsSignAllowed(ch))
        return false;
    if (ch == QChar(8))
        return true;
    if (ch == QChar(10))
        return false;
    if (ch == QLatin1Char('-') && !Signed && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney))
        return false;

    const bool control = ch == QChar(8) || ch == QChar(9) || ch == QChar(13);
    switch (FEditType) {
    case etString:
    case etPassword:
        SetIsModified(true);
        return true;
    case etUppercase:
        Message.CharCode = ch.toUpper().unicode();
        return true;
    case etLowerCase:
        Message.CharCode = ch.toLower().unicode();
        return true;
    case etMixedCase: {
        const int caret = SelStart();
        InsertChar(ch);
        const UnicodeString v = ProperCaseName(ValueText());
        FBlockChange = Prefix + v + Suffix != TCustomMaskEdit::GetText();
        SetTextInternal(Prefix + v + Suffix);
        SetSelStart(caret + 1);
        SetSelLength(0);
        SetIsModified(true);
        return false;
    }
    case etNumeric:
        if (ch == QLatin1Char('-')) {
            ToggleSign(true);
            return false;
        }
        return control || IsDigit(ch) || ctrl;
    case etFloat:
    case etMoney: {
        const bool isFloat = FEditType == etFloat;
        if (isFloat) {
            if (ch == QLatin1Char(',') && DS() != QLatin1Char(',') && TS() != QLatin1Char(','))
                return false;
            if (ch == QLatin1Char('.') && DS() != QLatin1Char('.') && TS() != QLatin1Char('.'))
                return false;
            if (!(control || IsDigit(ch) || ch == QLatin1Char(',') || ch == QLatin1Char('-') || ch == QLatin1Char('.')))
                return false;
        } else if (!(control || IsDigit(ch) || ch == QLatin1Char('-') || ch == DS())) {
            return false;
        }
        const int vcaret = SelStart() - pre;
        if (ch == DS()) {
            const bool selHasDS = SelText().contains(DS());
            if ((!isFloat || !selHasDS) && (value.contains(DS()) || FPrecision == 0)) {
                if (FPrecision > 0) {
                    if (!isFloat && SelLength() == value.length() && !value.isEmpty()) {
                        SetText(QStringLiteral("0") + DS() + QStringLiteral("0"));
                    }
                    SelectAfterDecimal();
                }
                return false;
            }
        }
        if (isFloat && ch == QLatin1Char(',') && value.contains(QLatin1Char(',')) && !SelText().contains(QLatin1Char(',')) &&
            TS() != QLatin1Char(','))
            return false;
        if ((ch == TS() || ch == DS()) && SeparatorMisplaced(value, vcaret))
            return false;
        if (PrecisionReached(value, vcaret) && (IsDigit(ch) || ch == DS()) && SelLength() == 0) {
            const auto dp = value.indexOf(DS());
            if (FPrecision > 0 && dp >= 0 && dp + 1 <= vcaret && IsDigit(ch) && vcaret < value.length()) {
                SetSelLength(1);
            } else {
                return false;
            }
        }
        if (SelStart() == 0 && value.isEmpty() && ch == DS()) {
            SetTextInternal(Prefix + QStringLiteral("0") + DS() + Suffix);
            SetSelStart(pre + 2);
            SetIsModified(true);
            return false;
        }
        if (ch == QLatin1Char('-') && SelLength() == 0) {
            ToggleSign(false);
            return false;
        }
        if (!isFloat && IsDigit(ch)) {
            // The grouping follows each digit at once, so the digit goes in here.
            InsertChar(ch);
            if (!ValueText().isEmpty() && ValueText() != QLatin1String("-")) {
                if (Modified())
                    SetIsModified(true);
                FormatMoneyText();
            }
            return false;
        }
        return true;
    }
    case etRange: {
        SetIsModified(true);
        if (IsDigit(ch) || control)
            return true;
        if (!IsRangeSeparator(ch))
            return false;
        const UnicodeString text = TCustomMaskEdit::GetText();
        const int s = SelStart();
        if (pre >= s)
            return false;
        if (s > 0 && IsRangeSeparator(text.at(s - 1)))
            return false;
        if (s < text.length() && IsRangeSeparator(text.at(s)))
            return false;
        return true;
    }
    case etHex:
        if (control || IsDigit(ch) || IsHexLetter(ch) || ch == QLatin1Char('-')) {
            SetIsModified(true);
            return true;
        }
        return false;
    case etAlphaNumeric:
        if (control || IsAlnum(ch)) {
            SetIsModified(true);
            return true;
        }
        return false;
    case etValidChars:
        if (ValidChars.contains(ch)) {
            SetIsModified(true);
            return true;
        }
        return false;
    }
    return false;
}

bool TExtCustomDropDown::JudgeKeyDown(TWMKey &Message)
{
    const Word key = Message.CharCode;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const int pre = static_cast<int>(Prefix.length());
    const int valueEnd = pre + static_cast<int>(ValueText().length());
    const int selEnd = SelStart() + SelLength();
    if (key == VK_RETURN && ReturnIsTab) {
        Message.CharCode = VK_TAB;
        if (Visible())
            PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (key == VK_RIGHT && !Suffix.isEmpty() && selEnd >= valueEnd)
        return false;
    if (key == VK_DELETE && !Suffix.isEmpty()) {
        if (selEnd >= valueEnd && SelLength() == 0)
            return false;
        SetIsModified(true);
    }
    if (key == VK_LEFT && !Prefix.isEmpty() && selEnd <= pre)
        return false;
    if (key == VK_END && !Suffix.isEmpty()) {
        if (shift) {
            SetSelLength(valueEnd - SelStart());
        } else {
            SetSelStart(valueEnd);
            SetSelLength(0);
        }
        return false;
    }
    if (key == VK_HOME && !Prefix.isEmpty()) {
        if (shift) {
            SetSelStart(pre);
            SetSelLength(valueEnd - pre);
        } else {
            SetSelStart(pre);
            SetSelLength(0);
        }
        return false;
    }
    if (key == VK_BACK && !Prefix.isEmpty()) {
        if (SelStart() <= pre + 1 && SelLength() == 0 && SelStart() <= pre)
            return false;
        SetIsModified(true);
    }
    if (key == VK_DELETE && SelStart() >= pre) {
        UnicodeString after = ValueText();
        const int vs = SelStart() - pre;
        after.remove(vs, SelLength() > 0 ? SelLength() : 1);
        if (LengthLimit > 0 && IntegerPartEnd(after) - 1 > LengthLimit)
            return false;
        SetIsModified(true);
    }
    return true;
}

// ---- clipboard ----

void TExtCustomDropDown::WMCut(TMessage &Message)
{
    if (!FEditorEnabled || ReadOnly())
        return;
    bool allow = true;
    FBlockCopy = true;
    UnicodeString sel = SelText();
    if (OnClipboardCut)
        OnClipboardCut(this, sel, allow);
    if (allow)
        TCustomMaskEdit::WMCut(Message);
    FBlockCopy = false;
}

void TExtCustomDropDown::WMCopy(TMessage &Message)
{
    bool allow = true;
    UnicodeString sel = SelText();
    if (OnClipboardCopy && !FBlockCopy)
        OnClipboardCopy(this, sel, allow);
    FBlockCopy = false;
    if (allow)
        TCustomMaskEdit::WMCopy(Message);
}

void TExtCustomDropDown::WMPaste(TMessage &)
{
    if (ReadOnly() || !Clipboard()->HasText())
        return;
    const UnicodeString clip = Clipboard()->AsText();
    const int pre = static_cast<int>(Prefix.length());
    const UnicodeString value = ValueText();
    const int vs = std::clamp(SelStart() - pre, 0, static_cast<int>(value.length()));
    const int vl = std::clamp(SelLength(), 0, static_cast<int>(value.length()) - vs);
    UnicodeString would = value;
    would.replace(vs, vl, clip);
    const int newStart = pre + vs;
    const int newLength = vl > 0 ? static_cast<int>(clip.length()) : 0;
    const int newCaret = vl > 0 ? newStart : newStart + static_cast<int>(clip.length());
    bool allow = true;
    if (OnClipboardPaste)
        OnClipboardPaste(this, would, allow);
    if (!allow)
        return;
    if (MaxLength() > 0 && clip.length() + value.length() - SelLength() > MaxLength())
        return;
    const int kind = DropDownNumberKind(would);
    auto every = [&](auto pred) { return std::all_of(would.begin(), would.end(), pred); };
    switch (FEditType) {
    case etString:
    case etPassword:
        SetText(would);
        break;
    case etNumeric:
        if (kind != 0 || (!Signed && would.contains(QLatin1Char('-'))))
            return;
        SetText(would);
        SetIsModified(true);
        break;
    case etFloat:
    case etMoney:
        if (kind > 1 || (FPrecision == 0 && clip.contains(DS())) || (!Signed && would.contains(QLatin1Char('-'))))
            return;
        SetText(would);
        SetFloatValue(GetFloatValue());
        SetIsModified(true);
        break;
    case etUppercase:
        SetText(would.toUpper());
        break;
    case etMixedCase:
        SetText(ProperCaseName(would));
        break;
    case etLowerCase:
        SetText(would.toLower());
        break;
    case etAlphaNumeric:
        if (!every([](QChar c) { return IsAlnum(c); }))
            return;
        SetText(would);
        SetIsModified(true);
        break;
    case etValidChars:
        if (!every([this](QChar c) { return ValidChars.contains(c); }))
            return;
        SetText(would);
        SetIsModified(true);
        break;
    case etRange:
    case etHex:
        return;
    }
    if (FEditType == etMoney && ValueText().length() > 3) {
        SelectAll();
    } else {
        SetSelStart(newLength > 0 ? newStart : newCaret);
        SetSelLength(newLength);
    }
    if (FEditType == etString || (FEditType >= etUppercase && FEditType <= etPassword))
        SetIsModified(true);
}

// ---- focus loss ----

void TExtCustomDropDown::WMKillFocus(TWMKillFocus &Message)
{
    if (ComponentState().Contains(TComponentStateItem::csLoading))
        return;
    const bool numericFloat = FEditType == etFloat || FEditType == etMoney;
    if (FPrecision > 0 && numericFloat && (!ValueText().isEmpty() || !AllowNumericNullValue)) {
        const bool m = FIsModified;
        SetFloatValue(GetFloatValue());
        SetIsModified(m);
    }
    if (FEditType == etNumeric && ValueText().isEmpty() && !AllowNumericNullValue)
        SetText(QStringLiteral("0"));
    if (numericFloat && ValueText().isEmpty() && !AllowNumericNullValue)
        SetFloatValue(0);
    TCustomMaskEdit::WMKillFocus(Message);
    if (!FEditorEnabled)
        Invalidate();
}
