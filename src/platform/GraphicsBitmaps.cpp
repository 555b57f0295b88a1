// Bitmaps, icons and pictures, and the blits that put them on a canvas.
#include "platform/GraphicsPrivate.h"
#include "platform/FileUtils.h"
#include "platform/Jpeg.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <cmath>

using namespace GraphicsImpl;

QImage GraphicsImpl::ReadImageAs(QIODevice &Device, const char *Format, QString *Error)
{
    const qint64 start = Device.pos();
    QImageReader reader(&Device, Format);
    reader.setAutoDetectImageFormat(false);
    QImage img = reader.read();
    if (!img.isNull())
        return img;
    if (!Device.seek(start)) {
        if (Error)
            *Error = reader.errorString();
        return img;
    }
    // Data of another format than its name says: let Qt find out what it is.
    QImageReader guess(&Device, Format);
    img = guess.read();
    if (img.isNull() && Error)
        *Error = guess.errorString();
    return img;
}

namespace {

QRect NormalRect(const TRect &R)
{
    return QRect(std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::abs(R.Right - R.Left),
                 std::abs(R.Bottom - R.Top));
}

QImage NewImage(int w, int h)
{
    QImage img(std::max(w, 0), std::max(h, 0), QImage::Format_RGB32);
    // A fixed 96 dpi so that nothing measured on a bitmap depends on the screen.
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.fill(Qt::white);
    return img;
}

// The pattern colour of a blit's raster operation, as a Qt pixel value.
std::uint32_t RefToQRgbPattern(const TBrush &b)
{
    return ColorToQColor(b.Color()).rgb() & 0x00FFFFFFu;
}

} // namespace

// --- blits on the canvas --------------------------------------------------------------------------

