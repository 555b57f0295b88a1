#include "dropdowns/ExtCustomDropDown.h"

#include "platform/WinGdi.h"
#include "platform/WindowPlacement.h"

namespace {

bool AltHeld(const TWMKey &Message)
{
    return (Message.KeyData & 0x20000000) != 0 || GetKeyState(VK_MENU) < 0;
}

} // namespace

TExtCustomDropDown::TExtCustomDropDown(TComponent *AOwner)
    : TCustomMaskEdit(AOwner), FDropDownHeader(std::make_unique<THeaderAppearance>(this)),
      FButtonAppearance(std::make_unique<TExtButtonAppearance>()),
      FDropDownFooter(std::make_unique<TFooterAppearance>(this)), FLabelFont(std::make_unique<TFont>())
{
    SetBounds(Left(), Top(), 200, 21);
    TControlStyle style = ControlStyle();
    style.Exclude(csSetCaption);
    SetControlStyle(style);
    FDropDownHeader->OnChange = [this](TObject *s) { HeaderChanged(s); };
    FDropDownHeader->OnButtonsChanged = [this](TObject *s) { HeaderChanged(s); };
    FDropDownFooter->OnChange = [this](TObject *s) { FooterChanged(s); };
    FDropDownFooter->OnButtonsChanged = [this](TObject *s) { FooterChanged(s); };
    FIsThemed = IsComCtl6();
    FLabelFont->OnChange = [this](TObject *) {
        if (FLabel)
            UpdateLabel();
    };
}

void TExtCustomDropDown::AfterConstruction()
{
    if (FConstructed)
        return;
    FConstructed = true;
    if (!ComponentState().Contains(TComponentStateItem::csDesigning))
        CreateDropDownForm();
    CreateDropDownButton();
    SetReadOnly(false);
    SetText(UnicodeString());
    FOldText.clear();
    SetSelectionColorStyle(scOffice2007);
    SetComponentStyle(tsOffice2007Luna);
}

TExtCustomDropDown::~TExtCustomDropDown()
{
    // The popup goes first: its hide and destroy events call back into this edit.
    if (FDropDownForm) {
        FDropDownForm->OnHide = nullptr;
        FDropDownForm->SetExtDropDown(nullptr);
        delete FDropDownForm;
        FDropDownForm = nullptr;
    }
    delete FButton;
    FButton = nullptr;
}

// ---- published setters ----

void TExtCustomDropDown::SetBorderColor(TColor Value)
{
    FBorderColor = Value;
    Invalidate();
    if (FButton)
        FButton->Invalidate();
}

void TExtCustomDropDown::SetDisabledBorder(bool Value)
{
    if (FDisabledBorder == Value)
        return;
    FDisabledBorder = Value;
    Invalidate();
}

void TExtCustomDropDown::SetDropDownWidth(int Value)
{
    if (FDropDownWidth == Value)
        return;
    FDropDownWidth = Value;
    FUserDropDownWidth = -1;
}

void TExtCustomDropDown::SetDropDownHeight(int Value)
{
    if (FDropDownHeight == Value)
        return;
    FDropDownHeight = Value;
    FUserDropDownHeight = -1;
}

void TExtCustomDropDown::SetDropDownButtonWidth(int Value)
{
    if (!FButton || FButtonWidth == Value)
        return;
    FButtonWidth = Value;
    FButton->SetBWidth(Value);
    if (HandleAllocated())
        AdjustButtonBounds();
}

void TExtCustomDropDown::SetDropDownButtonHint(const UnicodeString &Value)
{
    if (FButtonHint == Value)
        return;
    FButtonHint = Value;
    if (FButton) {
        FButton->SetHint(Value);
        FButton->SetShowHint(!Value.isEmpty());
    }
}

TBitmap *TExtCustomDropDown::DropDownButtonGlyph() const
{
    return FButton ? FButton->Glyph() : nullptr;
}

void TExtCustomDropDown::SetDropDownButtonGlyph(TBitmap *Value)
{
    if (FButton)
        FButton->SetGlyph(Value);
}

UnicodeString TExtCustomDropDown::DropDownButtonCaption() const
{
    return FButton ? FButton->ButtonCaption() : UnicodeString();
}

void TExtCustomDropDown::SetDropDownButtonCaption(const UnicodeString &Value)
{
    if (FButton)
        FButton->SetButtonCaption(Value);
}

