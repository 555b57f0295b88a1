#include "platform/Mask.h"

#include "platform/SysUtils.h"

#include <algorithm>

// ---- the fields of a mask ----

int MaskGetFldSeparator(const UnicodeString &EditMask)
{
    for (int i = 0; i < EditMask.size(); ++i) {
        if (EditMask[i] == QLatin1Char('\\'))
            ++i;
        else if (EditMask[i] == QLatin1Char(';'))
            return i;
    }
    return -1;
}

namespace {

// The second and third fields (save flag, blank), empty when missing.
void MaskFields(const UnicodeString &EditMask, UnicodeString &Save, UnicodeString &Blank)
{
    Save.clear();
    Blank.clear();
    const int sep = MaskGetFldSeparator(EditMask);
    if (sep < 0)
        return;
    const UnicodeString rest = EditMask.mid(sep + 1);
    const int second = rest.indexOf(QLatin1Char(';'));
    Save = second < 0 ? rest : rest.left(second);
    if (second >= 0)
        Blank = rest.mid(second + 1);
}

bool IsAsciiDigit(QChar Ch)
{
    return Ch >= QLatin1Char('0') && Ch <= QLatin1Char('9');
}

} // namespace

bool MaskGetMaskSave(const UnicodeString &EditMask)
{
    UnicodeString save, blank;
    MaskFields(EditMask, save, blank);
    return !(!save.isEmpty() && save[0] == QLatin1Char('0'));
}

QChar MaskGetMaskBlank(const UnicodeString &EditMask)
{
    UnicodeString save, blank;
    MaskFields(EditMask, save, blank);
    return blank.isEmpty() ? QChar(QLatin1Char('_')) : blank[0];
}

UnicodeString FormatMaskText(const UnicodeString &EditMask, const UnicodeString &Value)
{
    const TEditMask mask(EditMask);
    if (!mask.IsMasked())
        return Value;
    return mask.SaveLiterals() ? mask.PadInputLiterals(Value, QLatin1Char(' ')) : mask.FormatInput(Value, QLatin1Char(' '));
}

// ---- the parsed mask ----

TEditMask::TEditMask(const UnicodeString &EditMask) : FEditMask(EditMask)
{
    const int sep = MaskGetFldSeparator(EditMask);
    const int end = sep < 0 ? static_cast<int>(EditMask.size()) : sep;
    FSaveLiterals = MaskGetMaskSave(EditMask);
    FBlank = MaskGetMaskBlank(EditMask);
    TMaskCharCase current = mccNone;
    for (int i = 0; i < end; ++i) {
        const QChar ch = EditMask[i];
        TMaskPosition p;
        switch (ch.unicode()) {
        case u'!':
            FReverse = true;
            continue;
        case u'>':
            current = mccUpper;
            continue;
        case u'<':
            if (i + 1 < end && EditMask[i + 1] == QLatin1Char('>')) {
                current = mccNone;
                ++i;
            } else {
                current = mccLower;
            }
            continue;
        case u'\\':
            if (i + 1 >= end)
                continue;
            p.Char = EditMask[++i];
            break;
        case u'_':
            p.Char = QLatin1Char(' ');
            break;
        case u':':
            p.Type = mcIntlLiteral;
            p.Char = FormatSettings.TimeSeparator;
            break;
        case u'/':
            p.Type = mcIntlLiteral;
            p.Char = FormatSettings.DateSeparator;
            break;
        case u'0':
        case u'L':
        case u'A':
        case u'C':
            p.Type = mcMask;
            p.Char = ch;
            break;
        case u'9':
        case u'#':
        case u'l':
        case u'a':
        case u'c':
            p.Type = mcMaskOpt;
            p.Char = ch;
            break;
        default:
            p.Char = ch;
            break;
        }
        p.Case = current;
        FPositions.push_back(p);
    }
}

int TEditMask::NextInput(int Pos) const
{
    for (int i = std::max(Pos, 0); i < Length(); ++i)
        if (Position(i).IsInput())
            return i;
    return -1;
}

