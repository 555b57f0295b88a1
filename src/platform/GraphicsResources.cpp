// The program's named pictures: button and grid glyphs and cursors, drawn here at first use so
// that they are the same on every machine. A picture with the same name in the Qt resources
// (":/bitmaps/NAME.bmp" or ".png", ":/cursors/NAME.png") takes precedence.
#include "platform/GraphicsPrivate.h"

#include <QFile>
#include <QResource>
#include <QHash>
#include <QPainterPath>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>

namespace {

// Glyph strips of the classic buttons are keyed out by this olive (their lower-left pixel).
const QColor KeyOlive(128, 128, 0);
const QColor KeyMagenta(255, 0, 255);

QImage Canvas(int w, int h, const QColor &background)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.fill(background);
    return img;
}

// A painter without antialiasing, so glyphs keep a handful of solid colours.
struct GlyphPainter : QPainter {
    explicit GlyphPainter(QImage *img) : QPainter(img) { setRenderHint(QPainter::Antialiasing, false); }
    void Pixels(const QColor &c, std::initializer_list<QPoint> pts)
    {
        for (const QPoint &p : pts)
            fillRect(QRect(p, QSize(1, 1)), c);
    }
    void Line(const QColor &c, int width, std::initializer_list<QPoint> pts)
    {
        setPen(QPen(c, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        QPolygon poly;
        for (const QPoint &p : pts)
            poly << p;
        drawPolyline(poly);
    }
    void Poly(const QColor &c, std::initializer_list<QPoint> pts)
    {
        setPen(c);
        setBrush(c);
        QPolygon poly;
        for (const QPoint &p : pts)
            poly << p;
        drawPolygon(poly);
    }
};

// The disabled frame of a glyph: its shape in white one pixel down and right, then in grey.
QImage DisabledFrame(const QImage &normal, const QColor &key)
{
    QImage out = Canvas(normal.width(), normal.height(), key);
    const QRgb k = key.rgb();
    auto inShape = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= normal.width() || y >= normal.height())
            return false;
        const QRgb p = normal.pixel(x, y);
        return p != k && qGray(p) < 200;
    };
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            if (inShape(x, y))
                out.setPixel(x, y, qRgb(128, 128, 128));
            else if (inShape(x - 1, y - 1))
                out.setPixel(x, y, qRgb(255, 255, 255));
        }
    return out;
}

// A strip of two frames: normal and disabled.
QImage TwoFrames(const std::function<void(GlyphPainter &)> &draw, int h = 18)
{
    QImage normal = Canvas(18, h, KeyOlive);
    {
        GlyphPainter p(&normal);
        draw(p);
    }
    QImage strip = Canvas(36, h, KeyOlive);
    GlyphPainter p(&strip);
    p.drawImage(0, 0, normal);
    p.drawImage(18, 0, DisabledFrame(normal, KeyOlive));
    return strip;
}

const QColor Green(0, 128, 0), Red(255, 0, 0), DarkRed(128, 0, 0),
    Navy(0, 0, 128), Black(0, 0, 0), White(255, 255, 255), Gray(128, 128, 128), Silver(192, 192, 192),
    Yellow(255, 255, 0);

void Tick(GlyphPainter &p, const QColor &c, int dx = 0, int dy = 0)
{
    p.Line(c, 2, {QPoint(3 + dx, 9 + dy), QPoint(7 + dx, 13 + dy), QPoint(14 + dx, 4 + dy)});
}

void Cross(GlyphPainter &p, const QColor &c)
{
    p.Line(c, 2, {QPoint(4, 4), QPoint(13, 13)});
    p.Line(c, 2, {QPoint(13, 4), QPoint(4, 13)});
}

// --- the classic button glyphs ------------------------------------------------------------------

QImage LbOk() { return TwoFrames([](GlyphPainter &p) { Tick(p, Green); }); }
QImage LbYes() { return TwoFrames([](GlyphPainter &p) { Tick(p, Green); }); }
QImage LbCancel() { return TwoFrames([](GlyphPainter &p) { Cross(p, Red); }); }

