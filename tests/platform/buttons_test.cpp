// The speed button driven by the mouse (press, drag off and back, release, groups), its classic
// and flat faces; and the pieces the button edits and the combo stand on: the edit's alignment
// and formatting rectangle, child controls inside an edit, the frame paint over a wrapped
// widget, the combo's dropped-down width and the stored 3-D flags.
#include "platform/Buttons.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/WinGdi.h"
#include "support/GuiTest.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ButtonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(10, 10, 300, 200);
        Form->SetColor(clWhite);
    }
    TSpeedButton *MakeButton(int Left, int Top)
    {
        auto *b = new TSpeedButton(Form.get());
        b->SetParent(Form.get());
        b->SetBounds(Left, Top, 40, 30);
        b->OnClick = [this](TObject *) { ++Clicks; };
        return b;
    }
    void ShowForm()
    {
        Form->Show();
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> Form;
    int Clicks = 0;
};

// Reads the paint state from outside: the pushed face has its light edge at the bottom right.
TColorRef Px(TForm *F, int X, int Y) { return GuiTest::PixelAt(F, X, Y); }

} // namespace

TEST_F(ButtonsTest, ReleaseInsideClicksAndReleaseOutsideDoesNot)
{
    TSpeedButton *b = MakeButton(10, 10);
    ShowForm();
    GuiTest::Click(b);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(b->Down()) << "a button outside a group never stays down";

    // Pressed, dragged off and released there: no click.
    GuiTest::MouseDown(b, {5, 5});
    GuiTest::MouseMove(b, {80, 80}, {ssLeft});
    GuiTest::MouseUp(b, {80, 80});
    EXPECT_EQ(Clicks, 1);

    // Dragged off and back before the release: a click.
    GuiTest::MouseDown(b, {5, 5});
    GuiTest::MouseMove(b, {80, 80}, {ssLeft});
    GuiTest::MouseMove(b, {6, 6}, {ssLeft});
    GuiTest::MouseUp(b, {6, 6});
    EXPECT_EQ(Clicks, 2);

    b->SetEnabled(false);
    GuiTest::Click(b);
    EXPECT_EQ(Clicks, 2) << "a disabled button does not click";
}

TEST_F(ButtonsTest, GroupButtonsStayDownOneAtATime)
{
    TSpeedButton *a = MakeButton(10, 10);
    TSpeedButton *b = MakeButton(60, 10);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    ShowForm();

    GuiTest::Click(a);
    EXPECT_TRUE(a->Down());
    GuiTest::Click(b);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down()) << "the other button of the group goes up";
    GuiTest::Click(b);
    EXPECT_TRUE(b->Down()) << "without AllowAllUp the last one stays down";

    b->SetAllowAllUp(true);
    GuiTest::Click(b);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Clicks, 4);

    TSpeedButton *loose = MakeButton(110, 10);
    loose->SetDown(true);
    EXPECT_FALSE(loose->Down()) << "Down needs a group";
}

TEST_F(ButtonsTest, ClassicFaceIsPushedWhilePressedAndFlatFaceShowsItsEdgeOnlyWhenHot)
{
    TSpeedButton *b = MakeButton(10, 10);
    ShowForm();
    // The classic push-button frame as the platform draws it, raised and pushed.
    TBitmap raised(40, 30), pushed(40, 30);
    TRect r(0, 0, 40, 30);
    DrawFrameControl(raised.Canvas()->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH);
    r = Rect(0, 0, 40, 30);
    DrawFrameControl(pushed.Canvas()->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    const TColorRef light = ColorToRGB(raised.Canvas()->Pixels(0, 0));
    ASSERT_NE(light, ColorToRGB(pushed.Canvas()->Pixels(0, 0)));
    EXPECT_EQ(Px(Form.get(), 10, 10), light) << "raised";
    EXPECT_EQ(Px(Form.get(), 49, 39), ColorToRGB(raised.Canvas()->Pixels(39, 29)));
    GuiTest::MouseDown(b, {5, 5});
    EXPECT_EQ(Px(Form.get(), 10, 10), ColorToRGB(pushed.Canvas()->Pixels(0, 0))) << "pushed while held";
    GuiTest::MouseUp(b, {5, 5});
    EXPECT_EQ(Px(Form.get(), 10, 10), light);

    // A group button released off itself, with no move between, comes up again.
    b->SetGroupIndex(3);
    GuiTest::MouseDown(b, {5, 5});
    GuiTest::MouseUp(b, {100, 100});
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Px(Form.get(), 10, 10), light);
    b->SetGroupIndex(0);

    b->SetFlat(true);
    GuiTest::ProcessEvents();
    EXPECT_EQ(Px(Form.get(), 10, 10), RGB(255, 255, 255)) << "flat and cold: the form shows through";
    GuiTest::MouseMove(b, {5, 5});
    EXPECT_TRUE(b->MouseInControl());
    EXPECT_EQ(Px(Form.get(), 10, 10), ColorToRGB(clBtnHighlight)) << "flat and hot: a raised edge";
}

