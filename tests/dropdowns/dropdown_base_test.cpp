// The drop-down edit base driven as a user drives it: keys, the button and clicks elsewhere open
// and close the popup; placement on a fake screen; the time rule of the button after a close by
// deactivation; defaults, label places and the popup bars; and the twelve edit types.
#include "dropdowns/ExtCustomDropDown.h"
#include "platform/Clipbrd.h"
#include "platform/MultiMon.h"
#include "platform/RecordingCanvas.h"
#include "platform/SysUtils.h"
#include "platform/TimeSource.h"
#include "platform/VersionInfo.h"
#include "platform/WindowPlacement.h"
#include "support/GuiTest.h"
#include "DropDownFormTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// The smallest descendant: a plain content control of 120 x 80 that takes the value on load.
class TTestDropDown : public TExtCustomDropDown {
public:
    explicit TTestDropDown(TComponent *AOwner) : TExtCustomDropDown(AOwner) {}
    TCustomControl *Content = nullptr;
    int Loads = 0;

protected:
    void CreateDropDownForm() override
    {
        TExtCustomDropDown::CreateDropDownForm();
        Content = new TCustomControl(this);
        Content->SetBounds(0, 0, 120, 80);
        Content->SetParent(DropDownForm());
        SetControl(Content);
    }
    void BeforeDropDown() override
    {
        TExtCustomDropDown::BeforeDropDown();
        ++Loads;
        // The content takes its own size before the popup is sized around it.
        Content->SetAlign(alNone);
        Content->SetBounds(0, 0, ContentWidth, ContentHeight);
    }

public:
    int ContentWidth = 120;
    int ContentHeight = 80;
};

using DropDownTest = DropDownFormTest<TTestDropDown>;

} // namespace

TEST(DropDownPlacement, BelowAboveAndOnlyARightOverhangMoved)
{
    const TRect work(0, 0, 1000, 660);
    struct Case {
        TDropPosition Pos;
        TPoint P;
        int W, H;
        TPoint Want;
    } cases[] = {
        {dpAuto, TPoint(100, 100), 150, 120, TPoint(100, 120)},  // below at P.Y + EH - 1
        {dpAuto, TPoint(100, 600), 150, 120, TPoint(100, 480)},  // near the bottom: above
        {dpAuto, TPoint(100, 580), 150, 120, TPoint(100, 460)},  // P.Y + H = screen height: above
        {dpDown, TPoint(100, 650), 150, 120, TPoint(100, 670)},  // forced below, off-screen
        {dpUp, TPoint(100, 100), 150, 120, TPoint(100, -20)},    // forced above
        {dpAuto, TPoint(900, 100), 150, 120, TPoint(850, 120)},  // right overhang shifted back
        {dpAuto, TPoint(-50, 100), 150, 120, TPoint(-50, 120)},  // left overhang left alone
        {dpAuto, TPoint(1100, 100), 150, 120, TPoint(1100, 120)} // left edge outside: no shift
    };
    for (const Case &c : cases) {
        const TPoint p = DropDownPlacement(c.Pos, c.P, 21, c.W, c.H, 700, work);
        EXPECT_EQ(p.X, c.Want.X) << c.P.X << "," << c.P.Y;
        EXPECT_EQ(p.Y, c.Want.Y) << c.P.X << "," << c.P.Y;
    }
    // A work area starting left of 0 (a monitor to the left of the primary one) moves nothing.
    EXPECT_EQ(DropDownPlacement(dpAuto, TPoint(900, 100), 21, 150, 120, 700, TRect(-800, 0, 1000, 660)).X, 900);
}

TEST(DropDownPlacement, AutomaticSizeStacksBordersBarsAndContent)
{
    TDropDownSizeInput in;
    in.EditWidth = 200;
    EXPECT_EQ(DropDownAutoSize(in).cx, 200);
    EXPECT_EQ(DropDownAutoSize(in).cy, 2);
    in.HasControl = true;
    in.ControlWidth = 120;
    in.ControlHeight = 80;
    in.HeaderVisible = true;
    in.HeaderHeight = 22;
    in.FooterVisible = false;
    in.FooterHeight = 30;
    EXPECT_EQ(DropDownAutoSize(in).cx, 120);
    EXPECT_EQ(DropDownAutoSize(in).cy, 2 + 22 + 80);
    in.DropDownWidth = 300;
    in.DropDownHeight = 90;
    EXPECT_EQ(DropDownAutoSize(in).cx, 300);
    EXPECT_EQ(DropDownAutoSize(in).cy, 90);
}

TEST(DropDownPlatform, ScreenLayoutAnswersMonitorsWorkAreaAndScreenSize)
{
    SetScreenLayout({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 560)}, {TRect(800, 0, 1800, 700), TRect(800, 0, 1800, 700)}});
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint(TPoint(2500, 50), MONITOR_DEFAULTTONEAREST), &info));
    EXPECT_EQ(info.rcWork.Right, 1800);
    EXPECT_EQ(MonitorFromPoint(TPoint(2500, 50), MONITOR_DEFAULTTONULL), nullptr);
    TRect work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.Bottom, 560);
    ResetScreenLayout();
}

