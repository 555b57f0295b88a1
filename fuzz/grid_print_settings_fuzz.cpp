// The grid's print settings file (section "Print"): any bytes load, and what loaded saves to a
// file that loads back to the same file.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"

namespace {

const QString Section = QStringLiteral("Print");

QByteArray Saved(TExtStringGrid &G, const QString &Name)
{
    G.SavePrintSettings(Fuzz::PathOf(Name), Section);
    return Fuzz::ReadFile(Name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size > 64 * 1024)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    Fuzz::WriteFile(QStringLiteral("in.ini"), Fuzz::Bytes(Data, Size));
    TExtStringGrid g(nullptr);
    g.LoadPrintSettings(Fuzz::PathOf(QStringLiteral("in.ini")), Section);
    // One round settles what the file keeps loosely (title line breaks, font sizes).
    Saved(g, QStringLiteral("once.ini"));
    TExtStringGrid h(nullptr);
    h.LoadPrintSettings(Fuzz::PathOf(QStringLiteral("once.ini")), Section);
    const QByteArray twice = Saved(h, QStringLiteral("twice.ini"));
    TExtStringGrid k(nullptr);
    k.LoadPrintSettings(Fuzz::PathOf(QStringLiteral("twice.ini")), Section);
    Fuzz::CheckSame(QString::fromUtf8(Saved(k, QStringLiteral("thrice.ini"))), QString::fromUtf8(twice),
                    "a saved print settings file does not load back the same");
    return 0;
}
