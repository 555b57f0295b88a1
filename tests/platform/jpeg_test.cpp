// JPEG pictures: a round trip at quality 90, scaled and grey decoding, damaged files.
#include "platform/Jpeg.h"

#include "support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A picture of four coloured quarters, big enough for the encoder's blocks.
std::unique_ptr<TBitmap> Quarters()
{
    auto b = std::make_unique<TBitmap>(64, 48);
    TCanvas *c = b->Canvas();
    const TColor colors[4] = {clRed, clLime, clBlue, clYellow};
    for (int i = 0; i < 4; ++i) {
        c->Brush()->SetColor(colors[i]);
        c->FillRect(Bounds((i % 2) * 32, (i / 2) * 24, 32, 24));
    }
    return b;
}

bool Near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class JpegTest : public TempDirTest {};

} // namespace

TEST_F(JpegTest, QualityNinetyRoundTripKeepsSizeAndColours)
{
    auto srcBitmap = Quarters();
    TBitmap &src = *srcBitmap;
    TJPEGImage jpeg;
    jpeg.Assign(&src);
    jpeg.SetCompressionQuality(90);
    jpeg.SaveToFile(PathOf("q.jpg"));
    ASSERT_TRUE(ReadBytes("q.jpg").startsWith("\xFF\xD8"));

    TJPEGImage back;
    back.LoadFromFile(PathOf("q.jpg"));
    EXPECT_EQ(back.Width(), 64);
    EXPECT_EQ(back.Height(), 48);
    const QImage a = src.ToImage(), b = back.ToImage();
    for (QPoint p : {QPoint(8, 8), QPoint(50, 10), QPoint(10, 40), QPoint(50, 40)})
        EXPECT_TRUE(Near(a.pixel(p), b.pixel(p), 12)) << p.x() << "," << p.y();

    // The picture draws onto a bitmap like any other graphic.
    TBitmap target(64, 48);
    target.Canvas()->Draw(0, 0, &back);
    EXPECT_TRUE(Near(target.ToImage().pixel(50, 40), qRgb(255, 255, 0), 12));

    // Through the picture container, chosen by the extension.
    TPicture pic;
    pic.LoadFromFile(PathOf("q.jpg"));
    ASSERT_NE(dynamic_cast<TJPEGImage *>(pic.Graphic()), nullptr);
    EXPECT_EQ(pic.Width(), 64);
}

TEST_F(JpegTest, LowerQualityMakesASmallerFile)
{
    auto srcBitmap = Quarters();
    TBitmap &src = *srcBitmap;
    TJPEGImage jpeg;
    jpeg.Assign(&src);
    jpeg.SetCompressionQuality(95);
    const QByteArray high = jpeg.Data();
    jpeg.SetCompressionQuality(10);
    const QByteArray low = jpeg.Data();
    EXPECT_LT(low.size(), high.size());
}

TEST_F(JpegTest, ScaleAndGrayscaleDecoding)
{
    auto srcBitmap = Quarters();
    TBitmap &src = *srcBitmap;
    TJPEGImage jpeg;
    jpeg.Assign(&src);
    TJPEGImage half;
    half.LoadFromBytes(jpeg.Data());
    half.SetScale(TJPEGScale::jsHalf);
    EXPECT_EQ(half.Width(), 32);
    EXPECT_EQ(half.Height(), 24);
    half.SetGrayscale(true);
    const QRgb p = half.ToImage().pixel(4, 4);
    EXPECT_EQ(qRed(p), qGreen(p));
    EXPECT_EQ(qGreen(p), qBlue(p));
    half.SetPerformance(TJPEGPerformance::jpBestSpeed);
    EXPECT_EQ(half.Width(), 32);
}

TEST_F(JpegTest, DamagedFilesRaiseAClearErrorAndKeepThePicture)
{
    auto srcBitmap = Quarters();
    TBitmap &src = *srcBitmap;
    TJPEGImage good;
    good.Assign(&src);
    const QByteArray data = good.Data();
    // The same file whose frame header claims 40000 x 40000 pixels (6.4 GB of pixels).
    QByteArray huge = data;
    const qsizetype frame = huge.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    huge.replace(frame + 5, 4, QByteArray("\x9C\x40\x9C\x40", 4));

    const QByteArray damaged[] = {
        huge,
        QByteArray("this is not a JPEG file at all"),
        data.left(data.size() / 2),                       // cut off in the middle
        data.left(20),                                    // only the start of the header
        QByteArray("\xFF\xD8\xFF\xC0\x00\x11\x08", 7),    // a frame header that ends at once
        QByteArray(),
    };
    for (const QByteArray &bytes : damaged) {
        TJPEGImage jpeg;
        jpeg.LoadFromBytes(data);
        try {
            jpeg.LoadFromBytes(bytes);
            ADD_FAILURE() << "no error for " << bytes.size() << " bytes";
        } catch (const EInvalidGraphic &e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("JPEG image is not valid"))) << e.Message().toStdString();
        }
        EXPECT_EQ(jpeg.Width(), 64);
    }

    WriteBytes("bad.jpg", data.left(data.size() / 3));
    TPicture pic;
    EXPECT_THROW(pic.LoadFromFile(PathOf("bad.jpg")), EInvalidGraphic);
    EXPECT_EQ(pic.Graphic(), nullptr);
}