void TCanvas::BlitImage(const TRect &Dest, const QImage &Image, DWORD Rop)
{
    Changing();
    QPainter *p = Prepare();
    const QRect d = NormalRect(Dest);
    if (p && !d.isEmpty() && !Image.isNull()) {
        QImage src = ToDrawable(Image).convertToFormat(QImage::Format_RGB32);
        const bool mirrorX = Dest.Right < Dest.Left, mirrorY = Dest.Bottom < Dest.Top;
        if (mirrorX || mirrorY)
            src = src.mirrored(mirrorX, mirrorY);
        QImage *target = RasterImage();
        if (Rop == cmSrcCopy || !target) {
            p->setCompositionMode(QPainter::CompositionMode_Source);
            p->drawImage(QRectF(d), src);
        } else {
            const QRect dev = MappingTransform(*FDC).mapRect(d);
            const QImage scaled = src.scaled(dev.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
            QRegion area(dev.intersected(target->rect()));
            QRegion clip;
            if (FDC->Effective(clip))
                area &= clip;
            const std::uint32_t pat = RefToQRgbPattern(*FBrush);
            for (const QRect &band : area)
                for (int y = band.top(); y <= band.bottom(); ++y) {
                    auto *dl = reinterpret_cast<QRgb *>(target->scanLine(y));
                    const auto *sl = reinterpret_cast<const QRgb *>(scaled.constScanLine(y - dev.top()));
                    for (int x = band.left(); x <= band.right(); ++x)
                        dl[x] = 0xFF000000u | Rop3(Rop, pat, sl[x - dev.left()], dl[x]);
                }
        }
    }
    Changed();
}

void TCanvas::DrawAlphaImage(const TRect &Dest, const QImage &Image)
{
    Changing();
    QPainter *p = Prepare();
    const QRect d = NormalRect(Dest);
    if (p && !d.isEmpty() && !Image.isNull()) {
        QImage src = Image;
        const bool mirrorX = Dest.Right < Dest.Left, mirrorY = Dest.Bottom < Dest.Top;
        if (mirrorX || mirrorY)
            src = src.mirrored(mirrorX, mirrorY);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->drawImage(QRectF(d), src);
    }
    Changed();
}

void TCanvas::Draw(int X, int Y, TGraphic *Graphic)
{
    if (Graphic && !Graphic->Empty())
        Graphic->Draw(this, Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect &R, TGraphic *Graphic)
{
    if (Graphic && !Graphic->Empty())
        Graphic->Draw(this, R);
}

void TCanvas::CopyRect(const TRect &Dest, TCanvas *Canvas, const TRect &Source)
{
    if (!Canvas)
        return;
    Canvas->Prepare();
    QImage *src = Canvas->RasterImage();
    if (!src)
        return;
    const QRect s = MappingTransform(*Canvas->FDC).mapRect(NormalRect(Source));
    BlitImage(Dest, src->copy(s), FCopyMode);
}

void TCanvas::BrushCopy(const TRect &Dest, TBitmap *Bitmap, const TRect &Source, TColor Color)
{
    if (!Bitmap || Bitmap->Empty())
        return;
    QImage part = Bitmap->ToImage().copy(NormalRect(Source)).convertToFormat(QImage::Format_RGB32);
    const QRgb key = ColorToQColor(Color).rgb() & 0x00FFFFFFu;
    const QRgb fill = ColorToQColor(FBrush->Color()).rgb();
    for (int y = 0; y < part.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((line[x] & 0x00FFFFFFu) == key)
                line[x] = fill;
    }
    BlitImage(Dest, part, cmSrcCopy);
}

// --- TGraphic -------------------------------------------------------------------------------------

void TGraphic::SetTransparent(bool Value)
{
    if (FTransparent != Value) {
        FTransparent = Value;
        Changed();
    }
}

void TGraphic::Changed()
{
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TGraphic::LoadFromFile(const UnicodeString &FileName)
{
    LoadFromBytes(ReadFileBytes(FileName));
}

void TGraphic::SaveToFile(const UnicodeString &FileName)
{
    WriteFileAtomic(FileName, SaveToBytes());
}

void TGraphic::LoadFromStream(TStream *Stream)
{
    if (!Stream)
        return;
    QByteArray data;
    char chunk[65536];
    for (;;) {
        const int n = Stream->Read(chunk, static_cast<int>(sizeof chunk));
        if (n <= 0)
            break;
        data.append(chunk, n);
    }
    LoadFromBytes(data);
}

void TGraphic::SaveToStream(TStream *Stream)
{
    if (!Stream)
        return;
    const QByteArray data = SaveToBytes();
    Stream->WriteBuffer(data.constData(), static_cast<int>(data.size()));
}

void TGraphic::LoadFromBytes(const QByteArray &Data)
{
    QByteArray copy = Data;
    QBuffer b(&copy);
    b.open(QIODevice::ReadOnly);
    LoadFromStream(b);
}

QByteArray TGraphic::SaveToBytes()
{
    QByteArray data;
    QBuffer b(&data);
    b.open(QIODevice::WriteOnly);
    SaveToStream(b);
    return data;
}

// --- TBitmap --------------------------------------------------------------------------------------

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap *Owner) : FOwner(Owner) {}
    ~TBitmapCanvas() override { ReleaseOwnPainter(); }
    void Close() { ReleaseOwnPainter(); }

protected:
    QPainter *CreatePainter() override
    {
        QImage &img = *FOwner->FImage;
        // Another painter (a memory device context the bitmap is selected into) may hold it.
        if (img.isNull() || img.width() == 0 || img.height() == 0 || img.paintingActive())
            return nullptr;
        return new QPainter(&img);
    }
    QImage *RasterImage() override { return FOwner->FImage.get(); }

private:
    TBitmap *FOwner;
};

TBitmap::TBitmap() : FImage(std::make_unique<QImage>(NewImage(0, 0))) {}

TBitmap::TBitmap(int AWidth, int AHeight) : FImage(std::make_unique<QImage>(NewImage(AWidth, AHeight))) {}

TBitmap::~TBitmap()
{
    EndCanvasPainting();
    ForgetSelectedBitmap(this);
}

void TBitmap::EndCanvasPainting()
{
    if (FCanvas)
        FCanvas->Close();
}

void TBitmap::Assign(TPersistent *Source)
{
    if (!Source) {
        SetImage(NewImage(0, 0));
        return;
    }
    if (auto *b = dynamic_cast<TBitmap *>(Source)) {
        if (b == this)
            return;
        const QImage copy = b->ToImage();
        FPixelFormat = b->FPixelFormat;
        FTransparentColor = b->FTransparentColor;
        FTransparentMode = b->FTransparentMode;
        FTransparent = b->FTransparent;
        SetImage(copy);
        return;
    }
    if (auto *g = dynamic_cast<TGraphic *>(Source)) {
        // Pictures of other kinds turn into their pixels on the bitmap's white background.
        QImage img = NewImage(g->Width(), g->Height());
        if (!g->Empty()) {
            QPainter p(&img);
            p.drawImage(0, 0, g->ToImage());
        }
        SetImage(img);
        return;
    }
    TGraphic::Assign(Source);
}

int TBitmap::Width() const { return FImage->width(); }
int TBitmap::Height() const { return FImage->height(); }
void TBitmap::SetWidth(int Value) { SetSize(Value, Height()); }
void TBitmap::SetHeight(int Value) { SetSize(Width(), Value); }

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == Width() && AHeight == Height())
        return;
    EndCanvasPainting();
    // The old picture stays in the top-left corner; new area is white.
    QImage img = NewImage(AWidth, AHeight);
    if (!FImage->isNull() && AWidth > 0 && AHeight > 0 && Width() > 0 && Height() > 0) {
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, *FImage);
    }
    *FImage = img;
    Changed();
}

