// Clipboard text pasted into a drop-down edit of every edit type. The first byte picks the edit
// type, the second the separators, the sign and the precision; the rest is the clipboard text.
// Whatever the text, the paste never crashes, and the hexadecimal and range edits never take it.
#include "dropdowns/ExtCustomDropDown.h"
#include "platform/Clipbrd.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class TFuzzDropDown : public TExtCustomDropDown {
public:
    explicit TFuzzDropDown(TComponent *AOwner) : TExtCustomDropDown(AOwner) {}
};

TFuzzDropDown *Edit()
{
    static int argc = 1;
    static char name[] = "dropdown_paste_fuzz";
    static char *argv[] = {name, nullptr};
    static bool env = (qputenv("QT_QPA_PLATFORM", "offscreen"), true);
    (void)env;
    static QApplication app(argc, argv);
    static TFuzzDropDown *edit = [] {
        Application->Initialize();
        auto *form = new TForm(nullptr);
        auto *e = NewDropDown<TFuzzDropDown>(form);
        e->SetParent(form);
        return e;
    }();
    return edit;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 2)
        return 0;
    TFuzzDropDown *e = Edit();
    const bool European = (Data[1] & 1) != 0;
    FormatSettings.ThousandSeparator = QLatin1Char(European ? '.' : ',');
    FormatSettings.DecimalSeparator = QLatin1Char(European ? ',' : '.');
    e->SetEditType(etString);
    e->SetPrecision(0);
    e->SetEditType(static_cast<TDropDownEditType>(Data[0] % 12));
    e->Signed = (Data[1] & 2) != 0;
    e->SetPrecision(static_cast<SmallInt>((Data[1] >> 2) % 4));
    e->ValidChars = QStringLiteral("0123456789abc");
    e->SetText(QStringLiteral("5"));
    const QString before = e->EditText();
    e->SetSelStart(static_cast<int>(Data[1] >> 4) % (before.size() + 1));
    Clipboard()->SetAsText(QString::fromUtf8(reinterpret_cast<const char *>(Data + 2), static_cast<qsizetype>(Size - 2)));
    e->Perform(WM_PASTE, 0, 0);
    if ((e->EditType() == etHex || e->EditType() == etRange) && e->EditText() != before)
        std::abort();
    return 0;
}
