#pragma once
// A drop-down edit whose popup lists items in rows of a fixed height: a picture, a caption and
// under it a note of mini-HTML text. The edit holds the caption of the chosen item and, while
// the user types, completes the text with the first caption that starts with it.

#include "dropdowns/ExtItemSelector.h"

class TDetailItem : public TCollectionItem {
public:
    explicit TDetailItem(TCollection *Collection);
    ~TDetailItem() override;
    void Assign(TPersistent *Source) override;
    const UnicodeString &Caption() const { return FCaption; }
    void SetCaption(const UnicodeString &Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Enabled = true;
    TPicture *Image() const { return FImage.get(); }
    void SetImage(TPicture *Value) { FImage->Assign(Value); }
    TRect Rect;
    UnicodeString Notes;
    TObject *ItemObject = nullptr;
    int Tag = 0;

private:
    void ItemChanged();
    UnicodeString FCaption;
    int FImageIndex = -1;
    std::unique_ptr<TPicture> FImage;
};

class TDetailItems : public TCollection {
public:
    explicit TDetailItems(TPersistent *AOwner) : TCollection(CollectionItemClass<TDetailItem>()), FMyOwner(AOwner) {}
    TDetailItem *Add() { return static_cast<TDetailItem *>(TCollection::Add()); }
    TDetailItem *Insert(int Index) { return static_cast<TDetailItem *>(TCollection::Insert(Index)); }
    TDetailItem *Items(int Index) const { return static_cast<TDetailItem *>(TCollection::Items(Index)); }
    // The first item whose caption equals AValue exactly, else -1.
    int IndexOf(const UnicodeString &AValue) const;
    TNotifyEvent OnChange;

protected:
    TPersistent *GetOwner() override { return FMyOwner; }

private:
    TPersistent *FMyOwner;
};

class TExtDetailDropDown : public TExtSelectorDropDown {
public:
    explicit TExtDetailDropDown(TComponent *AOwner);
    ~TExtDetailDropDown() override;

    TDetailItems *Items() const { return FItems.get(); }
    void SetItems(TDetailItems *Value) { FItems->Assign(Value); }
    // Chooses an item: its caption becomes the text, selected whole, and OnSelect fires; -1
    // empties the text.
    void SetItemIndex(int Value) override;
    int ItemCount() const override { return FItems->Count(); }
    int ItemHeight = 22;
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout Value) { FLayout = Value; }
    TFont *CaptionFont() const { return FCaptionFont.get(); }
    void SetCaptionFont(TFont *Value) { FCaptionFont->Assign(Value); }
    TFont *NotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(TFont *Value) { FNotesFont->Assign(Value); }
    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;
    bool MatchCase = false;
    bool MatchStart = false;

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoShowDropDown() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancel) override;
    void FormSizing() override;
    void WheelDown() override;
    void WheelUp() override;

protected:
    void FillItemSelector() override;
    void SelectorChosen() override;
    void WMKeyDown(TWMKey &Message) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyUp(Word &Key, TShiftState Shift) override;
    void Change() override;

private:
    void DrawDetailItem(TObject *Sender, TCanvas *Canvas, TRect R, int Index);
    void DetailItemSize(TObject *Sender, TSize &ASize);
    // The caption as the text, selected whole.
    void ShowCaption(int Index);
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TDetailItems> FItems;
    std::unique_ptr<TFont> FCaptionFont;
    std::unique_ptr<TFont> FNotesFont;
    bool FWorkMode = true;
    bool FItemChange = false;
    int FItemIdx = -1;
    int FItemSel = 0;
    bool FInChange = false;
};