int TEditMask::PrevInput(int Pos) const
{
    for (int i = std::min(Pos, Length()) - 1; i >= 0; --i)
        if (Position(i).IsInput())
            return i;
    return -1;
}

bool TEditMask::InputChar(int Index, QChar &Ch) const
{
    if (!IsInput(Index) || Ch.unicode() < 32)
        return false;
    const TMaskPosition &p = Position(Index);
    const char16_t kind = p.Char.toUpper().unicode();
    if (Ch == QLatin1Char(' ')) {
        if (kind == u'C')
            return true;
        // Typing a space empties an optional position.
        if (!p.IsRequired()) {
            Ch = FBlank;
            return true;
        }
        return false;
    }
    bool ok = false;
    switch (p.Char.unicode()) {
    case u'0':
    case u'9': ok = IsAsciiDigit(Ch); break;
    case u'#': ok = IsAsciiDigit(Ch) || Ch == QLatin1Char('+') || Ch == QLatin1Char('-'); break;
    case u'L':
    case u'l': ok = Ch.isLetter(); break;
    case u'A':
    case u'a': ok = Ch.isLetter() || IsAsciiDigit(Ch); break;
    default: ok = true; break;
    }
    if (!ok)
        return false;
    if (p.Case == mccUpper)
        Ch = Ch.toUpper();
    else if (p.Case == mccLower)
        Ch = Ch.toLower();
    return true;
}

UnicodeString TEditMask::EmptyEditText() const
{
    UnicodeString r;
    r.reserve(Length());
    for (const TMaskPosition &p : FPositions)
        r += p.IsInput() ? FBlank : p.Char;
    return r;
}

UnicodeString TEditMask::FormatInput(const UnicodeString &Input, QChar BlankChar) const
{
    UnicodeString r = EmptyEditText();
    if (FReverse) {
        int k = static_cast<int>(Input.size()) - 1;
        for (int i = Length() - 1; i >= 0; --i)
            if (Position(i).IsInput())
                r[i] = k >= 0 ? Input[k--] : BlankChar;
    } else {
        int k = 0;
        for (int i = 0; i < Length(); ++i)
            if (Position(i).IsInput())
                r[i] = k < Input.size() ? Input[k++] : BlankChar;
    }
    return r;
}

UnicodeString TEditMask::PadInputLiterals(const UnicodeString &Value, QChar BlankChar) const
{
    UnicodeString r = EmptyEditText();
    // A value that already has every literal in its place is read position by position.
    bool inPlace = Value.size() == Length();
    for (int i = 0; inPlace && i < Length(); ++i)
        if (!Position(i).IsInput() && Value[i] != Position(i).Char)
            inPlace = false;
    if (inPlace) {
        for (int i = 0; i < Length(); ++i)
            if (Position(i).IsInput())
                r[i] = Value[i];
        return r;
    }
    int v = 0;
    int i = 0;
    while (i < Length()) {
        int lit = i;
        while (lit < Length() && Position(lit).IsInput())
            ++lit;
        UnicodeString part;
        if (lit < Length()) {
            const int found = Value.indexOf(Position(lit).Char, v);
            if (found < 0) {
                // The value lacks this literal: the rest of it fills the positions left.
                for (int k = i; k < Length(); ++k)
                    if (Position(k).IsInput())
                        r[k] = v < Value.size() ? Value[v++] : BlankChar;
                return r;
            }
            part = Value.mid(v, found - v);
            v = found + 1;
        } else {
            part = Value.mid(v);
            v = static_cast<int>(Value.size());
        }
        const int n = lit - i;
        part.truncate(n);
        const int pad = n - static_cast<int>(part.size());
        const int first = FReverse ? i + pad : i;
        for (int k = i; k < lit; ++k)
            r[k] = BlankChar;
        for (int k = 0; k < part.size(); ++k)
            r[first + k] = part[k];
        i = lit + 1;
    }
    return r;
}

