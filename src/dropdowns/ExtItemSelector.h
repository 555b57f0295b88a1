#pragma once
// The scrolling grid of items that the detail, colour and image drop-downs show in their popup.
// Each item has a mini-HTML caption and a picture (an image of its own or of an image list, or
// a filled colour box); the items lie in equal cells, Columns to a row. The container
// (TExtCustomItemSelector) owns the items and settings and scrolls the panel
// (TCustomItemSelector) that lays them out, paints them and finds them under the pointer. The
// drop-downs drive the keyboard through the container's Select/Hot/Lookup operations.

#include "controls/ExtStyleIF.h"
#include "dropdowns/ExtCustomDropDown.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"

#include <functional>
#include <memory>
#include <utility>

// ---- items ----

// A collection whose items report a change of what they show through OnChange; adding,
// inserting and deleting items fire nothing.
class TNotifyItems : public TCollection {
public:
    TNotifyItems(TPersistent *AOwner, TCollectionItemClass ItemClass)
        : TCollection(std::move(ItemClass)), FMyOwner(AOwner)
    {
    }
    TNotifyEvent OnChange;
    void ItemChanged()
    {
        if (OnChange)
            OnChange(this);
    }

protected:
    TPersistent *GetOwner() override { return FMyOwner; }

private:
    TPersistent *FMyOwner;
};

template <class T>
class TTypedItems : public TNotifyItems {
public:
    explicit TTypedItems(TPersistent *AOwner) : TNotifyItems(AOwner, CollectionItemClass<T>()) {}
    T *Add() { return static_cast<T *>(TCollection::Add()); }
    T *Insert(int Index) { return static_cast<T *>(TCollection::Insert(Index)); }
    T *Items(int Index) const { return static_cast<T *>(TCollection::Items(Index)); }
};

// An item of a notifying collection: ItemChanged tells the collection.
class TNotifyItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;

protected:
    void ItemChanged()
    {
        if (auto *items = dynamic_cast<TNotifyItems *>(Collection()))
            items->ItemChanged();
    }
    // Stores a changed value and tells the collection.
    template <class V>
    void Change(V &Field, const V &Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        ItemChanged();
    }
};

// An item with a caption and a picture: its own, or an entry of an image list.
class TCaptionedPictureItem : public TNotifyItem {
public:
    explicit TCaptionedPictureItem(TCollection *Collection);
    ~TCaptionedPictureItem() override;
    const UnicodeString &Caption() const { return FCaption; }
    void SetCaption(const UnicodeString &Value) { Change(FCaption, Value); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { Change(FImageIndex, Value); }
    TPicture *Image() const { return FImage.get(); }
    void SetImage(TPicture *Value) { FImage->Assign(Value); }
    // A disabled item can be neither hot nor selected.
    bool Enabled = true;
    // The cell given by the last layout.
    TRect Rect;

protected:
    UnicodeString FCaption;
    int FImageIndex = -1;
    std::unique_ptr<TPicture> FImage;
};

class TSelectorItem : public TCaptionedPictureItem {
public:
    using TCaptionedPictureItem::TCaptionedPictureItem;
    void Assign(TPersistent *Source) override;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Change(FColor, Value); }
    UnicodeString Hint;

private:
    TColor FColor = clNone;
};

class TSelectorItems : public TTypedItems<TSelectorItem> {
public:
    using TTypedItems::TTypedItems;
};

// ---- appearance ----

// The highlight colours of hot and selected items and the item font. The colours are plain
// fields; OnChange is never fired by the appearance itself.
class TItemAppearance : public TPersistent {
public:
    explicit TItemAppearance(TPersistent *AOwner = nullptr);
    ~TItemAppearance() override;
    void Assign(TPersistent *Source) override;

    TPersistent *Owner = nullptr;
    TNotifyEvent OnChange;
    TColor ColorMirrorHotTo = clNone;
    TColor BorderColor = clNone;
    TColor ColorMirrorHot = clNone;
    TColor ColorSelectedTo = clNone;
    TColor ColorSelected = clNone;
    TColor EdgeColor = clNone;
    TColor ColorHotTo = clNone;
    TColor BorderColorBottom = clNone;
    TColor ColorHot = clNone;
    TColor BorderColorTop = clNone;
    TColor ColorMirrorSelectedTo = clNone;
    TColor ColorMirrorSelected = clNone;
    TColor ColorSelectedText = 0;
    TColor ColorHotText = 0;
    TColor BorderColorHot = clNone;
    TColor BorderColorSelected = clNone;

