// The text classes of the drop-down edit as typed or pasted text meets them: the number kind,
// the thousand separators taken out, the hexadecimal value and the case folding. The first
// byte picks the separators, so that both the usual and the European settings are tried.
#include "controls/ExtDropDown.h"
#include "platform/SysUtils.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size == 0)
        return 0;
    const bool European = (Data[0] & 1) != 0;
    FormatSettings.ThousandSeparator = QLatin1Char(European ? '.' : ',');
    FormatSettings.DecimalSeparator = QLatin1Char(European ? ',' : '.');
    const QString Text = QString::fromUtf8(reinterpret_cast<const char *>(Data + 1), static_cast<qsizetype>(Size - 1));

    const int Kind = DropDownNumberKind(Text);
    if (Kind != 0 && Kind != 1 && Kind != 2 && Kind != 5)
        std::abort();
    // An integer is made of digits and minus signs only, and a text the classes accept is never
    // empty.
    if (Kind == 0)
        for (QChar C : Text)
            if (!C.isDigit() && C != QLatin1Char('-'))
                std::abort();
    if (Text.isEmpty() && Kind != 2)
        std::abort();
    const QString Stripped = StripThousandSeparators(Text);
    if (Stripped.contains(ThousandSeparatorChar()) || Stripped.size() > Text.size())
        std::abort();
    (void)HexTextToInt(Text);
    (void)CaseFoldText(Text, false);
    for (QChar C : Text) {
        (void)IsRangeSeparator(C);
        if (HexDigitValue(C) < 0 || HexDigitValue(C) > 15)
            std::abort();
    }
    return 0;
}
