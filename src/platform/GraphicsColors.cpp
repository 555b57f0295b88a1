// Colour values: the fixed classic scheme of the system colours and the colour names.
#include "platform/Graphics.h"

#include <QColor>

#include <array>

namespace {

// The classic default scheme, fixed so that drawing is identical on every machine.
constexpr std::array<TColorRef, 31> SysColors = {
    RGB(200, 200, 200), // COLOR_SCROLLBAR
    RGB(0, 0, 0),       // COLOR_BACKGROUND
    RGB(153, 180, 209), // COLOR_ACTIVECAPTION
    RGB(191, 205, 219), // COLOR_INACTIVECAPTION
    RGB(240, 240, 240), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(100, 100, 100), // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(0, 0, 0),       // COLOR_CAPTIONTEXT
    RGB(180, 180, 180), // COLOR_ACTIVEBORDER
    RGB(244, 247, 252), // COLOR_INACTIVEBORDER
    RGB(171, 171, 171), // COLOR_APPWORKSPACE
    RGB(51, 153, 255),  // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(240, 240, 240), // COLOR_BTNFACE
    RGB(160, 160, 160), // COLOR_BTNSHADOW
    RGB(109, 109, 109), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(67, 78, 84),    // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(105, 105, 105), // COLOR_3DDKSHADOW
    RGB(227, 227, 227), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(0, 0, 0),       // unused index 25
    RGB(0, 102, 204),   // COLOR_HOTLIGHT
    RGB(185, 209, 234), // COLOR_GRADIENTACTIVECAPTION
    RGB(215, 228, 242), // COLOR_GRADIENTINACTIVECAPTION
    RGB(51, 153, 255),  // COLOR_MENUHILIGHT
    RGB(240, 240, 240), // COLOR_MENUBAR
};

struct ColorName {
    TColor Value;
    const char *Name;
};

// Lookup order matters for ColorToString: the first name of a value wins ("clGray", not "clDkGray").
constexpr ColorName ColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
    {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"}, {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"}, {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"}, {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"}, {clMenuText, "clMenuText"}, {clNone, "clNone"},
    {clScrollBar, "clScrollBar"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
};

} // namespace

TColorRef GetSysColor(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(SysColors.size()))
        return 0;
    return SysColors[static_cast<std::size_t>(Index)];
}

TColorRef ColorToRGB(TColor Color)
{
    const auto v = static_cast<std::uint32_t>(Color);
    if ((v & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(static_cast<int>(v & 0xFF));
    return v & 0x00FFFFFFu;
}

bool ColorToIdent(TColor Color, UnicodeString &Ident)
{
    for (const auto &c : ColorNames)
        if (c.Value == Color) {
            Ident = QString::fromLatin1(c.Name);
            return true;
        }
    return false;
}

bool IdentToColor(const UnicodeString &Ident, TColor &Color)
{
    for (const auto &c : ColorNames)
        if (Ident.compare(QLatin1String(c.Name), Qt::CaseInsensitive) == 0) {
            Color = c.Value;
            return true;
        }
    return false;
}

UnicodeString ColorToString(TColor Color)
{
    UnicodeString s;
    if (ColorToIdent(Color, s))
        return s;
    return QStringLiteral("$") + QStringLiteral("%1").arg(static_cast<std::uint32_t>(Color), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const UnicodeString &S)
{
    TColor c = 0;
    const QString t = S.trimmed();
    if (IdentToColor(t, c))
        return c;
    bool ok = false;
    qlonglong v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok, 10);
    if (!ok || v < -2147483648LL || v > 0xFFFFFFFFLL)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
    return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

QColor ColorToQColor(TColor Color)
{
    const TColorRef c = ColorToRGB(Color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor QColorToColor(const QColor &c)
{
    return static_cast<TColor>(RGB(c.red(), c.green(), c.blue()));
}
