// Painting: a windowed control's Paint, then its graphic children in z-order on top; the erase
// in the control's colour; invalidation and the redraw switch; the timer component.
#include "platform/Controls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

class TBox : public TGraphicControl {
public:
    TBox(TComponent *AOwner, TColor Fill) : TGraphicControl(AOwner), FFill(Fill) {}
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        // Drawn in the control's own coordinates: (0, 0) is its top-left corner.
        Canvas()->Brush()->SetColor(FFill);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
        Canvas()->Brush()->SetColor(clBlack);
        Canvas()->FillRect(Rect(0, 0, 2, 2));
    }

private:
    TColor FFill;
};

class TPanelLike : public TCustomControl {
public:
    explicit TPanelLike(TComponent *AOwner) : TCustomControl(AOwner) {}
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(0, 0, Width(), 10)); // a band along the top
    }
};

TEST(ControlsPaint, GraphicChildrenPaintAfterTheParentInZOrder)
{
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetClientSize(200, 120);
    form.SetColor(clWhite);
    auto *panel = new TPanelLike(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 10, 150, 100);
    panel->SetColor(clYellow);
    auto *red = new TBox(&form, clRed);
    red->SetParent(panel);
    red->SetBounds(5, 5, 40, 40);
    auto *green = new TBox(&form, clLime);
    green->SetParent(panel);
    green->SetBounds(25, 25, 40, 40); // above red where they overlap
    form.Show();

    // panel client (x, y) is form (x + 10, y + 10)
    EXPECT_EQ(GuiTest::PixelAt(&form, 2, 2), RGB(255, 255, 255)) << "form colour";
    EXPECT_EQ(GuiTest::PixelAt(&form, 10 + 100, 10 + 5), RGB(0, 0, 255)) << "the panel's own Paint";
    EXPECT_EQ(GuiTest::PixelAt(&form, 10 + 100, 10 + 50), RGB(255, 255, 0)) << "the panel's erase in its colour";
    EXPECT_EQ(GuiTest::PixelAt(&form, 10 + 10, 10 + 12), RGB(255, 0, 0)) << "red over the panel's band";
    EXPECT_EQ(GuiTest::PixelAt(&form, 10 + 30, 10 + 30), RGB(0, 255, 0)) << "green above red";
    EXPECT_EQ(GuiTest::PixelAt(&form, 10 + 25, 10 + 25), RGB(0, 0, 0)) << "green's own origin";
    EXPECT_EQ(GuiTest::PixelAt(&form, 10 + 70, 10 + 70), RGB(255, 255, 0)) << "nothing outside the children";

    green->SendToBack();
    EXPECT_EQ(GuiTest::PixelAt(&form, 10 + 30, 10 + 30), RGB(255, 0, 0)) << "red above green now";
    red->SetVisible(false);
    EXPECT_EQ(GuiTest::PixelAt(&form, 10 + 30, 10 + 30), RGB(0, 255, 0));
}

TEST(ControlsPaint, InvalidatePaintsLaterAndRedrawOffHoldsIt)
{
    TForm form(nullptr);
    form.SetClientSize(100, 100);
    auto *panel = new TPanelLike(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 50, 50);
    form.Show();
    GuiTest::ProcessEvents();
    const int before = panel->Paints;
    panel->Invalidate();
    EXPECT_EQ(panel->Paints, before) << "Invalidate only asks for a paint";
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return panel->Paints > before; }));

    SendMessage(panel->Handle(), WM_SETREDRAW, 0, 0);
    const int held = panel->Paints;
    panel->Invalidate();
    GuiTest::ProcessEvents(30);
    EXPECT_EQ(panel->Paints, held);
    SendMessage(panel->Handle(), WM_SETREDRAW, 1, 0);
    panel->Repaint();
    EXPECT_GT(panel->Paints, held);
}

TEST(ControlsPaint, MouseEnterAndLeaveReachWindowedControls)
{
    TForm form(nullptr);
    form.SetClientSize(200, 100);
    auto *panel = new TPanelLike(&form);
    panel->SetParent(&form);
    panel->SetBounds(50, 20, 60, 40);
    QStringList log;
    panel->OnMouseEnter = [&](TObject *) { log << QStringLiteral("enter"); };
    panel->OnMouseLeave = [&](TObject *) { log << QStringLiteral("leave"); };
    form.Show();
    GuiTest::MouseMove(&form, {5, 5});
    GuiTest::MouseMove(panel, {10, 10});
    GuiTest::MouseMove(panel, {12, 10});
    GuiTest::MouseMove(&form, {5, 6});
    EXPECT_EQ(log, (QStringList{QStringLiteral("enter"), QStringLiteral("leave")}));
}

TEST(TimerComponent, FiresWhileEnabledAndStopsWhenDisabled)
{
    TForm owner(nullptr);
    auto *timer = new TTimer(&owner);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 1000u);
    timer->SetEnabled(false);
    timer->SetInterval(20);
    int ticks = 0;
    timer->OnTimer = [&](TObject *Sender) {
        EXPECT_EQ(Sender, timer);
        ++ticks;
    };
    GuiTest::ProcessEvents(60);
    EXPECT_EQ(ticks, 0);
    QElapsedTimer clock;
    clock.start();
    timer->SetEnabled(true);
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return ticks >= 2; }));
    EXPECT_GE(clock.elapsed(), 2 * 20 - 5);
    timer->SetEnabled(false);
    const int stopped = ticks;
    GuiTest::ProcessEvents(60);
    EXPECT_EQ(ticks, stopped);
    timer->SetEnabled(true);
    timer->SetInterval(0); // an interval of 0 stops it too
    GuiTest::ProcessEvents(60);
    EXPECT_EQ(ticks, stopped);
}

TEST(FormsPlacement, CentredFormsAndClientSize)
{
    TForm form(nullptr);
    form.SetBorderStyle(bsSingle);
    form.SetClientSize(331, 162);
    EXPECT_EQ(form.ClientWidth(), 331);
    EXPECT_EQ(form.ClientHeight(), 162);
    EXPECT_GT(form.Width(), 331) << "the frame lies around the client area";
    form.SetPosition(poScreenCenter);
    form.Show();
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(form.Left(), (sw - form.Width()) / 2);
    EXPECT_EQ(form.Top(), (sh - form.Height()) / 2);
    EXPECT_EQ(form.ClientWidth(), 331) << "showing keeps the client size";
    EXPECT_EQ(form.ClientHeight(), 162);
    form.SetBorderStyle(bsSizeable);
    EXPECT_EQ(form.ClientWidth(), 331) << "a new border keeps the client size";
}

} // namespace
