// Pictures by file extension and the program's named pictures.
#include "platform/Graphics.h"

#include "support/TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSet>
#include <gtest/gtest.h>

namespace {

class PicturesTest : public TempDirTest {
protected:
    // A 3 x 2 picture written by Qt in the given format.
    void WriteImage(const QString &name, const char *format)
    {
        if (QByteArray(format) == "GIF") {
            // Qt reads GIF but does not write it: a 3 x 2 red picture with a black first pixel.
            WriteBytes(name, QByteArray("GIF89a\x03\x00\x02\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00\x2C\x00\x00"
                                        "\x00\x00\x03\x00\x02\x00\x00\x02\x05\x0C\x41\x10\x04\x51\x00\x3B",
                                        38));
            return;
        }
        QImage img(3, 2, QImage::Format_ARGB32);
        img.fill(qRgb(255, 0, 0));
        img.setPixel(0, 0, qRgba(0, 0, 0, 0));
        QByteArray data;
        QBuffer b(&data);
        b.open(QIODevice::WriteOnly);
        QImageWriter w(&b, format);
        ASSERT_TRUE(w.write(img)) << format;
        WriteBytes(name, data);
    }
};

} // namespace

TEST_F(PicturesTest, LoadsByExtension)
{
    struct Case {
        const char *File;
        const char *Format;
    };
    const Case cases[] = {{"a.png", "PNG"}, {"b.gif", "GIF"}, {"c.ico", "ICO"}, {"d.BMP", "BMP"}};
    for (const Case &k : cases) {
        WriteImage(QString::fromLatin1(k.File), k.Format);
        TPicture pic;
        pic.LoadFromFile(PathOf(QString::fromLatin1(k.File)));
        ASSERT_NE(pic.Graphic(), nullptr) << k.File;
        EXPECT_EQ(pic.Width(), 3) << k.File;
        EXPECT_EQ(pic.Height(), 2) << k.File;
        TBitmap target(3, 2);
        target.Canvas()->Draw(0, 0, pic.Graphic());
        EXPECT_EQ(target.Image().pixel(2, 1), qRgb(255, 0, 0)) << k.File;
    }
    TPicture png;
    png.LoadFromFile(PathOf("a.png"));
    EXPECT_NE(dynamic_cast<TPngImage *>(png.Graphic()), nullptr);
    // A transparent pixel of a PNG leaves the canvas as it was.
    TBitmap target(3, 2);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(Rect(0, 0, 3, 2));
    target.Canvas()->Draw(0, 0, png.Graphic());
    EXPECT_EQ(target.Image().pixel(0, 0), qRgb(0, 0, 255));
}

