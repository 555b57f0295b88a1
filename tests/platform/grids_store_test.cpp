#include "platform/GridStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Counts its own destruction so a test can see that the store never frees an object.
class TTracked : public TObject {
public:
    explicit TTracked(int *freed) : FFreed(freed) {}
    ~TTracked() override { ++*FFreed; }

private:
    int *FFreed;
};

UnicodeString Txt(int c, int r) { return QStringLiteral("%1:%2").arg(c).arg(r); }

void Fill(TGridStore &s, int cols, int rows)
{
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            s.SetText(c, r, Txt(c, r));
}

TEST(GridStore, NeverWrittenCellsReadEmptyAndNil)
{
    TGridStore s;
    EXPECT_EQ(s.Text(0, 0), QString());
    EXPECT_EQ(s.Object(3, 7), nullptr);
    s.SetText(2, 5, "x");
    EXPECT_EQ(s.Text(1, 5), QString());
    EXPECT_EQ(s.Text(9, 5), QString());
    EXPECT_EQ(s.Text(2, 4), QString());
    EXPECT_EQ(s.Object(2, 5), nullptr);
    EXPECT_EQ(s.Text(-1, 0), QString());
    EXPECT_EQ(s.Text(0, -1), QString());
    // Negative indices are ignored, never written.
    s.SetText(-1, -1, "y");
    EXPECT_EQ(s.RowCount(), 6);
}

TEST(GridStore, WritingEmptyIntoNothingAllocatesNothing)
{
    TGridStore s;
    s.SetText(3, 1000, QString());
    s.SetObject(3, 1000, nullptr);
    EXPECT_EQ(s.RowCount(), 0);
    EXPECT_EQ(s.AllocatedBytes(), 0u);
}

TEST(GridStore, ObjectsAreNeverFreed)
{
    int freed = 0;
    auto a = std::make_unique<TTracked>(&freed);
    auto b = std::make_unique<TTracked>(&freed);
    {
        TGridStore s;
        s.SetObject(1, 1, a.get());
        s.SetObject(0, 3, b.get());
        s.SetObject(1, 1, nullptr);
        s.DeleteRows(0, 2);
        s.ClearRow(1);
        s.DeleteColumns(0, 5);
        s.SetObject(4, 4, a.get());
        s.Clear();
        s.SetObject(0, 0, b.get());
    }
    EXPECT_EQ(freed, 0);
}

TEST(GridStore, RowInsertDeleteMoveKeepCellsWithTheirRows)
{
    TGridStore s;
    int o1 = 0;
    TTracked obj(&o1);
    Fill(s, 3, 6);
    s.SetObject(2, 4, &obj);

    s.InsertRows(2, 2);
    EXPECT_EQ(s.RowCount(), 8);
    EXPECT_EQ(s.Text(0, 1), Txt(0, 1));
    EXPECT_EQ(s.Text(0, 2), QString());
    EXPECT_EQ(s.Text(0, 3), QString());
    EXPECT_EQ(s.Text(1, 4), Txt(1, 2));
    EXPECT_EQ(s.Object(2, 6), &obj);

    s.DeleteRows(2, 2);
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(s.Text(2, r), Txt(2, r));
    EXPECT_EQ(s.Object(2, 4), &obj);

    s.MoveRow(1, 4); // 0 2 3 4 1 5
    EXPECT_EQ(s.Text(0, 1), Txt(0, 2));
    EXPECT_EQ(s.Text(0, 3), Txt(0, 4));
    EXPECT_EQ(s.Object(2, 3), &obj);
    EXPECT_EQ(s.Text(0, 4), Txt(0, 1));
    s.MoveRow(4, 1);
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(s.Text(1, r), Txt(1, r));

    s.SwapRows(0, 5);
    EXPECT_EQ(s.Text(2, 0), Txt(2, 5));
    EXPECT_EQ(s.Text(2, 5), Txt(2, 0));

    // Moving to a row beyond the end extends the store with empty rows.
    s.MoveRow(0, 9);
    EXPECT_EQ(s.RowCount(), 10);
    EXPECT_EQ(s.Text(2, 9), Txt(2, 5));
    EXPECT_EQ(s.Text(2, 8), QString());
}

