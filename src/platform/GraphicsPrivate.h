#pragma once
// Internal state behind the canvas and the device-context calls; only platform sources see it.

#include "platform/Graphics.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QHash>
#include <QRegion>
#include <QStaticText>
#include <QTransform>

#include <memory>
#include <vector>

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
    // Laid-out text of the runs drawn lately, by font and text: shaping a run costs more than
    // drawing it, and the same words come back on every repaint.
    QHash<std::pair<QFont, QString>, std::pair<QStaticText, qreal>> TextCache;

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

} // namespace GraphicsImpl
