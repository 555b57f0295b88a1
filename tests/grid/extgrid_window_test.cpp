// Beside the cell painting: balloon texts, the flat border, the focus frame and the design panel.
#include "grid/core/ExtGrid.h"

#include "platform/SysUtils.h"
#include "platform/WinGdi.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ExtGridWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(80, 60, 500, 300);
        Form->SetColor(TColorOf(0x00FF00u));
        G = new TExtStringGrid(Form.get());
        G->SetParent(Form.get());
        G->SetBounds(10, 10, 400, 200);
        Form->Show();
        GuiTest::ProcessEvents();
    }
    void TearDown() override
    {
        G->HideFocusWindow();
        Form.reset();
    }
    TPoint Centre(int DisplCol, int Row) const
    {
        const TRect r = G->CellRect(DisplCol, Row);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // The balloon's request for its text, with the pointer over a cell.
    NMTTDISPINFOW AskBalloon(TPoint At)
    {
        GuiTest::MouseMove(G, At);
        NMTTDISPINFOW info;
        info.hdr.code = TTN_GETDISPINFOW;
        G->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info;
    }
    static UnicodeString Text(const char16_t *P) { return P ? QString::fromUtf16(P) : QStringLiteral("<none>"); }

    std::unique_ptr<TForm> Form;
    TExtStringGrid *G = nullptr;
};

