// The item selector on a shown form: its layout of colour and image cells, selecting and making
// items hot by mouse and by the drop-downs' operations, the type-ahead lookup and the scrolling
// of a long list.
#include "dropdowns/ExtItemSelector.h"
#include "platform/SysUtils.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ItemSelectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 400, 300);
        Sel = new TExtCustomItemSelector(Form.get());
        Sel->SetParent(Form.get());
        Sel->SetBounds(10, 10, 200, 200);
        Sel->OnItemSelect = [this](TObject *) { ++Selects; };
        Form->Show();
        GuiTest::ProcessEvents();
    }
    void TearDown() override { Form.reset(); }

    void AddColours(int N)
    {
        Sel->SetSelectorType(stColor);
        for (int i = 0; i < N; ++i)
            Sel->Items()->Add()->SetColor(TColor(0x101010 * i));
    }
    TCustomItemSelector *Panel() const { return Sel->ItemSelectorPanel(); }
    TPoint CentreOf(int Index) const
    {
        const TRect r = Sel->Items()->Items(Index)->Rect;
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }

    std::unique_ptr<TForm> Form;
    TExtCustomItemSelector *Sel = nullptr;
    int Selects = 0;
};

} // namespace

TEST_F(ItemSelectorTest, EmptySelectorHasTheDefaultPanelAndNoVisibleItems)
{
    TSize s;
    Sel->GetPanelSize(s);
    EXPECT_EQ(s.cx, 100);
    EXPECT_EQ(s.cy, 50);
    EXPECT_EQ(Sel->ItemIndex(), -1);
    EXPECT_EQ(Sel->ItemHot(), -1);
    EXPECT_EQ(Sel->GetVisibleItemCount(), 0);
}

TEST_F(ItemSelectorTest, ColourCellsFillRowsOfColumnsAndZeroColumnsIsIgnored)
{
    AddColours(9);
    Sel->SetColumns(4);
    Sel->SetColumns(0);
    Sel->SetColumns(-2);
    EXPECT_EQ(Sel->Columns(), 4);
    EXPECT_EQ(Sel->Items()->Items(0)->Rect, TRect(2, 2, 24, 24));
    EXPECT_EQ(Sel->Items()->Items(5)->Rect, TRect(24, 24, 46, 46));
    EXPECT_EQ(Sel->Items()->Items(8)->Rect, TRect(2, 46, 24, 68));
    EXPECT_EQ(Panel()->Width(), 92);
    EXPECT_EQ(Panel()->Height(), 70);
    EXPECT_EQ(Sel->GetVisibleItemCount(), 200 / 22 * 4);

    // The colour box is drawn inside its cell with a black frame.
    Sel->Items()->Items(1)->SetColor(0x0000FF);
    GuiTest::ProcessEvents();
    const TRect r = Sel->Items()->Items(1)->Rect;
    EXPECT_EQ(GuiTest::PixelAt(Sel, r.Left + 4, r.Top + 4), 0u) << "frame";
    EXPECT_EQ(GuiTest::PixelAt(Sel, r.Left + 10, r.Top + 10), 0x0000FFu) << "fill";
}

TEST_F(ItemSelectorTest, DisabledItemIsNeverHotOrSelectedAndStopsSelectNext)
{
    AddColours(4);
    Sel->Items()->Items(2)->Enabled = false;
    GuiTest::MouseMove(Panel(), CentreOf(2));
    EXPECT_EQ(Sel->ItemHot(), -1);
    GuiTest::Click(Panel(), CentreOf(2));
    EXPECT_EQ(Sel->ItemIndex(), -1);
    EXPECT_EQ(Selects, 0);

    GuiTest::MouseMove(Panel(), CentreOf(1));
    EXPECT_EQ(Sel->ItemHot(), 1);
    GuiTest::Click(Panel(), CentreOf(1));
    EXPECT_EQ(Sel->ItemIndex(), 1);
    EXPECT_EQ(Selects, 1);
    Sel->SelectNext();
    EXPECT_EQ(Sel->ItemIndex(), 1) << "the step onto item 2 is refused";
    EXPECT_EQ(Selects, 1);

    GuiTest::Click(Panel(), CentreOf(1));
    EXPECT_EQ(Selects, 2) << "selecting the selected item reports again";

    Sel->SetItemIndex(4);
    Sel->SetItemIndex(99);
    EXPECT_EQ(Sel->ItemIndex(), 1) << "an index past the items is no item";
    EXPECT_EQ(Selects, 2);
    Sel->SetItemIndex(-1);
    EXPECT_EQ(Sel->ItemIndex(), -1);
    Sel->SelectPrevious();
    EXPECT_EQ(Sel->ItemIndex(), 0);
    Sel->HotNext();
    Sel->HotNext();
    EXPECT_EQ(Sel->ItemHot(), 1) << "hot moves from item 1 only onto enabled items";
}

TEST_F(ItemSelectorTest, LookupMatchesPlainTrimmedUpperCasedCaptions)
{
    for (const char *c : {"<b>Red</b>", " Green", "Blue"})
        Sel->Items()->Add()->SetCaption(QString::fromLatin1(c));
    Sel->Items()->Items(2)->Enabled = false;
    EXPECT_TRUE(Sel->LookupItem(QStringLiteral("RE")));
    EXPECT_EQ(Sel->ItemIndex(), 0);
    EXPECT_TRUE(Sel->LookupItem(QStringLiteral("GR")));
    EXPECT_EQ(Sel->ItemIndex(), 1);
    EXPECT_TRUE(Sel->LookupItem(QStringLiteral("BL"))) << "a disabled match still answers true";
    EXPECT_EQ(Sel->ItemIndex(), 1);
    EXPECT_FALSE(Sel->LookupItem(QStringLiteral("re"))) << "the callers upper-case the search";
}

