// Image lists.
#include "platform/ImgList.h"

#include <QImage>
#include <QPainter>

TCustomImageList::TCustomImageList(TComponent *AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(int AWidth, int AHeight)
    : TComponent(nullptr), FWidth(std::max(AWidth, 1)), FHeight(std::max(AHeight, 1))
{
}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Assign(TPersistent *Source)
{
    if (auto *l = dynamic_cast<TCustomImageList *>(Source)) {
        FWidth = l->FWidth;
        FHeight = l->FHeight;
        FBkColor = l->FBkColor;
        FMasked = l->FMasked;
        FDrawingStyle = l->FDrawingStyle;
        FImages = l->FImages;
        Change();
        return;
    }
    TComponent::Assign(Source);
}

void TCustomImageList::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomImageList::SetWidth(int Value)
{
    Value = std::max(Value, 1);
    if (Value != FWidth) {
        FWidth = Value;
        FImages.clear();
        Change();
    }
}

void TCustomImageList::SetHeight(int Value)
{
    Value = std::max(Value, 1);
    if (Value != FHeight) {
        FHeight = Value;
        FImages.clear();
        Change();
    }
}

std::vector<QImage> TCustomImageList::Split(TBitmap *Image, TBitmap *Mask, bool UseColor, TColor MaskColor) const
{
    std::vector<QImage> out;
    if (!Image || Image->Empty())
        return out;
    const QImage src = Image->ToImage().convertToFormat(QImage::Format_ARGB32);
    const QImage mask = Mask && !Mask->Empty() ? Mask->ToImage().convertToFormat(QImage::Format_RGB32) : QImage();
    QRgb key = 0;
    if (UseColor) {
        const TColor c = MaskColor == clDefault ? Image->TransparentColor() : MaskColor;
        key = ColorToQColor(c).rgb() & 0x00FFFFFFu;
    }
    // A picture narrower than the list still gives one image.
    const int count = std::max(1, src.width() / FWidth);
    for (int i = 0; i < count; ++i) {
        QImage piece(FWidth, FHeight, QImage::Format_ARGB32);
        piece.fill(Qt::transparent);
        for (int y = 0; y < FHeight && y < src.height(); ++y)
            for (int x = 0; x < FWidth && i * FWidth + x < src.width(); ++x) {
                const int sx = i * FWidth + x;
                QRgb p = src.pixel(sx, y) | 0xFF000000u;
                bool transparent = false;
                if (UseColor)
                    transparent = (p & 0x00FFFFFFu) == key;
                else if (!mask.isNull() && sx < mask.width() && y < mask.height())
                    transparent = (mask.pixel(sx, y) & 0x00FFFFFFu) != 0; // white (set) bits are transparent
                piece.setPixel(x, y, transparent ? 0u : p);
            }
        out.push_back(piece.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    return out;
}

int TCustomImageList::Add(TBitmap *Image, TBitmap *Mask)
{
    std::vector<QImage> pieces = Split(Image, Mask, false, clNone);
    if (pieces.empty())
        return -1;
    const int first = Count();
    FImages.insert(FImages.end(), pieces.begin(), pieces.end());
    Change();
    return first;
}

int TCustomImageList::AddMasked(TBitmap *Image, TColor MaskColor)
{
    std::vector<QImage> pieces = Split(Image, nullptr, true, MaskColor);
    if (pieces.empty())
        return -1;
    const int first = Count();
    FImages.insert(FImages.end(), pieces.begin(), pieces.end());
    Change();
    return first;
}

int TCustomImageList::AddIcon(TIcon *Image)
{
    if (!Image || Image->Empty())
        return -1;
    const QImage img = Image->ToImage().scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    FImages.push_back(img.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    Change();
    return Count() - 1;
}

void TCustomImageList::AddImages(TCustomImageList *Value)
{
    if (!Value || Value == this)
        return;
    for (const QImage &img : Value->FImages)
        FImages.push_back(img.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    Change();
}

void TCustomImageList::Insert(int Index, TBitmap *Image, TBitmap *Mask)
{
    if (Index < 0 || Index > Count())
        throw EInvalidOperation(QStringLiteral("Invalid image list index %1").arg(Index));
    std::vector<QImage> pieces = Split(Image, Mask, false, clNone);
    FImages.insert(FImages.begin() + Index, pieces.begin(), pieces.end());
    Change();
}

void TCustomImageList::Replace(int Index, TBitmap *Image, TBitmap *Mask)
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(QStringLiteral("Invalid image list index %1").arg(Index));
    std::vector<QImage> pieces = Split(Image, Mask, false, clNone);
    if (!pieces.empty()) {
        FImages[static_cast<std::size_t>(Index)] = pieces.front();
        Change();
    }
}

void TCustomImageList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throw EInvalidOperation(QStringLiteral("Invalid image list index %1").arg(Index));
    FImages.erase(FImages.begin() + Index);
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex < 0 || CurIndex >= Count() || NewIndex < 0 || NewIndex >= Count())
        throw EInvalidOperation(QStringLiteral("Invalid image list index"));
    if (CurIndex == NewIndex)
        return;
    QImage img = FImages[static_cast<std::size_t>(CurIndex)];
    FImages.erase(FImages.begin() + CurIndex);
    FImages.insert(FImages.begin() + NewIndex, img);
    Change();
}

void TCustomImageList::Clear()
{
    if (FImages.empty())
        return;
    FImages.clear();
    Change();
}

QImage TCustomImageList::ImageAt(int Index) const
{
    if (Index < 0 || Index >= Count())
        return QImage();
    return FImages[static_cast<std::size_t>(Index)];
}

namespace {

// The classic disabled look: the picture's dark shape in the highlight colour one pixel down
// and right, and over it the same shape in the shadow colour.
QImage DisabledImage(const QImage &img)
{
    const QImage src = img.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const QRgb highlight = ColorToQColor(clBtnHighlight).rgb();
    const QRgb shadow = ColorToQColor(clBtnShadow).rgb();
    auto inShape = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= src.width() || y >= src.height())
            return false;
        const QRgb p = src.pixel(x, y);
        return qAlpha(p) >= 128 && qGray(p) < 192;
    };
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            if (inShape(x, y))
                out.setPixel(x, y, shadow);
            else if (inShape(x - 1, y - 1))
                out.setPixel(x, y, highlight);
        }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

void TCustomImageList::Draw(TCanvas *Canvas, int X, int Y, int Index, bool Enabled)
{
    Draw(Canvas, X, Y, Index, FDrawingStyle, TImageType::itImage, Enabled);
}

void TCustomImageList::Draw(TCanvas *Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled)
{
    if (!Canvas || Index < 0 || Index >= Count())
        return;
    QImage img = FImages[static_cast<std::size_t>(Index)];
    if (AImageType == TImageType::itMask) {
        QImage m(img.size(), QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                m.setPixel(x, y, qAlpha(img.pixel(x, y)) ? 0xFF000000u : 0xFFFFFFFFu);
        Canvas->BlitImage(Bounds(X, Y, FWidth, FHeight), m, cmSrcCopy);
        return;
    }
    if (!Enabled)
        img = DisabledImage(img);
    if (ADrawingStyle == TDrawingStyle::dsNormal && FBkColor != clNone) {
        QImage back(img.size(), QImage::Format_RGB32);
        back.fill(ColorToQColor(FBkColor));
        QPainter p(&back);
        p.drawImage(0, 0, img);
        p.end();
        img = back;
    } else if (ADrawingStyle == TDrawingStyle::dsSelected || ADrawingStyle == TDrawingStyle::dsFocus) {
        // Selected images are blended half with the highlight colour.
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        QColor h = ColorToQColor(clHighlight);
        h.setAlpha(ADrawingStyle == TDrawingStyle::dsSelected ? 128 : 64);
        p.fillRect(img.rect(), h);
    }
    Canvas->DrawAlphaImage(Bounds(X, Y, FWidth, FHeight), img);
}

bool TCustomImageList::GetBitmap(int Index, TBitmap *Image)
{
    if (!Image || Index < 0 || Index >= Count())
        return false;
    QImage back(FWidth, FHeight, QImage::Format_RGB32);
    back.fill(ColorToQColor(FBkColor == clNone ? clWhite : FBkColor));
    QPainter p(&back);
    p.drawImage(0, 0, FImages[static_cast<std::size_t>(Index)]);
    p.end();
    Image->SetImage(back);
    return true;
}

bool TCustomImageList::GetIcon(int Index, TIcon *Image)
{
    if (!Image || Index < 0 || Index >= Count())
        return false;
    Image->SetImage(FImages[static_cast<std::size_t>(Index)]);
    return true;
}

bool ImageList_Draw(HIMAGELIST List, int Index, HDC DC, int X, int Y, unsigned Style)
{
    if (!List || !DC || Index < 0 || Index >= List->Count())
        return false;
    if (Style & ILD_MASK)
        List->Draw(DC, X, Y, Index, TDrawingStyle::dsNormal, TImageType::itMask);
    else
        List->Draw(DC, X, Y, Index, (Style & ILD_TRANSPARENT) ? TDrawingStyle::dsTransparent : TDrawingStyle::dsNormal,
                   TImageType::itImage);
    return true;
}

bool ImageList_GetIconSize(HIMAGELIST List, int &CX, int &CY)
{
    if (!List)
        return false;
    CX = List->Width();
    CY = List->Height();
    return true;
}

int ImageList_GetImageCount(HIMAGELIST List)
{
    return List ? List->Count() : 0;
}
