#include "dropdowns/ExtCustomDropDown.h"

#include "platform/UxTheme.h"
#include "platform/WinGdi.h"

// ---- TExtDropDownSpeedButton ----

TExtDropDownSpeedButton::TExtDropDownSpeedButton(TComponent *AOwner) : TSpeedButton(AOwner)
{
    FIsWinXP = IsComCtl6();
}

void TExtDropDownSpeedButton::SetButtonStyle(TButtonStyle Value)
{
    FButtonStyle = Value;
    Invalidate();
}

void TExtDropDownSpeedButton::SetEtched(bool Value)
{
    if (FEtched == Value)
        return;
    FEtched = Value;
    Invalidate();
}

void TExtDropDownSpeedButton::SetFocused(bool Value)
{
    if (FFocused == Value)
        return;
    FFocused = Value;
    Invalidate();
}

bool TExtDropDownSpeedButton::UseThemes() const
{
    return FIsWinXP && ::IsThemeActive();
}

void TExtDropDownSpeedButton::CMMouseEnter(TCMMouseEnter &Message)
{
    TSpeedButton::CMMouseEnter(Message);
    FHot = true;
    Invalidate();
}

void TExtDropDownSpeedButton::CMMouseLeave(TCMMouseLeave &Message)
{
    TSpeedButton::CMMouseLeave(Message);
    FHot = false;
    Invalidate();
}

void TExtDropDownSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Enabled())
        FPressed = true;
    TSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TExtDropDownSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        FPressed = false;
    TSpeedButton::MouseUp(Button, Shift, X, Y);
}

TDropDownEditButton *TExtDropDownSpeedButton::Container() const
{
    return dynamic_cast<TDropDownEditButton *>(Owner());
}

TExtCustomDropDown *TExtDropDownSpeedButton::Edit() const
{
    TDropDownEditButton *c = Container();
    return c ? dynamic_cast<TExtCustomDropDown *>(c->Owner()) : nullptr;
}

void TExtDropDownSpeedButton::Paint()
{
    PaintOn(Canvas());
}

void TExtDropDownSpeedButton::PaintOn(TCanvas *C)
{
    if (FButtonStyle == bsButton)
        PaintButtonStyle(C);
    else
        PaintDropDownStyle(C);
}

namespace {

void DrawArrow(TCanvas *C, TColor Color)
{
    // An unset colour (as the colour tones leave it) paints black.
    const TColor c = Color == clNone ? clBlack : Color;
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(c);
    C->Pen()->SetColor(c);
    C->Polygon({TPoint(5, 7), TPoint(11, 7), TPoint(8, 10)});
}

} // namespace

void TExtDropDownSpeedButton::PaintDropDownStyle(TCanvas *C)
{
    TDropDownEditButton *box = Container();
    TExtCustomDropDown *edit = Edit();
    const TRect client(0, 0, Width(), Height());
    const bool hot = FHot;
    const bool pressed = Pressed();
    if (box && box->ButtonColor != clNone) {
        TColor back = box->ButtonColor;
        if (hot && box->ButtonColorHot != clNone)
            back = box->ButtonColorHot;
        if (pressed && box->ButtonColorDown != clNone)
            back = box->ButtonColorDown;
        C->Brush()->SetStyle(TBrushStyle::bsSolid);
        C->Brush()->SetColor(back);
        C->Pen()->SetColor(back);
        C->FillRect(client);
        if (edit) {
            C->Pen()->SetColor(edit->BorderColor() == clNone ? back : edit->BorderColor());
            C->MoveTo(0, 0);
            C->LineTo(0, Height());
        }
        TColor arrow = box->ButtonTextColor;
        if (hot)
            arrow = box->ButtonTextColorHot;
        if (pressed)
            arrow = box->ButtonTextColorDown;
        DrawArrow(C, arrow);
        return;
    }
    if (box && box->Glyph() && !box->Glyph()->Empty()) {
        C->Brush()->SetStyle(TBrushStyle::bsSolid);
        C->Brush()->SetColor(clBtnFace);
        C->Pen()->SetColor(0x808080);
        C->Rectangle(client);
        TBitmap *g = box->Glyph();
        g->SetTransparent(true);
        C->Draw(0, 0, g);
        return;
    }
    if (edit)
        SetEnabled(edit->Enabled() && !edit->ReadOnly());
    if (UseThemes()) {
        HTHEME theme = OpenThemeData(Parent() ? Parent()->Handle() : nullptr, QStringLiteral("combobox"));
        TRect r = client;
        r.Left -= 1;
        const int state = !Enabled() ? 4 : pressed ? 3 : hot ? 2 : 1;
        DrawThemeBackground(theme, C->Handle(), 1, state, r, nullptr);
        CloseThemeData(theme);
        return;
    }
    // Classic: the speed button's own raised face with a lighter inner edge; the arrow stays
    // black even on a disabled button.
    TSpeedButton::Paint();
    C->Pen()->SetColor(clBtnFace);
    C->MoveTo(Width() - 2, 0);
    C->LineTo(0, 0);
    C->LineTo(0, Height() - 1);
    C->Pen()->SetColor(clWhite);
    C->MoveTo(Width() - 3, 1);
    C->LineTo(1, 1);
    C->LineTo(1, Height() - 2);
    DrawArrow(C, clBlack);
}

