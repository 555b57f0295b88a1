// The analogue watch: the angle rules, setting the time by clicks and keys (with and without the
// hand animation, on a manual clock), Auto mode, and the painted face and hands.
#include "dropdowns/ExtWatch.h"

#include "platform/Forms.h"
#include "platform/RecordingCanvas.h"
#include "platform/TimeSource.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

TDateTime At(int H, int M, int S = 0)
{
    return EncodeTime(static_cast<Word>(H), static_cast<Word>(M), static_cast<Word>(S), 0);
}

UnicodeString HM(TDateTime T)
{
    return FormatDateTime(QStringLiteral("hh:nn"), T);
}

class WatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 200, 200);
        W = new TExtWatch(Form.get());
        W->SetParent(Form.get());
        W->SetBounds(0, 0, 180, 180);
        W->OnChange = [this](TObject *) { ++Changes; };
        Form->Show();
        GuiTest::ProcessEvents();
    }
    void TearDown() override
    {
        Form.reset();
        SetClock(nullptr);
    }
    // Runs the animation to its end on the manual clock.
    void Settle()
    {
        for (int i = 0; i < 200 && W->Animating(); ++i)
            Clock.Advance(1);
    }
    TManualClock Clock;
    std::unique_ptr<TForm> Form;
    TExtWatch *W = nullptr;
    int Changes = 0;
};

} // namespace

TEST(WatchGeometry, AnglesToMinutesAndHours)
{
    const TPoint c(90, 90);
    struct Case {
        int X, Y, Minute;
    };
    const Case cases[] = {
        {90, 20, 0},  {160, 90, 15}, {90, 160, 30}, {20, 90, 45},
        {85, 20, 59}, {75, 20, 58},  {95, 20, 1},   {139, 41, 7},
    };
    for (const Case &k : cases)
        EXPECT_EQ(AngleToMinute(c, k.X, k.Y), k.Minute) << k.X << "," << k.Y;
    EXPECT_EQ(MinuteToHour(0, true), 0);
    EXPECT_EQ(MinuteToHour(0, false), 12);
    EXPECT_EQ(MinuteToHour(58, true), 0);
    EXPECT_EQ(MinuteToHour(59, false), 12);
    EXPECT_EQ(MinuteToHour(15, true), 3);
    EXPECT_EQ(MinuteToHour(15, false), 15);
    EXPECT_EQ(WatchRectOf(180, 180, 0), TRect(10, 10, 170, 170));
    EXPECT_EQ(WatchRectOf(200, 100, 150), TRect(50, 0, 150, 100));
}

TEST_F(WatchTest, ClicksSetHourAndMinute)
{
    W->SetAnimation(false);
    struct Case {
        TDateTime From;
        TPoint Click;
        const char *To;
    };
    const Case cases[] = {
        {At(3, 20), {90, 40}, "00:20"},  // above the centre, morning
        {At(15, 20), {90, 40}, "12:20"}, // afternoon
        {At(3, 20), {75, 30}, "00:20"},  // minute angle 58
        {At(15, 20), {86, 25}, "12:20"}, // minute angle 59
        {At(17, 20), {140, 90}, "15:20"}, // 3 o'clock in the afternoon
        {At(3, 45), {90, 3}, "04:00"},   // outside at the top: forward through 59
        {At(3, 10), {90, 3}, "03:00"},   // back to 0 of the same hour
        {At(3, 10), {178, 90}, "03:15"},
    };
    for (const Case &c : cases) {
        W->SetTime(c.From);
        GuiTest::Click(W, c.Click);
        EXPECT_EQ(HM(W->Time()), QString::fromLatin1(c.To)) << HM(c.From).toStdString() << " click " << c.Click.X << "," << c.Click.Y;
    }
}

