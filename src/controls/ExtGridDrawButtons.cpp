// Button faces, the error underline, transparent bitmaps and layered windows.

#include "controls/ExtGridDraw.h"

#include "controls/ExtXPVS.h"
#include "platform/StdCtrls.h"
#include "platform/VersionInfo.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const TColorTone &ToneOfState(const TColorTones &Tones, int State)
{
    switch (State) {
    case 1:
        return Tones.Hover;
    case 2:
        return Tones.Selected;
    case 3:
        return Tones.Disabled;
    default:
        return Tones.Background;
    }
}

void Solid(TCanvas *Canvas, TColor Pen, TColor Brush)
{
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(Pen);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Brush);
}

// Draws one themed part; false when themes are not active, so the caller draws it classic.
bool Themed(HWND Window, TCanvas *Canvas, const char *ClassName, int Part, int State, const TRect &R)
{
    if (!ExtXPVS::ThemesActive())
        return false;
    HTHEME Theme = ExtXPVS::OpenThemeData(Window, QString::fromLatin1(ClassName));
    if (!Theme)
        return false;
    ExtXPVS::DrawThemeBackground(Theme, Canvas, Part, State, R, nullptr);
    ExtXPVS::CloseThemeData(Theme);
    return true;
}

unsigned FrameState(int Kind, int State, bool HotAndDown)
{
    unsigned Flags = 0;
    if (HotAndDown && State == 1)
        Flags |= DFCS_HOT;
    if (HotAndDown && State == 2)
        Flags |= DFCS_PUSHED;
    if (State == 3)
        Flags |= DFCS_INACTIVE;
    if (Kind == 2)
        Flags |= DFCS_FLAT;
    return Flags;
}

void Frame(TCanvas *Canvas, TRect R, unsigned Type, unsigned State) { DrawFrameControl(Canvas, R, Type, State); }

} // namespace

// ---- button faces ----

void PaintButtonFace(TCanvas *Canvas, HWND Window, const TRect &R, int Kind, int State, const TColorTones &Tones)
{
    if (!Canvas)
        return;
    if (Kind == 0 && Themed(Window, Canvas, "button", BP_PUSHBUTTON, std::clamp(State, 0, 3) + 1, R))
        return;
    switch (Kind) {
    case 0:
    case 1:
    case 2:
        Frame(Canvas, R, DFC_BUTTON, DFCS_BUTTONPUSH | FrameState(Kind, State, true));
        break;
    case 3: {
        const TColorTone &Tone = ToneOfState(Tones, State);
        Solid(Canvas, Tone.BorderColor, Tone.BrushColor);
        Canvas->Rectangle(R);
        break;
    }
    default:
        break;
    }
}

void PaintDropButton(TCanvas *Canvas, HWND Window, const TRect &R, int Kind, int State, const TColorTones &Tones)
{
    if (!Canvas)
        return;
    TRect B(R.Right - 17 - 2, R.Top + 1, R.Right - 2, R.Bottom - 1);
    if (Kind == 0 && Themed(Window, Canvas, "combobox", CP_DROPDOWNBUTTON, State == 3 ? CBXS_DISABLED : CBXS_NORMAL, B))
        return;
    switch (Kind) {
    case 0:
    case 1:
    case 2:
        Frame(Canvas, B, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | FrameState(Kind, State, false));
        break;
    case 3: {
        B.Left += 3;
        const TColor Fill = ToneOfState(Tones, State).BrushColor;
        Solid(Canvas, Fill, Fill);
        Canvas->Rectangle(B);
        Canvas->Pen()->SetColor(Tones.Background.BorderColor);
        Canvas->MoveTo(B.Left + 1, B.Top);
        Canvas->LineTo(B.Left + 1, B.Bottom);
        Solid(Canvas, Tones.Background.TextColor, Tones.Background.TextColor);
        Canvas->Polygon({TPoint(B.Left + 5, B.Top + 8), TPoint(B.Left + 11, B.Top + 8), TPoint(B.Left + 8, B.Top + 11)});
        break;
    }
    default:
        break;
    }
}

void PaintSpinButtons(TCanvas *Canvas, HWND Window, const TRect &R, int Kind, int State, const TColorTones &Tones)
{
    if (!Canvas)
        return;
    const TRect B(R.Right - 15 - 1, R.Top - 1, R.Right - 1, R.Bottom - 1);
    const int M = B.Top + (B.Bottom - B.Top) / 2;
    const TRect Up(B.Left, B.Top, B.Right, M);
    TRect Down(B.Left, M + 1, B.Right, B.Bottom);
    if (Kind == 0 && ExtXPVS::ThemesActive()) {
        Down.Top = M;
        if (Themed(Window, Canvas, "spin", SPNP_UP, State == 3 ? UPS_DISABLED : UPS_NORMAL, Up) &&
            Themed(Window, Canvas, "spin", SPNP_DOWN, State == 3 ? DNS_DISABLED : DNS_NORMAL, Down))
            return;
        Down.Top = M + 1;
    }
    switch (Kind) {
    case 0:
    case 1:
    case 2:
        Frame(Canvas, TRect(Up), DFC_SCROLL, DFCS_SCROLLUP | FrameState(Kind, State, false));
        Frame(Canvas, TRect(Down), DFC_SCROLL, DFCS_SCROLLDOWN | FrameState(Kind, State, false));
        break;
    case 3: {
        const TColor Fill = ToneOfState(Tones, State).BrushColor;
        Solid(Canvas, Fill, Fill);
        Canvas->Rectangle(Up);
        Canvas->Rectangle(Down);
        Solid(Canvas, clBlack, clBlack);
        Canvas->Polygon({TPoint(B.Left + 5, B.Top + 5), TPoint(B.Left + 9, B.Top + 5), TPoint(B.Left + 7, B.Top + 3)});
        Canvas->Polygon({TPoint(B.Left + 5, M + 2), TPoint(B.Left + 9, M + 2), TPoint(B.Left + 7, M + 4)});
        break;
    }
    default:
        break;
    }
}

