// Cells as numbers, dates and times; highlight and error marks; the cell checker over ranges;
// fills; the print layout's column figures; the column grid's typed item access and formatting.
#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtGrid.h"

#include "dropdowns/ExtGridCheck.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ValuesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(4);
        G->SetRowCount(4);
    }
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(ValuesTest, IntsReadTheStrippedTrimmedTextAndRaiseOnAnythingElse)
{
    struct Case {
        const char *Text;
        int Value;
    } cases[] = {{"", 0}, {"-", 0}, {"  12  ", 12}, {"<b>7</b>", 7}, {"-3", -3}};
    for (const Case &c : cases) {
        G->SetCells(1, 1, QString::fromLatin1(c.Text));
        EXPECT_EQ(G->Ints(1, 1), c.Value) << c.Text;
    }
    G->SetCells(1, 1, QStringLiteral("12a"));
    try {
        G->Ints(1, 1);
        FAIL() << "no error";
    } catch (const RIdeZareVorev &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cell does not contain integer value"));
    }
    // The all-rows read does not strip markup.
    G->SetCells(1, 1, QStringLiteral("<b>7</b>"));
    EXPECT_THROW(G->AllInts(1, 1), RIdeZareVorev);
    G->SetInts(2, 2, -42);
    EXPECT_EQ(G->Cells(2, 2), QStringLiteral("-42"));
    G->SetAllInts(2, 3, 5);
    EXPECT_EQ(G->AllInts(2, 3), 5);
}

TEST_F(ValuesTest, FloatsFollowTheLocaleAndRaiseOnText)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = QLatin1Char(',');
    FormatSettings.ThousandSeparator = QLatin1Char('.');
    G->SetCells(1, 1, QStringLiteral("(1.234,5)"));
    EXPECT_DOUBLE_EQ(G->Floats(1, 1), -1234.5);
    FormatSettings = saved;

    G->SetCells(1, 1, QStringLiteral("abc"));
    try {
        G->Floats(1, 1);
        FAIL() << "no error";
    } catch (const RIdeZareVorev &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cell does not contain a float value"));
    }
    G->SetFloats(1, 2, 3.14159);
    EXPECT_EQ(G->Cells(1, 2), QStringLiteral("3.14"));
    G->SetFloatFormat(QStringLiteral("%.3f"));
    G->SetAllFloats(1, 3, 2.5);
    EXPECT_EQ(G->AllCells(1, 3), QStringLiteral("2.500"));
    EXPECT_DOUBLE_EQ(G->AllFloats(1, 3), 2.5);
}

// Dates written and read in one known short format.
class TDayMonthYear {
public:
    TDayMonthYear() : Saved(FormatSettings)
    {
        FormatSettings.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
        FormatSettings.DateSeparator = QLatin1Char('/');
    }
    ~TDayMonthYear() { FormatSettings = Saved; }

private:
    TFormatSettings Saved;
};

TEST_F(ValuesTest, DatesOfZeroAreEmptyUnlessNullDatesShow)
{
    TDayMonthYear format;
    G->SetDates(1, 1, 0);
    EXPECT_FALSE(G->Cells(1, 1).isEmpty());
    G->SetShowNullDates(false);
    G->SetDates(1, 1, 0);
    EXPECT_TRUE(G->Cells(1, 1).isEmpty());
    const TDateTime d = EncodeDate(2024, 2, 29);
    G->SetDates(1, 2, d);
    EXPECT_DOUBLE_EQ(G->Dates(1, 2), d);
    G->SetTimes(1, 3, 0.5);
    EXPECT_NEAR(G->Times(1, 3), 0.5, 1e-6);
    G->SetCells(1, 3, QStringLiteral("no date"));
    EXPECT_THROW(G->Dates(1, 3), EConvertError);
}

TEST_F(ValuesTest, ControlValuesReadAndRewriteTheControlTag)
{
    G->SetCells(1, 1, QStringLiteral("Name: <CONTROL TYPE=\"EDIT\" ID=\"n\" VALUE=\"old\" WIDTH=\"80\">"));
    EXPECT_EQ(G->ControlValues(1, 1, QStringLiteral("n")), QStringLiteral("old"));
    EXPECT_EQ(G->ControlValues(1, 1, QStringLiteral("x")), QString());
    G->SetControlValues(1, 1, QStringLiteral("n"), QStringLiteral("new"));
    EXPECT_EQ(G->ControlValues(1, 1, QStringLiteral("n")), QStringLiteral("new"));
    const UnicodeString before = G->Cells(1, 1);
    G->SetControlValues(1, 1, QStringLiteral("x"), QStringLiteral("other"));
    EXPECT_EQ(G->Cells(1, 1), before);
}