QImage LbNo()
{
    return TwoFrames([](GlyphPainter &p) {
        p.setPen(QPen(Red, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRect(3, 3, 11, 11));
        p.Line(Red, 2, {QPoint(5, 5), QPoint(12, 12)});
    });
}

QImage LbHelp()
{
    return TwoFrames([](GlyphPainter &p) {
        p.Line(Navy, 2, {QPoint(5, 5), QPoint(6, 3), QPoint(11, 3), QPoint(12, 5), QPoint(12, 7), QPoint(9, 9),
                         QPoint(9, 11)});
        p.fillRect(QRect(8, 13, 2, 2), Navy);
    });
}

QImage LbClose()
{
    return TwoFrames([](GlyphPainter &p) {
        // A door with an arrow leaving through it.
        p.setPen(Black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(2, 2, 8, 13));
        p.fillRect(QRect(3, 3, 7, 12), Yellow);
        p.Line(Black, 1, {QPoint(7, 9), QPoint(15, 9)});
        p.Poly(Black, {QPoint(13, 6), QPoint(16, 9), QPoint(13, 12)});
    });
}

QImage LbAbort()
{
    return TwoFrames([](GlyphPainter &p) {
        p.setPen(DarkRed);
        p.setBrush(Red);
        p.drawEllipse(QRect(2, 2, 13, 13));
        p.Line(White, 2, {QPoint(6, 6), QPoint(11, 11)});
        p.Line(White, 2, {QPoint(11, 6), QPoint(6, 11)});
    });
}

QImage LbRetry()
{
    return TwoFrames([](GlyphPainter &p) {
        p.setPen(QPen(Green, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(3, 3, 11, 11), 90 * 16, 270 * 16);
        p.Poly(Green, {QPoint(8, 1), QPoint(12, 3), QPoint(8, 6)});
    });
}

QImage LbIgnore()
{
    return TwoFrames([](GlyphPainter &p) {
        // A figure walking past.
        p.setPen(Black);
        p.setBrush(Black);
        p.drawEllipse(QRect(7, 1, 3, 3));
        p.Line(Black, 2, {QPoint(8, 5), QPoint(8, 10)});
        p.Line(Black, 1, {QPoint(8, 10), QPoint(5, 15)});
        p.Line(Black, 1, {QPoint(8, 10), QPoint(11, 15)});
        p.Line(Black, 1, {QPoint(4, 7), QPoint(12, 6)});
    });
}

QImage LbAll()
{
    return TwoFrames(
        [](GlyphPainter &p) {
            Tick(p, Green, -1, -2);
            Tick(p, Green, 2, 3);
        },
        19);
}

QImage LbArrow()
{
    QImage img = Canvas(5, 3, KeyOlive);
    GlyphPainter p(&img);
    p.fillRect(QRect(0, 0, 5, 1), Black);
    p.fillRect(QRect(1, 1, 3, 1), Black);
    p.fillRect(QRect(2, 2, 1, 1), Black);
    return img;
}

// --- grid check boxes and radio buttons -----------------------------------------------------------

// The tick of the grid's 16 x 16 check boxes, pixel for pixel.
const std::initializer_list<QPoint> GridTick = {
    {10, 4}, {9, 5}, {10, 5}, {4, 6}, {8, 6}, {9, 6}, {10, 6}, {4, 7}, {5, 7}, {7, 7}, {8, 7},
    {9, 7},  {4, 8}, {5, 8},  {6, 8}, {7, 8}, {8, 8}, {5, 9},  {6, 9}, {7, 9}, {6, 10}};

QImage GridCheck(bool checked, bool enabled)
{
    QImage img = Canvas(16, 16, KeyMagenta);
    GlyphPainter p(&img);
    const QColor frame = enabled ? QColor(0x1C, 0x51, 0x80) : QColor(0xCA, 0xC8, 0xBB);
    p.setPen(frame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(1, 1, 12, 12)); // the 13 x 13 box
    const QColor from = checked ? QColor(0xE2, 0xE2, 0xDD) : QColor(0xDC, 0xDC, 0xD7);
    for (int y = 2; y <= 12; ++y)
        for (int x = 2; x <= 12; ++x) {
            if (!enabled) {
                img.setPixel(x, y, qRgb(255, 255, 255));
                continue;
            }
            // A diagonal gradient from the top-left to white at the bottom-right.
            const double t = ((x - 2) + (y - 2)) / 20.0;
            img.setPixel(x, y, qRgb(static_cast<int>(std::lround(from.red() + (255 - from.red()) * t)),
                                    static_cast<int>(std::lround(from.green() + (255 - from.green()) * t)),
                                    static_cast<int>(std::lround(from.blue() + (255 - from.blue()) * t))));
        }
    if (checked)
        p.Pixels(enabled ? QColor(0x21, 0xA1, 0x21) : frame, GridTick);
    return img;
}

// The 20 x 20 classic (sunken) check boxes.
QImage ClassicCheck(bool checked, bool enabled)
{
    QImage img = Canvas(20, 20, KeyOlive);
    GlyphPainter p(&img);
    p.fillRect(QRect(4, 4, 12, 1), Gray);
    p.fillRect(QRect(4, 4, 1, 12), Gray);
    p.fillRect(QRect(4, 15, 12, 1), White);
    p.fillRect(QRect(15, 4, 1, 12), White);
    p.fillRect(QRect(5, 5, 10, 1), Black);
    p.fillRect(QRect(5, 5, 1, 10), Black);
    p.fillRect(QRect(5, 14, 10, 1), Silver);
    p.fillRect(QRect(14, 5, 1, 10), Silver);
    for (int y = 6; y < 14; ++y)
        for (int x = 6; x < 14; ++x)
            img.setPixel(x, y, enabled || (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(192, 192, 192));
    if (checked) {
        const QColor c = enabled ? Black : Gray;
        for (int i = 0; i < 7; ++i) {
            static const int drop[7] = {2, 3, 4, 3, 2, 1, 0};
            p.fillRect(QRect(7 + i, 7 + drop[i], 1, 3), c);
        }
    }
    return img;
}

QImage XpRadio(bool selected, bool enabled)
{
    QImage img = Canvas(16, 16, KeyMagenta);
    GlyphPainter p(&img);
    p.setPen(enabled ? QColor(0x1C, 0x51, 0x80) : QColor(0xCA, 0xC8, 0xBB));
    p.setBrush(enabled ? QColor(0xF4, 0xF4, 0xF0) : White);
    p.drawEllipse(QRect(2, 2, 11, 11));
    if (selected) {
        const QColor dot = enabled ? QColor(0x21, 0xA1, 0x21) : QColor(0xCA, 0xC8, 0xBB);
        p.setPen(dot);
        p.setBrush(dot);
        p.drawEllipse(QRect(5, 5, 5, 5));
    }
    return img;
}

QImage ClassicRadio(bool selected, bool enabled)
{
    QImage img = Canvas(16, 16, KeyOlive);
    GlyphPainter p(&img);
    p.setPen(Gray);
    p.setBrush(enabled ? White : Silver);
    p.drawEllipse(QRect(2, 2, 11, 11));
    p.setPen(White);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRect(2, 2, 11, 11), 225 * 16, 180 * 16);
    if (selected) {
        p.setPen(enabled ? Black : Gray);
        p.setBrush(enabled ? Black : Gray);
        p.drawEllipse(QRect(6, 6, 3, 3));
    }
    return img;
}

QImage MetroCheck(bool checked)
{
    QImage img = Canvas(16, 16, KeyMagenta);
    GlyphPainter p(&img);
    p.setPen(QColor(0x33, 0x33, 0x33));
    p.setBrush(White);
    p.drawRect(QRect(1, 1, 13, 13));
    if (checked)
        p.Line(QColor(0x33, 0x33, 0x33), 2, {QPoint(4, 8), QPoint(7, 11), QPoint(12, 5)});
    return img;
}

QImage MetroRadio(bool on)
{
    QImage img = Canvas(16, 16, KeyMagenta);
    GlyphPainter p(&img);
    p.setPen(QColor(0x33, 0x33, 0x33));
    p.setBrush(White);
    p.drawEllipse(QRect(1, 1, 13, 13));
    if (on) {
        p.setBrush(QColor(0x33, 0x33, 0x33));
        p.drawEllipse(QRect(5, 5, 5, 5));
    }
    return img;
}

// --- node buttons, filter, close, spin and pan pictures -------------------------------------------

QImage NodeButton(int size, bool expanded, bool xp)
{
    QImage img = Canvas(size, size, KeyMagenta);
    GlyphPainter p(&img);
    const int o = size == 16 ? 3 : 0;
    const int s = 9;
    p.setPen(xp ? QColor(0x7A, 0x98, 0xAF) : Gray);
    p.setBrush(White);
    p.drawRect(QRect(o, o, s - 1, s - 1));
    if (xp)
        for (int y = 1; y < s - 1; ++y)
            p.fillRect(QRect(o + 1, o + y, s - 2, 1), QColor(255 - y * 3, 255 - y * 3, 250 - y * 4));
    const QColor mark = Black;
    p.fillRect(QRect(o + 2, o + 4, 5, 1), mark);
    if (!expanded)
        p.fillRect(QRect(o + 4, o + 2, 1, 5), mark);
    return img;
}

QImage Filter()
{
    QImage img = Canvas(16, 16, KeyMagenta);
    GlyphPainter p(&img);
    p.fillRect(QRect(1, 1, 14, 14), Silver);
    p.fillRect(QRect(1, 0, 14, 1), White);
    p.fillRect(QRect(0, 1, 1, 14), White);
    p.fillRect(QRect(1, 15, 15, 1), Gray);
    p.fillRect(QRect(15, 1, 1, 14), Gray);
    p.Poly(Black, {QPoint(4, 4), QPoint(11, 4), QPoint(8, 8), QPoint(8, 12), QPoint(7, 12), QPoint(7, 8)});
    p.fillRect(QRect(5, 5, 5, 1), Gray);
    return img;
}

QImage CloseGlyph()
{
    QImage img = Canvas(16, 16, KeyMagenta);
    GlyphPainter p(&img);
    p.Line(Black, 2, {QPoint(4, 4), QPoint(11, 11)});
    p.Line(Black, 2, {QPoint(11, 4), QPoint(4, 11)});
    return img;
}

// The search footer's glyphs: an arrow down or up, a close cross in its hot and pressed
// looks, and a marker pen; the disabled forms are grey.
QImage SearchArrow(bool down, bool enabled)
{
    QImage img = Canvas(16, 16, KeyMagenta);
    GlyphPainter p(&img);
    const QColor c = enabled ? QColor(0, 0, 128) : Gray;
    p.fillRect(QRect(7, down ? 3 : 7, 2, 6), c);
    for (int i = 0; i < 4; ++i) {
        const int y = down ? 9 + i : 6 - i;
        p.fillRect(QRect(4 + i, y, 8 - 2 * i, 1), c);
    }
    return img;
}

QImage SearchClose(bool hot, bool down)
{
    QImage img = Canvas(16, 16, KeyMagenta);
    GlyphPainter p(&img);
    if (hot || down) {
        p.fillRect(QRect(1, 1, 14, 14), down ? Gray : Silver);
        p.fillRect(QRect(1, 0, 14, 1), down ? Gray : White);
        p.fillRect(QRect(0, 1, 1, 14), down ? Gray : White);
    }
    const int o = down ? 1 : 0;
    p.Line(Black, 2, {QPoint(4 + o, 4 + o), QPoint(11 + o, 11 + o)});
    p.Line(Black, 2, {QPoint(11 + o, 4 + o), QPoint(4 + o, 11 + o)});
    return img;
}

QImage SearchHighlight(bool enabled)
{
    QImage img = Canvas(16, 16, KeyMagenta);
    GlyphPainter p(&img);
    p.fillRect(QRect(1, 11, 14, 3), enabled ? QColor(255, 255, 0) : Silver);
    p.Poly(enabled ? Black : Gray, {QPoint(5, 10), QPoint(11, 3), QPoint(13, 5), QPoint(7, 12)});
    return img;
}

QImage SpinGlyph(bool up)
{
    QImage img = Canvas(9, 6, KeyOlive);
    GlyphPainter p(&img);
    for (int i = 0; i < 4; ++i) {
        const int y = up ? 1 + i : 4 - i;
        p.fillRect(QRect(4 - i, y, 2 * i + 1, 1), Black);
    }
    return img;
}

QImage Spectrum()
{
    // Hue across the width; down each column from nearly white to the full hue (rows 63 and 64)
    // and on to nearly black.
    QImage img = Canvas(128, 128, White);
    for (int x = 0; x < 128; ++x) {
        const double hue = 1.4 + x * 2.772;
        const int sector = static_cast<int>(hue / 60.0) % 6;
        const double f = (hue - 60.0 * static_cast<int>(hue / 60.0)) / 60.0;
        double r = 0, g = 0, b = 0;
        switch (sector) {
        case 0: r = 1, g = f; break;
        case 1: r = 1 - f, g = 1; break;
        case 2: g = 1, b = f; break;
        case 3: g = 1 - f, b = 1; break;
        case 4: r = f, b = 1; break;
        default: r = 1, b = 1 - f; break;
        }
        for (int y = 0; y < 128; ++y) {
            auto channel = [y](double c) {
                const double v = y < 64 ? 1.0 + (c - 1.0) * (y + 1) / 64.0 : c * (128 - y) / 64.0;
                return static_cast<int>(std::lround(v * 255.0));
            };
            img.setPixel(x, y, qRgb(channel(r), channel(g), channel(b)));
        }
    }
    return img;
}

QImage PanMarker(bool horizontal, bool vertical)
{
    QImage img = Canvas(28, 28, White);
    GlyphPainter p(&img);
    p.setPen(Black);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(0, 0, 27, 27));
    p.fillRect(QRect(12, 12, 4, 4), Black);
    if (vertical) {
        p.Poly(Black, {QPoint(14, 3), QPoint(10, 8), QPoint(18, 8)});
        p.Poly(Black, {QPoint(14, 24), QPoint(10, 19), QPoint(18, 19)});
    }
    if (horizontal) {
        p.Poly(Black, {QPoint(3, 14), QPoint(8, 10), QPoint(8, 18)});
        p.Poly(Black, {QPoint(24, 14), QPoint(19, 10), QPoint(19, 18)});
    }
    return img;
}

using Factory = std::function<QImage()>;

const QHash<QString, Factory> &Bitmaps()
{
    static const QHash<QString, Factory> table = {
        {QStringLiteral("LBOK"), LbOk},
        {QStringLiteral("LBCANCEL"), LbCancel},
        {QStringLiteral("LBHELP"), LbHelp},
        {QStringLiteral("LBYES"), LbYes},
        {QStringLiteral("LBNO"), LbNo},
        {QStringLiteral("LBCLOSE"), LbClose},
        {QStringLiteral("LBABORT"), LbAbort},
        {QStringLiteral("LBRETRY"), LbRetry},
        {QStringLiteral("LBIGNORE"), LbIgnore},
        {QStringLiteral("LBALL"), LbAll},
        {QStringLiteral("LBARROW"), LbArrow},
        {QStringLiteral("ESGCHK01"), [] { return ClassicCheck(true, true); }},
        {QStringLiteral("ESGCHK02"), [] { return ClassicCheck(false, true); }},
        {QStringLiteral("ESGCHK03"), [] { return ClassicCheck(true, false); }},
        {QStringLiteral("ESGCHK04"), [] { return ClassicCheck(false, false); }},
        {QStringLiteral("ESGCHK05"), [] { return GridCheck(true, true); }},
        {QStringLiteral("ESGCHK06"), [] { return GridCheck(false, true); }},
        {QStringLiteral("ESGCHK07"), [] { return GridCheck(true, false); }},
        {QStringLiteral("ESGCHK08"), [] { return GridCheck(false, false); }},
        {QStringLiteral("ESGRAD01"), [] { return ClassicRadio(true, true); }},
        {QStringLiteral("ESGRAD02"), [] { return ClassicRadio(false, true); }},
        {QStringLiteral("ESGRAD03"), [] { return ClassicRadio(true, false); }},
        {QStringLiteral("ESGRAD04"), [] { return ClassicRadio(false, false); }},
        {QStringLiteral("ESGRAD05"), [] { return XpRadio(true, true); }},
        {QStringLiteral("ESGRAD06"), [] { return XpRadio(false, true); }},
        {QStringLiteral("ESGRAD07"), [] { return XpRadio(true, false); }},
        {QStringLiteral("ESGRAD08"), [] { return XpRadio(false, false); }},
        {QStringLiteral("ESGLEAFOPEN"), [] { return NodeButton(16, true, false); }},
        {QStringLiteral("ESGLEAFCLOSE"), [] { return NodeButton(16, false, false); }},
        {QStringLiteral("XPNODEO"), [] { return NodeButton(9, true, true); }},
        {QStringLiteral("XPNODEC"), [] { return NodeButton(9, false, true); }},
        {QStringLiteral("ESGFILT"), Filter},
        {QStringLiteral("ESGCLOSE"), CloseGlyph},
        {QStringLiteral("ESGCLOSEH"), [] { return SearchClose(true, false); }},
        {QStringLiteral("ESGCLOSED"), [] { return SearchClose(false, true); }},
        {QStringLiteral("ESGARDOWN"), [] { return SearchArrow(true, true); }},
        {QStringLiteral("ESGARDOWND"), [] { return SearchArrow(true, false); }},
        {QStringLiteral("ESGARUP"), [] { return SearchArrow(false, true); }},
        {QStringLiteral("ESGARUPD"), [] { return SearchArrow(false, false); }},
        {QStringLiteral("ESGHI"), [] { return SearchHighlight(true); }},
        {QStringLiteral("ESGHID"), [] { return SearchHighlight(false); }},
        {QStringLiteral("METROCHECKON"), [] { return MetroCheck(true); }},
        {QStringLiteral("METROCHECKOFF"), [] { return MetroCheck(false); }},
        {QStringLiteral("METRORADIOON"), [] { return MetroRadio(true); }},
        {QStringLiteral("METRORADIOOFF"), [] { return MetroRadio(false); }},
        {QStringLiteral("ESGSPINUP"), [] { return SpinGlyph(true); }},
        {QStringLiteral("ESGSPINDOWN"), [] { return SpinGlyph(false); }},
        {QStringLiteral("QRV_SPECTRUM"), Spectrum},
        {QStringLiteral("INTLI1"), [] { return PanMarker(true, true); }},
        {QStringLiteral("INTLI2"), [] { return PanMarker(true, false); }},
        {QStringLiteral("INTLI3"), [] { return PanMarker(false, true); }},
    };
    return table;
}

// --- cursors --------------------------------------------------------------------------------------

struct CursorPicture {
    QImage Image;
    QPoint HotSpot;
};

CursorPicture ArrowCursor(int dx, int dy)
{
    // A pan cursor: the origin mark with an arrow pointing in the direction (dx, dy).
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    GlyphPainter p(&img);
    p.setPen(Black);
    p.setBrush(White);
    p.drawEllipse(QRect(12, 12, 7, 7));
    if (dx || dy) {
        const QPoint c(16, 16), tip(16 + dx * 13, 16 + dy * 13);
        p.setPen(QPen(Black, 2));
        p.drawLine(c, tip);
        const QPoint side1(tip.x() - dx * 4 - dy * 3, tip.y() - dy * 4 + dx * 3);
        const QPoint side2(tip.x() - dx * 4 + dy * 3, tip.y() - dy * 4 - dx * 3);
        p.Poly(Black, {tip, side1, side2});
    }
    return {img, QPoint(16, 16)};
}

CursorPicture SelectCursor(bool column, bool row)
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    GlyphPainter p(&img);
    if (column) {
        p.Poly(Black, {QPoint(16, 30), QPoint(11, 20), QPoint(15, 20), QPoint(15, 2), QPoint(17, 2), QPoint(17, 20),
                       QPoint(21, 20)});
        return {img, QPoint(16, 30)};
    }
    if (row) {
        p.Poly(Black, {QPoint(30, 16), QPoint(20, 11), QPoint(20, 15), QPoint(2, 15), QPoint(2, 17), QPoint(20, 17),
                       QPoint(20, 21)});
        return {img, QPoint(30, 16)};
    }
    p.Poly(Black, {QPoint(30, 30), QPoint(18, 26), QPoint(21, 23), QPoint(4, 6), QPoint(6, 4), QPoint(23, 21),
                   QPoint(26, 18)});
    return {img, QPoint(30, 30)};
}