UnicodeString TExtCustomDropDown::Version() const
{
    const auto v = static_cast<Cardinal>(const_cast<TExtCustomDropDown *>(this)->GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

void TExtCustomDropDown::SetEditorEnabled(bool Value)
{
    FEditorEnabled = Value;
    TControlStyle style = ControlStyle();
    if (Value)
        style.Include(csDoubleClicks);
    else
        style.Exclude(csDoubleClicks);
    SetControlStyle(style);
}

// ---- label ----

UnicodeString TExtCustomDropDown::LabelCaption() const
{
    return FLabel ? FLabel->Caption() : UnicodeString();
}

void TExtCustomDropDown::CreateLabel()
{
    FLabel = new TLabel(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(FLabelFont.get());
    FLabel->OnClick = [this](TObject *) { DoLabelClick(); };
    FLabel->OnDblClick = [this](TObject *) { DoLabelDblClick(); };
    FLabel->SetParentFont(ParentFont());
}

void TExtCustomDropDown::SetLabelCaption(const UnicodeString &Value)
{
    if (!FLabel)
        CreateLabel();
    FLabel->SetCaption(Value);
    UpdateLabel();
}

void TExtCustomDropDown::SetLabelPosition(TLabelPosition Value)
{
    FLabelPosition = Value;
    if (FLabel)
        UpdateLabel();
}

void TExtCustomDropDown::SetLabelMargin(int Value)
{
    FLabelMargin = Value;
    if (FLabel)
        UpdateLabel();
}

void TExtCustomDropDown::SetLabelTransparent(bool Value)
{
    FLabelTransparent = Value;
    if (FLabel)
        UpdateLabel();
}

void TExtCustomDropDown::SetLabelFont(TFont *Value)
{
    if (!ParentFont())
        FLabelFont->Assign(Value);
    if (FLabel)
        UpdateLabel();
}

void TExtCustomDropDown::DoLabelClick()
{
    if (OnLabelClick)
        OnLabelClick(this);
}

void TExtCustomDropDown::DoLabelDblClick()
{
    if (OnLabelDblClick)
        OnLabelDblClick(this);
}

void TExtCustomDropDown::UpdateLabel()
{
    if (!FLabel)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont.get());
    // The caption's width on one line, as the label shows it.
    TBitmap measure;
    measure.Canvas()->Font()->Assign(FLabel->Font());
    const int w = measure.Canvas()->TextWidth(FLabel->Caption());
    const TPoint at = EdgeLabelPlacement(FLabelPosition, BoundsRect(), w, {FLabel->Width(), FLabel->Height()},
                                         FLabelMargin);
    FLabel->SetBounds(at.X, at.Y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

TPoint EdgeLabelPlacement(int Position, const TRect &Control, int TextWidth, TSize Label, int Margin)
{
    using P = TExtCustomDropDown;
    const int L = Control.Left, T = Control.Top, EW = Control.Right - Control.Left, EH = Control.Bottom - Control.Top;
    const int LW = Label.cx, LH = Label.cy, M = Margin, w = TextWidth;
    const int vc = T + (EH - LH) / 2, hc = L + (EW - LW) / 2;
    int top = T, left = L;
    switch (Position) {
    case P::lpLeftTop: top = T; left = L - w - M; break;
    case P::lpLeftCenter: top = vc; left = L - w - M; break;
    case P::lpLeftBottom: top = T + EH - LH; left = L - w - M; break;
    case P::lpTopLeft: top = T - LH - M; left = L; break;
    case P::lpBottomLeft: top = T + EH + M; left = L; break;
    case P::lpLeftTopLeft: top = T; left = L - M; break;
    case P::lpLeftCenterLeft: top = vc; left = L - M; break;
    case P::lpLeftBottomLeft: top = T + EH - LH; left = L - M; break;
    case P::lpTopCenter: top = T - LH - M; left = hc; break;
    case P::lpBottomCenter: top = T + EH + M; left = hc; break;
    case P::lpRightTop: top = T; left = L + EW + M; break;
    case P::lpRightCenter: top = vc; left = L + EW + M; break;
    case P::lpRighBottom: top = T + EH - LH; left = L + EW + M; break;
    case P::lpTopRight: top = T - LH - M; left = L + EW - LW; break;
    case P::lpBottomRight: top = T + EH + M; left = L + EW - LW; break;
    default: break;
    }
    return {left, top};
}

void TExtCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->Parent())
        UpdateLabel();
}

void TExtCustomDropDown::Loaded()
{
    FParentFnt = ParentFont();
    SetEditRect();
    AdjustButtonBounds();
    if (FButton)
        FButton->SetEnabled(Enabled());
    if (FLabel && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(Enabled());
    if (FLabel)
        UpdateLabel();
}

// ---- popup life cycle hooks ----

void TExtCustomDropDown::CreateDropDownButton()
{
    if (!FButton) {
        FButton = new TDropDownEditButton(this);
        FButton->SetParent(this);
        FButton->OnClick = [this](TObject *s) { ButtonClick(s); };
    }
    InitDropDownButton();
}

void TExtCustomDropDown::InitDropDownButton()
{
    if (!FButton)
        return;
    // The container takes the edit's button width too, so both agree from the start.
    FButton->SetBWidth(FButtonWidth);
    FButton->SetBounds(FButton->Left(), FButton->Top(), FButtonWidth, 17);
    FButton->SetVisible(true);
    FButton->SetFocusControl(this);
    AdjustButtonBounds();
}

void TExtCustomDropDown::ButtonClick(TObject *)
{
    ClickDropDown();
}

void TExtCustomDropDown::ClickDropDown()
{
    if (ComponentState().Contains(TComponentStateItem::csDesigning) || !FDropDownForm || FDropDownForm->Visible())
        return;
    // A popup that never lost activation has no close to guard against (a program's first
    // quarter second would otherwise refuse the button).
    if (!FDropDownForm->HasDeActivated() || GetTickCount() - FDropDownForm->DeActivateTime() > 250)
        DoShowDropDown();
}

void TExtCustomDropDown::BeforeDropDown()
{
    if (OnBeforeDropDown)
        OnBeforeDropDown(this);
}

void TExtCustomDropDown::FocusDropDownControl()
{
    if (FocusControl && FocusControl->TabStop() && FocusControl->CanFocus() && !FocusControl->Focused())
        FocusControl->SetFocus();
}

void TExtCustomDropDown::SetControl(TControl *AControl)
{
    if (FControl == AControl)
        return;
    FControl = AControl;
    if (FControl)
        FControl->FreeNotification(this);
    if (!ComponentState().Contains(TComponentStateItem::csDesigning))
        PlaceDropDownControl();
}

void TExtCustomDropDown::Notification(TComponent *AComponent, TOperation Operation)
{
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || ComponentState().Contains(TComponentStateItem::csDestroying))
        return;
    if (AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
    if (AComponent == FControl)
        SetControl(nullptr);
    if (AComponent == FocusControl)
        FocusControl = nullptr;
    if (AComponent == FLabel)
        FLabel = nullptr;
}

void TExtCustomDropDown::HeaderChanged(TObject *)
{
    if (FDropDownForm && FDroppedDown)
        FDropDownForm->InitializeAndUpdate();
}

void TExtCustomDropDown::FooterChanged(TObject *)
{
    if (FDropDownForm && FDroppedDown)
        FDropDownForm->InitializeAndUpdate();
}

void TExtCustomDropDown::FormKeyPress(WideChar &Key)
{
    Perform(WM_CHAR, Key, 0);
}

void TExtCustomDropDown::FormKeyDown(Word &Key, TShiftState)
{
    Perform(WM_KEYDOWN, Key, 0);
}

void TExtCustomDropDown::FormKeyUp(Word &Key, TShiftState)
{
    Perform(WM_KEYUP, Key, 0);
}

void TExtCustomDropDown::ControlKeyDown(Word &Key, TShiftState)
{
    Perform(WM_KEYDOWN, Key, 0);
}

void TExtCustomDropDown::ControlKeyUp(Word &Key, TShiftState)
{
    Perform(WM_KEYUP, Key, 0);
}

void TExtCustomDropDown::ControlKeyPress(WideChar &Key)
{
    Perform(WM_CHAR, Key, 0);
}

void TExtCustomDropDown::DrawGradientBackground(TCanvas *Canvas, TColor FromColor, TColor ToColor, int Steps,
                                                const TRect &R, TGradientDirection Direction)
{
    const TRect copy = R;
    DrawGradient(Canvas, FromColor, ToColor, Steps, copy, Direction == gdHorizontal);
}

// ---- Assign ----

void TExtCustomDropDown::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TExtCustomDropDown *>(Source);
    if (!s) {
        TCustomMaskEdit::Assign(Source);
        return;
    }
    FocusDraw = s->FocusDraw;
    ForceShadow = s->ForceShadow;
    FDropDownEnabled = s->FDropDownEnabled;
    FDropDownColor = s->FDropDownColor;
    FDropDownColorTo = s->FDropDownColorTo;
    DropDownGradient = s->DropDownGradient;
    DropDownBorderColor = s->DropDownBorderColor;
    DropDownBorderWidth = s->DropDownBorderWidth;
    DropDownShadow = s->DropDownShadow;
    FDropDownWidth = s->FDropDownWidth;
    FDropDownHeight = s->FDropDownHeight;
    DropDownSizeable = s->DropDownSizeable;
    FEditType = s->FEditType;
    ReturnIsTab = s->ReturnIsTab;
    LengthLimit = s->LengthLimit;
    FPrecision = s->FPrecision;
    Prefix = s->Prefix;
    Suffix = s->Suffix;
    DefaultHandling = s->DefaultHandling;
    CanUndo = s->CanUndo;
    ExcelStyleDecimalSeparator = s->ExcelStyleDecimalSeparator;
    ValidChars = s->ValidChars;
    Signed = s->Signed;
    AutoThousandSeparator = s->AutoThousandSeparator;
    FButtonAppearance->Assign(s->FButtonAppearance.get());
    FDropDownHeader->Assign(s->FDropDownHeader.get());
    FDropDownFooter->Assign(s->FDropDownFooter.get());
    DropPosition = s->DropPosition;
    Flat = s->Flat;
    SetDropDownButtonWidth(s->FButtonWidth);
    SetDropDownButtonHint(s->FButtonHint);
    FEditorEnabled = s->FEditorEnabled;
    if (FButton && s->FButton)
        FButton->SetGlyph(s->FButton->Glyph());
    SetDropDownButtonCaption(s->DropDownButtonCaption());
    FImages = s->FImages;
    FSelectionColorStyle = s->FSelectionColorStyle;
    FSelectionColor = s->FSelectionColor;
    FSelectionColorTo = s->FSelectionColorTo;
}

// ---- keys ----

void TExtCustomDropDown::ToggleDropDown()
{
    if (FDroppedDown)
        DoHideDropDown(false);
    else
        DoShowDropDown();
}

void TExtCustomDropDown::KeyDown(Word &Key, TShiftState Shift)
{
    TCustomMaskEdit::KeyDown(Key, Shift);
    // The edit's own Alt+arrows come as system keys and are toggled here only; WMKeyDown takes
    // the ones forwarded from the popup.
    if (FToggledThisKey) {
        FToggledThisKey = false;
        return;
    }
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN))
        ToggleDropDown();
}