TEST_F(WatchTest, KeyCommands)
{
    W->SetAnimation(false);
    struct Case {
        TDateTime From;
        Word Key;
        const char *To;
    };
    const Case cases[] = {
        {At(10, 59), VK_RIGHT, "11:00"}, {At(23, 59), VK_RIGHT, "00:00"}, {At(10, 30), VK_RIGHT, "10:31"},
        {At(10, 0), VK_LEFT, "09:59"},   {At(0, 0), VK_LEFT, "23:59"},    {At(10, 30), VK_LEFT, "10:29"},
        {At(23, 5), VK_PRIOR, "00:05"},  {At(7, 5), VK_PRIOR, "08:05"},   {At(0, 5), VK_NEXT, "23:05"},
        {At(7, 5), VK_HOME, "12:05"},    {At(7, 5), VK_END, "07:00"},     {At(9, 5), 'P', "21:05"},
        {At(21, 5), 'a', "09:05"},       {At(9, 5), 'A', "09:05"},
    };
    for (const Case &c : cases) {
        W->SetTime(c.From);
        W->HandleKey(c.Key);
        EXPECT_EQ(HM(W->Time()), QString::fromLatin1(c.To)) << HM(c.From).toStdString() << " key " << c.Key;
    }
}

TEST_F(WatchTest, AnimatedChangeArrivesOnceAfterTicks)
{
    W->SetTime(At(3, 0));
    Changes = 0;
    W->HandleKey(VK_PRIOR);
    EXPECT_EQ(HM(W->Time()), QStringLiteral("03:00")) << "nothing is stored before the ticks";
    EXPECT_TRUE(W->Animating());
    Settle();
    EXPECT_EQ(HM(W->Time()), QStringLiteral("04:00"));
    EXPECT_EQ(Changes, 1);

    GuiTest::Click(W, TPoint(90, 3)); // minute 0 from 0: nothing
    W->SetTime(At(4, 45));
    Changes = 0;
    GuiTest::Click(W, TPoint(90, 3));
    Settle();
    EXPECT_EQ(HM(W->Time()), QStringLiteral("05:00")) << "the hand goes on forward through 59";
    EXPECT_EQ(Changes, 1);

    W->SetAnimationFactor(0);
    EXPECT_EQ(W->AnimationFactor(), 1);
    W->HandleKey(VK_RIGHT);
    Settle();
    EXPECT_EQ(HM(W->Time()), QStringLiteral("05:01"));
}

TEST_F(WatchTest, WithoutAnimationOnChangeOnlyForTheEarlierTarget)
{
    W->SetAnimation(false);
    W->SetTime(At(3, 0));
    W->HandleKey(VK_PRIOR);
    EXPECT_EQ(Changes, 0) << "target 0 before any animation";
    W->SetTime(At(23, 0));
    W->HandleKey(VK_PRIOR);
    EXPECT_EQ(Changes, 1) << "hour 0 equals the target";
}

TEST_F(WatchTest, MinuteOfSixtyIsRefused)
{
    W->SetTime(At(3, 7));
    try {
        W->SetMinute(60);
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid time"));
    }
    EXPECT_EQ(HM(W->Time()), QStringLiteral("03:07"));
}

TEST_F(WatchTest, AutoModeShowsTheClockAndIgnoresTheUser)
{
    const TDateTime now = EncodeDate(2026, 3, 4) + At(14, 30, 15);
    SetClock([now] { return now; });
    W->Settings()->SetTimeOffset(30);
    W->Settings()->SetAuto(true);
    EXPECT_EQ(FormatDateTime(QStringLiteral("hh:nn:ss"), W->GetTime()), QStringLiteral("15:00:15"));
    EXPECT_FALSE(W->AM());
    const TDateTime stored = W->Time();
    W->HandleKey(VK_PRIOR);
    GuiTest::Click(W, TPoint(90, 3));
    Settle();
    EXPECT_EQ(W->Time(), stored);
    EXPECT_FALSE(W->Animating());
}

// ---- painting ----

namespace {

class WatchPaintTest : public WatchTest {
protected:
    TColorRef Px(TBitmap &B, int X, int Y) { return ColorToRGB(B.Canvas()->Pixels(X, Y)); }
    void Paint(TBitmap &B) { W->PaintAll(B.Canvas()); }
};

} // namespace