UnicodeString TEditMask::RemoveFormat(const UnicodeString &EditText) const
{
    UnicodeString r;
    r.reserve(Length());
    for (int i = 0; i < Length(); ++i)
        if (Position(i).IsInput())
            r += i < EditText.size() ? EditText[i] : FBlank;
    if (FReverse) {
        int k = 0;
        while (k < r.size() && r[k] == FBlank)
            ++k;
        r.remove(0, k);
    } else {
        int k = static_cast<int>(r.size());
        while (k > 0 && r[k - 1] == FBlank)
            --k;
        r.truncate(k);
    }
    r.replace(FBlank, QLatin1Char(' '));
    return r;
}

UnicodeString TEditMask::TextOf(const UnicodeString &EditText) const
{
    const UnicodeString input = RemoveFormat(EditText);
    return FSaveLiterals ? FormatInput(input, QLatin1Char(' ')) : input;
}

UnicodeString TEditMask::SpacesToBlanks(UnicodeString EditText) const
{
    for (int i = 0; i < Length() && i < EditText.size(); ++i) {
        const TMaskPosition &p = Position(i);
        if (p.IsInput() && EditText[i] == QLatin1Char(' ') && p.Char.toUpper() != QLatin1Char('C'))
            EditText[i] = FBlank;
    }
    return EditText;
}

UnicodeString TEditMask::EditTextOf(const UnicodeString &Text) const
{
    return SpacesToBlanks(FSaveLiterals ? PadInputLiterals(Text, FBlank) : FormatInput(Text, FBlank));
}

UnicodeString TEditMask::EditTextOfInput(const UnicodeString &Input) const
{
    return SpacesToBlanks(FormatInput(Input, FBlank));
}

UnicodeString TEditMask::Conform(const UnicodeString &EditText) const
{
    UnicodeString r = EmptyEditText();
    const int n = std::min(Length(), static_cast<int>(EditText.size()));
    for (int i = 0; i < n; ++i)
        if (Position(i).IsInput())
            r[i] = EditText[i];
    return r;
}

int TEditMask::FirstMissing(const UnicodeString &EditText) const
{
    for (int i = 0; i < Length(); ++i) {
        const TMaskPosition &p = Position(i);
        if (!p.IsRequired())
            continue;
        if (i >= EditText.size() || EditText[i] == FBlank || (EditText[i] == QLatin1Char(' ') && p.Char != QLatin1Char('C')))
            return i;
    }
    return -1;
}

// ---- the editing rules ----

void TEditMaskEngine::SetEditMask(const UnicodeString &Value)
{
    TEditMask mask(Value);
    if (!mask.IsMasked()) {
        FEditText = Text();
    } else {
        // The input characters carry over; literals belong to the mask.
        const UnicodeString input = FMask.IsMasked() ? FMask.RemoveFormat(FEditText) : FEditText;
        FEditText = mask.EditTextOfInput(input);
    }
    FMask = std::move(mask);
    SetSel(FSelStart, 0);
}

void TEditMaskEngine::SetEditText(const UnicodeString &Value)
{
    FEditText = FMask.IsMasked() ? FMask.Conform(Value) : Value;
    SetSel(FSelStart, FSelLength);
}

UnicodeString TEditMaskEngine::Text() const
{
    return FMask.IsMasked() ? FMask.TextOf(FEditText) : FEditText;
}

void TEditMaskEngine::SetText(const UnicodeString &Value)
{
    FEditText = FMask.IsMasked() ? FMask.EditTextOf(Value) : Value;
    SetSel(0, 0);
}

void TEditMaskEngine::SetSel(int Start, int Length)
{
    const int n = static_cast<int>(FEditText.size());
    FSelStart = std::clamp(Start, 0, n);
    FSelLength = std::clamp(Length, 0, n - FSelStart);
}

void TEditMaskEngine::SetCaret(int Pos)
{
    SetSel(Pos, 0);
}

void TEditMaskEngine::BlankRange(int Start, int Length)
{
    for (int i = Start; i < Start + Length && i < FMask.Length(); ++i)
        if (FMask.IsInput(i))
            FEditText[i] = FMask.Blank();
}

