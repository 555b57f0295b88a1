// The print settings object: its defaults, copying between settings objects, and the grid's
// page range that PreviewPage sets.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class PrintSettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TExtStringGrid *g = new TExtStringGrid(form.get());
};

TEST_F(PrintSettingsTest, ANewObjectHasTheDefaults)
{
    const TPrintSettings &p = *g->PrintSettings();
    EXPECT_EQ(p.Borders, pbSingle);
    EXPECT_EQ(p.BorderStyle, TPenStyle::psSolid);
    EXPECT_EQ(p.BorderColor, clBlack);
    EXPECT_TRUE(p.Centered);
    EXPECT_TRUE(p.UseDisplayFont);
    EXPECT_EQ(p.DateFormat, QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(p.PageNumSep, QStringLiteral("/"));
    for (TPrintPosition pos : {p.Time, p.Date, p.PageNr, p.Title})
        EXPECT_EQ(pos, ppNone);
    for (int v : {p.FooterSize, p.HeaderSize, p.LeftSize, p.RightSize, p.ColumnSpacing, p.RowSpacing, p.TitleSpacing,
                  p.FixedWidth, p.FixedHeight, p.PageNumberOffset, p.MaxPagesOffset})
        EXPECT_EQ(v, 0);
    EXPECT_EQ(p.FitToPage, fpNever);
    EXPECT_EQ(p.Orientation, poPortrait);
    EXPECT_FALSE(p.FixedCellsAlways);
    EXPECT_EQ(p.TitleLines()->Count(), 0);
    EXPECT_EQ(g->PrintPageFrom(), 1);
    EXPECT_EQ(g->PrintPageTo(), 1);
    EXPECT_EQ(g->PrintNrOfPages(), 0);
}

TEST_F(PrintSettingsTest, AssignCopiesByContentAndKeepsFixedCellsAlways)
{
    TPrintSettings src(g);
    src.Time = ppTopLeft;
    src.TitleText = QStringLiteral("Report");
    src.TitleLines()->Add(QStringLiteral("one"));
    src.Font()->SetName(QStringLiteral("Courier New"));
    src.Font()->SetSize(14);
    src.HeaderFont()->SetColor(clRed);
    src.FitToPage = fpCustom;
    src.UseDisplayFont = false;
    src.FixedCellsAlways = true;

    TPrintSettings &dst = *g->PrintSettings();
    TFont *ownFont = dst.Font();
    dst.Assign(&src);
    EXPECT_EQ(dst.Time, ppTopLeft);
    EXPECT_EQ(dst.TitleText, QStringLiteral("Report"));
    EXPECT_EQ(dst.TitleLines()->Text(), src.TitleLines()->Text());
    EXPECT_EQ(dst.FitToPage, fpCustom);
    EXPECT_FALSE(dst.UseDisplayFont);
    EXPECT_FALSE(dst.FixedCellsAlways);
    // The fonts stay the target's own objects, with the source's content.
    EXPECT_EQ(dst.Font(), ownFont);
    EXPECT_NE(dst.Font(), src.Font());
    EXPECT_EQ(dst.Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(dst.Font()->Size(), 14);
    EXPECT_EQ(dst.HeaderFont()->Color(), clRed);
    src.Font()->SetSize(20);
    EXPECT_EQ(dst.Font()->Size(), 14);
}

TEST_F(PrintSettingsTest, AssignFromAnotherClassRaisesAndChangesNothing)
{
    TFont other;
    g->PrintSettings()->LeftSize = 7;
    EXPECT_THROW(g->PrintSettings()->Assign(&other), EInvalidCast);
    EXPECT_EQ(g->PrintSettings()->LeftSize, 7);
}

TEST_F(PrintSettingsTest, PreviewPageSetsAOnePageRange)
{
    g->SetPreviewPage(3);
    EXPECT_EQ(g->PrintPageFrom(), 3);
    EXPECT_EQ(g->PrintPageTo(), 3);
    EXPECT_EQ(g->PreviewPage(), 3);
}

TEST_F(PrintSettingsTest, GridAssignCopiesThePrintSettings)
{
    TExtStringGrid other(form.get());
    other.PrintSettings()->JobName = QStringLiteral("Copies");
    other.PrintSettings()->FooterFont()->SetSize(16);
    g->Assign(&other);
    EXPECT_EQ(g->PrintSettings()->JobName, QStringLiteral("Copies"));
    EXPECT_EQ(g->PrintSettings()->FooterFont()->Size(), 16);
}

} // namespace
