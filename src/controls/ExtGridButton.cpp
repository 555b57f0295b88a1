#include "controls/ExtGridButton.h"

#include "platform/Forms.h"
#include "platform/UxTheme.h"
#include "platform/VersionInfo.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include <QImage>

#include <cmath>

namespace {

bool WindowsPastFive()
{
    OSVERSIONINFO info;
    if (!GetVersionEx(info))
        return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion > 0);
}

bool ComCtlSixOrLater()
{
    const Cardinal v = GetFileVersion(QStringLiteral("COMCTL32.DLL"));
    return v != 0xFFFFFFFFu && (v >> 16) > 5;
}

// Rounds half to even, as the colour steps of the gradient were always computed.
int RoundEven(double V) { return static_cast<int>(std::nearbyint(V)); }

// Sets the pen; clNone clears it.
void UsePen(TCanvas *C, TColor Color)
{
    if (Color == clNone) {
        C->Pen()->SetStyle(TPenStyle::psClear);
        return;
    }
    C->Pen()->SetStyle(TPenStyle::psSolid);
    C->Pen()->SetColor(Color);
}

void UseBrush(TCanvas *C, TColor Color)
{
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(Color);
}

void ClearBrush(TCanvas *C) { C->Brush()->SetStyle(TBrushStyle::bsClear); }

void Inflate(TRect &R, int D)
{
    R.Left -= D;
    R.Top -= D;
    R.Right += D;
    R.Bottom += D;
}

// A solid face with its pen, or the gradient with the pen as border.
void Face(TCanvas *C, TColor From, TColor To, TColor Pen, const TRect &R)
{
    if (To == clNone) {
        UseBrush(C, From);
        UsePen(C, Pen == clNone ? From : Pen);
        C->Rectangle(R);
        return;
    }
    DrawButtonGradient(C, From, To, false, R, 16, Pen);
}

void DrawTransparent(TCanvas *C, TBitmap *Bmp, int X, int Y)
{
    TBitmap copy;
    copy.Assign(Bmp);
    copy.SetTransparent(true);
    C->Draw(X, Y, &copy);
}

} // namespace

bool ThemedDrawingAvailable()
{
    return WindowsPastFive() && IsThemeActive() && ComCtlSixOrLater();
}

int GetXPColorScheme()
{
    if (!WindowsPastFive() || !IsThemeActive())
        return 0;
    UnicodeString file, color, size;
    if (FAILED(GetCurrentThemeName(file, color, size)))
        return 0;
    if (color == QLatin1String("NormalColor"))
        return 1;
    if (color == QLatin1String("HomeStead"))
        return 2;
    if (color == QLatin1String("Metallic"))
        return 3;
    return 0;
}

void DrawButtonGradient(TCanvas *Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect &Rect,
                        int Steps, TColor BorderColor)
{
    if (!Canvas)
        return;
    if (Steps <= 0)
        Steps = 1;
    const TColorRef from = ColorToRGB(FromColor);
    const TColorRef to = ColorToRGB(ToColor);
    const int r1 = GetRValue(from), g1 = GetGValue(from), b1 = GetBValue(from);
    const int dr = GetRValue(to) - r1, dg = GetGValue(to) - g1, db = GetBValue(to) - b1;
    const int extent = Horizontal ? Rect.Width() : Rect.Height();
    const int band = RoundEven(static_cast<double>(extent) / Steps) + 1;
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (int n = 0; n < Steps; ++n) {
        const int r = r1 + RoundEven(static_cast<double>(n) * dr / Steps);
        const int g = g1 + RoundEven(static_cast<double>(n) * dg / Steps);
        const int b = b1 + RoundEven(static_cast<double>(n) * db / Steps);
        Canvas->Brush()->SetColor(static_cast<TColor>(RGB(r, g, b)));
        const int start = RoundEven(static_cast<double>(n) * extent / Steps);
        TRect br = Rect;
        if (Horizontal) {
            br.Left = Rect.Left + start;
            br.Right = br.Left + band;
        } else {
            br.Top = Rect.Top + start;
            br.Bottom = br.Top + band;
        }
        Canvas->FillRect(br);
    }
    if (BorderColor != clNone) {
        ClearBrush(Canvas);
        UsePen(Canvas, BorderColor);
        Canvas->Rectangle(Rect);
    }
}