    TSelectionColorStyle ColorStyle() const { return FColorStyle; }
    // A named style loads its twelve colours; scCustom loads nothing.
    void SetColorStyle(TSelectionColorStyle Value);
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value) { FFont->Assign(Value); }

private:
    TSelectionColorStyle FColorStyle = scCustom;
    std::unique_ptr<TFont> FFont;
};

// The hot and selected colours of a component style; nothing for a nil appearance, and
// tsCustom writes nothing.
void SetItemAppearanceStyle(TItemAppearance *Appearance, TQRVStyle Style);

// ---- the selector ----

enum TSelectorType { stImage, stColor };

using TDrawItemEvent = std::function<void(TObject *Sender, TCanvas *Canvas, TRect R, int Index)>;
// Replaces the painting of a drop-down's chosen item (or of its rows).
using TOnDrawSelectedItem = std::function<void(TObject *Sender, TCanvas *Canvas, TRect R)>;
using TItemSizeEvent = std::function<void(TObject *Sender, TSize &ASize)>;

class TCustomItemSelector;

class TExtCustomItemSelector : public TScrollingWinControl {
public:
    explicit TExtCustomItemSelector(TComponent *AOwner);
    ~TExtCustomItemSelector() override;

    TSelectorItems *Items() const { return FItems.get(); }
    void SetItems(TSelectorItems *Value) { FItems->Assign(Value); }
    int Columns() const { return FColumns; }
    // 0 and negative values are ignored.
    void SetColumns(int Value);
    int GetItemIndex() const;
    void SetItemIndex(int Value);
    int ItemIndex() const { return GetItemIndex(); }
    int GetItemHot() const;
    int ItemHot() const { return GetItemHot(); }
    TSelectorType SelectorType() const { return FSelectorType; }
    void SetSelectorType(TSelectorType Value);
    TItemLayout ItemLayout() const { return FItemLayout; }
    // Only stores: the caller lays the panel out again.
    void SetItemLayout(TItemLayout Value) { FItemLayout = Value; }
    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *Value);
    TItemAppearance *ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance *Value) { FItemAppearance->Assign(Value); }
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value);
    TCustomItemSelector *ItemSelectorPanel() const { return FPanel; }

    TNotifyEvent OnItemSelect;
    TDrawItemEvent OnDrawItem;
    TItemSizeEvent OnItemSize;

    void UpdateSelectorPanel();
    void ScrollItemInView(int Index);
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const UnicodeString &S);
    int GetVisibleItemCount();
    // The panel's size; 100 x 50 without a panel.
    void GetPanelSize(TSize &Size);

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void WMVScroll(TWMScroll &Message) override;

private:
    void CreateSelectorPanel();
    void PanelItemSelect(TObject *Sender);
    std::unique_ptr<TSelectorItems> FItems;
    TSelectorType FSelectorType = stImage;
    TItemLayout FItemLayout = ilCaptionRight;
    int FColumns = 1;
    int FColorBoxWidth = 14;
    int FColorBoxHeight = 14;
    TCustomImageList *FImages = nullptr;
    TCustomItemSelector *FPanel = nullptr;
    std::unique_ptr<TItemAppearance> FItemAppearance;
};

class TCustomItemSelector : public TCustomControl {
public:
    // Raises "Invalid parent" unless AOwner is a TExtCustomItemSelector.
    explicit TCustomItemSelector(TComponent *AOwner);

    int ItemIndex() const { return FItemIndex; }
    // A disabled item, or an index at or past the count, is refused. Selecting fires
    // OnItemSelect, also when the item was selected already.
    void SetItemIndex(int Value);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int Index);
    TExtCustomItemSelector *ExtItemSelector() const { return FExtItemSelector; }
    TNotifyEvent OnItemSelect;

    int Columns() const { return FExtItemSelector->Columns(); }
    TSelectorItems *Items() const { return FExtItemSelector->Items(); }
    TSelectorType SelectorType() const { return FExtItemSelector->SelectorType(); }
    TItemLayout ItemLayout() const { return FExtItemSelector->ItemLayout(); }
    TCustomImageList *Images() const { return FExtItemSelector->Images(); }
    int ColorBoxHeight() const { return FExtItemSelector->ColorBoxHeight(); }
    int ColorBoxWidth() const { return FExtItemSelector->ColorBoxWidth(); }

    // Margin around the cells, inner margin of a cell, and the space between picture and caption.
    int OffSetX = 2, OffSetY = 2;
    int ItemOffSetX = 4, ItemOffSetY = 4;
    int CaptionGap = 4;

    virtual void DrawItem(int Index, TCanvas *Canvas);
    virtual void GetItemsRect(TRect &R);
    virtual void CalcItemSize(TSize &Size);
    virtual void InvalidateItem(int Index);
    virtual void ArrangeItems();
    void GetItemRect(int Index, TRect &R);
    int ItemAtPos(int X, int Y);
    void DrawItems(TCanvas *Canvas);
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const UnicodeString &S);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;

