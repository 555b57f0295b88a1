// What the grid draws inside a cell and how it measures it: typed reads that never raise, the
// display text, the layout of a graphic beside the text, the text extent for auto-sizing, and
// the check boxes and radio buttons of each control style.
#include "grid/core/ExtGrid.h"

#include "platform/ImgList.h"
#include "platform/RecordingCanvas.h"
#include "platform/WinGdi.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class TContentGrid : public TExtStringGrid {
public:
    using TExtStringGrid::MeasureCellText;
    using TExtStringGrid::TExtStringGrid;
    void SetGridImages(TObject *Images) { FGridImages = Images; }
};

class CellContentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TContentGrid>(nullptr);
        G->SetColCount(4);
        G->SetRowCount(4);
        G->SetColWidths(1, 120);
        G->SetRowHeights(1, 40);
    }
    TCellGraphic *Graphic(TCellType T, TCellHAlign H = haLeft, TCellVAlign V = vaTop)
    {
        TCellGraphic *g = G->CreateCellGraphic(1, 1);
        g->SetCellType(T);
        g->SetCellHAlign(H);
        g->SetCellVAlign(V);
        return g;
    }
    std::unique_ptr<TContentGrid> G;
};

// The colour at (X, Y) of a bitmap as 0x00BBGGRR.
TColorRef At(TBitmap &B, int X, int Y) { return ColorToRGB(B.Canvas()->Pixels(X, Y)); }

int CountColour(TBitmap &B, TColorRef C)
{
    const QImage img = B.ToImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += ColorToRGB(QColorToColor(QColor(img.pixel(x, y)))) == C;
    return n;
}

TEST_F(CellContentTest, TypedReadsTakeEmptyDashAndNonNumbersAsZero)
{
    struct Case {
        const char *Text;
        bool IntOk;
        int Int;
        bool FloatOk;
        double Float;
    };
    const Case cases[] = {
        {"", true, 0, true, 0},
        {"-", true, 0, true, 0},
        {" 12 ", true, 12, true, 12},
        {"<b>7</b>", true, 7, true, 7},
        {"12a", false, 0, true, 12},
        {"abc", false, 0, true, 0}, // no number inside: the float read finds none, 0
        {"2.5", false, 0, true, 2.5},
        {"-3", true, -3, true, -3},
    };
    for (const Case &c : cases) {
        G->SetCells(1, 1, QString::fromLatin1(c.Text));
        int i = -1;
        double f = -1;
        EXPECT_EQ(G->TryCellInts(1, 1, i), c.IntOk) << c.Text;
        EXPECT_EQ(i, c.Int) << c.Text;
        EXPECT_EQ(G->TryCellFloats(1, 1, f), c.FloatOk) << c.Text;
        EXPECT_DOUBLE_EQ(f, c.Float) << c.Text;
        EXPECT_EQ(G->CellIntOrZero(1, 1), c.Int) << c.Text;
    }
}

TEST_F(CellContentTest, FormattedCellAppliesTheFloatFormatOnlyToNumbers)
{
    G->SetCells(1, 1, QStringLiteral("3.14159"));
    EXPECT_EQ(G->GetFormattedCell(1, 1), QStringLiteral("3.14159")); // no event: as stored

    int fired = 0;
    UnicodeString format = QStringLiteral("%.2f");
    bool isFloat = true;
    G->OnGetFloatFormat = [&](TObject *, int, int, bool &IsFloat, UnicodeString &Fmt) {
        ++fired;
        IsFloat = isFloat;
        Fmt = format;
    };
    struct Case {
        const char *Text;
        const char *Format;
        bool IsFloat;
        const char *Shown;
    };
    const Case cases[] = {
        {"3.14159", "%.2f", true, "3.14"},
        {"12", "%d", true, "12"},
        {"12.5", "%d", true, "12.5"},        // not an integer: the text stays
        {"3.14159", "%.2f", false, "3.14159"}, // the event declines
        {"3.14159", "", true, "3.14159"},
        {"3.14159", "%s %s", true, "3.14159"}, // a format that does not take it
    };
    for (const Case &c : cases) {
        G->SetCells(1, 1, QString::fromLatin1(c.Text));
        format = QString::fromLatin1(c.Format);
        isFloat = c.IsFloat;
        EXPECT_EQ(G->GetFormattedCell(1, 1), QString::fromLatin1(c.Shown)) << c.Text << " " << c.Format;
    }
    fired = 0;
    G->SetCells(1, 1, QStringLiteral("abc"));
    EXPECT_EQ(G->GetFormattedCell(1, 1), QStringLiteral("abc"));
    EXPECT_EQ(fired, 0);
}

