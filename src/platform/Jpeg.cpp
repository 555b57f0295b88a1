// JPEG decoding and encoding through libjpeg.
#include "platform/Jpeg.h"

#include <QImage>
#include <QIODevice>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to the
// caller's setjmp. The functions that set the jump keep only trivially destructible locals, so
// the jump skips no destructor.
struct ErrorManager {
    jpeg_error_mgr Pub;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void JpegErrorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->Message);
    std::longjmp(err->Jump, 1);
}

extern "C" void JpegEmitMessage(j_common_ptr cinfo, int level)
{
    // Warnings are not printed; a file that ends early is damaged and reported as an error
    // instead of giving a half-grey picture.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        (*cinfo->err->error_exit)(cinfo);
}

extern "C" void JpegOutputMessage(j_common_ptr) {}

void InitErrors(ErrorManager &err)
{
    jpeg_std_error(&err.Pub);
    err.Pub.error_exit = JpegErrorExit;
    err.Pub.emit_message = JpegEmitMessage;
    err.Pub.output_message = JpegOutputMessage;
    err.Message[0] = '\0';
}

// 4096 x 4096 pixels' worth (64 MB as 32-bit pixels): far beyond any picture the program
// shows, and small enough that a damaged header cannot make it wait on memory for seconds.
constexpr std::size_t MaxJpegPixels = std::size_t(4096) * 4096;

struct DecodeResult {
    unsigned char *Pixels = nullptr; // malloc'd, Width * Height * Components
    int Width = 0;
    int Height = 0;
    int Components = 0; // 1 grey, 4 CMYK or (Cmyk false) the pixels of a QImage::Format_RGB32
    bool Cmyk = false;
};

bool DecodeJpeg(const unsigned char *data, unsigned long size, int scaleDenom, bool gray, bool fast,
                DecodeResult *out, char *message)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    InitErrors(err);
    cinfo.err = &err.Pub;
    out->Pixels = nullptr;
    if (setjmp(err.Jump)) {
        std::strcpy(message, err.Message);
        jpeg_destroy_decompress(&cinfo);
        std::free(out->Pixels);
        out->Pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<unsigned char *>(data), size);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned int>(scaleDenom);
    if (gray)
        cinfo.out_color_space = JCS_GRAYSCALE;
    else if (cinfo.jpeg_color_space != JCS_CMYK && cinfo.jpeg_color_space != JCS_YCCK)
        // The library writes the 32-bit pixels of the image itself: no pass over every pixel
        // of our own, which for a picture of many megapixels is what takes the time.
        cinfo.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    if (fast) {
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
    }
    // The header alone may claim up to 65500 x 65500 pixels: a larger picture than we take is
    // refused before anything is allocated for it.
    jpeg_calc_output_dimensions(&cinfo);
    if (static_cast<std::size_t>(cinfo.output_width) * cinfo.output_height > MaxJpegPixels) {
        std::strcpy(message, "the picture is too large");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    const int w = static_cast<int>(cinfo.output_width), h = static_cast<int>(cinfo.output_height);
    const int comps = cinfo.output_components;
    if (w <= 0 || h <= 0 || (comps != 1 && comps != 4)) {
        std::strcpy(message, "unsupported colour layout");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    out->Pixels = static_cast<unsigned char *>(std::malloc(static_cast<std::size_t>(w) * h * comps));
    if (!out->Pixels) {
        std::strcpy(message, "out of memory");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->Pixels + static_cast<std::size_t>(cinfo.output_scanline) * w * comps;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    out->Cmyk = cinfo.out_color_space == JCS_CMYK;
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out->Width = w;
    out->Height = h;
    out->Components = comps;
    return true;
}

// Adobe CMYK files are stored inverted.
void Cmyk_To_Image(const DecodeResult &r, QImage &img)
{
    for (int y = 0; y < r.Height; ++y) {
        const unsigned char *src = r.Pixels + static_cast<std::size_t>(y) * r.Width * 4;
        auto *dst = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < r.Width; ++x) {
            const unsigned char *px = src + static_cast<std::size_t>(x) * 4;
            const int k = px[3];
            dst[x] = qRgb(px[0] * k / 255, px[1] * k / 255, px[2] * k / 255);
        }
    }
}

// Encodes rows of 3 (RGB) or 1 (grey) bytes per pixel; *outData is malloc'd by libjpeg.
bool EncodeJpeg(const unsigned char *pixels, int w, int h, int comps, int quality, bool progressive,
                unsigned char **outData, unsigned long *outSize, char *message)
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    InitErrors(err);
    cinfo.err = &err.Pub;
    *outData = nullptr;
    *outSize = 0;
    if (setjmp(err.Jump)) {
        std::strcpy(message, err.Message);
        jpeg_destroy_compress(&cinfo);
        std::free(*outData);
        *outData = nullptr;
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, outData, outSize);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = comps;
    cinfo.in_color_space = comps == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char *>(pixels) + static_cast<std::size_t>(cinfo.next_scanline) * w * comps;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

int ScaleDenominator(TJPEGScale s)
{
    switch (s) {
    case TJPEGScale::jsHalf: return 2;
    case TJPEGScale::jsQuarter: return 4;
    case TJPEGScale::jsEighth: return 8;
    default: return 1;
    }
}

} // namespace

