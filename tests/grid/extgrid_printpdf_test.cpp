// Printing into a PDF file and previewing onto a bitmap: the pages of the file, what page 2
// shows, a print cancelled after its first page, a print stopped before it began, and a preview
// of one page among several.
#include "grid/core/ExtGrid.h"

#include "platform/FileUtils.h"
#include "platform/Forms.h"
#include "platform/Printers.h"

#include <poppler-qt6.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

class PrintPdf : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = SetPrinter(nullptr);
        file = dir.filePath(QStringLiteral("grid.pdf"));
        SetPrinterOutputFile(file);
        g = new TExtStringGrid(form.get());
        g->SetColCount(3);
        g->SetRowCount(9);
        g->SetFixedRows(1);
        g->SetFixedCols(0);
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < g->ColCount(); ++c)
                g->SetCells(c, r, QStringLiteral("R%1C%2").arg(r).arg(c));
        TPrintSettings *ps = g->PrintSettings();
        // Three rows of 900 units to an A4 page.
        ps->UseFixedHeight = true;
        ps->FixedHeight = 900;
        ps->UseFixedWidth = true;
        ps->FixedWidth = 500;
        ps->Title = ppTopLeft;
        ps->TitleText = QStringLiteral("Quarterly");
        ps->PageNr = ppBottomRight;
    }
    void TearDown() override
    {
        SetPrinterOutputFile(UnicodeString());
        SetPrinter(previous);
    }
    std::unique_ptr<Poppler::Document> Load() const
    {
        auto doc = Poppler::Document::load(file);
        return doc && !doc->isLocked() ? std::move(doc) : nullptr;
    }

    QTemporaryDir dir;
    QString file;
    TPrinter *previous = nullptr;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TExtStringGrid *g = nullptr;
};

bool Dark(QRgb P)
{
    return qGray(P) < 160;
}

TEST_F(PrintPdf, ThreePagesWithHeaderAndGridLinesWhereTheLayoutPutThem)
{
    g->Print();
    ASSERT_EQ(g->PrintNrOfPages(), 3);
    const auto doc = Load();
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->numPages(), 3);
    const auto page = doc->page(1);
    const QString text = page->text(QRectF());
    EXPECT_TRUE(text.contains(QStringLiteral("Quarterly")));
    EXPECT_TRUE(text.contains(QStringLiteral("R4C1")));
    EXPECT_FALSE(text.contains(QStringLiteral("R1C1")));
    EXPECT_TRUE(text.contains(QStringLiteral("2/3")));

    // At 127 dpi one pixel is two layout units.
    const QImage img = page->renderToImage(127, 127);
    ASSERT_FALSE(img.isNull());
    const int y = img.height() / 3;
    auto darkNear = [&](int units) {
        const int x = units / 2;
        for (int dx = -2; dx <= 2; ++dx)
            if (Dark(img.pixel(x + dx, y)))
                return true;
        return false;
    };
    // The left edge of the strip, the line between columns 1 and 2, and no line mid-column.
    EXPECT_TRUE(darkNear(g->PrintColOffset(0)));
    EXPECT_TRUE(darkNear(g->PrintColOffset(2)));
    EXPECT_TRUE(darkNear(g->PrintColOffset(3)));
    EXPECT_FALSE(darkNear((g->PrintColOffset(1) + g->PrintColOffset(2)) / 2 + 200));
}

TEST_F(PrintPdf, CancelAfterThePageOneLeavesAOnePageFile)
{
    int done = 0;
    g->OnPrintCancel = [&](TObject *, int PageNr, bool &Cancel) {
        ++done;
        Cancel = PageNr == 1;
    };
    g->Print();
    EXPECT_EQ(done, 1);
    const auto doc = Load();
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->numPages(), 1);
}

TEST_F(PrintPdf, APrintStoppedAtItsStartLeavesTheOldFile)
{
    WriteFileAtomic(file, QByteArray("old"));
    g->OnPrintStart = [](TObject *, int, int &FromPage, int &ToPage) { ToPage = 0; };
    g->Print();
    EXPECT_EQ(ReadFileBytes(file), QByteArray("old"));
    EXPECT_FALSE(Printer()->Printing());
}

TEST_F(PrintPdf, APreviewOfPageTwoShowsOnlyPageTwo)
{
    // Rows of page 1 red, of page 2 blue.
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c)
            g->SetColors(c, r, r < 3 ? clRed : r < 6 ? clBlue : clLime);
    g->SetFixedRows(0);
    TBitmap bmp(800, 1123); // A4 at 96 dpi
    g->SetPreviewPage(2);
    g->PrintPreview(bmp.Canvas(), TRect(0, 0, 800, 1123));
    EXPECT_EQ(g->PrintNrOfPages(), 3);
    const QImage img = bmp.ToImage();
    int red = 0, blue = 0, lime = 0, darkFooter = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            red += p == 0xFF0000;
            blue += p == 0x0000FF;
            lime += p == 0x00FF00;
            darkFooter += y > img.height() - 60 && x > img.width() / 2 && Dark(img.pixel(x, y));
        }
    EXPECT_GT(blue, 1000);
    EXPECT_EQ(red, 0);
    EXPECT_EQ(lime, 0);
    EXPECT_GT(darkFooter, 10);
    EXPECT_FALSE(g->IsPrintPreview());
}

} // namespace
