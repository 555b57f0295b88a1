#pragma once
// TLbButton: the owner-drawn push button of every form. It paints its whole face itself (see
// DrawLbButtonFace), lights up in HotTrackColor while the pointer is on it or it has the focus,
// clicks on a left press released over it, on Space and Enter while focused, on its caption's
// accelerator and, when Default or Cancel is set, on Enter or Escape in its form; a click with a
// ModalResult closes the modal form it lies on, and a PopupMenu pops up under it.
//
//     auto *ok = new TLbButton(form);
//     ok->SetParent(form);
//     ok->SetStyle(bsEncarta);
//     ok->SetColor(0xEDF7F8);
//     ok->SetHotTrackColor(clYellow);
//     ok->SetColorWhenDown(0x0080FF);
//     ok->SetModalResult(mrOk);
//     ok->Glyph()->LoadFromResourceName("BTN_INFO");   // or SetGlyph(bitmap)
//     ok->SetNumGlyphs(1);
//     ok->OnClick = [this](TObject *S) { Btn_OKClick(S); };

#include "controls/LbButtons.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/Menus.h"

#include <memory>

class TCustomImageList;

class TLbButton : public TCustomControl {
public:
    explicit TLbButton(TComponent *AOwner);
    ~TLbButton() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    // Always lcsCustom: a preset is applied to the colours, not kept.
    TLbColorStyle ColorStyle() const { return FDummyStyle; }
    void SetColorStyle(TLbColorStyle Value);
    TColor ColorWhenDown() const { return FColorWhenDown; }
    void SetColorWhenDown(TColor Value) { FColorWhenDown = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value) { FDefault = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // The glyph strip (owned). Drawing into it directly does not repaint; SetGlyph copies a
    // bitmap in, derives NumGlyphs from its proportions and makes the button a custom kind.
    TBitmap *Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap *Value);
    TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(TColor Value) { FHotTrackColor = Value; }
    TFont *HotTrackFont() const { return FHTFont.get(); }
    void SetHotTrackFont(TFont *Value);
    TLbButtonKind Kind() const { return FKind; }
    void SetKind(TLbButtonKind Value);
    TLbButtonLayout Layout() const { return FLayout; }
    void SetLayout(TLbButtonLayout Value);
    TColor LightColor() const { return FLightColor; }
    void SetLightColor(TColor Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);
    bool SlowDecease() const { return FSlowDecease; }
    void SetSlowDecease(bool Value);
    TLbButtonStyle Style() const { return FStyle; }
    void SetStyle(TLbButtonStyle Value);
    bool UseHotTrackFont() const { return FUseHTFont; }
    void SetUseHotTrackFont(bool Value) { FUseHTFont = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    void SetEnabled(bool Value) override;

    // Hover intensity, 8 (full HotTrackColor) down to 0 (plain Color).
    int HotTrackStep() const { return FHotTrackStep; }
    // The window's extended style: WS_EX_TRANSPARENT for the styles drawn with a see-through
    // outline (bsModern, bsShape, bsQuicken), otherwise 0.
    DWORD ExStyle() const { return FExStyle; }

    // The click: fires OnClick and hands ModalResult to the form, on a visible, enabled button
    // that is pressed.
    void PerformClick();
    // The click of a press, a key or a dialog key: PerformClick, then the assigned action.
    void Click() override;

    // OnClick and OnMouseEnter are the control's; OnMouseExit fires when the pointer leaves.
    TNotifyEvent OnMouseExit;

protected:
    void Paint() override;
    // An action with a picture gives it to a button that has no glyph of its own.
    void ActionChange(TObject *Sender, bool CheckDefaults) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CNKeyDown(TWMKey &Message) override;
    void CNKeyUp(TWMKey &Message) override;
    void CMDialogKey(TCMDialogKey &Message) override;
    void CMDialogChar(TCMDialogChar &Message) override;
    void CMTextChanged(TCMTextChanged &Message) override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void WMKillFocus(TWMKillFocus &Message) override;
    void WMEraseBkgnd(TWMEraseBkgnd &Message) override;

private:
    // One tick of the slow fade, on the user-interface thread.
    void FadeStep(TObject *Sender);
    void StopThread();
    bool Hot() const;
    // The form at the end of the owner chain's first form link.
    TCustomForm *OwnerForm() const;
    void CopyActionImageToGlyph(TCustomImageList *Images, int Index);

    TAlignment FAlignment = taCenter;
    TColor FShadowColor = 0x808080;
    TColor FColorWhenDown = clNone;
    bool FEnabled = true;
    bool FFlat = false;
    bool FWordWrap = false;
    std::unique_ptr<TBitmap> FGlyph;
    TColor FHotTrackColor = clNone;
    std::unique_ptr<TFont> FHTFont;
    TLbButtonKind FKind = bkCustom;
    TLbButtonLayout FLayout = blGlyphLeft;
    TColor FLightColor = 0xFFFFFF;
    TModalResult FModalResult = mrNone;
    int FNumGlyphs = 0;
    bool FUseHTFont = false;
    TLbColorStyle FDummyStyle = lcsCustom;
    TLbButtonStyle FStyle = bsNormal;
    bool FDefault = false;
    bool FCancel = false;
    bool FSlowDecease = false;
    bool bDown = false;
    bool bCursorOnButton = false;
    TLbButtonThread *FThread = nullptr;
    int FHotTrackStep = 0;
    DWORD FExStyle = 0;
    bool FDestroying = false;
};