// ---- TExtGridButtonActionLink ----

void TExtGridButtonActionLink::AssignClient(TObject *AClient)
{
    TControlActionLink::AssignClient(AClient);
    FClient = dynamic_cast<TExtGridButton *>(AClient);
}

bool TExtGridButtonActionLink::IsCaptionLinked()
{
    TCustomAction *a = CustomAction();
    return a && FClient && FClient->Caption() == a->Caption();
}

bool TExtGridButtonActionLink::IsCheckedLinked()
{
    TCustomAction *a = CustomAction();
    return TControlActionLink::IsCheckedLinked() && FClient && FClient->GroupIndex() != 0 && FClient->AllowAllUp() &&
           a->Checked() == FClient->Down();
}

bool TExtGridButtonActionLink::IsGroupIndexLinked()
{
    TCustomAction *a = CustomAction();
    return a && FClient && FClient->GroupIndex() == a->GroupIndex();
}

void TExtGridButtonActionLink::SetCaption(const UnicodeString &Value)
{
    if (IsCaptionLinked())
        FClient->SetCaption(Value);
}

void TExtGridButtonActionLink::SetChecked(bool Value)
{
    if (IsCheckedLinked())
        FClient->SetDown(Value);
}

void TExtGridButtonActionLink::SetGroupIndex(int Value)
{
    if (IsGroupIndexLinked())
        FClient->SetGroupIndex(Value);
}

// ---- TExtGridButton ----

TExtGridButton::TExtGridButton(TComponent *AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()), FGlyphDisabled(std::make_unique<TBitmap>()),
      FGlyphHot(std::make_unique<TBitmap>()), FGlyphDown(std::make_unique<TBitmap>()),
      FGlyphShade(std::make_unique<TBitmap>())
{
    FIsComCtl6 = ComCtlSixOrLater();
    FControlStyle = {csCaptureMouse, csDoubleClicks};
    TControl::SetBounds(0, 0, 22, 23);
    SetParentFont(true);
    SetColor(clBtnFace);
    FGlyph->OnChange = [this](TObject *) { Invalidate(); };
}

TExtGridButton::~TExtGridButton() = default;

void TExtGridButton::SetGlyph(TBitmap *Value)
{
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph->SetSize(0, 0);
    if (FGlyphDisabled->Empty() && !FGlyph->Empty()) {
        QImage img = FGlyph->ToImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const int grey = ((qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3) / 2 + 96;
                line[x] = qRgb(grey, grey, grey);
            }
        }
        FGlyphDisabled->SetImage(img);
    }
    Invalidate();
}

void TExtGridButton::SetGlyphHot(TBitmap *Value)
{
    if (Value)
        FGlyphHot->Assign(Value);
    else
        FGlyphHot->SetSize(0, 0);
}

void TExtGridButton::SetGlyphDown(TBitmap *Value)
{
    if (Value)
        FGlyphDown->Assign(Value);
    else
        FGlyphDown->SetSize(0, 0);
}

void TExtGridButton::SetGlyphDisabled(TBitmap *Value)
{
    if (Value)
        FGlyphDisabled->Assign(Value);
    else
        FGlyphDisabled->SetSize(0, 0);
}

void TExtGridButton::BuildShade()
{
    if (FGlyph->Empty()) {
        FGlyphShade->SetSize(0, 0);
        return;
    }
    const QImage src = FGlyph->ToImage().convertToFormat(QImage::Format_RGB32);
    QImage img(src.size(), QImage::Format_RGB32);
    const QRgb transparent = src.pixel(0, src.height() - 1) & 0xFFFFFF;
    for (int y = 0; y < src.height(); ++y) {
        const auto *s = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        auto *d = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = s[x] & 0xFFFFFF;
            // The glyph with its transparent colour made black, combined by exclusive-or with the
            // glyph: its own pixels come out black, the rest as the transparent colour.
            const QRgb masked = c == transparent ? 0 : c;
            const QRgb x2 = masked ^ c;
            d[x] = 0xFF000000u | (x2 == 0 ? 0x808080u : x2);
        }
    }
    FGlyphShade->SetImage(img);
}

void TExtGridButton::SetLayout(TButtonLayout Value)
{
    if (Value == FLayout)
        return;
    FLayout = Value;
    Invalidate();
}

