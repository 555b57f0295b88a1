// The grid's binary cell stream: any bytes either load or raise the reader's error, and what
// loaded saves to a stream that gives another grid the same cells.
//
// Input: the first byte chooses where the cells go (bit 0: at cell (1, 2) instead of a whole
// grid load); the rest is the stream.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"
#include "platform/Classes.h"

namespace {

QString TextForm(TExtStringGrid &G)
{
    TMemoryStream s;
    G.SaveToStream(&s);
    return QString::fromLatin1(s.Bytes().toHex());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1 || Size > 256 * 1024)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    const QByteArray body = Fuzz::Bytes(Data + 1, Size - 1);
    TExtStringGrid g(nullptr);
    g.SetColCount(5);
    g.SetRowCount(5);
    TMemoryStream m;
    m.Write(body.constData(), int(body.size()));
    m.SetPosition(0);
    try {
        if (Data[0] & 1)
            g.LoadAtPointFromBinStream(TPoint(1, 2), &m);
        else
            g.LoadFromBinStream(&m);
    } catch (const EReadError &) {
        return 0;
    } catch (const EListError &) {
        return 0;
    }
    Fuzz::Check(g.ColCount() <= TExtStringGrid::MaxFileCols && g.RowCount() <= TExtStringGrid::MaxFileRows,
                "the stream grew the grid past the ceiling");
    if (g.RowCount() * qint64(g.ColCount()) > 100000)
        return 0;
    TMemoryStream again;
    g.SaveToBinStream(&again);
    again.SetPosition(0);
    TExtStringGrid h(nullptr);
    h.LoadFromBinStream(&again);
    Fuzz::CheckSame(TextForm(h), TextForm(g), "a saved cell stream does not read back the same");
    return 0;
}