void TExtCustomDropDown::WMSysKeyDown(TWMKey &Message)
{
    FToggledThisKey = false;
    TCustomMaskEdit::WMSysKeyDown(Message);
}

void TExtCustomDropDown::KeyPress(WideChar &Key)
{
    TCustomMaskEdit::KeyPress(Key);
    if (Key == 13)
        Key = 0;
}

void TExtCustomDropDown::WMKeyDown(TWMKey &Message)
{
    if (ComponentState().Contains(TComponentStateItem::csDesigning))
        return;
    const Word key = Message.CharCode;
    if (AltHeld(Message) && (key == VK_UP || key == VK_DOWN)) {
        ToggleDropDown();
        // The same press must not toggle again in KeyDown.
        FToggledThisKey = true;
    }
    if (!FEditorEnabled && Enabled()) {
        if (!ReadOnly()) {
            if (key == VK_RETURN)
                DoHideDropDown(false);
            else if (key == VK_ESCAPE)
                DoHideDropDown(true);
            else if (key == VK_F4)
                ToggleDropDown();
        }
        if (key == VK_RETURN || key == VK_ESCAPE)
            TCustomMaskEdit::WMKeyDown(Message);
        FToggledThisKey = false;
        return;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (ctrl && (key == VK_TAB || key == VK_RETURN)) {
        TCustomMaskEdit::WMKeyDown(Message);
        FToggledThisKey = false;
        return;
    }
    if (JudgeKeyDown(Message)) {
        TCustomMaskEdit::WMKeyDown(Message);
        if (key == VK_DELETE && FEditType == etMoney)
            FormatMoneyText();
        if (!Prefix.isEmpty() && SelStart() < Prefix.length())
            SetSelStart(static_cast<int>(Prefix.length()));
        if (key == VK_RETURN)
            DoHideDropDown(false);
        else if (key == VK_ESCAPE)
            DoHideDropDown(true);
        else if (key == VK_F4)
            ToggleDropDown();
    }
    FToggledThisKey = false;
}

void TExtCustomDropDown::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    TCustomForm *form = GetParentForm();
    if (!form)
        return;
    if (Message.CharCode == VK_ESCAPE && CanUndo && !form->KeyPreview()) {
        SelectAll();
        SetIsModified(false);
        if (Parent() && DefaultHandling) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
        }
    } else if (Message.CharCode == VK_RETURN && DefaultHandling && !form->KeyPreview() && Parent() &&
               Parent()->Focused()) {
        PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
    TCustomMaskEdit::CMWantSpecialKey(Message);
    // The edit wants Esc while its popup is open, so that the key reaches WMKeyDown.
    if (Message.CharCode == VK_ESCAPE && FDroppedDown)
        Message.Result = 1;
}

