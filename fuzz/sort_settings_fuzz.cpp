// The grid's sort-settings string as a program stores and restores it ("u3", "d0", "i;u2;d0"):
// any text either raises or sorts the grid by it, a sort only reorders whole rows, and the
// settings it leaves, saved as a string and restored on the same cells, give the same order.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"
#include "grid/services/ExtGridSort.h"

#include <QStringList>

#include <algorithm>

namespace {

void Prepare(TExtStringGrid &G)
{
    G.SetColCount(4);
    G.SetRowCount(7);
    const char *const cells[6][4] = {{"b", "10", "x", "2024-01-02"}, {"a", "9", "", "2023-12-31"},
                                     {"B", "10", "y", ""},           {"", "-1", "x", "1999-05-05"},
                                     {"c", "1e3", "z", "2024-01-02"}, {"a", "abc", "x", "x"}};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c)
            G.SetCells(c, r + 1, QString::fromLatin1(cells[r][c]));
    for (int c = 0; c < 4; ++c)
        G.SetCells(c, 0, QStringLiteral("H%1").arg(c));
}

QStringList Rows(TExtStringGrid &G)
{
    QStringList rows;
    for (int r = 0; r < G.RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < G.ColCount(); ++c)
            cells << G.Cells(c, r);
        rows << cells.join(u'|');
    }
    return rows;
}

QStringList Sorted(QStringList L)
{
    std::sort(L.begin(), L.end());
    return L;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size > 4096)
        return 0;
    Fuzz::NeedApplication();
    const QString text = QString::fromUtf8(Fuzz::Bytes(Data, Size));
    TExtStringGrid g(nullptr);
    Prepare(g);
    const QStringList before = Rows(g);
    try {
        g.SortSettings()->LoadFromString(text);
    } catch (const Exception &) {
    }
    const QStringList after = Rows(g);
    Fuzz::Check(g.ColCount() == 4 && g.RowCount() == 7, "a sort changed the grid's size");
    Fuzz::Check(Sorted(after) == Sorted(before), "a sort lost or changed a row");

    const QString saved = g.SortSettings()->SaveToString();
    TExtStringGrid again(nullptr);
    Prepare(again);
    try {
        again.SortSettings()->LoadFromString(saved);
    } catch (const Exception &) {
        Fuzz::Fail("saved sort settings are refused");
    }
    Fuzz::CheckSame(Rows(again).join(u'\n'), after.join(u'\n'), "saved sort settings sort otherwise");
    return 0;
}
