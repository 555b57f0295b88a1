// Colour arithmetic, gradients, selection frames, progress bars and cell shapes.

#include "controls/ExtGridDraw.h"

#include "platform/SysUtils.h"
#include "platform/WinGdi.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Nearest integer, halves to the even one; NaN gives 0 and the result stays an int.
int RoundEven(double Value)
{
    if (std::isnan(Value))
        return 0;
    constexpr double Lo = std::numeric_limits<int>::min();
    constexpr double Hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::nearbyint(std::clamp(Value, Lo, Hi)));
}

int ClampByte(int Value) { return std::clamp(Value, 0, 255); }

struct TRGB {
    int R, G, B;
};

TRGB Split(TColor Color)
{
    const TColorRef C = ColorToRGB(Color);
    return {GetRValue(C), GetGValue(C), GetBValue(C)};
}

TColor Join(int R, int G, int B) { return static_cast<TColor>(RGB(ClampByte(R), ClampByte(G), ClampByte(B))); }

void PenAndBrush(TCanvas *Canvas, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Brush()->SetColor(Color);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

void Line(TCanvas *Canvas, int X1, int Y1, int X2, int Y2)
{
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

} // namespace

// ---- colour arithmetic ----

TColor DarkenColorHalf(TColor Color)
{
    const TRGB C = Split(Color);
    return Join(C.R / 2, C.G / 2, C.B / 2);
}

TColor ColorScalePercent(TColor Color, int Percent)
{
    const TRGB C = Split(Color);
    const auto Scale = [Percent](int V) { return RoundEven(V + static_cast<double>(Percent) * V / 100.0); };
    return Join(Scale(C.R), Scale(C.G), Scale(C.B));
}

TColor InterpolateColor(TColor From, TColor To, int Min, int Max, int Position)
{
    if (To == clNone || Max == Min)
        return From;
    const TRGB F = Split(From);
    const TRGB T = Split(To);
    const double Span = static_cast<double>(Max) - static_cast<double>(Min);
    const auto Step = [&](int A, int B) { return A + RoundEven((B - A) / Span * Position); };
    return Join(Step(F.R, T.R), Step(F.G, T.G), Step(F.B, T.B));
}

// ---- gradients and boxes ----

void FillRectColor(TCanvas *Canvas, const TRect &R, TColor Color)
{
    if (!Canvas)
        return;
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

void FrameRectColor(TCanvas *Canvas, const TRect &R, TColor Color)
{
    if (!Canvas)
        return;
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FrameRect(R);
}

TRect InsetRect(const TRect &R, int By)
{
    return TRect(R.Left + By, R.Top + By, R.Right - By, R.Bottom - By);
}

void DrawSteppedGradient(TCanvas *Canvas, TColor From, TColor To, int MaxSteps, TRect R, bool Horizontal)
{
    if (!Canvas)
        return;
    if (R.Top > R.Bottom)
        std::swap(R.Top, R.Bottom);
    if (R.Top == R.Bottom)
        return;
    if (From == clNone || To == clNone) {
        FillRectColor(Canvas, R, From == clNone && To != clNone ? To : From);
        return;
    }
    const int Size = (Horizontal ? R.Right - R.Left : R.Bottom - R.Top) - 1;
    if (Size < 1) {
        FillRectColor(Canvas, R, From);
        return;
    }
    const int N = std::clamp(MaxSteps, 1, Size);
    const TRGB F = Split(From);
    const TRGB T = Split(To);
    const int Length = static_cast<int>(static_cast<double>(Size) / N + 1);
    for (int i = 0; i <= N; ++i) {
        const auto Step = [&](int A, int B) { return A + RoundEven(static_cast<double>(i) * (B - A) / N); };
        PenAndBrush(Canvas, Join(Step(F.R, T.R), Step(F.G, T.G), Step(F.B, T.B)));
        const int Offset = static_cast<int>(static_cast<long long>(i) * Size / N);
        // A band outlined in its own colour covers what a plain fill covers; the fill spares
        // the outline's stroking, which a grid pays for every header cell it paints.
        if (Horizontal)
            Canvas->FillRect(TRect(R.Left + Offset, R.Top, std::min(R.Left + Offset + Length, R.Right), R.Bottom));
        else
            Canvas->FillRect(TRect(R.Left, R.Top + Offset, R.Right, std::min(R.Top + Offset + Length, R.Bottom)));
    }
}

void DrawMirrorGradientRect(TCanvas *Canvas, TRect R, TColor Color, TColor ColorTo, TColor MirrorColor,
                            TColor MirrorColorTo, bool Vertical, TColor BorderColor, bool SideLinesOnly, bool Fill)
{
    if (!Canvas)
        return;
    if (Fill && Color != clNone) {
        if (MirrorColor == clNone && ColorTo == clNone) {
            FillRectColor(Canvas, TRect(R.Left, R.Top, R.Right, R.Bottom + 1), Color);
        } else if (MirrorColor == clNone) {
            DrawSteppedGradient(Canvas, Color, ColorTo, 128, R, !Vertical);
        } else {
            TRect First = R;
            TRect Second = R;
            if (Vertical) {
                First.Bottom = R.Top + (R.Bottom - R.Top) / 2;
                Second.Top = First.Bottom;
            } else {
                First.Right = R.Left + (R.Right - R.Left) / 2;
                Second.Left = First.Right;
            }
            DrawSteppedGradient(Canvas, Color, ColorTo, 128, First, !Vertical);
            DrawSteppedGradient(Canvas, MirrorColor, MirrorColorTo, 128, Second, !Vertical);
        }
    }
    if (BorderColor == clNone)
        return;
    if (SideLinesOnly) {
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetStyle(TPenStyle::psSolid);
        Line(Canvas, R.Left, R.Top, R.Left, R.Bottom);
        Line(Canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
    } else {
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
}

void PaintStyledSelection(TCanvas *Canvas, TColor FillFrom, TColor FillTo, TColor MirrorFrom, TColor MirrorTo,
                          TColor InnerUpperColor, TColor InnerLowerColor, TColor OuterLineColor,
                          TColor InnerCornerColor, TColor OuterCornerColor, TRect R, int Piece)
{
    if (!Canvas)
        return;
    const bool LeftEnd = Piece == 0 || Piece == 1;
    const bool RightEnd = Piece == 0 || Piece == 2;
    R.Bottom -= 2;
    R.Right -= 1;
    const int M = R.Top + (R.Bottom - R.Top) / 2;
    const int A = LeftEnd ? 2 : 0;
    const int B = RightEnd ? 2 : 0;
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);

    Canvas->Pen()->SetColor(InnerUpperColor);
    Line(Canvas, R.Left, R.Top + 1, R.Right, R.Top + 1);
    if (LeftEnd)
        Line(Canvas, R.Left + 1, R.Top + 1, R.Left + 1, M);
    if (RightEnd)
        Line(Canvas, R.Right - 2, R.Top + 1, R.Right - 2, M);

    Canvas->Pen()->SetColor(InnerLowerColor);
    Line(Canvas, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
    if (LeftEnd)
        Line(Canvas, R.Left + 1, M, R.Left + 1, R.Bottom - 1);
    if (RightEnd)
        Line(Canvas, R.Right - 2, M, R.Right - 2, R.Bottom - 1);

    Canvas->Pen()->SetColor(OuterLineColor);
    Line(Canvas, R.Left + A, R.Top, R.Right - B, R.Top);
    Line(Canvas, R.Left + A, R.Bottom, R.Right - B, R.Bottom);
    if (RightEnd)
        Line(Canvas, R.Right - 1, R.Top + 2, R.Right - 1, R.Bottom - 1);
    if (LeftEnd)
        Line(Canvas, R.Left, R.Top + 2, R.Left, R.Bottom - 1);

    const auto Corner = [&](int X, int Inner, int Outer) {
        // Inner is the column one step inside the end, Outer the end column itself.
        Canvas->SetPixel(Inner, R.Top, InnerCornerColor);
        Canvas->SetPixel(Inner, R.Top + 1, InnerCornerColor);
        Canvas->SetPixel(Outer, R.Top + 1, InnerCornerColor);
        Canvas->SetPixel(Inner, R.Bottom, InnerCornerColor);
        Canvas->SetPixel(Inner, R.Bottom - 1, InnerCornerColor);
        Canvas->SetPixel(Outer, R.Bottom - 1, InnerCornerColor);
        Canvas->SetPixel(X, R.Top, OuterCornerColor);
        Canvas->SetPixel(X, R.Bottom, OuterCornerColor);
    };
    if (LeftEnd)
        Corner(R.Left, R.Left + 1, R.Left);
    if (RightEnd)
        Corner(R.Right - 1, R.Right - 2, R.Right - 1);

    const TRect Inside(R.Left + A, R.Top + 2, R.Right - B, R.Bottom - 1);
    if (FillTo == clNone) {
        FillRectColor(Canvas, Inside, FillFrom);
    } else if (MirrorFrom == clNone) {
        DrawSteppedGradient(Canvas, FillFrom, FillTo, 16, Inside, false);
    } else {
        TRect Upper = Inside;
        TRect Lower = Inside;
        Upper.Bottom = Inside.Top + (Inside.Bottom - Inside.Top) / 2;
        Lower.Top = Upper.Bottom;
        DrawSteppedGradient(Canvas, FillFrom, FillTo, 16, Upper, false);
        DrawSteppedGradient(Canvas, MirrorFrom, MirrorTo, 16, Lower, false);
    }
}

// ---- progress ----

void DrawCellProgressBar(TCanvas *Canvas, TRect R, TColor DoneColor, TColor DoneTextColor, TColor RemainingColor,
                         TColor RemainingTextColor, double Value, int MarginX, int MarginY, double Min, double Max,
                         const UnicodeString &Format, TColor BorderColor, bool Printing)
{
    if (!Canvas)
        return;
    const TColor Remembered = Canvas->Brush()->Color();
    PenAndBrush(Canvas, DoneColor);
    Canvas->Font()->SetColor(DoneTextColor);

    UnicodeString Text;
    int Percent = 0;
    if (!Format.isEmpty()) {
        const double Span = Max - Min;
        Percent = Span == 0 ? 0 : RoundEven((Value - Min) * 100 / Span);
        try {
            if (Format.contains(QLatin1Char('d')) || Format.contains(QLatin1Char('u')))
                Text = ::Format(Format, {RoundEven(Value)});
            else
                Text = ::Format(Format, {Value});
        } catch (const Exception &) {
            // A format that does not take the value must not break the paint.
            Text = IntToStr(std::clamp(Percent, 0, 100)) + QLatin1Char('%');
        }
    } else {
        Percent = RoundEven(Value);
        Text = IntToStr(Percent) + QLatin1Char('%');
    }
    Percent = std::clamp(Percent, 0, 100);

    R = TRect(R.Left + MarginX, R.Top + MarginY, R.Right - MarginX, R.Bottom - MarginY);
    const int Width = R.Right - R.Left;
    const int Height = R.Bottom - R.Top;
    const int Split = R.Left + RoundEven(static_cast<double>(Percent) * Width / 100);
    const TSize Extent = Canvas->TextExtent(Text);
    const int Sign = Printing ? -1 : 1;
    const int X = R.Left + (Width - Extent.cx) / 2;
    const int Y = R.Top + (Height - Extent.cy * Sign) / 2;

    Canvas->Brush()->SetColor(DoneColor);
    Canvas->Font()->SetColor(DoneTextColor);
    Canvas->TextRect(TRect(R.Left, R.Top, Split, R.Bottom), X, Y, Text);
    Canvas->Brush()->SetColor(RemainingColor);
    Canvas->Font()->SetColor(RemainingTextColor);
    Canvas->TextRect(TRect(Split, R.Top, R.Right, R.Bottom), X, Y, Text);

    Canvas->Brush()->SetColor(BorderColor);
    R = TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    if (BorderColor != clNone)
        Canvas->FrameRect(R);
    Canvas->Brush()->SetColor(Remembered);
    R = TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    Canvas->FrameRect(R);
}

void DrawProgressPie(TCanvas *Canvas, const TRect &R, TColor Color, int Percent, bool Printing)
{
    if (!Canvas)
        return;
    Canvas->Pen()->SetColor(clGray);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Ellipse(R);
    const int W = R.Right - R.Left;
    const int H = R.Bottom - R.Top;
    const int Cx = R.Left + W / 2;
    const int Cy = R.Top + H / 2;
    Line(Canvas, Cx, R.Top, Cx, Cy);
    const double Angle = Percent / 100.0 * 2 * M_PI;
    const int Px = Cx + RoundEven((W + 1) / 2.0 * std::sin(Angle));
    const int Py = Cy - RoundEven((H + 1) / 2.0 * std::cos(Angle));
    Line(Canvas, Cx, Cy, Px, Py);
    if (Percent != 0) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(Color);
        Canvas->FloodFill(Cx + 1, Printing ? R.Top - 2 : R.Top + 2, clGray, TFillStyle::fsBorder);
    }
}

void DrawPlusMinusBar(TCanvas *Canvas, TRect R, double Value, double Maximum, bool ShowValue, TColor NegativeColor,
                      TColor PositiveColor)
{
    if (!Canvas)
        return;
    R = TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
    if (!(Maximum > 0) || std::isnan(Value))
        return;
    const int Half = (R.Right - R.Left) / 2;
    const double Limited = std::clamp(Value, -Maximum, Maximum);
    const int Length = RoundEven(Half * Limited / Maximum);
    const int Middle = R.Left + Half;
    if (Length > 0) {
        PenAndBrush(Canvas, PositiveColor);
        Canvas->Rectangle(Middle, R.Top, Middle + Length, R.Bottom);
    } else if (Length < 0) {
        PenAndBrush(Canvas, NegativeColor);
        Canvas->Rectangle(Middle + Length, R.Top, Middle, R.Bottom);
    }
    if (ShowValue) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        const UnicodeString Text = FloatToStr(Limited);
        const TSize Extent = Canvas->TextExtent(Text);
        Canvas->TextOut(R.Left + (R.Right - R.Left - Extent.cx) / 2, R.Top + (R.Bottom - R.Top - Extent.cy) / 2, Text);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}

namespace {

// One filled piece of the appearance bar: two gradients across its thickness, or solid.
void AppearancePiece(TCanvas *Canvas, const TRect &Piece, TColor Color, TColor ColorTo, const ProgressBarLook &Look)
{
    if (Piece.IsEmpty())
        return;
    if (!Look.ShowGradient) {
        FillRectColor(Canvas, Piece, Color);
        return;
    }
    TRect First = Piece;
    TRect Second = Piece;
    if (Look.Vertical) {
        First.Right = Piece.Left + (Piece.Right - Piece.Left) / 2;
        Second.Left = First.Right;
        DrawSteppedGradient(Canvas, ColorTo, Color, Look.Steps, First, true);
        DrawSteppedGradient(Canvas, Color, ColorTo, Look.Steps, Second, true);
    } else {
        First.Bottom = Piece.Top + (Piece.Bottom - Piece.Top) / 2;
        Second.Top = First.Bottom;
        DrawSteppedGradient(Canvas, ColorTo, Color, Look.Steps, First, false);
        DrawSteppedGradient(Canvas, Color, ColorTo, Look.Steps, Second, false);
    }
}

// The piece that runs Start..End pixels away from the bar's start edge.
TRect AlongBar(const TRect &R, const ProgressBarLook &Look, int Start, int End)
{
    if (Look.Vertical)
        return TRect(R.Left + 1, R.Bottom - 1 - End, R.Right - 1, R.Bottom - 1 - Start);
    return TRect(R.Left + 1 + Start, R.Top + 1, R.Left + 1 + End, R.Bottom - 1);
}

// Blocks measure from the very edge of the area, 2 pixels from its sides.
TRect Block(const TRect &R, const ProgressBarLook &Look, int From, int To)
{
    if (Look.Vertical)
        return TRect(R.Left + 2, R.Bottom - To, R.Right - 2, R.Bottom - From);
    return TRect(R.Left + From, R.Top + 2, R.Left + To, R.Bottom - 2);
}

} // namespace

void DrawAppearanceProgressBar(TCanvas *Canvas, const TRect &R, int Percent, const ProgressBarLook &Look)
{
    if (!Canvas)
        return;
    const TColor Frame = Look.ShowBorder ? Look.BorderColor : Look.UnCompleteColor;
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Look.UnCompleteColor);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(Frame);
    Canvas->Rectangle(R);

    const int L = (Look.Vertical ? R.Bottom - R.Top : R.Right - R.Left) - 2;
    if (Percent > 0 && L > 0) {
        const int P = std::min(Percent, 100);
        if (Look.Stacked) {
            const int L1 = RoundEven(std::min(P, Look.Level1Perc) / 100.0 * L);
            AppearancePiece(Canvas, AlongBar(R, Look, 0, L1), Look.Level0Color, Look.Level0ColorTo, Look);
            int L2 = 0;
            if (P >= Look.Level1Perc) {
                L2 = RoundEven(static_cast<double>(L) * (std::min(P, Look.Level2Perc) - Look.Level1Perc) / 100);
                AppearancePiece(Canvas, AlongBar(R, Look, L1, L1 + L2), Look.Level1Color, Look.Level1ColorTo, Look);
            }
            if (P >= Look.Level2Perc) {
                const int L3 =
                    P >= 100 ? L - L1 - L2 : RoundEven(static_cast<double>(L) * (P - Look.Level2Perc) / 100);
                AppearancePiece(Canvas, AlongBar(R, Look, L1 + L2, L1 + L2 + L3), Look.Level3Color,
                                Look.Level3ColorTo, Look);
            }
        } else {
            TColor C = Look.Level2Color;
            TColor CTo = Look.Level2ColorTo;
            if (Percent < Look.Level1Perc) {
                C = Look.Level0Color;
                CTo = Look.Level0ColorTo;
            } else if (Percent < Look.Level2Perc) {
                C = Look.Level1Color;
                CTo = Look.Level1ColorTo;
            } else if (Percent >= 100) {
                C = Look.Level3Color;
                CTo = Look.Level3ColorTo;
            }
            if (Look.CompletionSmooth) {
                AppearancePiece(Canvas, AlongBar(R, Look, 0, RoundEven(P / 100.0 * L)), C, CTo, Look);
            } else {
                const int T = RoundEven(static_cast<double>(P) * L / 100);
                if (T > 9) {
                    int End = 9;
                    AppearancePiece(Canvas, Block(R, Look, 2, End), C, CTo, Look);
                    for (int i = 1; i < T / 9; ++i) {
                        AppearancePiece(Canvas, Block(R, Look, End + 2, End + 9), C, CTo, Look);
                        End += 9;
                    }
                    const int Rest = T % 9;
                    if (Rest > 2)
                        AppearancePiece(Canvas, Block(R, Look, End + 2, End + Rest + 1), C, CTo, Look);
                } else if (T >= 2) {
                    AppearancePiece(Canvas, Block(R, Look, 2, T + 1), C, CTo, Look);
                }
            }
        }
    }

    if (Look.ShowPercentage) {
        if (Look.Font)
            Canvas->Font()->Assign(Look.Font);
        Canvas->Font()->SetColor(Look.CompleteFontColor);
        Canvas->Font()->SetOrientation(Look.Vertical ? 900 : 0);
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        const UnicodeString Text = IntToStr(Percent) + QLatin1Char('%');
        const TSize Extent = Canvas->TextExtent(Text);
        if (Look.Vertical)
            Canvas->TextOut(R.Left + (R.Right - R.Left - Extent.cy) / 2,
                            R.Bottom - (R.Bottom - R.Top - Extent.cx) / 2, Text);
        else
            Canvas->TextOut(R.Left + (R.Right - R.Left - Extent.cx) / 2, R.Top + (R.Bottom - R.Top - Extent.cy) / 2,
                            Text);
        Canvas->Font()->SetOrientation(0);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }

    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas->Pen()->SetColor(Frame);
    Canvas->Rectangle(R);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

// ---- cell shapes ----

void PaintCellShape(TCanvas *Canvas, int X, int Y, int Width, int Height, TCellShape Shape, TColor BrushColor,
                    TColor PenColor)
{
    if (!Canvas || Shape < csRectangle || Shape > csHalfStar)
        return;
    Canvas->Pen()->SetColor(PenColor);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Brush()->SetColor(BrushColor);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    int W = Width;
    int H = Height;
    if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare)
        W = H = std::min(W, H);
    const int Hw = W / 2;
    const int Hh = H / 2;
    const int We = W - W % 2;
    const int He = H - H % 2;
    using P = TPoint;
    const auto Star = [&](const std::vector<int> &Degrees) {
        std::vector<TPoint> Points;
        const int Cx = X + Hw;
        const int Cy = Y + Hh;
        for (int Deg : Degrees) {
            const bool Outer = (Deg / 36) % 2 == 0;
            const double Rx = Outer ? Hw : Hw / 3.0;
            const double Ry = Outer ? Hh : Hh / 3.0;
            const double A = Deg * M_PI / 180;
            Points.emplace_back(Cx + RoundEven(std::sin(A) * Rx), Cy - RoundEven(std::cos(A) * Ry));
        }
        Canvas->Polygon(Points);
    };
    switch (Shape) {
    case csRectangle:
    case csSquare:
        Canvas->Rectangle(X + 1, Y + 1, X + W - 1, Y + H - 1);
        break;
    case csCircle:
    case csEllips:
        Canvas->Ellipse(X, Y, X + W, Y + H);
        break;
    case csRoundRect:
    case csRoundSquare:
        Canvas->RoundRect(X, Y, X + W, Y + H, 10, 10);
        break;
    case csTriangleLeft:
        Canvas->Polygon({P(X + W, Y), P(X + W, Y + H), P(X, Y + Hh)});
        break;
    case csTriangleRight:
        Canvas->Polygon({P(X, Y), P(X, Y + H), P(X + W, Y + Hh)});
        break;
    case csTriangleUp:
        Canvas->Polygon({P(X, Y + H), P(X + W, Y + H), P(X + Hw, Y)});
        break;
    case csTriangleDown:
        Canvas->Polygon({P(X, Y), P(X + W, Y), P(X + Hw, Y + H)});
        break;
    case csDiamond:
        Canvas->Polygon({P(X, Y + Hh), P(X + Hw, Y), P(X + 2 * Hw, Y + Hh), P(X + Hw, Y + 2 * Hh)});
        break;
    case csLineVert:
        Canvas->Rectangle(X + Hw, Y, X + Hw + 1, Y + H);
        break;
    case csLineHorz:
        Canvas->Rectangle(X, Y + Hh, X + W, Y + Hh + 1);
        break;
    case csArrowUp:
        Canvas->Polygon({P(X, Y + Hh), P(X + We / 2, Y), P(X + We, Y + Hh), P(X + 3 * (We / 4), Y + Hh),
                         P(X + 3 * (We / 4), Y + H), P(X + We / 4, Y + H), P(X + We / 4, Y + Hh)});
        break;
    case csArrowDown:
        Canvas->Polygon({P(X, Y + Hh), P(X + We / 2, Y + H), P(X + We, Y + Hh), P(X + 3 * (We / 4), Y + Hh),
                         P(X + 3 * (We / 4), Y), P(X + We / 4, Y), P(X + We / 4, Y + Hh)});
        break;
    case csArrowLeft:
        Canvas->Polygon({P(X, Y + He / 2), P(X + Hw, Y), P(X + Hw, Y + He / 4), P(X + W, Y + He / 4),
                         P(X + W, Y + 3 * (He / 4)), P(X + Hw, Y + 3 * (He / 4)), P(X + Hw, Y + He)});
        break;
    case csArrowRight:
        Canvas->Polygon({P(X + W, Y + He / 2), P(X + Hw, Y), P(X + Hw, Y + He / 4), P(X, Y + He / 4),
                         P(X, Y + 3 * (He / 4)), P(X + Hw, Y + 3 * (He / 4)), P(X + Hw, Y + He)});
        break;
    case csStar:
        Star({0, 36, 72, 108, 144, 180, 216, 252, 288, 324});
        break;
    case csHalfStar:
        Star({0, 180, 216, 252, 288, 324});
        break;
    }
}

// ---- small drawings ----

void DrawSmallDownArrow(TCanvas *Canvas, int X, int Y, TColor Color)
{
    if (!Canvas)
        return;
    PenAndBrush(Canvas, Color);
    Canvas->Polygon({TPoint(X - 3, Y), TPoint(X + 3, Y), TPoint(X, Y + 3)});
}
