// The grid's scroll messages (hints, live scrolling, the in-cell scroll bar), proportional thumbs
// and the metro scroll indicators.
#include "grid/core/ExtGrid.h"

#include "support/GuiTest.h"

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ScrollGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 700, 700);
        G = new TExtStringGrid(Form.get());
        G->SetParent(Form.get());
        G->SetBounds(0, 0, 600, 600);
        G->SetColCount(8);
        G->SetRowCount(100);
        Form->Show();
        GuiTest::ProcessEvents(20);
        for (int h = 300; h < 700 && G->VisibleRowCount() != 20; ++h)
            G->SetHeight(h);
        ASSERT_EQ(G->VisibleRowCount(), 20);
    }
    void TearDown() override { Form.reset(); }
    void Scroll(Cardinal Msg, int Code, int Pos) { G->Perform(Msg, MakeWParam(Code, Pos), 0); }
    std::unique_ptr<TForm> Form;
    TExtStringGrid *G = nullptr;
};

TEST_F(ScrollGrid, AThumbDragShowsTheTargetRowBesideThePointerUntilTheEnd)
{
    G->SetScrollHints(shVertical);
    THTMLHintWindow *hint = G->ScrollHintWindow();
    struct Case {
        int Pos;
        const char *Text;
    } cases[] = {{127, "Row : 80"}, {0, "Row : 1"}, {64, "Row : 41"}};
    for (const Case &c : cases) {
        Scroll(WM_VSCROLL, SB_THUMBTRACK, c.Pos);
        ASSERT_TRUE(hint->Showing()) << c.Pos;
        EXPECT_EQ(hint->Caption(), QString::fromLatin1(c.Text));
    }
    TPoint pt;
    GetCursorPos(pt);
    EXPECT_EQ(hint->Left(), pt.X + 10);
    EXPECT_EQ(hint->Color(), G->HintColor());
    Scroll(WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_FALSE(hint->Showing());

    // The other bar shows none.
    Scroll(WM_HSCROLL, SB_THUMBTRACK, 50);
    EXPECT_FALSE(hint->Showing());
    G->SetScrollHints(shHorizontal);
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 50);
    EXPECT_FALSE(hint->Showing());
    Scroll(WM_HSCROLL, SB_THUMBTRACK, 0);
    EXPECT_TRUE(hint->Showing());
    EXPECT_TRUE(hint->Caption().startsWith(QStringLiteral("Col : ")));
    Scroll(WM_HSCROLL, SB_ENDSCROLL, 0);
    EXPECT_FALSE(hint->Showing());

    // The application may word it.
    G->SetScrollHints(shBoth);
    G->OnScrollHint = [](TObject *, int ARow, UnicodeString &Text) { Text = QStringLiteral("to %1").arg(ARow); };
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 127);
    EXPECT_EQ(hint->Caption(), QStringLiteral("to 80"));
    Scroll(WM_VSCROLL, SB_ENDSCROLL, 0);
}

TEST_F(ScrollGrid, ScrollSynchFollowsTheThumbWhileItIsDragged)
{
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 64);
    EXPECT_EQ(G->TopRow(), 1); // the platform grid waits for the release
    G->SetScrollSynch(true);
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 64);
    EXPECT_EQ(G->TopRow(), 41);
    Scroll(WM_VSCROLL, SB_THUMBTRACK, 127);
    EXPECT_EQ(G->TopRow(), 80);
}