void TExtGridButton::SetMargin(int Value)
{
    if (Value == FMargin || Value < -1)
        return;
    FMargin = Value;
    Invalidate();
}

void TExtGridButton::SetSpacing(int Value)
{
    if (Value == FSpacing)
        return;
    FSpacing = Value;
    Invalidate();
}

void TExtGridButton::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    Invalidate();
}

void TExtGridButton::SetShowCaption(bool Value)
{
    if (Value == FShowCaption)
        return;
    FShowCaption = Value;
    Invalidate();
}

void TExtGridButton::SetShaded(bool Value)
{
    FShaded = Value;
    if (Value && !ComponentState().Contains(TComponentStateItem::csLoading))
        BuildShade();
}

void TExtGridButton::SetStyle(TExtGridButtonStyle Value)
{
    FStyle = Value;
    Invalidate();
}

void TExtGridButton::SetRounded(bool Value)
{
    FRounded = Value;
    Invalidate();
}

void TExtGridButton::SetDropDownButton(bool Value)
{
    FDropDownButton = Value;
    Invalidate();
}

void TExtGridButton::SetDropDownMenu(TPopupMenu *Value)
{
    FDropDownMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TExtGridButton::Notification(TComponent *AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDropDownMenu)
        FDropDownMenu = nullptr;
}

void TExtGridButton::SetAutoThemeAdapt(bool Value)
{
    FAutoThemeAdapt = Value;
    if (Value)
        ThemeAdapt();
}

void TExtGridButton::SetColorTo(TColor Value)
{
    FColorTo = Value;
    Invalidate();
}

void TExtGridButton::SetColorChecked(TColor Value)
{
    FColorChecked = Value;
    Invalidate();
}

void TExtGridButton::SetColorCheckedTo(TColor Value)
{
    FColorCheckedTo = Value;
    Invalidate();
}

void TExtGridButton::SetBorderColor(TColor Value)
{
    FBorderColor = Value;
    Invalidate();
}

