// Delimited text as a user's file gives it: any bytes load into the grid or raise the
// reader's error, never grow it past the readers' ceilings, and what loaded writes again and
// reads back the same.
//
// Input: the first byte chooses the settings (bit 0 JavaCSV, bit 1 OemConvert, bit 2 skip the
// first line, bit 3 delimiter "," instead of detection, bit 4 insert instead of load, bits 5-7
// MaxRows 0..7); the rest is the file.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"
#include "platform/Classes.h"

namespace {

// UTF-8 has no form for half of a surrogate pair: the writer puts "?" in its place.
QString AsUtf8Keeps(QString Text)
{
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c.isHighSurrogate() && i + 1 < Text.size() && Text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            Text[i] = u'?';
    }
    return Text;
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
    TExtStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetJavaCSV(flags & 1);
    g.SetOemConvert(flags & 2);
    g.SetLoadFirstRow(!(flags & 4));
    if (flags & 8)
        g.SetDelimiter(u',');
    g.FloatingFooter()->SetVisible(flags & 16);
    const int maxRows = flags >> 5;
    try {
        if (flags & 16) {
            Fuzz::WriteFile(QStringLiteral("in.csv"), body);
            g.InsertFromCSV(Fuzz::PathOf(QStringLiteral("in.csv")), maxRows);
        } else {
            TMemoryStream m;
            m.Write(body.constData(), int(body.size()));
            m.SetPosition(0);
            g.LoadFromCSVStream(&m, maxRows);
        }
    } catch (const EReadError &) {
        return 0;
    } catch (const RIdeZareVorev &) {
        return 0;
    } catch (const Exception &e) {
        Fuzz::Check(e.Message() == QStringLiteral("File is empty"), "unexpected error from the CSV reader");
        return 0;
    }
    Fuzz::Check(g.ColCount() <= TExtStringGrid::MaxFileCols + 3 && g.RowCount() <= TExtStringGrid::MaxFileRows,
                "the file grew the grid past the ceiling");
    Fuzz::Check(g.Delimiter() == ((flags & 8) ? WideChar(u',') : WideChar(0)), "the delimiter was not put back");
    if (g.RowCount() * qint64(g.ColCount()) > 100000)
        return 0;
    // In UTF-8, what the grid writes it reads back cell for cell (but for halves of surrogate
    // pairs, which UTF-8 cannot hold); the Java and OEM forms cannot
    // carry every text ("~", characters beyond the code page), and the footer row moves on insert.
    g.SaveToCSV(Fuzz::PathOf(QStringLiteral("out.csv")), true);
    if ((flags & (1 | 2 | 16)) || g.RowCount() == 0)
        return 0;
    TExtStringGrid back(nullptr);
    back.SetDelimiter(u',');
    back.LoadFromCSV(Fuzz::PathOf(QStringLiteral("out.csv")));
    Fuzz::Check(back.RowCount() == g.RowCount(), "a written CSV read back into another number of rows");
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            Fuzz::CheckSame(back.Cells(c, r), AsUtf8Keeps(g.Cells(c, r)), "a written CSV cell read back differently");
    return 0;
}
