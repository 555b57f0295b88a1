// Pictures chosen by their content: each supported format is read whatever name it came with,
// and metafiles, damaged and unknown data raise.
#include "platform/Graphics.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QByteArray Encode(const char *Format)
{
    QImage img(5, 3, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray data;
    QBuffer b(&data);
    b.open(QIODevice::WriteOnly);
    img.save(&b, Format);
    return data;
}

TEST(GraphicsContent, FormatsByTheirFirstBytes)
{
    TBitmap bmp(5, 3);
    // A 5 x 3 GIF whose pixels are literal codes, each after a clear code (3-bit codes).
    QByteArray gif("GIF89a\x05\x00\x03\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
                   "\x2C\x00\x00\x00\x00\x05\x00\x03\x00\x00\x02",
                   30);
    QByteArray lzw;
    unsigned acc = 0;
    int bits = 0;
    auto put = [&](unsigned code) {
        acc |= code << bits;
        for (bits += 3; bits >= 8; bits -= 8, acc >>= 8)
            lzw += char(acc & 0xFF);
    };
    for (int i = 0; i < 15; ++i) {
        put(4);
        put(0);
    }
    put(5);
    if (bits > 0)
        lzw += char(acc & 0xFF);
    gif += char(lzw.size());
    gif += lzw;
    gif += QByteArray("\x00\x3B", 2);
    struct TCase {
        const char *Name;
        QByteArray Data;
    };
    const TCase cases[] = {
        {"BMP", bmp.SaveToBytes()}, {"PNG", Encode("PNG")}, {"JPEG", Encode("JPG")},
        {"ICO", Encode("ICO")},     {"GIF", gif},
    };
    for (const TCase &c : cases) {
        ASSERT_FALSE(c.Data.isEmpty()) << c.Name;
        std::unique_ptr<TGraphic> g = LoadGraphicFromBytes(c.Data);
        ASSERT_NE(g, nullptr) << c.Name;
        EXPECT_EQ(g->Width(), 5) << c.Name;
        EXPECT_EQ(g->Height(), 3) << c.Name;
    }
}

TEST(GraphicsContent, OtherDataRaises)
{
    static const char wmf[] = "\xD7\xCD\xC6\x9A\x00\x00\x00\x00";      // placeable metafile
    static const char emf[] = "\x01\x00\x00\x00\x6C\x00\x00\x00 EMF"; // enhanced metafile
    static const char png[] = "\x89PNG\r\n\x1a\n broken";                  // a PNG cut short
    const QByteArray bad[] = {
        QByteArray(), QByteArray(wmf, sizeof(wmf) - 1), QByteArray(emf, sizeof(emf) - 1),
        QByteArray(png, sizeof(png) - 1), QByteArray("BM"), QByteArray("plain text"),
    };
    for (const QByteArray &b : bad)
        EXPECT_THROW(LoadGraphicFromBytes(b), EInvalidGraphic) << b.toHex().toStdString();
}

} // namespace
