#include "dropdowns/EsgDateTimePicker.h"

#include "controls/ExtGridDraw.h"
#include "controls/ExtXPVS.h"

#include "platform/Forms.h"
#include "platform/UxTheme.h"
#include "platform/VersionInfo.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

namespace {

// The frame of a disabled picker on themed common controls, whatever its BorderColor.
constexpr TColor DisabledFrameColor = static_cast<TColor>(0xB99D7F);

TColor ParentColour(TDateTimePicker *Picker)
{
    return Picker->Parent() ? Picker->Parent()->Color() : clBtnFace;
}

// The colour of the outer border lines: the parent's with no border style (so that no frame
// shows), else the themed frame colour, else BorderColor.
TColor OuterLineColour(TDateTimePicker *Picker, const TFlatPickerLook &Look)
{
    if (Look.BorderStyle == bsNone && Picker->Parent())
        return ParentColour(Picker);
    return Look.IsThemed ? DisabledFrameColor : Look.BorderColor;
}

void OuterLines(TCanvas *DC, int W, int H)
{
    DC->MoveTo(0, H);
    DC->LineTo(0, 0);
    DC->LineTo(W - 1, 0);
    DC->LineTo(W - 1, H - 1);
    DC->LineTo(0, H - 1);
}

// The mouse is over the picker or the picker is the screen's active control.
bool IsActive(TDateTimePicker *Picker, const TFlatPickerLook &Look)
{
    if (Look.Designing)
        return Picker->Enabled();
    return Look.MouseInControl || (Screen && Screen->ActiveControl() == Picker);
}

void DrawControlBorder(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look)
{
    TRect r(0, 0, Picker->Width(), Picker->Height());
    if (!Picker->Enabled() && Look.IsThemed) {
        FrameRectColor(DC, r, DisabledFrameColor);
    } else if (Look.BorderColor != clNone) {
        FrameRectColor(DC, r, Look.BorderColor);
    } else {
        const TColor parent = ParentColour(Picker);
        FrameRectColor(DC, r, parent);
        r = InsetRect(r, 1);
        FrameRectColor(DC, TRect(r.Left, r.Top, r.Right - Look.ButtonWidth, r.Bottom), parent);
        FrameRectColor(DC, InsetRect(r, 1), Picker->Color());
    }
}

void DrawButtonBorder(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look)
{
    const int cw = Picker->ClientWidth(), ch = Picker->ClientHeight(), bw = Look.ButtonWidth;
    DC->ExcludeClipRect(cw - bw + 4, 4, cw - 4, ch - 4);
    TRect r = InsetRect(TRect(cw - bw - 2, 0, Picker->Width(), Picker->Height()), 2);
    if (IsActive(Picker, Look)) {
        DrawEdge(DC->Handle(), r, EDGE_RAISED, BF_RECT | (Picker->DroppedDown() ? BF_FLAT : 0));
    } else {
        r = TRect(r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1);
        DC->Brush()->SetStyle(TBrushStyle::bsSolid);
        DC->Brush()->SetColor(clBtnFace);
        DC->FillRect(r);
    }
    DC->ExcludeClipRect(r.Left, r.Top, r.Right, r.Bottom);
}

} // namespace

// ---- the shared look ----

bool FlatPicker::CommonControlsThemed()
{
    // Unreadable version information has every bit set, and so counts as themed.
    return ((GetFileVersion(QStringLiteral("comctl32.dll")) >> 16) & 0xFF) > 5;
}