void TExtGridButton::SetGroupIndex(int Value)
{
    if (Value == FGroupIndex)
        return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TExtGridButton::SetAllowAllUp(bool Value)
{
    if (Value == FAllowAllUp)
        return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TExtGridButton::SetLook(int Value)
{
    struct TLook {
        TColor Color, ColorTo, Hot, HotTo, Down, DownTo, Checked, CheckedTo, BorderDown, BorderHot;
    };
    static const TLook looks[7] = {
        {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, 0xAF987A, 0xC3CECE},
        {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31},
        {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
        {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
        {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
        {clBtnFace, clNone, clBtnFace, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone},
        {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, 0x808080, 0x808080},
    };
    if (Value < 0 || Value > 6)
        return;
    FLook = Value;
    const TLook &l = looks[Value];
    SetColor(l.Color);
    FColorTo = l.ColorTo;
    FColorHot = l.Hot;
    FColorHotTo = l.HotTo;
    FColorDown = l.Down;
    FColorDownTo = l.DownTo;
    FColorChecked = l.Checked;
    FColorCheckedTo = l.CheckedTo;
    FBorderDownColor = l.BorderDown;
    FBorderHotColor = l.BorderHot;
    FBorderColor = clNone;
    FFlat = true;
    FRounded = Value == 0;
    Invalidate();
}

void TExtGridButton::ThemeAdapt()
{
    switch (GetXPColorScheme()) {
    case 1: SetLook(2); break;
    case 2: SetLook(3); break;
    case 3: SetLook(4); break;
    default: SetLook(1); break;
    }
}

void TExtGridButton::Loaded()
{
    TGraphicControl::Loaded();
    if (FShaded)
        BuildShade();
    if (FAutoThemeAdapt)
        ThemeAdapt();
}

void TExtGridButton::SetDown(bool Value)
{
    if (FGroupIndex == 0 && FStyle == tasButton)
        Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        Repaint();
        return;
    }
    if (Value == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Repaint();
    }
}

void TExtGridButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage m;
    m.Msg = CM_BUTTONPRESSED;
    m.WParam = static_cast<WPARAM>(FGroupIndex);
    m.LParam = reinterpret_cast<LPARAM>(static_cast<TControl *>(this));
    Parent()->Broadcast(m);
}

void TExtGridButton::Dispatch(TMessage &Message)
{
    if (Message.Msg != CM_BUTTONPRESSED) {
        TGraphicControl::Dispatch(Message);
        return;
    }
    auto *sender = dynamic_cast<TExtGridButton *>(reinterpret_cast<TControl *>(Message.LParam));
    if (!sender || sender == this || static_cast<int>(Message.WParam) != FGroupIndex)
        return;
    if (sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        if (auto *a = dynamic_cast<TCustomAction *>(Action()))
            a->SetChecked(false);
        Invalidate();
    }
    FAllowAllUp = sender->AllowAllUp();
}

void TExtGridButton::WndProc(TMessage &Message)
{
    if ((Message.Msg == WM_THEMECHANGED || Message.Msg == CM_SYSFONTCHANGED) && FAutoThemeAdapt)
        ThemeAdapt();
    if (Message.Msg == CM_SYSCOLORCHANGE)
        Invalidate();
    TGraphicControl::WndProc(Message);
}

void TExtGridButton::Click()
{
    TGraphicControl::Click();
}

void TExtGridButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (FDropDownButton && X > ClientWidth() - 12) {
        FState = bsUp;
        if (OnDropDown)
            OnDropDown(this);
        if (FDropDownMenu) {
            const TPoint p = ClientToScreen({0, Height()});
            FDropDownMenu->Popup(p.X, p.Y);
        }
        return;
    }
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    if (FStyle == tasCheck) {
        FState = bsDown;
        Repaint();
    }
    FDragging = true;
}

void TExtGridButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
        TButtonState next = FDown ? bsExclusive : bsUp;
        if (inside)
            next = FDown ? bsExclusive : bsDown;
        if (FStyle == tasCheck && FDown)
            next = bsDown;
        if (next != FState) {
            FState = next;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TExtGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging)
        return;
    FDragging = false;
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    if (FGroupIndex == 0) {
        FState = bsUp;
        if (FStyle == tasCheck) {
            SetDown(!FDown);
            FState = bsUp;
        }
        if (inside && FState != bsDown && FState != bsExclusive)
            Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            Repaint();
    } else {
        if (FDown)
            FState = bsExclusive;
        Repaint();
    }
    if (inside)
        Click();
    UpdateTracking();
}

void TExtGridButton::UpdateTracking()
{
    if (!Enabled())
        return;
    TPoint p;
    if (!GetCursorPos(p))
        return;
    p = ScreenToClient(p);
    const bool over = p.X >= 0 && p.Y >= 0 && p.X < Width() && p.Y < Height();
    if (over) {
        if (!FMouseInControl)
            MouseEnter();
    } else if (FMouseInControl) {
        FMouseInControl = false;
        Invalidate();
    }
}

void TExtGridButton::MouseEnter()
{
    // The pointer counts as over the button only while no window holds the mouse.
    if (!FMouseInControl && Enabled() && !GetCapture()) {
        FMouseInControl = true;
        Repaint();
    }
    TGraphicControl::MouseEnter();
}

void TExtGridButton::MouseLeave()
{
    if (FMouseInControl && Enabled() && !FDragging) {
        FMouseInControl = false;
        Invalidate();
    }
    TGraphicControl::MouseLeave();
}

void TExtGridButton::CMEnabledChanged(TCMEnabledChanged &Message)
{
    TGraphicControl::CMEnabledChanged(Message);
    if (!Enabled())
        FMouseInControl = false;
    else
        UpdateTracking();
    Repaint();
}

void TExtGridButton::CMFontChanged(TCMFontChanged &Message)
{
    TGraphicControl::CMFontChanged(Message);
    Invalidate();
}

void TExtGridButton::CMTextChanged(TCMTextChanged &Message)
{
    TGraphicControl::CMTextChanged(Message);
    Invalidate();
}

void TExtGridButton::CMDialogChar(TCMDialogChar &Message)
{
    if (IsAccel(Message.CharCode, Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
        Click();
        Message.Result = 1;
        return;
    }
    TGraphicControl::CMDialogChar(Message);
}

void TExtGridButton::WMLButtonDblClk(TWMMouse &Message)
{
    TGraphicControl::WMLButtonDblClk(Message);
    if (FDown)
        DblClick();
}

TControlActionLink *TExtGridButton::CreateActionLink()
{
    return new TExtGridButtonActionLink;
}

void TExtGridButton::ActionChange(TObject *Sender, bool CheckDefaults)
{
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    auto *a = dynamic_cast<TCustomAction *>(Sender);
    if (!a)
        return;
    if (!CheckDefaults || FGroupIndex == 0)
        SetGroupIndex(a->GroupIndex());
    if (!CheckDefaults || !FDown)
        SetDown(a->Checked());
}

void TExtGridButton::Paint()
{
    TCanvas *c = Canvas();
    const bool designing = ComponentState().Contains(TComponentStateItem::csDesigning);
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown)
        FState = bsDown;
    c->SetFont(Font());
    TRect r{0, 0, Width(), Height()};
    const bool hot = FMouseInControl && Enabled() && !designing;

    if (FFlat) {
        if (FBorderDownColor == clNone || FRounded)
            Inflate(r, -1);
        if (!hot) {
            if (FStyle == tasCheck && FDown) {
                Face(c, FColorChecked, FColorCheckedTo, FBorderDownColor, r);
            } else {
                if (FColorTo == clNone) {
                    UseBrush(c, Color());
                    c->FillRect(r);
                } else {
                    const TColor pen = FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor);
                    DrawButtonGradient(c, Color(), FColorTo, false, r, 16, pen);
                }
                if (FBorderColor != clNone) {
                    ClearBrush(c);
                    UsePen(c, FBorderColor);
                    if (FRounded) {
                        Inflate(r, 1);
                        c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 8, 8);
                    } else {
                        c->Rectangle(r);
                    }
                }
            }
        } else {
            TColor from = FColorHot, to = FColorHotTo, pen = FBorderHotColor;
            if (FState == bsDown) {
                from = FColorDown;
                to = FColorDownTo;
                pen = FBorderDownColor;
            }
            if (FStyle == tasCheck && FDown && FState != bsDown) {
                from = FColorChecked;
                to = FColorCheckedTo;
                pen = FBorderDownColor;
            }
            c->Pen()->SetWidth(1);
            if (FRounded)
                pen = clNone;
            Face(c, from, to, pen, r);
            if (FRounded) {
                Inflate(r, 1);
                ClearBrush(c);
                UsePen(c, FState == bsDown ? FBorderDownColor : FBorderHotColor);
                c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 8, 8);
            }
            if (FDropDownButton && pen != clNone) {
                UsePen(c, pen);
                c->MoveTo(r.Right - 12, r.Top);
                c->LineTo(r.Right - 12, r.Bottom);
            }
        }
        Inflate(r, -1);
    } else {
        const bool pushed = FState == bsDown || FState == bsExclusive;
        if (WindowsPastFive() && FAutoXPStyle && FIsComCtl6 && IsThemeActive()) {
            HTHEME t = OpenThemeData(Parent() ? Parent()->Handle() : nullptr, QStringLiteral("button"));
            DrawThemeBackground(t, c->Handle(), BP_PUSHBUTTON, pushed ? 3 : (FMouseInControl ? 2 : 1), r, nullptr);
            CloseThemeData(t);
        } else {
            DrawFrameControl(c->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0));
        }
    }

    TPoint offset{0, 0};
    if (FState == bsDown || FState == bsExclusive) {
        if (FState == bsExclusive && (!FFlat || !FMouseInControl)) {
            TRect g = r;
            Inflate(g, 1);
            Face(c, FColorChecked, FColorCheckedTo, FDown ? FBorderDownColor : FBorderColor, g);
        }
        if (!FFlat && !designing)
            offset = {1, 1};
    } else if (FFlat && FMouseInControl && Enabled() && FShaded && !designing) {
        offset = {-1, -1};
    }

    if (FDropDownButton) {
        const int m = r.Top + (r.Bottom - r.Top) / 2;
        UseBrush(c, Font()->Color());
        UsePen(c, Font()->Color());
        c->Polygon({{r.Right - 8, m - 1}, {r.Right - 4, m - 1}, {r.Right - 6, m + 1}});
        r.Right -= 12;
    }

    const TButtonState glyphState = FDown && FGroupIndex != 0 ? bsDown : FState;
    DrawGlyphAndCaption(r, offset, glyphState);
}