TEST_F(ScrollGrid, AnInCellScrollBarScrollsItsCellAndNotTheGrid)
{
    G->AddScrollBar(2, 3, false);
    G->SetScrollProp(2, 3, TScrollProp{10, 1000});
    G->SetScrollPosition(2, 3, 0);
    std::vector<std::array<int, 5>> fired;
    G->OnScrollCell = [&](TObject *, int C, int R, int P, int Min, int Max) { fired.push_back({C, R, P, Min, Max}); };
    const TRect cell = G->CellRect(2, 3);
    GuiTest::MouseMove(G, TPoint(cell.Left + 5, (cell.Top + cell.Bottom) / 2));
    GuiTest::ProcessEvents(10);
    TScrollBar *bar = G->CellScrollBar();
    ASSERT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Left(), cell.Right - 17 - G->GridLineWidth());
    EXPECT_EQ(bar->Max(), 1000);
    const int top = G->TopRow();

    // A click on the bar's lower arrow, then in its track below the thumb.
    GuiTest::Click(bar, TPoint(bar->Width() / 2, bar->Height() - 3));
    GuiTest::ProcessEvents(10);
    EXPECT_EQ(G->GetScrollPosition(2, 3), 10);
    G->Perform(WM_VSCROLL, MakeWParam(SB_PAGEDOWN, 0), reinterpret_cast<LPARAM>(bar->Handle()));
    EXPECT_EQ(G->GetScrollPosition(2, 3), 110);
    G->Perform(WM_VSCROLL, MakeWParam(SB_LINEUP, 0), reinterpret_cast<LPARAM>(bar->Handle()));
    EXPECT_EQ(G->GetScrollPosition(2, 3), 100);
    ASSERT_EQ(fired.size(), 3u);
    EXPECT_EQ(fired[0], (std::array<int, 5>{2, 3, 10, 0, 1000}));
    EXPECT_EQ(fired[2][2], 100);
    EXPECT_EQ(G->TopRow(), top);

    // At the top nothing moves and nothing fires.
    G->SetScrollPosition(2, 3, 0);
    bar->SetPosition(0);
    fired.clear();
    G->Perform(WM_VSCROLL, MakeWParam(SB_LINEUP, 0), reinterpret_cast<LPARAM>(bar->Handle()));
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(G->TopRow(), top);

    // Over another cell the bar goes away.
    const TRect other = G->CellRect(4, 5);
    GuiTest::MouseMove(G, TPoint(other.Left + 5, other.Top + 5));
    GuiTest::ProcessEvents(10);
    EXPECT_FALSE(bar->Visible());

    // A cell whose range the bar cannot take gets no bar (and nothing raises).
    G->AddScrollBar(2, 6, false);
    G->SetScrollProp(2, 6, TScrollProp{-5, -1});
    const TRect odd = G->CellRect(2, 6);
    GuiTest::MouseMove(G, TPoint(odd.Left + 5, odd.Top + 5));
    GuiTest::ProcessEvents(10);
    EXPECT_FALSE(bar->Visible());
}

TEST(ExtGridProportional, TheThumbShowsTheVisibleShare)
{
    using T = TExtStringGrid;
    struct Case {
        bool Horizontal;
        int Extent, Fixed, Total, Above, Current;
        bool Apply;
        int Max, Page, Pos;
    } cases[] = {
        {false, 120, 20, 1000, 0, 0, true, 141, 15, 0},       // e = 0.1
        {false, 120, 20, 1000, 440, 0, true, 141, 15, 64},    // halfway down
        {false, 1200, 20, 1000, 0, 5, false, 0, 0, 0},        // all rows show
        {false, 120, 20, 0, 0, 0, false, 0, 0, 0},            // no rows to scroll
        {true, 120, 20, 1000, 0, 9, true, 141, 15, 0},
        {true, 1017, 20, 1000, 0, 9, false, 0, 0, 0},         // overflow of 3 px
        {true, 120, 20, 0, 0, 9, false, 0, 0, 0},
    };
    for (const Case &c : cases) {
        const T::TProportionalThumb t = T::ProportionalThumb(c.Horizontal, c.Extent, c.Fixed, c.Total, c.Above, c.Current);
        SCOPED_TRACE(testing::Message() << c.Horizontal << " " << c.Extent << " " << c.Total << " " << c.Above);
        EXPECT_EQ(t.Apply, c.Apply);
        if (!c.Apply)
            continue;
        EXPECT_EQ(t.Max, c.Max);
        EXPECT_EQ(t.Page, c.Page);
        EXPECT_EQ(t.Pos, c.Pos);
    }
}

TEST_F(ScrollGrid, ProportionalThumbsLeaveAGridWhoseRowsAllShowAlone)
{
    G->SetRowCount(5);
    TGridScrollInfo before;
    G->GetScrollInfo(SB_VERT, before);
    G->SetScrollProportional(true);
    TGridScrollInfo after;
    G->GetScrollInfo(SB_VERT, after);
    EXPECT_EQ(after.nMax, before.nMax);
    EXPECT_EQ(after.nPage, before.nPage);

    G->SetRowCount(1000); // the thumb follows the new share by itself
    G->GetScrollInfo(SB_VERT, after);
    EXPECT_GT(after.nMax, 127);
    EXPECT_EQ(after.nPage, after.nMax - 126);
}