TEST_F(WatchPaintTest, ShapesFillAndOutline)
{
    W->SetColor(0x00FF00);
    W->SetShowAMPM(false);
    W->SetShowNumbers(false);
    W->Appearance()->SetTickMarks(tmNone);
    W->Appearance()->SetCenterPointSize(0);
    W->Appearance()->SetPointerStyle(psShortLine);
    TBitmap b(180, 180);
    Paint(b);
    EXPECT_EQ(Px(b, 3, 3), 0x00FF00u) << "the circle is clipped: the corner keeps the background";
    EXPECT_EQ(Px(b, 90, 11), 0x000000u) << "outline";
    EXPECT_EQ(Px(b, 60, 60), 0xFFFFFFu) << "fill";

    W->Appearance()->SetShape(wsRect);
    Paint(b);
    EXPECT_EQ(Px(b, 0, 0), 0x000000u) << "the square outline runs round the client";
    EXPECT_EQ(Px(b, 5, 5), 0xFFFFFFu) << "and the fill reaches the corner";
}

TEST_F(WatchPaintTest, HandsAtThreeOClock)
{
    W->SetAnimation(false);
    W->SetTime(At(3, 0));
    W->SetShowAMPM(false);
    W->Appearance()->SetTickMarks(tmNone);
    W->Appearance()->SetCenterPointSize(0);
    TBitmap b(180, 180);
    Paint(b);
    const TColorRef shadow = ColorToRGB(clBtnShadow);
    EXPECT_EQ(Px(b, 90 + 38, 90), 0x000000u) << "hour hand to the right";
    EXPECT_EQ(Px(b, 90 + 44, 90), 0xFFFFFFu) << "ends at half the radius";
    EXPECT_EQ(Px(b, 90, 90 - 54), 0x000000u) << "minute hand up";
    EXPECT_EQ(Px(b, 90, 90 - 60), 0xFFFFFFu) << "ends at 0.7 of the radius";
    EXPECT_EQ(Px(b, 110, 94), shadow) << "hour shadow moved down";
    EXPECT_EQ(Px(b, 90, 100), shadow) << "minute shadow below the hand's tail";

    TRecordingCanvas rc;
    W->Appearance()->SetPointerStyle(psPointer);
    W->DrawPointers(&rc);
    const auto polys = rc.CallsOf(QStringLiteral("Polygon"));
    ASSERT_EQ(polys.size(), 4u);
    EXPECT_EQ(polys[1].Args, (std::vector<int>{82, 90, 90, 86, 130, 90, 90, 94})) << "hour: tail, side, tip, side";
    EXPECT_EQ(polys[0].Args, (std::vector<int>{83, 93, 91, 89, 131, 93, 91, 97})) << "its shadow";
    EXPECT_EQ(polys[3].Args[5], 90 - 56) << "minute tip";
    W->Appearance()->SetCenterPointSize(4);
    for (TPointerStyle s : {psShortLine, psLineArrow}) {
        rc.Clear();
        W->Appearance()->SetPointerStyle(s);
        W->DrawPointers(&rc);
        EXPECT_TRUE(rc.CallsOf(QStringLiteral("LineTo")).empty());
        EXPECT_TRUE(rc.CallsOf(QStringLiteral("Polygon")).empty());
        EXPECT_EQ(rc.CallsOf(QStringLiteral("Ellipse")).size(), 1u) << "only the centre point";
    }
}

TEST_F(WatchPaintTest, SecondHandOnlyInAutoWithSecond)
{
    auto seconds = [this] {
        TRecordingCanvas rc;
        W->DrawPointers(&rc);
        int n = 0;
        for (const auto &c : rc.CallsOf(QStringLiteral("LineTo")))
            n += c.PenColor == W->Appearance()->SecondPointer();
        return n;
    };
    EXPECT_EQ(seconds(), 0);
    SetClock([] { return At(10, 10, 10); });
    W->Settings()->SetAuto(true);
    EXPECT_EQ(seconds(), 1);
    W->Settings()->SetSecond(false);
    EXPECT_EQ(seconds(), 0);
}