void TExtGridButton::DrawGlyphAndCaption(TRect R, TPoint Offset, TButtonState State)
{
    TCanvas *c = Canvas();
    const bool designing = ComponentState().Contains(TComponentStateItem::csDesigning);
    const UnicodeString caption = Caption();
    const unsigned flags = static_cast<unsigned>(DrawTextBiDiModeFlags(0));
    TButtonLayout layout = FLayout;
    if (flags & DT_RIGHT) {
        if (layout == blGlyphLeft)
            layout = blGlyphRight;
        else if (layout == blGlyphRight)
            layout = blGlyphLeft;
    }
    const TPoint client{R.Width(), R.Height()};
    TPoint glyphSize{0, 0};
    if (!FGlyph->Empty())
        glyphSize = {FGlyph->Width(), FGlyph->Height()};
    TPoint textSize{0, 0};
    if (!caption.isEmpty()) {
        TRect t{0, 0, R.Width(), 0};
        DrawText(c->Handle(), caption, -1, &t, DT_CALCRECT | flags);
        textSize = {t.Width(), t.Height()};
    }
    TPoint glyphPos, textPos;
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    if (across) {
        glyphPos.Y = (client.Y - glyphSize.Y + 1) / 2;
        textPos.Y = (client.Y - textSize.Y + 1) / 2;
    } else {
        glyphPos.X = (client.X - glyphSize.X + 1) / 2;
        textPos.X = (client.X - textSize.X + 1) / 2;
    }
    const int extent = across ? client.X : client.Y;
    const int gExt = across ? glyphSize.X : glyphSize.Y;
    const int tExt = across ? textSize.X : textSize.Y;
    int spacing = FSpacing;
    int margin = FMargin;
    if (gExt == 0 || tExt == 0)
        spacing = 0;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (extent - (gExt + tExt)) / 3;
            spacing = margin;
        } else {
            margin = (extent - (spacing + gExt + tExt) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (extent - margin - gExt - tExt) / 2;
    }
    int gAt = 0, tAt = 0;
    switch (layout) {
    case blGlyphLeft:
    case blGlyphTop:
        gAt = margin;
        tAt = gAt + gExt + spacing;
        break;
    case blGlyphRight:
    case blGlyphBottom:
        gAt = extent - margin - gExt;
        tAt = gAt - spacing - tExt;
        break;
    }
    if (across) {
        glyphPos.X = gAt;
        textPos.X = tAt;
    } else {
        glyphPos.Y = gAt;
        textPos.Y = tAt;
    }
    glyphPos = {glyphPos.X + R.Left + Offset.X, glyphPos.Y + R.Top + Offset.Y};
    textPos = {textPos.X + R.Left + Offset.X, textPos.Y + R.Top + Offset.Y};
    if (caption.isEmpty())
        glyphPos = {0, 0};

    const bool pressed = State == bsDown || State == bsExclusive;
    TBitmap *img = FGlyph.get();
    if (FMouseInControl && !pressed && !designing)
        img = FGlyphHot.get();
    else if (pressed)
        img = FGlyphDown.get();
    if (!Enabled())
        img = FGlyphDisabled.get();
    if (img->Empty())
        img = FGlyph.get();
    if (!img->Empty()) {
        if (FMouseInControl && FShaded && Enabled() && State != bsDown && !FGlyphShade->Empty()) {
            const TPoint at = caption.isEmpty() ? glyphPos : TPoint{glyphPos.X + 2, glyphPos.Y + 2};
            DrawTransparent(c, FGlyphShade.get(), at.X, at.Y);
        }
        DrawTransparent(c, img, glyphPos.X, glyphPos.Y);
    }

    if (FShowCaption && !caption.isEmpty()) {
        TRect t{textPos.X, textPos.Y, textPos.X + textSize.X, textPos.Y + textSize.Y};
        if (Offset.X == -1 && Offset.Y == -1)
            t = {t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1};
        ClearBrush(c);
        const unsigned drawFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | flags;
        if (State == bsDisabled) {
            TRect light{t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1};
            c->Font()->SetColor(clBtnHighlight);
            DrawText(c->Handle(), caption, -1, &light, drawFlags);
            c->Font()->SetColor(clBtnShadow);
            DrawText(c->Handle(), caption, -1, &t, drawFlags);
        } else {
            DrawText(c->Handle(), caption, -1, &t, drawFlags);
        }
    }
}
