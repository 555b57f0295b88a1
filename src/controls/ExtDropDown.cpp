// Gradient fill, colour blending and the text routines of the drop-down controls.

#include "controls/ExtDropDown.h"

#include "platform/SysUtils.h"
#include "platform/WinGdi.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

int RoundEven(double Value)
{
    if (std::isnan(Value))
        return 0;
    constexpr double Lo = std::numeric_limits<int>::min();
    constexpr double Hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::nearbyint(std::clamp(Value, Lo, Hi)));
}

} // namespace

// ---- drawing ----

void DrawGradient(TCanvas *Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect &R, bool Horizontal)
{
    if (!Canvas)
        return;
    TRect W = R;
    if (Horizontal)
        W.Right -= 1;
    else
        W.Bottom -= 1;
    unsigned Count = static_cast<std::uint16_t>(Steps);
    if (Count == 0)
        Count = 1;
    const TColorRef F = ColorToRGB(FromColor);
    const TColorRef T = ColorToRGB(ToColor);
    const int FR = GetRValue(F), FG = GetGValue(F), FB = GetBValue(F);
    const double DR = static_cast<double>(GetRValue(T) - FR) / Count;
    const double DG = static_cast<double>(GetGValue(T) - FG) / Count;
    const double DB = static_cast<double>(GetBValue(T) - FB) / Count;
    const double Band =
        (Horizontal ? static_cast<double>(W.Right) - W.Left : static_cast<double>(W.Bottom) - W.Top) / Count;
    const int Size = RoundEven(Band);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (unsigned n = 0; n < Count; ++n) {
        const auto Channel = [n](int From, double Delta) { return (From + RoundEven(n * Delta)) & 0xFF; };
        const TColor C = static_cast<TColor>(RGB(Channel(FR, DR), Channel(FG, DG), Channel(FB, DB)));
        Canvas->Pen()->SetColor(C);
        Canvas->Brush()->SetColor(Canvas->Pen()->Color());
        const int Offset = static_cast<std::uint16_t>(RoundEven(n * Band));
        if (Horizontal)
            Canvas->Rectangle(W.Left + Offset, W.Top, W.Left + Offset + Size + 1, R.Bottom);
        else
            Canvas->Rectangle(W.Left, W.Top + Offset, R.Right, W.Top + Offset + Size + 1);
    }
}

TColor BlendColors(TColor Color1, TColor Color2, int Percent)
{
    if (Percent >= 100)
        return Color1;
    if (Percent <= 0)
        return Color2;
    const TColorRef A = ColorToRGB(Color1);
    const TColorRef B = ColorToRGB(Color2);
    const double P = Percent / 100.0;
    const auto Mix = [P](int X, int Y) { return std::clamp(RoundEven(P * X + (1 - P) * Y), 0, 255); };
    return static_cast<TColor>(
        RGB(Mix(GetRValue(A), GetRValue(B)), Mix(GetGValue(A), GetGValue(B)), Mix(GetBValue(A), GetBValue(B))));
}

TColor ShadeColor(TColor Color, int DeltaRed, int DeltaGreen, int DeltaBlue)
{
    const TColorRef C = ColorToRGB(Color);
    const auto Shade = [](int Channel, int Delta) -> int {
        if (Channel == 0)
            return std::max(0, Delta) & 0xFF;
        const double Factor = std::min<long long>(100, static_cast<long long>(Delta) + 100) / 100.0;
        return RoundEven(Factor * Channel) & 0xFF;
    };
    return static_cast<TColor>(
        RGB(Shade(GetRValue(C), DeltaRed), Shade(GetGValue(C), DeltaGreen), Shade(GetBValue(C), DeltaBlue)));
}

void DrawGradientRect(TCanvas *Canvas, const TRect &R, TColor Color, TColor ColorTo, TColor BorderColor,
                      int BorderWidth, bool Vertical)
{
    if (!Canvas)
        return;
    if (ColorTo != clNone) {
        DrawGradient(Canvas, Color, ColorTo, 80, R, !Vertical);
    } else if (Color != clNone) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(Color);
        Canvas->FillRect(R);
    }
    if (BorderColor != clNone && BorderWidth > 0) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        Canvas->Pen()->SetStyle(TPenStyle::psSolid);
        Canvas->Pen()->SetWidth(BorderWidth);
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Rectangle(R);
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}