private:
    // The size of the item's picture: the colour box, its own image or the image list's size.
    TSize PictureSize(TSelectorItem *Item);
    int FItemIndex = -1;
    int FItemHot = -1;
    TExtCustomItemSelector *FExtItemSelector = nullptr;
};

// The type-ahead of a drop-down's selector: keys typed within 500 ms of the first one of a search
// form its text; the timer is not restarted by later keys.
class TSelectorSearch {
public:
    explicit TSelectorSearch(TComponent *AOwner);
    ~TSelectorSearch();
    TSelectorSearch(const TSelectorSearch &) = delete;
    TSelectorSearch &operator=(const TSelectorSearch &) = delete;
    // Appends the key's code as a character and answers the search text.
    const UnicodeString &Add(Word Key);
    const UnicodeString &Text() const { return FText; }
    TTimer *KeyTimer() const { return FKeyTimer; }

private:
    TTimer *FKeyTimer;
    UnicodeString FText;
};

// ---- drop-downs whose popup is an item selector ----

// Sizes Edit's popup around its selector: the selector takes its panel's size where the
// drop-down sets none, the base sizing follows, and a vertical scroll bar widens the popup.
void FitPopupToSelector(TExtCustomDropDown *Edit, TExtCustomItemSelector *Selector);

// What the detail and image drop-downs share: the selector in the popup, created once in
// CreateDropDownForm, its item look, the type-ahead and the moves the drop-down makes itself
// (InternalCall set, so that the selection event does not close the popup).
class TExtSelectorDropDown : public TExtCustomDropDown {
public:
    explicit TExtSelectorDropDown(TComponent *AOwner);
    ~TExtSelectorDropDown() override;

    TExtCustomItemSelector *ItemSelector() const { return FItemSelector; }
    TItemAppearance *ItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance *Value) { FItemAppearance->Assign(Value); }
    const UnicodeString &CurSearch() const { return FSearch.Text(); }
    int ItemIndex() const { return FItemIndex; }
    virtual void SetItemIndex(int Value) = 0;
    virtual int ItemCount() const = 0;
    // Through SetItemIndex; nothing without items.
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();

    void DropDownDestroyed() override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void SetComponentStyle(TQRVStyle AStyle) override;

protected:
    // Creates the selector once (image items, at 0, 0, 150 high); false when it existed.
    bool CreateSelector();
    // The selector of the popup, coloured and laid out, as its content.
    void ShowSelector();
    // Columns, images, layout, colour and look, then the items, then the chosen item.
    void LoadItemSelector(int Columns, TItemLayout Layout);
    virtual void FillItemSelector() = 0;
    // The selector's items made anew from the drop-down's own: caption, picture and image index;
    // Extra(selector item, own item) adds what a kind of drop-down keeps beyond that.
    template <class TOwnItems, class Fn>
    void FillSelectorFrom(TOwnItems *Own, Fn &&Extra)
    {
        TSelectorItems *items = FItemSelector->Items();
        items->Clear();
        for (int i = 0; i < Own->Count(); ++i) {
            auto *d = Own->Items(i);
            TSelectorItem *item = items->Add();
            item->SetCaption(d->Caption());
            item->SetImage(d->Image());
            item->SetImageIndex(d->ImageIndex());
            Extra(item, d);
        }
    }
    // Moves the popup's selection to V (below the selector's count) without closing it.
    void MoveTo(int V);
    // Page Up and Page Down: the selector reloaded when its count differs, then a move by the
    // visible rows.
    void PageMove(bool Up, TItemLayout Layout, int Columns);
    void AddSearchKey(Word Key);
    template <class Fn>
    void Internally(Fn &&F)
    {
        const bool was = FInternalCall;
        FInternalCall = true;
        F();
        FInternalCall = was;
    }
    void ItemSelectorSelect(TObject *Sender);
    // The selection of the selector taken over; a click closes the popup.
    virtual void SelectorChosen() { SetItemIndex(FItemSelector->ItemIndex()); }

    TExtCustomItemSelector *FItemSelector = nullptr;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    bool FInternalCall = false;
    TSelectorSearch FSearch{this};
    int FOldItemIndex = -1;
    int FItemIndex = -1;
};
