// Colour values: the fixed classic scheme of the system colours and the colour names.
#include "platform/Graphics.h"

#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <gtest/gtest.h>

TEST(GraphicsColors, SystemColoursResolveToTheClassicScheme)
{
    struct Case {
        TColor Color;
        int R, G, B;
    };
    const Case cases[] = {
        {clBtnFace, 240, 240, 240},   {clWindow, 255, 255, 255},       {clWindowText, 0, 0, 0},
        {clHighlight, 51, 153, 255},  {clHighlightText, 255, 255, 255}, {clInfoBk, 255, 255, 225},
        {clInfoText, 0, 0, 0},        {clBtnShadow, 160, 160, 160},    {clBtnHighlight, 255, 255, 255},
        {clGrayText, 109, 109, 109},  {cl3DDkShadow, 105, 105, 105},   {cl3DLight, 227, 227, 227},
        {clActiveCaption, 153, 180, 209}, {clInactiveCaption, 191, 205, 219}, {clMenu, 240, 240, 240},
        {clBtnText, 0, 0, 0},         {clMenuHighlight, 51, 153, 255},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ColorToRGB(c.Color), RGB(c.R, c.G, c.B)) << ColorToString(c.Color).toStdString();
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(static_cast<std::uint32_t>(clWindow), 0xFF000005u);
}

TEST(GraphicsColors, FixedColoursKeepTheirValue)
{
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(15595512), RGB(248, 247, 237));
    EXPECT_EQ(ColorToRGB(clNone), 0xFFFFFFu);
    EXPECT_EQ(ColorToQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(QColorToColor(QColor(1, 2, 3)), static_cast<TColor>(0x030201));
    EXPECT_EQ(GetRValue(RGB(1, 2, 3)), 1);
    EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
}

TEST(GraphicsColors, NamesAndNumbersBothWays)
{
    EXPECT_EQ(ColorToString(clBtnFace), QStringLiteral("clBtnFace"));
    EXPECT_EQ(ColorToString(clGray), QStringLiteral("clGray"));
    EXPECT_EQ(ColorToString(0x00123456), QStringLiteral("$00123456"));
    EXPECT_EQ(StringToColor(QStringLiteral("clInfoBk")), clInfoBk);
    EXPECT_EQ(StringToColor(QStringLiteral("CLRED")), clRed);
    EXPECT_EQ(StringToColor(QStringLiteral("$00F0FBFF")), clCream);
    EXPECT_EQ(StringToColor(QStringLiteral("16711680")), clBlue);
    EXPECT_EQ(StringToColor(ColorToString(clNone)), clNone);
    EXPECT_THROW(StringToColor(QStringLiteral("clNoSuchColour")), EConvertError);
    EXPECT_THROW(StringToColor(QStringLiteral("$XYZ")), EConvertError);
}

TEST(GraphicsColors, FontSizeAndHeightAt96Dpi)
{
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject *) { ++changes; };
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    EXPECT_EQ(f.Size(), 10);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    EXPECT_EQ(changes, 2); // size 8 was already the default height
    f.SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
    TFont g;
    g.Assign(&f);
    EXPECT_EQ(g.Height(), -16);
    EXPECT_TRUE(g.Style().Contains(TFontStyle::fsBold));
    // The classic names draw with the installed fonts, at their size in pixels.
    g.SetName(QStringLiteral("Verdana"));
    const QFontInfo info(g.QtFont());
    EXPECT_EQ(info.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(info.pixelSize(), 16);
    EXPECT_TRUE(info.bold());
    g.SetName(QStringLiteral("Courier New"));
    EXPECT_EQ(QFontInfo(g.QtFont()).family(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(MapFontFamily(QStringLiteral("Verdana")), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(MapFontFamily(QStringLiteral("Courier New")), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(MapFontFamily(QStringLiteral("Tahoma"), TFontPitch::fpFixed), QStringLiteral("DejaVu Sans Mono"));
}