TEST_F(ValuesTest, PrintColumnFiguresRaiseOutsideTheTable)
{
    G->MaxWidths[511] = 77;
    G->Indents[0] = 5;
    EXPECT_EQ(G->PrintColWidth(511), 77);
    EXPECT_EQ(G->PrintColOffset(0), 5);
    for (int bad : {512, -1}) {
        try {
            G->PrintColWidth(bad);
            FAIL() << bad;
        } catch (const RIdeZareVorev &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Columns is not in valid range"));
        }
        EXPECT_THROW(G->PrintColOffset(bad), RIdeZareVorev);
    }
}

TEST_F(ValuesTest, HighlightAndUnhighlightRestoreTheText)
{
    const UnicodeString original = QStringLiteral("a<b");
    for (bool displayHook : {false, true}) {
        if (displayHook)
            G->OnGetDisplText = [](TObject *, int, int, UnicodeString &Value) { Value = QStringLiteral("shown"); };
        G->SetCells(1, 1, original);
        G->HilightInCell(false, 1, 1, QStringLiteral("b"));
        EXPECT_EQ(G->GridCells(1, 1), QStringLiteral("a&lt;<hi>b</hi>")) << displayHook;
        G->UnHilightInCell(1, 1);
        EXPECT_EQ(G->GridCells(1, 1), original) << displayHook;
        G->MarkInCell(false, 1, 1, QStringLiteral("a"));
        EXPECT_EQ(G->GridCells(1, 1), QStringLiteral("<e>a</e>&lt;b")) << displayHook;
        G->UnMarkInCell(1, 1);
        EXPECT_EQ(G->GridCells(1, 1), original) << displayHook;
    }
}

TEST_F(ValuesTest, MarkingRangesLeaveFixedCellsAloneUnlessAsked)
{
    G->SetFixedRows(1);
    G->SetFixedCols(1);
    G->TextFill(true, QStringLiteral("xx"));
    G->HilightInGrid(false, false, QStringLiteral("x"));
    EXPECT_EQ(G->Cells(0, 0), QStringLiteral("xx"));
    EXPECT_EQ(G->Cells(1, 0), QStringLiteral("xx"));
    EXPECT_EQ(G->Cells(2, 2), QStringLiteral("<hi>x</hi><hi>x</hi>"));
    G->UnHilightInGrid(true);
    EXPECT_EQ(G->Cells(2, 2), QStringLiteral("xx"));
    G->MarkInCol(true, false, 1, QStringLiteral("xx"));
    EXPECT_EQ(G->Cells(1, 0), QStringLiteral("<e>xx</e>"));
    EXPECT_EQ(G->Cells(2, 0), QStringLiteral("xx"));
    G->UnMarkInRow(false, 0);
    EXPECT_EQ(G->Cells(1, 0), QStringLiteral("xx"));
    EXPECT_EQ(TExtStringGrid::UnMarkText(TExtStringGrid::MarkText(true, QStringLiteral("Ab"), QStringLiteral("a"))),
              QStringLiteral("Ab"));
    EXPECT_EQ(TExtStringGrid::HilightText(false, QStringLiteral("Ab"), QStringLiteral("a")),
              QStringLiteral("<hi>A</hi>b"));
}

// Corrects to upper case and marks texts holding "?".
class TUpperChecker : public TExtStringGridCheck {
public:
    using TExtStringGridCheck::TExtStringGridCheck;
    UnicodeString Correct(int, int, const UnicodeString &s) override { return s.toUpper(); }
    UnicodeString MarkError(int, int, const UnicodeString &s) override
    {
        return s.contains(QLatin1Char('?')) ? QStringLiteral("<e>") + s + QStringLiteral("</e>") : s;
    }
    void StartCheck() override { ++Starts; }
    void StopCheck() override { ++Stops; }
    int Starts = 0, Stops = 0;
};

TEST_F(ValuesTest, CheckingWithoutACheckerPassesAndChangesNothing)
{
    G->TextFill(true, QStringLiteral("abc"));
    EXPECT_TRUE(G->CheckGrid(true));
    EXPECT_TRUE(G->CheckCell(1, 1));
    EXPECT_EQ(G->Cells(1, 1), QStringLiteral("abc"));
}

