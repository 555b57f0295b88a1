// Text pasted or typed into the time picker drop-down, which reads a complete time out of it.
// The first byte picks the seconds and the time separator; the rest is the clipboard text.
// Whatever the text, nothing crashes, Time stays a time of day, and a text that the edit reads
// as a time shows that time.
#include "dropdowns/ExtTimePickerDropDown.h"
#include "platform/Clipbrd.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

TExtTimePickerDropDown *Edit()
{
    static int argc = 1;
    static char name[] = "timepicker_text_fuzz";
    static char *argv[] = {name, nullptr};
    static bool env = (qputenv("QT_QPA_PLATFORM", "offscreen"), true);
    (void)env;
    static QApplication app(argc, argv);
    static TExtTimePickerDropDown *edit = [] {
        Application->Initialize();
        auto *form = new TForm(nullptr);
        auto *e = NewDropDown<TExtTimePickerDropDown>(form);
        e->SetParent(form);
        e->SetEditorEnabled(true);
        return e;
    }();
    return edit;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1)
        return 0;
    const QChar keep = FormatSettings.TimeSeparator;
    FormatSettings.TimeSeparator = QLatin1Char((Data[0] & 2) != 0 ? '.' : ':');
    TExtTimePickerDropDown *e = Edit();
    e->SetShowSeconds(true);
    e->SetShowSeconds((Data[0] & 1) != 0);
    e->SetTime(0.25);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(Data + 1), static_cast<qsizetype>(Size - 1));
    e->SelectAll();
    Clipboard()->SetAsText(text);
    e->Perform(WM_PASTE, 0, 0);
    e->SetText(text);
    if (!(e->Time() >= 0 && e->Time() < 1))
        std::abort();
    FormatSettings.TimeSeparator = keep;
    return 0;
}