void DrawImageAndText(TCanvas *Canvas, const TRect &R, const UnicodeString &Text, TCustomImageList *Images,
                      int ImageIndex)
{
    if (!Canvas)
        return;
    TRect TextRect = R;
    bool HasImage = false;
    if (ImageIndex >= 0 && Images) {
        Images->Draw(Canvas, R.Left + 4, R.Top + (R.Height() - Images->Height()) / 2, ImageIndex, true);
        TextRect.Left = R.Left + Images->Width() + 8;
        HasImage = true;
    }
    if (Text.isEmpty())
        return;
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    DrawText(Canvas, Text, -1, &TextRect,
             DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (HasImage ? DT_LEFT : DT_CENTER));
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

void DrawBitmapOnColor(TCanvas *Canvas, TBitmap *Bitmap, TColor BackgroundColor, const TRect &R)
{
    if (!Canvas || !Bitmap || Bitmap->Empty())
        return;
    const int W = Bitmap->Width();
    const int H = Bitmap->Height();
    TBitmap Work(W, H);
    Work.Canvas()->Brush()->SetColor(BackgroundColor);
    Work.Canvas()->BrushCopy(TRect(0, 0, W, H), Bitmap, TRect(0, 0, W, H), Bitmap->Canvas()->Pixels(0, 0));
    Canvas->SetCopyMode(cmSrcCopy);
    Canvas->CopyRect(R, Work.Canvas(), TRect(0, 0, R.Width(), R.Height()));
}

// ---- text ----

void MeasureTextSize(TCanvas *Canvas, const UnicodeString &Text, TSize &Size)
{
    Size = {0, 0};
    if (!Canvas || Text.isEmpty())
        return;
    TRect R(0, 0, 1000, 500);
    DrawText(Canvas, Text, -1, &R, DT_CALCRECT | DT_SINGLELINE);
    Size = {R.Right - R.Left, R.Bottom - R.Top};
}

void FitTextToWidth(TCanvas *Canvas, const UnicodeString &Text, int MaxWidth, bool AddEllipsis, UnicodeString &Result)
{
    Result = Text;
    if (!Canvas)
        return;
    TSize Size;
    MeasureTextSize(Canvas, Text, Size);
    if (Size.cx <= MaxWidth)
        return;
    for (qsizetype k = 1; k <= Text.size(); ++k) {
        UnicodeString Candidate = Text.left(Text.size() - k);
        if (AddEllipsis)
            Candidate += QStringLiteral("...");
        MeasureTextSize(Canvas, Candidate, Size);
        if (Size.cx < MaxWidth) {
            Result = Candidate;
            return;
        }
    }
}

// ---- text classes ----

bool IsRangeSeparator(QChar Ch) { return Ch == QLatin1Char(',') || Ch == QLatin1Char('-') || Ch == QLatin1Char(';'); }

int DropDownNumberKind(const UnicodeString &Text)
{
    const QChar Ts = ThousandSeparatorChar();
    const QChar Ds = DecimalSeparatorChar();
    const bool Empty = Text.isEmpty();
    bool Hex = !Empty;
    bool Integer = !Empty;
    bool Decimal = !Empty;
    int Minus = 0;
    int Decimals = 0;
    qsizetype PreviousTs = -1;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar C = Text[i];
        const ushort U = C.unicode();
        const bool Digit = U >= '0' && U <= '9';
        const bool HexLetter = (U >= 'A' && U <= 'F') || (U >= 'a' && U <= 'f');
        if (!(U == '-' || Digit || HexLetter))
            Hex = false;
        if (!(Digit || U == '-'))
            Integer = false;
        if (!(Digit || U == ',' || U == '-' || U == '.'))
            Decimal = false;
        if (C == Ts) {
            const qsizetype Position = i + 1;
            if (Position - PreviousTs <= 2)
                Decimal = false;
            PreviousTs = Position;
        }
        if (U == '-')
            ++Minus;
        if (C == Ds)
            ++Decimals;
    }
    if (Minus > 1 || Decimals > 1)
        return 2;
    if (Integer)
        return 0;
    if (Decimal)
        return 1;
    if (Hex)
        return 5;
    return 2;
}

UnicodeString StripThousandSeparators(const UnicodeString &Text)
{
    UnicodeString Result = Text;
    Result.remove(ThousandSeparatorChar());
    return Result;
}

int HexDigitValue(QChar Ch)
{
    const ushort U = Ch.unicode();
    if (U >= '0' && U <= '9')
        return U - '0';
    if (U >= 'A' && U <= 'F')
        return U - 'A' + 10;
    if (U >= 'a' && U <= 'f')
        return U - 'a' + 10;
    return 0;
}

int HexTextToInt(const UnicodeString &Text)
{
    std::uint32_t Result = 0;
    std::uint32_t Weight = 1;
    for (qsizetype i = Text.size() - 1; i >= 0; --i) {
        Result += static_cast<std::uint32_t>(HexDigitValue(Text[i])) * Weight;
        Weight *= 16u;
    }
    return static_cast<int>(Result);
}

UnicodeString CaseFoldText(const UnicodeString &Text, bool CaseSensitive)
{
    return CaseSensitive ? Text : AnsiUpperCase(Text);
}

QChar ThousandSeparatorChar() { return FormatSettings.ThousandSeparator; }

QChar DecimalSeparatorChar() { return FormatSettings.DecimalSeparator; }
