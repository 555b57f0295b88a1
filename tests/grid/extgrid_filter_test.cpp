// Filtering of the string grid: conditions and their joins, filter levels, the incremental
// narrowing, and the choices of the filter drop-downs.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

class FilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        g = std::make_unique<TExtStringGrid>(nullptr);
        g->SetColCount(3);
    }
    void Fill(const std::vector<QString> &Texts)
    {
        g->SetRowCount(int(Texts.size()) + 1);
        for (int i = 0; i < int(Texts.size()); ++i)
            g->SetCells(1, i + 1, Texts[std::size_t(i)]);
    }
    std::vector<QString> Shown()
    {
        std::vector<QString> v;
        for (int r = g->FixedRows(); r < g->RowCount(); ++r)
            v.push_back(g->Cells(1, r));
        return v;
    }
    TFilterData *Add(const QString &Condition, TFilterOperation Op)
    {
        TFilterData *f = g->Filter()->Add();
        f->Column = 1;
        f->Condition = Condition;
        f->Operation = Op;
        return f;
    }
    std::unique_ptr<TExtStringGrid> g;
};

TEST_F(FilterTest, ConditionsAndTheirJoins)
{
    struct Case {
        const char *name;
        std::vector<std::pair<QString, TFilterOperation>> items;
        bool customAcceptsAll;
        std::vector<QString> shown;
    };
    const std::vector<Case> cases = {
        {"greater", {{">10", foNONE}}, false, {"12", "a b"}}, // texts compare by character codes
        {"greater or equal", {{">=10", foNONE}}, false, {"10", "12", "a b"}},
        {"no conditions", {}, false, {"5", "10", "12", "a b"}},
        {"or", {{"5", foNONE}, {"12", foOR}}, false, {"5", "12"}},
        {"and", {{">4", foNONE}, {"<11", foAND}}, false, {"5", "10"}},
        {"xor", {{">4", foNONE}, {"<11", foXOR}}, false, {"12", "a b"}},
        {"short stops", {{"5", foSHORT}, {"12", foOR}}, false, {"5"}},
        {"short overruled", {{"5", foSHORT}, {"12", foOR}}, true, {"5", "10", "12", "a b"}},
        {"quoted blank", {{"\"a b\"", foNONE}}, false, {"a b"}},
        // One condition alone joins with the row test's starting "true".
        {"or alone", {{"5", foOR}}, false, {"5", "10", "12", "a b"}},
        {"xor alone", {{"5", foXOR}}, false, {"10", "12", "a b"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        g = std::make_unique<TExtStringGrid>(nullptr);
        g->SetColCount(3);
        Fill({"5", "10", "12", "a b"});
        for (const auto &[cond, op] : c.items)
            Add(cond, op);
        if (c.customAcceptsAll)
            g->OnCustomFilter = [](TObject *, int, bool &Accept) { Accept = true; };
        g->ApplyFilter();
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(g->FilterLevel(), 1) << "every apply adds a level";
        g->RemoveLastFilter();
        EXPECT_EQ(Shown().size(), 4u);
    }
}

TEST_F(FilterTest, LiteralAndPrefixedConditions)
{
    Fill({"a=b", "a", "$5", "x*"});
    TFilterData *f = Add("a=b", foNONE);
    f->Method = fmLiteral;
    g->ApplyFilter();
    EXPECT_EQ(Shown(), (std::vector<QString>{"a=b"}));
    g->RemoveLastFilter();
    g->Filter()->Clear();
    f = Add("5", foNONE);
    f->Prefix = "$";
    g->ApplyFilter();
    EXPECT_EQ(Shown(), (std::vector<QString>{"$5"}));
}

TEST_F(FilterTest, FilterActiveAppliesOnceAndShowsTheLastLevelAgain)
{
    Fill({"5", "10", "12"});
    Add(">10", foNONE);
    int progress = -1;
    g->OnFilterProgress = [&](TObject *, SmallInt p) { progress = p; };
    g->SetFilterActive(true);
    g->SetFilterActive(true);
    EXPECT_EQ(g->FilterLevel(), 1);
    EXPECT_EQ(Shown(), (std::vector<QString>{"12"}));
    EXPECT_EQ(progress, 100);
    g->SetFilterActive(false);
    EXPECT_EQ(Shown().size(), 3u);
    EXPECT_EQ(g->FilterLevel(), 1) << "switching off keeps the level count";
}

TEST_F(FilterTest, NarrowDownAddsAndTakesLevelsAndKeepsRowsHiddenOtherwise)
{
    Fill({"Apple", "bAnana", "cab", "dog", "xAB", "hidden a"});
    g->HideRow(6);
    g->NarrowDown("a", 1);
    EXPECT_EQ(Shown(), (std::vector<QString>{"Apple", "bAnana", "cab", "xAB"}));
    g->NarrowDown("ab", 1);
    EXPECT_EQ(Shown(), (std::vector<QString>{"cab", "xAB"}));
    EXPECT_EQ(g->FilterLevel(), 2);
    g->NarrowDown("a", 1);
    EXPECT_EQ(Shown(), (std::vector<QString>{"Apple", "bAnana", "cab", "xAB"}));
    EXPECT_EQ(g->FilterLevel(), 1);
    g->NarrowDown("", 1);
    EXPECT_EQ(Shown(), (std::vector<QString>{"Apple", "bAnana", "cab", "dog", "xAB"}));
    EXPECT_EQ(g->FilterLevel(), 0);
    EXPECT_EQ(g->NumHiddenRows(), 1) << "the row hidden by HideRow stays hidden";
    g->UnHideRowsAll();
    EXPECT_EQ(g->Cells(1, 6), "hidden a");

    // Any cell of the row, and a blank taken as it is.
    g->SetCells(2, 4, "A B");
    g->NarrowDown("a b", -1);
    EXPECT_EQ(Shown(), (std::vector<QString>{"dog"}));
    g->RemoveAllFilters();
    g->NarrowDown("n a", 1);
    EXPECT_EQ(Shown(), (std::vector<QString>{"hidden a"}));
}

// A narrowing settles plain ASCII texts in one walk; blanks around a text, characters beyond
// ASCII, the wide-encoding mark and the characters just below it must come out as the whole way
// has them.
TEST_F(FilterTest, NarrowingTreatsEveryKindOfTextAlike)
{
    const QString wide = EncodeWideCellText(QStringLiteral("x\u00e9ab"));
    ASSERT_TRUE(wide.contains(QStringLiteral("|\\")));
    const std::vector<std::pair<QString, bool>> cases = {
        {"  xab  ", true},  {"ab", true},          {"a|b", false},         {"|ab", true},
        {"ab}", true},      {"~AB", true},         {"a\u00e9b", false},     {"\u00e9AB", true},
        {"", false},        {"a", false},          {"A\tB", false},        {"xa\u00dfb", false},
        {wide, true},       {"\u0131ab", true},    {"zzAb", true},         {"b a", false},
    };
    std::vector<QString> texts, kept;
    for (const auto &[text, match] : cases) {
        texts.push_back(text);
        if (match)
            kept.push_back(text);
    }
    Fill(texts);
    g->NarrowDown("ab", 1);
    EXPECT_EQ(Shown(), kept);
    g->NarrowDown("", 1);
    EXPECT_EQ(Shown(), texts);
}

// Filtered rows leave the grid with all they hold and come back with it, level by level, also
// when a hidden row was read or written in between.
TEST_F(FilterTest, FilteredRowsComeBackWithTheirCellsAndHeights)
{
    Fill({"ab1", "x2", "ab3", "y4", "ab5", "z6"});
    for (int r = 1; r <= 6; ++r) {
        g->SetCells(0, r, QStringLiteral("first %1").arg(r));
        g->SetCells(2, r, QStringLiteral("last %1").arg(r));
        g->SetRowHeights(r, 20 + r);
    }
    g->NarrowDown("a", 1);
    ASSERT_EQ(Shown(), (std::vector<QString>{"ab1", "ab3", "ab5"}));
    // Hidden rows answer by their real index, and take writes.
    EXPECT_EQ(g->AllCells(2, 4), "last 4");
    g->SetAllCells(2, 6, "edited");
    g->NarrowDown("ab", 1); // nothing more goes: an empty level
    g->Filter()->Clear();
    TFilterData *f = g->Filter()->Add();
    f->Column = 1;
    f->Condition = "*5";
    g->ApplyFilter(); // a second level, between the rows hidden already
    ASSERT_EQ(Shown(), (std::vector<QString>{"ab5"}));
    EXPECT_EQ(g->RowHeights(1), 25);
    g->RemoveAllFilters();
    ASSERT_EQ(g->RowCount(), 7);
    for (int r = 1; r <= 6; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(g->Cells(0, r), QStringLiteral("first %1").arg(r));
        EXPECT_EQ(g->Cells(2, r), r == 6 ? QStringLiteral("edited") : QStringLiteral("last %1").arg(r));
        EXPECT_EQ(g->RowHeights(r), 20 + r);
    }
    EXPECT_EQ(g->NumHiddenRows(), 0);
}

TEST_F(FilterTest, PickingAValueFiltersOnItLiterally)
{
    Fill({"a=b", "a", "b", "a=b"});
    g->SetFilterDropDownAuto(true);
    ASSERT_TRUE(g->DoGetColumnFilter(1));
    const int pick = g->FilterList()->IndexOf("a=b");
    ASSERT_GE(pick, 0);
    g->SetFilterCol(1);
    g->DoFilterSelect(pick);
    EXPECT_EQ(Shown(), (std::vector<QString>{"a=b", "a=b"}));
    EXPECT_EQ(g->FilterCol(), -1);
    // "(All)" takes the column's filter away.
    g->SetFilterCol(1);
    g->DoFilterSelect(0);
    EXPECT_EQ(Shown().size(), 4u);
    EXPECT_FALSE(g->Filter()->HasFilter(1));
}

TEST_F(FilterTest, TwoTickedEntriesJoinByOr)
{
    Fill({"x", "y", "z"});
    g->SetFilterDropDownAuto(true);
    TFilterData *other = g->Filter()->Add();
    other->Column = 2;
    other->Condition = "q";
    ASSERT_TRUE(g->ShowFilterList(1));
    TDropCheckList *list = g->DropCheckList();
    g->SetFilterDropDownCheck(true);
    ASSERT_TRUE(g->ShowFilterList(1));
    ASSERT_EQ(list->Count(), 4); // (All), x, y, z
    list->ToggleCheck(1);
    list->ToggleCheck(3);
    ASSERT_EQ(g->Filter()->Count(), 2);
    EXPECT_EQ(g->Filter()->Items(0)->Operation, foNONE);
    EXPECT_EQ(g->Filter()->Items(1)->Operation, foOR);
    EXPECT_EQ(g->Filter()->Items(1)->Column, 1);
    EXPECT_EQ(Shown(), (std::vector<QString>{"x", "z"}));
    EXPECT_EQ(g->FilterCol(), 1) << "the check list stays bound while open";
}

// A grid with a filter button over column 1 on a shown form.
class FilterButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 400);
        g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 480, 380);
        g->SetColCount(3);
        g->SetRowCount(5);
        const QString texts[] = {"red", "blue", "red", "green"};
        for (int r = 1; r < 5; ++r)
            g->SetCells(1, r, texts[r - 1]);
        g->SetFilterDropDownAuto(true);
        form->Show();
        GuiTest::ProcessEvents();
    }
    void ClickButton()
    {
        const TRect header = g->CellRect(1, 0);
        GuiTest::Click(g, TPoint(header.Right - 6, (header.Top + header.Bottom) / 2));
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
};