TEST(DropDownPlatform, ManualClockDrivesTickCountSleepAndTimers)
{
    TManualClock clock;
    const DWORD start = GetTickCount();
    TTimer timer(nullptr);
    timer.SetInterval(100);
    int ticks = 0;
    DWORD seenAt = 0;
    timer.OnTimer = [&](TObject *) {
        ++ticks;
        seenAt = GetTickCount();
    };
    timer.SetEnabled(true);
    clock.Advance(99);
    EXPECT_EQ(ticks, 0);
    clock.Advance(1);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(seenAt, start + 100);
    Sleep(250);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(GetTickCount(), start + 350);
    timer.SetEnabled(false);
    clock.Advance(1000);
    EXPECT_EQ(ticks, 3);
}

namespace {

class TTimerProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT_PTR> Seen;

protected:
    void Dispatch(TMessage &Message) override
    {
        if (Message.Msg == WM_TIMER)
            Seen.push_back(Message.WParam);
        TCustomControl::Dispatch(Message);
    }
};

int GProcTicks = 0;

} // namespace

TEST(DropDownPlatform, WindowTimersRunOnTheManualClock)
{
    TManualClock clock;
    auto form = std::make_unique<TForm>(nullptr);
    auto *probe = new TTimerProbe(form.get());
    probe->SetParent(form.get());
    form->HandleNeeded();
    GProcTicks = 0;
    ASSERT_EQ(SetTimer(probe->Handle(), 7, 50, nullptr), 7u);
    const UINT_PTR free = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { ++GProcTicks; });
    ASSERT_NE(free, 0u);
    clock.Advance(100);
    EXPECT_EQ(probe->Seen, (std::vector<UINT_PTR>{7, 7}));
    EXPECT_EQ(GProcTicks, 3);
    EXPECT_TRUE(KillTimer(probe->Handle(), 7));
    EXPECT_TRUE(KillTimer(nullptr, free));
    EXPECT_FALSE(KillTimer(nullptr, free));
    clock.Advance(500);
    EXPECT_EQ(probe->Seen.size(), 2u);
    EXPECT_EQ(GProcTicks, 3);
    // A timer of a window that goes away stops with it.
    SetTimer(probe->Handle(), 8, 10, nullptr);
    form.reset();
    clock.Advance(100);
    EXPECT_EQ(clock.TimerCount(), 0);
}

TEST_F(DropDownTest, DefaultsAndVersion)
{
    auto d = std::unique_ptr<TTestDropDown>(NewDropDown<TTestDropDown>(nullptr));
    EXPECT_EQ(d->Width(), 200);
    EXPECT_EQ(d->Height(), 21);
    EXPECT_EQ(d->DropDownButtonWidth(), 17);
    ASSERT_NE(d->Button(), nullptr);
    EXPECT_EQ(d->Button()->BWidth(), 17);
    EXPECT_EQ(d->LabelMargin(), 4);
    EXPECT_TRUE(d->DropDownShadow);
    EXPECT_TRUE(d->DropDownSizeable);
    EXPECT_EQ(d->UserDropDownWidth(), -1);
    EXPECT_EQ(d->GetComponentStyle(), tsOffice2007Luna);
    EXPECT_EQ(d->SelectionColorStyle(), scOffice2007);
    d->SetVersion(QStringLiteral("9.9.9.9"));
    EXPECT_EQ(d->Version(), QStringLiteral("1.2.1.4"));
    EXPECT_FALSE(d->DroppedDown());
}

TEST_F(DropDownTest, LabelStandsWhereItsPositionSays)
{
    Edit->SetBounds(100, 100, 200, 21);
    Edit->SetLabelCaption(QStringLiteral("Name"));
    TLabel *l = Edit->Label();
    ASSERT_NE(l, nullptr);
    TBitmap b;
    b.Canvas()->Font()->Assign(l->Font());
    const int W = b.Canvas()->TextWidth(QStringLiteral("Name"));
    const int LW = l->Width(), LH = l->Height();
    using E = TExtCustomDropDown;
    struct Case {
        E::TLabelPosition Pos;
        int Left, Top;
    } cases[] = {
        {E::lpLeftTop, 100 - W - 4, 100},
        {E::lpLeftCenter, 100 - W - 4, 100 + (21 - LH) / 2},
        {E::lpLeftBottom, 100 - W - 4, 121 - LH},
        {E::lpTopLeft, 100, 100 - LH - 4},
        {E::lpBottomLeft, 100, 125},
        {E::lpLeftTopLeft, 96, 100},
        {E::lpLeftCenterLeft, 96, 100 + (21 - LH) / 2},
        {E::lpLeftBottomLeft, 96, 121 - LH},
        {E::lpTopCenter, 100 + (200 - LW) / 2, 100 - LH - 4},
        {E::lpBottomCenter, 100 + (200 - LW) / 2, 125},
        {E::lpRightTop, 304, 100},
        {E::lpRightCenter, 304, 100 + (21 - LH) / 2},
        {E::lpRighBottom, 304, 121 - LH},
        {E::lpTopRight, 300 - LW, 100 - LH - 4},
        {E::lpBottomRight, 300 - LW, 125},
    };
    for (const Case &c : cases) {
        Edit->SetLabelPosition(c.Pos);
        EXPECT_EQ(l->Left(), c.Left) << c.Pos;
        EXPECT_EQ(l->Top(), c.Top) << c.Pos;
    }
}

