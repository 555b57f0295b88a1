// Sorting of the string grid: the comparison by style, the order the sorts leave, the undoing of
// a sort, the text form of the sort state, and what a failing or unreasonable handler leaves.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

class SortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        ResetFormatSettings();
        g = std::make_unique<TExtStringGrid>(nullptr);
        g->SetColCount(4);
    }
    void TearDown() override { ResetFormatSettings(); }

    // Column ACol gets the texts from row 1 on; column 0 names each row by its first position.
    void Fill(int ACol, const std::vector<QString> &Texts)
    {
        g->SetRowCount(int(Texts.size()) + 1);
        for (int i = 0; i < int(Texts.size()); ++i) {
            g->SetCells(ACol, i + 1, Texts[std::size_t(i)]);
            if (ACol != 0)
                g->SetCells(0, i + 1, QStringLiteral("r%1").arg(i + 1));
        }
    }
    std::vector<QString> Column(int ACol)
    {
        std::vector<QString> v;
        for (int r = 1; r < g->RowCount(); ++r)
            v.push_back(g->Cells(ACol, r));
        return v;
    }
    void Format(TSortStyle Style, const QString &Prefix = {}, const QString &Suffix = {})
    {
        g->OnGetFormat = [=](TObject *, int, TSortStyle &S, UnicodeString &P, UnicodeString &X) {
            S = Style;
            P = Prefix;
            X = Suffix;
        };
    }
    std::unique_ptr<TExtStringGrid> g;
};