TEST(GridStore, ManySmallShiftsAtAlternatingPlacesMatchAPlainModel)
{
    // The gap buffer moves between places; compare with a straightforward list of rows.
    TGridStore s;
    std::vector<QString> model;
    for (int i = 0; i < 200; ++i) {
        s.SetText(0, i, QString::number(i));
        model.push_back(QString::number(i));
    }
    unsigned seed = 7;
    for (int step = 0; step < 500; ++step) {
        seed = seed * 1103515245u + 12345u;
        int at = int((seed >> 8) % unsigned(model.size()));
        switch (step % 3) {
        case 0:
            s.InsertRows(at, 1);
            s.SetText(0, at, QStringLiteral("n%1").arg(step));
            model.insert(model.begin() + at, QStringLiteral("n%1").arg(step));
            break;
        case 1:
            s.DeleteRows(at, 1);
            model.erase(model.begin() + at);
            break;
        default: {
            int to = int((seed >> 16) % unsigned(model.size()));
            s.MoveRow(at, to);
            QString v = model[std::size_t(at)];
            model.erase(model.begin() + at);
            model.insert(model.begin() + to, v);
        }
        }
    }
    ASSERT_EQ(s.RowCount(), int(model.size()));
    for (int r = 0; r < s.RowCount(); ++r)
        ASSERT_EQ(s.Text(0, r), model[std::size_t(r)]) << r;
}

TEST(GridStore, ColumnInsertDeleteMove)
{
    TGridStore s;
    Fill(s, 4, 3);
    s.SetText(7, 2, "far"); // a cell well beyond the others

    s.InsertColumns(1, 2);
    EXPECT_EQ(s.Text(0, 0), Txt(0, 0));
    EXPECT_EQ(s.Text(1, 0), QString());
    EXPECT_EQ(s.Text(3, 0), Txt(1, 0));
    EXPECT_EQ(s.Text(9, 2), "far");

    s.DeleteColumns(1, 2);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(s.Text(c, 1), Txt(c, 1));
    EXPECT_EQ(s.Text(7, 2), "far");

    s.MoveColumn(0, 3); // 1 2 3 0
    EXPECT_EQ(s.Text(0, 1), Txt(1, 1));
    EXPECT_EQ(s.Text(3, 1), Txt(0, 1));
    s.MoveColumn(3, 0);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(s.Text(c, 2), Txt(c, 2));

    // Moving into a column that no row has reached yet.
    s.MoveColumn(0, 5);
    EXPECT_EQ(s.Text(5, 0), Txt(0, 0));
    EXPECT_EQ(s.Text(0, 0), Txt(1, 0));
    EXPECT_EQ(s.Text(4, 0), QString());

    s.ClearColumn(5);
    EXPECT_EQ(s.Text(5, 1), QString());
    s.ClearRow(2);
    EXPECT_EQ(s.Text(7, 2), QString());
    EXPECT_EQ(s.RowLength(2), 0);
}

TEST(GridStore, RowsOfAllSizesGrowShrinkAndComeBack)
{
    // Short rows share pooled blocks, long ones (a whole text file in a cell) have their own.
    TGridStore s;
    const QString longText(5000, QChar(u'x'));
    for (int round = 0; round < 3; ++round) {
        for (int r = 0; r < 300; ++r) {
            s.SetText(r % 7, r, r % 50 == 0 ? longText : Txt(r % 7, r).repeated(r % 5 + 1));
            s.SetText(9, r, Txt(9, r));
        }
        for (int r = 0; r < 300; r += 2)
            s.ClearRow(r);
        for (int r = 1; r < 300; r += 2) {
            EXPECT_EQ(s.Text(9, r), Txt(9, r));
            EXPECT_EQ(s.Text(r % 7, r), r % 50 == 0 ? longText : Txt(r % 7, r).repeated(r % 5 + 1));
        }
        s.SetText(9, 1, QString()); // shrinking a text inside a row
        EXPECT_EQ(s.Text(1, 1), Txt(1, 1).repeated(2));
        if (round == 1)
            s.Clear();
    }
    EXPECT_GT(s.AllocatedBytes(), 0u);
}