TEST_F(DropDownTest, BorderPrecedence)
{
    using P = TExtCustomDropDown::TBorderPaint;
    EXPECT_EQ(Edit->BorderPaint().Kind, P::bkFlat);
    Edit->SetFocusBorderColor(clRed);
    EXPECT_EQ(Edit->BorderPaint().Kind, P::bkColor);
    EXPECT_EQ(Edit->BorderPaint().Color, clRed) << "focused: the focus colour";
    Edit->SetBorderColor(clBlue);
    EXPECT_EQ(Edit->BorderPaint().Color, clRed) << "focused with both: the focus colour wins";
    Edit->SetFocusBorderColor(clNone);
    EXPECT_EQ(Edit->BorderPaint().Color, clBlue);
}

TEST_F(DropDownTest, AssignCopiesSettingsButNoTextLabelOrEvents)
{
    auto src = std::unique_ptr<TTestDropDown>(NewDropDown<TTestDropDown>(nullptr));
    src->SetText(QStringLiteral("source text"));
    src->Prefix = QStringLiteral("$");
    src->DropPosition = dpUp;
    src->SetDropDownButtonWidth(25);
    src->ButtonAppearance()->SetColorHot(0x123456);
    src->OnDropUp = [](TObject *, bool) {};
    Edit->SetText(QStringLiteral("mine"));
    Edit->Assign(src.get());
    EXPECT_EQ(Edit->GetText(), QStringLiteral("mine"));
    EXPECT_EQ(Edit->Prefix, QStringLiteral("$"));
    EXPECT_EQ(Edit->DropPosition, dpUp);
    EXPECT_EQ(Edit->DropDownButtonWidth(), 25);
    EXPECT_EQ(Edit->ButtonAppearance()->ColorHot(), 0x123456);
    EXPECT_FALSE(Edit->OnDropUp);
    EXPECT_EQ(Edit->Label(), nullptr);
}

namespace {

// Alt+Down, Alt+Up, F4, Esc after typing and Enter on a focused edit, as a user presses them.
void DriveOpenCloseKeys(TTestDropDown *Edit)
{
    Edit->SetText(QStringLiteral("start"));
    const int loads = Edit->Loads;
    // While the popup is open the keyboard is the popup's: it hands every key to the edit.
    TDropDownForm *popup = Edit->DropDownForm();
    GuiTest::PressKey(Edit, VK_DOWN, {ssAlt});
    ASSERT_TRUE(Edit->DroppedDown());
    EXPECT_TRUE(popup->Visible());
    EXPECT_EQ(Edit->Loads, loads + 1);
    GuiTest::PressKey(popup, VK_UP, {ssAlt});
    EXPECT_FALSE(Edit->DroppedDown()) << "one toggle per press";
    EXPECT_EQ(Edit->GetText(), QStringLiteral("start"));

    // Esc after typing restores the value of the opening.
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    GuiTest::PressKey(popup, VK_END);
    GuiTest::TypeText(popup, QStringLiteral("xy"));
    EXPECT_EQ(Edit->GetText(), QStringLiteral("startxy"));
    GuiTest::PressKey(popup, VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->GetText(), QStringLiteral("start"));

    // F4 toggles; Enter closes keeping the text.
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    GuiTest::PressKey(popup, VK_F4);
    EXPECT_FALSE(Edit->DroppedDown());
    GuiTest::PressKey(Edit, VK_F4);
    GuiTest::PressKey(popup, VK_END);
    GuiTest::TypeText(popup, QStringLiteral("z"));
    EXPECT_EQ(Edit->GetText(), QStringLiteral("startz"));
    EXPECT_TRUE(Edit->DroppedDown());
    GuiTest::PressKey(popup, VK_RETURN);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->GetText(), QStringLiteral("startz"));

    // A value written in code while open does not move the value a cancel returns to.
    GuiTest::PressKey(Edit, VK_F4);
    Edit->SetText(QStringLiteral("written"));
    GuiTest::PressKey(popup, VK_ESCAPE);
    EXPECT_EQ(Edit->GetText(), QStringLiteral("startz"));

    // The edit's own keys work as well while the popup is open.
    GuiTest::PressKey(Edit, VK_F4);
    GuiTest::PressKey(Edit, VK_UP, {ssAlt});
    EXPECT_FALSE(Edit->DroppedDown());
}

} // namespace

TEST_F(DropDownTest, KeysOpenCloseRestoreAndToggle)
{
    DriveOpenCloseKeys(Edit);
}

