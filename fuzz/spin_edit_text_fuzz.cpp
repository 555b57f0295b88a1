// Text typed or pasted into the spin edit meets its readers: each kind reads the text, steps it
// in every field of the caret and leaves the edit. The first byte picks the kind, the separator
// set and the caret; the rest is the text. A step may refuse (a date or time out of range) with
// EConvertError, which must leave the text as it was.
#include "dropdowns/EsgSpinEdit.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "support/FuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size == 0)
        return 0;
    Fuzz::NeedApplication();
    const TFormatSettings saved = FormatSettings;
    const bool european = (Data[0] & 4) != 0;
    FormatSettings.DecimalSeparator = QLatin1Char(european ? ',' : '.');
    FormatSettings.ThousandSeparator = QLatin1Char(european ? '.' : ',');
    FormatSettings.DateSeparator = QLatin1Char(european ? '.' : '/');
    FormatSettings.TimeSeparator = QLatin1Char(':');
    FormatSettings.ShortDateFormat = european ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM/dd/yyyy");
    FormatSettings.LongTimeFormat = QStringLiteral("hh:nn:ss");
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(Data + 1), static_cast<qsizetype>(Size - 1));

    auto form = std::make_unique<TForm>(nullptr);
    auto *edit = new TEsgSpinEdit(form.get());
    edit->SetParent(form.get());
    edit->SetSpinType(static_cast<TEsgSpinType>(Data[0] & 3));
    edit->SetPrecision((Data[0] >> 3) & 3);
    edit->ShowSeconds = (Data[0] & 0x20) != 0;
    edit->SetText(text);
    (void)edit->GetValue();
    (void)edit->GetFloatValue();
    (void)edit->GetDateValue();
    (void)edit->GetTimeValue();
    for (QChar c : text)
        (void)edit->IsValidChar(c.unicode());
    for (int caret = 0; caret <= edit->Text().size(); caret += 3) {
        edit->SetSelStart(caret);
        for (bool up : {true, false}) {
            const QString before = edit->Text();
            try {
                if (up)
                    edit->StepUp((Data[0] & 0x40) != 0);
                else
                    edit->StepDown((Data[0] & 0x40) != 0);
            } catch (const EConvertError &) {
                Fuzz::Check(edit->Text() == before, "a refused step changed the text");
            }
        }
        if (caret > 30)
            break;
    }
    form.reset();
    FormatSettings = saved;
    return 0;
}