CursorPicture CellCursor()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    GlyphPainter p(&img);
    p.Line(Black, 3, {QPoint(16, 4), QPoint(16, 28)});
    p.Line(Black, 3, {QPoint(4, 16), QPoint(28, 16)});
    p.Line(White, 1, {QPoint(16, 5), QPoint(16, 27)});
    p.Line(White, 1, {QPoint(5, 16), QPoint(27, 16)});
    return {img, QPoint(16, 16)};
}

CursorPicture PickerCursor()
{
    // An eyedropper lying from its tip at the lower left up to the bulb at the upper right.
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    GlyphPainter p(&img);
    p.Poly(Black, {QPoint(1, 30), QPoint(3, 25), QPoint(17, 11), QPoint(21, 15), QPoint(7, 29)});
    p.Poly(White, {QPoint(4, 26), QPoint(17, 13), QPoint(19, 15), QPoint(6, 28)});
    p.Line(Black, 2, {QPoint(15, 9), QPoint(23, 17)});
    p.setPen(Black);
    p.setBrush(Black);
    p.drawEllipse(QRect(20, 3, 9, 9));
    return {img, QPoint(1, 30)};
}

const QHash<QString, std::function<CursorPicture()>> &Cursors()
{
    static const QHash<QString, std::function<CursorPicture()>> table = {
        {QStringLiteral("8000"), [] { return ArrowCursor(0, 0); }},
        // The pan cursors by direction: down, left, right, up, then up-right, up-left,
        // down-right and down-left.
        {QStringLiteral("8001"), [] { return ArrowCursor(0, 1); }},
        {QStringLiteral("8002"), [] { return ArrowCursor(-1, 0); }},
        {QStringLiteral("8003"), [] { return ArrowCursor(1, 0); }},
        {QStringLiteral("8004"), [] { return ArrowCursor(0, -1); }},
        {QStringLiteral("8005"), [] { return ArrowCursor(1, -1); }},
        {QStringLiteral("8006"), [] { return ArrowCursor(-1, -1); }},
        {QStringLiteral("8007"), [] { return ArrowCursor(1, 1); }},
        {QStringLiteral("8008"), [] { return ArrowCursor(-1, 1); }},
        {QStringLiteral("8010"), [] { return SelectCursor(false, true); }},
        {QStringLiteral("8011"), [] { return SelectCursor(true, false); }},
        {QStringLiteral("8012"), [] { return SelectCursor(false, false); }},
        {QStringLiteral("8014"), CellCursor},
        {QStringLiteral("QRV_POINTER"), PickerCursor},
    };
    return table;
}

