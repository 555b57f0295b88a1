// Column and row calculations, running numbers, the selection's text, fitting the columns to the
// grid's width, sizing rows and exchanging columns and rows.
#include "grid/core/ExtGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class CalcTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(4);
        G->SetRowCount(6);
        G->SetFixedRows(1);
        G->SetFixedCols(1);
    }
    void Column(int ACol, std::initializer_list<const char *> Texts)
    {
        int r = 1;
        for (const char *t : Texts)
            G->SetCells(ACol, r++, QString::fromUtf8(t));
    }
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(CalcTest, ColumnFiguresSkipTextsThatAreNoNumbers)
{
    Column(1, {"2", "abc", "-3", "10", ""});
    struct Case {
        const char *Name;
        double (TExtStringGrid::*Calc)(int, int, int);
        double Expected;
    } cases[] = {
        {"sum", &TExtStringGrid::ColumnSum, 9},
        {"avg", &TExtStringGrid::ColumnAvg, 9.0 / 5}, // every row of the range divides
        {"min", &TExtStringGrid::ColumnMin, -3},
        {"max", &TExtStringGrid::ColumnMax, 10},
        {"distinct", &TExtStringGrid::ColumnDistinct, 5},
    };
    for (const Case &c : cases) {
        EXPECT_DOUBLE_EQ((G.get()->*c.Calc)(1, -1, -1), c.Expected) << c.Name;
        EXPECT_DOUBLE_EQ((G.get()->*c.Calc)(1, 1, 5), c.Expected) << c.Name;
    }
    EXPECT_DOUBLE_EQ(G->ColumnSum(1, 4, 4), 10);
    EXPECT_DOUBLE_EQ(G->ColumnAvg(1, 4, 3), 0);
    // A merged range counts once, by its base cell.
    G->MergeCells(1, 3, 1, 2);
    EXPECT_DOUBLE_EQ(G->ColumnSum(1, -1, -1), 2 - 3);
}

TEST_F(CalcTest, MinimumMaximumAndDeviationRaiseWhereTheyMustReadANumber)
{
    Column(1, {"abc", "1", "2"});
    for (auto calc : {&TExtStringGrid::ColumnMin, &TExtStringGrid::ColumnMax, &TExtStringGrid::ColumnStdDev}) {
        try {
            (G.get()->*calc)(1, 1, 3);
            FAIL() << "no error";
        } catch (const RIdeZareVorev &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Cell does not contain a float value"));
        }
    }
    // Only the first cell must be a number for the extremes.
    Column(1, {"5", "abc", "2"});
    EXPECT_DOUBLE_EQ(G->ColumnMin(1, 1, 3), 2);
    EXPECT_DOUBLE_EQ(G->ColumnMax(1, 1, 3), 5);
    EXPECT_THROW(G->ColumnStdDev(1, 1, 3), RIdeZareVorev);
}

TEST_F(CalcTest, StandardDeviationOfAPopulationAndOfNothing)
{
    G->SetRowCount(9);
    Column(2, {"2", "4", "4", "4", "5", "5", "7", "9"});
    EXPECT_DOUBLE_EQ(G->ColumnStdDev(2, 1, 8), 2);
    EXPECT_DOUBLE_EQ(G->ColumnStdDev(2, 5, 4), 0);
}

TEST_F(CalcTest, DistinctTextsIgnoreCaseAndCountTheEmptyText)
{
    Column(1, {"a", "A", "", "b"});
    EXPECT_DOUBLE_EQ(G->ColumnDistinct(1, 1, 4), 3);
}