TJPEGImage::TJPEGImage() : FImage(std::make_unique<QImage>()) {}
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(TPersistent *Source)
{
    if (auto *j = dynamic_cast<TJPEGImage *>(Source)) {
        FData = j->FData;
        *FImage = j->FImage->copy();
        FQuality = j->FQuality;
        FGrayscale = j->FGrayscale;
        FScale = j->FScale;
        FPerformance = j->FPerformance;
        FProgressive = j->FProgressive;
        FPixelFormat = j->FPixelFormat;
        Changed();
        return;
    }
    if (auto *g = dynamic_cast<TGraphic *>(Source)) {
        SetImage(g->ToImage());
        return;
    }
    TGraphic::Assign(Source);
}

int TJPEGImage::Width() const { return FImage->width(); }
int TJPEGImage::Height() const { return FImage->height(); }

void TJPEGImage::SetWidth(int)
{
    throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of a JPEG image"));
}

void TJPEGImage::SetHeight(int)
{
    throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of a JPEG image"));
}

bool TJPEGImage::Empty() const { return FImage->isNull() || FImage->width() == 0; }

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange Value)
{
    const int q = std::clamp(Value, 1, 100);
    if (q != FQuality) {
        FQuality = q;
        // The kept data was encoded at the old quality; the next save encodes again.
        if (!FImage->isNull())
            FData.clear();
    }
}

void TJPEGImage::SetGrayscale(bool Value)
{
    if (Value == FGrayscale)
        return;
    FGrayscale = Value;
    if (!FData.isEmpty())
        Decode();
    else if (FGrayscale && !FImage->isNull())
        SetImage(FImage->convertToFormat(QImage::Format_Grayscale8));
}

void TJPEGImage::SetScale(TJPEGScale Value)
{
    if (Value == FScale)
        return;
    FScale = Value;
    if (!FData.isEmpty())
        Decode();
}

void TJPEGImage::SetPerformance(TJPEGPerformance Value)
{
    if (Value == FPerformance)
        return;
    FPerformance = Value;
    if (!FData.isEmpty())
        Decode();
}

void TJPEGImage::Decode()
{
    DecodeResult r;
    char message[JMSG_LENGTH_MAX] = {};
    if (!DecodeJpeg(reinterpret_cast<const unsigned char *>(FData.constData()),
                    static_cast<unsigned long>(FData.size()), ScaleDenominator(FScale), FGrayscale,
                    FPerformance == TJPEGPerformance::jpBestSpeed, &r, message))
        throw EInvalidGraphic(QStringLiteral("JPEG image is not valid: %1").arg(QString::fromLocal8Bit(message)));
    QImage img;
    if (r.Components == 1) {
        img = QImage(r.Pixels, r.Width, r.Height, r.Width, QImage::Format_Grayscale8, std::free, r.Pixels)
                  .convertToFormat(QImage::Format_RGB32);
    } else if (!r.Cmyk) {
        img = QImage(r.Pixels, r.Width, r.Height, static_cast<qsizetype>(r.Width) * 4, QImage::Format_RGB32, std::free, r.Pixels);
    } else {
        img = QImage(r.Width, r.Height, QImage::Format_RGB32);
        if (img.isNull()) {
            std::free(r.Pixels);
            throw EInvalidGraphic(QStringLiteral("JPEG image is not valid: the picture is too large"));
        }
        Cmyk_To_Image(r, img);
        std::free(r.Pixels);
    }
    if (img.isNull())
        throw EInvalidGraphic(QStringLiteral("JPEG image is not valid: the picture is too large"));
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    *FImage = img;
}

void TJPEGImage::DIBNeeded()
{
    if (!FData.isEmpty())
        Decode();
}

void TJPEGImage::Compress()
{
    if (FImage->isNull() || FImage->width() == 0) {
        FData.clear();
        return;
    }
    const int comps = FGrayscale ? 1 : 3;
    const QImage src = FImage->convertToFormat(FGrayscale ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(src.width()) * src.height() * comps);
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * src.width() * comps, src.constScanLine(y),
                    static_cast<std::size_t>(src.width()) * comps);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {};
    if (!EncodeJpeg(pixels.data(), src.width(), src.height(), comps, FQuality, FProgressive, &out, &size, message))
        throw EInvalidGraphic(QStringLiteral("JPEG image could not be encoded: %1").arg(QString::fromLocal8Bit(message)));
    FData = QByteArray(reinterpret_cast<const char *>(out), static_cast<qsizetype>(size));
    std::free(out);
}

QByteArray TJPEGImage::Data()
{
    if (FData.isEmpty())
        Compress();
    return FData;
}

void TJPEGImage::LoadFromStream(QIODevice &Stream)
{
    const QByteArray data = Stream.readAll();
    if (data.isEmpty())
        throw EInvalidGraphic(QStringLiteral("JPEG image is not valid: the data is empty"));
    // Decode into a scratch object first so that a damaged file leaves this picture intact.
    const QByteArray old = FData;
    FData = data;
    try {
        Decode();
    } catch (...) {
        FData = old;
        throw;
    }
    Changed();
}

void TJPEGImage::SaveToStream(QIODevice &Stream)
{
    const QByteArray data = Data();
    if (Stream.write(data) != data.size())
        throw EWriteError(QStringLiteral("JPEG image could not be written: %1").arg(Stream.errorString()));
}

void TJPEGImage::Draw(TCanvas *ACanvas, const TRect &R)
{
    if (ACanvas && !Empty())
        ACanvas->BlitImage(R, *FImage, ACanvas->CopyMode());
}

QImage TJPEGImage::ToImage() const { return FImage->copy(); }

void TJPEGImage::SetImage(const QImage &Img)
{
    *FImage = Img.isNull() ? QImage() : Img.convertToFormat(QImage::Format_RGB32);
    FData.clear();
    Changed();
}