TEST_F(PicturesTest, UnknownExtensionsAndDamagedFilesRaiseAndKeepTheOldPicture)
{
    WriteImage("ok.png", "PNG");
    TPicture pic;
    pic.LoadFromFile(PathOf("ok.png"));
    for (const char *name : {"drawing.wmf", "drawing.emf", "notes.xyz"}) {
        WriteBytes(QString::fromLatin1(name), QByteArray("data"));
        try {
            pic.LoadFromFile(PathOf(QString::fromLatin1(name)));
            ADD_FAILURE() << name;
        } catch (const EInvalidGraphic &e) {
            const QString ext = QString::fromLatin1(name).section(QLatin1Char('.'), 1);
            EXPECT_EQ(e.Message(), QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
        }
    }
    WriteBytes("broken.png", QByteArray("\x89PNG not really"));
    EXPECT_THROW(pic.LoadFromFile(PathOf("broken.png")), EInvalidGraphic);
    EXPECT_THROW(pic.LoadFromFile(PathOf("missing.bmp")), EFOpenError);
    EXPECT_EQ(pic.Width(), 3);
}

TEST_F(PicturesTest, BitmapSavedWholeAndPictureBitmapAccess)
{
    TPicture pic;
    TBitmap *b = pic.Bitmap();
    b->SetSize(5, 4);
    b->Canvas()->Brush()->SetColor(clGreen);
    b->Canvas()->FillRect(Rect(0, 0, 5, 4));
    pic.SaveToFile(PathOf("green.bmp"));
    TPicture back;
    back.LoadFromFile(PathOf("green.bmp"));
    ASSERT_NE(dynamic_cast<TBitmap *>(back.Graphic()), nullptr);
    EXPECT_EQ(back.Bitmap()->Canvas()->Pixels(4, 3), clGreen);
}

TEST(ProgramResources, GlyphsHaveTheirSizesAndKeyColours)
{
    struct Case {
        const char *Name;
        int W, H;
    };
    const Case cases[] = {{"LBOK", 36, 18},      {"LBCANCEL", 36, 18},  {"LBHELP", 36, 18}, {"LBYES", 36, 18},
                          {"LBNO", 36, 18},      {"LBCLOSE", 36, 18},   {"LBABORT", 36, 18}, {"LBRETRY", 36, 18},
                          {"LBIGNORE", 36, 18},  {"LBALL", 36, 19},     {"LBARROW", 5, 3},  {"ESGCHK05", 16, 16},
                          {"ESGCHK01", 20, 20},  {"ESGRAD05", 16, 16},  {"ESGRAD01", 16, 16}, {"ESGLEAFOPEN", 16, 16},
                          {"XPNODEO", 9, 9},     {"ESGFILT", 16, 16},   {"EsgSpinUp", 9, 6}, {"EsgSpinDown", 9, 6},
                          {"metrocheckon", 16, 16}, {"QRV_SPECTRUM", 128, 128}};
    for (const Case &k : cases) {
        TBitmap b;
        b.LoadFromResourceName(QString::fromLatin1(k.Name));
        EXPECT_EQ(b.Width(), k.W) << k.Name;
        EXPECT_EQ(b.Height(), k.H) << k.Name;
    }
    TBitmap spin;
    spin.LoadFromResourceName(QStringLiteral("EsgSpinUp"));
    EXPECT_EQ(ColorToRGB(spin.TransparentColor()), RGB(128, 128, 0)); // olive background
    TBitmap filt;
    filt.LoadFromResourceName(QStringLiteral("ESGFILT"));
    EXPECT_EQ(filt.TransparentColor(), clFuchsia);
    TBitmap missing;
    EXPECT_THROW(missing.LoadFromResourceName(QStringLiteral("NO_SUCH_GLYPH")), EResNotFound);

    QImage cursor;
    TPoint hot;
    EXPECT_TRUE(FindResourceCursor(QStringLiteral("8000"), cursor, hot));
    EXPECT_EQ(hot, Point(16, 16));
    EXPECT_FALSE(FindResourceCursor(QStringLiteral("9999"), cursor, hot));
}

TEST(ProgramResources, EveryPictureReadsAsQtReadsIt)
{
    // The program's pictures are decoded by the platform itself; Qt's reader is the reference.
    const QStringList files = QDir(QStringLiteral(":/bitmaps")).entryList(QDir::Files);
    ASSERT_GT(files.size(), 30);
    QSet<int> depths;
    for (const QString &file : files) {
        const QString path = QStringLiteral(":/bitmaps/") + file;
        const QImage qt(path);
        ASSERT_FALSE(qt.isNull()) << file.toStdString();
        QImage ours;
        int depth = 0;
        ASSERT_TRUE(FindResourceBitmap(QFileInfo(file).completeBaseName(), ours, depth)) << file.toStdString();
        EXPECT_EQ(ours, qt.convertToFormat(QImage::Format_RGB32)) << file.toStdString();
        EXPECT_EQ(depth, qt.format() == QImage::Format_Indexed8 && qt.colorCount() <= 16 ? 4 : qt.depth()) << file.toStdString();
        depths << depth;
    }
    EXPECT_EQ(depths, (QSet<int>{4, 8, 32}));
}

TEST(ProgramResources, GridCheckBoxMatchesItsDescription)
{
    TBitmap b;
    b.LoadFromResourceName(QStringLiteral("ESGCHK05"));
    const QImage img = b.ToImage();
    EXPECT_EQ(img.pixel(1, 1), qRgb(0x1C, 0x51, 0x80));
    EXPECT_EQ(img.pixel(13, 13), qRgb(0x1C, 0x51, 0x80));
    EXPECT_EQ(img.pixel(2, 2), qRgb(0xE2, 0xE2, 0xDD));
    EXPECT_EQ(img.pixel(12, 12), qRgb(0xFF, 0xFF, 0xFF));
    int tick = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            tick += img.pixel(x, y) == qRgb(0x21, 0xA1, 0x21);
    EXPECT_EQ(tick, 21);
    EXPECT_EQ(img.pixel(10, 4), qRgb(0x21, 0xA1, 0x21));
    EXPECT_EQ(img.pixel(6, 10), qRgb(0x21, 0xA1, 0x21));
    TBitmap off;
    off.LoadFromResourceName(QStringLiteral("esgchk08"));
    EXPECT_EQ(off.ToImage().pixel(1, 1), qRgb(0xCA, 0xC8, 0xBB));
    EXPECT_EQ(off.ToImage().pixel(7, 7), qRgb(255, 255, 255));
}

TEST(ProgramResources, NamedPicturesAreDecodedOnceAndShared)
{
    TBitmap a, b;
    a.LoadFromResourceName(QStringLiteral("ESGCHK05"));
    b.LoadFromResourceName(QStringLiteral("esgchk05"));
    // Both bitmaps hold the one decoded picture until one of them is drawn on.
    EXPECT_EQ(a.Image().constBits(), b.Image().constBits());
    EXPECT_EQ(a.PixelFormat(), TPixelFormat::pf24bit);
    b.Canvas()->SetPixel(0, 0, clRed);
    EXPECT_NE(a.Image().constBits(), b.Image().constBits());
    EXPECT_EQ(a.Canvas()->Pixels(0, 0), clFuchsia);
    TBitmap c;
    c.LoadFromResourceName(QStringLiteral("ESGCHK05"));
    EXPECT_EQ(c.Canvas()->Pixels(0, 0), clFuchsia); // the drawing did not reach the shared picture
    // A miss is remembered as a miss.
    TBitmap missing;
    EXPECT_THROW(missing.LoadFromResourceName(QStringLiteral("NO_SUCH_GLYPH")), EResNotFound);
    EXPECT_THROW(missing.LoadFromResourceName(QStringLiteral("NO_SUCH_GLYPH")), EResNotFound);
}

TEST(PictureStreams, GraphicsGoThroughThePlatformStreams)
{
    TBitmap b(3, 3);
    b.Canvas()->SetPixel(1, 1, clRed);
    TMemoryStream stream;
    b.SaveToStream(&stream);
    EXPECT_GT(stream.Size(), 54);
    stream.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(&stream);
    EXPECT_EQ(back.Canvas()->Pixels(1, 1), clRed);
}