TEST_F(CalcTest, RowFiguresAndCustomCalculations)
{
    G->SetCells(1, 2, QStringLiteral("4"));
    G->SetCells(2, 2, QStringLiteral("x"));
    G->SetCells(3, 2, QStringLiteral("-1"));
    EXPECT_DOUBLE_EQ(G->RowSum(2, 1, 3), 3);
    EXPECT_DOUBLE_EQ(G->RowAvg(2, 1, 3), 1);
    EXPECT_DOUBLE_EQ(G->RowMin(2, 1, 3), -1);
    EXPECT_DOUBLE_EQ(G->RowMax(2, 1, 3), 4);
    EXPECT_DOUBLE_EQ(G->RowSum(2, 3, 1), 0);
    EXPECT_DOUBLE_EQ(G->RowAvg(2, 3, 1), 0);
    EXPECT_DOUBLE_EQ(G->RowMax(2, 1, 0), 4); // an empty range answers the first cell
    EXPECT_THROW(G->RowMin(2, 2, 3), RIdeZareVorev);

    EXPECT_DOUBLE_EQ(G->ColumnCustomCalc(1, 1, 4), 0);
    G->OnColumnCalc = [](TObject *, int ACol, int FromRow, int ToRow, double &Res) { Res += ACol * 100 + FromRow * 10 + ToRow; };
    EXPECT_DOUBLE_EQ(G->ColumnCustomCalc(1, 2, 4), 124);
    EXPECT_DOUBLE_EQ(G->DoGroupCalc(1, 2, 4), 0);
}

TEST_F(CalcTest, RunningNumbersFromTheTopOrTheBottom)
{
    G->SetFixedFooters(1);
    G->AutoNumberCol(1);
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(G->Cells(1, r), QString::number(r));
    EXPECT_TRUE(G->Cells(1, 5).isEmpty());

    G->AutoNumberDirection = sdDescending;
    G->AutoNumberCol(2);
    EXPECT_EQ(G->Cells(2, 4), QStringLiteral("1"));
    EXPECT_EQ(G->Cells(2, 1), QStringLiteral("4"));

    // Skipped rows keep their texts; the numbers still count their positions.
    G->AutoNumberDirection = sdAscending;
    G->AutoNumberStart = 1;
    G->AutoNumberOffset = 10;
    G->SetCells(3, 1, QStringLiteral("keep"));
    G->AutoNumberCol(3);
    EXPECT_EQ(G->Cells(3, 1), QStringLiteral("keep"));
    EXPECT_EQ(G->Cells(3, 2), QStringLiteral("12"));

    G->AutoNumberStart = 0;
    G->AutoNumberOffset = 0;
    G->AutoNumberRow(2);
    EXPECT_EQ(G->Cells(1, 2), QStringLiteral("1"));
    EXPECT_EQ(G->Cells(3, 2), QStringLiteral("3"));
}

TEST_F(CalcTest, SelectedTextJoinsCellsByTabsAndRowsByLineBreaks)
{
    G->SetCells(1, 1, QStringLiteral("a"));
    G->SetCells(2, 1, QStringLiteral("b"));
    G->SetCells(1, 2, QStringLiteral("c"));
    G->SetCells(2, 2, QStringLiteral("d"));
    G->SelectCells(1, 1, 2, 2);
    EXPECT_EQ(G->SelectedText(), QStringLiteral("a\tb\r\nc\td"));

    // Rows picked one by one: the selected rows of the whole grid.
    G->MouseActions()->SetDisjunctRowSelect(true);
    G->SetRowSelect(1, true);
    G->SetRowSelect(2, true);
    EXPECT_EQ(G->SelectedText(), QStringLiteral("a\tb\r\nc\td"));
    G->MouseActions()->SetDisjunctRowSelect(false);

    // A multi-line cell is quoted for a spreadsheet.
    G->SetMultilinecells(true);
    G->SetExcelClipboardFormat(true);
    G->SetCells(1, 1, QStringLiteral("x\r\ny"));
    G->SelectCells(1, 1, 1, 1);
    EXPECT_EQ(G->SelectedText(), QStringLiteral("\"x\x0By\""));
}

