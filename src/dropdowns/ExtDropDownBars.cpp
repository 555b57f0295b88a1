#include "dropdowns/ExtCustomDropDown.h"

#include "platform/WindowPlacement.h"

#include <algorithm>

// ---- TExtButtonAppearance ----

TExtButtonAppearance::TExtButtonAppearance()
    : FColorCheckedTo(ShadeColor(0xF9D2B2, -10, -10, 0)), FColorChecked(ShadeColor(0xF5F0E1, -10, -10, 0)),
      FFont(std::make_unique<TFont>())
{
    FFont->SetName(QStringLiteral("Tahoma"));
}

TExtButtonAppearance::~TExtButtonAppearance() = default;

void TExtButtonAppearance::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TExtButtonAppearance::SetGradient(TGradientDirection Value)
{
    if (FGradient == Value)
        return;
    FGradient = Value;
    Changed();
}

void TExtButtonAppearance::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TExtButtonAppearance *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetColorHot(s->FColorHot);
    SetColorHotTo(s->FColorHotTo);
    SetColorDown(s->FColorDown);
    SetColorDownTo(s->FColorDownTo);
    SetColorChecked(s->FColorChecked);
    SetColorCheckedTo(s->FColorCheckedTo);
    SetColorDisabled(s->FColorDisabled);
    SetColorDisabledTo(s->FColorDisabledTo);
    SetBorderColor(s->FBorderColor);
    SetBorderColorHot(s->FBorderColorHot);
    SetBorderColorDown(s->FBorderColorDown);
    SetBorderColorChecked(s->FBorderColorChecked);
    SetBorderColorDisabled(s->FBorderColorDisabled);
    SetGradient(s->FGradient);
    FFont->Assign(s->FFont.get());
}

// ---- TExtButton ----

TExtButton::TExtButton(TComponent *AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 23, 22);
    TControlStyle style;
    style.Include(csCaptureMouse);
    style.Include(csClickEvents);
    style.Include(csDoubleClicks);
    SetControlStyle(style);
    SetParentFont(true);
    Font()->SetName(QStringLiteral("Tahoma"));
    FUnHotTimer = new TTimer(this);
    FUnHotTimer->SetInterval(1);
    FUnHotTimer->SetEnabled(false);
    FUnHotTimer->OnTimer = [this](TObject *s) { UnHotTimerTick(s); };
    SetDoubleBuffered(true);
}

TExtButton::~TExtButton() = default;

bool TExtButton::Inside(int X, int Y) const
{
    return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TExtButton::Paint()
{
    if (!Enabled()) {
        FState = absDisabled;
        FDragging = false;
    } else if (FState == absDisabled) {
        FState = FDown && GroupIndex != 0 ? absExclusive : absUp;
    }
    if (Style == tasCheck && FDown)
        FState = absDown;
    // The bar paints its own background beneath; the button leaves it unfilled.
    DrawButton(Canvas());
}

void TExtButton::DrawButton(TCanvas *C)
{
    if (!Appearance)
        return;
    const TExtButtonAppearance *a = Appearance;
    TColor from, to, border;
    if (!Enabled()) {
        from = a->ColorDisabled();
        to = a->ColorDisabledTo();
        border = a->BorderColorDisabled();
    } else if (FMouseDownInControl && FMouseInControl) {
        from = to = a->ColorDown();
        border = a->BorderColorDown();
    } else if (FDown) {
        from = to = a->ColorChecked();
        border = a->BorderColorChecked();
    } else if (FMouseInControl || Focused()) {
        from = to = a->ColorHot();
        border = a->BorderColorHot();
    } else {
        from = a->Color();
        to = a->ColorTo();
        border = a->BorderColor();
    }
    const TRect r(0, 0, ClientWidth(), ClientHeight());
    DrawGradientRect(C, r, from, to, border, 1, a->Gradient() == gdVertical);
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    C->Font()->Assign(a->Font());
    DrawImageAndText(C, r, Caption(), Images, ImageIndex);
}

void TExtButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled() || ComponentState().Contains(TComponentStateItem::csDesigning))
        return;
    FMouseDownInControl = true;
    if (!FDown) {
        FState = absDown;
        Invalidate();
    }
    if (Style == tasCheck) {
        FState = absDown;
        Repaint();
    }
    FDragging = true;
}

void TExtButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (ComponentState().Contains(TComponentStateItem::csDesigning))
        return;
    if (FDragging) {
        TExtButtonState s = FDown ? absExclusive : absUp;
        if (Inside(X, Y))
            s = FDown ? absExclusive : absDown;
        if (Style == tasCheck && FDown)
            s = absDown;
        if (s != FState) {
            FState = s;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        RefreshMouseOver();
    }
}

void TExtButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (ComponentState().Contains(TComponentStateItem::csDesigning))
        return;
    FMouseDownInControl = false;
    Invalidate();
    if (!FDragging)
        return;
    FDragging = false;
    const bool inside = Inside(X, Y);
    if (GroupIndex != 0) {
        if (inside) {
            SetDown(!FDown);
            if (FDown)
                Repaint();
        } else {
            if (FDown)
                FState = absExclusive;
            Repaint();
        }
    } else {
        FState = absUp;
        FMouseInControl = false;
        FHot = false;
        if (Style == tasCheck) {
            SetDown(!FDown);
            FState = absUp;
        }
        if (inside && FState != absDown && FState != absExclusive)
            Invalidate();
    }
    RefreshMouseOver();
}

void TExtButton::RefreshMouseOver()
{
    if (!Enabled())
        return;
    TPoint p;
    GetCursorPos(p);
    const TPoint c = ScreenToClient(p);
    TMessage m{};
    m.Msg = (c.X >= 0 && c.Y >= 0 && c.X < Width() && c.Y < Height()) ? CM_MOUSEENTER : CM_MOUSELEAVE;
    WndProc(m);
}

void TExtButton::CMMouseEnter(TCMMouseEnter &Message)
{
    TCustomControl::CMMouseEnter(Message);
    if (ComponentState().Contains(TComponentStateItem::csDesigning))
        return;
    FMouseInControl = true;
    if (Enabled())
        Invalidate();
    FUnHotTimer->SetEnabled(true);
    if (OnMouseEnterButton)
        OnMouseEnterButton(this);
}

void TExtButton::CMMouseLeave(TCMMouseLeave &Message)
{
    TCustomControl::CMMouseLeave(Message);
    if (ComponentState().Contains(TComponentStateItem::csDesigning))
        return;
    FUnHotTimer->SetEnabled(false);
    FMouseInControl = false;
    FHot = false;
    if (Enabled())
        Invalidate();
    if (OnMouseLeaveButton)
        OnMouseLeaveButton(this);
}

void TExtButton::UnHotTimerTick(TObject *)
{
    TPoint p;
    GetCursorPos(p);
    const TPoint c = ScreenToClient(p);
    if (c.X >= 0 && c.Y >= 0 && c.X < ClientWidth() && c.Y < ClientHeight())
        return;
    FUnHotTimer->SetEnabled(false);
    FMouseInControl = false;
    FHot = false;
    if (Enabled())
        Invalidate();
}

void TExtButton::Click()
{
    if (TCustomForm *f = GetParentForm())
        f->SetModalResult(ModalResult);
    const bool cancelled = ModalResult == mrCancel || ModalResult == mrAbort || ModalResult == mrIgnore ||
                           ModalResult == mrNo || ModalResult == mrNoToAll;
    switch (ModalResult) {
    case mrOk:
    case mrCancel:
    case mrAbort:
    case mrIgnore:
    case mrYes:
    case mrNo:
    case mrAll:
    case mrNoToAll:
    case mrYesToAll:
        if (FExtDropDown)
            FExtDropDown->DoHideDropDown(cancelled);
        break;
    default:
        break;
    }
    if (!FInternalClick)
        TCustomControl::Click();
}

void TExtButton::WMKeyDown(TWMKey &Message)
{
    if (Message.CharCode == VK_RETURN || Message.CharCode == VK_SPACE) {
        if (!FDown) {
            FState = absDown;
            Invalidate();
        }
        if (Style == tasCheck) {
            FState = absDown;
            Repaint();
        }
        FInternalClick = true;
        Click();
        FInternalClick = false;
    }
    TCustomControl::WMKeyDown(Message);
}

