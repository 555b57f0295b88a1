// Pictures of mini-HTML: an animated GIF played frame by frame and stepped by its delays,
// truncated GIFs, loading by URL in any letter case, raw-data resources by name and number, the
// container's and the cache's look-ups.
#include "controls/PictureContainer.h"

#include "platform/Graphics.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

#include <sys/stat.h>

namespace {

// A 2 x 2 GIF89a with a red, green, blue and white palette and one frame per delay; frame i
// is filled with palette colour i - 1. Every pixel is written as a literal code after a clear
// code, so the code size stays at 3 bits.
QByteArray MakeGif(const std::vector<int> &Delays)
{
    QByteArray g("GIF89a");
    auto word = [&](int v) {
        g += char(v & 0xFF);
        g += char((v >> 8) & 0xFF);
    };
    word(2);
    word(2);
    g += char(0x81); // global colour table of 4 entries
    g += char(0);
    g += char(0);
    g += QByteArray("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\xFF\xFF\xFF", 12);
    for (size_t f = 0; f < Delays.size(); ++f) {
        g += QByteArray("\x21\xF9\x04\x00", 4);
        word(Delays[f]);
        g += QByteArray("\x00\x00", 2);
        g += char(0x2C);
        word(0);
        word(0);
        word(2);
        word(2);
        g += char(0);
        g += char(2); // LZW minimum code size
        const int colour = static_cast<int>(f % 4);
        const int codes[] = {4, colour, 4, colour, 4, colour, 4, colour, 5};
        QByteArray bytes;
        unsigned acc = 0;
        int bits = 0;
        for (int c : codes) {
            acc |= unsigned(c) << bits;
            bits += 3;
            while (bits >= 8) {
                bytes += char(acc & 0xFF);
                acc >>= 8;
                bits -= 8;
            }
        }
        if (bits > 0)
            bytes += char(acc & 0xFF);
        g += char(bytes.size());
        g += bytes;
        g += char(0);
    }
    g += char(0x3B);
    return g;
}

QRgb FirstPixel(const THTMLPicture &P)
{
    const QImage img = P.ToImage();
    return img.isNull() ? 0 : img.pixel(0, 0) & 0xFFFFFF;
}

void Load(THTMLPicture &P, const QByteArray &Data)
{
    QByteArray copy = Data;
    QBuffer b(&copy);
    b.open(QIODevice::ReadOnly);
    P.LoadFromStream(b);
}

TEST(HtmlPicture, FramesWrapAround)
{
    THTMLPicture p;
    int changes = 0;
    p.OnFrameChange = [&](TObject *) { ++changes; };
    Load(p, MakeGif({10, 20, 30}));
    ASSERT_FALSE(p.Empty());
    EXPECT_TRUE(p.IsGIF());
    EXPECT_EQ(p.FrameCount(), 3);
    EXPECT_EQ(p.Width(), 2);
    EXPECT_EQ(p.MaxWidth(), 2);
    EXPECT_EQ(FirstPixel(p), 0xFF0000u);
    p.SetFrame(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(FirstPixel(p), 0x00FF00u) << "the second frame is shown";
    p.SetFrame(3);
    p.FrameNext();
    EXPECT_EQ(p.Frame(), 1);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 3);
    p.FramePrev();
    EXPECT_EQ(p.Frame(), 2);
    EXPECT_EQ(p.GetFrameTime(3), 30);
    EXPECT_EQ(p.GetFrameTime(4), -1);
}

TEST(HtmlPicture, StepFollowsTheDelays)
{
    THTMLPicture p;
    Load(p, MakeGif({10, 20, 30}));
    std::vector<int> advanced;
    for (int call = 1; call <= 8; ++call)
        if (p.Step())
            advanced.push_back(call);
    EXPECT_EQ(advanced, (std::vector<int>{3, 5, 8}));
    EXPECT_EQ(p.Frame(), 1);

    THTMLPicture still;
    Load(still, MakeGif({10}));
    EXPECT_FALSE(still.Step());

    THTMLPicture bmp;
    TBitmap b(3, 3);
    Load(bmp, b.SaveToBytes());
    EXPECT_FALSE(bmp.Empty());
    EXPECT_EQ(bmp.FrameCount(), -1);
    EXPECT_FALSE(bmp.Step());

    THTMLPictureCache cache;
    THTMLPicture *anim = cache.AddPicture();
    Load(*anim, MakeGif({0, 0}));
    EXPECT_FALSE(cache.Animate());
    EXPECT_TRUE(cache.Animate());
}

TEST(HtmlPicture, TruncatedAndDamagedDataStayClean)
{
    const QByteArray gif = MakeGif({10, 20, 30});
    for (qsizetype n = 0; n < gif.size(); ++n) {
        THTMLPicture p;
        try {
            Load(p, gif.left(n));
        } catch (const Exception &) {
            EXPECT_TRUE(p.Empty());
        }
        p.FrameCount();
        p.GetFrameTime(2);
        p.Step();
        p.Step();
        p.Step();
        try {
            p.SetFrame(3);
        } catch (const Exception &) {
        }
    }
    THTMLPicture wmf;
    EXPECT_THROW(Load(wmf, QByteArray("\xD7\xCD\xC6\x9A\x00\x00", 6)), Exception);
    EXPECT_TRUE(wmf.Empty());
}

TEST(HtmlPicture, UrlsInAnyLetterCase)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/Pic.gif";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(MakeGif({10}));
    }
    const QString urls[] = {"file://" + path, "FILE://" + path.toUpper(), "File://" + path};
    for (const QString &url : urls) {
        THTMLPicture p;
        p.SetAsynch(false);
        p.LoadFromURL(url);
        EXPECT_FALSE(p.Empty()) << url.toStdString();
        EXPECT_EQ(p.ID(), url);
    }

    THTMLPicture missing;
    missing.LoadFromURL("file://" + dir.path() + "/none.gif");
    EXPECT_TRUE(missing.Empty());
    THTMLPicture folder;
    folder.LoadFromURL("file://" + dir.path());
    EXPECT_TRUE(folder.Empty()) << "a folder is no picture";
    // Neither a pipe (which would block a reader) nor a damaged file gives a picture.
    const QString pipe = dir.path() + "/pipe.gif";
    ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    THTMLPicture fifo;
    fifo.LoadFromURL("file://" + pipe);
    EXPECT_TRUE(fifo.Empty());
    {
        QFile f(dir.path() + "/damaged.gif");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(MakeGif({10}).left(20) + QByteArray(40, '\xFF'));
    }
    THTMLPicture damaged;
    damaged.LoadFromURL("FILE://" + (dir.path() + "/damaged.gif").toUpper());
    EXPECT_TRUE(damaged.Empty());

    THTMLPicture web;
    web.LoadFromURL("http://example.invalid/a.gif");
    EXPECT_TRUE(web.Empty());
    EXPECT_TRUE(web.Busy());
    THTMLPicture sync;
    sync.SetAsynch(false);
    sync.LoadFromURL("http://example.invalid/a.gif");
    EXPECT_TRUE(sync.Empty());
    EXPECT_FALSE(sync.Busy());
    EXPECT_EQ(sync.ID(), "http://example.invalid/a.gif");

    THTMLPicture res;
    res.LoadFromURL("res://NO_SUCH_RESOURCE");
    EXPECT_TRUE(res.Empty());
    EXPECT_THROW(res.LoadFromResourceID(32000), EResNotFound);
}

