// Floating point reading and writing: StrToFloat, FloatToStr(F) and the FormatFloat pictures.

#include "platform/SysUtils.h"

#include <QList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// A decimal value 0.Digits x 10^Exponent. Digits carries no trailing zeros; empty means zero.
struct TFloatRec {
    bool Negative = false;
    bool Nan = false;
    bool Inf = false;
    int Exponent = 0;
    std::string Digits;

    bool IsZero() const { return Digits.empty(); }
};

// Digits beyond 15 are binary noise of a double; cutting there makes 0.1 + 0.2 print as 0.3.
constexpr int MaxDigits = 15;

void StripTrailingZeros(TFloatRec &R)
{
    while (!R.Digits.empty() && R.Digits.back() == '0')
        R.Digits.pop_back();
    if (R.Digits.empty())
        R.Exponent = 0;
}

TFloatRec FloatToDecimal(double V)
{
    TFloatRec r;
    if (std::isnan(V)) {
        r.Nan = true;
        return r;
    }
    r.Negative = std::signbit(V);
    if (std::isinf(V)) {
        r.Inf = true;
        return r;
    }
    V = std::fabs(V);
    if (V == 0) {
        r.Negative = false;
        return r;
    }
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, V, std::chars_format::scientific, MaxDigits - 1);
    const std::string text(buf, res.ptr);
    const std::size_t e = text.find('e');
    r.Digits.push_back(text[0]);
    r.Digits.append(text.substr(2, e - 2));
    r.Exponent = std::stoi(text.substr(e + 1)) + 1;
    StripTrailingZeros(r);
    return r;
}

// Keeps Count significant digits, rounding half away from zero.
void RoundDigits(TFloatRec &R, int Count)
{
    if (R.IsZero() || Count >= static_cast<int>(R.Digits.size()))
        return;
    if (Count < 0) {
        R.Digits.clear();
        R.Exponent = 0;
        return;
    }
    const bool up = R.Digits[static_cast<std::size_t>(Count)] >= '5';
    R.Digits.resize(static_cast<std::size_t>(Count));
    if (up) {
        while (!R.Digits.empty() && R.Digits.back() == '9')
            R.Digits.pop_back();
        if (R.Digits.empty()) {
            R.Digits.push_back('1');
            R.Exponent += 1;
        } else {
            R.Digits.back() = static_cast<char>(R.Digits.back() + 1);
        }
    }
    StripTrailingZeros(R);
}

void RoundToDecimals(TFloatRec &R, int Decimals) { RoundDigits(R, R.Exponent + Decimals); }

char DigitAt(const TFloatRec &R, int Index)
{
    return Index >= 0 && Index < static_cast<int>(R.Digits.size()) ? R.Digits[static_cast<std::size_t>(Index)] : '0';
}

QString IntegerDigits(const TFloatRec &R)
{
    if (R.Exponent <= 0)
        return QStringLiteral("0");
    QString s;
    for (int i = 0; i < R.Exponent; ++i)
        s += QLatin1Char(DigitAt(R, i));
    return s;
}

QString GroupThousands(const QString &Digits, QChar Separator)
{
    if (Separator.isNull())
        return Digits;
    QString s;
    const qsizetype n = Digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        s += Digits[i];
        const qsizetype left = n - 1 - i;
        if (left > 0 && left % 3 == 0)
            s += Separator;
    }
    return s;
}

QString FixedText(const TFloatRec &R, int Decimals, QChar Thousand, QChar Decimal)
{
    QString s = GroupThousands(IntegerDigits(R), Thousand);
    if (Decimals > 0) {
        s += Decimal;
        for (int k = 0; k < Decimals; ++k)
            s += QLatin1Char(DigitAt(R, R.Exponent + k));
    }
    return s;
}

QString ExponentText(int Exponent, int MinDigits, bool AlwaysSign)
{
    QString s = QStringLiteral("E");
    if (Exponent < 0)
        s += QLatin1Char('-');
    else if (AlwaysSign)
        s += QLatin1Char('+');
    QString digits = QString::number(std::abs(Exponent));
    if (digits.size() < MinDigits)
        digits.prepend(QString(MinDigits - digits.size(), QLatin1Char('0')));
    return s + digits;
}

QString GeneralText(TFloatRec R, int Precision, int Digits, QChar Decimal)
{
    RoundDigits(R, Precision);
    if (R.IsZero())
        return QStringLiteral("0");
    const int n = static_cast<int>(R.Digits.size());
    if (R.Exponent > Precision || R.Exponent < -3) {
        QString s(QLatin1Char(R.Digits[0]));
        if (n > 1) {
            s += Decimal;
            s += QString::fromLatin1(R.Digits.substr(1));
        }
        return s + ExponentText(R.Exponent - 1, Digits, false);
    }
    QString s = IntegerDigits(R);
    if (n > R.Exponent) {
        s += Decimal;
        for (int i = R.Exponent; i < n; ++i)
            s += QLatin1Char(DigitAt(R, i));
    }
    return s;
}