TEST_F(SortTest, AscendingOrderByStyleAndDetection)
{
    struct Case {
        const char *name;
        std::vector<QString> texts;
        std::vector<QString> sorted;
        bool autoFormat;
        int style; // -1: no format handler
        QString prefix, suffix;
    };
    const std::vector<Case> cases = {
        {"numbers detected", {"10", "9", "100"}, {"9", "10", "100"}, true, -1, {}, {}},
        {"texts without detection", {"10", "9", "100"}, {"10", "100", "9"}, false, -1, {}, {}},
        {"prefix and suffix", {"$40 USD", "$5 USD"}, {"$5 USD", "$40 USD"}, true, ssNumeric, "$", " USD"},
        {"financial thousands", {"1,200", "999"}, {"999", "1,200"}, true, ssFinancial, {}, {}},
        {"numeric without thousands", {"1,200", "999"}, {"1,200", "999"}, true, ssNumeric, {}, {}},
        {"digits before the failure", {"12abc", "5", "30"}, {"5", "12abc", "30"}, true, ssNumeric, {}, {}},
        {"alphanumeric mixes", {"b", "10", "9", "a"}, {"9", "10", "a", "b"}, true, ssAlphaNumeric, {}, {}},
        {"no case", {"b", "A", "a", "B"}, {"A", "a", "b", "B"}, true, ssAlphaNoCase, {}, {}},
        {"case", {"b", "A", "a", "B"}, {"A", "B", "a", "b"}, true, ssAlphabetic, {}, {}},
        {"html stripped", {"<b>b</b>", "a", "<i>c</i>"}, {"a", "<b>b</b>", "<i>c</i>"}, true, ssHTML, {}, {}},
        {"times detected", {"10:30", "9:15", "23:59"}, {"9:15", "10:30", "23:59"}, true, -1, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Fill(1, c.texts);
        g->SortSettings()->AutoFormat = c.autoFormat;
        if (c.style >= 0)
            Format(TSortStyle(c.style), c.prefix, c.suffix);
        else
            g->OnGetFormat = nullptr;
        g->Sort(1, sdAscending);
        EXPECT_EQ(Column(1), c.sorted);
        g->Sort(1, sdDescending);
        std::vector<QString> down(c.sorted.rbegin(), c.sorted.rend());
        if (c.name != std::string("no case")) { // A and a tie: the stable order keeps them
            EXPECT_EQ(Column(1), down);
        }
    }
}

TEST_F(SortTest, CellComparisonsOfNumbersAndDates)
{
    struct Case {
        QString a, b;
        int style;
        int expected;
    };
    const std::vector<Case> cases = {
        {"abc", "xyz", ssNumeric, 0},   // two non-numbers are equal
        {"3x", "25", ssNumeric, -1},    // 3 against 25
        {"1.5x", "9", ssNumeric, 1},    // digits 1 and 5 read as 15
        {"x1", "0", ssNumeric, 0},      // nothing read before the failure
        {"", "-1", ssNumeric, 1},       // an empty cell counts as 0
        {"12/05/2020", "01/06/2020", ssAutomatic, -1},
        {"12/05/2020", "0106/2020", ssAutomatic, 1}, // the second has no separator there: texts
    };
    FormatSettings.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
    g->SetRowCount(3);
    for (const Case &c : cases) {
        SCOPED_TRACE((c.a + " / " + c.b).toStdString());
        g->SetCells(1, 1, c.a);
        g->SetCells(1, 2, c.b);
        Format(TSortStyle(c.style));
        const int before = g->Compares();
        EXPECT_EQ(g->CompareCells(1, 1, 2, 0), c.expected);
        EXPECT_EQ(g->Compares(), before + 1);
    }
}

TEST_F(SortTest, BlanksGoFirstOrLastInBothDirections)
{
    struct Case {
        TSortBlankPosition pos;
        TSortDirection dir;
        std::vector<QString> sorted;
    };
    const std::vector<Case> cases = {
        {blLast, sdAscending, {"a", "b", "", ""}},
        {blLast, sdDescending, {"b", "a", "", ""}},
        {blFirst, sdAscending, {"", "", "a", "b"}},
        {blFirst, sdDescending, {"", "", "b", "a"}},
    };
    for (const Case &c : cases) {
        Fill(1, {"b", "", "a", ""});
        g->SortSettings()->IgnoreBlanks = true;
        g->SortSettings()->BlankPos = c.pos;
        g->Sort(1, c.dir);
        EXPECT_EQ(Column(1), c.sorted) << int(c.pos) << " " << int(c.dir);
    }
}

TEST_F(SortTest, UnSortRestoresTheFirstOrderAndAnIdentityReference)
{
    Fill(1, {"d", "b", "a", "c", "e"});
    g->Sort(1, sdAscending);
    g->Sort(1, sdDescending);
    g->SortSettings()->Column = 0;
    g->QSort();
    EXPECT_GT(g->Swaps(), 0);
    g->QUnSort();
    EXPECT_EQ(Column(1), (std::vector<QString>{"d", "b", "a", "c", "e"}));
    for (int r = 0; r < g->RowCount(); ++r)
        EXPECT_EQ(g->SortRowXRef()->Items(r), r);

    // Rows added since: the rows as they stand become the reference.
    g->Sort(1, sdAscending);
    g->SetRowCount(g->RowCount() + 1);
    g->SetCells(1, g->RowCount() - 1, "0");
    g->QUnSort();
    EXPECT_EQ(Column(1), (std::vector<QString>{"a", "b", "c", "d", "e", "0"}));
    EXPECT_EQ(g->SortRowXRef()->Count(), g->RowCount());
    EXPECT_EQ(g->SortRowXRef()->Items(6), 6);
}

TEST_F(SortTest, FullDecidesTiesByTheNextColumnsAndOffKeepsTheirOrder)
{
    Fill(1, {"x", "y", "x", "x"});
    for (int r = 1; r <= 4; ++r)
        g->SetCells(2, r, QString::number(5 - r)); // 4 3 2 1
    g->SortSettings()->Full = true;
    g->Sort(1, sdAscending);
    EXPECT_EQ(Column(0), (std::vector<QString>{"r4", "r3", "r1", "r2"}));
    g->QUnSort();
    g->SortSettings()->Full = false;
    g->Sort(1, sdAscending);
    EXPECT_EQ(Column(0), (std::vector<QString>{"r1", "r3", "r4", "r2"}));
}

TEST_F(SortTest, NormalCellsOnlyKeepsTheRowHeaders)
{
    Fill(1, {"c", "a", "b"});
    g->SortSettings()->NormalCellsOnly = true;
    g->Sort(1, sdAscending);
    EXPECT_EQ(Column(1), (std::vector<QString>{"a", "b", "c"}));
    EXPECT_EQ(Column(0), (std::vector<QString>{"r1", "r2", "r3"}));
}

TEST_F(SortTest, CurrentRowFollowsItsContentOnlyWithMoveRowOnSort)
{
    Fill(1, {"c", "a", "b"});
    std::vector<std::pair<int, int>> changed;
    g->OnRowChanged = [&](TObject *, int o, int n) { changed.emplace_back(o, n); };
    g->SetRow(1); // "c"
    g->Sort(1, sdAscending);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->Cells(1, g->Row()), "a");
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(changed.back(), std::make_pair(1, 1));

    g->QUnSort();
    g->SetRow(1);
    g->Navigation()->MoveRowOnSort = true;
    changed.clear();
    g->Sort(1, sdAscending);
    EXPECT_EQ(g->Cells(1, g->Row()), "c");
    EXPECT_EQ(g->Row(), 3);
}