TEST_F(FilterButton, AClickOpensTheListAndAChoiceFilters)
{
    const TRect header = g->CellRect(1, 0);
    GuiTest::Click(g, TPoint(header.Right - 6, (header.Top + header.Bottom) / 2));
    GuiTest::ProcessEvents();
    TDropList *list = g->DropList();
    ASSERT_TRUE(list->Visible());
    EXPECT_EQ(g->FilterCol(), 1);
    ASSERT_EQ(list->Count(), 4); // (All), blue, green, red
    EXPECT_EQ(list->Items()->Strings(3), "red");
    list->SetItemIndex(3);
    GuiTest::PressKey(list, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(g->RowCount(), 3);
    EXPECT_EQ(g->Cells(1, 1), "red");
    EXPECT_EQ(g->Cells(1, 2), "red");

    GuiTest::Click(g, TPoint(header.Right - 6, (header.Top + header.Bottom) / 2));
    GuiTest::ProcessEvents();
    ASSERT_TRUE(list->Visible());
    list->SetItemIndex(0);
    GuiTest::PressKey(list, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->RowCount(), 5) << "(All) shows every row again";
}

// The list is a window of its own under the button that never takes the activation: the form
// stays active, the grid keeps the focus and hands the list its keys, and a press anywhere else
// closes it without a choice.
TEST_F(FilterButton, TheListIsAPopupThatLeavesTheFormActive)
{
    g->SetFocus();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return form->Active(); }));
    // Past the time in which the window system's reports of the activation asked for are sorted out.
    GuiTest::ProcessEvents(1100);
    int deactivations = 0;
    form->OnDeactivate = [&](TObject *) { ++deactivations; };
    ClickButton();
    TDropList *list = g->DropList();
    ASSERT_TRUE(list->Visible());
    QWidget *w = list->Widget();
    EXPECT_TRUE(w->isWindow());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    const TRect header = g->CellRect(1, 0);
    const TPoint under = g->ClientToScreen(TPoint(header.Right - 16, header.Top + 16));
    EXPECT_EQ(w->geometry(), QRect(under.X, under.Y, 150, 150)) << "placed under the button on the screen";
    GuiTest::ProcessEvents(20);
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(deactivations, 0);

    // A click into the list picks without taking the activation either.
    const int rowsBefore = g->RowCount();
    GuiTest::Click(list, TPoint(5, list->ItemHeight() / 2));
    GuiTest::ProcessEvents(20);
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(g->RowCount(), rowsBefore) << "(All) keeps every row";
    EXPECT_TRUE(form->Active());

    // The keys typed in the grid move in the open list; Enter picks, and the grid's row stays.
    ClickButton();
    ASSERT_TRUE(list->Visible());
    list->SetItemIndex(0);
    const int row = g->Row();
    GuiTest::PressKey(g, VK_DOWN);
    GuiTest::PressKey(g, VK_END);
    GuiTest::PressKey(g, VK_UP);
    EXPECT_EQ(list->ItemIndex(), 2); // (All), blue, green, red
    EXPECT_EQ(g->Row(), row);
    GuiTest::PressKey(g, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(g->RowCount(), 2);
    EXPECT_EQ(g->Cells(1, 1), "green");
    EXPECT_FALSE(g->EditorMode()) << "Enter went to the list, not to the grid";

    // A press outside the list: the list hears the cancel-mode message and closes, no choice made.
    ClickButton();
    ASSERT_TRUE(list->Visible());
    ASSERT_EQ(g->FilterCol(), 1);
    const TRect cell = g->CellRect(2, 1);
    GuiTest::Click(g, TPoint(cell.Left + 3, cell.Top + 3));
    GuiTest::ProcessEvents();
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(g->FilterCol(), -1);
    EXPECT_EQ(g->RowCount(), 2) << "the filter stays as it was";
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(deactivations, 0);

    // Escape closes it as well.
    ClickButton();
    ASSERT_TRUE(list->Visible());
    GuiTest::PressKey(g, VK_ESCAPE);
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(g->FilterCol(), -1);
}