TEST_F(WatchPaintTest, CentrePointRingsAndQuarterTicks)
{
    TWatchAppearance *a = W->Appearance();
    a->SetCenterPointSize(10);
    a->SetCenterPointOuterBorderColor(clBlack);
    a->SetCenterPointBorderColor(clBlue);
    TRecordingCanvas rc;
    W->DrawPointers(&rc);
    const auto e = rc.CallsOf(QStringLiteral("Ellipse"));
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].Args, (std::vector<int>{85, 85, 95, 95}));
    EXPECT_EQ(e[1].PenWidth, 2);
    EXPECT_EQ(e[2].Args, (std::vector<int>{86, 86, 94, 94})) << "the inner ring inside the outer one";
    EXPECT_EQ(e[2].PenWidth, 1);

    a->SetHourColor(0x123456);
    auto hourLines = [&] {
        TRecordingCanvas t;
        W->DrawTickMarks(&t);
        int n = 0;
        for (const auto &c : t.CallsOf(QStringLiteral("LineTo")))
            n += c.PenColor == 0x123456;
        return n;
    };
    EXPECT_EQ(hourLines(), 12);
    a->SetHourMarkStyle(hmsQuartDblLine);
    EXPECT_EQ(hourLines(), 16);
    a->SetTickMarks(tmQuartHours);
    EXPECT_EQ(hourLines(), 8);
}

TEST_F(WatchPaintTest, NumbersByTickMarks)
{
    auto numbers = [this] {
        TRecordingCanvas rc;
        W->DrawNumbers(&rc);
        QStringList t;
        for (const auto &c : rc.CallsOf(QStringLiteral("TextOut")))
            t << c.Text;
        return t.join(QLatin1Char(' '));
    };
    EXPECT_EQ(numbers(), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12"));
    W->Appearance()->SetTickMarks(tmQuartHours);
    EXPECT_EQ(numbers(), QStringLiteral("3 6 9 12"));
    W->Appearance()->SetTickMarks(tmHours);
    EXPECT_EQ(numbers(), QString());
}

TEST_F(WatchPaintTest, AMPMBoxPlaceAndScroll)
{
    TBitmap m(1, 1);
    m.Canvas()->Font()->Assign(W->Appearance()->AMPMFont());
    const TSize s = m.Canvas()->TextExtent(QStringLiteral("AM"));
    const TRect r = W->GetAMPMRect();
    EXPECT_EQ(r.Width(), s.cx + 8);
    EXPECT_EQ(r.Height(), s.cy);
    EXPECT_EQ(r.Top, 90 + static_cast<int>(std::nearbyint((80 - s.cy) / 3.0)));
    EXPECT_EQ((r.Left + r.Right) / 2, 90);

    // The scroll waits 10 ms a pixel; without a box colour the caption changes at once.
    W->SetTime(At(3, 0));
    Int64 t0 = GetTickCount();
    W->SetAM(false);
    EXPECT_GE(static_cast<Int64>(GetTickCount()) - t0, 10 * (s.cy - 2));
    W->Appearance()->SetAMPMColor(clNone);
    t0 = GetTickCount();
    W->SetAM(true);
    EXPECT_EQ(static_cast<Int64>(GetTickCount()) - t0, 0);
    EXPECT_TRUE(W->AM());
}

TEST_F(WatchPaintTest, StylePresets)
{
    W->SetStyle(wsClassic);
    EXPECT_EQ(W->Appearance()->HourMarkLength(), 0) << "the style it has already: nothing";
    W->SetStyle(wsBlack);
    EXPECT_EQ(W->Appearance()->BackgroundColor(), TColor(0x202020));
    EXPECT_EQ(W->Appearance()->HourPointer(), clWhite);
    EXPECT_FALSE(W->ShowAMPM());
    W->Appearance()->SetBorderWidth(9);
    W->SetStyle(wsBlack);
    EXPECT_EQ(W->Appearance()->BorderWidth(), 9);
    W->SetStyle(wsSports);
    EXPECT_EQ(W->Appearance()->CenterPointSize(), 50) << "180 / 3.6";
    EXPECT_EQ(W->Appearance()->HourPointer(), TColor(0x0000FF));
    EXPECT_EQ(W->Appearance()->BorderWidth(), 1) << "the preset starts from the defaults";
    W->SetStyle(wsTower);
    EXPECT_EQ(W->Appearance()->AMPMColor(), TColor(0xB1F0FE));
    EXPECT_FALSE(W->ShowAMPM()) << "the tower keeps the AM/PM setting";
    EXPECT_FALSE(W->ShowNumbers());
}
