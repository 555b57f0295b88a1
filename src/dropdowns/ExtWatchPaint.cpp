// Painting the watch: the cached face (background, outline, picture, ticks, numbers, AM/PM box)
// with the hands over it, the scroll of the AM/PM box, and the style presets.
#include "dropdowns/ExtWatch.h"

#include "controls/ExtDropDown.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int RoundEven(double Value)
{
    return static_cast<int>(std::nearbyint(Value));
}

double Rad(double Degrees)
{
    return Degrees * std::numbers::pi / 180.0;
}

void PenOf(TCanvas *C, TColor Color, int Width)
{
    C->Pen()->SetStyle(TPenStyle::psSolid);
    C->Pen()->SetColor(Color);
    C->Pen()->SetWidth(Width);
}

void Line(TCanvas *C, TPoint A, TPoint B)
{
    C->MoveTo(A.X, A.Y);
    C->LineTo(B.X, B.Y);
}

} // namespace

// ---- the pipeline ----

void TExtWatch::Paint()
{
    Compose(Canvas());
}

void TExtWatch::PaintAll(TCanvas *Target)
{
    FCacheValid = false;
    Compose(Target);
}

void TExtWatch::PaintPointers()
{
    // The cache stays; only the hands are drawn again over it.
    Repaint();
}

void TExtWatch::Compose(TCanvas *Target)
{
    const TRect c = ClientRect();
    if (!FCacheValid || FCache->Width() != c.Width() || FCache->Height() != c.Height()) {
        FCache->SetSize(c.Width(), c.Height());
        TCanvas *k = FCache->Canvas();
        // The face starts from the watch's erased background.
        k->Brush()->SetStyle(TBrushStyle::bsSolid);
        k->Brush()->SetColor(Color());
        k->FillRect(c);
        DrawBackground(k, c);
        DrawTickMarks(k);
        DrawNumbers(k);
        DrawAMPM(k);
        FCacheValid = true;
    }
    Target->Draw(0, 0, FCache.get());
    if (FScrollOffset >= 0 && FScrollStrip) {
        const TRect box = GetAMPMRect();
        TRect inner = box;
        InflateRect(inner, -1, -1);
        Target->CopyRect(inner, FScrollStrip->Canvas(),
                         TRect(0, FScrollOffset, inner.Width(), FScrollOffset + inner.Height()));
        if (FAppearance->AMPMBorderColor() != clNone) {
            Target->Brush()->SetStyle(TBrushStyle::bsClear);
            PenOf(Target, FAppearance->AMPMBorderColor(), 1);
            DrawAMPMFrame(Target, box);
        }
    }
    DrawPointers(Target);
}

// ---- the face ----

void TExtWatch::DrawBackground(TCanvas *ACanvas, const TRect &C)
{
    TWatchAppearance *a = FAppearance.get();
    const TRect F = a->Shape() == wsCircle ? WatchRect() : C;
    HRGN rgn = nullptr;
    if (a->Shape() == wsCircle)
        rgn = CreateEllipticRgn(F.Left - 1, F.Top - 1, F.Right + 2, F.Bottom + 2);
    else if (a->Shape() == wsRoundRect)
        rgn = CreateRoundRectRgn(F.Left - 1, F.Top - 1, F.Right + 2, F.Bottom + 2, 20, 20);
    if (rgn)
        ACanvas->SelectClipRgn(rgn);
    if (a->BackgroundColor() != clNone && a->BackgroundColorTo() != clNone) {
        DrawGradient(ACanvas, a->BackgroundColor(), a->BackgroundColorTo(), 80, F, a->BackgroundGradient() == wgRadial);
    } else if (a->BackgroundColor() != clNone) {
        ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        ACanvas->Brush()->SetColor(a->BackgroundColor());
        ACanvas->FillRect(F);
    }
    if (a->BorderColor() != clNone && a->BorderWidth() > 0) {
        PenOf(ACanvas, a->BorderColor(), a->BorderWidth());
        ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
        switch (a->Shape()) {
        case wsCircle: ACanvas->Ellipse(F); break;
        case wsRect: ACanvas->Rectangle(C); break;
        case wsRoundRect: ACanvas->RoundRect(C.Left, C.Top, C.Right, C.Bottom, 20, 20); break;
        }
    }
    if (rgn) {
        ACanvas->SelectClipRgn(nullptr);
        DeleteObject(rgn);
    }
    if (a->Picture()->Graphic() && a->Picture()->Width() > 0) {
        TBitmap b(C.Width(), C.Height());
        b.Canvas()->Draw(0, 0, a->Picture()->Graphic());
        // The colour of the bottom-left pixel shows the face through.
        b.SetTransparent(true);
        ACanvas->Draw(C.Left, C.Top, &b);
    }
}

