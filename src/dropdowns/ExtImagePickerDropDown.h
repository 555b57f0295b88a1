#pragma once
// A drop-down for choosing one image out of a set: the popup shows the images in a grid of
// Columns columns, the closed edit shows the chosen image centred instead of text. Items come
// from an image list, from the picture files matching a path pattern, or one by one.

#include "dropdowns/ExtItemSelector.h"

class TImageItem : public TCaptionedPictureItem {
public:
    using TCaptionedPictureItem::TCaptionedPictureItem;
    void Assign(TPersistent *Source) override;
    UnicodeString Hint;

private:
    friend class TExtImagePickerDropDown;
};

class TImageItems : public TTypedItems<TImageItem> {
public:
    using TTypedItems::TTypedItems;
};

class TExtImagePickerDropDown : public TExtSelectorDropDown {
public:
    explicit TExtImagePickerDropDown(TComponent *AOwner);
    ~TExtImagePickerDropDown() override;

    int Columns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    TImageItems *Items() const { return FItems.get(); }
    void SetItems(TImageItems *Value) { FItems->Assign(Value); }
    // Any negative value means none; the edit's OnChange fires before OnSelect.
    void SetItemIndex(int Value) override;
    int ItemCount() const override { return FItems->Count(); }
    TItemLayout Layout() const { return FLayout; }
    void SetLayout(TItemLayout Value) { FLayout = Value; }
    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;
    TDrawItemEvent OnDrawItem;

    // The image list's image index of the chosen item, -1 for none.
    int GetImageIndex() const;
    // Chooses the first item showing that image of the list, or none.
    void SetImageIndex(int Value);
    // One item per image of the list, appended.
    void AddImagesFromImageList();
    // One item per entry the pattern matches (folders too), loaded when it is a picture of a
    // known kind; one that is not stays without picture or caption.
    void AddImagesFromFolder(const UnicodeString &AFolder, bool SetImageCaption);

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancel) override;
    void WheelDown() override;
    void WheelUp() override;

protected:
    void FillItemSelector() override;
    void WMKeyDown(TWMKey &Message) override;
    void WMNCPaint(TWMNCPaint &Message) override;

private:
    void AddImageFile(const UnicodeString &FileName, bool SetImageCaption);
    void PaintSelectedImage(TCanvas *Canvas);
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    std::unique_ptr<TImageItems> FItems;
};
