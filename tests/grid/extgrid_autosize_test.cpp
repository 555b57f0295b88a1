// Sizing a column to its widest content (the rule editors' header double click), with the grid's
// limits, grow-only, padding, the glyph room of header and combo cells, merged text and the
// column grid's own automatic limits.
#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtGrid.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The width a text takes in the grid's own font.
int TextWidthIn(TFont *Font, const UnicodeString &Text)
{
    TBitmap bmp;
    bmp.SetSize(10, 10);
    bmp.Canvas()->Font()->Assign(Font);
    return bmp.Canvas()->TextWidth(Text);
}

const UnicodeString Short = QStringLiteral("ab");
const UnicodeString Long = QStringLiteral("A rather long entry");

class AutoSizeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(4);
        G->SetRowCount(5);
        G->SetFixedRows(1);
        G->SetFixedCols(1);
        G->SetColWidths(1, 200);
        G->SetCells(1, 2, Short);
        G->SetCells(1, 3, Long);
        G->OnUpdateColumnSize = [this](TObject *, int, int &) { ++SizeEvents; };
    }
    // Margins 2 + 2, two grid lines of 1 and 2: the text plus 8.
    int Fitted(const UnicodeString &Text) { return TextWidthIn(G->Font(), Text) + 8; }

    std::unique_ptr<TExtStringGrid> G;
    int SizeEvents = 0;
};

TEST_F(AutoSizeTest, AGraphicOf40PixelsGives48)
{
    TBitmap bmp;
    bmp.SetSize(40, 16);
    G->SetCells(1, 2, QString());
    G->SetCells(1, 3, QString());
    G->CreateCellGraphic(1, 2)->SetBitmap(&bmp, false, haLeft, vaTop);
    G->AutoSizeCol(1, 0);
    EXPECT_EQ(G->ColWidths(1), 48);
    G->RemoveCellGraphic(1, 2);
}

TEST_F(AutoSizeTest, TheWidestTextDecidesAndTheEventMayChangeIt)
{
    G->AutoSizeCol(1, 0);
    EXPECT_EQ(G->ColWidths(1), Fitted(Long));
    EXPECT_EQ(SizeEvents, 1);

    G->OnUpdateColumnSize = [](TObject *, int ACol, int &AWidth) {
        EXPECT_EQ(ACol, 1);
        AWidth = 77;
    };
    G->AutoSizeCol(1, 0);
    EXPECT_EQ(G->ColWidths(1), 77);
    G->AutoSizeCol(-1, 0); // out of range: nothing
    G->AutoSizeCol(9, 0);
}

TEST_F(AutoSizeTest, GrowOnlyKeepsAWiderColumnButStillPads)
{
    G->SetSizeGrowOnly(true);
    G->AutoSizeCol(1, 10);
    EXPECT_EQ(G->ColWidths(1), 210);
    EXPECT_EQ(SizeEvents, 0);

    // A narrower column still grows to its content.
    G->SetColWidths(1, 20);
    G->AutoSizeCol(1, 0);
    EXPECT_EQ(G->ColWidths(1), Fitted(Long));
    EXPECT_EQ(SizeEvents, 1);
}

TEST_F(AutoSizeTest, LimitsClampButEqualLimitsDoNot)
{
    const int measured = Fitted(Long);
    struct Case {
        int Min, Max, Padding, Expected;
    } cases[] = {
        {0, 0, 0, measured},
        {80, 80, 0, measured},
        {measured + 50, 0, 0, measured + 50},
        {0, 30, 0, 30},
        {0, measured + 5, 10, measured + 5}, // the padding is clamped too
    };
    for (const Case &c : cases) {
        G->SetMinColWidth(c.Min);
        G->SetMaxColWidth(c.Max);
        G->AutoSizeCol(1, c.Padding);
        EXPECT_EQ(G->ColWidths(1), c.Expected) << c.Min << " " << c.Max << " " << c.Padding;
    }
}

