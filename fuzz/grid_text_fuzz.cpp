// Cell texts and filter conditions as a user or a file gives them: the filter matcher, the date
// readers, the number extractor, the wide-text decoder and the short forms of the integer and sort
// lists must answer (or raise their conversion error) for any input, and never crash or hang.
//
// Input: one byte choosing the locale (even: day first with "." thousands and "," decimals; odd:
// month first with "," and "."), then UTF-8 text; up to the first line feed it is the condition,
// after it the value.
#include "controls/ExtGridLists.h"
#include "controls/ExtGridUtil.h"

#include <cstddef>
#include <cstdint>

namespace {

void UseLocale(bool DayFirst)
{
    FormatSettings.DateSeparator = QLatin1Char('/');
    FormatSettings.TimeSeparator = QLatin1Char(':');
    FormatSettings.ThousandSeparator = DayFirst ? QLatin1Char('.') : QLatin1Char(',');
    FormatSettings.DecimalSeparator = DayFirst ? QLatin1Char(',') : QLatin1Char('.');
    FormatSettings.ShortDateFormat = DayFirst ? QStringLiteral("d/M/yyyy") : QStringLiteral("M/d/yyyy");
}

template <typename F>
void AllowConvertError(F &&Call)
{
    try {
        Call();
    } catch (const EConvertError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size == 0 || Size > 64 * 1024)
        return 0;
    UseLocale(Data[0] % 2 == 0);
    const QByteArray bytes(reinterpret_cast<const char *>(Data + 1), static_cast<qsizetype>(Size - 1));
    const QString text = QString::fromUtf8(bytes);
    const qsizetype lf = text.indexOf(QLatin1Char('\n'));
    const QString condition = lf >= 0 ? text.left(lf) : text;
    const QString value = lf >= 0 ? text.mid(lf + 1) : QString();

    // The condition read once must answer as the matcher does.
    for (bool caseSensitive : {true, false})
        if (TFilterCondition(condition, caseSensitive).Match(value) != MatchFilterExpression(condition, value, caseSensitive))
            __builtin_trap();
    (void)MatchPattern(condition, value);

    TDateTime d = 0;
    (void)LocaleTextToDateTime(text, d);
    (void)LooksLikeDate(text);
    AllowConvertError([&] { (void)DateFromUSText(text); });
    AllowConvertError([&] { (void)DateFromEUText(text); });
    AllowConvertError([&] { (void)StepDate(static_cast<int>(Size % 3) - 1, static_cast<int>(Size % 29) - 14, 0, d, 1); });

    (void)ExtractNumberText(text);
    (void)NumberKindOf(text);
    (void)CellTextKind(text, true);
    (void)DecodeWideCellText(text);
    (void)DecodeWideCellText(QString::fromLatin1(bytes));
    (void)ProperCaseName(text);
    (void)CountUndoubledChar(QLatin1Char('"'), text);
    UnicodeString link;
    (void)LinkifyUrl(text, QStringLiteral("HTTP://"), link);

    TIntList ints(0, 0);
    AllowConvertError([&] { ints.SetStrValue(text); });
    (void)ints.StrValue();
    TSortIndexList sort(0, 0);
    sort.LoadFromString(text);
    (void)sort.SaveToString();
    return 0;
}
