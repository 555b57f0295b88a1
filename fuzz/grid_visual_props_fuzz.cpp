// The grid's looks file: any bytes either load or raise the platform's conversion error, and
// what loaded saves to a file that loads back to the same file.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"
#include "platform/SysUtils.h"

namespace {

QByteArray Saved(TExtStringGrid &G, const QString &Name)
{
    G.SaveVisualProps(Fuzz::PathOf(Name));
    return Fuzz::ReadFile(Name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size > 64 * 1024)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    Fuzz::WriteFile(QStringLiteral("in.txt"), Fuzz::Bytes(Data, Size));
    TExtStringGrid g(nullptr);
    try {
        g.LoadVisualProps(Fuzz::PathOf(QStringLiteral("in.txt")));
    } catch (const EConvertError &) {
        // Stopped at a damaged number or colour; what came before it stays applied.
    }
    // One round settles the forms the file keeps (font sizes through heights, unknown names).
    Saved(g, QStringLiteral("once.txt"));
    TExtStringGrid h(nullptr);
    h.LoadVisualProps(Fuzz::PathOf(QStringLiteral("once.txt")));
    const QByteArray twice = Saved(h, QStringLiteral("twice.txt"));
    TExtStringGrid k(nullptr);
    k.LoadVisualProps(Fuzz::PathOf(QStringLiteral("twice.txt")));
    Fuzz::CheckSame(QString::fromLatin1(Saved(k, QStringLiteral("thrice.txt"))), QString::fromLatin1(twice),
                    "a saved looks file does not load back the same");
    return 0;
}
