// The print layout on a recording printer: page and strip counts, page numbers, fitting the
// columns to the page, repeated fixed rows, forced page breaks, a row taller than the page, the
// print start event, the selection filter, drawing page 1 into a clip rectangle, and the header
// and footer texts.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/Printers.h"
#include "platform/RecordingCanvas.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

// 800 x 1000 pixels at 100 dpi: a page of 2032 x 2540 layout units.
constexpr int PageW = 800, PageH = 1000, Dpi = 100;

class PrintLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = SetPrinter(&printer);
        g = new TExtStringGrid(form.get());
        g->SetColCount(3);
        g->SetRowCount(10);
        g->SetFixedCols(0);
        g->SetFixedRows(1);
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < g->ColCount(); ++c)
                g->SetCells(c, r, r == 0 ? QStringLiteral("Head%1").arg(c) : QStringLiteral("r%1c%2").arg(r).arg(c));
        TPrintSettings *ps = g->PrintSettings();
        // Columns of 600 and rows of 480 units: three columns to a strip, five rows to a page.
        ps->UseFixedWidth = true;
        ps->FixedWidth = 600;
        ps->UseFixedHeight = true;
        ps->FixedHeight = 480;
        ps->PageNr = ppBottomRight;
    }
    void TearDown() override { SetPrinter(previous); }

    // The texts drawn on page Page (1-based) by TextOut or a text call.
    QStringList TextsOn(int Page) const
    {
        QStringList texts;
        for (const QString &line : printer.Pages().at(std::size_t(Page - 1))) {
            const int q = line.indexOf(QLatin1Char('"'));
            if (q >= 0 && (line.startsWith(QLatin1String("TextOut")) || line.startsWith(QLatin1String("ExtTextOut")) ||
                           line.startsWith(QLatin1String("TextRect"))))
                texts << line.mid(q + 1, line.size() - q - 3);
        }
        return texts;
    }
    int CountOn(int Page, const QString &Text) const { return int(TextsOn(Page).count(Text)); }

    TRecordingPrinter printer{PageW, PageH, Dpi};
    TPrinter *previous = nullptr;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TExtStringGrid *g = nullptr;
};

TEST_F(PrintLayout, OneStripNumbersItsPagesOneToN)
{
    g->SetRowCount(12);
    g->Print();
    EXPECT_EQ(g->PrintNrOfPages(), 3);
    ASSERT_EQ(printer.Pages().size(), 3u);
    for (int p = 1; p <= 3; ++p)
        EXPECT_EQ(CountOn(p, QStringLiteral("  %1/3 ").arg(p)), 1) << p;
    // Five rows to a page: the rows of page 2 are rows 5..9.
    EXPECT_EQ(CountOn(2, QStringLiteral("r5c0")), 1);
    EXPECT_EQ(CountOn(2, QStringLiteral("r4c0")), 0);
    EXPECT_EQ(g->PrintPageFrom(), 1);
    EXPECT_EQ(g->PrintPageTo(), 3);
}

TEST_F(PrintLayout, TwoStripsNumberThePagesPerStrip)
{
    g->SetColCount(6);
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 3; c < 6; ++c)
            g->SetCells(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
    g->Print();
    ASSERT_EQ(printer.Pages().size(), 4u);
    const QStringList expected = {QStringLiteral("1-1"), QStringLiteral("2-1"), QStringLiteral("1-2"), QStringLiteral("2-2")};
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(CountOn(p, QStringLiteral("  %1 ").arg(expected[p - 1])), 1) << p;
    // The second strip holds the last three columns.
    EXPECT_EQ(CountOn(3, QStringLiteral("r1c3")), 1);
    EXPECT_EQ(CountOn(3, QStringLiteral("r1c2")), 0);
    EXPECT_EQ(g->PrintColStart(), 3);
    EXPECT_EQ(g->PrintColEnd(), 5);
}

