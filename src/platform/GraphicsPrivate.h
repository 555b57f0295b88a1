#pragma once
// Internal state behind the canvas and the device-context calls; only platform sources see it.

#include "platform/Graphics.h"
#include "platform/TextKey.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QHash>
#include <QRawFont>
#include <QRegion>
#include <QGlyphRun>
#include <QList>
#include <QTransform>

#include <array>
#include <bitset>
#include <memory>
#include <mutex>
#include <vector>

// The glyphs of the characters numbers are written with, for runs that need no shaping. No pair
// of them is kerned or joined in the usual fonts, so a run of them laid out by its advances
// measures and draws exactly as Qt's own layout would; each face checks that once for itself.
struct TPlainGlyphs {
    static constexpr int Count = 22;
    // The index of a character in the set, or -1.
    static int IndexOf(char16_t C);
    QRawFont Raw;
    std::array<quint32, Count> Glyph{};
    std::array<qreal, Count> Advance{};
    std::bitset<Count> Usable;                 // the font has the glyph itself
    std::bitset<Count * Count> Joined;         // the pair measures other than its two advances
};

// A font resolved for drawing: made once for each name, height, pitch and style and shared by
// every TFont of those attributes, so that Qt's engine lookup, the metrics and the layouts cached
// under its id are paid once per face rather than once per change of a font.
struct TFontFace {
    UnicodeString Name;
    int Height = 0;
    TFontStyles Style;
    TFontPitch Pitch = TFontPitch::fpDefault;
    QFont Font;
    int Ascent = 0;
    int LineHeight = 0; // the height of the font's text lines
    std::uint64_t Id = 0;
    bool Matches(const TFont &F) const
    {
        return Height == F.Height() && Style == F.Style() && Pitch == F.Pitch() && Name == F.Name();
    }
    // The plain glyphs of the face, made on first use.
    const TPlainGlyphs &PlainGlyphs() const;
    // The width of Text laid out by its advances; false when a character of it or a pair in it
    // needs Qt's layout.
    bool PlainWidth(QStringView Text, int &Width) const;

private:
    mutable std::once_flag FPlainOnce;
    mutable std::unique_ptr<TPlainGlyphs> FPlain;
};

struct TRegionData {
    QRegion Region;
};

struct TCanvas::TDCState {
    bool HasClip = false;
    QRegion Clip; // device pixels
    // The clip the painter came with (the part of a window being painted): every clip of the
    // canvas lies within it, and removing the canvas's clip leaves it in force.
    bool HasBaseClip = false;
    QRegion BaseClip;
    // The clip in force: the canvas's clip within the painter's own.
    bool Effective(QRegion &r) const
    {
        if (HasClip && HasBaseClip)
            r = Clip.intersected(BaseClip);
        else if (HasClip)
            r = Clip;
        else if (HasBaseClip)
            r = BaseClip;
        else
            return false;
        return true;
    }
    int MapMode = MM_TEXT;
    TSize WinExt{1, 1};
    TSize VpExt{1, 1};
    TPoint WinOrg;
    TPoint VpOrg;
    QTransform Base; // the painter's own transform when it was handed over
    bool ClipDirty = true;
    bool BrushDirty = true;
    bool FontDirty = true;
    // What the text output last gave the painter, so that an unchanged font or pen is not set
    // again: setting a font makes Qt resolve it anew. A copy of the painter's own font and pen
    // compares in constant time while nobody else has changed them.
    std::uint64_t PainterFaceId = 0;
    QFont PainterFont;
    TColorRef PainterTextColor = 0;
    QPen PainterPen;
    bool PainterPenSet = false;
    // What the painter held when it was handed over, put back at EndPainting.
    QFont EntryFont;
    QPen EntryPen;
    Qt::LayoutDirection EntryDirection = Qt::LeftToRight;
    // Laid-out text of the runs drawn lately, by font face and text: shaping a run costs more
    // than drawing it, and the same words come back on every repaint. Kept across paints.
    struct TKeptText {
        QList<QGlyphRun> Runs;
        qreal Ascent = 0;
        // The run's pixels in each colour it is drawn in: copying them costs a fraction of
        // drawing its glyphs. Placed at Bounds from the run's (whole-pixel) origin.
        QRect Bounds;
        int SpriteCount = 0;
        std::array<std::pair<QRgb, QImage>, 3> Sprites;
    };
    QHash<TTextKey, TKeptText> TextCache;
    qsizetype TextSpriteBytes = 0;
    // The runs seen once lately (by hash; a collision only admits a run early), and how many.
    struct {
        std::bitset<32768> Bits;
        int Count = 0;
    } TextSeen;

    struct Saved {
        bool HasClip;
        QRegion Clip;
        int MapMode;
        TSize WinExt, VpExt;
        TPoint WinOrg, VpOrg;
        int BkMode;
        TColorRef BkColor, TextColor;
    };
    std::vector<Saved> Stack;
    // Fonts handed out by SelectObject as "the previous font"; they live as long as the canvas.
    std::vector<std::unique_ptr<TFont>> SelectedFonts;
};

namespace GraphicsImpl {

// Logical to device transform of the canvas's mapping mode (without the painter's own).
QTransform MappingTransform(const TCanvas::TDCState &dc);
// The composition mode of a pen mode; false for pmNop (nothing to draw).
bool PenComposition(TPenMode mode, QPainter::CompositionMode &cm);
// Applies a ternary raster operation of the classic blit (the ROP code's index byte) to one pixel.
inline std::uint32_t Rop3(std::uint32_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    const std::uint32_t idx = (rop >> 16) & 0xFF;
    std::uint32_t r = 0;
    for (std::uint32_t k = 0; k < 8; ++k)
        if (idx & (1u << k))
            r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
    return r & 0x00FFFFFFu;
}
// The text of a caption without its "&" marks ("&&" is a plain "&", a last lone "&" goes);
// Index is the position in that text of the letter after the last single "&" (the one DrawText
// underlines), or -1.
QString StripAccelerator(const QString &s, int &Index);
// What a clip or region call reports of r: NULLREGION, SIMPLEREGION or COMPLEXREGION.
int RegionKind(const QRegion &r);
// Takes a bitmap that is being freed out of every memory device context it is selected into.
void ForgetSelectedBitmap(TBitmap *Bitmap);
// The image's format for drawing: 32 bits per pixel, opaque or with alpha.
QImage ToDrawable(const QImage &img);
// A copy of img whose pixels of colour key are fully transparent.
QImage MaskColor(const QImage &img, QRgb key);
// Reads an image of the named format. Qt's reader asks every image plug-in of the system whether
// it knows the format, loading each one, even when the format is built in: that is done only
// when the data turn out not to be of the named format.
QImage ReadImageAs(QIODevice &Device, const char *Format, QString *Error = nullptr);

} // namespace GraphicsImpl