TEST_F(DropDownTest, AltUpForwardedFromTheContentClosesAndStaysClosed)
{
    Edit->ShowDropDown();
    ASSERT_TRUE(Edit->DroppedDown());
    Word key = VK_UP;
    // As the content's key handler sends it on, with Alt held.
    GuiTest::KeyDown(Edit, VK_MENU);
    Edit->ControlKeyDown(key, {ssAlt});
    GuiTest::KeyUp(Edit, VK_MENU);
    EXPECT_FALSE(Edit->DroppedDown());
    GuiTest::ProcessEvents();
    EXPECT_FALSE(Edit->DroppedDown());
}

TEST_F(DropDownTest, NeverOpensWhenDisabledReadOnlyOrVetoed)
{
    Edit->SetEnabled(false);
    Edit->ShowDropDown();
    EXPECT_FALSE(Edit->DroppedDown());
    Edit->SetEnabled(true);
    Edit->Perform(EM_SETREADONLY, 1, 0);
    Edit->ShowDropDown();
    EXPECT_FALSE(Edit->DroppedDown());
    Edit->Perform(EM_SETREADONLY, 0, 0);
    bool asked = false;
    Edit->OnDropDown = [&](TObject *, bool &accept) {
        asked = true;
        accept = false;
    };
    Edit->ShowDropDown();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_FALSE(Edit->DropDownForm()->Visible());
}

TEST_F(DropDownTest, NonEditableEditIgnoresCharactersAndOpensOnAClick)
{
    Edit->SetText(QStringLiteral("fixed"));
    Edit->SetEditorEnabled(false);
    GuiTest::TypeText(Edit, QStringLiteral("abc"));
    EXPECT_EQ(Edit->GetText(), QStringLiteral("fixed"));
    GuiTest::Click(Edit, TPoint(20, 10));
    EXPECT_TRUE(Edit->DroppedDown());
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown());
}

TEST_F(DropDownTest, PopupPlacedBelowOrAboveAndSizedWithMinimum)
{
    Edit->ShowDropDown();
    TDropDownForm *f = Edit->DropDownForm();
    const TPoint p = Form->ClientToScreen(TPoint(10, 10));
    EXPECT_EQ(f->Left(), p.X);
    EXPECT_EQ(f->Top(), p.Y + 21 - 1);
    // Header and footer of the default appearances, two borders and the content.
    EXPECT_EQ(f->Width(), 120);
    EXPECT_EQ(f->Height(), 2 + 22 + 22 + 80);
    Edit->HideDropDown(false);

    Edit->SetBounds(10, 650 - Form->ClientOrigin().Y, 200, 21);
    Edit->ShowDropDown();
    EXPECT_EQ(f->Top(), Edit->ClientOrigin().Y - f->Height()) << "near the bottom: above";
    Edit->HideDropDown(false);

    Edit->ContentWidth = 10;
    Edit->ContentHeight = 5;
    Edit->DropDownHeader()->SetVisible(false);
    Edit->DropDownFooter()->SetVisible(false);
    Edit->SetDropDownWidth(1);
    Edit->SetDropDownHeight(1);
    Edit->ShowDropDown();
    EXPECT_EQ(f->Width(), 80);
    EXPECT_EQ(f->Height(), 50);
}

TEST_F(DropDownTest, SizeKeptOnCloseAndResetByANewDropDownWidth)
{
    Edit->ShowDropDown();
    Edit->DropDownForm()->SetBounds(Edit->DropDownForm()->Left(), Edit->DropDownForm()->Top(), 300, 200);
    Edit->HideDropDown(false);
    Edit->ShowDropDown();
    EXPECT_EQ(Edit->DropDownForm()->Width(), 300);
    EXPECT_EQ(Edit->DropDownForm()->Height(), 200);
    Edit->HideDropDown(false);
    Edit->SetDropDownWidth(150);
    Edit->ShowDropDown();
    EXPECT_EQ(Edit->DropDownForm()->Width(), 150);
    EXPECT_EQ(Edit->DropDownForm()->Height(), 200) << "only the width forgets the user's size";
}

TEST_F(DropDownTest, ActivatingAnotherFormCancelsAndTheButtonWaits250ms)
{
    TManualClock clock;
    auto other = std::make_unique<TForm>(nullptr);
    other->SetBounds(500, 400, 100, 100);
    other->Show();
    Edit->SetText(QStringLiteral("kept"));
    Edit->ShowDropDown();
    ASSERT_TRUE(Edit->DroppedDown());
    // Focusing a child of the popup keeps it open.
    Edit->DropDownForm()->Perform(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(Edit->Content->Handle()));
    EXPECT_TRUE(Edit->DroppedDown());
    Edit->SetTextInternal(QStringLiteral("changed"));
    SetForegroundWindow(Edit->DropDownForm()->Handle());
    SetForegroundWindow(other->Handle());
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->GetText(), QStringLiteral("kept")) << "a close by deactivation cancels";

    clock.Advance(100);
    Edit->ButtonClick(Edit->Button());
    EXPECT_FALSE(Edit->DroppedDown()) << "the click that closed it does not reopen it";
    clock.Advance(200);
    Edit->ButtonClick(Edit->Button());
    EXPECT_TRUE(Edit->DroppedDown());
    Edit->HideDropDown(false);
}