QString CurrencyText(const QString &Number, bool Negative, const TFormatSettings &FS)
{
    const QString &c = FS.CurrencyString;
    const QString &n = Number;
    if (!Negative) {
        switch (FS.CurrencyFormat) {
        case 1: return n + c;
        case 2: return c + QLatin1Char(' ') + n;
        case 3: return n + QLatin1Char(' ') + c;
        default: return c + n;
        }
    }
    switch (FS.NegCurrFormat) {
    case 1: return QLatin1Char('-') + c + n;
    case 2: return c + QLatin1Char('-') + n;
    case 3: return c + n + QLatin1Char('-');
    case 4: return QLatin1Char('(') + n + c + QLatin1Char(')');
    case 5: return QLatin1Char('-') + n + c;
    case 6: return n + QLatin1Char('-') + c;
    case 7: return n + c + QLatin1Char('-');
    case 8: return QLatin1Char('-') + n + QLatin1Char(' ') + c;
    case 9: return QLatin1Char('-') + c + QLatin1Char(' ') + n;
    case 10: return n + QLatin1Char(' ') + c + QLatin1Char('-');
    case 11: return c + QLatin1Char(' ') + n + QLatin1Char('-');
    case 12: return c + QLatin1Char(' ') + QLatin1Char('-') + n;
    case 13: return n + QLatin1Char('-') + QLatin1Char(' ') + c;
    case 14: return QLatin1Char('(') + c + QLatin1Char(' ') + n + QLatin1Char(')');
    case 15: return QLatin1Char('(') + n + QLatin1Char(' ') + c + QLatin1Char(')');
    default: return QLatin1Char('(') + c + n + QLatin1Char(')');
    }
}