bool TBitmap::Empty() const
{
    return FImage->width() == 0 || FImage->height() == 0;
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    // Pixels are kept as 32-bit values whatever the format; the format is remembered for the
    // code that asks for it.
    FPixelFormat = Value;
}

TCanvas *TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

void *TBitmap::ScanLine(int Row)
{
    if (Row < 0 || Row >= Height())
        throw EInvalidGraphicOperation(QStringLiteral("Scan line index out of range"));
    EndCanvasPainting();
    return FImage->scanLine(Row);
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == TTransparentMode::tmFixed)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    return QColorToColor(QColor::fromRgb(FImage->pixel(0, Height() - 1)));
}

void TBitmap::SetTransparentColor(TColor Value)
{
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (Value == FTransparentMode)
        return;
    if (Value == TTransparentMode::tmAuto)
        FTransparentColor = clDefault;
    else
        FTransparentColor = TransparentColor();
    FTransparentMode = Value;
    Changed();
}

void TBitmap::LoadFromStream(QIODevice &Stream)
{
    QImage img = GraphicsImpl::ReadImageAs(Stream, "BMP");
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    FPixelFormat = img.depth() <= 1 ? TPixelFormat::pf1bit
                 : img.depth() <= 4 ? TPixelFormat::pf4bit
                 : img.depth() <= 8 ? TPixelFormat::pf8bit
                 : img.depth() <= 24 ? TPixelFormat::pf24bit
                                     : TPixelFormat::pf32bit;
    SetImage(img);
}

void TBitmap::SaveToStream(QIODevice &Stream)
{
    QImageWriter writer(&Stream, "BMP");
    if (!writer.write(ToImage()))
        throw EWriteError(QStringLiteral("Bitmap could not be written: %1").arg(writer.errorString()));
}

void TBitmap::LoadFromResourceName(const UnicodeString &Name)
{
    QImage img;
    int depth = 0;
    if (!FindResourceBitmap(Name, img, depth))
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(Name));
    FPixelFormat = depth <= 4 ? TPixelFormat::pf4bit : depth <= 8 ? TPixelFormat::pf8bit : TPixelFormat::pf24bit;
    SetImage(img);
}