TEST(GridStore, ATextReadStaysWhileItsRowChangesOrGoes)
{
    // A read shares the row's characters; the row must copy them before it changes, and a row
    // that goes must leave the reader's text intact.
    TGridStore s;
    Fill(s, 4, 3);
    UnicodeString held = s.Text(1, 1);
    UnicodeString last = s.Text(3, 1);
    s.SetText(1, 1, "a much longer text than before");
    s.SetText(0, 1, QString());
    EXPECT_EQ(held, Txt(1, 1));
    EXPECT_EQ(s.Text(1, 1), "a much longer text than before");
    s.DeleteColumns(0, 1);
    s.DeleteRows(1, 1);
    EXPECT_EQ(held, Txt(1, 1));
    EXPECT_EQ(last, Txt(3, 1));
    // The reader's text ends in a null and may be changed without touching the store.
    EXPECT_EQ(held.utf16()[held.size()], 0);
    held += "+";
    held[0] = QChar(u'#');
    EXPECT_EQ(held, "#" + Txt(1, 1).mid(1) + "+");
    EXPECT_EQ(s.Text(0, 1), Txt(1, 2));

    // A cell written from another cell of its own row, and a row's text moved within the row.
    // (Row 0 holds 1:0 2:0 3:0 since the first column went.)
    s.SetText(0, 0, s.Text(2, 0));
    EXPECT_EQ(s.Text(0, 0), Txt(3, 0));
    UnicodeString mine = s.Text(1, 0);
    s.SetText(1, 0, mine + mine);
    EXPECT_EQ(s.Text(1, 0), Txt(2, 0) + Txt(2, 0));
    EXPECT_EQ(s.TextLength(1, 0), 2 * Txt(2, 0).size());
    EXPECT_EQ(s.Text(2, 0), Txt(3, 0));

    // A text whose row went belongs to its reader alone, who may grow it at both ends.
    UnicodeString only = s.Text(0, 1);
    s.ClearRow(1);
    only += "!";
    only.prepend("<");
    EXPECT_EQ(only, "<" + Txt(1, 2) + "!");
}

TEST(GridStore, ClearedCellsGiveTheirRowBack)
{
    TGridStore s;
    int freed = 0;
    TTracked obj(&freed);
    s.SetText(0, 3, "a");
    s.SetText(6, 3, "b");
    EXPECT_EQ(s.RowLength(3), 7);
    s.SetText(6, 3, QString());
    EXPECT_EQ(s.RowLength(3), 1);
    s.SetObject(4, 3, &obj);
    EXPECT_EQ(s.RowLength(3), 5);
    s.SetText(0, 3, QString());
    EXPECT_EQ(s.Object(4, 3), &obj);
    EXPECT_EQ(s.RowLength(3), 5);
    s.SetObject(4, 3, nullptr);
    EXPECT_EQ(s.RowLength(3), 0);
    s.ClearColumn(0);
    std::size_t empty = s.AllocatedBytes();
    s.SetText(2, 2, "x");
    EXPECT_GT(s.AllocatedBytes(), empty);
    s.ClearColumn(2);
    EXPECT_EQ(s.AllocatedBytes(), empty);
    EXPECT_EQ(s.Text(2, 2), QString());
}

TEST(GridStore, DeleteBeyondTheEndIsClipped)
{
    TGridStore s;
    Fill(s, 2, 4);
    s.DeleteRows(2, 100);
    EXPECT_EQ(s.RowCount(), 2);
    s.DeleteRows(5, 1);
    s.DeleteRows(-1, 1);
    EXPECT_EQ(s.RowCount(), 2);
    EXPECT_EQ(s.Text(1, 1), Txt(1, 1));
}

} // namespace

