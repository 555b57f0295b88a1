// The combo box of the grid's combo editors: button width limits, the label at its thirteen
// places and following the combo, the flat look's colours, item selection without regard to
// case, the list closing, and the button drawn in its own colours over the platform's combo.
#include "grid/core/EsgComboBox.h"
#include "controls/ExtXPVS.h"
#include "platform/Forms.h"
#include "platform/UxTheme.h"
#include "platform/WinGdi.h"
#include "support/GuiTest.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

class EsgComboTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(10, 10, 400, 300);
        Form->SetColor(clWhite);
    }
    TEsgComboBox *Make(int Left = 150, int Top = 100, int Width = 120, int Height = 24)
    {
        auto *c = new TEsgComboBox(Form.get());
        c->SetParent(Form.get());
        c->SetBounds(Left, Top, Width, Height);
        return c;
    }
    // Shown with the focus on an edit of its own, so that no combo draws its focused look.
    void ShowForm()
    {
        auto *e = new TEdit(Form.get());
        e->SetParent(Form.get());
        e->SetBounds(300, 260, 60, 21);
        Form->Show();
        e->SetFocus();
        GuiTest::ProcessEvents();
        FocusEdit = e;
    }
    std::unique_ptr<TForm> Form;
    TEdit *FocusEdit = nullptr;
};

} // namespace

TEST_F(EsgComboTest, ButtonWidthTakesOnly14To32)
{
    TEsgComboBox *c = Make();
    EXPECT_EQ(c->ButtonWidth(), 19) << "the scroll bar's width and 2";
    struct Case {
        int Value;
        int Expected;
    } cases[] = {{13, 19}, {14, 14}, {33, 14}, {32, 32}, {0, 32}, {-5, 32}};
    for (const Case &k : cases) {
        c->SetButtonWidth(k.Value);
        EXPECT_EQ(c->ButtonWidth(), k.Expected) << k.Value;
    }
}

TEST_F(EsgComboTest, LabelTakesEachOfItsThirteenPlaces)
{
    TEsgComboBox *c = Make(150, 100, 120, 24);
    c->SetLabelMargin(4);
    c->SetLabelCaption(QStringLiteral("Baud &rate"));
    TLabel *l = c->ComboLabel();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->Parent(), Form.get());
    EXPECT_EQ(l->FocusControl(), c);
    const int h = l->Height(), lw = l->Width();
    // The width as drawn without the accelerator mark.
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(l->Font());
    TRect r(0, 0, 1000, 255);
    DrawText(measure.Canvas()->Handle(), l->Caption(), -1, &r, DT_CALCRECT | DT_HIDEPREFIX);
    const int w = r.Width();
    const int L = 150, T = 100, W = 120, H = 24, m = 4;
    struct Case {
        TLabelPosition Pos;
        int Top, Left;
    } cases[] = {
        {lpLeftTop, T, L - w - m},
        {lpLeftCenter, T + (H - h) / 2, L - w - m},
        {lpLeftBottom, T + H - h, L - w - m},
        {lpTopLeft, T - h - m, L},
        {lpBottomLeft, T + H + m, L},
        {lpLeftTopLeft, T, L - m},
        {lpLeftCenterLeft, T + (H - h) / 2, L - m},
        {lpLeftBottomLeft, T + H - h, L - m},
        {lpTopCenter, T - h - m, L + (W - lw) / 2},
        {lpBottomCenter, T + H + m, L + (W - lw) / 2},
        {lpRightTop, T, L + W + m},
        {lpRightCenter, T + (H - h) / 2, L + W + m},
        {lpRighBottom, T + H - h, L + W + m},
    };
    for (const Case &k : cases) {
        c->SetLabelPosition(k.Pos);
        EXPECT_EQ(l->Top(), k.Top) << "position " << k.Pos;
        EXPECT_EQ(l->Left(), k.Left) << "position " << k.Pos;
    }

    // The label follows the combo.
    c->SetLabelPosition(lpRightTop);
    c->SetBounds(20, 30, 100, 24);
    EXPECT_EQ(l->Left(), 20 + 100 + 4);
    EXPECT_EQ(l->Top(), 30);
}

TEST_F(EsgComboTest, TallLabelLeftCentredHangsAboveAndBelow)
{
    TEsgComboBox *c = Make(150, 100, 120, 21);
    c->SetParentFont(false); // the label font counts only then
    c->LabelFont()->SetHeight(-40);
    c->SetLabelPosition(lpLeftCenter);
    c->SetLabelCaption(QStringLiteral("Tall"));
    TLabel *l = c->ComboLabel();
    const int h = l->Height();
    ASSERT_GT(h, 21);
    // (21 - h) / 2 truncated toward zero, not rounded down.
    const int offset = (21 - h) / 2;
    EXPECT_EQ(l->Top(), 100 + offset);
    EXPECT_LT(l->Top(), 100) << "above the combo";
    EXPECT_GT(l->Top() + h, 100 + 21) << "and below it";
}