// ---- error underline and bitmaps ----

void DrawErrorUnderline(TWinControl *Owner, TCanvas *Canvas, const UnicodeString &Text, const TRect &R,
                        int VerticalOffset, int ErrorStart, int ErrorLength)
{
    if (!Canvas)
        return;
    // The positions an edit on the owner would show the text at; the edit never gets a window.
    auto Edit = std::make_unique<TEdit>(nullptr);
    Edit->SetVisible(false);
    // An edit on the owner takes the owner's font.
    Edit->Font()->Assign(Owner ? Owner->Font() : Canvas->Font());
    Edit->SetBoundsRect(R);
    Edit->SetText(Text);
    const int Length = static_cast<int>(Text.size());
    const auto PosOf = [&](int Index) -> TPoint {
        const LRESULT P = Edit->Perform(EM_POSFROMCHAR, static_cast<WPARAM>(std::max(Index, 0)), 0);
        if (P == -1)
            return {0, 0};
        return {static_cast<SmallInt>(P & 0xFFFF), static_cast<SmallInt>((P >> 16) & 0xFFFF)};
    };
    // The end of the text: just past its last character's position.
    const auto TextEnd = [&]() -> TPoint {
        if (Length == 0)
            return {static_cast<int>(Edit->Perform(EM_GETMARGINS, 0, 0) & 0xFFFF), 0};
        const TPoint Last = PosOf(Length - 1);
        return {Last.X + 4, Last.Y};
    };
    TPoint Start = ErrorStart >= 0 && ErrorStart < Length ? PosOf(ErrorStart) : TextEnd();
    if (ErrorStart < 0)
        Start = PosOf(0);
    const long long LastIndex = static_cast<long long>(std::max(ErrorStart, 0)) + std::max(ErrorLength, 1) - 1;
    int EndX = LastIndex < Length && ErrorStart < Length ? PosOf(static_cast<int>(LastIndex)).X : TextEnd().X;
    EndX = std::max(EndX, Start.X);
    Edit.reset();

    const int LineTop = R.Top + Start.Y;
    const int X0 = R.Left + Start.X;
    const int X1 = R.Left + EndX;
    std::vector<TPoint> Zigzag;
    bool Low = true;
    for (int X = X0;; X += 3) {
        Zigzag.emplace_back(X, LineTop + VerticalOffset + (Low ? 3 : 0));
        Low = !Low;
        if (X > X1)
            break;
    }
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetWidth(2);
    Canvas->Polyline(Zigzag);
    Canvas->Pen()->SetWidth(1);
}

void DrawBitmapTransparent(TCanvas *Canvas, TBitmap *Bitmap, TColor BackgroundColor, const TRect &R)
{
    if (!Canvas || !Bitmap || Bitmap->Empty())
        return;
    const int W = Bitmap->Width();
    const int H = Bitmap->Height();
    const TColor Key = Bitmap->Canvas()->Pixels(0, 0);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(BackgroundColor);
    Canvas->BrushCopy(TRect(R.Left, R.Top, R.Left + W, R.Top + H), Bitmap, TRect(0, 0, W, H), Key);
}

void DrawResourceBitmapTransparent(TCanvas *Canvas, TColor BackgroundColor, const TRect &R,
                                   const UnicodeString &ResourceName)
{
    if (!Canvas)
        return;
    TBitmap Bitmap;
    try {
        Bitmap.LoadFromResourceName(ResourceName);
    } catch (const Exception &) {
        // A missing picture leaves the cell as it is rather than failing its paint.
        return;
    }
    DrawBitmapTransparent(Canvas, &Bitmap, BackgroundColor, R);
}

// ---- layered windows ----

bool CallUpdateLayeredWindow(HWND Wnd, HDC DstDC, const TPoint *DstPos, const TSize *Size, HDC SrcDC,
                             const TPoint *SrcPos, DWORD ColorKey, const BLENDFUNCTION *Blend, DWORD Flags)
{
    if (!SystemFunctionExists(QStringLiteral("USER32.DLL"), QStringLiteral("UpdateLayeredWindow")))
        return true;
    return UpdateLayeredWindow(Wnd, DstDC, DstPos, Size, SrcDC, SrcPos, ColorKey, Blend, Flags) != FALSE;
}

bool CallSetLayeredWindowAttributes(HWND Wnd, DWORD ColorKey, Byte Alpha, DWORD Flags)
{
    if (!SystemFunctionExists(QStringLiteral("USER32.DLL"), QStringLiteral("SetLayeredWindowAttributes")))
        return true;
    return SetLayeredWindowAttributes(Wnd, ColorKey, Alpha, Flags) != FALSE;
}