bool TEditMaskEngine::TypeChar(QChar Ch)
{
    if (!FMask.IsMasked())
        return false;
    const int start = FSelStart;
    const int pos = FMask.NextInput(start);
    QChar stored = Ch;
    if (pos >= 0 && FMask.InputChar(pos, stored)) {
        if (FSelLength > 1)
            BlankRange(start, FSelLength);
        FEditText[pos] = stored;
        const int next = FMask.NextInput(pos + 1);
        SetCaret(next >= 0 ? next : FMask.Length());
        return true;
    }
    if (FSelLength > 1)
        return false;
    // The separator the caret has just skipped: the user typed it out of habit.
    if (start > 0 && !FMask.IsInput(start - 1) && FMask.Position(start - 1).Char == Ch)
        return true;
    // The next literal typed early: the caret goes past it.
    int lit = start;
    while (lit < FMask.Length() && FMask.IsInput(lit))
        ++lit;
    if (lit < FMask.Length() && FMask.Position(lit).Char == Ch) {
        SetCaret(lit + 1);
        CheckCursor();
        return true;
    }
    return false;
}

bool TEditMaskEngine::ClearSelection()
{
    if (!FMask.IsMasked() || FSelLength == 0)
        return false;
    BlankRange(FSelStart, FSelLength);
    SetCaret(FSelStart);
    return true;
}

bool TEditMaskEngine::Backspace()
{
    if (!FMask.IsMasked())
        return false;
    if (FSelLength > 1)
        return ClearSelection();
    const int p = FMask.PrevInput(FSelStart);
    if (p < 0)
        return false;
    FEditText[p] = FMask.Blank();
    SetCaret(p);
    return true;
}

bool TEditMaskEngine::Delete()
{
    if (!FMask.IsMasked())
        return false;
    if (FSelLength > 1)
        return ClearSelection();
    const int p = FMask.NextInput(FSelStart);
    if (p < 0)
        return false;
    FEditText[p] = FMask.Blank();
    SetCaret(FSelStart);
    return true;
}

void TEditMaskEngine::Paste(const UnicodeString &Value)
{
    if (!FMask.IsMasked())
        return;
    // The edit is one line: what follows a line break is not pasted.
    UnicodeString v = Value;
    const auto brk = std::find_if(v.begin(), v.end(), [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); });
    v.truncate(static_cast<int>(brk - v.begin()));
    if (FSelLength > 0)
        BlankRange(FSelStart, FSelLength);
    int i = FSelStart;
    int k = 0;
    while (i < FMask.Length() && k < v.size()) {
        if (FMask.IsInput(i)) {
            QChar c = v[k++];
            if (!FMask.InputChar(i, c))
                c = FMask.Blank();
            FEditText[i] = c;
        } else if (v[k] == FMask.Position(i).Char) {
            ++k;
        }
        ++i;
    }
    SetCaret(i);
    CheckCursor();
}

void TEditMaskEngine::MoveCaret(TCaretKey Key)
{
    if (!FMask.IsMasked())
        return;
    const bool selection = FSelLength > 1;
    switch (Key) {
    case ckLeft:
        if (selection) {
            SetCaret(FSelStart);
            CheckCursor();
        } else {
            const int p = FMask.PrevInput(FSelStart);
            SetCaret(p >= 0 ? p : FSelStart);
        }
        break;
    case ckRight:
        if (selection) {
            SetCaret(FSelStart + FSelLength);
            CheckCursor();
        } else {
            const int p = FMask.NextInput(FSelStart + 1);
            SetCaret(p >= 0 ? p : FMask.Length());
        }
        break;
    case ckHome: {
        const int p = FMask.NextInput(0);
        SetCaret(p >= 0 ? p : 0);
        break;
    }
    case ckEnd:
        SetCaret(FMask.Length());
        break;
    }
}

void TEditMaskEngine::CheckCursor()
{
    if (!FMask.IsMasked() || FSelLength != 0 || FSelStart >= FMask.Length() || FMask.IsInput(FSelStart))
        return;
    const int p = FMask.NextInput(FSelStart);
    SetCaret(p >= 0 ? p : FMask.Length());
}
