#pragma once
// The colour drop-down's three fixed pickers: a honeycomb of 127 colour cells, a colour spectrum
// under an eyedropper, and a palette of colour boxes. Each fires OnShouldHide when a mouse
// button is released over it.

#include "dropdowns/ExtCustomDropDown.h"
#include "dropdowns/ExtItemSelector.h"
#include "platform/ExtCtrlsPanels.h"

#include <array>
#include <memory>

class TExtCustomColorSelectorPanel : public TCustomControl {
public:
    explicit TExtCustomColorSelectorPanel(TComponent *AOwner) : TCustomControl(AOwner) {}
    TNotifyEvent OnShouldHide;
};

// ---- the honeycomb (ExtColorCubePanel.cpp) ----

class TExtColorCubePanel : public TExtCustomColorSelectorPanel {
public:
    struct TCubeCell {
        TPoint Center;
        TColor Color = clNone;
    };
    explicit TExtColorCubePanel(TComponent *AOwner);

    // Cells 1 to 127, row by row; other numbers mean no cell.
    const TCubeCell &CubeCell(int Index) const { return FCubeCells[Index - 1]; }
    TColor SelectedColor() const { return FSelectedColor; }
    // Selects the first cell of that colour, or none; no repaint.
    void SetSelectedColor(TColor Value) { SetSelection(Value, -1); }
    int SelectedIndex() const { return FSelectedIndex; }
    int HotIndex() const { return FHotIndex; }
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool Value);
    TNotifyEvent OnSelect;

    void InitCubeCells();
    void ResetCubePanel();
    void SetCubePanelSize();
    void SetSelection(TColor Color, int Index);
    int CellAtPos(int X, int Y) const;
    bool PointInCell(int Index, TPoint P) const;
    void DrawCells(TCanvas *Canvas);
    void DrawCell(TCanvas *Canvas, int Index);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    static void DrawHexagon(TCanvas *Canvas, TPoint Center, int A, int B);
    void DrawFrame(TCanvas *Canvas, int Index, TColor Outer);
    // Repaints one cell (the window's canvas draws only while it paints).
    void InvalidateCell(int Index);
    std::array<TCubeCell, 127> FCubeCells;
    TPoint FCubeSize{6, 3};
    TColor FSelectedColor = clNone;
    int FSelectedIndex = -1;
    int FHotIndex = -1;
    bool FShowRGBHint = false;
};

// ---- the spectrum (ExtColorSpectrumPanel.cpp) ----

class TExtColorSpectrumPanel : public TExtCustomColorSelectorPanel {
public:
    // The screen's cursor table entry of the eyedropper.
    static constexpr TCursor SpectrumCursor = 54;
    explicit TExtColorSpectrumPanel(TComponent *AOwner);
    ~TExtColorSpectrumPanel() override;

    TImage *SpectrumImage() const { return FSpectrumImage; }
    TColor HotColor() const { return FHotColor; }
    TColor SelectedColor() const { return FSelectedColor; }
    // Plain store: the next paint shows it.
    void SetSelectedColor(TColor Value) { FSelectedColor = Value; }
    const TRect &HotRect() const { return FHotRect; }
    const TRect &SelectedRect() const { return FSelectedRect; }
    TNotifyEvent OnSelect;

    void LayoutSpectrum();
    void SetSpectrumPanelSize();

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DrawSwatch(TCanvas *Canvas, const TRect &R, TColor Color);
    void SpectrumMouseMove(TObject *Sender, TShiftState Shift, int X, int Y);
    void SpectrumMouseDown(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void SpectrumMouseUp(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    TImage *FSpectrumImage = nullptr;
    TColor FHotColor = clNone;
    TColor FSelectedColor = 0xFFFFFF;
    TRect FHotRect;
    TRect FSelectedRect;
};

// ---- the palette (ExtColorBoxSelector.cpp) ----

enum TItemPos { ipStandAlone, ipTop, ipMiddle, ipBottom };

class TColorBoxItem : public TNotifyItem {
public:
    using TNotifyItem::TNotifyItem;
    void Assign(TPersistent *Source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Change(FColor, Value); }
    // A disabled box can be neither hot nor selected.
    bool Enabled = true;
    TRect Rect;
    TItemPos ColorBoxPos() const { return FColorBoxPos; }
    void SetColorBoxPos(TItemPos Value) { FColorBoxPos = Value; }

private:
    TColor FColor = clNone;
    TItemPos FColorBoxPos = ipStandAlone;
};

class TColorBoxItems : public TTypedItems<TColorBoxItem> {
public:
    using TTypedItems::TTypedItems;
};

class TColorBoxAppearance : public TPersistent {
public:
    void Assign(TPersistent *Source) override;
    TNotifyEvent OnChange;
    TColor BorderColor = 0xC5C5C5;
    TColor OuterBorderColorHot = 0x3694F2;
    TColor InnerBorderColorHot = 0x94E2FF;
    TColor OuterBorderColorSelected = 0x0000FF;
    TColor InnerBorderColorSelected = 0x94E2FF;
};

class TCustomColorSelector : public TExtCustomColorSelectorPanel {
public:
    explicit TCustomColorSelector(TComponent *AOwner);
    ~TCustomColorSelector() override;

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Index);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int Index);
    // Margin around the boxes.
    int OffSetX = 4, OffSetY = 4;
    TNotifyEvent OnItemSelect;
    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    int ColumnGap() const { return FColumnGap; }
    void SetColumnGap(int Value) { FColumnGap = Value; }
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value) { FColorBoxHeight = Value; }
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value) { FColorBoxWidth = Value; }
    TColorBoxAppearance *ColorBoxAppearance() const { return FColorBoxAppearance.get(); }
    void SetColorBoxAppearance(TColorBoxAppearance *Value) { FColorBoxAppearance->Assign(Value); }
    TColorBoxItems *Items() const { return FItems.get(); }
    void SetItems(TColorBoxItems *Value) { FItems->Assign(Value); }
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle Value);
    TColor SelectedColor() const { return FSelectedColor; }
    // Selects the first box of that colour (OnItemSelect fires), or clears the selection.
    void SetSelectedColor(TColor Value);

    virtual void DrawItem(int Index, TCanvas *Canvas);
    virtual void GetItemsRect(TRect &R);
    virtual void CalcItemSize(TSize &Size);
    virtual void ArrangeItems();
    virtual void InvalidateItem(int Index);
    void GetItemRect(int Index, TRect &R);
    int ItemAtPos(int X, int Y);
    void DrawItems(TCanvas *Canvas);
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    // The drop-down's navigation keys (33 to 40).
    void HandleKey(Word Key, bool EditorEnabled, bool DroppedDown);
    // The 60-colour palette: a row of stand-alone boxes over ten blocks of five shades.
    void FillPalette();

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;

private:
    int FItemIndex = -1;
    int FItemHot = -1;
    int FColumns = 10;
    int FColumnGap = 4;
    int FColorBoxHeight = 12;
    int FColorBoxWidth = 12;
    std::unique_ptr<TColorBoxAppearance> FColorBoxAppearance;
    std::unique_ptr<TColorBoxItems> FItems;
    TSelectionColorStyle FItemColorStyle = scCustom;
    TColor FSelectedColor = clNone;
};