TEST_F(ExtGridWindow, BalloonTextRules)
{
    G->Balloon()->SetEnable(true);
    struct Case {
        const char *Name;
        UnicodeString Cell;
        UnicodeString Shown;
    };
    const UnicodeString long3000 = UnicodeString(3000, QLatin1Char('x'));
    const Case cases[] = {
        {"3000 characters", long3000, UnicodeString(2045, QLatin1Char('x')) + QStringLiteral("...")},
        {"leading line feeds", QStringLiteral("\n\nsecond line"), QStringLiteral("second line")},
        {"leading CR, LF and TAB, inner TAB", QStringLiteral("\r\n\tname\tvalue"), QStringLiteral("name value")},
        {"exactly 2048", UnicodeString(2048, QLatin1Char('y')), UnicodeString(2048, QLatin1Char('y'))},
        {"mini-HTML", QStringLiteral("a <b>bold</b> word"), QStringLiteral("a bold word")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        G->SetCells(2, 2, c.Cell);
        const NMTTDISPINFOW info = AskBalloon(Centre(2, 2));
        EXPECT_EQ(Text(info.lpszText), c.Shown);
        EXPECT_EQ(Text(info.lpszTitle), QStringLiteral(" "));
        EXPECT_EQ(info.Icon, TTI_INFO);
        EXPECT_EQ(info.MaxTipWidth, 300);
        EXPECT_EQ(G->LastBalloonPos(), TPoint(2, 2));
    }
}

TEST_F(ExtGridWindow, BalloonTitleIconAndColours)
{
    G->Balloon()->SetEnable(true);
    G->Balloon()->TextColor = TColorOf(0x0000FFu);
    int firedCol = -1;
    G->OnCellBalloon = [&](TObject *, int ACol, int ARow, UnicodeString &ATitle, UnicodeString &AText, int &AIcon) {
        firedCol = ACol;
        ATitle = UnicodeString(120, QLatin1Char('t'));
        AText = QStringLiteral("from the handler");
        AIcon = TTI_WARNING;
    };
    G->HideColumn(1);
    NMTTDISPINFOW info = AskBalloon(Centre(2, 1));
    EXPECT_EQ(firedCol, 3); // the real column
    EXPECT_EQ(Text(info.lpszTitle), UnicodeString(97, QLatin1Char('t')) + QStringLiteral("..."));
    EXPECT_EQ(Text(info.lpszText), QStringLiteral("from the handler"));
    EXPECT_EQ(info.Icon, TTI_WARNING);
    EXPECT_EQ(info.TipTextColor, 0x0000FFu);
    EXPECT_EQ(info.TipBkColor, 0xFFFFFFFFu); // clNone leaves the tool tip's own

    // Switched off, the grid answers nothing.
    G->Balloon()->SetEnable(false);
    info = AskBalloon(Centre(2, 2));
    EXPECT_EQ(info.lpszText, nullptr);
}

TEST_F(ExtGridWindow, DatePickerChangeReachesTheHandler)
{
    std::vector<double> got;
    G->OnDateTimeChange = [&](TObject *, int, int, double D) { got.push_back(D); };
    NMDATETIMECHANGE n;
    n.nmhdr.code = DTN_DATETIMECHANGE;
    n.st.wYear = 2024;
    n.st.wMonth = 2;
    n.st.wDay = 29;
    n.st.wHour = 12;
    G->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
    n.st.wDay = 0;
    G->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_DOUBLE_EQ(got[0], EncodeDate(2024, 2, 29) + 0.5);
    EXPECT_EQ(got[1], 0.0);
}

TEST_F(ExtGridWindow, BorderPixelsByLookFlatAndColour)
{
    const TColor border = TColorOf(0x0000FFu);
    const TColor parent = TColorOf(0x00FF00u);
    struct Case {
        TGridLook Look;
        bool Flat;
        TColor Border;
        bool Fit;
        bool Drawn;
    };
    const Case cases[] = {
        {glXP, false, border, true, true},      {glSoft, false, border, true, true},
        {glVista, false, border, true, true},   {glOffice2007, false, border, true, true},
        {glStandard, false, border, true, false}, {glClassic, false, border, true, false},
        {glXP, true, border, true, false},      {glXP, false, clNone, true, false},
        // Without fitting the ring needs the common controls 6, which are not here.
        {glXP, false, border, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.Look) << " flat " << c.Flat << " fit " << c.Fit);
        G->SetLook(c.Look);
        G->SetFlat(c.Flat);
        G->SetBorderColor(c.Border);
        G->SetFitCellsInGrid(c.Fit);
        GuiTest::ProcessEvents();
        // The ring runs round what the grid paints; a scroll bar lies outside it.
        const int w = G->ClientRect().Width(), h = G->ClientRect().Height();
        for (TPoint p : {TPoint(1, h / 2), TPoint(w / 2, 1), TPoint(w - 2, h / 2), TPoint(w / 2, h - 2)}) {
            if (c.Drawn)
                EXPECT_EQ(GuiTest::PixelAt(G, p.X, p.Y), ColorToRGB(border)) << p.X << "," << p.Y;
            else
                EXPECT_NE(GuiTest::PixelAt(G, p.X, p.Y), ColorToRGB(border)) << p.X << "," << p.Y;
        }
        if (c.Drawn) {
            for (TPoint p : {TPoint(0, h / 2), TPoint(w / 2, 0), TPoint(w - 1, h / 2), TPoint(w / 2, h - 1)})
                EXPECT_EQ(GuiTest::PixelAt(G, p.X, p.Y), ColorToRGB(parent)) << p.X << "," << p.Y;
        }
    }
    // Nothing while the updates are locked: the grid does not paint at all then.
    G->SetLook(glXP);
    G->SetFlat(false);
    G->SetBorderColor(border);
    G->SetFitCellsInGrid(true);
    G->BeginUpdate();
    GuiTest::ProcessEvents();
    G->EndUpdate();
}

TEST_F(ExtGridWindow, FocusFrameSurroundsTheCellAndFollowsTheForm)
{
    G->SetCol(2);
    G->SetRow(2);
    const TRect cell = G->CellRect(2, 2);
    G->ShowFocusWindow(cell);
    TGridFocusWindow *f = G->FocusWindow();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ExtGrid::FocusFrameGrid, G);
    const TPoint at = G->ClientToScreen(cell.TopLeft());
    EXPECT_EQ(f->Left(), at.X - 4);
    EXPECT_EQ(f->Top(), at.Y - 4);
    EXPECT_EQ(f->Width(), cell.Width() + 9);
    EXPECT_EQ(f->Height(), cell.Height() + 9);
    EXPECT_TRUE(GetWindowLong(f->Handle(), GWL_EXSTYLE) & LPARAM(WS_EX_LAYERED));

    // Only the ring belongs to the window; the cell inside stays clickable.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(f->Handle(), rgn), RGN_ERROR);
    EXPECT_TRUE(PtInRegion(rgn, 1, 1));
    EXPECT_TRUE(PtInRegion(rgn, f->Width() - 2, f->Height() - 2));
    EXPECT_FALSE(PtInRegion(rgn, 5, 5));
    EXPECT_FALSE(PtInRegion(rgn, 4 + cell.Width() / 2, 4 + cell.Height() / 2));
    EXPECT_TRUE(PtInRegion(rgn, 4 + cell.Width(), 4));
    DeleteObject(rgn);

    // The form moves: the frame goes with it.
    Form->SetBounds(Form->Left() + 30, Form->Top() + 20, Form->Width(), Form->Height());
    GuiTest::ProcessEvents();
    const TPoint moved = G->ClientToScreen(cell.TopLeft());
    ASSERT_NE(moved, at);
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return f->Left() == moved.X - 4 && f->Top() == moved.Y - 4; }, 1000));

    G->HideFocusWindow();
    EXPECT_EQ(ExtGrid::FocusFrameGrid, nullptr);
    EXPECT_FALSE(f->Visible());
}

