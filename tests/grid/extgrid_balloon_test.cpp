// The cells' balloon tool tip window, the snapshot of a cell range, the search panel's layout
// from the footer settings, the platform style's colours and the grid's version text.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridButton.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Forms.h"
#include "platform/PlatformStyle.h"
#include "platform/ToolTips.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ServicesGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 300);
        g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 480, 260);
        g->SetColCount(5);
        g->SetRowCount(8);
        form->Show();
        GuiTest::ProcessEvents();
        tipsBefore = TToolTipWindow::LiveCount();
    }
    void TearDown() override { SetActivePlatformStyle({}); }
    TToolTipWindow *Tip() { return dynamic_cast<TToolTipWindow *>(TWinControl::FindControl(g->BalloonWindow())); }
    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
    int tipsBefore = 0;
};

TEST_F(ServicesGrid, BalloonWindowIsMadeOnceAndGoesWithEnable)
{
    g->Balloon()->InitialDelay = 300;
    g->Balloon()->SetEnable(true);
    ASSERT_NE(Tip(), nullptr);
    const HWND first = g->BalloonWindow();
    g->BalloonInit();
    EXPECT_EQ(g->BalloonWindow(), first);
    EXPECT_EQ(TToolTipWindow::LiveCount(), tipsBefore + 1);
    EXPECT_EQ(Tip()->Title(), "ToolTipText");
    EXPECT_EQ(Tip()->TitleIcon(), TTI_ERROR);
    EXPECT_EQ(Tip()->DelayTime(TTDT_INITIAL), 300);
    EXPECT_EQ(Tip()->DelayTime(TTDT_RESHOW), -1);
    EXPECT_EQ(Tip()->DelayTime(TTDT_AUTOPOP), -1);
    EXPECT_EQ(Tip()->Tool(), g);

    g->Balloon()->SetEnable(false);
    EXPECT_EQ(g->BalloonWindow(), nullptr);
    EXPECT_EQ(TToolTipWindow::LiveCount(), tipsBefore);
    g->Balloon()->SetEnable(true);
    EXPECT_EQ(TToolTipWindow::LiveCount(), tipsBefore + 1);
    // A removal after Enable went off by itself still takes the window away.
    const TNotifyEvent saved = g->Balloon()->OnEnableChange;
    g->Balloon()->OnEnableChange = nullptr;
    g->Balloon()->SetEnable(false);
    g->Balloon()->OnEnableChange = saved;
    g->BalloonDone();
    EXPECT_EQ(TToolTipWindow::LiveCount(), tipsBefore);
}