namespace {

// Every change of a row against a plain table, while texts read along the way are held: a read
// shares its row's characters, so each path that changes a row in place must leave them alone.
TEST(GridStore, RandomChangesWithHeldReadsMatchAPlainTable)
{
    constexpr int Cols = 7, Rows = 9;
    TGridStore s;
    std::vector<std::vector<QString>> t(Rows, std::vector<QString>(Cols));
    std::vector<std::pair<QString, QString>> held; // text read, its value then
    unsigned seed = 12345;
    auto rnd = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(n));
    };
    for (int step = 0; step < 3000; ++step) {
        int c = rnd(Cols), r = rnd(Rows), c2 = rnd(Cols), r2 = rnd(Rows);
        switch (rnd(10)) {
        case 0: case 1: case 2: {
            // Texts of all lengths, short and long, some empty, some taken from the row itself.
            QString v = rnd(5) == 0 ? QString() : QString(rnd(30) + 1, QChar(u'a' + rnd(26)));
            if (rnd(6) == 0)
                v = s.Text(c2, r);
            s.SetText(c, r, v);
            t[r][c] = v;
            break;
        }
        case 3:
            s.ClearRow(r);
            for (QString &x : t[r])
                x.clear();
            break;
        case 4:
            s.ClearColumn(c);
            for (auto &row : t)
                row[c].clear();
            break;
        case 5:
            s.MoveColumn(c, c2);
            for (auto &row : t) {
                QString v = row[c];
                row.erase(row.begin() + c);
                row.insert(row.begin() + c2, v);
            }
            break;
        case 6:
            s.MoveRow(r, r2);
            {
                auto v = t[r];
                t.erase(t.begin() + r);
                t.insert(t.begin() + r2, v);
            }
            break;
        case 7:
            s.SwapRows(r, r2);
            std::swap(t[r], t[r2]);
            break;
        case 8:
            // A column out and a fresh one in at another place keep the width of the table.
            s.DeleteColumns(c, 1);
            s.InsertColumns(c2, 1);
            for (auto &row : t) {
                row.erase(row.begin() + c);
                row.insert(row.begin() + c2, QString());
            }
            break;
        default:
            s.DeleteRows(r, 1);
            s.InsertRows(r2, 1);
            t.erase(t.begin() + r);
            t.insert(t.begin() + r2, std::vector<QString>(Cols));
            break;
        }
        if (rnd(3) == 0) {
            QString v = s.Text(c2, r2);
            held.push_back({v, QString(v.constData(), v.size())});
        }
    }
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            ASSERT_EQ(s.Text(c, r), t[r][c]) << c << "," << r;
    for (const auto &h : held)
        ASSERT_EQ(h.first, h.second);
    s.Clear();
    for (auto &h : held) {
        h.first.append(u'!');
        ASSERT_EQ(h.first, h.second + u'!');
    }
}

} // namespace