TEST_F(DropDownTest, OnlyALeftReleaseOnTheButtonOpens)
{
    TExtDropDownSpeedButton *b = Edit->Button()->Button();
    GuiTest::Click(b, TPoint(5, 5), mbRight);
    EXPECT_FALSE(Edit->DroppedDown());
    GuiTest::MouseDown(b, TPoint(5, 5));
    EXPECT_FALSE(Edit->DroppedDown()) << "not on the press";
    GuiTest::MouseUp(b, TPoint(8, 8));
    EXPECT_TRUE(Edit->DroppedDown());
}

TEST_F(DropDownTest, KeysDriveThePopupInsideAModalHost)
{
    GuiTest::TScriptedModalHook hook;
    auto host = std::make_unique<TForm>(nullptr);
    host->SetBounds(50, 50, 300, 200);
    auto *d = NewDropDown<TTestDropDown>(host.get());
    d->SetParent(host.get());
    d->SetBounds(10, 10, 150, 21);
    bool ownedByHost = false;
    hook.RunWith([&](TModalRequest &) {
        d->SetFocus();
        GuiTest::ProcessEvents();
        DriveOpenCloseKeys(d);
        // The popup is a window of the modal form, so the modal run does not block it.
        d->ShowDropDown();
        ownedByHost = GetParent(d->DropDownForm()->Handle()) == host->Handle();
        d->HideDropDown(false);
        host->SetModalResult(mrOk);
    });
    EXPECT_EQ(host->ShowModal(), mrOk);
    EXPECT_TRUE(ownedByHost);
}

// ---- bars ----

