// The grid's own text file and its stream form: any bytes either load or raise the reader's
// error, never grow the grid past the readers' ceilings, and what loaded saves to a file that
// reads back to the same file.
//
// Input: the first byte chooses the settings (bit 0 Multilinecells, bit 1 SaveFixedCells off);
// the rest is the file, and the same bytes as the stream form.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"
#include "platform/Classes.h"

namespace {

void Prepare(TExtStringGrid &G, Byte Flags)
{
    G.SetColCount(4);
    G.SetRowCount(4);
    G.SetMultilinecells(Flags & 1);
    G.SetSaveFixedCells(!(Flags & 2));
}

QByteArray SavedFile(TExtStringGrid &G)
{
    G.SaveToFile(Fuzz::PathOf(QStringLiteral("out.txt")), true);
    return Fuzz::ReadFile(QStringLiteral("out.txt"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1 || Size > 256 * 1024)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    const Byte flags = Data[0];
    const QByteArray body = Fuzz::Bytes(Data + 1, Size - 1);

    Fuzz::WriteFile(QStringLiteral("in.txt"), body);
    TExtStringGrid g(nullptr);
    Prepare(g, flags);
    bool loaded = true;
    try {
        g.LoadFromFile(Fuzz::PathOf(QStringLiteral("in.txt")));
    } catch (const RIdeZareVorev &) {
        loaded = false;
        Fuzz::Check(g.ColCount() == 4 && g.RowCount() == 4, "a refused file left the grid resized");
    }
    Fuzz::Check(g.ColCount() <= TExtStringGrid::MaxFileCols && g.RowCount() <= TExtStringGrid::MaxFileRows,
                "the file grew the grid past the ceiling");
    if (loaded && g.RowCount() * qint64(g.ColCount()) <= 100000) {
        // One round settles the lossy forms the format keeps; from then on it is stable.
        const QByteArray once = SavedFile(g);
        TExtStringGrid h(nullptr);
        Prepare(h, flags);
        h.LoadFromFile(Fuzz::PathOf(QStringLiteral("out.txt")));
        const QByteArray twice = SavedFile(h);
        TExtStringGrid k(nullptr);
        Prepare(k, flags);
        k.LoadFromFile(Fuzz::PathOf(QStringLiteral("out.txt")));
        Fuzz::CheckSame(QString::fromLatin1(SavedFile(k).toHex()), QString::fromLatin1(twice.toHex()),
                        "a saved text file does not read back the same");
        (void)once;
    }

    TExtStringGrid s(nullptr);
    Prepare(s, flags);
    TMemoryStream m;
    m.Write(body.constData(), int(body.size()));
    m.SetPosition(0);
    try {
        s.LoadFromStream(&m);
        Fuzz::Check(m.Position() <= m.Size(), "the stream reader went past the end");
    } catch (const EConvertError &) {
    } catch (const EReadError &) {
    }
    Fuzz::Check(s.ColCount() <= TExtStringGrid::MaxFileCols && s.RowCount() <= TExtStringGrid::MaxFileRows,
                "the stream grew the grid past the ceiling");
    return 0;
}