TEST_F(ButtonsTest, GlyphFrameFollowsTheState)
{
    TSpeedButton *b = MakeButton(10, 10);
    TBitmap strip(20, 10);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(0, 0, 10, 10));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(10, 0, 20, 10));
    strip.Canvas()->SetPixel(0, 9, clFuchsia);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->NumGlyphs(), 2) << "a strip of two squares holds two frames";
    ShowForm();
    // Inside the frame (2 pixels), centred: x 15..24, y 15..24.
    EXPECT_EQ(Px(Form.get(), 10 + 20, 10 + 18), RGB(255, 0, 0)) << "up: the first frame";
    b->SetEnabled(false);
    GuiTest::ProcessEvents();
    EXPECT_EQ(Px(Form.get(), 10 + 20, 10 + 18), RGB(0, 0, 255)) << "disabled: the second frame";
}

TEST_F(ButtonsTest, EditKeepsItsTextInsideTheFormattingRectangle)
{
    auto *e = new TEdit(Form.get());
    e->SetParent(Form.get());
    e->SetBounds(10, 10, 150, 24);
    ShowForm();
    EXPECT_EQ(e->FormattingRect(), e->ClientRect()) << "no rectangle: the whole window";
    TRect r(3, 3, 100, 25);
    e->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
    TRect back;
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back, r);
    auto *line = static_cast<QLineEdit *>(e->Widget());
    const int frame = line->hasFrame() ? line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, line) : 0;
    EXPECT_EQ(line->textMargins().right(), 150 - frame - 100);
    EXPECT_EQ(line->textMargins().left(), std::max(0, 3 - frame));

    e->SetWidth(200);
    EXPECT_EQ(line->textMargins().right(), 200 - frame - 100) << "the rectangle stays where it was set";

    e->SetAlignment(taRightJustify);
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
    e->RecreateWnd();
    line = static_cast<QLineEdit *>(e->Widget());
    EXPECT_TRUE(line->alignment() & Qt::AlignRight) << "a new window takes the alignment";
    EXPECT_EQ(line->textMargins().right(), 200 - frame - 100) << "and the rectangle";
}

namespace {

// A child control inside an edit, and an edit that draws over what Qt painted.
class TMarkedEdit : public TEdit {
public:
    explicit TMarkedEdit(TComponent *AOwner) : TEdit(AOwner) {}
    int FramePaints = 0;

protected:
    void WMNCPaint(TWMNCPaint &Message) override
    {
        TEdit::WMNCPaint(Message);
        if (!Message.DC)
            return;
        ++FramePaints;
        Message.DC->Brush()->SetColor(clRed);
        Message.DC->FillRect(Rect(Width() - 6, 0, Width(), Height()));
    }
};

class TPanelChild : public TCustomControl {
public:
    explicit TPanelChild(TComponent *AOwner) : TCustomControl(AOwner) {}

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(ClientRect());
    }
};

} // namespace

TEST_F(ButtonsTest, WrappedWidgetGetsTheFramePaintAfterQtAndChildrenLiveInsideTheEdit)
{
    auto *e = new TMarkedEdit(Form.get());
    e->SetParent(Form.get());
    e->SetBounds(10, 10, 150, 24);
    auto *child = new TPanelChild(Form.get());
    child->SetParent(e);
    child->SetBounds(100, 4, 20, 16);
    ShowForm();
    EXPECT_EQ(GuiTest::PixelAt(e, 147, 12), RGB(255, 0, 0)) << "drawn over Qt's painting";
    EXPECT_EQ(GuiTest::PixelAt(e, 110, 12), RGB(0, 255, 0)) << "the child control inside the edit's window";
    EXPECT_GT(e->FramePaints, 0);
    EXPECT_EQ(child->Widget()->parentWidget(), e->Widget());

    // A frame redraw request is an invalidate, not a paint now.
    const int before = e->FramePaints;
    e->Perform(WM_NCPAINT, 1, 0);
    EXPECT_EQ(e->FramePaints, before);
    GuiTest::WaitUntil([&] { return e->FramePaints > before; }, 1000);
    EXPECT_GT(e->FramePaints, before);
}