TEST_F(FilterButton, TheCheckListTakesSpaceFromTheGridAndStaysOpen)
{
    g->SetFilterDropDownCheck(true);
    g->SetFocus();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return form->Active(); }));
    ClickButton();
    TDropCheckList *list = g->DropCheckList();
    ASSERT_TRUE(list->Visible());
    EXPECT_TRUE(list->Widget()->isWindow());
    EXPECT_FALSE(g->DropList()->Visible());
    list->SetItemIndex(0);
    GuiTest::PressKey(g, VK_DOWN); // blue
    GuiTest::PressKey(g, VK_SPACE);
    GuiTest::PressKey(g, VK_NEXT); // to the end: red
    GuiTest::PressKey(g, VK_SPACE);
    GuiTest::ProcessEvents();
    EXPECT_TRUE(list->Checked(1));
    EXPECT_TRUE(list->Checked(3));
    EXPECT_TRUE(list->Visible()) << "the check list stays open";
    EXPECT_EQ(g->RowCount(), 4); // blue, red, red
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(g->Cells(2, 1), "") << "Space went to the list";

    GuiTest::Click(form.get(), TPoint(490, 390));
    GuiTest::ProcessEvents();
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(g->FilterCol(), -1);

    // Opened again, it shows the ticks the filter holds, and one more tick adds to them.
    ClickButton();
    ASSERT_TRUE(list->Visible());
    ASSERT_EQ(list->Count(), 4);
    EXPECT_FALSE(list->Checked(0));
    EXPECT_TRUE(list->Checked(1));
    EXPECT_FALSE(list->Checked(2));
    EXPECT_TRUE(list->Checked(3));
    list->ToggleCheck(2);
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->Filter()->Count(), 3);
}