// ---- mouse ----

void TExtCustomDropDown::WMLButtonDown(TWMMouse &Message)
{
    if (!FEditorEnabled) {
        TCustomMaskEdit::WMLButtonDown(Message);
        ClickDropDown();
        return;
    }
    // A press inside the selection keeps it (it may be the start of a drag); the release
    // places the caret.
    TWholeText whole(this);
    const int index = CharFromPos(TPoint(Message.XPos, Message.YPos));
    if (SelLength() > 0 && index >= SelStart() && index <= SelStart() + SelLength() && Focused()) {
        FButtonDown = true;
        Message.Result = 0;
        return;
    }
    TCustomMaskEdit::WMLButtonDown(Message);
}

void TExtCustomDropDown::WMLButtonUp(TWMMouse &Message)
{
    if (!FEditorEnabled || ReadOnly())
        DrawFocusedText();
    if (FButtonDown) {
        TWholeText whole(this);
        const int index = CharFromPos(TPoint(Message.XPos, Message.YPos));
        if (index >= 0)
            SetSelStart(index);
        SetSelLength(0);
    }
    FButtonDown = false;
    TCustomMaskEdit::WMLButtonUp(Message);
    const int value = static_cast<int>(ValueText().length());
    const int pre = static_cast<int>(Prefix.length());
    if (!Prefix.isEmpty() && SelStart() < pre) {
        SetSelStart(pre);
        SetSelLength(value);
    }
    if (!Suffix.isEmpty()) {
        if (SelStart() > pre + value) {
            SetSelStart(pre + value);
            SetSelLength(0);
        } else if (SelStart() + SelLength() > pre + value) {
            SetSelLength(pre + value - SelStart());
        }
    }
}

