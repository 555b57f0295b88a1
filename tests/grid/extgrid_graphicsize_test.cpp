// The room a cell graphic takes on screen and on paper, and the display queries that go with it.
#include "grid/core/ExtGrid.h"

#include "platform/ImgList.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class TSizeGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void SetGridImages(TObject *Images) { FGridImages = Images; }
    TSortSettings *SortSettings() const { return FSortSettings; }
    void SetNodeCount(int N) { FNumNodes = N; }
    void SetLevel(int ARow, int Level) { EnsureProps(0, ARow, false)->SetNodeLevel(Level); }
    int Indent(int ARow) { return GetRowIndent(ARow); }
};

class GraphicSizeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bmp.SetSize(24, 18);
        QImage img(16, 20, QImage::Format_ARGB32);
        img.fill(Qt::red);
        Icon.SetImage(img);
        G = std::make_unique<TSizeGrid>(nullptr);
        G->SetColCount(4);
        G->SetRowCount(4);
        G->SetColWidths(1, 80);
        G->SetRowHeights(1, 30);
    }
    TCellGraphic *Graphic(TCellType T, TCellHAlign H, TCellVAlign V, const char *Text = "")
    {
        G->SetCells(1, 1, QString::fromLatin1(Text));
        TCellGraphic *g = G->CreateCellGraphic(1, 1);
        g->SetCellType(T);
        g->SetCellHAlign(H);
        g->SetCellVAlign(V);
        return g;
    }
    TPoint Screen() { return G->GetCellGraphicSize(1, 1); }
    TPoint Print()
    {
        TPoint p;
        G->GetCellGraphicPrintSize(1, 1, 200, 200, 1.0, p);
        return p;
    }

    TBitmap Bmp;
    TIcon Icon;
    TStringList Radios;
    std::unique_ptr<TSizeGrid> G;
};

TEST_F(GraphicSizeTest, BitmapIconAndImageListBesideOrOverTheText)
{
    struct Case {
        const char *Name;
        TCellType Type;
        TCellHAlign H;
        TCellVAlign V;
        const char *Text;
        TPoint Size;
    };
    const Case cases[] = {
        {"bitmap over the text", ctBitmap, haLeft, vaTop, "x", {0, 0}},
        {"bitmap before the text", ctBitmap, haBeforeText, vaTop, "x", {24, 0}},
        {"bitmap under the text", ctBitmap, haLeft, vaUnderText, "x", {0, 18}},
        {"bitmap alone", ctBitmap, haLeft, vaTop, "", {24, 18}},
        {"icon keeps its height", ctIcon, haLeft, vaTop, "x", {0, 20}},
        {"icon after the text", ctIcon, haAfterText, vaTop, "x", {16, 20}},
        {"image list without images", ctImageList, haLeft, vaTop, "", {0, 0}},
    };
    for (const Case &c : cases) {
        TCellGraphic *g = Graphic(c.Type, c.H, c.V, c.Text);
        g->SetCellObject(&Bmp);
        g->SetCellIcon(&Icon);
        EXPECT_EQ(Screen(), c.Size) << c.Name;
        g->SetCellObject(nullptr);
        g->SetCellIcon(nullptr);
    }
}

TEST_F(GraphicSizeTest, FixedSizedKinds)
{
    struct Case {
        const char *Name;
        TCellType Type;
        TCellHAlign H;
        int Angle;
        TPoint Size;
    };
    const Case cases[] = {
        {"rating", ctRating, haLeft, 5, {90, 16}},
        {"rating keeps its width when full", ctRating, haFull, 5, {90, 16}},
        {"pie", ctProgressPie, haLeft, 0, {20, 20}},
        {"check box", ctCheckBox, haLeft, 0, {15, 15}},
        {"radio button", ctRadioButton, haLeft, 0, {10, 10}},
        {"full check box takes the width", ctDataCheckBox, haFull, 0, {80, 15}},
        {"text kinds take nothing", ctComment, haLeft, 0, {0, 0}},
    };
    for (const Case &c : cases) {
        TCellGraphic *g = Graphic(c.Type, c.H, vaTop);
        g->SetCellAngle(c.Angle);
        EXPECT_EQ(Screen(), c.Size) << c.Name;
    }
    Graphic(ctProgressPie, haLeft, vaFull);
    EXPECT_EQ(Screen(), TPoint(20, 30));
}