// Reads a little-endian number of Size bytes at Offset of a buffer known to hold it.
std::uint32_t LittleEndian(const uchar *Data, qsizetype Offset, int Size)
{
    std::uint32_t v = 0;
    for (int i = Size - 1; i >= 0; --i)
        v = (v << 8) | Data[Offset + i];
    return v;
}

// The program's own pictures: uncompressed Windows bitmaps of 4, 8 or 24 bits per pixel, decoded
// straight from the program's resources. Qt's reader would first scan the system's image
// plug-ins, which costs a start of the program more than the pictures do. Anything else gives a
// null image and goes to Qt's reader.
QImage DecodePlainBitmap(const uchar *Data, qsizetype Size)
{
    constexpr qsizetype FileHeader = 14;
    if (!Data || Size < FileHeader + 40 || Data[0] != 'B' || Data[1] != 'M')
        return {};
    const qsizetype bits = LittleEndian(Data, 10, 4);
    const qsizetype info = LittleEndian(Data, FileHeader, 4);
    const auto width = std::int32_t(LittleEndian(Data, FileHeader + 4, 4));
    const auto height = std::int32_t(LittleEndian(Data, FileHeader + 8, 4));
    const int depth = int(LittleEndian(Data, FileHeader + 14, 2));
    const std::uint32_t compression = LittleEndian(Data, FileHeader + 16, 4);
    std::uint32_t colours = LittleEndian(Data, FileHeader + 32, 4);
    if (info < 40 || width <= 0 || width > 4096 || height == 0 || height < -4096 || height > 4096 ||
        compression != 0 || (depth != 4 && depth != 8 && depth != 24))
        return {};
    const int rows = height < 0 ? -height : height;
    if (depth != 24 && colours == 0)
        colours = 1u << depth;
    if (depth != 24 && colours > (1u << depth))
        return {};
    const qsizetype palette = FileHeader + info;
    const qsizetype stride = ((qsizetype(width) * depth + 31) / 32) * 4;
    if (depth != 24 && palette + qsizetype(colours) * 4 > Size)
        return {};
    if (bits < palette || bits + stride * rows > Size)
        return {};
    QImage img(width, rows, depth == 24 ? QImage::Format_RGB32 : QImage::Format_Indexed8);
    if (img.isNull())
        return {};
    if (depth != 24) {
        QList<QRgb> table(colours);
        for (std::uint32_t i = 0; i < colours; ++i) {
            const uchar *e = Data + palette + qsizetype(i) * 4;
            table[i] = qRgb(e[2], e[1], e[0]);
        }
        img.setColorTable(table);
    }
    for (int y = 0; y < rows; ++y) {
        const uchar *src = Data + bits + stride * (height < 0 ? y : rows - 1 - y);
        uchar *dst = img.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (depth == 24) {
                const uchar *p = src + qsizetype(x) * 3;
                reinterpret_cast<QRgb *>(dst)[x] = qRgb(p[2], p[1], p[0]);
            } else {
                const uchar index = depth == 8 ? src[x] : uchar((x % 2 ? src[x / 2] : src[x / 2] >> 4) & 0x0F);
                // An index past the table reads as the table's first colour.
                dst[x] = index < colours ? index : 0;
            }
        }
    }
    return img;
}