TEST_F(CellContentTest, GraphicLayoutByType)
{
    TCustomImageList images(nullptr);
    images.SetWidth(12);
    images.SetHeight(10);
    G->SetGridImages(&images);
    TBitmap bmp(24, 18);
    TIntList list(1, 1);
    list.Add(1);
    list.Add(2);
    list.Add(3);
    struct Case {
        const char *Name;
        TCellType Type;
        TPoint Size;
        bool Text;
    };
    const int c = G->ControlLook()->CheckSize;
    const int r = G->ControlLook()->RadioSize + 4;
    const Case cases[] = {
        {"bitmap", ctBitmap, {24, 18}, true},
        {"image list", ctImageList, {12, 10}, true},
        {"data image", ctDataImage, {12, 10}, false},
        {"check box", ctCheckBox, {c, c}, true},
        {"data check box", ctDataCheckBox, {c, c}, false},
        {"virtual check box", ctVirtCheckBox, {c, c}, false},
        {"rotated", ctRotated, {0, 0}, false},
        {"progress", ctProgress, {0, 0}, false},
        {"images across", ctImages, {36, 10}, true},
        {"button", ctButton, {30, 20}, true},
        {"pie", ctProgressPie, {20, 20}, true},
        {"radio button", ctRadioButton, {r, r}, true},
        {"shape", ctShape, {36, 36}, true},
        {"rating", ctRating, {90, 16}, false},
    };
    for (const Case &k : cases) {
        TCellGraphic *g = Graphic(k.Type, haBeforeText, vaCenter);
        g->SetCellObject(k.Type == ctImages ? static_cast<TObject *>(&list) : &bmp);
        g->SetCellBoolean(true);
        g->SetCellIndex((20 << 16) | 30);
        g->SetCellAngle(5);
        TCellVAlign va = vaTop;
        TCellHAlign ha = haLeft;
        bool text = !k.Text;
        int h = -1, w = -1;
        EXPECT_EQ(G->GetCellGraphicLayout(1, 1, va, ha, text, h, w), g) << k.Name;
        EXPECT_EQ(TPoint(w, h), k.Size) << k.Name;
        EXPECT_EQ(text, k.Text) << k.Name;
        EXPECT_EQ(ha, haBeforeText) << k.Name;
        EXPECT_EQ(va, vaCenter) << k.Name;
        g->SetCellObject(nullptr);
    }
    G->RemoveCellGraphic(1, 1);
    TCellVAlign va = vaCenter;
    TCellHAlign ha = haFull;
    bool text = false;
    int h = -1, w = -1;
    EXPECT_EQ(G->GetCellGraphicLayout(1, 1, va, ha, text, h, w), nullptr);
    EXPECT_EQ(TPoint(w, h), TPoint(0, 0));
    EXPECT_TRUE(text);
    EXPECT_EQ(va, vaTop);
    EXPECT_EQ(ha, haLeft);
    G->SetGridImages(nullptr);
}

TEST_F(CellContentTest, TextSizeFollowsFontMetrics)
{
    TCanvas *c = G->Canvas();
    G->SetCells(1, 1, QStringLiteral("one two three four five six seven eight"));
    const TPoint wide = G->GetCellTextSize(1, 1, true, false);
    const TPoint narrow = G->GetCellTextSize(1, 1, true, true);
    EXPECT_EQ(wide.X - narrow.X, 17);
    EXPECT_GE(narrow.Y, wide.Y);

    c->Font()->Assign(G->Font());
    const int gh = c->TextHeight(QStringLiteral("gh"));
    G->SetCells(1, 1, QStringLiteral("a\nbbbbbb\nc"));
    EXPECT_EQ(G->GetCellTextSize(1, 1, false, false).Y, gh); // one line without Multilinecells
    G->SetMultilinecells(true);
    const TPoint three = G->GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(three.Y, 3 * gh);
    c->Font()->Assign(G->Font());
    EXPECT_EQ(three.X, c->TextWidth(QStringLiteral("bbbbbb")));

    // A rotated text measures as the box around it.
    G->SetMultilinecells(false);
    G->SetCells(1, 1, QStringLiteral("rotated text"));
    const TPoint flat = G->GetCellTextSize(1, 1, false, false);
    TCellGraphic *g = Graphic(ctRotated);
    g->SetCellAngle(45);
    const double s = std::sqrt(0.5);
    const int ext = static_cast<int>(std::lround(flat.Y * s) + std::lround(flat.X * s)) + 12;
    EXPECT_EQ(G->GetCellTextSize(1, 1, false, false), TPoint(ext, ext));
    g->SetCellAngle(90);
    EXPECT_EQ(G->GetCellTextSize(1, 1, false, false), TPoint(flat.Y + 12, flat.X + 12));
}

