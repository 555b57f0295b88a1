#include "controls/EsgEditBtn.h"

#include "controls/ExtXPVS.h"

#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TExtSpeedButton

TExtSpeedButton::TExtSpeedButton(TComponent *AOwner) : TSpeedButton(AOwner)
{
}

TEsgEditButton *TExtSpeedButton::EditButton() const
{
    return dynamic_cast<TEsgEditButton *>(Owner());
}

void TExtSpeedButton::SetIsWinXP(bool Value)
{
    if (Value == FIsWinXP)
        return;
    FIsWinXP = Value;
    Invalidate();
}

void TExtSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    TSpeedButton::SetFlat(Value);
}

void TExtSpeedButton::CMMouseEnter(TCMMouseEnter &Message)
{
    TSpeedButton::CMMouseEnter(Message);
    FHot = true;
    Invalidate();
}

void TExtSpeedButton::CMMouseLeave(TCMMouseLeave &Message)
{
    TSpeedButton::CMMouseLeave(Message);
    FHot = false;
    Invalidate();
}

void TExtSpeedButton::Paint()
{
    TCanvas *c = Canvas();
    c->Font()->Assign(Font());
    TRect r(0, 0, Width(), Height());
    const bool pushed = FState == bsDown || FState == bsExclusive;
    TEsgEditButton *owner = EditButton();
    if (owner && owner->ButtonColor() != clNone) {
        SetFlat(true);
        TColor fill = owner->ButtonColor();
        if (pushed)
            fill = owner->ButtonColorDown();
        else if (FHot)
            fill = owner->ButtonColorHot();
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(fill);
        c->FillRect(r);
    } else if (FIsWinXP && ExtXPVS::ThemesActive()) {
        HWND parentWnd = Parent() ? Parent()->Handle() : nullptr;
        HTHEME theme = ExtXPVS::OpenThemeData(parentWnd, QStringLiteral("button"));
        const int state = pushed ? PBS_PRESSED : (FHot ? PBS_HOT : PBS_NORMAL);
        ExtXPVS::DrawThemeBackground(theme, c->Handle(), BP_PUSHBUTTON, state, r, nullptr);
        ExtXPVS::CloseThemeData(theme);
    } else if (!FFlat) {
        DrawFrameControl(c->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0));
    } else {
        TRect e = r;
        DrawEdge(c->Handle(), e, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }

    TBitmap *glyph = Glyph();
    if (!glyph->Empty()) {
        // Drawn whole, not cut into frames, centred on the button.
        glyph->SetTransparent(true);
        const int x = glyph->Width() < Width() ? (Width() - glyph->Width()) / 2 : 0;
        const int y = glyph->Height() < Height() ? (Height() - glyph->Height()) / 2 : 0;
        c->Draw(x + (pushed ? 1 : 0), y + (pushed ? 1 : 0), glyph);
    }
    const UnicodeString caption = Caption();
    if (!caption.isEmpty()) {
        if (pushed)
            OffsetRect(r, 1, 1);
        c->Font()->SetColor(clBlack);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        SetBkMode(c->Handle(), TRANSPARENT);
        DrawText(c->Handle(), caption, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}

// ---------------------------------------------------------------------------------------------
// TEsgEditButton

TEsgEditButton::TEsgEditButton(TComponent *AOwner) : TWinControl(AOwner)
{
    TControlStyle style = ControlStyle();
    style >> csAcceptsControls;
    style >> csSetCaption;
    style << csOpaque;
    SetControlStyle(style);
    SetTabStop(false);
    CreateButton();
    FButton->Glyph()->SetSize(0, 0);
    SetBounds(Left(), Top(), 20, 25);
}

TEsgEditButton::~TEsgEditButton()
{
    // The inner button is a component of this window; it goes with it.
    FButton = nullptr;
}

void TEsgEditButton::CreateButton()
{
    FButton = new TExtSpeedButton(this);
    FButton->SetParent(this);
    FButton->SetVisible(true);
    FButton->SetEnabled(true);
    FButton->SetCaption(QString());
    FButton->OnClick = [](TObject *) {};
    FButton->OnMouseUp = [this](TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        ButtonMouseUp(Sender, Button, Shift, X, Y);
    };
}

void TEsgEditButton::ResizeButton(int AWidth, int AHeight)
{
    if (ComponentState().Contains(TComponentStateItem::csLoading) || !FButton)
        return;
    FButton->SetBounds(0, 0, AWidth, AHeight);
}

void TEsgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    ResizeButton(AWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TEsgEditButton::Loaded()
{
    TWinControl::Loaded();
    ResizeButton(Width(), Height());
}

void TEsgEditButton::WMSize(TWMSize &Message)
{
    TWinControl::WMSize(Message);
    ResizeButton(Width(), Height());
    Message.Result = 0;
}

void TEsgEditButton::ButtonMouseUp(TObject *Sender, TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft)
        return;
    // A button part without a handler is legal (a form may place one on its own).
    if (Sender == FButton && OnClick)
        OnClick(this);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused()) {
        FFocusControl->SetFocus();
        return;
    }
    if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TEsgEditButton::SetFocusControl(TWinControl *Value)
{
    if (FFocusControl == Value)
        return;
    if (FFocusControl && FFocusControl != Owner())
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value && Value != Owner())
        Value->FreeNotification(this);
}

void TEsgEditButton::Notification(TComponent *AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
    if (Operation == TOperation::opRemove && AComponent == FButton)
        FButton = nullptr;
}

void TEsgEditButton::SetFlat(bool Value)
{
    FFlat = Value;
    FButton->SetFlat(Value);
}

TBitmap *TEsgEditButton::Glyph() const
{
    return FButton->Glyph();
}

void TEsgEditButton::SetGlyph(TBitmap *Value)
{
    FButton->SetGlyph(Value);
}

int TEsgEditButton::NumGlyphs() const
{
    return FButton->NumGlyphs();
}

void TEsgEditButton::SetNumGlyphs(int Value)
{
    FButton->SetNumGlyphs(Value);
}

UnicodeString TEsgEditButton::ButtonCaption() const
{
    return FButton->Caption();
}

void TEsgEditButton::SetButtonCaption(const UnicodeString &Value)
{
    FButton->SetCaption(Value);
}

// ---------------------------------------------------------------------------------------------
// TEsgEditBtn

TEsgEditBtn::TEsgEditBtn(TComponent *AOwner) : TCustomMaskEdit(AOwner)
{
    FButton = new TEsgEditButton(this);
    FButton->SetBounds(0, 0, 18, 18);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    // The override of the actual class answers: the unit edit offers its menu.
    FButton->OnClick = [this](TObject *Sender) { ButtonClick(Sender); };
    SetText(QStringLiteral("0"));
    TControlStyle style = ControlStyle();
    style >> csSetCaption;
    SetControlStyle(style);
}

TEsgEditBtn::~TEsgEditBtn()
{
    // The component owner frees the button part.
    FButton = nullptr;
}

void TEsgEditBtn::CreateWnd()
{
    SetAlignment(FRightAlign ? taRightJustify : taLeftJustify);
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TEsgEditBtn::SetEditRect()
{
    if (!HandleAllocated() || !FButton)
        return;
    TRect r;
    r.Left = BorderStyle() == bsSingle ? 1 : 3;
    r.Top = r.Left;
    r.Right = ClientWidth() - FButton->Width() - FUnitSize - 5;
    if (FUnitSize > 0)
        r.Right -= 3;
    r.Bottom = ClientHeight() + 1;
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TEsgEditBtn::WMSize(TWMSize &Message)
{
    TCustomMaskEdit::WMSize(Message);
    if (!FButton)
        return;
    const int minHeight = GetMinHeight();
    if (Height() < minHeight) {
        SetHeight(minHeight);
        return;
    }
    // The classic look with new-style controls: the button sits inside the sunken border.
    const bool border = BorderStyle() == bsSingle;
    if (Ctl3D()) {
        const int extra = border ? 0 : 4;
        FButton->SetBounds(Width() - FButton->Width() - 5 + extra, 0, FButton->Width(), Height() - 5 + extra);
    } else {
        FButton->SetBounds(Width() - FButton->Width(), 1, FButton->Width(), Height() - 3);
    }
    SetEditRect();
}

int TEsgEditBtn::GetMinHeight()
{
    // The 96-dpi metrics of the platform's fonts stand in for the screen's device context.
    TBitmap measure(1, 1);
    TCanvas *c = measure.Canvas();
    TEXTMETRIC sys;
    GetTextMetrics(c->Handle(), sys);
    c->Font()->Assign(Font());
    TEXTMETRIC own;
    GetTextMetrics(c->Handle(), own);
    return own.tmHeight + std::min(sys.tmHeight, own.tmHeight) / 4;
}

void TEsgEditBtn::ButtonClick(TObject *Sender)
{
    if (OnClickBtn)
        OnClickBtn(Sender);
}

void TEsgEditBtn::KeyDown(Word &Key, TShiftState Shift)
{
    // Backspace is a typed character in the classic edit (the masked edit would take it here):
    // OnKeyDown hears of it, the text keeps it.
    if (Key == VK_BACK && !FEditorEnabled) {
        TWinControl::KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    TCustomMaskEdit::KeyDown(Key, Shift);
    const bool alt = Shift.Contains(ssAlt) || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_LMENU) < 0 ||
                     GetKeyState(VK_RMENU) < 0;
    const bool ctrl = Shift.Contains(ssCtrl) || GetKeyState(VK_CONTROL) < 0;
    if (Key == VK_F4 && !ctrl && !alt)
        ButtonClick(this);
}

void TEsgEditBtn::WMChar(TWMKey &Message)
{
    if (FEditorEnabled)
        TCustomMaskEdit::WMChar(Message);
}

void TEsgEditBtn::WMPaste(TMessage &Message)
{
    if (FEditorEnabled && !ReadOnly())
        TCustomMaskEdit::WMPaste(Message);
}

void TEsgEditBtn::WMCut(TMessage &Message)
{
    if (FEditorEnabled && !ReadOnly())
        TCustomMaskEdit::WMCut(Message);
}

void TEsgEditBtn::SetRightAlign(bool Value)
{
    if (Value == FRightAlign)
        return;
    FRightAlign = Value;
    SetAlignment(Value ? taRightJustify : taLeftJustify);
    RecreateWnd();
}

void TEsgEditBtn::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FButton->Button()->SetIsWinXP(Value);
}

void TEsgEditBtn::SetButtonWidth(int Value)
{
    FButtonWidth = Value;
    FButton->SetWidth(Value);
}

TBitmap *TEsgEditBtn::Glyph() const
{
    return FButton->Glyph();
}

void TEsgEditBtn::SetGlyph(TBitmap *Value)
{
    FButton->SetGlyph(Value);
}

UnicodeString TEsgEditBtn::ButtonCaption() const
{
    return FButton->ButtonCaption();
}

void TEsgEditBtn::SetButtonCaption(const UnicodeString &Value)
{
    FButton->SetButtonCaption(Value);
}

// ---------------------------------------------------------------------------------------------
// TEsgUnitEditBtn

TEsgUnitEditBtn::TEsgUnitEditBtn(TComponent *AOwner)
    : TEsgEditBtn(AOwner), FUnits(std::make_unique<TStringList>())
{
    FUnitSize = 20;
    SetRightAlign(true);
}

TEsgUnitEditBtn::~TEsgUnitEditBtn() = default;

void TEsgUnitEditBtn::ButtonClick(TObject *Sender)
{
    if (OnClickBtn)
        OnClickBtn(this);
    TPopupMenu menu(this);
    for (int i = 0; i < FUnits->Count(); ++i) {
        auto *item = new TMenuItem(&menu);
        item->SetCaption(FUnits->Strings(i));
        const WPARAM id = static_cast<WPARAM>(i + 1);
        // The choice arrives as the menu's command, as the classic tracked menu sends it.
        item->OnClick = [this, id](TObject *) { Perform(WM_COMMAND, id, 0); };
        menu.Items()->Add(item);
    }
    menu.SetPopupComponent(this);
    const TPoint at = ClientToScreen({ClientWidth() - 15, ClientHeight()});
    menu.Popup(at.X, at.Y);
}

void TEsgUnitEditBtn::WMCommand(TWMCommand &Message)
{
    if (Message.NotifyCode == EN_CHANGE) {
        TEsgEditBtn::WMCommand(Message);
        return;
    }
    const int id = Message.ItemID;
    if (id < 1 || id > FUnits->Count()) {
        TEsgEditBtn::WMCommand(Message);
        return;
    }
    const UnicodeString previous = FUnitID;
    SetUnitID(FUnits->Strings(id - 1));
    if (FUnitID != previous && OnUnitChanged)
        OnUnitChanged(this, FUnitID);
}

void TEsgUnitEditBtn::WMNCPaint(TWMNCPaint &Message)
{
    TEsgEditBtn::WMNCPaint(Message);
    if (!Message.DC || FUnitID.isEmpty() || !ButtonPart())
        return;
    TCanvas *c = Message.DC;
    const int right = ClientWidth() - ButtonPart()->Width() - 3;
    TRect r(right - FUnitSize, 2, right, ClientHeight());
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    SetBkMode(c->Handle(), TRANSPARENT);
    DrawText(c->Handle(), FUnitID, -1, &r, DT_EDITCONTROL);
}

void TEsgUnitEditBtn::SetUnitID(const UnicodeString &Value)
{
    FUnitID = Value;
    Invalidate();
}

void TEsgUnitEditBtn::SetUnits(TStrings *Value)
{
    if (Value)
        FUnits->Assign(Value);
}

void TEsgUnitEditBtn::SetUnitSpace(int Value)
{
    FUnitSize = Value;
    SetEditRect();
    Invalidate();
}

UnicodeString TEsgUnitEditBtn::TextAndUnit() const
{
    return Text() + FUnitID;
}

void TEsgUnitEditBtn::SetTextAndUnit(const UnicodeString &Value)
{
    for (int i = 0; i < FUnits->Count(); ++i) {
        const UnicodeString unit = FUnits->Strings(i);
        if (unit.isEmpty())
            continue;
        const int at = static_cast<int>(Value.indexOf(unit));
        if (at >= 0 && at == Value.size() - unit.size()) {
            SetText(Value.left(at));
            SetUnitID(Value.mid(at));
            return;
        }
    }
}