bool FromQtResources(const QString &folder, const QString &name, QImage &image)
{
    // The reader is told the format the name gives: guessing it would load every image plug-in
    // the system has, which costs a start of the program more than all its forms together.
    struct Ext {
        const char *Suffix;
        const char *Format;
    };
    static constexpr Ext Exts[] = {{".bmp", "BMP"}, {".png", "PNG"}, {".BMP", "BMP"}, {".PNG", "PNG"}, {"", nullptr}};
    for (const QString &n : {name, name.toUpper(), name.toLower()})
        for (const Ext &ext : Exts) {
            const QString path = QStringLiteral(":/%1/%2%3").arg(folder, n, QLatin1String(ext.Suffix));
            const QResource resource(path);
            if (!resource.isValid())
                continue;
            QImage img;
            if (ext.Format && std::strcmp(ext.Format, "BMP") == 0 &&
                resource.compressionAlgorithm() == QResource::NoCompression)
                img = DecodePlainBitmap(resource.data(), resource.size());
            if (img.isNull() && !ext.Format) {
                img.load(path);
            } else if (img.isNull()) {
                QFile data(path);
                if (data.open(QIODevice::ReadOnly))
                    img = GraphicsImpl::ReadImageAs(data, ext.Format);
            }
            if (!img.isNull()) {
                image = img;
                return true;
            }
        }
    return false;
}

} // namespace