TEST_F(ValuesTest, TheCheckerCorrectsOrMarksEveryCellOfTheRange)
{
    TUpperChecker checker(nullptr);
    G->SetCellChecker(&checker);
    G->SetFixedRows(1);
    G->SetCells(1, 1, QStringLiteral("ok"));
    G->SetCells(1, 2, QStringLiteral("bad?"));

    checker.UseCorrect = true;
    EXPECT_FALSE(G->CheckCol(false, 1));
    EXPECT_EQ(G->Cells(1, 1), QStringLiteral("OK"));
    EXPECT_EQ(G->Cells(1, 2), QStringLiteral("BAD?"));
    EXPECT_EQ(checker.Starts, 1);
    EXPECT_EQ(checker.Stops, 1);

    // With both switches the mark replaces the correction.
    checker.UseMarkError = true;
    G->SetCells(1, 2, QStringLiteral("bad?"));
    EXPECT_FALSE(G->CheckCell(1, 2));
    EXPECT_EQ(G->Cells(1, 2), QStringLiteral("<e>bad?</e>"));
    // A marked cell is checked without its old marks.
    G->SetCells(1, 2, QStringLiteral("<e>fine</e>"));
    checker.UseMarkError = false;
    checker.UseCorrect = false;
    EXPECT_TRUE(G->CheckRow(true, 2));
    EXPECT_EQ(G->Cells(1, 2), QStringLiteral("fine"));

    checker.GotoCell = true;
    G->SetRow(3);
    G->SetCol(2);
    EXPECT_TRUE(G->CheckCells(1, 1, 1, 2));
    EXPECT_EQ(G->Row(), 3);
    EXPECT_EQ(G->Col(), 2);
    G->SetCellChecker(nullptr);
}

TEST_F(ValuesTest, FillsWriteTheirRangeAndRecalculateTheFooter)
{
    G->SetFixedRows(1);
    G->SetFixedCols(1);
    G->LinearFill(false);
    EXPECT_EQ(G->Cells(1, 1), QStringLiteral("1:1"));
    EXPECT_EQ(G->Cells(3, 3), QStringLiteral("3:3"));
    EXPECT_TRUE(G->Cells(0, 0).isEmpty());
    G->FormatFill(false, QStringLiteral("c%d r%d"));
    EXPECT_EQ(G->Cells(2, 1), QStringLiteral("c2 r1"));
    G->RandomFill(true, 1);
    for (int r = 0; r < G->RowCount(); ++r)
        for (int c = 0; c < G->ColCount(); ++c)
            EXPECT_EQ(G->Cells(c, r), QStringLiteral("0"));
    G->RandomFill(false, 5);
    for (int r = 1; r < G->RowCount(); ++r)
        for (int c = 1; c < G->ColCount(); ++c) {
            const int v = G->Ints(c, r);
            EXPECT_TRUE(v >= 0 && v < 5) << v;
        }
}

TEST(ColumnGridValues, ItemsReadAndWriteTheirColumnAndFormatWithTheirOwnFormat)
{
    TDayMonthYear format;
    TExtColumnGrid G(nullptr);
    G.SetColCount(3);
    G.SetRowCount(3);
    TGridColumnItem *item = G.Columns()->Items(1);
    item->SetFloatFormat(QStringLiteral("%.1f"));
    item->SetFloats(1, 2.26);
    EXPECT_EQ(G.Cells(1, 1), QStringLiteral("2.3"));
    EXPECT_DOUBLE_EQ(item->Floats(1), 2.3);
    item->SetInts(2, 9);
    EXPECT_EQ(item->Ints(2), 9);
    item->SetDates(2, EncodeDate(2020, 1, 2));
    EXPECT_DOUBLE_EQ(item->Dates(2), EncodeDate(2020, 1, 2));
    item->SetTimes(2, 0.25);
    EXPECT_NEAR(item->Times(2), 0.25, 1e-6);

    // The column's format shows a number; a text stays as it is.
    G.SetCells(1, 1, QStringLiteral("3"));
    EXPECT_EQ(G.GetFormattedCell(1, 1), QStringLiteral("3.0"));
    G.SetCells(1, 1, QStringLiteral("three"));
    EXPECT_EQ(G.GetFormattedCell(1, 1), QStringLiteral("three"));
    G.SetCells(1, 1, QStringLiteral("1e3"));
    EXPECT_EQ(G.GetFormattedCell(1, 1), QStringLiteral("1e3"));
    // The handler may refuse.
    G.SetCells(1, 1, QStringLiteral("3"));
    G.OnGetFloatFormat = [](TObject *, int, int, bool &IsFloat, UnicodeString &) { IsFloat = false; };
    EXPECT_EQ(G.GetFormattedCell(1, 1), QStringLiteral("3"));
    // A column without a format shows its text.
    G.OnGetFloatFormat = nullptr;
    G.SetCells(2, 1, QStringLiteral("4"));
    EXPECT_EQ(G.GetFormattedCell(2, 1), QStringLiteral("4"));
}

} // namespace