TEST_F(SortTest, TextFormSavesAndRestoresTheSort)
{
    Fill(3, {"b", "c", "a"});
    g->Sort(3, sdAscending);
    EXPECT_EQ(g->SortSettings()->SaveToString(), "u3");
    g->SortSettings()->LoadFromString("d3");
    EXPECT_EQ(Column(3), (std::vector<QString>{"c", "b", "a"}));
    EXPECT_EQ(g->SortSettings()->Direction, sdDescending);
    EXPECT_TRUE(g->SortSettings()->Show);

    for (int r = 1; r <= 3; ++r)
        g->SetCells(2, r, "same");
    g->SortSettings()->LoadFromString("i;u2;d0");
    EXPECT_TRUE(g->SortSettings()->IndexShow);
    EXPECT_EQ(g->SortSettings()->SaveToString(), "i;u2;d0");
    EXPECT_EQ(Column(0), (std::vector<QString>{"r3", "r2", "r1"})); // the tie decided by column 0 down

    EXPECT_THROW(g->SortSettings()->LoadFromString("u"), Exception);
    g->SortIndexes()->Clear();
    const auto before = Column(0);
    EXPECT_THROW(g->QSortIndexed(), RIdeZareVorev);
    EXPECT_EQ(Column(0), before);
    EXPECT_THROW(g->SortSettings()->SetRow(1), Exception);
}

TEST_F(SortTest, ARaisingHandlerLeavesTheGridAsItWas)
{
    Fill(1, {"c", "a", "b"});
    g->SortSettings()->NormalCellsOnly = true;
    g->HideColumn(2);
    const int rows = g->RowCount(), cols = g->ColCount();
    Format(ssCustom);
    g->OnCustomCompare = [](TObject *, const UnicodeString &, const UnicodeString &, int &) {
        throw std::runtime_error("compare failed");
    };
    EXPECT_THROW(g->Sort(1, sdAscending), std::runtime_error);
    EXPECT_EQ(g->RowCount(), rows);
    EXPECT_EQ(g->ColCount(), cols);
    EXPECT_EQ(g->UpdateCount(), 0);
    EXPECT_EQ(Column(1), (std::vector<QString>{"c", "a", "b"}));
}

TEST_F(SortTest, ACompareAnsweringAtRandomStillGivesAPermutation)
{
    std::vector<QString> texts;
    for (int i = 0; i < 3000; ++i)
        texts.push_back(QString::number(i));
    Fill(1, texts);
    std::mt19937 rnd(7);
    Format(ssCustom);
    g->OnCustomCompare = [&](TObject *, const UnicodeString &, const UnicodeString &, int &Res) {
        Res = int(rnd() % 5) - 2;
    };
    g->Sort(1, sdAscending);
    g->Sort(1, sdDescending);
    Format(ssRaw);
    g->OnRawCompare = [&](TObject *, int, int, int, int &Res) { Res = int(rnd() % 3) - 1; };
    g->QSort();
    const auto after = Column(1);
    EXPECT_EQ(std::set<QString>(after.begin(), after.end()).size(), texts.size());
}

TEST_F(SortTest, GroupSortOrdersOnlyTheChildRowsOfTheDeepestLevel)
{
    Fill(1, {"g1", "c", "a", "b", "g2", "z", "y"});
    g->AddNode(1, 4);
    g->AddNode(5, 3);
    g->SortSettings()->Column = 1;
    g->QSortGroup();
    EXPECT_EQ(Column(1), (std::vector<QString>{"g1", "a", "b", "c", "g2", "y", "z"}));
}

TEST(SortClick, AHeaderClickSorts)
{
    Application->Initialize();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    auto *g = new TExtStringGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 380, 260);
    g->SetColCount(3);
    g->SetRowCount(4);
    const QString texts[] = {"b", "c", "a"};
    for (int r = 1; r < 4; ++r)
        g->SetCells(1, r, texts[r - 1]);
    g->SortSettings()->Show = true;
    form->Show();
    GuiTest::ProcessEvents();
    const TRect r = g->CellRect(1, 0);
    GuiTest::Click(g, TPoint((r.Left + r.Right) / 2 - 10, (r.Top + r.Bottom) / 2));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "a");
    EXPECT_EQ(g->Cells(1, 3), "c");
}

} // namespace