namespace {

// Glyphs are loaded for every drawing of a cell, so each picture is found and decoded once: the
// cache hands out shared images (copied only when someone draws on them), kept in the form a
// bitmap holds them so that taking one over copies nothing either.
struct CachedBitmap {
    QImage Image;
    int Depth = 0;
    bool Found = false;
};

std::mutex &BitmapCacheMutex()
{
    static std::mutex m;
    return m;
}

QHash<QString, CachedBitmap> &BitmapCache()
{
    static QHash<QString, CachedBitmap> cache;
    return cache;
}

CachedBitmap FindUncached(const UnicodeString &Name)
{
    CachedBitmap c;
    QImage img;
    if (FromQtResources(QStringLiteral("bitmaps"), Name, img))
        c.Found = true;
    else {
        const auto &table = Bitmaps();
        const auto it = table.find(Name.toUpper());
        if (it != table.end()) {
            img = it.value()();
            c.Found = true;
        }
    }
    if (c.Found) {
        // A 4-bit file comes in as an 8-bit image: keep what the file said.
        c.Depth = img.format() == QImage::Format_Indexed8 && img.colorCount() <= 16 ? 4 : img.depth();
        c.Image = img.convertToFormat(QImage::Format_RGB32);
        c.Image.setDotsPerMeterX(3780);
        c.Image.setDotsPerMeterY(3780);
    }
    return c;
}

} // namespace

