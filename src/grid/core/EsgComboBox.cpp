#include "grid/core/EsgComboBox.h"

#include "controls/ExtGridDraw.h"
#include "controls/ExtXPVS.h"

#include "platform/Forms.h"
#include "platform/VersionInfo.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

namespace {

// The frame of a disabled themed combo that does not keep its normal border.
constexpr TColor DisabledFrameColor = static_cast<TColor>(0xB99D7F);

// Visual styles for the combo need the common controls library of version 6 or later.
bool CommonControlsThemed()
{
    const Cardinal version = GetFileVersion(QStringLiteral("comctl32.dll"));
    return version != 0xFFFFFFFFu && (version >> 16) > 5;
}

} // namespace

TEsgCustomCombo::TEsgCustomCombo(TComponent *AOwner)
    : TCustomComboBox(AOwner), FLabelFont(std::make_unique<TFont>())
{
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsThemed = CommonControlsThemed();
    FLabelFont->OnChange = [this](TObject *Sender) { LabelFontChanged(Sender); };
    FLoadedColor = clWindow;
}

TEsgCustomCombo::~TEsgCustomCombo()
{
    TLabel *label = FLabel;
    FLabel = nullptr;
    delete label;
}

void TEsgCustomCombo::Init()
{
    FNormalColor = Color();
}

void TEsgCustomCombo::SelectItem(const UnicodeString &AString)
{
    for (int i = 0; i < Items()->Count(); ++i)
        if (Items()->Strings(i).compare(AString, Qt::CaseInsensitive) == 0) {
            SetItemIndex(i);
            return;
        }
}

// ---- properties ----

void TEsgCustomCombo::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    SetCtl3D(!Value);
    if (FFlatParentColor && Value && Parent())
        SetColor(Parent()->Color());
    else
        SetColor(FLoadedColor);
    Invalidate();
}

void TEsgCustomCombo::SetEtched(bool Value)
{
    if (Value == FEtched)
        return;
    FEtched = Value;
    Invalidate();
}

void TEsgCustomCombo::SetButtonWidth(int Value)
{
    if (Value < 14 || Value > 32)
        return;
    FButtonWidth = Value;
    Invalidate();
}

void TEsgCustomCombo::SetDropWidth(int Value)
{
    FDropWidth = Value;
    if (Value > 0)
        Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(Value), 0);
}

void TEsgCustomCombo::SetBorderColor(TColor Value)
{
    if (Value == FBorderColor)
        return;
    FBorderColor = Value;
    if (HandleAllocated())
        RedrawFrame();
}

void TEsgCustomCombo::SetFlatLineColor(TColor Value)
{
    FFlatLineColor = Value;
    Invalidate();
}

void TEsgCustomCombo::SetFlatParentColor(bool Value)
{
    FFlatParentColor = Value;
    Invalidate();
}

void TEsgCustomCombo::SetColor(TColor Value)
{
    if (Loading())
        FLoadedColor = Value;
    TCustomComboBox::SetColor(Value);
}

void TEsgCustomCombo::SetEnabled(bool Value)
{
    const bool was = Enabled();
    TCustomComboBox::SetEnabled(Value);
    if (was == Enabled() || Loading() || Designing())
        return;
    if (FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->SetEnabled(Value);
        UpdateLabel();
    }
}

void TEsgCustomCombo::SetVisible(bool Value)
{
    TCustomComboBox::SetVisible(Value);
    if (FLabel)
        FLabel->SetVisible(Visible());
}

void TEsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!ComponentState().Contains(TComponentStateItem::csDestroying))
        UpdateLabel();
}

// ---- the label ----