// Where the list stands and how large it is, as the look of the drop-downs asks.
TEST_F(FilterButton, TheListTakesItsPlaceAndSize)
{
    g->SetColWidths(1, 120);
    g->SetColWidths(2, 200);
    const int edges = 2 * GetSystemMetrics(SM_CYEDGE);
    struct Case {
        const char *name;
        int col;
        bool autoSize, columnWidth;
        std::function<TRect(const TRect &Cell, TDropList *List)> expected; // client coordinates
    };
    const std::vector<Case> cases = {
        {"default", 1, false, false, [](const TRect &c, TDropList *) { return Bounds(c.Right - 16, c.Top + 16, 150, 150); }},
        {"column width", 1, false, true, [](const TRect &c, TDropList *) { return Bounds(c.Left, c.Top + 16, c.Width(), 150); }},
        {"sized to the items", 1, true, false,
         [&](const TRect &c, TDropList *L) { return Bounds(c.Right - 16, c.Top + 16, L->Width(), 4 * L->ItemHeight() + edges); }},
        // Past the grid's right edge the list ends at the column's right edge.
        {"at the right edge", 2, false, false, [](const TRect &c, TDropList *) { return Bounds(c.Right - 150, c.Top + 16, 150, 150); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        g->SetCells(2, 1, "x");
        g->FilterDropDown()->AutoSize = c.autoSize;
        g->FilterDropDown()->ColumnWidth = c.columnWidth;
        ASSERT_TRUE(g->ShowFilterList(c.col));
        TDropList *list = g->DropList();
        const TRect cell = g->CellRect(c.col, 0);
        const TRect want = c.expected(cell, list);
        const TPoint at = g->ClientToScreen(TPoint(want.Left, want.Top));
        EXPECT_EQ(list->Widget()->geometry(), QRect(at.X, at.Y, want.Width(), want.Height()));
        EXPECT_EQ(list->ItemIndex(), 0) << "the first item is selected";
        GuiTest::PressKey(g, VK_ESCAPE);
    }
}

} // namespace
