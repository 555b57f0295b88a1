#pragma once
// A custom-painted panel of push buttons ("keys") kept in a collection. The calculator type
// builds the 28 keys of a pocket calculator and lays them out in six columns that follow the
// panel's size; the panel tracks the key under the mouse and the pressed key and reports a
// completed click by the key's index.

#include "dropdowns/ExtCustomDropDown.h"

#include <memory>

class TButtonItem : public TCollectionItem {
public:
    explicit TButtonItem(TCollection *Collection);
    ~TButtonItem() override;
    // Copies caption, caption colour, tag, image index, picture, enabled and name.
    void Assign(TPersistent *Source) override;

    UnicodeString Caption;
    int ImageIndex = -1;
    bool Enabled = true;
    TPicture *Image() const { return FImage.get(); }
    void SetImage(TPicture *Value) { FImage->Assign(Value); }
    int Tag = 0;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    UnicodeString Name;
    TColor CaptionColor = clWhite;
    // A function key: its caption paints in the appearance's SpecialTextColor.
    bool Special = false;
    TRect Rect() const { return TRect(Left, Top, Left + Width, Top + Height); }

private:
    std::unique_ptr<TPicture> FImage;
};

class TButtonItems : public TCollection {
public:
    explicit TButtonItems(TPersistent *AOwner);
    TButtonItem *Add() { return static_cast<TButtonItem *>(TCollection::Add()); }
    TButtonItem *Insert(int Index) { return static_cast<TButtonItem *>(TCollection::Insert(Index)); }
    TButtonItem *Items(int Index) const { return static_cast<TButtonItem *>(TCollection::Items(Index)); }
    TNotifyEvent OnChange;

protected:
    TPersistent *GetOwner() override { return FOwner; }

private:
    TPersistent *FOwner;
};

class TButtonAppearance : public TPersistent {
public:
    TButtonAppearance();
    ~TButtonAppearance() override;
    void Assign(TPersistent *Source) override;
    TNotifyEvent OnChange;
#define EXT_KEY_COLOR(Name, Initial)                                                                                   \
public:                                                                                                                \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor Value)                                                                                       \
    {                                                                                                                  \
        if (F##Name != Value) {                                                                                        \
            F##Name = Value;                                                                                           \
            Changed();                                                                                                 \
        }                                                                                                              \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    TColor F##Name = Initial;
    EXT_KEY_COLOR(BorderColor, 0x000000)
    EXT_KEY_COLOR(BorderColorHot, 0x000000)
    EXT_KEY_COLOR(BorderColorDown, 0x000000)
    EXT_KEY_COLOR(Color, 0x9A915F)
    EXT_KEY_COLOR(ColorTo, 0xB0A170)
    EXT_KEY_COLOR(ColorDown, 0x4B2F08)
    EXT_KEY_COLOR(ColorDownTo, 0xADB514)
    EXT_KEY_COLOR(ColorHot, 0x9F6F1C)
    EXT_KEY_COLOR(ColorHotTo, 0xD5C244)
    EXT_KEY_COLOR(GlowColorHot, 0xD5C244)
    EXT_KEY_COLOR(GlowColorDown, 0xD5C244)
    EXT_KEY_COLOR(TextColor, 0x000000)
    EXT_KEY_COLOR(SpecialTextColor, clMaroon)
#undef EXT_KEY_COLOR
public:
    TColor ShineColor() const { return FShineColor; }
    void SetShineColor(TColor Value) { FShineColor = Value; }
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value) { FFont->Assign(Value); }

private:
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
    TColor FShineColor = clWhite;
    std::unique_ptr<TFont> FFont;
};

enum TButtonPanelType { plCalculator, plCustom };
using TCalculatorButtonClickEvent = std::function<void(TObject *Sender, int Index)>;

class TCustomButtonPanel : public TCustomControl {
public:
    explicit TCustomButtonPanel(TComponent *AOwner);
    ~TCustomButtonPanel() override;

    TButtonItems *Buttons() const { return FButtons.get(); }
    void SetButtons(TButtonItems *Value) { FButtons->Assign(Value); }
    TItemLayout ButtonLayout = ilCaptionRight;
    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *Value);
    TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
    void SetButtonPanelType(TButtonPanelType Value);
    TButtonAppearance *ButtonAppearance() const { return FAppearance.get(); }
    void SetButtonAppearance(TButtonAppearance *Value) { FAppearance->Assign(Value); }
    TExtCustomDropDown *HostDropDown() const { return FHost; }
    void SetHostDropDown(TExtCustomDropDown *Value) { FHost = Value; }
    TCalculatorButtonClickEvent OnButtonClick;
    int HotButton() const { return FHot; }
    int DownButton() const { return FDown; }

    virtual void DrawButton(int Index, TCanvas *ACanvas);
    virtual void GetButtonArea(TRect &R);
    virtual void CalcButtonSize(TSize &Size);
    virtual void ClearButtons() { FButtons->Clear(); }
    virtual void ResetButtons();
    virtual void BuildButtons();
    virtual void ArrangeButtons();
    virtual void InvalidateButton(int Index);
    virtual void DoButtonClick(int Index);
    void DrawButtons(TCanvas *ACanvas, bool IncludeHot);
    int ButtonAtPos(int X, int Y) const;
    TRect GetButtonRect(int Index) const;
    void SetButtonHot(int Index);
    void SetButtonDown(int Index);
    void Loaded() override;
    // Paints the panel on ACanvas (its own while painting, or one a test hands in).
    void PaintOn(TCanvas *ACanvas);

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMSize(TWMSize &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;

private:
    void ButtonsChanged(TObject *Sender);
    bool ValidIndex(int Index) const { return Index >= 0 && Index < FButtons->Count(); }
    std::unique_ptr<TButtonItems> FButtons;
    std::unique_ptr<TButtonAppearance> FAppearance;
    TCustomImageList *FImages = nullptr;
    TButtonPanelType FButtonPanelType = plCalculator;
    TExtCustomDropDown *FHost = nullptr;
    int FHot = -1;
    int FDown = -1;
    static constexpr int OuterX = 8, OuterY = 8, InnerX = 4, InnerY = 4;
};