bool TExtCustomDropDown::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    const bool r = TCustomMaskEdit::DoMouseWheelDown(Shift, MousePos);
    WheelDown();
    return r;
}

bool TExtCustomDropDown::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const bool r = TCustomMaskEdit::DoMouseWheelUp(Shift, MousePos);
    WheelUp();
    return r;
}

// ---- focus ----

void TExtCustomDropDown::WMSetFocus(TWMSetFocus &Message)
{
    if (ComponentState().Contains(TComponentStateItem::csLoading))
        return;
    TCustomMaskEdit::WMSetFocus(Message);
    if (FEditorEnabled) {
        if (AutoSelect())
            SelectAll();
        else if (FEditType == etFloat || FEditType == etMoney)
            SelectBeforeDecimal();
    } else {
        HideCaret(Handle());
        Invalidate();
    }
}

void TExtCustomDropDown::CMEnter(TCMEnter &Message)
{
    if (AutoSelect() && !(GetKeyState(VK_LBUTTON) < 0))
        SelectAll();
    TCustomMaskEdit::CMEnter(Message);
    DrawControlBorder();
}

void TExtCustomDropDown::CMExit(TCMExit &Message)
{
    TCustomMaskEdit::CMExit(Message);
    DrawControlBorder();
}

void TExtCustomDropDown::DoEnter()
{
    TCustomMaskEdit::DoEnter();
    SetEditRect();
}

