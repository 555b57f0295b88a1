#pragma once
// The combo box of the grid's combo editors: an optional flat look, its own drop-down button and
// frame drawn over the platform's combo (border, button and focus colours), the colour taken
// while focused, and a caption label that follows it at one of thirteen places.
//
// Without any colour property and not Flat, the platform's combo shows unchanged.
//
//     auto *c = new TEsgComboBox(form);
//     c->SetParent(form);
//     c->SetLabelPosition(lpLeftCenter);
//     c->SetLabelCaption("Baud rate");
//     c->SetButtonColor(clNavy);          // the button in this colour, arrow in ButtonTextColor

#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/StdCtrls.h"

#include <memory>

enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};

class TEsgCustomCombo : public TCustomComboBox {
public:
    explicit TEsgCustomCombo(TComponent *AOwner);
    ~TEsgCustomCombo() override;

    // The colour the focus colour goes back to: the current one.
    void Init();
    // Selects the item equal to AString, letter case ignored; nothing changes when none is.
    void SelectItem(const UnicodeString &AString);

    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool Value) { FAutoFocus = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    // 14 to 32 pixels; other values are ignored.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool Value) { FFocusBorder = Value; }
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }
    bool IsVista() const { return FIsVista; }
    void SetIsVista(bool Value) { FIsVista = Value; }

    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    TFont *LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont *Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    UnicodeString LabelCaption() const;
    void SetLabelCaption(const UnicodeString &Value);
    // Made by the first LabelCaption; nullptr before.
    TLabel *ComboLabel() const { return FLabel; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value) { FFocusLabel = Value; }

    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor Value);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool Value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value) { FFocusColor = Value; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value) { FDisabledBorder = Value; }

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value) { FButtonColor = Value; Invalidate(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; Invalidate(); }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; Invalidate(); }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }

    // While the form loads, the colour is also the one Loaded applies.
    void SetColor(TColor Value);
    void SetEnabled(bool Value) override;
    void SetVisible(bool Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnDropUp;

protected:
    void Loaded() override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void DropDown() override;
    void CloseUp() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMEnter(TCMEnter &Message) override;
    void CMExit(TCMExit &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    void CMParentFontChanged(TCMParentFontChanged &Message) override;
    void CMMouseEnter(TCMMouseEnter &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void WMKillFocus(TWMKillFocus &Message) override;
    // After the platform painted the combo: the drop-down button and the frame of our own look.
    void WMNCPaint(TWMNCPaint &Message) override;

    // Places the label by LabelPosition; its visibility follows the combo.
    void UpdateLabel();
    // The frame: border colours or the flat look, and the flat button area.
    void DrawBorders(TCanvas *DC);
    void DrawButton(TCanvas *DC);
    // Whether our own painting takes part: a flat look or any colour of the frame or button.
    bool OwnPainting() const;
    // A mouse button is down right now.
    static bool MouseButtonDown();
    void RedrawFrame();

private:
    void LabelFontChanged(TObject *Sender);
    void MakeLabel();
    bool Loading() const { return ComponentState().Contains(TComponentStateItem::csLoading); }
    bool Designing() const { return ComponentState().Contains(TComponentStateItem::csDesigning); }

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    int FButtonWidth = 19;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    int FDropWidth = 0;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    int FLabelMargin = 4;
    std::unique_ptr<TFont> FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    TLabel *FLabel = nullptr;
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clNone;
    bool FHasFocus = false;
    bool FFocusLabel = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    bool FIsVista = false;
};

class TEsgComboBox : public TEsgCustomCombo {
public:
    explicit TEsgComboBox(TComponent *AOwner) : TEsgCustomCombo(AOwner) {}
};