TEST_F(CalcTest, FittingColumnsFillTheWidthAndAFittingGridStays)
{
    G->SetBorderStyle(bsNone);
    G->SetScrollBars(ssNone);
    G->SetBounds(0, 0, 400, 200);
    for (int c = 0; c < 4; ++c)
        G->SetColWidths(c, 100);
    G->AutoFitColumns(true);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(G->ColWidths(c), 100) << c;

    G->SetWidth(500);
    G->SetColWidths(1, 50);
    G->AutoFitColumns(false);
    EXPECT_EQ(G->ColWidths(0), 100); // fixed columns keep their width
    EXPECT_EQ(G->ColWidths(1) + G->ColWidths(2) + G->ColWidths(3), 400);
    EXPECT_LT(G->ColWidths(1), G->ColWidths(2));

    // Columns without width cannot be scaled.
    for (int c = 1; c < 4; ++c)
        G->SetColWidths(c, 0);
    G->AutoFitColumns(false);
    EXPECT_EQ(G->ColWidths(1), 0);
}

TEST_F(CalcTest, SwappingColumnsAndRowsTakesTextsObjectsWidthsAndTheSortColumn)
{
    G->SetCells(1, 1, QStringLiteral("one"));
    G->SetCells(2, 1, QStringLiteral("two"));
    G->SetColors(1, 2, clRed);
    G->SetColWidths(1, 40);
    G->SetColWidths(2, 90);
    G->SortSettings()->Column = 1;
    G->SwapColumns(1, 2);
    EXPECT_EQ(G->Cells(1, 1), QStringLiteral("two"));
    EXPECT_EQ(G->Cells(2, 1), QStringLiteral("one"));
    EXPECT_EQ(G->Colors(2, 2), clRed);
    EXPECT_EQ(G->ColWidths(1), 90);
    EXPECT_EQ(G->ColWidths(2), 40);
    EXPECT_EQ(G->SortSettings()->Column, 2);

    G->SetRowHeights(1, 30);
    G->SwapRows(1, 2);
    EXPECT_EQ(G->Cells(2, 2), QStringLiteral("one"));
    EXPECT_EQ(G->Colors(2, 1), clRed);
    EXPECT_EQ(G->RowHeights(2), 30);
    EXPECT_EQ(G->SortSettings()->Column, 2); // rows leave the sort alone
    G->SwapRows(1, 99);                      // outside: nothing
    EXPECT_EQ(G->Cells(2, 2), QStringLiteral("one"));
}

TEST_F(CalcTest, RowsSizeToTheirLinesAndWithinTheirLimits)
{
    G->SetWordWrap(false);
    G->SetCells(1, 2, QStringLiteral("one\r\ntwo\r\nthree"));
    G->SetMultilinecells(true);
    EXPECT_EQ(G->GetMaxRowLines(2), 3);
    EXPECT_EQ(G->GetMaxRowLines(3), 1);
    G->SetMinRowHeight(0);
    G->AutoSizeRows(false, 0);
    EXPECT_GT(G->RowHeights(2), 2 * G->RowHeights(3));

    G->SetWordWrap(true);
    G->SetMaxRowHeight(30);
    G->AutoSizeRow(2, 0);
    EXPECT_EQ(G->RowHeights(2), 30);
    G->SetMaxRowHeight(0);
    G->SetSizeGrowOnly(true);
    G->SetRowHeights(3, 200);
    G->AutoSizeRow(3, 4);
    EXPECT_EQ(G->RowHeights(3), 204);
}

TEST_F(CalcTest, CellsSizeColumnsAndGrowRows)
{
    G->SetCells(2, 2, QStringLiteral("A long text that needs room"));
    G->SetColWidths(2, 10);
    G->SetColWidths(3, 300);
    G->AutoSizeCells(false, 4, 2);
    EXPECT_GT(G->ColWidths(2), 100);
    EXPECT_LT(G->ColWidths(3), 300); // empty column shrinks to its margins
    const int h = G->RowHeights(2);
    G->AutoSizeCells(false, 0, 0);
    EXPECT_EQ(G->RowHeights(2), h); // rows only grow
}

} // namespace