// ---- edit area and button ----

void TExtCustomDropDown::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TExtCustomDropDown::CMFontChanged(TCMFontChanged &Message)
{
    TCustomMaskEdit::CMFontChanged(Message);
    if (HandleAllocated())
        SetEditRect();
}

void TExtCustomDropDown::WMSize(TWMSize &Message)
{
    TCustomMaskEdit::WMSize(Message);
    AdjustButtonBounds();
}

void TExtCustomDropDown::SetEditRect()
{
    TRect r(0, 0, ClientWidth(), ClientHeight());
    r.Bottom = ClientHeight() + 1;
    r.Right = ClientWidth() - (FButton ? FButton->Width() : 0) - 3;
    if (BorderStyle() == bsNone) {
        r.Top = 3;
        r.Left = 2;
    } else {
        r.Top = 1;
        r.Left = 1;
    }
    FEditRect = r;
    TRect sent = r;
    if (!Ctl3D())
        ++sent.Left;
    SetFormattingRect(sent);
}

int TExtCustomDropDown::GetMinHeight()
{
    TBitmap screen;
    screen.Canvas()->Font()->Assign(Font());
    const int h = screen.Canvas()->TextHeight(QStringLiteral("Wg"));
    TBitmap sys;
    const int s = sys.Canvas()->TextHeight(QStringLiteral("Wg"));
    return h + std::min(h, s) / 4;
}

void TExtCustomDropDown::AdjustButtonBounds()
{
    if (Height() < GetMinHeight()) {
        SetHeight(GetMinHeight());
        Invalidate();
        return;
    }
    if (FButton) {
        int inset = BorderStyle() == bsNone ? 2 : 4;
        if (Flat)
            inset = 3;
        const int adjust = Ctl3D() ? 0 : 2;
        const int bw = FButton->BWidth();
        if (FIsThemed && Ctl3D() && BorderStyle() == bsSingle)
            FButton->SetBounds(Width() - bw - inset - adjust, Flat ? 2 : 0, bw, Height() - inset);
        else
            FButton->SetBounds(Width() - bw - adjust, 1, bw, Height() - 2);
        SetEditRect();
    }
    Invalidate();
}

void TExtCustomDropDown::WndProc(TMessage &Message)
{
    {
        TWholeText whole(this);
        TCustomMaskEdit::WndProc(Message);
    }
    // The button paints disabled while the edit is read-only.
    if (Message.Msg == EM_SETREADONLY && FButton)
        FButton->Invalidate();
}

// ---- frame ----

