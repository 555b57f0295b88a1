#pragma once
// A drop-down for choosing a colour. The edit cannot be typed into; it shows a box of the chosen
// colour and a text for it (the caption of the chosen list entry, or the colour as hexadecimal,
// web name, RGB or HTML value). The popup holds one of four pickers: the named list of Colors
// in an item selector, the 60-colour palette, the honeycomb or the spectrum.

#include "dropdowns/ExtColorSelectors.h"
#include "dropdowns/ExtItemSelector.h"
#include "platform/ExtCtrls.h"

class TColorItem : public TNotifyItem {
public:
    using TNotifyItem::TNotifyItem;
    void Assign(TPersistent *Source) override;
    const UnicodeString &Caption() const { return FCaption; }
    void SetCaption(const UnicodeString &Value) { Change(FCaption, Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Change(FColor, Value); }
    bool Enabled = true;
    TRect Rect;
    UnicodeString Hint;

private:
    UnicodeString FCaption;
    TColor FColor = clNone;
};

class TColorItems : public TTypedItems<TColorItem> {
public:
    using TTypedItems::TTypedItems;
};

enum TColorSelectionStyle { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

// The web colour name of a colour (system colours resolved first): "clWebRed" for a colour of
// the web table, else "#" and the red, green and blue values as two hexadecimal digits each.
UnicodeString ColorToWebColorName(TColor Color);

class TExtColorPickerDropDown : public TExtCustomDropDown {
public:
    explicit TExtColorPickerDropDown(TComponent *AOwner);
    ~TExtColorPickerDropDown() override;

    TExtCustomItemSelector *ItemSelector() const { return FItemSelector; }
    TExtColorCubePanel *ColorCubePanel() const { return FColorCubePanel; }
    TExtColorSpectrumPanel *SpectrumPanel() const { return FSpectrumPanel; }
    TCustomColorSelector *ColorSelector() const { return FColorSelector; }

    int Columns = 1;
    TItemLayout Layout = ilCaptionRight;
    TColorItems *Colors() const { return FColors.get(); }
    void SetColors(TColorItems *Value) { FColors->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TNotifyEvent OnSelect;
    int ColorBoxWidth = 14;
    int ColorBoxHeight = 14;
    TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
    void SetColorSelectionStyle(TColorSelectionStyle Value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value);
    TOnDrawSelectedItem OnDrawSelectedColor;
    TItemAppearance *ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance *Value) { FItemAppearance->Assign(Value); }
    TDrawItemEvent OnDrawColor;
    TColorValueText ColorValueText = cvtNone;
    UnicodeString SelectedColorText()
    {
        UnicodeString t;
        GetSelectedColorText(t);
        return t;
    }
    // The type-ahead text of the list; cleared 500 ms after its first key.
    const UnicodeString &CurSearch() const { return FSearch.Text(); }

    // The 16 classic colours, appended.
    void AddDefaultColors();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void PlaceDropDownControl() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancel) override;
    void DropDownDestroyed() override;
    void WheelDown() override;
    void WheelUp() override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void SetComponentStyle(TQRVStyle AStyle) override;
    virtual void GetSelectedColorText(UnicodeString &Text);

protected:
    void CreateWnd() override;
    void WMKeyDown(TWMKey &Message) override;
    void WMNCPaint(TWMNCPaint &Message) override;

private:
    void CreateItemSelector();
    void CreateColorSelector();
    void CreateCubePanel();
    void CreateSpectrumPanel();
    // Hides the content controls other than Keep.
    void HideOthers(TControl *Keep);
    // Prepares the content of the current style for a showing.
    void PrepareContent();
    void LoadItemSelector();
    void FillItemSelector();
    void PaintSelectedColor(TCanvas *Canvas);
    void ItemSelectorSelect(TObject *Sender);
    void ColorSelectorSelect(TObject *Sender);
    void PanelSelect(TColor Color);
    // Moves the list's selection without closing the popup.
    void MoveTo(int V);
    // Runs Fn with InternalCall set.
    template <class Fn>
    void Internally(Fn &&F)
    {
        const bool was = FInternalCall;
        FInternalCall = true;
        F();
        FInternalCall = was;
    }

    TExtCustomItemSelector *FItemSelector = nullptr;
    TExtColorCubePanel *FColorCubePanel = nullptr;
    TExtColorSpectrumPanel *FSpectrumPanel = nullptr;
    TCustomColorSelector *FColorSelector = nullptr;
    std::unique_ptr<TColorItems> FColors;
    int FItemIndex = -1;
    TColorSelectionStyle FColorSelectionStyle = csList;
    TColor FSelectedColor = clNone;
    bool FShowText = true;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    bool FInternalCall = false;
    TSelectorSearch FSearch{this};

    int FOldItemIndex = -1;
    TColor FOldSelectedColor = clNone;
    bool FDesignTime = false;
};
