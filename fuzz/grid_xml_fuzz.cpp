// An XML document as a user's file gives it: any bytes load into the string grid or raise a
// clear error, never grow the grid past the readers' ceilings, and what loaded is written as
// XML again and reads back.
//
// Input: the first byte chooses the settings (bit 0 LevelToRow, bit 1 LoadFieldDescr, bit 2
// save fixed rows, bit 3 save fixed cells, bit 4 quote empty cells, bit 5 one fixed row); the
// rest is the file.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1 || Size > 256 * 1024)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    const Byte flags = Data[0];
    Fuzz::WriteFile(QStringLiteral("in.xml"), Fuzz::Bytes(Data + 1, Size - 1));
    TExtStringGrid g(nullptr);
    g.SetFixedCols(0);
    g.SetFixedRows(flags & 32 ? 1 : 0);
    g.SetColCount(2);
    g.SetRowCount(2);
    g.SetSaveFixedRows(flags & 4);
    g.SetSaveFixedCells(flags & 8);
    g.SetQuoteEmptyCells(flags & 16);
    try {
        g.LoadFromXML(Fuzz::PathOf(QStringLiteral("in.xml")), flags & 1, flags & 2);
    } catch (const Exception &e) {
        Fuzz::Check(e.Message().startsWith(QStringLiteral("XMLDOM Parsing error ")) ||
                        e.Message() == QStringLiteral("XML file holds more rows or columns than the grid can take"),
                    "unexpected error from the XML reader");
        return 0;
    }
    Fuzz::Check(g.ColCount() <= TExtStringGrid::MaxFileCols && g.RowCount() <= TExtStringGrid::MaxFileRows,
                "the file grew the grid past the ceiling");
    if (g.RowCount() * qint64(g.ColCount()) > 100000)
        return 0;
    g.SaveToXML(Fuzz::PathOf(QStringLiteral("out.xml")), QStringLiteral("list"), QStringLiteral("row"), nullptr, true);
    TExtStringGrid back(nullptr);
    back.SetFixedCols(0);
    back.SetFixedRows(0);
    back.SetSaveFixedCells(false);
    try {
        back.LoadFromXML(Fuzz::PathOf(QStringLiteral("out.xml")));
    } catch (const Exception &) {
        Fuzz::Check(false, "a document the grid wrote does not read back");
    }
    return 0;
}