void TExtButton::CMDialogChar(TCMDialogChar &Message)
{
    if (Enabled() && IsAccel(Message.CharCode, Caption())) {
        Click();
        Message.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(Message);
}

void TExtButton::CMEnabledChanged(TCMEnabledChanged &Message)
{
    TCustomControl::CMEnabledChanged(Message);
    Invalidate();
}

void TExtButton::Dispatch(TMessage &Message)
{
    // A group's buttons tell each other which one went down.
    if (Message.Msg == 0xB018) {
        auto *sender = reinterpret_cast<TExtButton *>(Message.LParam);
        if (static_cast<int>(Message.WParam) == GroupIndex && sender && sender != this) {
            if (sender->FDown && FDown) {
                FDown = false;
                FState = absUp;
                Invalidate();
            }
            AllowAllUp = sender->AllowAllUp;
        }
        return;
    }
    TCustomControl::Dispatch(Message);
}

void TExtButton::SetDown(bool Value)
{
    if (GroupIndex == 0 && Style == tasButton)
        Value = false;
    if (Style == tasCheck) {
        FDown = Value;
        FState = Value ? absDown : absUp;
        Repaint();
        return;
    }
    if (Value == FDown || (FDown && !AllowAllUp))
        return;
    FDown = Value;
    if (Value) {
        if (FState == absUp)
            Invalidate();
        FState = absExclusive;
    } else {
        FState = absUp;
        Repaint();
    }
    if (Value)
        NotifyGroup();
}

void TExtButton::NotifyGroup()
{
    if (GroupIndex == 0 || !Parent())
        return;
    TMessage m{};
    m.Msg = 0xB018;
    m.WParam = static_cast<WPARAM>(GroupIndex);
    m.LParam = reinterpret_cast<LPARAM>(this);
    Parent()->Broadcast(m);
}

void TExtButton::FitToContent()
{
    if (!Appearance)
        return;
    TBitmap measure;
    measure.Canvas()->Font()->Assign(Appearance->Font());
    TSize s;
    MeasureTextSize(measure.Canvas(), Caption(), s);
    int w = s.cx, h = s.cy;
    if (Images && ImageIndex >= 0) {
        w = std::max(w, Images->Width());
        h = std::max(h, Images->Height());
    }
    SetHeight(h + 4);
    SetWidth(w + 8);
}

// ---- TDbgList ----

void *TDbgList::GetItemsEx(int Index) const
{
    if (Index >= Count())
        throw Exception(QStringLiteral("Index out of bounds in list read access"));
    if (Index < 0)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FItems[static_cast<std::size_t>(Index)];
}

void TDbgList::SetItemsEx(int Index, void *Value)
{
    if (Index >= Count())
        throw Exception(QStringLiteral("Index out of bounds in list write access"));
    if (Index < 0)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems[static_cast<std::size_t>(Index)] = Value;
}

void TDbgList::AssignList(const TDbgList &ListA)
{
    FItems = ListA.FItems;
}

// ---- bars ----

TExtBar::TExtBar(TComponent *AOwner, bool IsFooter) : TCustomControl(AOwner), FIsFooter(IsFooter)
{
    TControlStyle style;
    style.Include(csAcceptsControls);
    if (IsFooter)
        style.Include(csCaptureMouse);
    style.Include(csClickEvents);
    style.Include(csDoubleClicks);
    SetControlStyle(style);
    SetDoubleBuffered(true);
}

TExtBar::~TExtBar() = default;

void TExtBar::RebuildButtons()
{
    if (FExtDropDown)
        CreateButtons();
}

void TExtBar::ClearButtons()
{
    for (int i = FButtonList.Count() - 1; i >= 0; --i)
        delete static_cast<TExtButton *>(FButtonList.GetItemsEx(i));
    FButtonList.Clear();
}

void TExtBar::CreateButtons()
{
    if (!FExtDropDown)
        return;
    ClearButtons();
    const int maxH = GetMaxButtonHeight();
    const int n = ButtonItemCount();
    for (int i = 0; i < n; ++i) {
        auto *b = new TExtButton(this);
        b->SetParent(this);
        UnicodeString caption;
        int imageIndex = -1, w = 0, h = 0;
        bool enabled = true;
        if (FIsFooter) {
            TFooterButton *item = FExtDropDown->DropDownFooter()->Buttons()->Items(i);
            b->SetExtDropDown(FExtDropDown);
            caption = item->Caption();
            imageIndex = item->ImageIndex();
            enabled = item->Enabled();
            w = item->Width();
            h = item->Height();
            b->ModalResult = item->ModalResult();
        } else {
            THeaderButton *item = FExtDropDown->DropDownHeader()->Buttons()->Items(i);
            caption = item->Caption();
            imageIndex = item->ImageIndex();
            enabled = item->Enabled();
            w = item->Width();
            h = item->Height();
        }
        b->Appearance = FExtDropDown->ButtonAppearance();
        b->SetCaption(caption);
        b->Images = Images;
        b->ImageIndex = imageIndex;
        b->SetEnabled(enabled);
        b->FitToContent();
        if (w > 0)
            b->SetWidth(w);
        if (h > 0)
            b->SetHeight(h);
        if (b->Height() > maxH)
            b->SetHeight(maxH);
        b->Tag = i;
        b->OnClick = [this](TObject *s) { ButtonClick(s); };
        FButtonList.Add(b);
    }
    ArrangeButtons();
}

void TExtBar::RefreshButtons()
{
    if (!FExtDropDown)
        return;
    const int n = ButtonItemCount();
    for (int i = 0; i < FButtonList.Count(); ++i) {
        TExtButton *b = ButtonAt(i);
        b->Appearance = FExtDropDown->ButtonAppearance();
        b->Images = Images;
        if (i < n) {
            if (FIsFooter) {
                TFooterButton *item = FExtDropDown->DropDownFooter()->Buttons()->Items(i);
                b->SetCaption(item->Caption());
                b->ImageIndex = item->ImageIndex();
                b->SetEnabled(item->Enabled());
            } else {
                THeaderButton *item = FExtDropDown->DropDownHeader()->Buttons()->Items(i);
                b->SetCaption(item->Caption());
                b->ImageIndex = item->ImageIndex();
                b->SetEnabled(item->Enabled());
            }
        }
    }
    ArrangeButtons();
}

void TExtBar::GetButtonsRect(TRect &R)
{
    R = TRect(2, 2, ClientWidth(), ClientHeight());
    if (FIsFooter) {
        R.Bottom -= 2;
        R.Right -= HasSizeGrip() ? 14 : 2;
    } else {
        R.Right -= 2;
        R.Bottom -= 3;
    }
}

int TExtBar::GetMaxButtonHeight()
{
    TRect r;
    GetButtonsRect(r);
    return r.Height();
}

void TExtBar::ArrangeButtons()
{
    if (!FIsFooter && FButtonList.Count() == 0)
        return;
    TRect r;
    GetButtonsRect(r);
    const TButtonAlignment align = Look().Alignment;
    int x = align == baRight ? r.Right : r.Left;
    for (int i = 0; i < FButtonList.Count(); ++i) {
        TExtButton *b = ButtonAt(i);
        const int top = std::max(r.Top, (r.Bottom - b->Height()) / 2);
        if (align == baRight) {
            x -= b->Width();
            b->SetBounds(x, top, b->Width(), b->Height());
        } else {
            b->SetBounds(x, top, b->Width(), b->Height());
            x += b->Width();
        }
    }
}

void TExtBar::GetTextRect(TRect &R)
{
    if (FButtonList.Count() == 0) {
        R = TRect(-1, -1, -1, -1);
        return;
    }
    GetButtonsRect(R);
    R.Right = ButtonAt(FButtonList.Count() - 1)->Left() - 2;
}

void TExtBar::ButtonClick(TObject *Sender)
{
    auto *b = dynamic_cast<TExtButton *>(Sender);
    if (!b || !FExtDropDown)
        return;
    const TDropDownButtonItemClick &ev =
        FIsFooter ? FExtDropDown->OnDropDownFooterButtonClick : FExtDropDown->OnDropDownHeaderButtonClick;
    if (ev)
        ev(FExtDropDown, b->Tag);
}

void TExtBar::SetExtDropDown(TExtCustomDropDown *Value)
{
    FExtDropDown = Value;
    if (!Value) {
        Images = nullptr;
        return;
    }
    Images = Value->Images();
    if (FIsFooter)
        static_cast<TExtFooter *>(this)->FAppearance->Assign(Value->DropDownFooter());
    else
        static_cast<TExtHeader *>(this)->FAppearance->Assign(Value->DropDownHeader());
}

void TExtBar::WMSize(TWMSize &Message)
{
    TCustomControl::WMSize(Message);
    ArrangeButtons();
}

void TExtBar::Notification(TComponent *AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == Images)
        Images = nullptr;
}