void TExtWatch::DrawTickMarks(TCanvas *ACanvas)
{
    TWatchAppearance *a = FAppearance.get();
    if (a->TickMarks() == tmNone)
        return;
    const TPoint c = Center();
    const double rho = Radius() - a->BorderWidth() / 2;
    auto at = [&](double Degrees, double D) {
        return TPoint(c.X + RoundEven(D * std::cos(Rad(Degrees))), c.Y + RoundEven(D * std::sin(Rad(Degrees))));
    };
    const double hourFrom = a->HourMarkLength() > 0 ? rho - a->HourMarkLength() : 0.9 * rho;
    PenOf(ACanvas, a->HourColor(), a->HourMarkWidth());
    for (int q = 0; q < 4; ++q) {
        const double deg = 90.0 * q;
        const TPoint p1 = at(deg, hourFrom), p2 = at(deg, rho);
        if (a->HourMarkStyle() != hmsQuartDblLine) {
            Line(ACanvas, p1, p2);
            continue;
        }
        // 3 and 9 o'clock lie across y, 6 and 12 across x.
        const TPoint d = q % 2 == 0 ? TPoint(0, 2) : TPoint(2, 0);
        Line(ACanvas, TPoint(p1.X - d.X, p1.Y - d.Y), TPoint(p2.X - d.X, p2.Y - d.Y));
        Line(ACanvas, TPoint(p1.X + d.X, p1.Y + d.Y), TPoint(p2.X + d.X, p2.Y + d.Y));
    }
    if (a->TickMarks() == tmAll || a->TickMarks() == tmHours)
        for (int i = 0; i < 12; ++i)
            if (i % 3 != 0)
                Line(ACanvas, at(30.0 * i, hourFrom), at(30.0 * i, rho));
    if (a->TickMarks() != tmAll)
        return;
    const double minuteFrom = a->MinuteMarkLength() > 0 ? rho - a->MinuteMarkLength() : 0.95 * rho;
    PenOf(ACanvas, a->MinuteColor(), a->MinuteMarkWidth());
    for (int i = 0; i < 60; ++i)
        if (i % 5 != 0)
            Line(ACanvas, at(6.0 * i, minuteFrom), at(6.0 * i, rho));
}

void TExtWatch::DrawNumbers(TCanvas *ACanvas)
{
    TWatchAppearance *a = FAppearance.get();
    if (!FShowNumbers || a->TickMarks() == tmNone || a->TickMarks() == tmHours)
        return;
    const TPoint c = Center();
    const int rho = Radius() - a->BorderWidth() / 2;
    const int b = a->HourMarkLength() > 0 ? a->HourMarkLength() : RoundEven(rho - 0.9 * rho) + 2;
    ACanvas->Font()->Assign(a->HourFont());
    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    for (int i = 1; i <= 12; ++i) {
        if (a->TickMarks() == tmQuartHours && i % 3 != 0)
            continue;
        const UnicodeString text = QString::number(i);
        const int th = ACanvas->TextHeight(text), tw = ACanvas->TextWidth(text);
        const int d = i == 10 ? RoundEven(0.2 * th) : i == 11 ? RoundEven(0.15 * th) : 0;
        const double nu = rho - 2 * b - 2 - d + b / 2;
        const double theta = Rad(30.0 * i);
        const int x = c.X + 1 + RoundEven(nu * std::sin(theta));
        const int y = c.Y + 1 - RoundEven(nu * std::cos(theta));
        ACanvas->TextOut(x - (tw / 2 + 1), y - (th / 2 + 1), text);
    }
}