TEST_F(PrintLayout, FitToPageScalesTheMeasuredWidths)
{
    TPrintSettings *ps = g->PrintSettings();
    ps->UseFixedWidth = false;
    ps->LeftSize = 100;
    ps->RightSize = 50;
    auto widths = [&] {
        g->Print();
        std::vector<int> w;
        for (int c = 0; c < 3; ++c)
            w.push_back(g->PrintColWidth(c));
        return w;
    };
    const std::vector<int> natural = widths();
    ASSERT_GT(natural[0], 0);

    ps->FitToPage = fpShrink;
    EXPECT_EQ(widths(), natural);

    ps->FitToPage = fpAlways;
    const std::vector<int> full = widths();
    const int room = 2032 - 100 - 50 - 3 * 20;
    const int sum = full[0] + full[1] + full[2];
    EXPECT_LE(sum, room);
    EXPECT_GE(sum, room - 3);

    // Margins wider than the page leave nothing to scale into: the widths stay as measured.
    ps->LeftSize = 5000;
    EXPECT_EQ(widths(), natural);
    ps->LeftSize = 100;

    ps->FitToPage = fpCustom;
    double asked = 0;
    g->OnFitToPage = [&](TObject *, double &Scale, bool &Allow) {
        asked = Scale;
        Allow = false;
    };
    EXPECT_EQ(widths(), natural);
    EXPECT_GT(asked, 1.0);
}

TEST_F(PrintLayout, FixedRowsRepeatOnEveryPageOnce)
{
    g->SetRowCount(14);
    g->PrintSettings()->RepeatFixedRows = true;
    g->Print();
    ASSERT_EQ(printer.Pages().size(), 4u);
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(CountOn(p, QStringLiteral("Head0")), 1) << p;
}

TEST_F(PrintLayout, ANewPageAfterEveryRowGivesOneRowToAPage)
{
    g->OnPrintNewPage = [](TObject *, int, bool &NewPage) { NewPage = true; };
    g->Print();
    EXPECT_EQ(g->PrintNrOfPages(), 10);
    ASSERT_EQ(printer.Pages().size(), 10u);
    EXPECT_EQ(CountOn(4, QStringLiteral("r3c1")), 1);
    EXPECT_EQ(CountOn(4, QStringLiteral("r4c1")), 0);
}

TEST_F(PrintLayout, ARowTallerThanThePageIsPrintedAloneAndTheRunEnds)
{
    g->PrintSettings()->UseFixedHeight = false;
    g->OnPrintSetRowHeight = [](TObject *, int ARow, int &Height) {
        if (ARow == 3)
            Height = 10000;
    };
    g->Print();
    ASSERT_EQ(printer.Pages().size(), 3u);
    EXPECT_EQ(CountOn(1, QStringLiteral("r2c0")), 1);
    EXPECT_EQ(CountOn(2, QStringLiteral("r3c0")), 1);
    EXPECT_EQ(TextsOn(2).filter(QStringLiteral("c0")).size(), 1);
    EXPECT_EQ(CountOn(3, QStringLiteral("r4c0")), 1);
    EXPECT_EQ(CountOn(3, QStringLiteral("r9c0")), 1);
}

TEST_F(PrintLayout, AReversedRangeFromPrintStartPrintsNothing)
{
    int told = 0;
    g->OnPrintStart = [&](TObject *, int NrOfPages, int &FromPage, int &ToPage) {
        told = NrOfPages;
        FromPage = 2;
        ToPage = 1;
    };
    g->Print();
    EXPECT_EQ(told, 2);
    EXPECT_EQ(printer.DocCount(), 1);
    EXPECT_EQ(printer.AbortCount(), 1);
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(printer.Pages().empty());
}

TEST_F(PrintLayout, PrintStartChoosesThePagesPrinted)
{
    g->SetRowCount(12);
    g->OnPrintStart = [&](TObject *, int, int &FromPage, int &ToPage) { FromPage = ToPage = 2; };
    g->Print();
    EXPECT_EQ(printer.DocCount(), 2);
    ASSERT_EQ(printer.Pages().size(), 1u);
    EXPECT_EQ(CountOn(1, QStringLiteral("r5c0")), 1);
    EXPECT_EQ(CountOn(1, QStringLiteral("r1c0")), 0);
}