TEST_F(DropDownTest, FooterButtonsCloseByModalResultAndFireOnlyOnAClick)
{
    TFooterButtons *items = Edit->DropDownFooter()->Buttons();
    const TModalResult results[] = {mrNone, mrOk, mrCancel};
    for (TModalResult r : results) {
        TFooterButton *i = items->Add();
        i->SetCaption(QStringLiteral("B%1").arg(r));
        i->SetModalResult(r);
    }
    int clicked = -1;
    Edit->OnDropDownFooterButtonClick = [&](TObject *, int Index) { clicked = Index; };
    Edit->SetText(QStringLiteral("v"));
    Edit->ShowDropDown();
    TExtFooter *footer = Edit->DropDownForm()->Footer();
    ASSERT_NE(footer, nullptr);
    ASSERT_EQ(footer->ButtonCount(), 3);
    // Button 0 is the rightmost; each following one stands directly left of it.
    EXPECT_EQ(footer->ButtonAt(0)->Left() + footer->ButtonAt(0)->Width(), footer->ClientWidth() - 14);
    EXPECT_EQ(footer->ButtonAt(1)->Left() + footer->ButtonAt(1)->Width(), footer->ButtonAt(0)->Left());

    footer->ButtonAt(0)->Click();
    EXPECT_EQ(clicked, 0);
    EXPECT_TRUE(Edit->DroppedDown()) << "mrNone leaves the popup open";

    clicked = -1;
    footer->ButtonAt(2)->Perform(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(clicked, -1) << "the keyboard never fires the bar's event";
    EXPECT_FALSE(Edit->DroppedDown()) << "mrCancel closes";

    Edit->ShowDropDown();
    footer = Edit->DropDownForm()->Footer();
    Edit->SetTextInternal(QStringLiteral("typed"));
    footer->ButtonAt(2)->Click();
    EXPECT_EQ(clicked, 2);
    EXPECT_EQ(Edit->GetText(), QStringLiteral("v")) << "a cancelling result restores";
}

TEST_F(DropDownTest, CaptionEndsTwoPixelsBeforeTheLastButtonAndSizeGripNeedsBothFlags)
{
    Edit->DropDownHeader()->Buttons()->Add()->SetCaption(QStringLiteral("A"));
    Edit->DropDownHeader()->Buttons()->Add()->SetCaption(QStringLiteral("Longer"));
    Edit->ShowDropDown();
    TExtHeader *h = Edit->DropDownForm()->Header();
    TRect t;
    h->GetTextRect(t);
    EXPECT_EQ(t.Right, h->ButtonAt(1)->Left() - 2);
    TExtFooter *f = Edit->DropDownForm()->Footer();
    EXPECT_TRUE(f->HasSizeGrip());
    Edit->HideDropDown(false);
    Edit->DropDownSizeable = false;
    Edit->ShowDropDown();
    EXPECT_FALSE(Edit->DropDownForm()->Footer()->HasSizeGrip());
}

TEST_F(DropDownTest, ADragOnTheGripResizesAndTheNextOpeningKeepsTheSize)
{
    Edit->ShowDropDown();
    TDropDownForm *form = Edit->DropDownForm();
    TExtFooter *f = form->Footer();
    const int w = form->Width(), h = form->Height();
    const TPoint grip(f->Width() - 4, f->Height() - 4);
    SetCursorPos(f->ClientToScreen(grip).X, f->ClientToScreen(grip).Y);
    int sizings = 0;
    form->OnSizing = [&](TObject *) { ++sizings; };
    const TPoint start = f->ClientToScreen(grip);
    const TPoint end(start.X + 40, start.Y + 30);
    GuiTest::MouseDown(f, grip);
    GuiTest::MouseMove(f, f->ScreenToClient(end), {ssLeft});
    // The footer moved down with the bottom edge; the release is at the same screen point.
    GuiTest::MouseUp(f, f->ScreenToClient(end));
    EXPECT_EQ(form->Width(), w + 40);
    EXPECT_EQ(form->Height(), h + 30);
    EXPECT_GT(sizings, 0);
    Edit->HideDropDown(false);
    Edit->ShowDropDown();
    EXPECT_EQ(form->Width(), w + 40);
    EXPECT_EQ(form->Height(), h + 30);
}

TEST(DropDownBars, ButtonAppearanceDefaultsAndHotClearedAtTheNextTick)
{
    TExtButtonAppearance a;
    EXPECT_EQ(a.ColorChecked(), 0xF5D8CA);
    EXPECT_EQ(a.ColorCheckedTo(), 0xF9BDA0);
    EXPECT_EQ(a.BorderColorDown(), 0x800000);
    EXPECT_EQ(a.Font()->Name(), QStringLiteral("Tahoma"));
    int changes = 0;
    TExtButtonAppearance b;
    b.OnChange = [&](TObject *) { ++changes; };
    a.SetColorHot(1);
    a.SetColor(2);
    b.Assign(&a);
    EXPECT_EQ(changes, 2) << "once per value that changes";

    TManualClock clock;
    Application->Initialize();
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto *button = new TExtButton(&form);
    button->SetParent(&form);
    button->Appearance = &a;
    form.Show();
    SetCursorPos(900, 900);
    button->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(button->MouseInControl());
    clock.Advance(1);
    EXPECT_FALSE(button->MouseInControl()) << "the pointer is elsewhere at the next tick";
}

TEST(DropDownBars, DbgListChecksTheIndex)
{
    TDbgList l;
    int x = 0;
    l.Add(&x);
    EXPECT_EQ(l.GetItemsEx(0), &x);
    EXPECT_THROW(l.GetItemsEx(1), Exception);
    EXPECT_THROW(l.SetItemsEx(1, nullptr), Exception);
}

// ---- the popup as a window ----

TEST_F(DropDownTest, PopupIsATopmostWindowOfTheEditsForm)
{
    Edit->ShowDropDown();
    const HWND popup = Edit->DropDownForm()->Handle();
    EXPECT_NE(GetWindowLong(popup, GWL_EXSTYLE) & static_cast<LPARAM>(WS_EX_TOPMOST), 0);
    EXPECT_EQ(GetParent(popup), Form->Handle());
    Edit->HideDropDown(false);
}

TEST_F(DropDownTest, FocusMovingIntoThePopupLeavesTheEditWithoutAnExit)
{
    int exits = 0;
    Edit->OnExit = [&](TObject *) { ++exits; };
    Edit->Content->SetTabStop(true);
    Edit->FocusControl = Edit->Content;
    Edit->ShowDropDown();
    GuiTest::ProcessEvents();
    EXPECT_TRUE(Edit->Content->Focused());
    EXPECT_EQ(exits, 0) << "the focus went to another window, not to another control of the form";
    EXPECT_TRUE(Edit->DroppedDown()) << "focusing a child of the popup keeps it open";
    Edit->HideDropDown(false);
    EXPECT_TRUE(Edit->Focused());
}

TEST_F(DropDownTest, TheWindowSystemsActivationOfAnotherFormCancels)
{
    auto other = std::make_unique<TForm>(nullptr);
    other->SetBounds(500, 400, 100, 100);
    other->Show();
    GuiTest::ProcessEvents();
    Edit->SetFocus();
    GuiTest::ProcessEvents();
    Edit->SetText(QStringLiteral("kept"));
    Edit->ShowDropDown();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return Edit->DropDownForm()->Active(); }));
    Edit->SetTextInternal(QStringLiteral("changed"));
    other->SetFocus();
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return !Edit->DroppedDown(); }));
    EXPECT_EQ(Edit->GetText(), QStringLiteral("kept"));
}

TEST_F(DropDownTest, APressOnAnotherFormClosesThePopup)
{
    auto other = std::make_unique<TForm>(nullptr);
    other->SetBounds(500, 400, 100, 100);
    auto *target = new TCustomControl(other.get());
    target->SetParent(other.get());
    target->SetBounds(0, 0, 50, 50);
    other->Show();
    GuiTest::ProcessEvents();
    Edit->SetFocus();
    Edit->ShowDropDown();
    SetForegroundWindow(Edit->DropDownForm()->Handle());
    ASSERT_TRUE(Edit->DroppedDown());
    GuiTest::MouseDown(target, TPoint(10, 10));
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_TRUE(other->Active());
    GuiTest::MouseUp(target, TPoint(10, 10));
}

// ---- the edit's own painting and mouse ----