TEST_F(ItemSelectorTest, CaptionBelowAnImageStartsAfterTheImageAndTheGap)
{
    Sel->SetItemLayout(ilCaptionBottom);
    TBitmap bmp(16, 32);
    bmp.Canvas()->Brush()->SetColor(0x00FF00);
    bmp.Canvas()->FillRect(TRect(0, 0, 16, 32));
    TSelectorItem *item = Sel->Items()->Add();
    item->Image()->SetBitmap(&bmp);
    item->SetCaption(QStringLiteral("Wxyz"));
    Sel->UpdateSelectorPanel();
    GuiTest::ProcessEvents();
    const TRect r = item->Rect;
    const int imageTop = r.Top + Panel()->ItemOffSetY;
    const int x = r.Left + (r.Width() - 16) / 2;
    EXPECT_EQ(GuiTest::PixelAt(Sel, x + 2, imageTop), 0x00FF00u);
    EXPECT_EQ(GuiTest::PixelAt(Sel, x + 2, imageTop + 31), 0x00FF00u);
    int firstText = -1;
    for (int y = imageTop + 32; y < r.Bottom && firstText < 0; ++y)
        for (int X = r.Left; X < r.Right; ++X)
            if (GuiTest::PixelAt(Sel, X, y) != ColorToRGB(clWindow)) {
                firstText = y;
                break;
            }
    ASSERT_GE(firstText, imageTop + 36) << "the caption starts 32 + 4 pixels below the image top";
    EXPECT_LT(firstText, imageTop + 36 + 8);
}

TEST_F(ItemSelectorTest, HotBorderColourGivesAPlainFramedGradient)
{
    AddColours(2);
    Sel->ItemAppearance()->BorderColorHot = 0x0000FF;
    GuiTest::MouseMove(Panel(), CentreOf(0));
    GuiTest::ProcessEvents();
    const TRect r = Sel->Items()->Items(0)->Rect;
    EXPECT_EQ(GuiTest::PixelAt(Sel, r.Left, r.Top + 10), 0x0000FFu);
    EXPECT_EQ(GuiTest::PixelAt(Sel, r.Right - 1, r.Top + 10), 0x0000FFu);
    const TColorRef top = GuiTest::PixelAt(Sel, r.Left + 1, r.Top + 1);
    const TColorRef bottom = GuiTest::PixelAt(Sel, r.Left + 1, r.Bottom - 2);
    EXPECT_NE(top, bottom) << "a vertical gradient";
    EXPECT_NE(top, ColorToRGB(clWindow));
    GuiTest::LeaveWindow(Panel());
    EXPECT_EQ(Sel->ItemHot(), -1);
}

TEST_F(ItemSelectorTest, PanelNeedsASelectorOwnerAndZeroHighItemsShowNone)
{
    try {
        TCustomItemSelector p(Form.get());
        FAIL() << "no exception";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid parent"));
    }
    Sel->OnItemSize = [](TObject *, TSize &S) { S = {50, 0}; };
    AddColours(3);
    EXPECT_EQ(Sel->GetVisibleItemCount(), 0);
}

TEST_F(ItemSelectorTest, LongListScrollsTheSelectionIntoViewAndFollowsTheThumb)
{
    Sel->SetHeight(100);
    AddColours(20);
    ASSERT_TRUE(Sel->VertScrollBar()->IsScrollBarVisible());
    Sel->SetItemIndex(10);
    const TRect r = Sel->Items()->Items(10)->Rect;
    EXPECT_EQ(Sel->VertScrollBar()->Position(), r.Bottom - Sel->ClientHeight());
    EXPECT_EQ(Panel()->Top(), -Sel->VertScrollBar()->Position());
    Sel->SelectFirst();
    EXPECT_EQ(Panel()->Top() + Sel->Items()->Items(0)->Rect.Top, 0) << "item 0's top edge at the top";
    Sel->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 40), 0);
    EXPECT_EQ(Sel->VertScrollBar()->Position(), 40);
    EXPECT_EQ(Panel()->Top(), -40);
    EXPECT_EQ(Sel->Perform(WM_GETDLGCODE, 0, 0), 5);
}

TEST(ItemAppearance, StylesLoadTheirTablesAndAssignKeepsTheSourceLook)
{
    TItemAppearance a;
    EXPECT_EQ(a.ColorStyle(), scOffice2007);
    EXPECT_EQ(a.ColorHot, TColor(0xD7FFFD));
    EXPECT_EQ(a.Font()->Name(), QStringLiteral("Tahoma"));
    a.SetColorStyle(scWindows7);
    EXPECT_EQ(a.ColorSelectedTo, TColor(0xFBCAA2));
    EXPECT_EQ(a.ColorMirrorHot, clNone);
    TItemAppearance b;
    b.ColorSelectedText = 0x123456;
    b.Assign(&a);
    EXPECT_EQ(b.ColorStyle(), scWindows7);
    EXPECT_EQ(b.ColorHotTo, TColor(0xFCDBC1));
    EXPECT_EQ(b.ColorSelectedText, 0);

    SetItemAppearanceStyle(&a, tsWindowsXP);
    EXPECT_EQ(a.ColorSelected, clHighlight);
    EXPECT_EQ(a.ColorSelectedText, clHighlightText);
    SetItemAppearanceStyle(&a, tsOffice2007Luna);
    EXPECT_EQ(a.BorderColorTop, TColor(0xF4FEFF));
    EXPECT_EQ(a.ColorSelectedText, clBlack);
    a.BorderColorHot = 0x11;
    SetItemAppearanceStyle(&a, tsCustom);
    EXPECT_EQ(a.BorderColorHot, TColor(0x11));
    SetItemAppearanceStyle(nullptr, tsOffice2007Luna);
}