TEST(HtmlPicture, ContainerIgnoresCaseCacheDoesNot)
{
    TPictureContainer c(nullptr);
    TPictureItem *item = c.Items()->Add();
    item->SetName("Logo");
    Load(*item->Picture(), MakeGif({10}));
    EXPECT_EQ(c.FindPicture("LOGO"), item->Picture());
    EXPECT_EQ(c.FindPicture("logo"), item->Picture());
    EXPECT_EQ(c.FindPicture("Log"), nullptr);

    THTMLPictureCache cache;
    THTMLPicture *p = cache.AddPicture();
    p->SetID("FILE://A.GIF");
    EXPECT_EQ(cache.FindPicture("FILE://A.GIF"), p);
    EXPECT_EQ(cache.FindPicture("file://a.gif"), nullptr);

    // Setting the items copies them; the container keeps its own collection.
    TPictureContainer other(nullptr);
    other.SetItems(c.Items());
    ASSERT_EQ(other.Items()->Count(), 1);
    EXPECT_NE(other.FindPicture("logo"), item->Picture());
    EXPECT_FALSE(other.FindPicture("logo")->Empty());

    TPictureItem copy(nullptr);
    copy.Assign(item);
    EXPECT_EQ(copy.Name(), "Logo");
    TBitmap notAnItem;
    EXPECT_THROW(copy.Assign(&notAnItem), EInvalidCast);
}

TEST(HtmlPicture, RawDataResourcesByNameAndNumber)
{
    // The test program carries "Smile.GIF" (two frames) and resource 101 (a 3 x 2 bitmap).
    QByteArray data;
    EXPECT_TRUE(FindResourceData("smile.gif", data)) << "names are compared without case";
    EXPECT_TRUE(data.startsWith("GIF89a"));
    EXPECT_TRUE(FindResourceData(101, data));
    EXPECT_TRUE(data.startsWith("BM"));
    EXPECT_FALSE(FindResourceData(102, data));
    EXPECT_FALSE(FindResourceData("", data));
    EXPECT_FALSE(FindResourceData("smile", data));

    for (const QString url : {"res://Smile.GIF", "RES://SMILE.GIF"}) {
        THTMLPicture p;
        p.LoadFromURL(url);
        ASSERT_FALSE(p.Empty()) << url.toStdString();
        EXPECT_EQ(p.FrameCount(), 2);
        EXPECT_EQ(p.ID(), url);
    }
    THTMLPicture byNumber;
    byNumber.LoadFromResourceID(101);
    EXPECT_EQ(byNumber.Width(), 3);
    EXPECT_EQ(byNumber.Height(), 2);
}

} // namespace