bool TExtCustomDropDown::IsHot() const
{
    if (ComponentState().Contains(TComponentStateItem::csDesigning))
        return false;
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

TExtCustomDropDown::TBorderPaint TExtCustomDropDown::BorderPaint() const
{
    TBorderPaint p;
    if (ComponentState().Contains(TComponentStateItem::csDesigning))
        return p;
    const bool focused = const_cast<TExtCustomDropDown *>(this)->Focused();
    if (!Enabled() && FIsThemed && FDisabledBorder) {
        p.Kind = TBorderPaint::bkColor;
        p.Color = clSilver;
    } else if (FBorderColor != clNone && (!focused || FFocusBorderColor == clNone)) {
        p.Kind = TBorderPaint::bkColor;
        p.Color = FBorderColor;
    } else if (FFocusBorderColor != clNone) {
        if (focused) {
            p.Kind = TBorderPaint::bkColor;
            p.Color = FFocusBorderColor;
        }
    } else {
        p.Kind = TBorderPaint::bkFlat;
        p.Hot = IsHot();
        p.InnerColor = p.Hot ? clBtnFace : (Parent() ? Parent()->Color() : clBtnFace);
    }
    return p;
}

void TExtCustomDropDown::DrawBorder(TCanvas *C)
{
    const TBorderPaint p = BorderPaint();
    const TRect r(0, 0, Width(), Height());
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    C->Pen()->SetWidth(1);
    switch (p.Kind) {
    case TBorderPaint::bkNone:
        return;
    case TBorderPaint::bkColor:
        C->Pen()->SetColor(p.Color);
        C->Rectangle(r);
        return;
    case TBorderPaint::bkFlat:
        if (p.Hot) {
            C->Pen()->SetColor(clBtnShadow);
            C->MoveTo(r.Left, r.Bottom - 1);
            C->LineTo(r.Left, r.Top);
            C->LineTo(r.Right - 1, r.Top);
            C->Pen()->SetColor(clBtnHighlight);
            C->LineTo(r.Right - 1, r.Bottom - 1);
            C->LineTo(r.Left, r.Bottom - 1);
            C->Pen()->SetColor(p.InnerColor);
            C->Rectangle(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
        } else {
            C->Pen()->SetColor(p.InnerColor);
            C->Rectangle(r);
            C->Rectangle(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
        }
        return;
    }
}

void TExtCustomDropDown::DrawControlBorder()
{
    if (Enabled() && !Flat && FBorderColor == clNone && FFocusBorderColor == clNone)
        return;
    if (FButton && FButton->Button())
        FButton->Button()->SetFocused(ComponentState().Contains(TComponentStateItem::csDesigning) ? Enabled()
                                                                                                  : IsHot());
    Invalidate();
}

void TExtCustomDropDown::WMPaint(TWMPaint &Message)
{
    TCustomMaskEdit::WMPaint(Message);
}

void TExtCustomDropDown::WMNCPaint(TWMNCPaint &Message)
{
    TCustomMaskEdit::WMNCPaint(Message);
    if (!Message.DC)
        return;
    TCanvas *dc = Message.DC;
    if (FocusedTextShown()) {
        const int saved = dc->SaveDC();
        PaintFocusedText(dc);
        dc->RestoreDC(saved);
    }
    // The same condition under which a focus or pointer change redraws the frame.
    if (!(Enabled() && !Flat && FBorderColor == clNone && FFocusBorderColor == clNone) ||
        (!Enabled() && FDisabledBorder)) {
        const int saved = dc->SaveDC();
        DrawBorder(dc);
        dc->RestoreDC(saved);
    }
}

bool TExtCustomDropDown::FocusedTextShown()
{
    return !FEditorEnabled && Focused() && FocusDraw && !ComponentState().Contains(TComponentStateItem::csDesigning);
}

void TExtCustomDropDown::DrawFocusedText()
{
    if (FocusedTextShown())
        Invalidate();
}

void TExtCustomDropDown::PaintFocusedText(TCanvas *DC)
{
    const int bw = FButton ? FButton->Width() : 0;
    TRect r(2, 2, Width() - bw - 1, Height() - 2);
    DC->Pen()->SetWidth(1);
    DC->Pen()->SetColor(clBlack);
    DC->Brush()->SetStyle(TBrushStyle::bsSolid);
    DC->Brush()->SetColor(clHighlight);
    DC->Rectangle(r);
    r.Left += 2;
    r.Right -= 3;
    DC->Font()->Assign(Font());
    DC->Font()->SetColor(clHighlightText);
    DC->Brush()->SetStyle(TBrushStyle::bsClear);
    const UnicodeString text = GetText();
    DrawText(DC->Handle(), text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void TExtCustomDropDown::CMParentFontChanged(TCMParentFontChanged &Message)
{
    TCustomMaskEdit::CMParentFontChanged(Message);
    if (ParentFont())
        FLabelFont->Assign(Font());
    if (FLabel)
        UpdateLabel();
}

void TExtCustomDropDown::CMMouseEnter(TCMMouseEnter &Message)
{
    TCustomMaskEdit::CMMouseEnter(Message);
    if (Enabled() && !FMouseInControl) {
        FMouseInControl = true;
        DrawControlBorder();
    }
}

void TExtCustomDropDown::CMMouseLeave(TCMMouseLeave &Message)
{
    TCustomMaskEdit::CMMouseLeave(Message);
    if (Enabled() && FMouseInControl) {
        FMouseInControl = false;
        DrawControlBorder();
    }
}

void TExtCustomDropDown::CMEnabledChanged(TCMEnabledChanged &Message)
{
    TCustomMaskEdit::CMEnabledChanged(Message);
    if (FButton)
        FButton->SetEnabled(Enabled());
}

void TExtCustomDropDown::CMVisibleChanged(TCMVisibleChanged &Message)
{
    TCustomMaskEdit::CMVisibleChanged(Message);
    if (FLabel && !LabelCaption().isEmpty())
        FLabel->SetVisible(Visible());
}