TEST_F(ScrollGrid, FlatAndEncartaLookLikeNormal)
{
    G->SetFlat(true); // the grid's flat look is no scroll bar setting
    for (TScrollType t : {ssFlat, ssEncarta, ssNormal}) {
        G->SetScrollType(t);
        EXPECT_FALSE(G->FlatScrollBarsBound());
        EXPECT_TRUE(G->Flat());
        EXPECT_EQ(G->ScrollBars(), ssBoth);
        EXPECT_EQ(G->VertScrollControl(), nullptr);
    }
}

TEST_F(ScrollGrid, MetroIndicatorsReplaceTheScrollBars)
{
    G->SetRowCount(1000);
    G->SetScrollType(ssMetro);
    TScrollControl *v = G->VertScrollControl();
    ASSERT_NE(v, nullptr);
    ASSERT_NE(G->HorzScrollControl(), nullptr);
    EXPECT_EQ(G->ScrollBars(), ssNone);
    GuiTest::ProcessEvents(20);

    // A 300 px track under the header row: the thumb takes its minimum.
    v->SetAlign(alNone);
    v->SetBounds(G->ClientWidth() - 6, 0, 6, 300 + G->RowHeights(0));
    ASSERT_EQ(G->VisibleRowCount() >= 10, true);
    int pos = 0, size = 0;
    ASSERT_TRUE(v->Thumb(pos, size));
    EXPECT_EQ(size, 20);
    EXPECT_EQ(pos, G->RowHeights(0));
    G->SetTopRow(G->RowCount() - G->VisibleRowCount());
    ASSERT_TRUE(v->Thumb(pos, size));
    EXPECT_LE(pos + size, v->Height());

    // A press after the thumb pages down, one before it pages up, a drag scrolls.
    G->SetTopRow(1);
    const int visible = G->VisibleRowCount();
    GuiTest::Click(v, TPoint(2, 200));
    EXPECT_EQ(G->TopRow(), 1 + visible);
    ASSERT_TRUE(v->Thumb(pos, size));
    GuiTest::Click(v, TPoint(2, pos - 1));
    EXPECT_EQ(G->TopRow(), 1);
    ASSERT_TRUE(v->Thumb(pos, size));
    GuiTest::MouseDown(v, TPoint(2, pos + 5));
    GuiTest::MouseMove(v, TPoint(2, pos + 35), TShiftState{ssLeft});
    GuiTest::MouseUp(v, TPoint(2, pos + 35));
    EXPECT_EQ(G->TopRow(), 1 + 100); // 30 px of 300 are a tenth of the rows

    // The grid shows through the indicator around its thumb.
    G->SetDefaultColWidth(100);
    G->SetColor(TColorOf(0x30C030u));
    v->SetColor(TColorOf(0x2020E0u));
    G->SetTopRow(1);
    ASSERT_TRUE(v->Thumb(pos, size));
    const int x = v->Left() + 2;
    EXPECT_EQ(GuiTest::PixelAt(G, x, v->Top() + pos + size / 2), ColorToRGB(TColorOf(0x2020E0u)));
    EXPECT_EQ(GuiTest::PixelAt(G, x, v->Top() + pos + size + 40), ColorToRGB(TColorOf(0x30C030u)));

    G->SetScrollType(ssNormal);
    EXPECT_EQ(G->VertScrollControl(), nullptr);
    EXPECT_EQ(G->ScrollBars(), ssBoth);
}

TEST_F(ScrollGrid, TheHeaderDragPictureIsABorderedPopUpWithTheCaption)
{
    THeaderDragButton b(nullptr);
    b.Grid = G;
    b.SetCaption(QStringLiteral("Name"));
    b.SetBounds(100, 100, 80, 24);
    b.HandleNeeded();
    b.SetVisible(true);
    GuiTest::ProcessEvents(20);
    ASSERT_TRUE(b.HandleAllocated());
    EXPECT_TRUE(GetWindowLong(b.Handle(), GWL_STYLE) & LPARAM(WS_POPUP));
    EXPECT_EQ(GuiTest::PixelAt(&b, 0, 10), ColorToRGB(clWindowFrame));
    EXPECT_EQ(GuiTest::PixelAt(&b, 79, 10), ColorToRGB(clWindowFrame));
    // The caption is drawn in the middle, not at the edge.
    int dark = 0;
    for (int x = 20; x < 60; ++x)
        dark += GuiTest::PixelAt(&b, x, 12) != GuiTest::PixelAt(&b, 5, 12);
    EXPECT_GT(dark, 0);
}

} // namespace