void TExtBar::Paint()
{
    PaintOn(Canvas());
}

void TExtBar::PaintOn(TCanvas *C)
{
    const TRect c(0, 0, ClientWidth(), ClientHeight());
    if (OnDrawBackGround) {
        OnDrawBackGround(this, C, c);
        return;
    }
    const TBarLook look = Look();
    if (look.ColorTo != clNone) {
        DrawGradient(C, look.Color, look.ColorTo, 80, c, look.Direction == gdHorizontal);
    } else if (look.Color != clNone) {
        C->Brush()->SetStyle(TBrushStyle::bsSolid);
        C->Brush()->SetColor(look.Color);
        C->FillRect(c);
    }
    if (look.BorderColor != clNone && look.BorderWidth > 0) {
        C->Pen()->SetWidth(look.BorderWidth);
        C->Pen()->SetColor(look.BorderColor);
        const bool noFrame = !FExtDropDown || FExtDropDown->DropDownBorderWidth <= 0 ||
                             FExtDropDown->DropDownBorderColor == clNone;
        if (FIsFooter) {
            C->MoveTo(c.Left, c.Top);
            C->LineTo(c.Right, c.Top);
            if (noFrame) {
                C->MoveTo(c.Left, c.Top);
                C->LineTo(c.Left, c.Bottom);
                C->LineTo(c.Right, c.Bottom);
                C->LineTo(c.Right, c.Top);
            }
        } else {
            C->MoveTo(c.Left, c.Bottom - 1);
            C->LineTo(c.Right, c.Bottom - 1);
            if (noFrame) {
                C->MoveTo(c.Left, c.Bottom - 1);
                C->LineTo(c.Left, c.Top);
                C->LineTo(c.Right, c.Top);
                C->LineTo(c.Right, c.Bottom - 1);
            }
        }
        C->Pen()->SetWidth(1);
        C->Brush()->SetStyle(TBrushStyle::bsClear);
        C->Pen()->SetColor(BlendColors(look.BorderColor, clWhite, 20));
        TRect inner = c;
        if (FIsFooter)
            inner.Top += look.BorderWidth;
        else
            inner.Bottom -= look.BorderWidth;
        C->Rectangle(inner);
    }
    TRect t(c.Left + look.BorderWidth, c.Top + look.BorderWidth, c.Right - look.BorderWidth,
            c.Bottom - look.BorderWidth);
    if (look.ImageIndex >= 0 && Images) {
        Images->Draw(C, t.Left + 4, t.Top + (t.Height() - Images->Height()) / 2, look.ImageIndex, true);
        t.Left += 4 + Images->Width() + 4;
    }
    UnicodeString text = look.Caption;
    if (OnGetText)
        OnGetText(this, text);
    if (!text.isEmpty()) {
        if (FButtonList.Count() > 0) {
            TRect tr;
            GetTextRect(tr);
            t.Right = tr.Right;
        }
        C->Font()->Assign(look.Font);
        TSize extent;
        DrawHtmlText(C, text, t, Images, false, HandleAllocated() ? Handle() : nullptr, extent);
        if (extent.cy < t.Height())
            t.Top += (t.Height() - extent.cy) / 2;
        DrawHtmlText(C, text, t, Images, true, HandleAllocated() ? Handle() : nullptr, extent);
    }
    if (FIsFooter && HasSizeGrip()) {
        const int d = c.Right - look.BorderWidth;
        static_cast<TExtFooter *>(this)->DrawSizeGrip(C, TRect(d - 16, 1, d - 1, c.Bottom));
    }
}

