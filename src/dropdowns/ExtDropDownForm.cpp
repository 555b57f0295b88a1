#include "dropdowns/ExtCustomDropDown.h"

#include "platform/MultiMon.h"
#include "platform/WindowPlacement.h"

#include <algorithm>

// ---- pure placement and sizing ----

TPoint DropDownPlacement(TDropPosition Position, TPoint P, int EditHeight, int W, int H, int ScreenHeight,
                         const TRect &WorkArea)
{
    TPoint r(P.X, P.Y + EditHeight - 1);
    if (Position == dpUp || (Position == dpAuto && P.Y + H >= ScreenHeight))
        r.Y = P.Y - H;
    // Only an overhang at the right is moved back in; nothing is done at the left or bottom.
    if (WorkArea.Left >= 0 && r.X + W > WorkArea.Right && r.X >= WorkArea.Left && r.X < WorkArea.Right)
        r.X -= r.X + W - WorkArea.Right;
    return r;
}

TSize DropDownAutoSize(const TDropDownSizeInput &In)
{
    TSize s;
    if (In.DropDownWidth > 0)
        s.cx = In.DropDownWidth;
    else if (In.HasControl)
        s.cx = In.ControlWidth;
    else
        s.cx = In.EditWidth;
    if (In.DropDownHeight > 0) {
        s.cy = In.DropDownHeight;
    } else {
        s.cy = 2 * In.BorderWidth;
        if (In.HeaderVisible)
            s.cy += In.HeaderHeight;
        if (In.FooterVisible)
            s.cy += In.FooterHeight;
        if (In.HasControl)
            s.cy += In.ControlHeight;
    }
    return s;
}

// ---- TDropDownForm ----

TDropDownForm::TDropDownForm(TComponent *AOwner) : TForm(AOwner)
{
}

void TDropDownForm::CreateParams(TCreateParams &Params)
{
    TForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_TOPMOST;
    if (FExtDropDown)
        if (TCustomForm *owner = FExtDropDown->GetParentForm())
            Params.WndParent = owner->Handle();
}

void TDropDownForm::FollowOwner()
{
    if (!FExtDropDown || !HandleAllocated())
        return;
    TCustomForm *owner = FExtDropDown->GetParentForm();
    if (owner && GetParent(Handle()) != owner->Handle())
        RecreateWnd();
}

void TDropDownForm::InitializeAndUpdate()
{
    TExtCustomDropDown *d = FExtDropDown;
    if (!d)
        return;
    if (FHeader || d->DropDownHeader()->Visible()) {
        if (!FHeader) {
            FHeader = new TExtHeader(this);
            FHeader->SetParent(this);
            FHeader->SetHeight(d->DropDownHeader()->Height());
            FHeader->SetAlign(alTop);
        }
        FHeader->SetExtDropDown(d);
        FHeader->RebuildButtons();
        FHeader->SetVisible(d->DropDownHeader()->Visible());
        FHeader->OnDrawBackGround = d->OnDrawHeader;
        FHeader->OnGetText = d->OnGetHeaderText;
    }
    if (FFooter || d->DropDownFooter()->Visible()) {
        if (!FFooter) {
            FFooter = new TExtFooter(this);
            FFooter->SetParent(this);
            FFooter->SetHeight(d->DropDownFooter()->Height());
            FFooter->SetAlign(alBottom);
        }
        FFooter->SetExtDropDown(d);
        FFooter->RebuildButtons();
        FFooter->SetVisible(d->DropDownFooter()->Visible());
        FFooter->OnDrawBackGround = d->OnDrawFooter;
        FFooter->OnGetText = d->OnGetFooterText;
    }
}

int TDropDownForm::HitTest(TPoint Client) const
{
    if (Sizeable && Client.X > Width() - 10 && Client.Y > Height() - 10)
        return static_cast<int>(HTBOTTOMRIGHT);
    return static_cast<int>(HTNOWHERE);
}

void TDropDownForm::AlignControls(TControl *AControl, TRect &Rect)
{
    // Aligned children leave the frame free.
    if (FExtDropDown) {
        const int b = FExtDropDown->DropDownBorderWidth;
        Rect = TRect(Rect.Left + b, Rect.Top + b, Rect.Right - b, Rect.Bottom - b);
    }
    TForm::AlignControls(AControl, Rect);
}