TEST_F(ButtonsTest, ComboDroppedWidthReachesTheListAndCtl3DFollowsTheParent)
{
    auto *c = new TComboBox(Form.get());
    c->SetParent(Form.get());
    c->SetBounds(10, 10, 100, 21);
    c->Perform(CB_SETDROPPEDWIDTH, 250, 0);
    EXPECT_EQ(c->Perform(CB_GETDROPPEDWIDTH, 0, 0), 250);
    ShowForm();
    auto *q = static_cast<QComboBox *>(c->Widget());
    EXPECT_EQ(q->view()->minimumWidth(), 250) << "kept until the window exists";
    c->SetDroppedWidth(0);
    EXPECT_EQ(c->Perform(CB_GETDROPPEDWIDTH, 0, 0), 100) << "0: the box's own width";

    EXPECT_TRUE(c->Ctl3D()) << "on by default";
    EXPECT_TRUE(c->ParentCtl3D());
    Form->SetCtl3D(false);
    EXPECT_FALSE(c->Ctl3D()) << "the parent's answer counts";
    c->SetCtl3D(true);
    EXPECT_TRUE(c->Ctl3D());
    EXPECT_FALSE(c->ParentCtl3D()) << "a value of its own ends the following";
}

TEST_F(ButtonsTest, PointerOverAWrappedWidgetStaysWithItsControl)
{
    auto *c = new TComboBox(Form.get());
    c->SetParent(Form.get());
    c->SetBounds(10, 10, 100, 21);
    c->SetStyle(csDropDownList);
    int leaves = 0;
    c->OnMouseLeave = [&](TObject *) { ++leaves; };
    ShowForm();
    // The combo's widget ignores a plain move; the form's window must not take it for its own.
    GuiTest::MouseMove(c, {50, 10});
    EXPECT_EQ(GetMouseControl(), c);
    GuiTest::MouseMove(c, {60, 10});
    EXPECT_EQ(GetMouseControl(), c);
    EXPECT_EQ(leaves, 0);
}

namespace {

// Bounding box of the pixels of one colour in a rendered window.
TRect InkOf(TWinControl *W, TColorRef Colour, const TRect &Area)
{
    QImage img(W->Widget()->size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    W->Widget()->render(&img);
    TRect box(1 << 20, 1 << 20, -1, -1);
    for (int y = Area.Top; y < Area.Bottom; ++y)
        for (int x = Area.Left; x < Area.Right; ++x) {
            const QRgb c = img.pixel(x, y);
            if (RGB(qRed(c), qGreen(c), qBlue(c)) == Colour) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
        }
    return box;
}

} // namespace

TEST_F(ButtonsTest, LayoutPlacesTheGlyphBesideTheCaptionAndMarginFromTheEdge)
{
    TSpeedButton *b = MakeButton(0, 0);
    b->SetBounds(0, 0, 60, 44);
    b->SetFlat(true);
    b->Font()->SetColor(clBlue);
    b->SetCaption(QStringLiteral("W"));
    TBitmap glyph(8, 8);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(0, 0, 8, 8));
    glyph.Canvas()->SetPixel(0, 7, clFuchsia); // the transparent colour
    b->SetGlyph(&glyph);
    ShowForm();
    const TRect area(0, 0, 60, 44);
    const TColorRef red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    struct Case {
        TButtonLayout Layout;
        bool GlyphFirst;
        bool Horizontal;
    } cases[] = {{blGlyphLeft, true, true}, {blGlyphRight, false, true}, {blGlyphTop, true, false}, {blGlyphBottom, false, false}};
    for (const Case &c : cases) {
        b->SetLayout(c.Layout);
        GuiTest::ProcessEvents();
        const TRect g = InkOf(Form.get(), red, area);
        const TRect t = InkOf(Form.get(), blue, area);
        ASSERT_GT(g.Right, 0) << c.Layout;
        ASSERT_GT(t.Right, 0) << c.Layout;
        if (c.Horizontal)
            EXPECT_TRUE(c.GlyphFirst ? g.Right <= t.Left : t.Right <= g.Left) << "layout " << c.Layout;
        else
            EXPECT_TRUE(c.GlyphFirst ? g.Bottom <= t.Top : t.Bottom <= g.Top) << "layout " << c.Layout;
    }
    // A margin puts the glyph that far in from its edge (inside the one-pixel flat frame).
    b->SetLayout(blGlyphLeft);
    b->SetMargin(5);
    GuiTest::ProcessEvents();
    EXPECT_EQ(InkOf(Form.get(), red, area).Left, 1 + 5);
    b->SetLayout(blGlyphRight);
    GuiTest::ProcessEvents();
    EXPECT_EQ(InkOf(Form.get(), red, area).Right, 60 - 1 - 5);
}
