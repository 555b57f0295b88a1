#pragma once
// JPEG pictures on libjpeg (API 62): decoding with scale and speed choices, encoding with a
// quality. A damaged file raises EInvalidGraphic; the library never ends the program.

#include "platform/Graphics.h"

enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum class TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum class TJPEGPixelFormat { jf24Bit, jf8Bit };
using TJPEGQualityRange = int; // 1..100

class TJPEGImage : public TGraphic {
public:
    using TGraphic::LoadFromStream;
    using TGraphic::SaveToStream;
    TJPEGImage();
    ~TJPEGImage() override;
    void Assign(TPersistent *Source) override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    bool Empty() const override;

    // Quality of the next encoding, 1..100 (default 90).
    TJPEGQualityRange CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(TJPEGQualityRange Value);
    // Decodes and encodes in shades of grey.
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool Value);
    TJPEGScale Scale() const { return FScale; }
    void SetScale(TJPEGScale Value);
    TJPEGPerformance Performance() const { return FPerformance; }
    void SetPerformance(TJPEGPerformance Value);
    bool ProgressiveEncoding() const { return FProgressive; }
    void SetProgressiveEncoding(bool Value) { FProgressive = Value; }
    TJPEGPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TJPEGPixelFormat Value) { FPixelFormat = Value; }

    // Encodes the current pixels now (saving does it when needed).
    void Compress();
    // Decodes the kept JPEG data again (after a change of Scale, Grayscale or Performance).
    void DIBNeeded();
    void JPEGNeeded() { Compress(); }

    void LoadFromStream(QIODevice &Stream) override;
    void SaveToStream(QIODevice &Stream) override;
    void Draw(TCanvas *ACanvas, const TRect &R) override;
    QImage ToImage() const override;
    void SetImage(const QImage &Img);

    // The encoded data as it would be saved.
    QByteArray Data();

private:
    void Decode();
    QByteArray FData; // encoded data matching FImage, empty when the pixels changed
    std::unique_ptr<QImage> FImage;
    int FQuality = 90;
    bool FGrayscale = false;
    TJPEGScale FScale = TJPEGScale::jsFullSize;
    TJPEGPerformance FPerformance = TJPEGPerformance::jpBestQuality;
    bool FProgressive = false;
    TJPEGPixelFormat FPixelFormat = TJPEGPixelFormat::jf24Bit;
};