// ---- TExtHeader ----

TExtHeader::TExtHeader(TComponent *AOwner)
    : TExtBar(AOwner, false), FAppearance(std::make_unique<THeaderAppearance>(AOwner))
{
    FAppearance->OnChange = [this](TObject *) {
        SetVisible(FAppearance->Visible());
        SetHeight(FAppearance->Height());
    };
}

THeaderButtons *TExtHeader::Buttons() const
{
    return FExtDropDown ? FExtDropDown->DropDownHeader()->Buttons() : nullptr;
}

int TExtHeader::ButtonItemCount() const
{
    return Buttons() ? Buttons()->Count() : 0;
}

TExtBar::TBarLook TExtHeader::Look() const
{
    const THeaderAppearance *a = FAppearance.get();
    return {a->Color(),      a->ColorTo(), a->BorderColor(),       a->BorderWidth(),    a->ImageIndex(),
            a->Caption(),    a->Font(),    a->GradientDirection(), a->ButtonAlignment()};
}

// ---- TExtFooter ----

TExtFooter::TExtFooter(TComponent *AOwner)
    : TExtBar(AOwner, true), FAppearance(std::make_unique<TFooterAppearance>(AOwner))
{
    FAppearance->OnChange = [this](TObject *) {
        SetVisible(FAppearance->Visible());
        SetHeight(FAppearance->Height());
    };
}

