#include "platform/Buttons.h"

#include "platform/WinGdi.h"

#include <algorithm>

TSpeedButton::TSpeedButton(TComponent *AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FControlStyle = {csCaptureMouse, csDoubleClicks, csOpaque};
    TControl::SetBounds(0, 0, 23, 22);
    SetParentFont(true);
    FGlyph->OnChange = [this](TObject *Sender) { GlyphChanged(Sender); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::GlyphChanged(TObject *)
{
    // A strip whose width is a whole number of its heights tells how many frames it holds.
    if (!FGlyph->Empty() && FGlyph->Height() > 0 && FGlyph->Width() % FGlyph->Height() == 0) {
        const int n = FGlyph->Width() / FGlyph->Height();
        if (n >= 1 && n <= 4)
            FNumGlyphs = n;
    }
    Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap *Value)
{
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph->SetSize(0, 0);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value)
{
    Value = std::clamp(Value, 1, 4);
    if (Value == FNumGlyphs)
        return;
    FNumGlyphs = Value;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
    if (Value == FLayout)
        return;
    FLayout = Value;
    Invalidate();
}

void TSpeedButton::SetMargin(int Value)
{
    if (Value == FMargin || Value < -1)
        return;
    FMargin = Value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int Value)
{
    if (Value == FSpacing)
        return;
    FSpacing = Value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    if (Value)
        FControlStyle >> csOpaque;
    else
        FControlStyle << csOpaque;
    Invalidate();
}

void TSpeedButton::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int Value)
{
    if (Value == FGroupIndex)
        return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value)
{
    if (Value == FAllowAllUp)
        return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value)
{
    // Only a button of a group stays down.
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
    } else {
        FState = bsUp;
        Repaint();
    }
    if (Value)
        UpdateExclusive();
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage m;
    m.Msg = CM_BUTTONPRESSED;
    m.WParam = static_cast<WPARAM>(FGroupIndex);
    m.LParam = reinterpret_cast<LPARAM>(this);
    Parent()->Broadcast(m);
}

void TSpeedButton::Dispatch(TMessage &Message)
{
    if (Message.Msg != CM_BUTTONPRESSED) {
        TGraphicControl::Dispatch(Message);
        return;
    }
    auto *sender = reinterpret_cast<TSpeedButton *>(Message.LParam);
    if (static_cast<int>(Message.WParam) != FGroupIndex || sender == this || !sender)
        return;
    // Another button of the group went down: this one goes up; AllowAllUp is the group's.
    if (sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = sender->AllowAllUp();
}

void TSpeedButton::Click()
{
    TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    // Held over the button it shows pressed; dragged off it shows as it would after a release.
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    TButtonState next = FDown ? bsExclusive : bsUp;
    if (inside && !FDown)
        next = bsDown;
    if (next != FState) {
        FState = next;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging)
        return;
    FDragging = false;
    const bool doClick = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    if (FGroupIndex == 0) {
        // Not a group button: it always comes up.
        FState = bsUp;
        Invalidate();
    } else if (doClick) {
        SetDown(!FDown);
        // Still down (the last of its group without AllowAllUp): held, not pressed.
        FState = FDown ? bsExclusive : bsUp;
        Repaint();
    } else {
        FState = FDown ? bsExclusive : bsUp;
        Repaint();
    }
    if (doClick)
        Click();
}

void TSpeedButton::CMMouseEnter(TCMMouseEnter &Message)
{
    TGraphicControl::CMMouseEnter(Message);
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        if (FFlat)
            Invalidate();
    }
}

void TSpeedButton::CMMouseLeave(TCMMouseLeave &Message)
{
    TGraphicControl::CMMouseLeave(Message);
    if (FMouseInControl) {
        FMouseInControl = false;
        if (FFlat)
            Invalidate();
    }
}