namespace {

// Rows taken out and put back at the same indices leave the store as it was; a taken row keeps
// its texts, its objects and any string read from it before.
TEST(GridStore, TakenRowsGoBackWholeWherePutAndReadAsTheStoreReadsThem)
{
    struct TCase {
        int Rows;                // rows written before the take
        std::vector<int> Take;   // indices taken, ascending
    };
    const TCase Cases[] = {
        {6, {0}}, {6, {5}}, {6, {1, 3, 4}}, {6, {0, 1, 2, 3, 4}}, {4, {2, 5, 9}}, {0, {0, 3}},
    };
    for (const TCase &Case : Cases) {
        SCOPED_TRACE(testing::Message() << Case.Rows << " rows, taking " << testing::PrintToString(Case.Take));
        TGridStore s;
        Fill(s, 3, Case.Rows);
        TObject Obj;
        if (Case.Rows > 1)
            s.SetObject(4, 1, &Obj);
        const int before = s.RowCount();
        std::vector<TGridStore::TRow *> cells;
        s.TakeRows(Case.Take, cells);
        ASSERT_EQ(cells.size(), Case.Take.size());
        int inside = 0;
        for (std::size_t i = 0; i < Case.Take.size(); ++i) {
            const int r = Case.Take[i];
            if (r >= Case.Rows) {
                EXPECT_EQ(cells[i], nullptr); // never written: nothing to hand out
                continue;
            }
            ++inside;
            EXPECT_EQ(TGridStore::Text(cells[i], 2), Txt(2, r));
            EXPECT_EQ(TGridStore::Text(cells[i], 3), QString());
            EXPECT_EQ(TGridStore::Object(cells[i], 4), r == 1 && Case.Rows > 1 ? &Obj : nullptr);
            EXPECT_EQ(TGridStore::Length(cells[i]), r == 1 && Case.Rows > 1 ? 5 : 3);
        }
        EXPECT_EQ(s.RowCount(), before - inside);
        // The rows that stayed closed up in their order.
        int d = 0;
        for (int r = 0; r < Case.Rows; ++r)
            if (std::find(Case.Take.begin(), Case.Take.end(), r) == Case.Take.end()) {
                EXPECT_EQ(s.Text(0, d++), Txt(0, r));
            }
        const UnicodeString held = cells.empty() ? QString() : TGridStore::Text(cells[0], 1);
        s.PutRows(Case.Take, cells);
        for (int r = 0; r < Case.Rows; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(s.Text(c, r), Txt(c, r));
        if (Case.Rows > 1) {
            EXPECT_EQ(s.Object(4, 1), &Obj);
        }
        if (!Case.Take.empty() && Case.Take[0] < Case.Rows) {
            EXPECT_EQ(held, Txt(1, Case.Take[0]));
        }
        EXPECT_GE(s.RowCount(), Case.Take.back() + 1);
        // The store goes on as usual after the round trip.
        s.InsertRows(1, 2);
        s.DeleteRows(1, 2);
        if (Case.Rows > 0) {
            EXPECT_EQ(s.Text(0, Case.Rows - 1), Txt(0, Case.Rows - 1));
        }
    }
}

TEST(GridStore, ATakenRowFreedLeavesItsObjectsAndHeldTexts)
{
    int freed = 0;
    auto obj = std::make_unique<TTracked>(&freed);
    TGridStore s;
    Fill(s, 2, 3);
    s.SetObject(0, 1, obj.get());
    std::vector<TGridStore::TRow *> cells;
    s.TakeRows({1}, cells);
    const UnicodeString held = TGridStore::Text(cells[0], 1);
    TGridStore::FreeRow(cells[0]);
    EXPECT_EQ(cells[0], nullptr);
    EXPECT_EQ(freed, 0);
    EXPECT_EQ(held, Txt(1, 1));
    EXPECT_EQ(s.Text(0, 1), Txt(0, 2));
}

} // namespace

namespace {

// A row written at once reads as the same texts written cell by cell: longer and shorter than
// before, with empty cells, with texts read from the row itself, while strings read from it
// are held; its later cells, its objects and its length stay those of the cell-by-cell store.
TEST(GridStore, ARowWrittenAtOnceMatchesItsCellsWrittenOneByOne)
{
    constexpr int Cols = 6, Rows = 5;
    TGridStore bulk, single;
    TObject marks[Rows];
    std::vector<std::pair<QString, QString>> held;
    unsigned seed = 777;
    auto rnd = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(n));
    };
    for (int step = 0; step < 2000; ++step) {
        const int r = rnd(Rows), count = rnd(Cols + 1);
        std::vector<QString> texts(static_cast<std::size_t>(count));
        std::vector<QStringView> views;
        for (int c = 0; c < count; ++c) {
            QString &v = texts[std::size_t(c)];
            switch (rnd(4)) {
            case 0: break;
            case 1: v = QString(rnd(40) + 1, QChar(u'a' + rnd(26))); break;
            case 2: v = QString(rnd(4) + 1, QChar(u'A' + rnd(26))); break;
            default: v = bulk.Text(rnd(Cols), r); // shares the row's own block
            }
        }
        // Views straight into the row's characters, as a caller copying within a row gives them.
        for (int c = 0; c < count; ++c)
            views.push_back(rnd(5) == 0 ? bulk.TextView(rnd(Cols), r) : QStringView(texts[std::size_t(c)]));
        for (int c = 0; c < count; ++c)
            single.SetText(c, r, views[std::size_t(c)].toString());
        bulk.SetRowTexts(r, views.data(), count);
        if (rnd(7) == 0) {
            const int oc = rnd(Cols + 2);
            TObject *o = rnd(2) ? &marks[r] : nullptr;
            bulk.SetObject(oc, r, o);
            single.SetObject(oc, r, o);
        }
        if (rnd(3) == 0) {
            QString v = bulk.Text(rnd(Cols), r);
            held.push_back({v, QString(v.constData(), v.size())});
        }
        for (int c = 0; c < Cols + 2; ++c) {
            ASSERT_EQ(bulk.Text(c, r), single.Text(c, r)) << "step " << step << " cell " << c << "," << r;
            ASSERT_EQ(bulk.Object(c, r), single.Object(c, r)) << "step " << step << " cell " << c << "," << r;
        }
        ASSERT_EQ(bulk.RowLength(r), single.RowLength(r)) << "step " << step;
    }
    for (const auto &h : held)
        ASSERT_EQ(h.first, h.second);
}

} // namespace