TEST_F(EsgComboTest, FlatTakesTheParentColourAndGivesBackTheLoadedOne)
{
    Form->SetColor(clYellow);
    TEsgComboBox *c = Make();
    EXPECT_EQ(c->Color(), clWindow);
    c->SetFlat(true);
    EXPECT_EQ(c->Color(), clYellow) << "FlatParentColor: the parent's colour";
    EXPECT_FALSE(c->Ctl3D());
    c->SetFlat(false);
    EXPECT_EQ(c->Color(), clWindow) << "the loaded colour back";
    EXPECT_TRUE(c->Ctl3D());

    // A colour read from the form is the loaded colour.
    c->BeginLoading();
    c->SetColor(clAqua);
    c->EndLoading();
    EXPECT_EQ(c->Color(), clAqua);
    c->SetFlat(true);
    c->SetFlat(false);
    EXPECT_EQ(c->Color(), clAqua);

    c->SetFlatParentColor(false);
    c->SetFlat(true);
    EXPECT_EQ(c->Color(), clAqua) << "without FlatParentColor the flat combo keeps its colour";
}

TEST_F(EsgComboTest, DisabledFlatComboShowsTheParentColourUntilEnabled)
{
    Form->SetColor(clYellow);
    TEsgComboBox *c = Make();
    c->SetFlatParentColor(false);
    c->SetFlat(true);
    c->SetColor(clAqua);
    c->SetEnabled(false);
    EXPECT_TRUE(c->ParentColor());
    EXPECT_EQ(c->Color(), clYellow);
    c->SetEnabled(true);
    EXPECT_FALSE(c->ParentColor());
    EXPECT_EQ(c->Color(), clAqua);

    TEsgComboBox *plain = Make(10, 10);
    plain->SetColor(clAqua);
    plain->SetEnabled(false);
    EXPECT_EQ(plain->Color(), clAqua) << "not flat: the colour stays";
}

TEST_F(EsgComboTest, VisibleAndEnabledReachTheLabel)
{
    TEsgComboBox *c = Make();
    c->SetLabelCaption(QStringLiteral("Port"));
    TLabel *l = c->ComboLabel();
    c->SetVisible(false);
    EXPECT_FALSE(l->Visible());
    c->SetVisible(true);
    EXPECT_TRUE(l->Visible());
    c->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
    c->SetEnabled(true);
    EXPECT_TRUE(l->Enabled());
    c->SetLabelAlwaysEnabled(true);
    c->SetEnabled(false);
    EXPECT_TRUE(l->Enabled()) << "LabelAlwaysEnabled";
    EXPECT_EQ(c->LabelCaption(), QStringLiteral("Port"));

    // The label goes with the combo, and a label freed on its own is forgotten.
    TEsgComboBox *other = Make(10, 10);
    other->SetLabelCaption(QStringLiteral("x"));
    delete other->ComboLabel();
    EXPECT_EQ(other->ComboLabel(), nullptr);
    EXPECT_EQ(other->LabelCaption(), QString());
    delete c;
}

TEST_F(EsgComboTest, SelectItemIgnoresCaseAndAMissKeepsTheSelection)
{
    TEsgComboBox *c = Make();
    c->SetStyle(csDropDownList);
    c->Items()->Add(QStringLiteral("None"));
    c->Items()->Add(QStringLiteral("Even"));
    c->Items()->Add(QStringLiteral("Odd"));
    c->SelectItem(QStringLiteral("eVEN"));
    EXPECT_EQ(c->ItemIndex(), 1);
    c->SelectItem(QStringLiteral("Mark"));
    EXPECT_EQ(c->ItemIndex(), 1);
    c->SelectItem(QStringLiteral("Eve"));
    EXPECT_EQ(c->ItemIndex(), 1) << "the whole text must match";
}

TEST_F(EsgComboTest, OnDropUpFiresWhenTheListCloses)
{
    TEsgComboBox *c = Make();
    c->Items()->Add(QStringLiteral("a"));
    int dropUps = 0;
    c->OnDropUp = [&](TObject *Sender) {
        EXPECT_EQ(Sender, c);
        ++dropUps;
    };
    ShowForm();
    c->SetDroppedDown(true);
    GuiTest::ProcessEvents();
    EXPECT_EQ(dropUps, 0);
    c->SetDroppedDown(false);
    GuiTest::ProcessEvents();
    EXPECT_EQ(dropUps, 1);
}