TEST_F(ServicesGrid, BalloonIsTranslucentAndShowsTheCellText)
{
    g->Balloon()->Transparency = 64;
    g->Balloon()->SetEnable(true);
    ASSERT_NE(Tip(), nullptr);
    Byte alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(g->BalloonWindow(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 191);
    EXPECT_TRUE(flags & LWA_ALPHA);
    EXPECT_TRUE(GetWindowLong(g->BalloonWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    g->SetCells(2, 3, QStringLiteral("seen in the balloon"));
    const TRect r = g->CellRect(2, 3);
    const TPoint at = g->ClientToScreen(TPoint(r.Left + 3, r.Top + 3));
    SetCursorPos(at.X, at.Y);
    ASSERT_TRUE(Tip()->Popup(at));
    EXPECT_EQ(Tip()->TipText(), "seen in the balloon");
}

QImage SnapshotImage(TForm *F)
{
    for (int i = 0; i < F->ControlCount(); ++i)
        if (auto *img = dynamic_cast<TImage *>(F->Controls(i)))
            if (TBitmap *b = img->Picture()->Bitmap())
                return b->ToImage();
    return {};
}

TEST_F(ServicesGrid, SnapshotOfAReversedRangeIsTheSameAndATranslucentTopmostForm)
{
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 8; ++r)
            g->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    g->SetColors(1, 2, TColorOf(0x00FF00u));
    TForm *a = g->SelectionToForm(TGridRect{2, 1, 1, 3});
    TForm *b = g->SelectionToForm(TGridRect{1, 1, 2, 3});
    const QImage ia = SnapshotImage(a), ib = SnapshotImage(b);
    ASSERT_FALSE(ia.isNull());
    EXPECT_EQ(ia, ib);
    const TRect from = g->CellRect(1, 1), to = g->CellRect(2, 3);
    EXPECT_EQ(ia.width(), to.Right - from.Left + 1);
    EXPECT_EQ(ia.height(), to.Bottom - from.Top + 1);
    EXPECT_EQ(a->Owner(), g);
    EXPECT_FALSE(a->Visible());
    EXPECT_EQ(a->BorderStyle(), bsNone);
    EXPECT_EQ(a->FormStyle(), fsStayOnTop);
    EXPECT_TRUE(a->AlphaBlend());
    EXPECT_EQ(a->AlphaBlendValue(), 192);
    EXPECT_TRUE(a->NoActivate());
    EXPECT_EQ(a->ClientWidth(), ia.width());
}

TEST_F(ServicesGrid, SearchPanelLaysItselfOutFromTheFooter)
{
    TSearchFooter *f = g->SearchFooter();
    TSearchPanel *p = g->SearchPanel();
    ASSERT_NE(p, nullptr);
    f->SetShowHighLight(false);
    f->SetVisible(true);
    EXPECT_EQ(p->Height(), 32);
    EXPECT_EQ(p->MatchCase()->Left(), 330);
    EXPECT_EQ(p->HighLightButton()->Height(), 0);
    EXPECT_EQ(p->ForwardButton()->Height(), 23);
    EXPECT_EQ(p->MatchCase()->Height(), 18);
    f->SetShowHighLight(true);
    EXPECT_EQ(p->MatchCase()->Left(), 425);
    EXPECT_EQ(p->HighLightButton()->Height(), 23);
    f->SetShowMatchCase(false);
    EXPECT_EQ(p->MatchCase()->Height(), 0);
    f->SetHintFindNext(QStringLiteral("next one"));
    EXPECT_TRUE(p->ForwardButton()->ShowHint());
    f->SetHintClose(QString());
    EXPECT_FALSE(p->ExitButton()->ShowHint());
    f->SetFindNextCaption(QStringLiteral("Onward"));
    EXPECT_EQ(p->ForwardButton()->Caption(), "Onward");
    f->SetVisible(false);
    EXPECT_EQ(p->Height(), 0);

    // AlwaysHighLight takes the highlights of the last search away.
    g->SetCells(1, 1, QStringLiteral("a cat"));
    g->HilightInGrid(false, false, QStringLiteral("cat"));
    ASSERT_NE(g->Cells(1, 1), "a cat");
    f->AlwaysHighLight = true;
    g->UpdateSearchPanel(f);
    EXPECT_EQ(g->Cells(1, 1), "a cat");
}

TEST_F(ServicesGrid, OnlyAStyleOtherThanWindowsRecoloursTheGrid)
{
    const TColor color = g->Color(), line = g->GridLineColor();
    g->ApplyPlatformStyle();
    EXPECT_EQ(g->Color(), color);
    TPlatformStyle s;
    s.Enabled = true;
    s.Name = QStringLiteral("Windows");
    s.CellFill = TColorOf(0x202020u);
    SetActivePlatformStyle(s);
    g->ApplyPlatformStyle();
    EXPECT_EQ(g->Color(), color);
    EXPECT_FALSE(g->IsPlatformStyled());

    s.Name = QStringLiteral("Carbon");
    s.CellBorder = TColorOf(0x404040u);
    s.FixedBorder = TColorOf(0x505050u);
    s.FixedText = TColorOf(0xF0F0F0u);
    SetActivePlatformStyle(s);
    g->SetOptions(g->Options() + TGridOptions{goFixedVertLine, goFixedHorzLine});
    const TColor fontColor = g->Font()->Color();
    g->ApplyPlatformStyle();
    EXPECT_TRUE(g->IsPlatformStyled());
    EXPECT_EQ(g->Color(), TColorOf(0x202020u));
    EXPECT_EQ(g->GridLineColor(), TColorOf(0x404040u));
    EXPECT_EQ(g->GridFixedLineColor(), TColorOf(0x505050u));
    EXPECT_FALSE(g->Options().Contains(goFixedVertLine));
    EXPECT_FALSE(g->Options().Contains(goFixedHorzLine));
    EXPECT_EQ(g->FixedFont()->Color(), TColorOf(0xF0F0F0u));
    // No text colour in the style: the font keeps its own.
    EXPECT_EQ(g->Font()->Color(), fontColor);
    EXPECT_NE(line, g->GridLineColor());
}

TEST_F(ServicesGrid, VersionText)
{
    EXPECT_EQ(g->GetVersionString(), "6.2.1.3 Sep, 2012");
}

} // namespace
