#pragma once
// The string grid's small windows and the bitmap work behind its focus frame: arrow windows that
// mark where a dragged row or column will land, the window of the focus frame, a bitmap with
// premultiplied alpha built from a picture and a grey mask, and the soft rounded mask itself
// (a rounded ring, blurred).

#include "platform/Controls.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Graphics.h"
#include "platform/System.h"
#include "platform/Types.h"

#include <array>
#include <memory>

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

// A borderless pop-up cut to the shape of a small arrow, filled with its colour.
class TArrowWindow : public TPanel {
public:
    TArrowWindow(TWinControl *AOwner, TArrowDirection ADir);

    TArrowDirection Dir;
    std::array<TPoint, 7> Arrow{};

    // The outline of an arrow of that direction, in window coordinates.
    static std::array<TPoint, 7> ArrowPoints(TArrowDirection ADir);

protected:
    void CreateParams(TCreateParams &Params) override;
    void CreateWnd() override;
    void Paint() override;
};

// A picture of dragged cells that follows the pointer: a borderless pop-up showing Picture.
class TDragImageWindow : public TCustomControl {
public:
    explicit TDragImageWindow(TWinControl *AOwner);
    ~TDragImageWindow() override;
    TBitmap *Picture() const { return FPicture.get(); }

protected:
    void CreateParams(TCreateParams &Params) override;
    void Paint() override;

private:
    std::unique_ptr<TBitmap> FPicture;
};

// The window of the grid's focus frame: a disabled, topmost tool window without a frame.
class TGridFocusWindow : public TCustomControl {
public:
    explicit TGridFocusWindow(TComponent *AOwner);

protected:
    void CreateParams(TCreateParams &Params) override;
};

// A 32-bit bitmap whose pixels hold blue, green and red premultiplied by their alpha, and an
// opacity with which the owner blends it as a whole.
class TGridAlphaMask : public TBitmap {
public:
    TGridAlphaMask();
    void Assign(TPersistent *Source) override;

    // The pixels of Bitmap (24-bit) with the alpha of the red channel of Mask; pixels that the
    // mask does not cover become transparent. Color does not enter the pixels.
    void MergeMask(TBitmap *Mask, TBitmap *Bitmap, TColor Color);

    Byte Opacity() const { return FOpacity; }
    void SetOpacity(Byte Value) { FOpacity = Value; }

private:
    Byte FOpacity = 255;
};

// Weights of the blur for the distances -10 .. 10; only -K .. K are used.
struct TGaussKernel {
    Byte K = 0;
    std::array<float, 21> Weights{};
    float Weight(int Distance) const { return Weights[std::size_t(Distance + 10)]; }
};

void BuildGaussKernel(TGaussKernel &Kernel, double Radius, int MaxData, int DataGranularity);
// Blurs the L + 1 pixels (4 bytes apart, the first three bytes of each are blurred) through Buffer,
// which holds at least (L + 1) * 4 bytes.
void BlurRow(Byte *Pixels, int L, const TGaussKernel &Kernel, Byte *Buffer);
// Blurs a 24-bit bitmap in place; only the outer 21 rows and columns are computed, the inner ones
// repeat row and column 15. Raises Exception for a bitmap that is not 24-bit.
void GaussBlur24(TBitmap *Bitmap, double Radius);
// A black 24-bit bitmap with a white rounded ring (PenWidth >= 1) or a filled white rounded
// rectangle (PenWidth < 1), inset by 2 + PenWidth div 2, blurred when Radius > 0.
void MakeRoundRectMask(TBitmap *Bitmap, int Width, int Height, int PenWidth, int CornerSize, double Radius);