bool FindResourceBitmap(const UnicodeString &Name, QImage &Image, int &Depth)
{
    if (Name.isEmpty())
        return false;
    const QString key = Name.toUpper();
    std::lock_guard<std::mutex> lock(BitmapCacheMutex());
    auto it = BitmapCache().find(key);
    if (it == BitmapCache().end())
        it = BitmapCache().insert(key, FindUncached(Name));
    if (!it->Found)
        return false;
    Image = it->Image;
    Depth = it->Depth;
    return true;
}

bool FindResourceBitmap(const UnicodeString &Name, QImage &Image)
{
    int depth = 0;
    return FindResourceBitmap(Name, Image, depth);
}

void ResourceBitmapsChanged()
{
    std::lock_guard<std::mutex> lock(BitmapCacheMutex());
    BitmapCache().clear();
}

bool FindResourceCursor(const UnicodeString &Name, QImage &Image, TPoint &HotSpot)
{
    if (Name.isEmpty())
        return false;
    if (FromQtResources(QStringLiteral("cursors"), Name, Image)) {
        HotSpot = {Image.width() / 2, Image.height() / 2};
        return true;
    }
    const auto &table = Cursors();
    const auto it = table.find(Name.toUpper());
    if (it == table.end())
        return false;
    const CursorPicture c = it.value()();
    Image = c.Image;
    HotSpot = {c.HotSpot.x(), c.HotSpot.y()};
    return true;
}

QStringList ResourceBitmapNames()
{
    QStringList names = Bitmaps().keys();
    names.sort();
    return names;
}