void TEsgCustomCombo::MakeLabel()
{
    if (FLabel)
        return;
    FLabel = new TLabel(this);
    FLabel->FreeNotification(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(FLabelFont.get());
    FLabel->SetParentFont(ParentFont());
}

UnicodeString TEsgCustomCombo::LabelCaption() const
{
    return FLabel ? FLabel->Caption() : UnicodeString();
}

void TEsgCustomCombo::SetLabelCaption(const UnicodeString &Value)
{
    MakeLabel();
    FLabel->SetCaption(Value);
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelFont(TFont *Value)
{
    if (Value)
        FLabelFont->Assign(Value);
    if (FLabel && !ParentFont())
        FLabel->Font()->Assign(FLabelFont.get());
    UpdateLabel();
}

void TEsgCustomCombo::LabelFontChanged(TObject *)
{
    if (FLabel && !ParentFont())
        FLabel->Font()->Assign(FLabelFont.get());
    UpdateLabel();
    if (Designing() && !Loading())
        SetParentFont(false);
}

void TEsgCustomCombo::SetLabelAlwaysEnabled(bool Value)
{
    FLabelAlwaysEnabled = Value;
    if (FLabel) {
        if (Value)
            FLabel->SetEnabled(true);
        else
            FLabel->SetEnabled(Enabled());
        UpdateLabel();
    }
}

void TEsgCustomCombo::SetLabelTransparent(bool Value)
{
    FLabelTransparent = Value;
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelMargin(int Value)
{
    FLabelMargin = Value;
    UpdateLabel();
}

void TEsgCustomCombo::SetLabelPosition(TLabelPosition Value)
{
    FLabelPosition = Value;
    UpdateLabel();
}

void TEsgCustomCombo::UpdateLabel()
{
    if (!FLabel)
        return;
    if (FLabel->Parent() != Parent())
        FLabel->SetParent(Parent());
    FLabel->SetTransparent(FLabelTransparent);
    if (!ParentFont())
        FLabel->Font()->Assign(FLabelFont.get());
    // The caption's width as drawn, accelerator marks hidden.
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(FLabel->Font());
    TRect r(0, 0, 1000, 255);
    DrawText(measure.Canvas()->Handle(), FLabel->Caption(), -1, &r, DT_CALCRECT | DT_HIDEPREFIX);
    const int w = r.Width();
    const int h = FLabel->Height();
    const int lw = FLabel->Width();
    const int l = Left(), t = Top(), wd = Width(), ht = Height(), m = FLabelMargin;
    int top = t, left = l;
    switch (FLabelPosition) {
    case lpLeftTop: top = t; left = l - w - m; break;
    case lpLeftCenter: top = t + (ht - h) / 2; left = l - w - m; break;
    case lpLeftBottom: top = t + ht - h; left = l - w - m; break;
    case lpTopLeft: top = t - h - m; left = l; break;
    case lpBottomLeft: top = t + ht + m; left = l; break;
    case lpLeftTopLeft: top = t; left = l - m; break;
    case lpLeftCenterLeft: top = t + (ht - h) / 2; left = l - m; break;
    case lpLeftBottomLeft: top = t + ht - h; left = l - m; break;
    case lpTopCenter: top = t - h - m; left = l + (wd - lw) / 2; break;
    case lpBottomCenter: top = t + ht + m; left = l + (wd - lw) / 2; break;
    case lpRightTop: top = t; left = l + wd + m; break;
    case lpRightCenter: top = t + (ht - h) / 2; left = l + wd + m; break;
    case lpRighBottom: top = t + ht - h; left = l + wd + m; break;
    }
    FLabel->SetBounds(left, top, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

void TEsgCustomCombo::Notification(TComponent *AComponent, TOperation Operation)
{
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FLabel)
        FLabel = nullptr;
}

void TEsgCustomCombo::Loaded()
{
    TCustomComboBox::Loaded();
    if (FDropWidth > 0)
        Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
    FOldColor = FLoadedColor;
    if (!(FFlatParentColor && !FFlat))
        SetColor(FLoadedColor);
    if (FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->SetEnabled(Enabled());
        if (ParentFont())
            FLabelFont->Assign(Font());
    }
    UpdateLabel();
    Init();
}

// ---- focus, hover and the list ----

void TEsgCustomCombo::RedrawFrame()
{
    Perform(WM_NCPAINT, 0, 0);
}

void TEsgCustomCombo::CMEnter(TCMEnter &Message)
{
    if (!Designing()) {
        FHasFocus = true;
        RedrawFrame();
        if (FFocusColor != clNone)
            SetColor(FFocusColor);
        if (FFocusLabel && FLabel)
            FLabel->Font()->SetStyle(FLabel->Font()->Style() + TFontStyles{TFontStyle::fsBold});
    }
    TCustomComboBox::CMEnter(Message);
}

void TEsgCustomCombo::CMExit(TCMExit &Message)
{
    if (!Designing()) {
        FHasFocus = false;
        RedrawFrame();
        if (FFocusColor != clNone && FNormalColor != clNone)
            SetColor(FNormalColor);
        if (FLabel)
            FLabel->Font()->SetStyle(FLabel->Font()->Style() - TFontStyles{TFontStyle::fsBold});
    }
    TCustomComboBox::CMExit(Message);
}

void TEsgCustomCombo::WMSetFocus(TWMSetFocus &Message)
{
    TCustomComboBox::WMSetFocus(Message);
    if (Designing())
        return;
    if (FFocusBorderColor != clNone)
        Invalidate();
    if (FFocusColor != clNone)
        TCustomComboBox::SetColor(FFocusColor);
    if (FFocusLabel && FLabel)
        FLabel->Font()->SetStyle(FLabel->Font()->Style() + TFontStyles{TFontStyle::fsBold});
}

void TEsgCustomCombo::WMKillFocus(TWMKillFocus &Message)
{
    TCustomComboBox::WMKillFocus(Message);
    if (Designing())
        return;
    if (FFocusColor != clNone && FNormalColor != clNone)
        SetColor(FNormalColor);
    if (FLabel)
        FLabel->Font()->SetStyle(FLabel->Font()->Style() - TFontStyles{TFontStyle::fsBold});
    Invalidate();
}

void TEsgCustomCombo::CMFontChanged(TCMFontChanged &Message)
{
    TCustomComboBox::CMFontChanged(Message);
    if ((Designing() || Loading()) && ParentFont() && FLabel)
        FLabelFont->Assign(Font());
}

void TEsgCustomCombo::CMParentFontChanged(TCMParentFontChanged &Message)
{
    TCustomComboBox::CMParentFontChanged(Message);
    if (ParentFont() && FLabel)
        FLabel->Font()->Assign(Font());
}

void TEsgCustomCombo::CMMouseEnter(TCMMouseEnter &Message)
{
    TCustomComboBox::CMMouseEnter(Message);
    if (!Enabled() || FMouseInControl)
        return;
    FMouseInControl = true;
    RedrawFrame();
    if (FAutoFocus && !Designing()) {
        TCustomForm *form = GetParentForm();
        if ((!form || (Screen && form == Screen->ActiveForm())) && CanFocus())
            SetFocus();
    }
    if (FIsWinXP)
        Invalidate();
}

void TEsgCustomCombo::CMMouseLeave(TCMMouseLeave &Message)
{
    TCustomComboBox::CMMouseLeave(Message);
    if (!Enabled() || !FMouseInControl)
        return;
    FMouseInControl = false;
    RedrawFrame();
    FButtonHover = false;
    if (FIsWinXP)
        Invalidate();
}

void TEsgCustomCombo::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomComboBox::MouseMove(Shift, X, Y);
    const bool hover = X > Width() - FButtonWidth && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
}

void TEsgCustomCombo::CMEnabledChanged(TCMEnabledChanged &Message)
{
    if (FFlat && !Loading()) {
        if (!Enabled()) {
            FOldParentColor = ParentColor();
            FOldColor = Color();
            SetParentColor(true);
        } else {
            SetParentColor(FOldParentColor);
            if (!FOldParentColor)
                TCustomComboBox::SetColor(FOldColor);
        }
    }
    TCustomComboBox::CMEnabledChanged(Message);
}

void TEsgCustomCombo::DropDown()
{
    TCustomComboBox::DropDown();
    if (HandleAllocated())
        Invalidate();
}

void TEsgCustomCombo::CloseUp()
{
    TCustomComboBox::CloseUp();
    if (HandleAllocated())
        Invalidate();
    if (OnDropUp)
        OnDropUp(this);
}

// ---- painting ----

bool TEsgCustomCombo::MouseButtonDown()
{
    return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
}

bool TEsgCustomCombo::OwnPainting() const
{
    if (FIsVista && FButtonColor == clNone)
        return false;
    return FFlat || FButtonColor != clNone || FBorderColor != clNone ||
           (FHasFocus && FFocusBorderColor != clNone) || (!Enabled() && FIsThemed && !FDisabledBorder);
}

void TEsgCustomCombo::WMNCPaint(TWMNCPaint &Message)
{
    if (!Message.DC) {
        TCustomComboBox::WMNCPaint(Message);
        return;
    }
    TCanvas *dc = Message.DC;
    if (OwnPainting()) {
        const int saved = dc->SaveDC();
        DrawButton(dc);
        dc->RestoreDC(saved);
    }
    const int saved = dc->SaveDC();
    DrawBorders(dc);
    dc->RestoreDC(saved);
    Message.Result = 0;
}

void TEsgCustomCombo::DrawButton(TCanvas *DC)
{
    const int cw = ClientWidth();
    TRect r = InsetRect(TRect(cw - FButtonWidth + 2, 0, Width(), Height()), 1);
    if (FButtonColor == clNone && ExtXPVS::ThemesActive()) {
        const bool down = MouseButtonDown();
        const bool dropped = DroppedDown();
        int state = CBXS_NORMAL;
        if (!Enabled())
            state = CBXS_DISABLED;
        else if (down && dropped)
            state = CBXS_PRESSED;
        else if (FButtonHover && !down && !dropped)
            state = CBXS_HOT;
        HTHEME theme = ExtXPVS::OpenThemeData(Parent() ? Parent()->Handle() : nullptr, QStringLiteral("combobox"));
        ExtXPVS::DrawThemeBackground(theme, DC->Handle(), CP_DROPDOWNBUTTON, state, r, nullptr);
        ExtXPVS::CloseThemeData(theme);
    } else if (FButtonColor == clNone) {
        TRect b(r.Left - 4, r.Top + 1, r.Right, r.Bottom - 1);
        DrawFrameControl(DC->Handle(), b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    } else {
        const bool down = MouseButtonDown();
        TColor face = FButtonColor;
        if (FButtonHover)
            face = down ? FButtonColorDown : FButtonColorHot;
        TRect b(r.Left - 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        DC->Brush()->SetStyle(TBrushStyle::bsSolid);
        DC->Brush()->SetColor(face);
        DC->Pen()->SetColor(face);
        DC->FillRect(b);
        DC->Pen()->SetColor(FButtonBorderColor);
        DC->MoveTo(b.Left, b.Top);
        DC->LineTo(b.Left, b.Bottom);
        const TColor arrow = down ? FButtonTextColorDown : FButtonTextColor;
        DC->Brush()->SetColor(arrow);
        DC->Pen()->SetColor(arrow);
        DC->Polygon({{b.Left + 4, b.Top + 7}, {b.Left + 10, b.Top + 7}, {b.Left + 7, b.Top + 10}});
    }
    DC->ExcludeClipRect(cw - FButtonWidth - 4, 0, cw + 2, Height());
}

void TEsgCustomCombo::DrawBorders(TCanvas *DC)
{
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone)
        return;
    if (FIsVista && FBorderColor == clNone)
        return;
    TRect r(0, 0, Width(), Height());
    const bool focusedBorder = FHasFocus && FFocusBorderColor != clNone;
    if (!Enabled() && FIsThemed && !FDisabledBorder) {
        FrameRectColor(DC, r, DisabledFrameColor);
    } else if (FBorderColor != clNone && !focusedBorder) {
        FrameRectColor(DC, r, FBorderColor);
    } else if (focusedBorder) {
        FrameRectColor(DC, r, FFocusBorderColor);
    } else if (FFocusBorderColor != clNone) {
        // Only a focus border, and no focus: the platform's frame stays.
    } else {
        const bool hot = FFocusBorder && !Designing() && (FMouseInControl || FHasFocus);
        const TColor a = hot ? clBtnFace : (Parent() ? Parent()->Color() : clBtnFace);
        const TColor b = Color();
        if (hot) {
            DrawEdge(DC->Handle(), r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            FrameRectColor(DC, r, a);
            r = InsetRect(r, 1);
            FrameRectColor(DC, r, b);
        } else {
            FrameRectColor(DC, r, a);
            r = InsetRect(r, 1);
            FrameRectColor(DC, TRect(r.Left, r.Top, r.Right - FButtonWidth, r.Bottom), a);
            r = InsetRect(r, 1);
            FrameRectColor(DC, r, b);
        }
        if (FFlat && FFlatLineColor != clNone) {
            DC->Pen()->SetColor(FFlatLineColor);
            DC->MoveTo(r.Left - 2, Height() - 1);
            DC->LineTo(r.Right - FButtonWidth - 1, Height() - 1);
        }
    }
    if (Style() == csSimple || (FIsWinXP && ExtXPVS::ThemesActive()))
        return;
    // The flat button area (the themed look keeps its own button).
    const int cw = ClientWidth();
    DC->ExcludeClipRect(cw - FButtonWidth + 4, 4, cw - 4, Height() - 4);
    TRect b = InsetRect(TRect(cw - FButtonWidth - 2, 0, Width(), Height()), 2);
    const bool active = Designing() ? Enabled() : (FMouseInControl || FHasFocus);
    if (!active) {
        DC->Brush()->SetStyle(TBrushStyle::bsSolid);
        DC->Brush()->SetColor(clBtnFace);
        DC->FillRect(TRect(b.Left, b.Top + 1, b.Right - 1, b.Bottom - 1));
    }
    DC->ExcludeClipRect(b.Left, b.Top, b.Right, b.Bottom);
}