void TBitmap::Draw(TCanvas *ACanvas, const TRect &R)
{
    if (!ACanvas || Empty())
        return;
    if (FTransparent) {
        ACanvas->DrawAlphaImage(R, MaskColor(*FImage, ColorToQColor(TransparentColor()).rgb()));
        return;
    }
    ACanvas->BlitImage(R, *FImage, ACanvas->CopyMode());
}

QImage TBitmap::ToImage() const
{
    // A deep copy: the bitmap's canvas may go on drawing into its own image.
    return FImage->copy();
}

QImage &TBitmap::Image()
{
    // The caller may paint on the image itself: the canvas lets go of it and opens a painter
    // again at its next drawing call.
    EndCanvasPainting();
    return *FImage;
}

void TBitmap::SetImage(const QImage &Img)
{
    EndCanvasPainting();
    QImage img = Img.isNull() ? NewImage(0, 0) : Img.convertToFormat(QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    *FImage = img;
    Changed();
}

// --- TIcon ----------------------------------------------------------------------------------------

TIcon::TIcon() : FImage(std::make_unique<QImage>()) {}
TIcon::~TIcon() = default;

void TIcon::Assign(TPersistent *Source)
{
    if (!Source) {
        *FImage = QImage();
        Changed();
        return;
    }
    if (auto *i = dynamic_cast<TIcon *>(Source)) {
        *FImage = i->ToImage();
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

int TIcon::Width() const { return FImage->width(); }
int TIcon::Height() const { return FImage->height(); }

void TIcon::SetWidth(int)
{
    throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of an icon"));
}

void TIcon::SetHeight(int)
{
    throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of an icon"));
}

bool TIcon::Empty() const { return FImage->isNull(); }

void TIcon::LoadFromStream(QIODevice &Stream)
{
    QImage img = GraphicsImpl::ReadImageAs(Stream, "ICO");
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
    SetImage(img);
}

void TIcon::SaveToStream(QIODevice &Stream)
{
    QImageWriter writer(&Stream, "ICO");
    if (Empty() || !writer.write(*FImage))
        throw EWriteError(QStringLiteral("Icon could not be written"));
}

void TIcon::Draw(TCanvas *ACanvas, const TRect &R)
{
    if (ACanvas && !Empty())
        ACanvas->DrawAlphaImage(R, *FImage);
}

QImage TIcon::ToImage() const { return FImage->copy(); }

void TIcon::SetImage(const QImage &Img)
{
    *FImage = Img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    FTransparent = true;
    Changed();
}

// --- PNG and GIF ----------------------------------------------------------------------------------

TQtImageGraphic::TQtImageGraphic(const char *Format) : FFormat(Format), FImage(std::make_unique<QImage>()) {}
TQtImageGraphic::~TQtImageGraphic() = default;

void TQtImageGraphic::Assign(TPersistent *Source)
{
    if (auto *g = dynamic_cast<TGraphic *>(Source)) {
        *FImage = g->ToImage();
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

int TQtImageGraphic::Width() const { return FImage->width(); }
int TQtImageGraphic::Height() const { return FImage->height(); }

void TQtImageGraphic::SetWidth(int Value)
{
    QImage img(std::max(Value, 0), Height(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    *FImage = img;
    Changed();
}

void TQtImageGraphic::SetHeight(int Value)
{
    QImage img(Width(), std::max(Value, 0), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    *FImage = img;
    Changed();
}

bool TQtImageGraphic::Empty() const { return FImage->isNull() || FImage->width() == 0; }

void TQtImageGraphic::LoadFromStream(QIODevice &Stream)
{
    QString error;
    QImage img = GraphicsImpl::ReadImageAs(Stream, FFormat.constData(), &error);
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("%1 image is not valid: %2").arg(QString::fromLatin1(FFormat), error));
    *FImage = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    FTransparent = FImage->hasAlphaChannel();
    Changed();
}

void TQtImageGraphic::SaveToStream(QIODevice &Stream)
{
    QImageWriter writer(&Stream, FFormat.constData());
    if (!writer.write(*FImage))
        throw EWriteError(QStringLiteral("%1 image could not be written: %2").arg(QString::fromLatin1(FFormat), writer.errorString()));
}

void TQtImageGraphic::Draw(TCanvas *ACanvas, const TRect &R)
{
    if (ACanvas && !Empty())
        ACanvas->DrawAlphaImage(R, *FImage);
}

QImage TQtImageGraphic::ToImage() const { return FImage->copy(); }

// --- TPicture -------------------------------------------------------------------------------------

std::unique_ptr<TGraphic> CreateGraphicForExtension(const UnicodeString &Ext)
{
    QString e = Ext.toLower();
    if (e.startsWith(QLatin1Char('.')))
        e.remove(0, 1);
    if (e == QLatin1String("bmp"))
        return std::make_unique<TBitmap>();
    if (e == QLatin1String("ico"))
        return std::make_unique<TIcon>();
    if (e == QLatin1String("png"))
        return std::make_unique<TPngImage>();
    if (e == QLatin1String("gif"))
        return std::make_unique<TGIFImage>();
    if (e == QLatin1String("tif") || e == QLatin1String("tiff"))
        return std::make_unique<TWICImage>();
    if (e == QLatin1String("jpg") || e == QLatin1String("jpeg") || e == QLatin1String("jpe") || e == QLatin1String("jfif"))
        return std::make_unique<TJPEGImage>();
    return nullptr;
}

std::unique_ptr<TGraphic> LoadGraphicFromFile(const UnicodeString &FileName)
{
    const QString ext = QFileInfo(FileName).suffix();
    std::unique_ptr<TGraphic> g = CreateGraphicForExtension(ext);
    if (!g)
        throw EInvalidGraphic(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
    g->LoadFromFile(FileName);
    return g;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Assign(TPersistent *Source)
{
    if (!Source) {
        FGraphic.reset();
        Changed();
        return;
    }
    if (auto *p = dynamic_cast<TPicture *>(Source)) {
        SetGraphic(p->Graphic());
        return;
    }
    if (auto *g = dynamic_cast<TGraphic *>(Source)) {
        SetGraphic(g);
        return;
    }
    TPersistent::Assign(Source);
}

void TPicture::SetGraphic(TGraphic *Value)
{
    if (Value == FGraphic.get())
        return;
    if (!Value) {
        FGraphic.reset();
        Changed();
        return;
    }
    std::unique_ptr<TGraphic> copy;
    if (dynamic_cast<TBitmap *>(Value))
        copy = std::make_unique<TBitmap>();
    else if (dynamic_cast<TIcon *>(Value))
        copy = std::make_unique<TIcon>();
    else if (dynamic_cast<TJPEGImage *>(Value))
        copy = std::make_unique<TJPEGImage>();
    else if (dynamic_cast<TGIFImage *>(Value))
        copy = std::make_unique<TGIFImage>();
    else
        copy = std::make_unique<TPngImage>();
    copy->Assign(Value);
    copy->SetTransparent(Value->Transparent());
    FGraphic = std::move(copy);
    Changed();
}

TBitmap *TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap *>(FGraphic.get())) {
        FGraphic = std::make_unique<TBitmap>();
        Changed();
    }
    return static_cast<TBitmap *>(FGraphic.get());
}

void TPicture::SetBitmap(TBitmap *Value)
{
    SetGraphic(Value);
}

TIcon *TPicture::Icon()
{
    if (!dynamic_cast<TIcon *>(FGraphic.get())) {
        FGraphic = std::make_unique<TIcon>();
        Changed();
    }
    return static_cast<TIcon *>(FGraphic.get());
}

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::LoadFromFile(const UnicodeString &FileName)
{
    // The old picture stays when the file cannot be read.
    FGraphic = LoadGraphicFromFile(FileName);
    Changed();
}

void TPicture::SaveToFile(const UnicodeString &FileName)
{
    if (FGraphic)
        FGraphic->SaveToFile(FileName);
}