TEST_F(ExtGridWindow, FocusFrameMask)
{
    // The mask of a 40 x 20 cell: opaque light blue on the ring, clear in the middle.
    TBitmap mask;
    MakeRoundRectMask(&mask, 49, 29, 4, 5, 3);
    TBitmap colour;
    colour.SetPixelFormat(TPixelFormat::pf24bit);
    colour.SetSize(49, 29);
    colour.Canvas()->Brush()->SetColor(TColorOf(0xFDD397u));
    colour.Canvas()->FillRect(TRect(0, 0, 49, 29));
    TGridAlphaMask alpha;
    alpha.MergeMask(&mask, &colour, TColorOf(0xFDD397u));
    alpha.SetOpacity(230);
    const TColor ring = alpha.Canvas()->Pixels(4, 14);
    const TColor middle = alpha.Canvas()->Pixels(24, 14);
    EXPECT_NE(ring, middle);
    EXPECT_EQ(alpha.Opacity(), 230);

    // A mask without pixels leaves the window alone.
    TGridAlphaMask empty;
    TExtStringGrid::ApplyAlphaMask(G->FocusWindow(), &empty);
    EXPECT_FALSE(GetWindowLong(G->FocusWindow()->Handle(), GWL_EXSTYLE) & LPARAM(WS_EX_LAYERED));
}

TEST_F(ExtGridWindow, DesignPanelHitTest)
{
    G->SetDesigning(true);
    TBitmap bmp;
    bmp.SetSize(10, 10);
    bmp.Canvas()->Font()->SetName(QStringLiteral("Tahoma"));
    bmp.Canvas()->Font()->SetSize(8);
    const int t = bmp.Canvas()->TextHeight(QStringLiteral("gh"));
    const int h = t + 2;
    const int p = 4 * t + 18;
    const TRect cr = G->ClientRect();
    const int r = cr.Right, b = cr.Bottom;
    struct Case {
        TPoint At;
        int Item;
    };
    const Case cases[] = {
        {{r - 8, b - p + 8}, 4},
        {{r - 145, b + h - p + 4 + h / 2}, 1},
        {{r - 145, b + 2 * h - p + 4 + h / 2}, 2},
        {{r - 145, b + 3 * h - p + 4 + h / 2}, 3},
        {{r - 160, b + h - p + 4 + h / 2}, -1},   // left of the panel
        {{r - 20, b + h - p + 4 + h / 2}, -1},    // right of "Allow edit"
        {{10, 10}, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(G->DesignHelperHitTest(c.At.X, c.At.Y), c.Item) << c.At.X << "," << c.At.Y;

    // The designer asks whether the grid takes a click there.
    for (const Case &c : cases) {
        const LRESULT took = G->Perform(CM_DESIGNHITTEST, 0, MakeLParam(c.At.X, c.At.Y));
        EXPECT_EQ(took, c.Item > 0 ? 1 : 0);
        EXPECT_EQ(G->LastDesignChoice(), c.Item);
    }

    // "Allow edit" toggles editing; the close item puts the panel away.
    const bool editing = G->Options().Contains(goEditing);
    G->DesignHelperClick(cases[1].At.X, cases[1].At.Y);
    EXPECT_NE(G->Options().Contains(goEditing), editing);
    G->DesignHelperClick(cases[0].At.X, cases[0].At.Y);
    EXPECT_FALSE(G->ShowDesignHelper());
    G->SetDesigning(false);
}

} // namespace
