// Window styles asked at creation and window regions.
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

class TStyled : public TCustomControl {
public:
    TStyled(TComponent *AOwner, DWORD Style, DWORD ExStyle) : TCustomControl(AOwner), FStyle(Style), FExStyle(ExStyle) {}

protected:
    void CreateParams(TCreateParams &Params) override
    {
        TCustomControl::CreateParams(Params);
        if (FStyle)
            Params.Style = FStyle;
        Params.ExStyle = FExStyle;
    }

private:
    DWORD FStyle;
    DWORD FExStyle;
};

TEST(WindowStyle, StylesChooseTheKindOfWindow)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);

    auto *child = new TStyled(form.get(), 0, 0);
    child->SetParent(form.get());
    child->SetBounds(5, 5, 50, 50);
    QWidget *cw = child->Widget();
    EXPECT_FALSE(cw->isWindow());
    EXPECT_TRUE(GetWindowLong(child->Handle(), GWL_STYLE) & LPARAM(WS_CHILD));

    auto *popup = new TStyled(form.get(), WS_POPUP | WS_DISABLED, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    popup->SetParent(form.get());
    popup->SetBounds(400, 300, 20, 10);
    QWidget *pw = popup->Widget();
    EXPECT_TRUE(pw->isWindow());
    const Qt::WindowFlags f = pw->windowFlags();
    EXPECT_EQ(f & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(f & Qt::FramelessWindowHint);
    EXPECT_TRUE(f & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(f & Qt::WindowTransparentForInput);
    EXPECT_TRUE(pw->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(pw->testAttribute(Qt::WA_TransparentForMouseEvents));
    // Placed in screen coordinates, and its client coordinates count from there.
    EXPECT_EQ(pw->geometry(), QRect(400, 300, 20, 10));
    EXPECT_EQ(popup->ClientToScreen(TPoint(2, 3)), TPoint(402, 303));
    TRect wr;
    ASSERT_TRUE(GetWindowRect(popup->Handle(), wr));
    EXPECT_EQ(wr, Bounds(400, 300, 20, 10));
    EXPECT_EQ(GetWindowLong(popup->Handle(), GWL_EXSTYLE), LPARAM(WS_EX_TOPMOST | WS_EX_TOOLWINDOW));

    auto *plain = new TStyled(form.get(), WS_POPUP, 0);
    plain->SetParent(form.get());
    QWidget *plw = plain->Widget();
    EXPECT_EQ(plw->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_FALSE(plw->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(plw->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(GetWindowLong(nullptr, GWL_STYLE), 0);
}

TEST(WindowStyle, TheWindowOwnsItsRegion)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto *c = new TStyled(form.get(), 0, 0);
    c->SetParent(form.get());
    c->SetBounds(0, 0, 40, 40);
    HWND h = c->Handle();
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, copy), RGN_ERROR);

    HRGN first = CreateRectRgn(0, 0, 10, 10);
    EXPECT_NE(SetWindowRgn(h, first, true), 0);
    EXPECT_EQ(c->Widget()->mask(), QRegion(0, 0, 10, 10));
    HRGN second = CreateEllipticRgn(0, 0, 20, 20);
    SetWindowRgn(h, second, false);
    // The first region went with the replacement: it can no longer be deleted by anyone.
    EXPECT_FALSE(DeleteObject(first));
    EXPECT_NE(GetWindowRgn(h, copy), RGN_ERROR);
    EXPECT_TRUE(EqualRgn(copy, second));
    SetWindowRgn(h, nullptr, true);
    EXPECT_FALSE(DeleteObject(second));
    EXPECT_TRUE(c->Widget()->mask().isEmpty());
    EXPECT_EQ(GetWindowRgn(h, copy), RGN_ERROR);

    // A region given to a window that goes away goes with it.
    HRGN third = CreateRectRgn(1, 1, 5, 5);
    SetWindowRgn(h, third, true);
    delete c;
    EXPECT_FALSE(DeleteObject(third));
    // An invalid window leaves the region with the caller.
    EXPECT_EQ(SetWindowRgn(nullptr, copy, true), 0);
    EXPECT_TRUE(DeleteObject(copy));
}

} // namespace

namespace {

TEST(WindowStyle, ALayeredWindowKeepsItsRegionApart)
{
    // The region and the layered content both hang on the window: each call finds its own.
    TStyled w(nullptr, WS_POPUP | WS_DISABLED, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    const HWND h = w.Handle();
    TBitmap picture;
    picture.SetPixelFormat(TPixelFormat::pf32bit);
    picture.SetSize(20, 10);
    const TSize size{20, 10};
    const TPoint origin{0, 0};
    BLENDFUNCTION blend;
    ASSERT_TRUE(UpdateLayeredWindow(h, nullptr, nullptr, &size, picture.Canvas(), &origin, 0, &blend, ULW_ALPHA));
    SetWindowRgn(h, CreateRectRgn(0, 0, 5, 5), false);
    ASSERT_TRUE(UpdateLayeredWindow(h, nullptr, nullptr, &size, picture.Canvas(), &origin, 0, &blend, ULW_ALPHA));
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(h, copy), RGN_ERROR);
    EXPECT_TRUE(PtInRegion(copy, 2, 2));
    EXPECT_FALSE(PtInRegion(copy, 7, 7));
    DeleteObject(copy);
}

} // namespace

namespace {

// Neither a pop-up of a form nor a form shown without activating takes the activation, also where
// the window system makes every window it shows the active one.
TEST(WindowStyle, WindowsShownWithoutActivatingLeaveTheFormActive)
{
    Application->Initialize();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    form->Show();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return form->Active(); }));
    // Past the time in which the window system's reports of the activation asked for are sorted out.
    GuiTest::ProcessEvents(1100);
    int deactivations = 0;
    form->OnDeactivate = [&](TObject *) { ++deactivations; };

    auto *popup = new TStyled(form.get(), WS_POPUP | WS_BORDER, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    popup->SetParent(form.get());
    popup->SetBounds(50, 50, 40, 40);
    popup->SetVisible(true);
    GuiTest::ProcessEvents(50);
    EXPECT_TRUE(popup->Widget()->isVisible());
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(deactivations, 0);

    auto other = std::make_unique<TForm>(nullptr);
    other->SetBounds(400, 0, 100, 100);
    int otherActivations = 0;
    other->OnActivate = [&](TObject *) { ++otherActivations; };
    other->ShowNoActivate();
    GuiTest::ProcessEvents(50);
    EXPECT_TRUE(other->Visible());
    EXPECT_FALSE(other->Active());
    EXPECT_EQ(otherActivations, 0);
}

} // namespace
