#pragma once
// The small controls of the grid's search panel.
//
// TExtGridButton: a glyph button with a flat face whose colours (normal, hot, down, checked)
// may each run as a vertical gradient, a rounded border, a check style that flips Down on each
// click, exclusive groups among the buttons of one parent, an optional drop-down part of 12
// pixels at the right and seven ready-made colour looks (Look), one of which can follow the
// desktop's colour scheme (AutoThemeAdapt).
//
// TExtCheckBox: a check box that draws itself (themed or classic box, caption beside it at the
// left or the right, optional end ellipsis), with three states and, when Transparent, the
// parent's picture behind it.

#include "controls/ExtButtonStyle.h"
#include "platform/ActnList.h"
#include "platform/Buttons.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"

#include <memory>

// True when the desktop draws themed controls: a system past 5.0, an active visual style and
// common controls of version 6 or later.
bool ThemedDrawingAvailable();
// The desktop's colour scheme: 1 "NormalColor", 2 "HomeStead", 3 "Metallic", else 0.
int GetXPColorScheme();
// Fills Rect with Steps bands (0 counts as 1) running from FromColor to ToColor, left to right
// when Horizontal, else top to bottom; then the border in BorderColor unless it is clNone.
void DrawButtonGradient(TCanvas *Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect &Rect,
                        int Steps, TColor BorderColor);


class TExtGridButton;

class TExtGridButtonActionLink : public TControlActionLink {
public:
    void AssignClient(TObject *AClient) override;
    bool IsCaptionLinked() override;
    bool IsCheckedLinked() override;
    bool IsGroupIndexLinked() override;
    void SetCaption(const UnicodeString &Value) override;
    void SetChecked(bool Value) override;
    void SetGroupIndex(int Value) override;

protected:
    TExtGridButton *FClient = nullptr;
};

class TExtGridButton : public TGraphicControl {
public:
    explicit TExtGridButton(TComponent *AOwner);
    ~TExtGridButton() override;

    bool Down() const { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    TBitmap *Glyph() const { return FGlyph.get(); }
    // Copies the picture; a button without a disabled glyph gets a grey copy of it.
    void SetGlyph(TBitmap *Value);
    TBitmap *GlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(TBitmap *Value);
    TBitmap *GlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(TBitmap *Value);
    TBitmap *GlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(TBitmap *Value);
    // The grey silhouette drawn under the glyph while hot (built from Glyph).
    TBitmap *GlyphShade() const { return FGlyphShade.get(); }
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    bool Shaded() const { return FShaded; }
    void SetShaded(bool Value);
    TExtGridButtonStyle Style() const { return FStyle; }
    void SetStyle(TExtGridButtonStyle Value);
    bool Rounded() const { return FRounded; }
    void SetRounded(bool Value);
    bool DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool Value);
    TPopupMenu *DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu *Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    bool AutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool Value) { FAutoXPStyle = Value; }

    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor ColorHot() const { return FColorHot; }
    void SetColorHot(TColor Value) { FColorHot = Value; }
    TColor ColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor Value) { FColorHotTo = Value; }
    TColor ColorDown() const { return FColorDown; }
    void SetColorDown(TColor Value) { FColorDown = Value; }
    TColor ColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor Value) { FColorDownTo = Value; }
    TColor ColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor Value);
    TColor ColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor BorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor Value) { FBorderDownColor = Value; }
    TColor BorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor Value) { FBorderHotColor = Value; }

    // 0 to 6: a ready-made colour set (0 is the rounded one); other values change nothing.
    int Look() const { return FLook; }
    void SetLook(int Value);

    bool MouseInControl() const { return FMouseInControl; }
    TButtonState State() const { return FState; }

    TNotifyEvent OnDropDown;

    void Click() override;
    void WndProc(TMessage &Message) override;
    void Dispatch(TMessage &Message) override;

protected:
    void Loaded() override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    void CMTextChanged(TCMTextChanged &Message) override;
    void CMDialogChar(TCMDialogChar &Message) override;
    void WMLButtonDblClk(TWMMouse &Message) override;
    TControlActionLink *CreateActionLink() override;
    void ActionChange(TObject *Sender, bool CheckDefaults) override;

private:
    void UpdateExclusive();
    void UpdateTracking();
    void ThemeAdapt();
    void BuildShade();
    void DrawGlyphAndCaption(TRect R, TPoint Offset, TButtonState State);

    bool FIsComCtl6 = false;
    int FGroupIndex = 0;
    std::unique_ptr<TBitmap> FGlyph;
    bool FDown = false;
    bool FDragging = false;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
    bool FTransparent = true;
    int FMargin = -1;
    bool FFlat = true;
    bool FMouseInControl = false;
    TColor FColorTo = clNone;
    TColor FColorHot = 0xCAC7C7;
    TColor FColorHotTo = clNone;
    TColor FColorDown = 0xD8D3D2;
    TColor FColorDownTo = clNone;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    std::unique_ptr<TBitmap> FGlyphDisabled;
    std::unique_ptr<TBitmap> FGlyphHot;
    std::unique_ptr<TBitmap> FGlyphDown;
    std::unique_ptr<TBitmap> FGlyphShade;
    bool FShaded = true;
    TColor FColorChecked = 0x808080;
    TColor FColorCheckedTo = clNone;
    TExtGridButtonStyle FStyle = tasButton;
    int FLook = 0;
    bool FRounded = false;
    bool FDropDownButton = false;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;
    TPopupMenu *FDropDownMenu = nullptr;
    bool FShowCaption = true;
    TButtonState FState = bsUp;
};

using TLeftRight = TAlignment;

class TExtCheckBox : public TCustomControl {
public:
    explicit TExtCheckBox(TComponent *AOwner);
    ~TExtCheckBox() override;

    // Unless ReadOnly, Checked flips.
    virtual void Toggle();

    bool Down() const { return FDown; }
    void SetDown(bool Value) { FDown = Value; }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value);
    UnicodeString Caption() const { return FCaption; }
    void SetCaption(const UnicodeString &Value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout Value);
    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight Value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // Keeps a copy of the parent's picture instead of asking the parent at every paint.
    bool TransparentChaching() const { return FTransparentCaching; }
    void SetTransparentChaching(bool Value) { FTransparentCaching = Value; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Paint() override;
    // Whether the box is drawn themed; the desktop decides (ThemedDrawingAvailable).
    virtual bool ThemedBoxes() const;
    // The box's rectangle in the client area, themed or classic.
    TRect BoxRect(bool Themed) const;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyUp(Word &Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void CMDialogChar(TCMDialogChar &Message) override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void WMEraseBkgnd(TWMEraseBkgnd &Message) override;

private:
    // The corner of the box the mouse state changes.
    void InvalidateBoxCorner(bool Erase);

    bool FDown = false;
    TCheckBoxState FState = cbUnchecked;
    bool FFocused = false;
    bool FReturnIsTab = false;
    TTextLayout FBtnVAlign = tlTop;
    TLeftRight FAlignment = taLeftJustify;
    bool FEllipsis = false;
    UnicodeString FCaption;
    bool FIsWinXP = false;
    bool FHot = false;
    bool FReadOnly = false;
    bool FMouseDown = false;
    std::unique_ptr<TBitmap> FBkgBmp;
    bool FBkgCache = false;
    bool FTransparentCaching = false;
    bool FTransparent = false;
};