TEST_F(PrintLayout, SelectedColsPrintLikeSelectedRows)
{
    TGridRect sel;
    sel.Left = 1;
    sel.Right = 2;
    sel.Top = 2;
    sel.Bottom = 4;
    g->SetSelection(sel);
    g->PrintSelectedRows();
    const auto rows = printer.Pages();
    g->PrintSelectedCols();
    EXPECT_EQ(printer.Pages(), rows);
    ASSERT_EQ(rows.size(), 1u);
    const QStringList texts = TextsOn(1);
    EXPECT_TRUE(texts.contains(QStringLiteral("r2c1")));
    EXPECT_TRUE(texts.contains(QStringLiteral("r4c2")));
    EXPECT_FALSE(texts.contains(QStringLiteral("r2c0")));
    EXPECT_FALSE(texts.contains(QStringLiteral("r5c1")));
    EXPECT_FALSE(texts.contains(QStringLiteral("Head1")));
}

TEST_F(PrintLayout, PrintDrawLaysOutAgainstTheClipRectangle)
{
    TBitmap bmp(800, 800);
    bmp.Canvas()->IntersectClipRect(0, 0, 384, 288);
    g->PrintDraw(bmp.Canvas(), TRect(0, 0, 800, 800));
    // 384 x 288 pixels at 96 dpi are 1016 x 762 layout units.
    EXPECT_EQ(g->PrintPageRect(), TRect(0, 0, 1016, -762));
    EXPECT_EQ(g->PrintNrOfPages(), 1);
    EXPECT_EQ(g->PrintPageFrom(), 1);
    EXPECT_EQ(g->PrintPageTo(), 1);
}

TEST_F(PrintLayout, ACountingRunDrawsNothing)
{
    TBitmap bmp(800, 500);
    g->OnPrintStart = [](TObject *, int, int &FromPage, int &ToPage) { FromPage = 0; };
    g->PrintPreview(bmp.Canvas(), TRect(0, 0, 800, 500));
    EXPECT_EQ(g->PrintNrOfPages(), 5);
    // Without drawing the bitmap stays white.
    const QImage img = bmp.ToImage();
    for (int y = 0; y < img.height(); y += 7)
        for (int x = 0; x < img.width(); x += 7)
            ASSERT_EQ(img.pixel(x, y) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
}

// The export notifications of a print: start, each row visited, end.
class TNotifyingGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void ExportNotification(int State, int ARow) override { Seen.emplace_back(State, ARow); }
    std::vector<std::pair<int, int>> Seen;
};

TEST_F(PrintLayout, APrintNotifiesItsStartItsRowsAndItsEnd)
{
    auto *n = new TNotifyingGrid(form.get());
    n->SetColCount(2);
    n->SetRowCount(3);
    n->Print();
    ASSERT_FALSE(n->Seen.empty());
    EXPECT_EQ(n->Seen.front(), std::make_pair(0, -1));
    EXPECT_EQ(n->Seen.back(), std::make_pair(2, -1));
    // The whole grid is visited: state 1 for its rows, in the counting and the drawing run.
    EXPECT_EQ(std::count(n->Seen.begin(), n->Seen.end(), std::make_pair(1, 2)), 2);
}

// ---- header and footer ------------------------------------------------------------------------

TEST_F(PrintLayout, HeaderAndFooterTextsKeepTheirBlanks)
{
    SetClock([] { return EncodeDate(2026, 3, 4) + EncodeTime(9, 5, 0, 0); });
    struct TRestore {
        ~TRestore() { SetClock(nullptr); }
    } restore;
    TPrintSettings *ps = g->PrintSettings();
    ps->Time = ppTopLeft;
    ps->Date = ppTopLeft;
    g->SetRowCount(7);
    g->OnPrintNewPage = [](TObject *, int, bool &NewPage) { NewPage = true; };
    g->Print();
    ASSERT_EQ(printer.Pages().size(), 7u);
    EXPECT_EQ(CountOn(1, QStringLiteral("04/03/2026 09:05 ")), 1);
    EXPECT_EQ(CountOn(3, QStringLiteral("  3/7 ")), 1);

    // A single page has no separator and total; the offsets shift number and total.
    g->OnPrintNewPage = nullptr;
    g->SetRowCount(3);
    g->Print();
    EXPECT_EQ(CountOn(1, QStringLiteral("  1 ")), 1);
    // With the header line four rows go on a page.
    g->SetRowCount(16);
    ps->PageNumberOffset = 10;
    ps->MaxPagesOffset = 10;
    g->Print();
    EXPECT_EQ(CountOn(1, QStringLiteral("  11/14 ")), 1);
}

