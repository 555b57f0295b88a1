// Pictures as the program opens them: a file through the picture (TPicture), whose loader picks
// the graphic by the extension (bmp, ico, png, gif, jpg, jpeg, tif, tiff), and JPEG data through
// the platform's JPEG image with its scale, grey and speed choices, saved and loaded again. A
// damaged file raises EInvalidGraphic and nothing else.
//
// Input: one byte (bits 0-2 the extension, bits 3-4 the JPEG scale, bit 5 grey, bit 6 speed,
// bit 7 a TIFF extension instead, chosen by bit 0), then the file.
#include "support/FuzzSupport.h"

#include "platform/Graphics.h"
#include "platform/Jpeg.h"

#include <QImage>

namespace {

const char *const Extensions[] = {"bmp", "ico", "png", "gif", "jpg", "jpeg", "JPG", "Png"};
const char *const TiffExtensions[] = {"tif", "tiff"};

void Use(TGraphic &G)
{
    const int W = G.Width(), H = G.Height();
    Fuzz::Check(W >= 0 && H >= 0, "a picture has a negative size");
    const QImage Image = G.ToImage();
    if (!G.Empty())
        Fuzz::Check(!Image.isNull() || W == 0 || H == 0, "a picture that is not empty gives no image");
    TBitmap Target(16, 16);
    G.Draw(Target.Canvas(), TRect(0, 0, 16, 16));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    const Byte Options = Data[0];
    const QByteArray File = Fuzz::Bytes(Data + 1, Size - 1);
    const char *Ext = Options & 0x80 ? TiffExtensions[Options & 1] : Extensions[Options & 7];
    const QString Name = QStringLiteral("picture.") + QLatin1String(Ext);
    Fuzz::WriteFile(Name, File);

    try {
        TPicture Picture;
        Picture.LoadFromFile(Fuzz::PathOf(Name));
        Fuzz::Check(Picture.Graphic() != nullptr, "the loader answered no graphic and no error");
        Use(*Picture.Graphic());
    } catch (const EInvalidGraphic &) {
    }

    TJPEGImage Jpeg;
    Jpeg.SetScale(static_cast<TJPEGScale>((Options >> 3) & 3));
    Jpeg.SetGrayscale(Options & 0x20);
    Jpeg.SetPerformance(Options & 0x40 ? TJPEGPerformance::jpBestSpeed : TJPEGPerformance::jpBestQuality);
    try {
        Jpeg.LoadFromBytes(File);
    } catch (const EInvalidGraphic &) {
        return 0;
    }
    Use(Jpeg);
    const int W = Jpeg.Width(), H = Jpeg.Height();
    const QByteArray Saved = Jpeg.SaveToBytes();
    if (Saved == File)
        return 0; // kept as it was read
    TJPEGImage Again;
    Again.SetScale(Jpeg.Scale());
    Again.SetGrayscale(Jpeg.Grayscale());
    try {
        Again.LoadFromBytes(Saved);
    } catch (const EInvalidGraphic &) {
        Fuzz::Fail("a JPEG picture that was read does not read back once saved");
    }
    Fuzz::Check(Again.Width() == W && Again.Height() == H, "a saved JPEG picture reads back in another size");
    return 0;
}