TEST_F(DropDownTest, CustomFrameIsPaintedOverTheEdit)
{
    const Cardinal previous = SetComCtl32Version(6u << 16);
    auto *d = NewDropDown<TTestDropDown>(Form.get());
    d->SetParent(Form.get());
    d->SetBounds(10, 50, 200, 21);
    struct Case {
        const char *Name;
        std::function<void()> Setup;
        TColor Frame;
    } cases[] = {
        {"border colour", [&] { d->SetBorderColor(clRed); }, clRed},
        {"focus colour wins while focused",
         [&] {
             d->SetBorderColor(clRed);
             d->SetFocusBorderColor(clLime);
             d->SetFocus();
         },
         clLime},
        {"grey when disabled",
         [&] {
             d->SetBorderColor(clRed);
             d->SetEnabled(false);
         },
         clSilver},
        {"flat and hot: a sunken edge",
         [&] {
             d->Flat = true;
             d->Perform(CM_MOUSEENTER, 0, 0);
         },
         clBtnShadow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        d->Perform(CM_MOUSELEAVE, 0, 0);
        d->Flat = false;
        d->SetEnabled(true);
        d->SetBorderColor(clNone);
        d->SetFocusBorderColor(clNone);
        Edit->SetFocus();
        c.Setup();
        GuiTest::ProcessEvents();
        EXPECT_EQ(GuiTest::PixelAt(d, 0, 10), ColorToRGB(c.Frame));
        EXPECT_EQ(GuiTest::PixelAt(d, 100, 0), ColorToRGB(c.Frame));
    }
    SetComCtl32Version(previous);
}

TEST_F(DropDownTest, FocusedNonEditableEditShowsItsValueHighlightedWithoutACaret)
{
    auto *other = new TEdit(Form.get());
    other->SetParent(Form.get());
    other->SetBounds(10, 80, 100, 21);
    other->SetFocus();
    GuiTest::ProcessEvents();
    Edit->SetEditorEnabled(false);
    Edit->SetText(QStringLiteral("value"));
    Edit->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(Edit, 2, 5), ColorToRGB(clBlack)) << "the frame of the highlight";
    EXPECT_EQ(GuiTest::PixelAt(Edit, 3, 3), ColorToRGB(clHighlight));
    EXPECT_TRUE(CaretHidden(Edit->Handle()));

    other->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_FALSE(CaretHidden(Edit->Handle())) << "a new focus makes a new caret";
    EXPECT_NE(GuiTest::PixelAt(Edit, 3, 3), ColorToRGB(clHighlight)) << "only while focused";
}

TEST_F(DropDownTest, APressInsideTheSelectionKeepsItTheReleasePlacesTheCaret)
{
    Edit->SetText(QStringLiteral("abcdefghij"));
    Edit->SetFocus();
    Edit->SelectAll();
    ASSERT_EQ(Edit->SelLength(), 10);
    const TPoint at(Edit->PosFromChar(4).X + 1, Edit->Height() / 2);
    const int index = Edit->CharFromPos(at);
    GuiTest::MouseDown(Edit, at);
    EXPECT_EQ(Edit->SelLength(), 10) << "the selection stays for a drag";
    GuiTest::MouseUp(Edit, at);
    EXPECT_EQ(Edit->SelLength(), 0);
    EXPECT_EQ(Edit->SelStart(), index);
}

TEST_F(DropDownTest, LabelFollowsTheParentsFont)
{
    Edit->SetParentFont(true);
    Edit->SetLabelCaption(QStringLiteral("Name"));
    Form->Font()->SetSize(15);
    ASSERT_EQ(Edit->Font()->Size(), 15);
    EXPECT_EQ(Edit->LabelFont()->Size(), 15);
    EXPECT_EQ(Edit->Label()->Font()->Size(), 15);
}

