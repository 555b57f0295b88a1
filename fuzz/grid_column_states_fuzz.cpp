// The grid's column state string: any text either applies or raises before the grid changes,
// never grows the grid past the readers' ceiling, and what applied reads back as a string that
// applies to the same columns again.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"
#include "platform/SysUtils.h"

namespace {

void Prepare(TExtStringGrid &G)
{
    G.SetColCount(5);
    G.SetRowCount(2);
    for (int c = 0; c < 5; ++c)
        G.SetCells(c, 0, QString::number(c));
    G.MoveColumn(4, 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size > 64 * 1024)
        return 0;
    Fuzz::NeedApplication();
    const QString text = QString::fromUtf8(Fuzz::Bytes(Data, Size));
    TExtStringGrid g(nullptr);
    Prepare(g);
    const QString before = g.ColumnStatesToString();
    try {
        g.StringToColumnStates(text);
    } catch (const EConvertError &) {
        Fuzz::CheckSame(g.ColumnStatesToString(), before, "a refused string changed the grid");
        return 0;
    } catch (const EListError &) {
        Fuzz::CheckSame(g.ColumnStatesToString(), before, "a refused string changed the grid");
        return 0;
    }
    Fuzz::Check(g.AllColCount() <= TExtStringGrid::MaxFileCols, "the string grew the grid past the ceiling");
    const QString once = g.ColumnStatesToString();
    g.StringToColumnStates(once);
    Fuzz::CheckSame(g.ColumnStatesToString(), once, "a grid's own state string does not apply back the same");
    return 0;
}