TEST_F(CellContentTest, LinkSchemeIsLeftOutOfTheMeasureUnlessShownInFull)
{
    G->SetCells(1, 1, QStringLiteral("http://example.org"));
    G->SetURLShow(true);
    TCanvas *c = G->Canvas();
    c->Font()->Assign(G->Font());
    EXPECT_EQ(G->GetCellTextSize(1, 1, false, false).X, c->TextWidth(QStringLiteral("example.org")));
    G->SetURLFull(true);
    c->Font()->Assign(G->Font());
    EXPECT_EQ(G->GetCellTextSize(1, 1, false, false).X, c->TextWidth(QStringLiteral("http://example.org")));
}

TEST_F(CellContentTest, HtmlCellMeasuresItsRenderedText)
{
    G->SetCells(1, 1, QStringLiteral("<b>bold</b> and plain"));
    const TPoint html = G->GetCellTextSize(1, 1, false, false);
    G->SetEnableHTML(false);
    const TPoint raw = G->GetCellTextSize(1, 1, false, false);
    EXPECT_LT(html.X, raw.X); // the tags take no room once rendered
    EXPECT_GT(html.X, 0);
}

TEST(CellTextFlags, DrawFlagsByLinesWrapAndAlignment)
{
    constexpr unsigned base = DT_EXPANDTABS | DT_NOPREFIX;
    struct Case {
        const char *Name;
        int Lines;
        bool Wrap, Multi, Enh;
        TAlignment HA;
        TVAlignment VA;
        unsigned Flags;
    };
    const Case cases[] = {
        {"one line", 1, false, false, false, taLeftJustify, vtaTop, base | DT_SINGLELINE},
        {"one line, ellipsis", 1, false, false, true, taRightJustify, vtaCenter,
         base | DT_SINGLELINE | DT_END_ELLIPSIS | DT_RIGHT | DT_VCENTER},
        {"wrapped", 1, true, false, false, taCenter, vtaBottom,
         base | DT_EDITCONTROL | DT_WORDBREAK | DT_CENTER | DT_BOTTOM},
        {"wrapped, ellipsis", 1, true, false, true, taLeftJustify, vtaTop,
         base | DT_EDITCONTROL | DT_WORDBREAK | DT_END_ELLIPSIS},
        {"lines", 3, false, true, true, taLeftJustify, vtaTop, base | DT_EDITCONTROL | DT_WORDBREAK},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TExtStringGrid::CellTextDrawFlags(c.Lines, c.Wrap, c.Multi, c.Enh, c.HA, c.VA), c.Flags) << c.Name;
}

// ---- check boxes -------------------------------------------------------------------------------------

class CheckDrawTest : public CellContentTest {
protected:
    std::unique_ptr<TBitmap> Draw(bool Checked, bool Enabled, TControlLook::TControlStyle Style)
    {
        auto b = std::make_unique<TBitmap>(20, 20);
        b->Canvas()->Brush()->SetColor(clWhite);
        b->Canvas()->FillRect(TRect(0, 0, 20, 20));
        G->DrawCheck(b->Canvas(), TRect(2, 2, 18, 18), Checked, Enabled, false, Style, false, cbUnchecked);
        return b;
    }
};

