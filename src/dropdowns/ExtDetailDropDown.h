#pragma once
// A drop-down edit whose popup lists items in rows of a fixed height: a picture, a caption and
// under it a note of mini-HTML text. The edit holds the caption of the chosen item and, while
// the user types, completes the text with the first caption that starts with it.

#include "dropdowns/ExtItemSelector.h"

class TDetailItem : public TCaptionedPictureItem {
public:
    using TCaptionedPictureItem::TCaptionedPictureItem;
    void Assign(TPersistent *Source) override;
    UnicodeString Notes;
    TObject *ItemObject = nullptr;
    int Tag = 0;
};

class TDetailItems : public TTypedItems<TDetailItem> {
public:
    using TTypedItems::TTypedItems;
    // The first item whose caption equals AValue exactly, else -1.
    int IndexOf(const UnicodeString &AValue) const;
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
