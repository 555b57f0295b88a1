// Image lists: adding with a mask colour, drawing enabled and disabled, reading images back.
#include "platform/ImgList.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Two 4 x 4 images side by side: a black square on magenta, then a red one.
std::unique_ptr<TBitmap> Strip()
{
    auto b = std::make_unique<TBitmap>(8, 4);
    TCanvas *c = b->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 8, 4));
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(1, 1, 3, 3));
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(5, 1, 7, 3));
    return b;
}

TColor PixelOf(TBitmap &b, int x, int y)
{
    return QColorToColor(QColor::fromRgb(b.Image().pixel(x, y)));
}

} // namespace

TEST(ImageList, AddMaskedCutsTheStripAndKeysOutTheColour)
{
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto strip = Strip();
    EXPECT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.AddMasked(strip.get(), clDefault), 2); // the lower-left pixel's colour
    EXPECT_EQ(list.Count(), 4);

    TBitmap target(10, 10);
    target.Canvas()->Brush()->SetColor(clLime);
    target.Canvas()->FillRect(Rect(0, 0, 10, 10));
    list.Draw(target.Canvas(), 2, 2, 1);
    EXPECT_EQ(PixelOf(target, 2, 2), clLime); // transparent corner
    EXPECT_EQ(PixelOf(target, 3, 3), clRed);
    list.Draw(target.Canvas(), 2, 2, 7); // out of range: nothing
    EXPECT_EQ(PixelOf(target, 3, 3), clRed);

    TBitmap out;
    ASSERT_TRUE(list.GetBitmap(0, &out));
    EXPECT_EQ(out.Width(), 4);
    EXPECT_EQ(PixelOf(out, 1, 1), clBlack);
    EXPECT_EQ(PixelOf(out, 0, 0), clWhite);

    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(&list, cx, cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 4);
    list.SetWidth(8); // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, DisabledImageIsEmbossedInShadowAndHighlight)
{
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto strip = Strip();
    list.AddMasked(strip.get(), clFuchsia);
    TBitmap target(6, 6);
    target.Canvas()->Brush()->SetColor(clBtnFace);
    target.Canvas()->FillRect(Rect(0, 0, 6, 6));
    list.Draw(target.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(ColorToRGB(PixelOf(target, 1, 1)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(ColorToRGB(PixelOf(target, 3, 3)), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(ColorToRGB(PixelOf(target, 0, 0)), ColorToRGB(clBtnFace));
}

TEST(ImageList, AddWithAMonochromeMask)
{
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto strip = Strip();
    TBitmap mask(8, 4);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 8, 4));
    mask.Canvas()->SetPixel(0, 0, clWhite);
    EXPECT_EQ(list.Add(strip.get(), &mask), 0);
    const QImage img = list.ImageAt(0);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(img.pixel(1, 0)), 255);
    EXPECT_THROW(list.Delete(5), EInvalidOperation);
}