void TSpeedButton::CMEnabledChanged(TCMEnabledChanged &Message)
{
    TGraphicControl::CMEnabledChanged(Message);
    if (!Enabled()) {
        FMouseInControl = false;
        FState = bsDisabled;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    Invalidate();
}

void TSpeedButton::CMTextChanged(TCMTextChanged &Message)
{
    TGraphicControl::CMTextChanged(Message);
    Invalidate();
}

void TSpeedButton::CMFontChanged(TCMFontChanged &Message)
{
    TGraphicControl::CMFontChanged(Message);
    Invalidate();
}

void TSpeedButton::Paint()
{
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    TCanvas *c = Canvas();
    c->Font()->Assign(Font());
    TRect r(0, 0, Width(), Height());
    const bool pushed = FState == bsDown || FState == bsExclusive;
    if (!FFlat) {
        DrawFrameControl(c->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0));
    } else {
        if (!FTransparent || pushed) {
            c->Brush()->SetStyle(TBrushStyle::bsSolid);
            c->Brush()->SetColor(Color() == clWindow ? clBtnFace : Color());
            c->FillRect(r);
        }
        if (pushed || (FMouseInControl && FState != bsDisabled)) {
            TRect e = r;
            DrawEdge(c->Handle(), e, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
    DrawGlyphAndCaption(r, pushed ? TPoint{1, 1} : TPoint{0, 0});
}

void TSpeedButton::DrawGlyphAndCaption(const TRect &Client, TPoint Offset)
{
    TCanvas *c = Canvas();
    // The frame of the state: up, disabled, clicked, down.
    int frame = 0;
    switch (FState) {
    case bsDisabled: frame = 1; break;
    case bsDown: frame = 2; break;
    case bsExclusive: frame = 3; break;
    default: break;
    }
    if (frame >= FNumGlyphs)
        frame = 0;
    TSize glyph{0, 0};
    if (!FGlyph->Empty())
        glyph = {FGlyph->Width() / std::max(FNumGlyphs, 1), FGlyph->Height()};
    const UnicodeString caption = Caption();
    TSize text{0, 0};
    if (!caption.isEmpty()) {
        TRect t(0, 0, Client.Width(), 0);
        DrawText(c->Handle(), caption, -1, &t, DT_CALCRECT | DT_SINGLELINE);
        text = {t.Width(), t.Height()};
    }
    const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int avail = horizontal ? Client.Width() : Client.Height();
    const int glyphLen = horizontal ? glyph.cx : glyph.cy;
    const int textLen = horizontal ? text.cx : text.cy;
    int spacing = (glyphLen == 0 || textLen == 0) ? 0 : FSpacing;
    int margin = FMargin;
    if (margin == -1) {
        if (spacing == -1) {
            const int total = glyphLen + textLen;
            margin = (avail - total) / 3;
            spacing = margin;
        } else {
            const int total = glyphLen + spacing + textLen;
            margin = (avail - total) / 2;
        }
    } else if (spacing == -1) {
        spacing = (avail - margin - glyphLen - textLen) / 2;
    }
    TPoint glyphPos, textPos;
    switch (FLayout) {
    case blGlyphLeft:
        glyphPos = {Client.Left + margin, Client.Top + (Client.Height() - glyph.cy) / 2};
        textPos = {glyphPos.X + glyph.cx + spacing, Client.Top + (Client.Height() - text.cy) / 2};
        break;
    case blGlyphRight:
        glyphPos = {Client.Right - margin - glyph.cx, Client.Top + (Client.Height() - glyph.cy) / 2};
        textPos = {glyphPos.X - spacing - text.cx, Client.Top + (Client.Height() - text.cy) / 2};
        break;
    case blGlyphTop:
        glyphPos = {Client.Left + (Client.Width() - glyph.cx) / 2, Client.Top + margin};
        textPos = {Client.Left + (Client.Width() - text.cx) / 2, glyphPos.Y + glyph.cy + spacing};
        break;
    case blGlyphBottom:
        glyphPos = {Client.Left + (Client.Width() - glyph.cx) / 2, Client.Bottom - margin - glyph.cy};
        textPos = {Client.Left + (Client.Width() - text.cx) / 2, glyphPos.Y - spacing - text.cy};
        break;
    }
    if (glyph.cx > 0) {
        TBitmap part(glyph.cx, glyph.cy);
        part.Canvas()->CopyRect(Rect(0, 0, glyph.cx, glyph.cy), FGlyph->Canvas(),
                                Rect(frame * glyph.cx, 0, (frame + 1) * glyph.cx, glyph.cy));
        part.SetTransparentColor(FGlyph->TransparentColor());
        part.SetTransparent(true);
        c->Draw(glyphPos.X + Offset.X, glyphPos.Y + Offset.Y, &part);
    }
    if (text.cx > 0) {
        TRect t(textPos.X + Offset.X, textPos.Y + Offset.Y, textPos.X + Offset.X + text.cx, textPos.Y + Offset.Y + text.cy);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        if (FState == bsDisabled) {
            OffsetRect(t, 1, 1);
            c->Font()->SetColor(clBtnHighlight);
            DrawText(c->Handle(), caption, -1, &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            OffsetRect(t, -1, -1);
            c->Font()->SetColor(clBtnShadow);
        }
        DrawText(c->Handle(), caption, -1, &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}
