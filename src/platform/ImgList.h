#pragma once
// Image lists: pictures of one size kept side by side, drawn by index, enabled or in the
// classic disabled look (embossed in the button highlight and shadow colours).

#include "platform/Classes.h"
#include "platform/Graphics.h"

#include <QImage>

#include <memory>
#include <vector>

enum class TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum class TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent *AOwner);
    TCustomImageList(int AWidth, int AHeight);
    ~TCustomImageList() override;
    void Assign(TPersistent *Source) override;

    // Changing the size empties the list, as the classic list does.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Count() const { return static_cast<int>(FImages.size()); }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value) { FBkColor = Value; }
    bool Masked() const { return FMasked; }
    void SetMasked(bool Value) { FMasked = Value; }
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle Value) { FDrawingStyle = Value; }

    // Adds the images of Image (cut into Width-wide pieces); Mask (may be null) marks with white
    // the pixels that stay transparent. Returns the index of the first added image, -1 if none.
    int Add(TBitmap *Image, TBitmap *Mask);
    // As Add, the pixels of MaskColor being transparent (clDefault: the lower-left pixel's colour).
    int AddMasked(TBitmap *Image, TColor MaskColor);
    int AddIcon(TIcon *Image);
    // Adds the images of another list.
    void AddImages(TCustomImageList *Value);
    void Insert(int Index, TBitmap *Image, TBitmap *Mask);
    void Replace(int Index, TBitmap *Image, TBitmap *Mask);
    void Delete(int Index);
    void Move(int CurIndex, int NewIndex);
    void Clear();

    // Draws image Index at (X, Y); a disabled image is drawn embossed. An index out of range
    // draws nothing.
    void Draw(TCanvas *Canvas, int X, int Y, int Index, bool Enabled = true);
    void Draw(TCanvas *Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle, TImageType AImageType,
              bool Enabled = true);
    // Copies image Index onto Image (resized to the list's size, background BkColor or white).
    bool GetBitmap(int Index, TBitmap *Image);
    bool GetIcon(int Index, TIcon *Image);
    // The image with its transparency as alpha (null image for a bad index).
    QImage ImageAt(int Index) const;

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    std::vector<QImage> Split(TBitmap *Image, TBitmap *Mask, bool UseColor, TColor MaskColor) const;
    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = clNone;
    bool FMasked = true;
    TDrawingStyle FDrawingStyle = TDrawingStyle::dsNormal;
    std::vector<QImage> FImages;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};

// The image-list calls of the device interface.
using HIMAGELIST = TCustomImageList *;
constexpr unsigned ILD_NORMAL = 0x0000;
constexpr unsigned ILD_TRANSPARENT = 0x0001;
constexpr unsigned ILD_MASK = 0x0010;
constexpr unsigned ILD_IMAGE = 0x0020;
bool ImageList_Draw(HIMAGELIST List, int Index, HDC DC, int X, int Y, unsigned Style);
bool ImageList_GetIconSize(HIMAGELIST List, int &CX, int &CY);
int ImageList_GetImageCount(HIMAGELIST List);