void TExtDropDownSpeedButton::PaintButtonStyle(TCanvas *C)
{
    const bool themed = UseThemes();
    if (!themed && !Flat()) {
        TSpeedButton::Paint();
        return;
    }
    const TRect client(0, 0, Width(), Height());
    const bool down = Pressed();
    const TPoint shift = down ? TPoint(1, 1) : TPoint(0, 0);
    if (TExtCustomDropDown *edit = Edit())
        C->Font()->Assign(edit->Font());
    TBitmap *glyph = Glyph();
    const bool hasGlyph = glyph && !glyph->Empty();
    const bool hasCaption = !Caption().isEmpty();
    C->FillRect(client);
    if (themed) {
        HTHEME theme = OpenThemeData(Parent() ? Parent()->Handle() : nullptr, QStringLiteral("button"));
        const int state = !Enabled() ? 4 : down ? 3 : FHot ? 2 : 1;
        DrawThemeBackground(theme, C->Handle(), 1, state, TRect(0, 0, Width() + 1, Height() + 1), nullptr);
        CloseThemeData(theme);
        TRect area = client;
        InflateRect(area, -2, -2);
        int x = area.Left, y = area.Top;
        if (hasGlyph) {
            if (hasCaption)
                x += 2;
            else if (glyph->Width() < area.Width())
                x += (area.Width() - glyph->Width()) / 2;
            if (glyph->Height() < area.Height())
                y += (area.Height() - glyph->Height()) / 2;
            x += shift.X;
            y += shift.Y;
            glyph->SetTransparent(true);
            C->Draw(x, y, glyph);
        }
        if (hasCaption) {
            C->Brush()->SetStyle(TBrushStyle::bsClear);
            if (hasGlyph) {
                TRect r(x + glyph->Width() + 2, y - 1, client.Right, client.Bottom);
                DrawText(C->Handle(), Caption(), -1, &r, 0);
            } else {
                TRect r(3, 1, Width() - 3, Height() - 1);
                OffsetRect(r, shift.X, shift.Y);
                DrawText(C->Handle(), Caption(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
        }
        return;
    }
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(client);
    TRect edge(0, 0, Width() + 1, Height() + 1);
    DrawEdge(C->Handle(), edge, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (down ? BF_FLAT : 0));
    if (hasGlyph) {
        TRect r = client;
        InflateRect(r, -3, -3);
        OffsetRect(r, shift.X, shift.Y);
        DrawBitmapOnColor(C, glyph, clBtnFace, r);
    }
    if (hasCaption) {
        C->Brush()->SetStyle(TBrushStyle::bsClear);
        TRect r(3, 1, Width() - 3, Height() - 1);
        OffsetRect(r, shift.X, shift.Y);
        DrawText(C->Handle(), Caption(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// ---- TDropDownEditButton ----

TDropDownEditButton::TDropDownEditButton(TComponent *AOwner) : TWinControl(AOwner)
{
    TControlStyle style = ControlStyle();
    style.Exclude(csAcceptsControls);
    style.Exclude(csSetCaption);
    style.Include(csOpaque);
    SetControlStyle(style);
    FButton = new TExtDropDownSpeedButton(this);
    FButton->SetParent(this);
    FButton->OnClick = [](TObject *) {};
    FButton->OnMouseUp = [this](TObject *s, TMouseButton b, TShiftState sh, int x, int y) { BtnMouseUp(s, b, sh, x, y); };
    FButton->SetVisible(true);
    FButton->SetEnabled(Enabled());
    FButton->SetButtonStyle(TExtDropDownSpeedButton::bsDropDown);
    SetBounds(0, 0, 16, 25);
}

void TDropDownEditButton::SetBWidth(int Value)
{
    FBWidth = Value;
    SetBounds(Left(), Top(), Value, Height());
}

TBitmap *TDropDownEditButton::Glyph() const
{
    return FButton->Glyph();
}

void TDropDownEditButton::SetGlyph(TBitmap *Value)
{
    FButton->SetGlyph(Value);
}

UnicodeString TDropDownEditButton::ButtonCaption() const
{
    return FButton->Caption();
}

void TDropDownEditButton::SetButtonCaption(const UnicodeString &Value)
{
    FButton->SetCaption(Value);
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int, int AHeight)
{
    if (FButton)
        FButton->SetBounds(0, 0, FBWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, FBWidth, AHeight);
}

void TDropDownEditButton::BtnMouseUp(TObject *Sender, TMouseButton Button, TShiftState, int, int)
{
    // The popup opens on the release of the left button, not on the press.
    if (Button == mbLeft && OnClick && Sender == FButton)
        OnClick(this);
}

void TDropDownEditButton::CMEnabledChanged(TCMEnabledChanged &Message)
{
    TWinControl::CMEnabledChanged(Message);
    if (FButton && !ComponentState().Contains(TComponentStateItem::csDesigning))
        FButton->SetEnabled(Enabled());
}

void TDropDownEditButton::Notification(TComponent *AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}