TEST_F(AutoSizeTest, HeaderAndComboCellsGetRoomForTheirGlyphs)
{
    // The header (in the fixed font) is the widest cell.
    G->SetCells(1, 0, Long + Long);
    G->AutoSizeCol(1, 0);
    const int plain = G->ColWidths(1);
    ASSERT_GT(plain, Fitted(Long));
    struct Case {
        const char *Name;
        std::function<void()> On, Off;
        int Extra;
    } cases[] = {
        {"sort glyph of the sorted column",
         [&] {
             G->SortSettings()->Show = true;
             G->SortSettings()->Row = 0;
             G->SortSettings()->Column = 1;
         },
         [&] {
             G->SortSettings()->Show = false;
             G->SortSettings()->Column = -1;
         },
         10},
        {"sort glyph of another column",
         [&] {
             G->SortSettings()->Show = true;
             G->SortSettings()->Column = 2;
         },
         [&] {
             G->SortSettings()->Show = false;
             G->SortSettings()->Column = -1;
         },
         0},
        {"filter button in the filter row",
         [&] {
             G->SetFilterDropDownAuto(true);
             G->SetFilterDropDownRow(0);
         },
         [&] { G->SetFilterDropDownAuto(false); }, 12},
        {"filter button in another row",
         [&] {
             G->SetFixedRows(2);
             G->SetFilterDropDownAuto(true);
             G->SetFilterDropDownRow(1);
         },
         [&] {
             G->SetFilterDropDownAuto(false);
             G->SetFilterDropDownRow(0);
             G->SetFixedRows(1);
         },
         0},
        {"always visible combo button",
         [&] {
             G->ControlLook()->DropDownAlwaysVisible = true;
             G->OnHasComboBox = [](TObject *, int, int ARow, bool &Has) { Has = ARow == 0; };
         },
         [&] {
             G->ControlLook()->DropDownAlwaysVisible = false;
             G->OnHasComboBox = nullptr;
         },
         16},
    };
    for (const Case &c : cases) {
        c.On();
        G->AutoSizeCol(1, 0);
        EXPECT_EQ(G->ColWidths(1), plain + c.Extra) << c.Name;
        c.Off();
        G->AutoSizeCol(1, 0);
        EXPECT_EQ(G->ColWidths(1), plain) << c.Name;
    }
}

TEST_F(AutoSizeTest, TextMergedOverTwoColumnsDoesNotWidenEither)
{
    G->SetCells(1, 4, Long + Long + Long);
    G->MergeCells(1, 4, 2, 1);
    G->AutoSizeCol(1, 0);
    EXPECT_EQ(G->ColWidths(1), Fitted(Long));
}

TEST_F(AutoSizeTest, MeasuredRowsFollowColumnSizeRows)
{
    G->SetCells(1, 0, Long + Long);
    G->AutoSizeCol(1, 0);
    const int header = G->ColWidths(1);
    ASSERT_GT(header, Fitted(Long));
    struct Case {
        TAutoSizeRows Rows;
        int Expected;
    } cases[] = {{arAll, header}, {arNormal, Fitted(Long)}, {arFixed, header}};
    for (const Case &c : cases) {
        G->ColumnSize()->Rows = c.Rows;
        G->AutoSizeCol(1, 0);
        EXPECT_EQ(G->ColWidths(1), c.Expected) << int(c.Rows);
    }
    // Only the header is measured: the long body text is left out.
    G->SetCells(1, 0, Short);
    G->ColumnSize()->Rows = arFixed;
    G->AutoSizeCol(1, 0);
    EXPECT_LT(G->ColWidths(1), Fitted(Long));
}

TEST_F(AutoSizeTest, AllColumnsButTheFixedOnesAndTheGridToItsCells)
{
    G->SetColWidths(0, 99);
    G->SetColWidths(2, 99);
    G->AutoSizeColumns(false, 2);
    EXPECT_EQ(G->ColWidths(0), 99);
    EXPECT_EQ(G->ColWidths(1), Fitted(Long) + 2);
    EXPECT_EQ(G->ColWidths(2), 8 + 2); // empty: margins, lines and padding

    G->SetBorderStyle(bsNone);
    G->SizeToCells();
    int w = 0, h = 0;
    for (int c = 0; c < G->ColCount(); ++c)
        w += G->ColWidths(c);
    for (int r = 0; r < G->RowCount(); ++r)
        h += G->RowHeights(r);
    EXPECT_EQ(G->ClientWidth(), w);
    EXPECT_EQ(G->ClientHeight(), h);
    EXPECT_EQ(G->ScrollBars(), ssBoth);
}

TEST(ColumnGridAutoSize, TheColumnsAutomaticLimitsApply)
{
    TExtColumnGrid G(nullptr);
    G.SetColCount(3);
    G.SetRowCount(3);
    G.SetCells(1, 1, Long);
    G.SetCells(2, 1, Short);
    const int measured = TextWidthIn(G.Font(), Long) + 8;
    G.Columns()->Items(1)->SetAutoMaxSize(40);
    G.Columns()->Items(1)->SetMaxSize(20); // the limit of manual sizing does not apply
    G.Columns()->Items(2)->SetAutoMinSize(150);
    G.AutoSizeCol(1, 0);
    G.AutoSizeCol(2, 0);
    EXPECT_EQ(G.ColWidths(1), 40);
    EXPECT_EQ(G.ColWidths(2), 150);
    G.Columns()->Items(1)->SetAutoMaxSize(0);
    G.AutoSizeCol(1, 0);
    EXPECT_EQ(G.ColWidths(1), measured);
}

} // namespace