TEST_F(GraphicSizeTest, ImageListSizesFromTheGridImages)
{
    TCustomImageList images(12, 14);
    G->SetGridImages(&images);
    Graphic(ctImageList, haBeforeText, vaTop, "x");
    EXPECT_EQ(Screen(), TPoint(12, 0));
    G->SetGridImages(nullptr);
}

TEST_F(GraphicSizeTest, RadioListsMeasureTheirTexts)
{
    Radios.Add(QStringLiteral("One"));
    Radios.Add(QStringLiteral("Longer text"));
    Radios.Add(QStringLiteral("3"));
    TCanvas *c = G->Canvas();
    c->Font()->Assign(G->Font());
    const int th = c->TextHeight(QStringLiteral("gh"));
    const int widest = c->TextWidth(QStringLiteral("Longer text")) + 12;
    const int sum = c->TextWidth(QStringLiteral("One")) + c->TextWidth(QStringLiteral("Longer text")) + c->TextWidth(QStringLiteral("3")) + 36;

    TCellGraphic *g = Graphic(ctRadio, haLeft, vaTop);
    g->SetCellObject(&Radios);
    EXPECT_EQ(Screen(), TPoint(widest, std::max(16, th) * 3));
    EXPECT_EQ(Print(), TPoint(widest, th * 3));
    g->SetCellBoolean(true);
    EXPECT_EQ(Screen(), TPoint(sum, th));
    g->SetCellObject(nullptr);
}

TEST_F(GraphicSizeTest, PrintSizes)
{
    Graphic(ctShape, haLeft, vaTop);
    EXPECT_EQ(Print(), TPoint(26, 26)); // row height less twice the vertical offset
    Graphic(ctProgress, haLeft, vaTop);
    EXPECT_EQ(Print(), TPoint(80, 30));
    Graphic(ctNode, haLeft, vaTop);
    EXPECT_EQ(Print(), TPoint(20, 20));
    TCellGraphic *g = Graphic(ctBitmap, haLeft, vaTop, "x");
    g->SetCellObject(&Bmp);
    EXPECT_EQ(Print(), TPoint(24, 18)); // independent of the text
    EXPECT_EQ(G->GetCellImageSortKey(1, 1), reinterpret_cast<std::intptr_t>(&Bmp));
    g->SetCellObject(nullptr);
    EXPECT_EQ(G->GetCellImageSortKey(2, 2), -1);
}

TEST_F(GraphicSizeTest, TextMarginsAndSortIndicator)
{
    EXPECT_EQ(G->GetTotalXOffset(), 4);
    G->SetXYOffsetTopLeftOnly(true);
    EXPECT_EQ(G->GetTotalYOffset(), 2);
    G->SetFixedRows(1);
    G->SortSettings()->Show = true;
    EXPECT_TRUE(G->IsSortIndicatorCell(1, 0));
    EXPECT_FALSE(G->IsSortIndicatorCell(1, 1));
    G->SetRowCount(2); // one normal row: nothing to sort
    EXPECT_FALSE(G->IsSortIndicatorCell(1, 0));
}

} // namespace

namespace {

class TUrlGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void ShowUrls() { FURLShowInText = true; }
};

TEST(GridDisplayText, OnlyTheFirstKnownAddressPrefixIsLinked)
{
    TUrlGrid g(nullptr);
    g.SetColCount(2);
    g.SetRowCount(2);
    g.ShowUrls();
    UnicodeString plain = QStringLiteral("no address here");
    g.DoGetDisplText(1, 1, plain);
    EXPECT_EQ(plain, QStringLiteral("no address here"));
    UnicodeString both = QStringLiteral("see www.a.org or http://b.org");
    g.DoGetDisplText(1, 1, both);
    // "HTTP://" comes first in the prefix order and wins; "www.a.org" stays plain text.
    EXPECT_EQ(both.count(QStringLiteral("<a ")), 1);
    EXPECT_TRUE(both.contains(QStringLiteral("http://b.org</a>")));
}

TEST_F(GraphicSizeTest, RowIndentIsTheNodeLevelOfColumnZeroTimesTheNodeIndent)
{
    G->SetLevel(2, 3);
    EXPECT_EQ(G->Indent(2), 0); // no nodes in the grid
    G->SetNodeCount(1);
    G->CellNode()->SetNodeIndent(10);
    EXPECT_EQ(G->Indent(2), 30);
    EXPECT_EQ(G->Indent(1), 0);  // column 0 without properties
    EXPECT_EQ(G->Indent(-1), 0); // no row
}

} // namespace