QString SpecialText(const TFloatRec &R)
{
    if (R.Nan)
        return QStringLiteral("NAN");
    return R.Negative ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// ---------------------------------------------------------------------------------------------
// FormatFloat pictures

QList<QString> SplitSections(const QString &Format)
{
    QList<QString> sections;
    QString current;
    QChar quote;
    for (QChar c : Format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    sections.append(current);
    return sections;
}

struct TPicture {
    int IntPlaceholders = 0;
    int MinInt = 0;
    int DecPlaceholders = 0;
    int MinDec = 0;
    bool Thousands = false;
    bool Scientific = false;
};

bool IsExponentAt(const QString &S, qsizetype I)
{
    return (S[I] == QLatin1Char('E') || S[I] == QLatin1Char('e')) && I + 1 < S.size() &&
           (S[I + 1] == QLatin1Char('+') || S[I + 1] == QLatin1Char('-'));
}

TPicture ScanPicture(const QString &S)
{
    TPicture p;
    bool afterPoint = false;
    int firstZero = -1;
    for (qsizetype i = 0; i < S.size(); ++i) {
        const QChar c = S[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = S.indexOf(c, i + 1);
            i = end < 0 ? S.size() : end;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (afterPoint) {
                ++p.DecPlaceholders;
                if (c == QLatin1Char('0'))
                    p.MinDec = p.DecPlaceholders;
            } else {
                if (c == QLatin1Char('0') && firstZero < 0)
                    firstZero = p.IntPlaceholders;
                ++p.IntPlaceholders;
            }
        } else if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (c == QLatin1Char(',')) {
            if (!afterPoint)
                p.Thousands = true;
        } else if (IsExponentAt(S, i)) {
            p.Scientific = true;
            break; // the digits after the exponent mark belong to the exponent
        }
    }
    p.MinInt = firstZero < 0 ? 0 : p.IntPlaceholders - firstZero;
    return p;
}

QString ApplyPicture(const QString &S, const TPicture &P, TFloatRec R, bool ShowMinus, const TFormatSettings &FS)
{
    // The digits of the integer part and of the fraction.
    QString intDigits;
    QString fracDigits;
    int exponent = 0;
    if (P.Scientific) {
        if (!R.IsZero())
            exponent = R.Exponent - P.IntPlaceholders;
        for (int i = 0; i < P.IntPlaceholders; ++i)
            intDigits += R.IsZero() ? QLatin1Char('0') : QLatin1Char(DigitAt(R, i));
        for (int k = 0; k < P.DecPlaceholders; ++k)
            fracDigits += QLatin1Char(DigitAt(R, P.IntPlaceholders + k));
    } else {
        if (R.Exponent > 0)
            intDigits = IntegerDigits(R);
        for (int k = 0; k < P.DecPlaceholders; ++k)
            fracDigits += QLatin1Char(DigitAt(R, R.Exponent + k));
    }
    // Leading zeros beyond the "0" placeholders go; so do trailing fraction zeros beyond them.
    while (!intDigits.isEmpty() && intDigits[0] == QLatin1Char('0') && intDigits.size() > P.MinInt)
        intDigits.remove(0, 1);
    if (intDigits.size() < P.MinInt)
        intDigits.prepend(QString(P.MinInt - intDigits.size(), QLatin1Char('0')));
    while (fracDigits.size() > P.MinDec && fracDigits.endsWith(QLatin1Char('0')))
        fracDigits.chop(1);

    QString out;
    if (ShowMinus)
        out += QLatin1Char('-');
    const int total = static_cast<int>(intDigits.size());
    const int shift = total - P.IntPlaceholders; // > 0: the first placeholder takes the surplus
    int intIndex = 0;
    int fracIndex = 0;
    bool afterPoint = false;
    bool afterExponent = false;
    auto putIntDigit = [&](int j) {
        out += intDigits[j];
        const int left = total - 1 - j;
        if (P.Thousands && left > 0 && left % 3 == 0)
            out += FS.ThousandSeparator;
    };
    for (qsizetype i = 0; i < S.size(); ++i) {
        const QChar c = S[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = S.indexOf(c, i + 1);
            out += S.mid(i + 1, (end < 0 ? S.size() : end) - i - 1);
            i = end < 0 ? S.size() : end;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (afterExponent) {
                // the exponent has shown all digits there are
            } else if (afterPoint) {
                if (fracIndex < fracDigits.size())
                    out += fracDigits[fracIndex];
                ++fracIndex;
            } else {
                const int j = intIndex + shift;
                if (intIndex == 0)
                    for (int k = 0; k < j; ++k)
                        putIntDigit(k);
                if (j >= 0)
                    putIntDigit(j);
                ++intIndex;
            }
        } else if (c == QLatin1Char('.')) {
            if (!afterPoint && !fracDigits.isEmpty())
                out += FS.DecimalSeparator;
            afterPoint = true;
        } else if (c == QLatin1Char(',')) {
            // only switches thousand separators on
        } else if (P.Scientific && IsExponentAt(S, i)) {
            out += c;
            const bool plus = S[i + 1] == QLatin1Char('+');
            if (exponent < 0)
                out += QLatin1Char('-');
            else if (plus)
                out += QLatin1Char('+');
            i += 2;
            int minDigits = 0;
            while (i < S.size() && S[i] == QLatin1Char('0') && minDigits < 4) {
                ++minDigits;
                ++i;
            }
            --i;
            afterExponent = true;
            QString e = QString::number(std::abs(exponent));
            if (e.size() < minDigits)
                e.prepend(QString(minDigits - e.size(), QLatin1Char('0')));
            out += e;
        } else {
            out += c;
        }
    }
    return out;
}

QString FormatFloatImpl(const QString &Format, double Value, const TFormatSettings &FS)
{
    if (Format.isEmpty())
        return FloatToStr(Value, FS);
    const TFloatRec rec = FloatToDecimal(Value);
    if (rec.Nan || rec.Inf)
        return SpecialText(rec);

    const QList<QString> sections = SplitSections(Format);
    auto sectionAt = [&](int i) { return i < sections.size() ? sections[i] : QString(); };
    int section = 0;
    if (rec.Negative && !sectionAt(1).isEmpty())
        section = 1;
    else if (rec.IsZero() && !sectionAt(2).isEmpty())
        section = 2;

    for (;;) {
        const QString &pic = sections[section];
        const TPicture p = ScanPicture(pic);
        TFloatRec r = rec;
        RoundDigits(r, MaxDigits);
        if (p.Scientific)
            RoundDigits(r, std::max(1, p.IntPlaceholders + p.DecPlaceholders));
        else
            RoundToDecimals(r, p.DecPlaceholders);
        // A value that rounds to zero is shown by the zero section, and never as "-0".
        if (r.IsZero() && section != 2 && !sectionAt(2).isEmpty()) {
            section = 2;
            continue;
        }
        const bool showMinus = section == 0 && r.Negative && !r.IsZero();
        return ApplyPicture(pic, p, r, showMinus, FS);
    }
}

// The classic float text: blanks around, sign, digits with the decimal separator, exponent.
bool TextToFloat(const QString &S, double &Value, const TFormatSettings &FS)
{
    const QString t = Trim(S);
    if (t.isEmpty())
        return false;
    qsizetype i = 0;
    std::string ascii;
    bool negative = false;
    if (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    const QString rest = t.mid(i);
    if (rest.compare(QLatin1String("INF"), Qt::CaseInsensitive) == 0) {
        Value = negative ? -HUGE_VAL : HUGE_VAL;
        return true;
    }
    if (rest.compare(QLatin1String("NAN"), Qt::CaseInsensitive) == 0) {
        Value = std::nan("");
        return true;
    }
    int digits = 0;
    auto isDigit = [&](qsizetype k) { return k < t.size() && t[k].unicode() >= u'0' && t[k].unicode() <= u'9'; };
    while (isDigit(i)) {
        ascii += static_cast<char>(t[i].unicode());
        ++digits;
        ++i;
    }
    if (i < t.size() && t[i] == FS.DecimalSeparator) {
        ascii += '.';
        ++i;
        while (isDigit(i)) {
            ascii += static_cast<char>(t[i].unicode());
            ++digits;
            ++i;
        }
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ascii += 'e';
        ++i;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
            ascii += static_cast<char>(t[i].unicode());
            ++i;
        }
        if (!isDigit(i))
            return false;
        while (isDigit(i)) {
            ascii += static_cast<char>(t[i].unicode());
            ++i;
        }
    }
    if (i != t.size())
        return false;
    double v = 0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
    if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size())
        return false;
    Value = negative ? -v : v;
    return true;
}

QString InvalidFloat(const QString &S)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(S);
}

} // namespace