TFooterButtons *TExtFooter::Buttons() const
{
    return FExtDropDown ? FExtDropDown->DropDownFooter()->Buttons() : nullptr;
}

int TExtFooter::ButtonItemCount() const
{
    return Buttons() ? Buttons()->Count() : 0;
}

TExtBar::TBarLook TExtFooter::Look() const
{
    const TFooterAppearance *a = FAppearance.get();
    return {a->Color(),      a->ColorTo(), a->BorderColor(),       a->BorderWidth(),    a->ImageIndex(),
            a->Caption(),    a->Font(),    a->GradientDirection(), a->ButtonAlignment()};
}

bool TExtFooter::HasSizeGrip() const
{
    return FAppearance->SizeGrip() && FExtDropDown && FExtDropDown->DropDownSizeable;
}

void TExtFooter::DrawSizeGrip(TCanvas *C, const TRect &G)
{
    const int L = G.Left, B = G.Bottom;
    const TPoint dots[6] = {TPoint(L + 5, 2),  TPoint(L + 9, 2),  TPoint(L + 13, 2),
                            TPoint(L + 13, 6), TPoint(L + 13, 10), TPoint(L + 9, 6)};
    const TColor light = BlendColors(clWhite, clWhite, 50);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(light);
    C->Pen()->SetColor(light);
    for (const TPoint &d : dots)
        C->Rectangle(TRect(d.X, B - d.Y - 2, d.X + 2, B - d.Y));
    const TColor dark = BlendColors(FAppearance->BorderColor(), clWhite, 100);
    C->Brush()->SetColor(dark);
    C->Pen()->SetColor(dark);
    for (const TPoint &d : dots)
        C->Rectangle(TRect(d.X - 1, B - d.Y - 3, d.X + 1, B - d.Y - 1));
}

void TExtFooter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtBar::MouseDown(Button, Shift, X, Y);
    if (HasSizeGrip() && Button == mbLeft && Parent() && InGrip(X, Y)) {
        ReleaseCapture();
        SendMessage(Parent()->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTBOTTOMRIGHT), 0);
    }
}

void TExtFooter::MouseMove(TShiftState Shift, int X, int Y)
{
    TExtBar::MouseMove(Shift, X, Y);
    if (HasSizeGrip() && Parent() && InGrip(X, Y)) {
        if (Screen && Screen->Cursor() != crSizeNWSE)
            Screen->SetCursor(crSizeNWSE);
    } else if (Screen && Screen->Cursor() != FOldCursor) {
        Screen->SetCursor(FOldCursor);
    }
}

void TExtFooter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtBar::MouseUp(Button, Shift, X, Y);
    if (Screen && Screen->Cursor() != FOldCursor)
        Screen->SetCursor(FOldCursor);
}

void TExtFooter::CMMouseEnter(TCMMouseEnter &Message)
{
    if (Screen && Screen->Cursor() != crSizeNWSE)
        FOldCursor = Screen->Cursor();
    TExtBar::CMMouseEnter(Message);
}

void TExtFooter::CMMouseLeave(TCMMouseLeave &Message)
{
    TExtBar::CMMouseLeave(Message);
    if (Screen && Screen->Cursor() != FOldCursor)
        Screen->SetCursor(FOldCursor);
}