TEST(DropDownEditArea, ButtonAndTextRectangleByFrame)
{
    Application->Initialize();
    struct Case {
        const char *Name;
        bool Themed;
        TBorderStyle Border;
        bool Flat, Ctl3D;
        TRect Button;   // Left, Top, Width, Height
        int EditLeft, EditTop;
        int SentLeft;
    } cases[] = {
        {"themed single", true, bsSingle, false, true, {179, 0, 17, 17}, 1, 1, 1},
        {"themed single flat", true, bsSingle, true, true, {180, 2, 17, 18}, 1, 1, 1},
        {"themed without frame", true, bsNone, false, true, {183, 1, 17, 19}, 2, 3, 2},
        {"classic single", false, bsSingle, false, true, {183, 1, 17, 19}, 1, 1, 1},
        {"classic flat-looking 2-D", false, bsSingle, false, false, {181, 1, 17, 19}, 1, 1, 2},
        {"themed single 2-D", true, bsSingle, false, false, {181, 1, 17, 19}, 1, 1, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        const Cardinal previous = SetComCtl32Version((c.Themed ? 6u : 5u) << 16);
        auto form = std::make_unique<TForm>(nullptr);
        auto *d = NewDropDown<TTestDropDown>(form.get());
        d->SetParent(form.get());
        d->SetBorderStyle(c.Border);
        d->Flat = c.Flat;
        d->SetCtl3D(c.Ctl3D);
        d->SetBounds(0, 0, 200, 21);
        d->AdjustButtonBounds();
        const TDropDownEditButton *b = d->Button();
        EXPECT_EQ(TRect(b->Left(), b->Top(), b->Width(), b->Height()), c.Button);
        const TRect e = d->GetEditRect();
        EXPECT_EQ(e.Left, c.EditLeft);
        EXPECT_EQ(e.Top, c.EditTop);
        EXPECT_EQ(e.Right, d->ClientWidth() - 17 - 3) << "stops before the button";
        EXPECT_EQ(e.Bottom, d->ClientHeight() + 1);
        EXPECT_EQ(d->FormattingRect().Left, c.SentLeft);
        SetComCtl32Version(previous);
    }
}

TEST_F(DropDownTest, BarsDrawTheirOuterSideOnlyWhereThePopupHasNoFrame)
{
    Edit->DropDownHeader()->SetBorderColor(clRed);
    Edit->DropDownHeader()->SetBorderWidth(1);
    Edit->DropDownFooter()->SetBorderColor(clRed);
    Edit->DropDownFooter()->SetBorderWidth(1);
    auto redLines = [](TExtBar *Bar) {
        TRecordingCanvas c(Bar->Width(), Bar->Height());
        Bar->PaintOn(&c);
        std::vector<std::vector<int>> ends;
        for (const auto &call : c.CallsOf(QStringLiteral("LineTo")))
            if (call.PenColor == clRed)
                ends.push_back(call.Args);
        return ends;
    };
    struct Case {
        const char *Name;
        TColor PopupFrame;
        std::size_t Lines;
    } cases[] = {{"the popup draws a frame", clBlack, 1}, {"no popup frame", clNone, 4}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        Edit->DropDownBorderColor = c.PopupFrame;
        Edit->ShowDropDown();
        TExtHeader *h = Edit->DropDownForm()->Header();
        TExtFooter *f = Edit->DropDownForm()->Footer();
        ASSERT_NE(h, nullptr);
        ASSERT_NE(f, nullptr);
        const auto header = redLines(h), footer = redLines(f);
        ASSERT_EQ(header.size(), c.Lines);
        ASSERT_EQ(footer.size(), c.Lines);
        // The header's first line runs along its bottom, the footer's along its top.
        EXPECT_EQ(header[0], (std::vector<int>{h->ClientWidth(), h->ClientHeight() - 1}));
        EXPECT_EQ(footer[0], (std::vector<int>{f->ClientWidth(), 0}));
        Edit->HideDropDown(false);
    }
}

TEST_F(DropDownTest, SpaceOnAFooterButtonClosesByItsResultWithoutItsEvent)
{
    TFooterButton *i = Edit->DropDownFooter()->Buttons()->Add();
    i->SetCaption(QStringLiteral("OK"));
    i->SetModalResult(mrOk);
    int clicked = -1;
    Edit->OnDropDownFooterButtonClick = [&](TObject *, int Index) { clicked = Index; };
    Edit->SetText(QStringLiteral("v"));
    Edit->ShowDropDown();
    Edit->SetTextInternal(QStringLiteral("typed"));
    Edit->DropDownForm()->Footer()->ButtonAt(0)->Perform(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(clicked, -1);
    EXPECT_EQ(Edit->GetText(), QStringLiteral("typed")) << "mrOk keeps the value";
}

TEST_F(DropDownTest, CancelRestoresTheValueBetweenPrefixAndSuffix)
{
    Edit->Prefix = QStringLiteral("$");
    Edit->Suffix = QStringLiteral(" net");
    Edit->SetText(QStringLiteral("5"));
    GuiTest::PressKey(Edit, VK_DOWN, {ssAlt});
    ASSERT_TRUE(Edit->DroppedDown());
    Edit->SetTextInternal(QStringLiteral("$77 net"));
    GuiTest::PressKey(Edit->DropDownForm(), VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->GetText(), QStringLiteral("5")) << "neither prefix nor suffix doubled";
}

TEST_F(DropDownTest, ReopeningStaysOpenWhileTheWindowSystemCatchesUp)
{
    GuiTest::PressKey(Edit, VK_F4);
    GuiTest::PressKey(Edit->DropDownForm(), VK_F4);
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    GuiTest::ProcessEvents(50);
    EXPECT_TRUE(Edit->DroppedDown()) << "an activation asked for before the opening does not close it";
    Edit->HideDropDown(false);
}

TEST_F(DropDownTest, AClickOnTheButtonOfAnOpenPopupClosesItForGood)
{
    TManualClock clock;
    Edit->SetText(QStringLiteral("kept"));
    Edit->ShowDropDown();
    SetForegroundWindow(Edit->DropDownForm()->Handle());
    Edit->SetTextInternal(QStringLiteral("changed"));
    // The press activates the edit's form, which closes the popup; the release comes within the
    // quarter second and does not open it again.
    GuiTest::Click(Edit->Button()->Button(), TPoint(5, 5));
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->GetText(), QStringLiteral("kept"));
    clock.Advance(300);
    GuiTest::Click(Edit->Button()->Button(), TPoint(5, 5));
    EXPECT_TRUE(Edit->DroppedDown());
    Edit->HideDropDown(false);
}
