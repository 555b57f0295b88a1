// The watch's settings and appearance: defaults, which writes are told through OnChange, the
// quiet reset and copies, and the colours of the library styles.
#include "dropdowns/ExtWatch.h"

#include <gtest/gtest.h>

namespace {

struct TCounter {
    int Count = 0;
    TNotifyEvent Handler()
    {
        return [this](TObject *) { ++Count; };
    }
};

} // namespace

TEST(WatchAppearance, Defaults)
{
    TWatchAppearance a;
    EXPECT_EQ(a.AMPMFont()->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(a.AMPMFont()->Size(), 10);
    EXPECT_EQ(a.HourFont()->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(a.HourFont()->Size(), 8);
    EXPECT_EQ(a.AMPMBorderColor(), clBlack);
    EXPECT_EQ(a.AMPMColor(), clWhite);
    EXPECT_EQ(a.AMPMFrame(), apRect);
    EXPECT_EQ(a.BorderColor(), clBlack);
    EXPECT_EQ(a.BorderWidth(), 4);
    EXPECT_EQ(a.BackgroundColor(), clWhite);
    EXPECT_EQ(a.BackgroundColorTo(), clNone);
    EXPECT_EQ(a.BackgroundGradient(), wgVertical);
    EXPECT_EQ(a.CenterPointBorderColor(), clNone);
    EXPECT_EQ(a.CenterPointOuterBorderColor(), clNone);
    EXPECT_EQ(a.CenterPointColor(), clBlack);
    EXPECT_EQ(a.CenterPointSize(), 4);
    EXPECT_EQ(a.HourColor(), clBlack);
    EXPECT_EQ(a.HourMarkLength(), 0);
    EXPECT_EQ(a.HourMarkWidth(), 1);
    EXPECT_EQ(a.HourMarkStyle(), hmsLine);
    EXPECT_EQ(a.HourPointer(), clBlack);
    EXPECT_EQ(a.HourPointerShadow(), clBtnShadow);
    EXPECT_EQ(a.HourPointerSize(), 4);
    EXPECT_EQ(a.MinuteColor(), TColor(0x808080));
    EXPECT_EQ(a.MinutePointer(), clBlack);
    EXPECT_EQ(a.MinutePointerShadow(), clBtnShadow);
    EXPECT_EQ(a.MinutePointerSize(), 3);
    EXPECT_EQ(a.MinuteMarkLength(), 0);
    EXPECT_EQ(a.MinuteMarkWidth(), 1);
    EXPECT_EQ(a.Picture()->Graphic(), nullptr);
    EXPECT_EQ(a.PointerStyle(), psLine);
    EXPECT_EQ(a.SecondPointer(), clRed);
    EXPECT_EQ(a.SecondPointerSize(), 1);
    EXPECT_EQ(a.Shape(), wsCircle);
    EXPECT_EQ(a.Size(), 0);
    EXPECT_EQ(a.TickMarks(), tmAll);

    TWatchSettings s;
    EXPECT_FALSE(s.Auto());
    EXPECT_EQ(s.TimeOffset(), 0);
    EXPECT_TRUE(s.Second());
}

TEST(WatchAppearance, WhatIsToldThroughOnChange)
{
    TWatchAppearance a;
    TCounter n;
    a.OnChange = n.Handler();
    a.SetAMPMColor(clRed);
    a.SetAMPMBorderColor(clRed);
    EXPECT_EQ(n.Count, 0) << "the AM/PM colours are stored quietly";
    a.SetBorderWidth(4);
    EXPECT_EQ(n.Count, 0) << "no change, no event";
    a.SetBorderWidth(2);
    EXPECT_EQ(n.Count, 1);
    TFont f;
    a.SetHourFont(&f);
    EXPECT_EQ(n.Count, 2) << "a font is always told";
    TBitmap b(4, 4);
    a.Picture()->SetGraphic(&b);
    EXPECT_EQ(n.Count, 3) << "and so is new picture content";

    a.ResetToDefaults();
    EXPECT_EQ(n.Count, 3) << "the reset is quiet";
    EXPECT_EQ(a.BorderWidth(), 4);
    EXPECT_EQ(a.AMPMColor(), clWhite);
    EXPECT_EQ(a.Picture()->Graphic(), nullptr);

    // A copy tells only the three values it sets last.
    TWatchAppearance other;
    other.SetBackgroundColor(clYellow);
    a.Assign(&other);
    EXPECT_EQ(n.Count, 3) << "a copy differing in the background only";
    EXPECT_EQ(a.BackgroundColor(), clYellow);
    other.SetTickMarks(tmHours);
    a.Assign(&other);
    EXPECT_EQ(n.Count, 4);
    EXPECT_EQ(a.TickMarks(), tmHours);
}

TEST(WatchSettings, CopyTellsOnlyAChangeOfAuto)
{
    TWatchSettings a, b;
    TCounter n;
    a.OnChange = n.Handler();
    b.SetTimeOffset(30);
    b.SetSecond(false);
    a.Assign(&b);
    EXPECT_EQ(n.Count, 0);
    EXPECT_EQ(a.TimeOffset(), 30);
    EXPECT_FALSE(a.Second());
    b.SetAuto(true);
    a.Assign(&b);
    EXPECT_EQ(n.Count, 1);
    EXPECT_TRUE(a.Auto());
}

TEST(WatchStyleColors, CustomTouchesOnlyTheOuterRingAndTheFonts)
{
    TWatchAppearance a, defaults;
    a.HourFont()->SetColor(clRed);
    a.AMPMFont()->SetColor(clRed);
    ApplyStyleColors(&a, tsCustom);
    EXPECT_EQ(a.CenterPointOuterBorderColor(), clBlack);
    EXPECT_EQ(a.HourFont()->Color(), clBlack);
    EXPECT_EQ(a.AMPMFont()->Color(), clBlack);
    a.SetCenterPointOuterBorderColor(clNone);
    EXPECT_EQ(a.BackgroundColor(), defaults.BackgroundColor());
    EXPECT_EQ(a.AMPMColor(), defaults.AMPMColor());
    EXPECT_EQ(a.HourPointer(), defaults.HourPointer());
    EXPECT_EQ(a.SecondPointer(), defaults.SecondPointer());
}

TEST(WatchStyleColors, WrittenRows)
{
    struct Row {
        TQRVStyle Style;
        TColor A, F, B, T, D, P, Q, H, S, R;
    };
    const Row rows[] = {
        {tsOffice2003Blue, 0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF, 0xFFFFFF},
        {tsOffice2003Classic, 0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
        {tsWindowsXP, 0x000000, clBtnFace, clBtnFace, clBtnFace, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x000000},
        {tsOffice2010Silver, 0xD2CDC8, 0xEDE5E0, 0xFFFFFF, 0xFFFFFF, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0, 0xD2CDC8},
        {tsOffice2007Obsidian, 0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, 0xFFFFFF, 0xF2F1F0},
    };
    for (const Row &r : rows) {
        TWatchAppearance a;
        ApplyStyleColors(&a, r.Style);
        EXPECT_EQ(a.AMPMBorderColor(), r.A) << r.Style;
        EXPECT_EQ(a.AMPMColor(), r.F) << r.Style;
        EXPECT_EQ(a.BackgroundColor(), r.B) << r.Style;
        EXPECT_EQ(a.BackgroundColorTo(), r.T) << r.Style;
        EXPECT_EQ(a.BorderColor(), r.D) << r.Style;
        EXPECT_EQ(a.CenterPointBorderColor(), r.P) << r.Style;
        EXPECT_EQ(a.CenterPointColor(), r.Q) << r.Style;
        for (TColor h : {a.HourColor(), a.MinuteColor(), a.HourPointer(), a.MinutePointer()})
            EXPECT_EQ(h, r.H) << r.Style;
        EXPECT_EQ(a.HourPointerShadow(), r.S) << r.Style;
        EXPECT_EQ(a.MinutePointerShadow(), r.S) << r.Style;
        EXPECT_EQ(a.SecondPointer(), r.R) << r.Style;
        EXPECT_EQ(a.CenterPointOuterBorderColor(), clBlack) << r.Style;
        const TColor font = r.Style == tsOffice2007Obsidian ? TColor(0xF2F1F0) : clBlack;
        EXPECT_EQ(a.HourFont()->Color(), font) << r.Style;
        EXPECT_EQ(a.AMPMFont()->Color(), font) << r.Style;
    }
}