TRect TExtWatch::GetAMPMRect() const
{
    if (!FShowAMPM)
        return TRect(-1, -1, -1, -1);
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(FAppearance->AMPMFont());
    const TSize s = measure.Canvas()->TextExtent(QStringLiteral("AM"));
    const TPoint c = Center();
    const int w = s.cx + 8;
    const int left = c.X - w / 2;
    const int top = c.Y + RoundEven((Radius() - s.cy) / 3.0);
    return TRect(left, top, left + w, top + s.cy);
}

void TExtWatch::DrawAMPMFrame(TCanvas *ACanvas, const TRect &R)
{
    if (FAppearance->AMPMFrame() == apRoundRect)
        ACanvas->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 5, 5);
    else
        ACanvas->Rectangle(R);
}

void TExtWatch::DrawAMPM(TCanvas *ACanvas)
{
    if (!FShowAMPM)
        return;
    TWatchAppearance *a = FAppearance.get();
    TRect r = GetAMPMRect();
    if (a->AMPMColor() != clNone || a->AMPMBorderColor() != clNone) {
        ACanvas->Brush()->SetStyle(a->AMPMColor() == clNone ? TBrushStyle::bsClear : TBrushStyle::bsSolid);
        if (a->AMPMColor() != clNone)
            ACanvas->Brush()->SetColor(a->AMPMColor());
        PenOf(ACanvas, a->AMPMBorderColor() == clNone ? clBlack : a->AMPMBorderColor(), 1);
        if (a->AMPMBorderColor() == clNone)
            ACanvas->Pen()->SetStyle(TPenStyle::psClear);
        DrawAMPMFrame(ACanvas, r);
    }
    ACanvas->Font()->Assign(a->AMPMFont());
    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    DrawText(ACanvas, FAM ? QStringLiteral("AM") : QStringLiteral("PM"), -1, &r,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TExtWatch::ScrollAMPM(bool ToPM)
{
    TRect inner = GetAMPMRect();
    InflateRect(inner, -1, -1);
    const int h = inner.Height(), w = inner.Width();
    if (h <= 0 || w <= 0)
        return;
    FScrollStrip = std::make_unique<TBitmap>(w, 2 * h);
    TCanvas *s = FScrollStrip->Canvas();
    s->Brush()->SetStyle(TBrushStyle::bsSolid);
    s->Brush()->SetColor(FAppearance->AMPMColor());
    s->FillRect(TRect(0, 0, w, 2 * h));
    s->Font()->Assign(FAppearance->AMPMFont());
    s->Brush()->SetStyle(TBrushStyle::bsClear);
    TRect upper(0, 0, w, h), lower(0, h, w, 2 * h);
    DrawText(s, QStringLiteral("AM"), -1, &upper, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    DrawText(s, QStringLiteral("PM"), -1, &lower, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    for (int f = 0; f < h; ++f) {
        FScrollOffset = ToPM ? f : h - f;
        Repaint();
        Sleep(10);
    }
    FScrollOffset = -1;
    FScrollStrip.reset();
}

// ---- the hands ----

void TExtWatch::DrawPointers(TCanvas *ACanvas)
{
    TWatchAppearance *a = FAppearance.get();
    Word H, M, S, MS;
    DecodeTime(GetTime(), H, M, S, MS);
    if (FSettings->Auto() && FAM != (H < 12)) {
        // The box on the cached face shows the other half: the next paint draws it anew.
        FAM = H < 12;
        FCacheValid = false;
        Invalidate();
    }
    const TPoint c = Center();
    const double r = Radius();
    const double th = 30.0 * (H % 12) + M / 2.0, tm = 6.0 * M, ts = 6.0 * S;
    auto P = [&](double Theta, double K) {
        return TPoint(RoundEven(c.X + K * r * std::sin(Rad(Theta))), RoundEven(c.Y - K * r * std::cos(Rad(Theta))));
    };
    auto moved = [](TPoint P0, int Dx, int Dy) { return TPoint(P0.X + Dx, P0.Y + Dy); };
    const TPointerStyle style = a->PointerStyle();
    if (style == psLine) {
        if (a->HourPointerShadow() != clNone) {
            PenOf(ACanvas, a->HourPointerShadow(), a->HourPointerSize());
            Line(ACanvas, moved(P(th + 180, 0.1), -1, 3), moved(P(th, 0.46), -1, 3));
        }
        if (a->MinutePointerShadow() != clNone) {
            PenOf(ACanvas, a->MinutePointerShadow(), a->MinutePointerSize());
            Line(ACanvas, moved(P(tm + 180, 0.1), 0, 3), moved(P(tm, 0.65), 0, 3));
        }
        PenOf(ACanvas, a->HourPointer(), a->HourPointerSize());
        Line(ACanvas, P(th + 180, 0.1), P(th, 0.5));
        PenOf(ACanvas, a->MinutePointer(), a->MinutePointerSize());
        Line(ACanvas, P(tm + 180, 0.1), P(tm, 0.7));
    } else if (style == psPointer) {
        auto hand = [&](double Theta, double K, TColor Color, TColor Shadow) {
            std::vector<TPoint> poly{P(Theta + 180, 0.1), P(Theta - 90, 0.05), P(Theta, K), P(Theta + 90, 0.05)};
            ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
            if (Shadow != clNone) {
                std::vector<TPoint> shadow;
                for (const TPoint &p : poly)
                    shadow.push_back(moved(p, 1, 3));
                PenOf(ACanvas, Shadow, 1);
                ACanvas->Brush()->SetColor(Shadow);
                ACanvas->Polygon(shadow);
            }
            PenOf(ACanvas, Color, 1);
            ACanvas->Brush()->SetColor(Color);
            ACanvas->Polygon(poly);
        };
        hand(th, 0.5, a->HourPointer(), a->HourPointerShadow());
        hand(tm, 0.7, a->MinutePointer(), a->MinutePointerShadow());
    }
    if ((style == psLine || style == psPointer) && FSettings->Auto() && FSettings->Second()) {
        PenOf(ACanvas, a->SecondPointer(), a->SecondPointerSize());
        Line(ACanvas, P(ts + 180, 0.2), P(ts, 0.9));
    }
    const int s = a->CenterPointSize();
    if (s <= 0)
        return;
    const int x0 = RoundEven(c.X - s / 2.0), y0 = RoundEven(c.Y - s / 2.0);
    if (a->CenterPointColor() != clNone) {
        PenOf(ACanvas, a->CenterPointColor(), 1);
        ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        ACanvas->Brush()->SetColor(a->CenterPointColor());
        ACanvas->Ellipse(x0, y0, x0 + s, y0 + s);
    }
    int w = 0;
    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    if (a->CenterPointOuterBorderColor() != clNone) {
        w = RoundEven(0.2 * s);
        PenOf(ACanvas, a->CenterPointOuterBorderColor(), w);
        ACanvas->Ellipse(x0, y0, x0 + s, y0 + s);
    }
    if (a->CenterPointBorderColor() != clNone) {
        const int d = s - w;
        const int x1 = RoundEven(c.X - d / 2.0), y1 = RoundEven(c.Y - d / 2.0);
        PenOf(ACanvas, a->CenterPointBorderColor(), RoundEven(0.1 * s));
        ACanvas->Ellipse(x1, y1, x1 + d, y1 + d);
    }
}

// ---- style presets ----

void TExtWatch::SetStyle(TWatchStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    FAppearance->ResetToDefaults();
    ApplyPreset(Value);
    FCacheValid = false;
    Invalidate();
}

void TExtWatch::ApplyPreset(TWatchStyle Value)
{
    TWatchAppearance *a = FAppearance.get();
    auto font = [](TFont *F, const char *Name, int Size, bool Bold, TColor Color) {
        if (Name)
            F->SetName(QString::fromLatin1(Name));
        if (Size > 0)
            F->SetSize(Size);
        F->SetStyle(Bold ? TFontStyles{TFontStyle::fsBold} : TFontStyles{});
        if (Color != clNone)
            F->SetColor(Color);
    };
    auto background = [a](TColor From, TColor To) {
        a->SetBackgroundColor(From);
        a->SetBackgroundColorTo(To);
    };
    auto neon = [&](TColor C, TWatchShape S) {
        a->SetCenterPointSize(20);
        font(a->HourFont(), "MS Sans Serif", 8, false, clWindowText);
        a->SetHourColor(C);
        a->SetHourPointer(C);
        a->SetMinuteColor(C);
        a->SetMinutePointer(C);
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinutePointerShadow(clBtnShadow);
        a->SetHourPointerSize(2);
        a->SetMinutePointerSize(2);
        a->SetHourMarkLength(10);
        a->SetHourMarkWidth(2);
        a->SetHourMarkStyle(hmsQuartDblLine);
        a->SetCenterPointOuterBorderColor(clBlack);
        a->SetShape(S);
    };
    const int side = std::min(Height(), Width());
    bool ampm = FShowAMPM, numbers = true;
    switch (Value) {
    case wsClassic:
        a->SetHourMarkLength(8);
        a->SetMinuteMarkLength(4);
        a->SetHourPointerSize(5);
        FAnimation = true;
        FAnimationFactor = 10;
        font(a->HourFont(), "Comic Sans MS", 10, true, clNone);
        font(a->AMPMFont(), "MS Sans Serif", 0, false, clNone);
        ampm = true;
        break;
    case wsTower:
        a->SetShape(wsRect);
        a->SetPointerStyle(psPointer);
        a->SetTickMarks(tmHours);
        a->SetBorderWidth(1);
        a->SetBackgroundGradient(wgDiagonalForward);
        a->SetCenterPointSize(6);
        a->SetAMPMFrame(apRect);
        a->SetHourPointerSize(5);
        background(0xB1F0FE, 0x5BCCE8);
        a->SetAMPMColor(0xB1F0FE);
        a->SetCenterPointColor(0x002BD5);
        a->SetSecondPointer(0x002BD5);
        a->SetHourPointer(clBlack);
        font(a->HourFont(), "Century", 0, true, clWindowText);
        font(a->AMPMFont(), "MS Sans Serif", 0, false, clNone);
        numbers = false;
        break;
    case wsFluorescent:
        neon(0xFF3E3E, wsRoundRect);
        a->SetTickMarks(tmHours);
        a->SetAMPMFrame(apRoundRect);
        background(0x400000, 0x800000);
        font(a->AMPMFont(), "MS Sans Serif", 10, false, clWindowText);
        ampm = numbers = false;
        break;
    case wsEmerald:
        a->SetShape(wsRect);
        a->SetPointerStyle(psPointer);
        a->SetTickMarks(tmHours);
        a->SetHourMarkStyle(hmsQuartDblLine);
        a->SetBackgroundGradient(wgDiagonalForward);
        a->SetCenterPointSize(16);
        a->SetHourPointerSize(5);
        a->SetAMPMFrame(apRoundRect);
        a->SetAMPMColor(clNone);
        background(0x40A040, 0x206020);
        font(a->HourFont(), "MS Sans Serif", 0, false, a->BackgroundColor());
        a->SetHourColor(a->BackgroundColor());
        font(a->AMPMFont(), "MS Sans Serif", 0, false, 0xA00000);
        ampm = numbers = false;
        break;
    case wsBlueStar:
        a->SetShape(wsRoundRect);
        a->SetPointerStyle(psPointer);
        a->SetBackgroundGradient(wgRadial);
        a->SetHourPointerSize(5);
        a->SetAMPMFrame(apRoundRect);
        a->SetAMPMColor(clNone);
        a->SetAMPMBorderColor(clNone);
        background(0xFFE0C0, 0xC08040);
        font(a->HourFont(), "MS Sans Serif", 8, false, a->BackgroundColor());
        font(a->AMPMFont(), "MS Sans Serif", 10, false, 0xA00000);
        ampm = numbers = true;
        break;
    case wsFuchsia:
        neon(0xFFD0FF, wsRect);
        a->SetTickMarks(tmQuartHours);
        a->SetAMPMFrame(apRoundRect);
        background(0x800080, 0x400040);
        font(a->AMPMFont(), "MS Sans Serif", 10, false, clWindowText);
        ampm = numbers = false;
        break;
    case wsBlack:
        a->SetMinuteMarkLength(4);
        a->SetHourPointerSize(5);
        background(0x202020, clNone);
        a->SetBorderColor(clBlack);
        a->SetCenterPointColor(clWhite);
        a->SetCenterPointBorderColor(clWhite);
        a->SetCenterPointOuterBorderColor(clWhite);
        a->SetHourColor(0x585858);
        a->SetMinuteColor(0x585858);
        a->SetHourPointer(clWhite);
        a->SetMinutePointer(clWhite);
        font(a->HourFont(), "Century Gothic", 11, false, clWhite);
        font(a->AMPMFont(), "MS Sans Serif", 0, false, clNone);
        ampm = false;
        break;
    case wsBlackWhite:
        a->SetPointerStyle(psPointer);
        a->SetTickMarks(tmQuartHours);
        a->SetBorderWidth(8);
        a->SetCenterPointSize(8);
        a->SetMinuteMarkLength(4);
        a->SetHourPointerSize(5);
        font(a->HourFont(), "Century Gothic", 14, true, clNone);
        ampm = false;
        break;
    case wsGray:
        a->SetBackgroundGradient(wgRadial);
        a->SetHourPointerSize(1);
        a->SetMinutePointerSize(1);
        a->SetHourPointerShadow(clNone);
        a->SetMinutePointerShadow(clNone);
        background(0xF0F0F0, 0xA0A0A0);
        font(a->HourFont(), "Comic Sans MS", 8, false, clNone);
        font(a->AMPMFont(), "MS Sans Serif", 10, false, clNone);
        ampm = true;
        break;
    case wsSuperNova:
        a->SetCenterPointSize(10);
        a->SetHourMarkLength(static_cast<Byte>(std::clamp(RoundEven(side / 4.5), 0, 255)));
        a->SetMinuteMarkLength(static_cast<Byte>(std::clamp(side / 3, 0, 255)));
        a->SetBorderColor(clNone);
        background(0x000000, 0x400000);
        a->SetHourColor(0x00FFFF);
        a->SetMinuteColor(0x0080FF);
        ampm = numbers = false;
        break;
    case wsSports:
        a->SetTickMarks(tmQuartHours);
        a->SetBorderWidth(1);
        a->SetCenterPointSize(static_cast<Byte>(std::clamp(RoundEven(side / 3.6), 0, 255)));
        a->SetHourPointerSize(2);
        a->SetMinutePointerSize(2);
        a->SetMinuteMarkLength(1);
        background(0x000000, clNone);
        a->SetBorderColor(clBlack);
        a->SetCenterPointColor(0x191919);
        a->SetCenterPointBorderColor(0xFF0000);
        a->SetCenterPointOuterBorderColor(clBlack);
        a->SetHourColor(0xABB0B1);
        a->SetHourPointer(0x0000FF);
        a->SetMinutePointer(0x00FFFF);
        a->SetMinuteColor(0x808080);
        a->SetSecondPointer(0x188BFE);
        a->SetHourPointerShadow(clNone);
        a->SetMinutePointerShadow(clNone);
        font(a->HourFont(), "Times New Roman", 9, false, 0x797979);
        ampm = false;
        break;
    case wsSmooth:
        a->SetTickMarks(tmQuartHours);
        a->SetBorderWidth(1);
        a->SetCenterPointSize(6);
        a->SetHourPointerSize(2);
        a->SetMinutePointerSize(2);
        a->SetMinuteMarkLength(1);
        background(0xFFFFFF, 0xE0E0E0);
        a->SetBorderColor(0x808080);
        font(a->HourFont(), "Times New Roman", 9, false, clNone);
        ampm = false;
        break;
    }
    SetShowAMPM(ampm);
    SetShowNumbers(numbers);
}