bool TryStrToFloat(const UnicodeString &S, double &Value) { return TextToFloat(S, Value, FormatSettings); }

bool TryStrToFloat(const UnicodeString &S, double &Value, const TFormatSettings &AFormatSettings)
{
    return TextToFloat(S, Value, AFormatSettings);
}

double StrToFloat(const UnicodeString &S) { return StrToFloat(S, FormatSettings); }

double StrToFloat(const UnicodeString &S, const TFormatSettings &AFormatSettings)
{
    double v = 0;
    if (!TextToFloat(S, v, AFormatSettings))
        throw EConvertError(InvalidFloat(S));
    return v;
}

double StrToFloatDef(const UnicodeString &S, double Default) { return StrToFloatDef(S, Default, FormatSettings); }

double StrToFloatDef(const UnicodeString &S, double Default, const TFormatSettings &AFormatSettings)
{
    double v = 0;
    return TextToFloat(S, v, AFormatSettings) ? v : Default;
}

UnicodeString FloatToStr(double Value) { return FloatToStrF(Value, ffGeneral, 15, 0, FormatSettings); }

UnicodeString FloatToStr(double Value, const TFormatSettings &AFormatSettings)
{
    return FloatToStrF(Value, ffGeneral, 15, 0, AFormatSettings);
}

UnicodeString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits)
{
    return FloatToStrF(Value, Format, Precision, Digits, FormatSettings);
}

UnicodeString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                          const TFormatSettings &AFormatSettings)
{
    const TFormatSettings &fs = AFormatSettings;
    TFloatRec r = FloatToDecimal(Value);
    if (r.Nan || r.Inf)
        return SpecialText(r);
    Precision = std::clamp(Precision, 1, MaxDigits);
    Digits = std::clamp(Digits, 0, 18);
    const QString minus = r.Negative ? QStringLiteral("-") : QString();

    switch (Format) {
    case TFloatFormat::ffGeneral: {
        const QString s = GeneralText(r, Precision, std::min(Digits, 4), fs.DecimalSeparator);
        return s == QLatin1String("0") ? s : minus + s;
    }
    case TFloatFormat::ffExponent: {
        RoundDigits(r, Precision);
        QString s(QLatin1Char(DigitAt(r, 0)));
        if (Precision > 1) {
            s += fs.DecimalSeparator;
            for (int i = 1; i < Precision; ++i)
                s += QLatin1Char(DigitAt(r, i));
        }
        s += ExponentText(r.IsZero() ? 0 : r.Exponent - 1, std::min(Digits, 4), true);
        return r.IsZero() ? s : minus + s;
    }
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
        RoundDigits(r, Precision);
        if (r.Exponent > Precision && Format != TFloatFormat::ffCurrency)
            return FloatToStrF(Value, ffGeneral, Precision, 0, fs);
        RoundToDecimals(r, Digits);
        const QChar thousand = Format == TFloatFormat::ffFixed ? QChar() : fs.ThousandSeparator;
        const QString number = FixedText(r, Digits, thousand, fs.DecimalSeparator);
        if (Format == TFloatFormat::ffCurrency)
            return CurrencyText(number, r.Negative && !r.IsZero(), fs);
        return r.IsZero() ? number : minus + number;
    }
    }
    return {};
}

UnicodeString FormatFloat(const UnicodeString &Format, double Value)
{
    return FormatFloatImpl(Format, Value, FormatSettings);
}

UnicodeString FormatFloat(const UnicodeString &Format, double Value, const TFormatSettings &AFormatSettings)
{
    return FormatFloatImpl(Format, Value, AFormatSettings);
}

UnicodeString CurrToStr(Currency Value) { return FloatToStrF(Value, ffGeneral, 15, 0, FormatSettings); }