void TDropDownForm::PaintBackground(TCanvas *C)
{
    TExtCustomDropDown *d = FExtDropDown;
    if (!d)
        return;
    const TRect client(0, 0, ClientWidth(), ClientHeight());
    const int b = d->DropDownBorderWidth;
    const TRect inner(client.Left + b, client.Top + b, client.Right - b, client.Bottom - b);
    if (d->DropDownColor() != clNone && d->DropDownColorTo() != clNone) {
        DrawGradient(C, d->DropDownColor(), d->DropDownColorTo(), 80, inner, d->DropDownGradient == gdHorizontal);
    } else if (d->DropDownColor() != clNone) {
        C->Brush()->SetStyle(TBrushStyle::bsSolid);
        C->Brush()->SetColor(d->DropDownColor());
        C->FillRect(inner);
    }
    if (b > 0) {
        C->Brush()->SetStyle(TBrushStyle::bsClear);
        C->Pen()->SetWidth(b);
        C->Pen()->SetColor(d->DropDownBorderColor);
        C->Rectangle(TRect(client.Left + b / 2, client.Top + b / 2, client.Right, client.Bottom));
        C->Pen()->SetWidth(1);
    }
}

void TDropDownForm::PaintWindow(TCanvas *DC)
{
    TForm::PaintWindow(DC);
    PaintBackground(DC);
}

void TDropDownForm::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
}

void TDropDownForm::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_ACTIVATE:
        WMActivate(Message);
        return;
    case WM_NCACTIVATE:
        // The owning form keeps its active caption; nothing to draw here.
        Message.Result = 1;
        return;
    case WM_NCHITTEST: {
        const TPoint p = ScreenToClient(TPoint(static_cast<SmallInt>(LoWord(static_cast<std::uintptr_t>(Message.LParam))),
                                               static_cast<SmallInt>(HiWord(static_cast<std::uintptr_t>(Message.LParam)))));
        Message.Result = HitTest(p);
        return;
    }
    case WM_SIZING:
        TForm::Dispatch(Message);
        if (OnSizing)
            OnSizing(this);
        return;
    default:
        TForm::Dispatch(Message);
    }
}

void TDropDownForm::WMActivate(TMessage &Message)
{
    if (BlockActivate)
        return;
    if (LoWord(Message.WParam) == WA_INACTIVE)
        HandleDeactivation(reinterpret_cast<HWND>(Message.LParam));
}

void TDropDownForm::Deactivate()
{
    TForm::Deactivate();
}

void TDropDownForm::SetVisible(bool Value)
{
    if (Value) {
        TForm::SetVisible(true);
        return;
    }
    const bool was = FHiding;
    FHiding = true;
    try {
        TForm::SetVisible(false);
    } catch (...) {
        FHiding = was;
        throw;
    }
    FHiding = was;
}

void TDropDownForm::HandleDeactivation(HWND Activated)
{
    if (!Visible() || FHiding)
        return;
    FDeActivateTime = GetTickCount();
    FHasDeActivated = true;
    // Activation that moves into a window of the popup itself keeps it open.
    for (HWND w = Activated; w; w = GetParent(w))
        if (w == Handle())
            return;
    if (FExtDropDown)
        FExtDropDown->DoHideDropDown(CancelOnDeActivate);
    else
        Hide();
}

// ---- the edit's side ----

void TExtCustomDropDown::CreateDropDownForm()
{
    if (FDropDownForm)
        return;
    FDropDownForm = new TDropDownForm(this);
    FDropDownForm->SetExtDropDown(this);
    FDropDownForm->SetBorderStyle(bsNone);
    FDropDownForm->SetVisible(false);
    FDropDownForm->SetWidth(FDropDownWidth);
    FDropDownForm->SetHeight(FDropDownHeight);
    FDropDownForm->OnHide = [this](TObject *) { DropDownHidden(); };
    FDropDownForm->OnKeyPress = [this](TObject *, WideChar &Key) { FormKeyPress(Key); };
    FDropDownForm->OnKeyDown = [this](TObject *, Word &Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
    FDropDownForm->OnKeyUp = [this](TObject *, Word &Key, TShiftState Shift) { FormKeyUp(Key, Shift); };
    FDropDownForm->OnMouseWheelDown = [this](TObject *, TShiftState Shift, TPoint P, bool &Handled) {
        FormMouseWheelDown(Shift, P, Handled);
    };
    FDropDownForm->OnMouseWheelUp = [this](TObject *, TShiftState Shift, TPoint P, bool &Handled) {
        FormMouseWheelUp(Shift, P, Handled);
    };
    FDropDownForm->OnDestroy = [this](TObject *) { DropDownDestroyed(); };
    FDropDownForm->OnSizing = [this](TObject *) { FormSizing(); };
    FDropDownForm->SetDoubleBuffered(true);
}

void TExtCustomDropDown::SizeDropDownForm()
{
    if (!FDropDownForm)
        return;
    TDropDownSizeInput in;
    in.DropDownWidth = FDropDownWidth;
    in.DropDownHeight = FDropDownHeight;
    in.BorderWidth = DropDownBorderWidth;
    in.HeaderVisible = FDropDownHeader->Visible();
    in.HeaderHeight = FDropDownHeader->Height();
    in.FooterVisible = FDropDownFooter->Visible();
    in.FooterHeight = FDropDownFooter->Height();
    in.HasControl = FControl && FControl->Visible();
    in.ControlWidth = FControl ? FControl->Width() : 0;
    in.ControlHeight = FControl ? FControl->Height() : 0;
    in.EditWidth = Width();
    const TSize s = DropDownAutoSize(in);
    FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), s.cx, s.cy);
}