bool FlatPicker::PlatformIsWinXP()
{
    OSVERSIONINFO info;
    if (!GetVersionEx(info))
        return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

bool FlatPicker::NewerPlatform()
{
    return SystemFunctionExists(QStringLiteral("kernel32"), QStringLiteral("GetLocaleInfoEx"));
}

bool FlatPicker::VisualStyles(const TFlatPickerLook &Look)
{
    return Look.IsThemed && ExtXPVS::ThemesActive();
}

bool FlatPicker::MouseButtonDown()
{
    return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
}

int FlatPicker::DefaultButtonWidth()
{
    return GetSystemMetrics(SM_CXVSCROLL) + 2;
}

void FlatPicker::DrawNCBorder(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look)
{
    if (Picker->Ctl3D() || (!Look.NCBorderAlways && Look.BorderColor == clNone))
        return;
    const int w = Picker->Width(), h = Picker->Height();
    DC->Pen()->SetStyle(TPenStyle::psSolid);
    DC->Pen()->SetWidth(1);
    DC->Pen()->SetColor(OuterLineColour(Picker, Look));
    OuterLines(DC, w, h);
    if (!Picker->Parent())
        return;
    if (Look.BorderStyle == bsSingle)
        DC->Pen()->SetColor(ParentColour(Picker));
    DC->MoveTo(1, h - 2);
    DC->LineTo(1, 1);
    DC->LineTo(w - 1, 1);
}

void FlatPicker::DrawBorders(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look)
{
    if (Look.SkipBorders || !Look.MetroActive)
        return;
    if (Picker->Enabled() && Look.BorderColor == clNone)
        return;
    DrawControlBorder(Picker, DC, Look);
    if (!(Look.IsWinXP && VisualStyles(Look)))
        DrawButtonBorder(Picker, DC, Look);
}

void FlatPicker::DrawButton(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look)
{
    const int cw = Picker->ClientWidth(), bw = Look.ButtonWidth;
    const TRect r = InsetRect(TRect(cw - bw + 2, 0, Picker->Width(), Picker->Height()), 1);
    const bool down = MouseButtonDown();
    if (Look.ButtonColor != clNone) {
        TColor face = Look.ButtonColor;
        if (Look.ButtonHover)
            face = down ? Look.ButtonColorDown : Look.ButtonColorHot;
        DC->Brush()->SetStyle(TBrushStyle::bsSolid);
        DC->Brush()->SetColor(face);
        DC->FillRect(TRect(r.Left + 2, r.Top, r.Right, r.Bottom));
        DC->Pen()->SetStyle(TPenStyle::psSolid);
        DC->Pen()->SetColor(Look.ButtonBorderColor);
        DC->MoveTo(r.Left, r.Top);
        DC->LineTo(r.Left, r.Bottom);
        const TColor arrow = down ? Look.ButtonTextColorDown : Look.ButtonTextColor;
        DC->Brush()->SetColor(arrow);
        DC->Pen()->SetColor(arrow);
        DC->Polygon({{r.Left + 5, r.Top + 7}, {r.Left + 11, r.Top + 7}, {r.Left + 8, r.Top + 10}});
    } else if (VisualStyles(Look)) {
        const bool dropped = Picker->DroppedDown();
        int state = CBXS_HOT;
        if (!Picker->Enabled())
            state = CBXS_DISABLED;
        else if (down && dropped)
            state = CBXS_PRESSED;
        else if (down || !Look.ButtonHover || dropped)
            state = CBXS_NORMAL;
        HTHEME theme = ExtXPVS::OpenThemeData(Picker->Handle(), QStringLiteral("combobox"));
        ExtXPVS::DrawThemeBackground(theme, DC->Handle(), CP_DROPDOWNBUTTON, state, r, nullptr);
        ExtXPVS::CloseThemeData(theme);
    } else {
        TRect b = r;
        DrawFrameControl(DC->Handle(), b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Picker->Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
    DC->ExcludeClipRect(cw - bw - 4, 0, cw + 2, Picker->ClientHeight());
}

void FlatPicker::PaintClient(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look)
{
    if ((Picker->Ctl3D() && !Look.MetroActive) || !NewerPlatform())
        return;
    const int cw = Picker->ClientWidth(), bw = Look.ButtonWidth, w = Picker->Width(), h = Picker->Height();
    if (Look.MetroActive && Picker->Kind() != dtkTime) {
        const int saved = DC->SaveDC();
        if (Look.IsThemed) {
            // The native button goes under the control's own colour first.
            DC->Brush()->SetStyle(TBrushStyle::bsSolid);
            DC->Brush()->SetColor(Picker->Color());
            DC->FillRect(ExtXPVS::ThemesActive() ? TRect(cw - bw - Look.ThemedCoverInset, 1, cw, h)
                                                 : TRect(cw - bw - 2, 4, cw - 2, h - 4));
        }
        DrawButton(Picker, DC, Look);
        DC->RestoreDC(saved);
    }
    if (Look.ClientFrameLines && !Picker->Ctl3D()) {
        DC->Pen()->SetStyle(TPenStyle::psSolid);
        DC->Pen()->SetColor(OuterLineColour(Picker, Look));
        OuterLines(DC, w, h);
        if (!ExtXPVS::ThemesActive()) {
            DC->MoveTo(1, h);
            DC->LineTo(1, 1);
            DC->LineTo(w - 2, 1);
            DC->LineTo(w - 2, h - 2);
            DC->LineTo(0, h - 2);
        }
    }
}

void FlatPicker::Paint(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look,
                       const std::function<void(TCanvas *)> &NCExtra)
{
    int saved = DC->SaveDC();
    DrawNCBorder(Picker, DC, Look);
    DC->RestoreDC(saved);
    if (NCExtra) {
        saved = DC->SaveDC();
        NCExtra(DC);
        DC->RestoreDC(saved);
    }
    saved = DC->SaveDC();
    PaintClient(Picker, DC, Look);
    DC->RestoreDC(saved);
    // The pass stands for both the client and the non-client paint: the borders follow the
    // client paint on the newer platform, the non-client one otherwise.
    if (NewerPlatform() || (!Picker->Enabled() && VisualStyles(Look)) || Look.BorderColor != clNone) {
        saved = DC->SaveDC();
        DrawBorders(Picker, DC, Look);
        DC->RestoreDC(saved);
    }
}

// ---- the flat picker ----

TEsgDateTimePicker::TEsgDateTimePicker(TComponent *AOwner) : TDateTimePicker(AOwner)
{
    FButtonWidth = FlatPicker::DefaultButtonWidth();
    SetDoubleBuffered(true);
    SetParentCtl3D(false);
    SetCtl3D(true);
    SetBorderStyle(bsSingle);
    FBorderStyle = bsNone;
    FIsWinXP = FlatPicker::PlatformIsWinXP();
    FIsThemed = FlatPicker::CommonControlsThemed();
}

bool TEsgDateTimePicker::Designing() const
{
    return ComponentState().Contains(TComponentStateItem::csDesigning);
}

bool TEsgDateTimePicker::IsMetroActive() const
{
    return FMetroStyle && !Designing();
}

TFlatPickerLook TEsgDateTimePicker::Look() const
{
    TFlatPickerLook l;
    l.MetroActive = IsMetroActive();
    l.Designing = Designing();
    l.IsThemed = FIsThemed;
    l.IsWinXP = FIsWinXP;
    l.ButtonHover = FButtonHover;
    l.MouseInControl = FMouseInControl;
    l.BorderStyle = FBorderStyle;
    l.BorderColor = FBorderColor;
    l.ButtonColor = ButtonColor;
    l.ButtonColorHot = ButtonColorHot;
    l.ButtonColorDown = ButtonColorDown;
    l.ButtonTextColor = ButtonTextColor;
    l.ButtonTextColorDown = ButtonTextColorDown;
    l.ButtonBorderColor = ButtonBorderColor;
    l.ButtonWidth = FButtonWidth;
    return l;
}

void TEsgDateTimePicker::SetBorderStyle(TBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    Invalidate();
}

void TEsgDateTimePicker::SetBorderColor(TColor Value)
{
    if (Value == FBorderColor)
        return;
    FBorderColor = Value;
    Invalidate();
}

void TEsgDateTimePicker::SetMetroStyle(bool Value)
{
    if (Value == FMetroStyle)
        return;
    FMetroStyle = Value;
    Invalidate();
}

UnicodeString TEsgDateTimePicker::Version() const
{
    const Cardinal v = GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

void TEsgDateTimePicker::SetVersion(const UnicodeString &)
{
}

void TEsgDateTimePicker::WMNCPaint(TWMNCPaint &Message)
{
    TDateTimePicker::WMNCPaint(Message);
    if (!Message.DC)
        return;
    FlatPicker::Paint(this, Message.DC, Look(), [this](TCanvas *DC) { DrawNCExtras(DC); });
    Message.Result = 0;
}

void TEsgDateTimePicker::WndProc(TMessage &Message)
{
    TDateTimePicker::WndProc(Message);
    if (Message.Msg == CM_CTL3DCHANGED)
        Invalidate();
}

void TEsgDateTimePicker::MouseMove(TShiftState Shift, int X, int Y)
{
    TDateTimePicker::MouseMove(Shift, X, Y);
    const bool hover = X > Width() - FButtonWidth && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

void TEsgDateTimePicker::CMMouseEnter(TCMMouseEnter &Message)
{
    TDateTimePicker::CMMouseEnter(Message);
    if (Designing())
        return;
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        Invalidate();
    }
    if (FIsWinXP)
        Invalidate();
}

void TEsgDateTimePicker::CMMouseLeave(TCMMouseLeave &Message)
{
    TDateTimePicker::CMMouseLeave(Message);
    if (Designing())
        return;
    if (FMouseInControl && Enabled()) {
        FMouseInControl = false;
        Invalidate();
    }
    FButtonHover = false;
    if (FIsWinXP)
        Invalidate();
}

void TEsgDateTimePicker::CMEnter(TCMEnter &Message)
{
    TDateTimePicker::CMEnter(Message);
    if (Designing())
        return;
    FHasFocus = true;
    Invalidate();
}

void TEsgDateTimePicker::CMExit(TCMExit &Message)
{
    TDateTimePicker::CMExit(Message);
    if (Designing())
        return;
    FHasFocus = false;
    Invalidate();
}

// The raised edge of the button goes flat while the calendar is down.
void TEsgDateTimePicker::DropDown()
{
    TDateTimePicker::DropDown();
    Invalidate();
}

void TEsgDateTimePicker::CloseUp()
{
    TDateTimePicker::CloseUp();
    Invalidate();
}
