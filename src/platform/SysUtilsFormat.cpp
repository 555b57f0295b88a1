// Format: the classic printf-like formatter over TVarRec arguments.

#include "platform/SysUtils.h"

#include <algorithm>
#include <cstdint>

namespace {

class TFormatter {
public:
    TFormatter(const QString &Fmt, const TVarRec *Args, int Count, const TFormatSettings &FS)
        : FFmt(Fmt), FArgs(Args), FCount(Count), FS(FS)
    {
    }

    QString Run()
    {
        QString out;
        out.reserve(FFmt.size() + 16);
        const qsizetype n = FFmt.size();
        qsizetype i = 0;
        while (i < n) {
            const QChar c = FFmt[i++];
            if (c != QLatin1Char('%')) {
                out += c;
                continue;
            }
            if (i >= n)
                Invalid();
            if (FFmt[i] == QLatin1Char('%')) {
                out += c;
                ++i;
                continue;
            }
            out += Specifier(i);
        }
        return out;
    }

private:
    [[noreturn]] void Invalid() const
    {
        throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(FFmt));
    }

    const TVarRec &NextArg()
    {
        if (FArgIndex < 0 || FArgIndex >= FCount)
            throw EConvertError(QStringLiteral("No argument for format '%1'").arg(FFmt));
        return FArgs[FArgIndex++];
    }

    bool IsDigit(qsizetype i) const
    {
        return i < FFmt.size() && FFmt[i].unicode() >= u'0' && FFmt[i].unicode() <= u'9';
    }

    // A number or "*" (the next argument, which must be an integer); -1 when there is none.
    int Number(qsizetype &i)
    {
        if (i < FFmt.size() && FFmt[i] == QLatin1Char('*')) {
            ++i;
            const TVarRec &a = NextArg();
            if (a.VType() != TVarRec::vtInteger && a.VType() != TVarRec::vtInt64)
                Invalid();
            return static_cast<int>(std::clamp<long long>(a.AsInt64(), -1, 1 << 20));
        }
        if (!IsDigit(i))
            return -1;
        long long v = 0;
        while (IsDigit(i)) {
            v = std::min<long long>(v * 10 + (FFmt[i].unicode() - u'0'), 1 << 20);
            ++i;
        }
        return static_cast<int>(v);
    }

    QString Specifier(qsizetype &i)
    {
        bool leftAlign = false;
        int width = -1;
        int precision = -1;

        int first = Number(i);
        if (first >= 0 && i < FFmt.size() && FFmt[i] == QLatin1Char(':')) {
            FArgIndex = first;
            ++i;
            first = -1;
        }
        if (first < 0) {
            if (i < FFmt.size() && FFmt[i] == QLatin1Char('-')) {
                leftAlign = true;
                ++i;
            }
            width = Number(i);
        } else {
            width = first;
        }
        if (i < FFmt.size() && FFmt[i] == QLatin1Char('.')) {
            ++i;
            precision = std::max(0, Number(i));
        }
        if (i >= FFmt.size())
            Invalid();
        const char16_t type = QChar(FFmt[i++]).toLower().unicode();

        QString text = Convert(type, precision);
        if (width > text.size()) {
            const QString pad(width - text.size(), QLatin1Char(' '));
            text = leftAlign ? text + pad : pad + text;
        }
        return text;
    }

    static QString ZeroPad(QString Digits, int Precision)
    {
        if (Precision > Digits.size())
            Digits.prepend(QString(Precision - Digits.size(), QLatin1Char('0')));
        return Digits;
    }

    QString Convert(char16_t Type, int Precision)
    {
        switch (Type) {
        case u'd': {
            const TVarRec &a = IntegerArg();
            const long long v = a.AsInt64();
            const QString digits = QString::number(v < 0 ? 0ULL - static_cast<unsigned long long>(v)
                                                         : static_cast<unsigned long long>(v));
            return (v < 0 ? QStringLiteral("-") : QString()) + ZeroPad(digits, Precision);
        }
        case u'u':
        case u'x': {
            const TVarRec &a = IntegerArg();
            // A 32-bit argument shows its own bit pattern, not that of its 64-bit widening.
            const unsigned long long v = a.VType() == TVarRec::vtInteger
                                             ? static_cast<std::uint32_t>(a.AsInt64())
                                             : static_cast<unsigned long long>(a.AsInt64());
            const QString digits = Type == u'u' ? QString::number(v) : QString::number(v, 16).toUpper();
            return ZeroPad(digits, Precision);
        }
        case u'e':
            return FloatToStrF(FloatArg(), ffExponent, Precision < 0 ? 15 : Precision, 3, FS);
        case u'f':
            return FloatToStrF(FloatArg(), ffFixed, 15, Precision < 0 ? 2 : Precision, FS);
        case u'g':
            return FloatToStrF(FloatArg(), ffGeneral, Precision < 0 ? 15 : Precision, 3, FS);
        case u'n':
            return FloatToStrF(FloatArg(), ffNumber, 15, Precision < 0 ? 2 : Precision, FS);
        case u'm':
            return FloatToStrF(FloatArg(), ffCurrency, 15, Precision < 0 ? FS.CurrencyDecimals : Precision, FS);
        case u's': {
            const TVarRec &a = NextArg();
            if (a.VType() != TVarRec::vtString && a.VType() != TVarRec::vtChar)
                Invalid();
            return Precision >= 0 ? a.AsString().left(Precision) : a.AsString();
        }
        case u'p': {
            const TVarRec &a = NextArg();
            if (a.VType() != TVarRec::vtPointer)
                Invalid();
            const auto v = reinterpret_cast<std::uintptr_t>(a.AsPointer());
            return ZeroPad(QString::number(static_cast<unsigned long long>(v), 16).toUpper(),
                           static_cast<int>(sizeof(void *) * 2));
        }
        default:
            Invalid();
        }
    }

    const TVarRec &IntegerArg()
    {
        const TVarRec &a = NextArg();
        if (a.VType() != TVarRec::vtInteger && a.VType() != TVarRec::vtInt64)
            Invalid();
        return a;
    }

    double FloatArg()
    {
        const TVarRec &a = NextArg();
        if (a.VType() != TVarRec::vtExtended)
            Invalid();
        return a.AsExtended();
    }

    const QString &FFmt;
    const TVarRec *FArgs;
    int FCount;
    const TFormatSettings &FS;
    int FArgIndex = 0;
};

} // namespace

UnicodeString Format(const UnicodeString &Fmt, std::initializer_list<TVarRec> Args)
{
    return TFormatter(Fmt, Args.begin(), static_cast<int>(Args.size()), FormatSettings).Run();
}

UnicodeString Format(const UnicodeString &Fmt, std::initializer_list<TVarRec> Args,
                     const TFormatSettings &AFormatSettings)
{
    return TFormatter(Fmt, Args.begin(), static_cast<int>(Args.size()), AFormatSettings).Run();
}

UnicodeString Format(const UnicodeString &Fmt, const std::vector<TVarRec> &Args)
{
    return TFormatter(Fmt, Args.data(), static_cast<int>(Args.size()), FormatSettings).Run();
}

UnicodeString Format(const UnicodeString &Fmt, const std::vector<TVarRec> &Args,
                     const TFormatSettings &AFormatSettings)
{
    return TFormatter(Fmt, Args.data(), static_cast<int>(Args.size()), AFormatSettings).Run();
}