void TExtCustomDropDown::PlaceDropDownControl()
{
    if (!FDropDownForm || !FControl)
        return;
    FControl->SetParent(FDropDownForm);
    FControl->SetTop(FDropDownHeader->Visible() ? FDropDownHeader->Height() + 2 : DropDownBorderWidth);
    FControl->SetAlign(alClient);
}

void TExtCustomDropDown::DoShowDropDown()
{
    if (ComponentState().Contains(TComponentStateItem::csDesigning) || !FDropDownForm || FDropDownForm->Visible() ||
        !Enabled() || ReadOnly())
        return;
    // The value a cancelled close goes back to: the one of this opening, whatever is written
    // while the popup is open.
    FTextAtDropDown = ValueText();
    FDropDownForm->FollowOwner();
    BeforeDropDown();
    FDropDownForm->Shadow = DropDownShadow;
    FDropDownForm->Sizeable = false;
    FDropDownForm->InitializeAndUpdate();
    FDropDownForm->SetBounds(Left(), Top(), FDropDownForm->Width(), FDropDownForm->Height());
    SizeDropDownForm();
    PlaceDropDownControl();
    FDropDownForm->Constraints()->SetMinWidth(80);
    FDropDownForm->Constraints()->SetMinHeight(50);
    if (auto *w = dynamic_cast<TWinControl *>(FControl)) {
        w->OnKeyDown = [this](TObject *, Word &Key, TShiftState Shift) { ControlKeyDown(Key, Shift); };
        w->OnKeyUp = [this](TObject *, Word &Key, TShiftState Shift) { ControlKeyUp(Key, Shift); };
        w->OnKeyPress = [this](TObject *, WideChar &Key) { ControlKeyPress(Key); };
    }
    const TPoint P = Parent() ? Parent()->ClientToScreen(TPoint(Left(), Top())) : ClientToScreen(TPoint(0, 0));
    TRect work;
    MONITORINFO info;
    if (HMONITOR m = MonitorFromPoint(P, MONITOR_DEFAULTTONEAREST); m && GetMonitorInfo(m, &info))
        work = info.rcWork;
    else
        SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    // The veto comes after the provisional place, before the work area is looked at.
    const TPoint vertical = DropDownPlacement(DropPosition, P, Height(), FDropDownForm->Width(),
                                              FDropDownForm->Height(), GetSystemMetrics(SM_CYSCREEN),
                                              TRect(-1, 0, 0, 0));
    FDropDownForm->SetBounds(vertical.X, vertical.Y, FDropDownForm->Width(), FDropDownForm->Height());
    bool accept = true;
    if (OnDropDown)
        OnDropDown(this, accept);
    if (!accept)
        return;
    const TPoint place = DropDownPlacement(DropPosition, P, Height(), FDropDownForm->Width(), FDropDownForm->Height(),
                                           GetSystemMetrics(SM_CYSCREEN), work);
    int W = FUserDropDownWidth != -1 ? FUserDropDownWidth : FDropDownForm->Width();
    int H = FUserDropDownHeight != -1 ? FUserDropDownHeight : FDropDownForm->Height();
    AdaptDropDownHeight(H);
    // One show at the final place, DroppedDown set first.
    FDroppedDown = true;
    FDropDownForm->SetBounds(place.X, place.Y, W, H);
    FDropDownForm->SetVisible(true);
    SetWindowPos(FDropDownForm->Handle(), HwndTopMost(), place.X, place.Y, W, H, 0);
    FocusDropDownControl();
}

void TExtCustomDropDown::DoHideDropDown(bool Cancel)
{
    if (ComponentState().Contains(TComponentStateItem::csDesigning) || !FDropDownForm || !FDropDownForm->Visible())
        return;
    if (OnBeforeDropUp)
        OnBeforeDropUp(this);
    FUserDropDownWidth = FDropDownForm->Width();
    FUserDropDownHeight = FDropDownForm->Height();
    FDropDownForm->Hide();
    if (FDroppedDown)
        DropDownHidden();
    if (Application)
        Application->CancelHint();
    if (Cancel)
        SetText(FTextAtDropDown);
    if (OnDropUp)
        OnDropUp(this, Cancel);
}

void TExtCustomDropDown::DropDownHidden()
{
    FDroppedDown = false;
    if (TabStop() && CanFocus() && !Focused() && !ComponentState().Contains(TComponentStateItem::csDestroying))
        SetFocus();
}