TEST_F(CheckDrawTest, XPCheckBoxIsDrawnPixelForPixel)
{
    auto onp = Draw(true, true, TControlLook::csWinXP);
    TBitmap &on = *onp;
    EXPECT_EQ(At(on, 3, 3), RGB(0x1C, 0x51, 0x80));   // frame at (1, 1) of the glyph
    EXPECT_EQ(At(on, 15, 15), RGB(0x1C, 0x51, 0x80)); // its far corner
    EXPECT_EQ(At(on, 4, 4), RGB(0xE2, 0xE2, 0xDD));   // gradient start
    EXPECT_EQ(At(on, 2, 2), RGB(255, 255, 255));      // key colour stays background
    EXPECT_EQ(CountColour(on, RGB(0x21, 0xA1, 0x21)), 21);
    EXPECT_EQ(At(on, 12, 6), RGB(0x21, 0xA1, 0x21)); // tick pixel (10, 4)

    auto offp = Draw(false, true, TControlLook::csWinXP);
    TBitmap &off = *offp;
    EXPECT_EQ(CountColour(off, RGB(0x21, 0xA1, 0x21)), 0);
    EXPECT_EQ(At(off, 4, 4), RGB(0xDC, 0xDC, 0xD7));
}

TEST_F(CheckDrawTest, DisabledLookUnlessAlwaysActive)
{
    auto disabledp = Draw(true, false, TControlLook::csWinXP);
    TBitmap &disabled = *disabledp;
    EXPECT_EQ(At(disabled, 3, 3), RGB(0xCA, 0xC8, 0xBB));
    EXPECT_EQ(CountColour(disabled, RGB(0xCA, 0xC8, 0xBB)), 48 + 21); // frame and tick
    auto disabledOffp = Draw(false, false, TControlLook::csWinXP);
    TBitmap &disabledOff = *disabledOffp;
    EXPECT_EQ(At(disabledOff, 7, 7), RGB(255, 255, 255));
    EXPECT_EQ(CountColour(disabledOff, RGB(0xCA, 0xC8, 0xBB)), 48);

    G->ControlLook()->CheckAlwaysActive = true;
    auto activep = Draw(true, false, TControlLook::csWinXP);
    TBitmap &active = *activep;
    EXPECT_EQ(At(active, 3, 3), RGB(0x1C, 0x51, 0x80));
    EXPECT_EQ(CountColour(active, RGB(0x21, 0xA1, 0x21)), 21);
}

TEST_F(CheckDrawTest, ThemedStyleFallsBackToTheClassicFrameControl)
{
    const QImage themed = Draw(true, true, TControlLook::csTheme)->ToImage();
    const QImage classic = Draw(true, true, TControlLook::csClassic)->ToImage();
    EXPECT_EQ(themed, classic);
    EXPECT_NE(classic, Draw(false, true, TControlLook::csClassic)->ToImage());
    // The classic box is centred: the corner of the 20 x 20 bitmap stays white.
    auto bp = Draw(true, true, TControlLook::csClassic);
    TBitmap &b = *bp;
    EXPECT_EQ(At(b, 1, 1), RGB(255, 255, 255));
}

TEST_F(CheckDrawTest, RadioButtonsMarkTheChosenOption)
{
    TStringList options;
    options.Add(QStringLiteral("A"));
    options.Add(QStringLiteral("B"));
    TBitmap b(120, 24);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect(0, 0, 120, 24));
    G->SetCells(1, 1, QStringLiteral("B"));
    b.Canvas()->Font()->Assign(G->Font());
    // Index -1: the option equal to the cell text is on.
    G->DrawRadioButtons(b.Canvas(), TRect(0, 0, 120, 24), 2, -1, true, false, &options, false, 1, 1,
                        TControlLook::csWinXP, 1.0, false);
    const int wa = b.Canvas()->TextWidth(QStringLiteral("A"));
    const int x1 = 2, x2 = wa + 18, y = 4;
    EXPECT_NE(At(b, x1 + 8, y + 8), RGB(0x21, 0xA1, 0x21));
    EXPECT_EQ(At(b, x2 + 8, y + 8), RGB(0x21, 0xA1, 0x21));
    // Nothing is drawn for no buttons.
    TRecordingCanvas rec;
    G->DrawRadioButtons(&rec, TRect(0, 0, 120, 24), 0, 0, true, false, &options, false, 1, 1,
                        TControlLook::csWinXP, 1.0, false);
    EXPECT_TRUE(rec.Calls().empty());
}

} // namespace
