// A workbook file imported into the string grid (LoadFromXLS / LoadFromXLSSheet), with fixed
// rows and columns that the import keeps or fills. A workbook the import refuses leaves the grid
// as it was; one it takes leaves every fixed and normal count within the grid's ceilings.
//
// Input: the first byte picks the fixed-cell settings and whether a sheet is named; the rest is
// the workbook file (OOXML or legacy, told apart by content).
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"

#include <QStringList>

namespace {

QString State(TExtStringGrid &G)
{
    QStringList all{QStringLiteral("%1x%2 fixed %3x%4").arg(G.ColCount()).arg(G.RowCount()).arg(G.FixedCols()).arg(G.FixedRows())};
    for (int r = 0; r < G.RowCount(); ++r)
        for (int c = 0; c < G.ColCount(); ++c)
            all << G.Cells(c, r);
    return all.join(u'|');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    Fuzz::WriteFile(QStringLiteral("in.xlsx"), Fuzz::Bytes(Data + 1, Size - 1));
    const QString file = Fuzz::PathOf(QStringLiteral("in.xlsx"));
    TExtStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetFixedCols(Data[0] & 1);
    g.SetFixedRows((Data[0] >> 1) & 1);
    g.SetSaveFixedCells((Data[0] & 4) != 0);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            g.SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    const QString before = State(g);
    try {
        if (Data[0] & 8)
            g.LoadFromXLSSheet(file, QStringLiteral("Sheet1"));
        else
            g.LoadFromXLS(file);
    } catch (const Exception &) {
        Fuzz::CheckSame(State(g), before, "a refused workbook changed the grid");
        return 0;
    }
    Fuzz::Check(g.ColCount() <= TExtStringGrid::MaxFileCols && g.RowCount() <= TExtStringGrid::MaxFileRows,
                "an import grew the grid past its ceiling");
    Fuzz::Check(g.FixedCols() <= g.ColCount() && g.FixedRows() <= g.RowCount(), "more fixed cells than cells");
    return 0;
}