TEST_F(EsgComboTest, DropWidthReachesTheList)
{
    TEsgComboBox *c = Make();
    c->SetDropWidth(300);
    EXPECT_EQ(c->Perform(CB_GETDROPPEDWIDTH, 0, 0), 300);
    c->SetDropWidth(0);
    EXPECT_EQ(c->DropWidth(), 0);
    EXPECT_EQ(c->Perform(CB_GETDROPPEDWIDTH, 0, 0), 300) << "0 is not sent";
}

namespace {

QImage Picture(TWinControl *C)
{
    QImage img(C->Widget()->size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    C->Widget()->render(&img);
    return img;
}

TColorRef PixelOf(const QImage &Img, int X, int Y)
{
    const QRgb c = Img.pixel(X, Y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

} // namespace

TEST_F(EsgComboTest, ButtonColoursShowTheFillTheBorderLineAndTheArrow)
{
    TEsgComboBox *c = Make(10, 10, 120, 24);
    c->SetStyle(csDropDownList);
    ShowForm();
    const QImage platform = Picture(c);
    c->SetButtonColor(clNavy);
    c->SetButtonBorderColor(clRed);
    c->SetButtonTextColor(clYellow);
    GuiTest::ProcessEvents();
    const QImage own = Picture(c);

    const int bw = c->ButtonWidth();
    // The button: the window from ClientWidth - ButtonWidth + 2 shrunk by 1, then one less at
    // left, right and bottom and one more at the top.
    const int L = 120 - bw + 2 + 1 - 1, T = 0 + 1 + 1;
    EXPECT_EQ(PixelOf(own, L, 12), ColorToRGB(clRed)) << "the border line along the left edge";
    EXPECT_EQ(PixelOf(own, L + 2, T + 2), ColorToRGB(clNavy)) << "the fill";
    EXPECT_EQ(PixelOf(own, 120 - 4, 24 - 5), ColorToRGB(clNavy));
    EXPECT_EQ(PixelOf(own, L + 7, T + 8), ColorToRGB(clYellow)) << "inside the arrow";
    EXPECT_EQ(PixelOf(own, L + 4, T + 7), ColorToRGB(clYellow)) << "arrow corner";
    EXPECT_EQ(PixelOf(own, L + 10, T + 7), ColorToRGB(clYellow)) << "arrow corner";
    EXPECT_EQ(PixelOf(own, L + 7, T + 10), ColorToRGB(clYellow)) << "arrow tip";
    EXPECT_EQ(PixelOf(own, L + 7, T + 12), ColorToRGB(clNavy)) << "below the tip";
    // Left of the button the platform's drawing stays.
    EXPECT_EQ(PixelOf(own, 30, 12), PixelOf(platform, 30, 12));
}

TEST_F(EsgComboTest, WithoutColoursTheComboPaintsUnchangedAndBorderColourFramesIt)
{
    TEsgComboBox *c = Make(10, 10, 120, 24);
    TComboBox *peer = new TComboBox(Form.get());
    peer->SetParent(Form.get());
    peer->SetBounds(10, 60, 120, 24);
    ShowForm();
    const QImage mine = Picture(c), theirs = Picture(peer);
    EXPECT_EQ(mine, theirs) << "no colour and not flat: the platform's combo";

    c->SetBorderColor(clRed);
    GuiTest::ProcessEvents();
    const QImage framed = Picture(c);
    EXPECT_EQ(PixelOf(framed, 0, 12), ColorToRGB(clRed));
    EXPECT_EQ(PixelOf(framed, 60, 0), ColorToRGB(clRed));
    EXPECT_EQ(PixelOf(framed, 119, 12), ColorToRGB(clRed));
    EXPECT_EQ(PixelOf(framed, 60, 23), ColorToRGB(clRed));
}

TEST_F(EsgComboTest, FlatComboDrawsItsFrameInTheParentColourAndTheFlatLine)
{
    Form->SetColor(clYellow);
    TEsgComboBox *c = Make(10, 10, 120, 24);
    c->SetFlatParentColor(false);
    c->SetFlat(true);
    c->SetFlatLineColor(clRed);
    ShowForm();
    const QImage img = Picture(c);
    EXPECT_EQ(PixelOf(img, 0, 5), ColorToRGB(clYellow)) << "outer frame in the parent's colour";
    EXPECT_EQ(PixelOf(img, 1, 5), ColorToRGB(clYellow)) << "second frame in the parent's colour";
    EXPECT_EQ(PixelOf(img, 2, 5), ColorToRGB(c->Color())) << "inner frame in the combo's colour";
    EXPECT_EQ(PixelOf(img, 40, 23), ColorToRGB(clRed)) << "the flat line along the bottom row";
    EXPECT_EQ(PixelOf(img, 120 - c->ButtonWidth() + 2, 4), ColorToRGB(clBtnFace)) << "the flat button area";
}

TEST_F(EsgComboTest, FocusColourAndBoldLabelWhileFocused)
{
    TEsgComboBox *c = Make();
    c->SetColor(clAqua);
    c->Init();
    c->SetFocusColor(clYellow);
    c->SetFocusLabel(true);
    c->SetLabelCaption(QStringLiteral("Port"));
    ShowForm();
    c->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_EQ(c->Color(), clYellow);
    EXPECT_TRUE(c->ComboLabel()->Font()->Style().Contains(TFontStyle::fsBold));
    FocusEdit->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_EQ(c->Color(), clAqua) << "the normal colour back";
    EXPECT_FALSE(c->ComboLabel()->Font()->Style().Contains(TFontStyle::fsBold));

    // Without Init there is no normal colour to go back to.
    TEsgComboBox *d = Make(10, 10);
    d->SetFocusColor(clLime);
    d->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_EQ(d->Color(), clLime);
    FocusEdit->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_EQ(d->Color(), clLime);
}

TEST_F(EsgComboTest, ButtonTakesItsHotColourUnderThePointer)
{
    TEsgComboBox *c = Make(10, 10, 120, 24);
    c->SetStyle(csDropDownList);
    c->SetButtonColor(clNavy);
    c->SetButtonColorHot(clGreen);
    c->SetButtonColorDown(clMaroon);
    ShowForm();
    const TPoint fill{120 - 4, 24 - 5};
    GuiTest::MouseMove(c, {120 - 5, 12});
    EXPECT_EQ(PixelOf(Picture(c), fill.X, fill.Y), ColorToRGB(clGreen)) << "hovering over the button";
    GuiTest::MouseMove(c, {30, 12});
    EXPECT_EQ(PixelOf(Picture(c), fill.X, fill.Y), ColorToRGB(clNavy)) << "elsewhere over the combo";
}

TEST_F(EsgComboTest, AutoFocusTakesTheFocusWhenThePointerEnters)
{
    TEsgComboBox *plain = Make(10, 50);
    TEsgComboBox *c = Make(10, 10);
    c->SetAutoFocus(true);
    ShowForm();
    ASSERT_TRUE(FocusEdit->Focused());
    GuiTest::MouseMove(plain, {30, 10});
    GuiTest::ProcessEvents();
    EXPECT_TRUE(FocusEdit->Focused()) << "without AutoFocus the pointer takes nothing";
    GuiTest::MouseMove(c, {30, 10});
    GuiTest::ProcessEvents();
    EXPECT_TRUE(c->Focused());
}

TEST_F(EsgComboTest, ThemedButtonDrawsTheDropDownPartInItsState)
{
    TRecordingThemeProvider provider;
    TThemeProvider *previous = SetThemeProvider(&provider);
    ExtXPVS::Unbind();
    ExtXPVS::Bind();
    TEsgComboBox *c = Make(10, 10, 120, 24);
    c->SetStyle(csDropDownList);
    c->SetBorderColor(clRed); // our own painting takes part
    ShowForm();
    auto lastState = [&] {
        provider.Entries.clear();
        Picture(c);
        EXPECT_EQ(provider.Entries.size(), 1u);
        if (provider.Entries.empty())
            return -1;
        EXPECT_EQ(provider.Entries[0].ClassName, QStringLiteral("combobox"));
        EXPECT_EQ(provider.Entries[0].Part, CP_DROPDOWNBUTTON);
        EXPECT_EQ(provider.Entries[0].Rect, Rect(120 - c->ButtonWidth() + 3, 1, 119, 23));
        return provider.Entries[0].State;
    };
    EXPECT_EQ(lastState(), CBXS_NORMAL);
    GuiTest::MouseMove(c, {120 - 5, 12});
    EXPECT_EQ(lastState(), CBXS_HOT);
    GuiTest::MouseMove(c, {30, 12});
    c->SetEnabled(false);
    EXPECT_EQ(lastState(), CBXS_DISABLED);
    EXPECT_EQ(provider.OpenCount(), 0);

    // A button colour draws the button itself.
    c->SetEnabled(true);
    c->SetButtonColor(clNavy);
    provider.Entries.clear();
    Picture(c);
    EXPECT_TRUE(provider.Entries.empty());

    ExtXPVS::Unbind();
    SetThemeProvider(previous);
}