TEST_F(PrintLayout, WithoutAPageCountTheTotalIsTheLargestInteger)
{
    g->SetFastPrint(true);
    g->PrintSettings()->MaxPagesOffset = 10;
    g->PrintSettings()->PageNumberOffset = 5;
    g->Print();
    ASSERT_EQ(printer.Pages().size(), 2u);
    EXPECT_EQ(CountOn(2, QStringLiteral("  7/2147483657 ")), 1);
}

TEST_F(PrintLayout, PageTextHookReplacesThePageNumber)
{
    g->OnPrintGetPageNum = [](TObject *, int PageNum, int PageColNum, UnicodeString &Text) {
        Text = QStringLiteral("p%1s%2").arg(PageNum).arg(PageColNum);
    };
    g->Print();
    EXPECT_EQ(CountOn(2, QStringLiteral("  p2s1 ")), 1);
}

TEST_F(PrintLayout, ThreeTitleLinesAreCentredOneLineApart)
{
    TPrintSettings *ps = g->PrintSettings();
    ps->Title = ppTopCenter;
    ps->HeaderSize = 40;
    ps->TitleLines()->Add(QStringLiteral("First line"));
    ps->TitleLines()->Add(QStringLiteral("II"));
    ps->TitleLines()->Add(QStringLiteral("The third title line"));
    g->SetRowCount(3);
    g->Print();
    const QStringList lines = printer.Pages().at(0);
    std::vector<std::pair<int, int>> at;  // (x, y) of each title line
    TRecordingCanvas measure;
    measure.SetMapMode(MM_LOMETRIC);
    measure.Font()->Assign(ps->HeaderFont());
    measure.Font()->SetHeight(g->MapFontHeight(ps->HeaderFont()->Size()));
    int lineHeight = measure.TextHeight(QStringLiteral("gh"));
    for (int i = 0; i < 3; ++i) {
        const QString text = ps->TitleLines()->Strings(i);
        const QString &shown = text;
        bool found = false;
        for (const QString &l : lines)
            if (l.startsWith(QLatin1String("TextOut(")) && l.endsWith(QLatin1Char('"') + shown + QLatin1String("\")"))) {
                const QStringList args = l.mid(8, l.indexOf(QLatin1Char(')')) - 8).split(QLatin1Char(','));
                at.emplace_back(args[0].toInt(), args[1].toInt());
                EXPECT_NEAR(args[0].toInt(), (2032 - measure.TextWidth(shown)) / 2, 1) << text.toStdString();
                found = true;
                // The first page of a strip is written twice at the same place.
                break;
            }
        EXPECT_TRUE(found) << text.toStdString();
    }
    ASSERT_EQ(at.size(), 3u);
    EXPECT_EQ(at[0].second, -40);
    EXPECT_EQ(at[1].second, -40 - lineHeight);
    EXPECT_EQ(at[2].second, -40 - 2 * lineHeight);
}

TEST_F(PrintLayout, AnHtmlTitlePushesTheFirstRowBelowIt)
{
    TPrintSettings *ps = g->PrintSettings();
    ps->Title = ppTopLeft;
    ps->PageNr = ppNone;
    auto firstRowTop = [&] {
        g->Print();
        // The top line of the first row is the first horizontal cell line.
        for (const QString &l : printer.Pages().at(0))
            if (l.startsWith(QLatin1String("MoveTo(")))
                return l.mid(7, l.indexOf(QLatin1Char(')')) - 7).split(QLatin1Char(','))[1].toInt();
        return 0;
    };
    ps->TitleLines()->Add(QStringLiteral("Plain"));
    const int plain = firstRowTop();
    ps->TitleLines()->Clear();
    ps->TitleLines()->Add(QStringLiteral("<font size=\"20\"><b>Big</b></font><br>Second<br>Third"));
    const int html = firstRowTop();
    EXPECT_LT(html, plain - 100);
}

} // namespace
