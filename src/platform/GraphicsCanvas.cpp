// The canvas: drawing with the classic device-context geometry on a QPainter.
#include "platform/GraphicsPrivate.h"
#include "platform/WinGdi.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace GraphicsImpl {

QTransform MappingTransform(const TCanvas::TDCState &dc)
{
    double sx = 1.0, sy = 1.0;
    if (dc.MapMode != MM_TEXT) {
        sx = dc.WinExt.cx ? static_cast<double>(dc.VpExt.cx) / dc.WinExt.cx : 1.0;
        sy = dc.WinExt.cy ? static_cast<double>(dc.VpExt.cy) / dc.WinExt.cy : 1.0;
        if (dc.MapMode == MM_ISOTROPIC) {
            const double m = std::min(std::fabs(sx), std::fabs(sy));
            sx = sx < 0 ? -m : m;
            sy = sy < 0 ? -m : m;
        }
    }
    return QTransform(sx, 0, 0, sy, dc.VpOrg.X - dc.WinOrg.X * sx, dc.VpOrg.Y - dc.WinOrg.Y * sy);
}

bool PenComposition(TPenMode mode, QPainter::CompositionMode &cm)
{
    switch (mode) {
    case TPenMode::pmNop: return false;
    case TPenMode::pmBlack: cm = QPainter::RasterOp_ClearDestination; break;
    case TPenMode::pmWhite: cm = QPainter::RasterOp_SetDestination; break;
    case TPenMode::pmNot: cm = QPainter::RasterOp_NotDestination; break;
    case TPenMode::pmCopy: cm = QPainter::CompositionMode_SourceOver; break;
    case TPenMode::pmNotCopy: cm = QPainter::RasterOp_NotSource; break;
    case TPenMode::pmMergePenNot: cm = QPainter::RasterOp_SourceOrNotDestination; break;
    case TPenMode::pmMaskPenNot: cm = QPainter::RasterOp_SourceAndNotDestination; break;
    case TPenMode::pmMergeNotPen: cm = QPainter::RasterOp_NotSourceOrDestination; break;
    case TPenMode::pmMaskNotPen: cm = QPainter::RasterOp_NotSourceAndDestination; break;
    case TPenMode::pmMerge: cm = QPainter::RasterOp_SourceOrDestination; break;
    case TPenMode::pmNotMerge: cm = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case TPenMode::pmMask: cm = QPainter::RasterOp_SourceAndDestination; break;
    case TPenMode::pmNotMask: cm = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case TPenMode::pmXor: cm = QPainter::RasterOp_SourceXorDestination; break;
    case TPenMode::pmNotXor: cm = QPainter::RasterOp_NotSourceXorDestination; break;
    }
    return true;
}

QImage ToDrawable(const QImage &img)
{
    if (img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32_Premultiplied)
        return img;
    return img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

QImage MaskColor(const QImage &img, QRgb key)
{
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    key &= 0x00FFFFFFu;
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0x00FFFFFFu) == key)
                line[x] = 0;
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace GraphicsImpl

using namespace GraphicsImpl;

namespace {

QColor RefToQColor(TColorRef c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColorRef QRgbToRef(QRgb c)
{
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

QRgb RefToQRgb(TColorRef c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A normalised pixel rectangle of the corners (x1, y1) and (x2, y2), right and bottom exclusive.
QRect PixelRect(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

// The brush pattern of the classic hatch styles.
Qt::BrushStyle HatchStyle(TBrushStyle s)
{
    switch (s) {
    case TBrushStyle::bsHorizontal: return Qt::HorPattern;
    case TBrushStyle::bsVertical: return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal: return Qt::BDiagPattern; // "\" in y-down coordinates
    case TBrushStyle::bsBDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::bsCross: return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

} // namespace

// --- construction and the painter ---------------------------------------------------------------

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()), FFont(std::make_unique<TFont>()),
      FDC(std::make_unique<TDCState>())
{
    FBrush->OnChange = [this](TObject *) { FDC->BrushDirty = true; };
    FFont->OnChange = [this](TObject *) { FDC->FontDirty = true; };
}

TCanvas::~TCanvas()
{
    ReleaseOwnPainter();
}

void TCanvas::BeginPainting(QPainter *Painter)
{
    ReleaseOwnPainter();
    FPainter = Painter;
    FOwnPainter = false;
    auto kept = std::move(FDC->SelectedFonts);
    auto texts = std::move(FDC->TextCache);
    const auto seen = FDC->TextSeen;
    const qsizetype spriteBytes = FDC->TextSpriteBytes;
    *FDC = TDCState();
    FDC->SelectedFonts = std::move(kept);
    FDC->TextCache = std::move(texts);
    FDC->TextSeen = seen;
    FDC->TextSpriteBytes = spriteBytes;
    if (FPainter) {
        FDC->Base = FPainter->worldTransform();
        FDC->EntryFont = FPainter->font();
        FDC->EntryPen = FPainter->pen();
        FDC->EntryDirection = FPainter->layoutDirection();
        if (FPainter->hasClipping()) {
            FDC->HasBaseClip = true;
            FDC->BaseClip = FPainter->clipRegion();
        }
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->setRenderHint(QPainter::TextAntialiasing, false);
        FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
}

void TCanvas::EndPainting()
{
    if (FPainter && !FOwnPainter) {
        FPainter->setWorldTransform(FDC->Base);
        if (FDC->HasBaseClip)
            FPainter->setClipRegion(FDC->BaseClip);
        else
            FPainter->setClipping(false);
        FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        FPainter->setFont(FDC->EntryFont);
        FPainter->setPen(FDC->EntryPen);
        FPainter->setLayoutDirection(FDC->EntryDirection);
        FDC->PainterFaceId = 0;
        FDC->PainterPenSet = false;
    }
    if (!FOwnPainter)
        FPainter = nullptr;
}

void TCanvas::ReleaseOwnPainter()
{
    if (FOwnPainter && FPainter) {
        FPainter->end();
        delete FPainter;
    }
    if (FOwnPainter) {
        FPainter = nullptr;
        FOwnPainter = false;
    }
}

QPainter *TCanvas::Painter()
{
    if (!FPainter) {
        FPainter = CreatePainter();
        if (FPainter) {
            FOwnPainter = true;
            FDC->Base = FPainter->worldTransform();
            FDC->ClipDirty = true;
            FPainter->setRenderHint(QPainter::Antialiasing, false);
            FPainter->setRenderHint(QPainter::TextAntialiasing, false);
            FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        }
    }
    return FPainter;
}

QImage *TCanvas::RasterImage()
{
    // Pixel access needs canvas coordinates to be image coordinates: only for a painter whose
    // own transform was the identity when it was handed over.
    if (FPainter && FPainter->device() && FPainter->device()->devType() == QInternal::Image && FDC->Base.isIdentity())
        return static_cast<QImage *>(FPainter->device());
    return nullptr;
}

TCanvasState TCanvas::State() const
{
    TCanvasState s;
    if (FPainter)
        s << TCanvasStates::csHandleValid << TCanvasStates::csFontValid << TCanvasStates::csPenValid
          << TCanvasStates::csBrushValid;
    return s;
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

QPainter *TCanvas::Prepare()
{
    // The background and text colours follow the brush and the font whenever those change, the
    // way the classic canvas re-selects them; SetBkMode and friends hold until the next change.
    if (FDC->BrushDirty) {
        FDC->BrushDirty = false;
        if (FBrush->Style() == TBrushStyle::bsSolid) {
            FBkColor = ColorToRGB(FBrush->Color());
            FBkMode = OPAQUE;
        } else {
            FBkColor = ~ColorToRGB(FBrush->Color()) & 0x00FFFFFFu;
            FBkMode = TRANSPARENT;
        }
    }
    if (FDC->FontDirty) {
        FDC->FontDirty = false;
        FTextColor = ColorToRGB(FFont->Color());
    }
    QPainter *p = Painter();
    if (!p)
        return nullptr;
    if (FDC->ClipDirty) {
        FDC->ClipDirty = false;
        p->setWorldTransform(FDC->Base);
        QRegion clip;
        if (FDC->Effective(clip))
            p->setClipRegion(clip);
        else
            p->setClipping(false);
    }
    // Setting the transform makes the paint engine recompute its state even when nothing changed.
    const QTransform world = MappingTransform(*FDC) * FDC->Base;
    if (!p->worldMatrixEnabled() || p->worldTransform() != world)
        p->setWorldTransform(world);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setOpacity(1.0);
    return p;
}

// --- helpers for pens and brushes ---------------------------------------------------------------

namespace {

struct PenSetup {
    bool Visible = false;
    QPen Pen;
    QPen Background; // the gaps of a styled pen in opaque background mode
    bool HasBackground = false;
    QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
};

PenSetup MakePen(const TPen &pen, int bkMode, TColorRef bkColor, bool mapped)
{
    PenSetup s;
    if (pen.Style() == TPenStyle::psClear || !PenComposition(pen.Mode(), s.Mode))
        return s;
    s.Visible = true;
    const int w = pen.Width();
    QColor c = ColorToQColor(pen.Color());
    if (pen.Mode() == TPenMode::pmNot || pen.Mode() == TPenMode::pmBlack || pen.Mode() == TPenMode::pmWhite)
        c = Qt::black;
    // A pen's width is in logical units: in a scaled mapping mode (a printer page in 0.1 mm) even
    // a width of 1 is scaled; unscaled, widths up to 1 are one device pixel.
    s.Pen = QPen(c, w <= 1 && !mapped ? 0 : std::max(w, 1), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (w <= 1 && !mapped) {
        QList<qreal> pattern;
        switch (pen.Style()) {
        case TPenStyle::psDash: pattern = {18, 6}; break;
        case TPenStyle::psDot: pattern = {3, 3}; break;
        case TPenStyle::psDashDot: pattern = {9, 6, 3, 6}; break;
        case TPenStyle::psDashDotDot: pattern = {9, 3, 3, 3, 3, 3}; break;
        case TPenStyle::psAlternate: pattern = {1, 1}; break;
        default: break;
        }
        if (!pattern.isEmpty()) {
            s.Pen.setDashPattern(pattern);
            if (bkMode == OPAQUE) {
                s.HasBackground = true;
                s.Background = QPen(RefToQColor(bkColor), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
            }
        }
    }
    return s;
}

} // namespace

// --- lines and shapes ---------------------------------------------------------------------------

void TCanvas::MoveTo(int X, int Y)
{
    FPenPos = {X, Y};
}

namespace {

// One-pixel lines are walked pixel by pixel, as the classic platform draws them: the start
// pixel is set, the end pixel is not, whatever the direction. Qt's rasteriser leaves out the
// larger end instead, which shifts lines drawn leftwards or upwards by one pixel.
void DrawThinLine(QPainter *p, const PenSetup &ps, int x0, int y0, int x1, int y1)
{
    const QColor fore = ps.Pen.color();
    const bool dashed = ps.Pen.style() != Qt::SolidLine;
    if (!dashed && (x0 == x1 || y0 == y1)) {
        if (x0 == x1 && y0 == y1)
            return;
        QRect r;
        if (y0 == y1)
            r = x1 > x0 ? QRect(x0, y0, x1 - x0, 1) : QRect(x1 + 1, y0, x0 - x1, 1);
        else
            r = y1 > y0 ? QRect(x0, y0, 1, y1 - y0) : QRect(x0, y1 + 1, 1, y0 - y1);
        p->fillRect(r, fore);
        return;
    }
    std::vector<int> pattern;
    if (dashed)
        for (qreal v : ps.Pen.dashPattern())
            pattern.push_back(std::max(1, qRound(v)));
    QPolygon on, off;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy, x = x0, y = y0;
    std::size_t segment = 0;
    int used = 0;
    while (x != x1 || y != y1) {
        const bool draw = pattern.empty() || segment % 2 == 0;
        (draw ? on : off) << QPoint(x, y);
        if (!pattern.empty() && ++used >= pattern[segment]) {
            used = 0;
            segment = (segment + 1) % pattern.size();
        }
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
    p->setPen(QPen(fore, 0));
    p->drawPoints(on);
    if (ps.HasBackground && !off.isEmpty()) {
        p->setPen(QPen(ps.Background.color(), 0));
        p->drawPoints(off);
    }
}

} // namespace

void TCanvas::LineTo(int X, int Y)
{
    Changing();
    if (QPainter *p = Prepare()) {
        const bool mapped = FDC->MapMode != MM_TEXT;
        const PenSetup ps = MakePen(*FPen, FBkMode, FBkColor, mapped);
        if (ps.Visible && !mapped && ps.Pen.width() == 0 && !p->transform().isScaling()) {
            p->setBrush(Qt::NoBrush);
            p->setCompositionMode(ps.Mode);
            DrawThinLine(p, ps, FPenPos.X, FPenPos.Y, X, Y);
        } else if (ps.Visible) {
            p->setBrush(Qt::NoBrush);
            p->setCompositionMode(ps.Mode);
            if (ps.HasBackground) {
                p->setPen(ps.Background);
                p->drawLine(FPenPos.X, FPenPos.Y, X, Y);
            }
            p->setPen(ps.Pen);
            p->drawLine(FPenPos.X, FPenPos.Y, X, Y);
        }
    }
    FPenPos = {X, Y};
    Changed();
}

namespace {

// Sets the painter's brush for a figure's interior; false when the brush is clear.
bool ApplyFigureBrush(QPainter *p, const TBrush &brush, int bkMode, TColorRef bkColor, bool &needsBackground,
                      QColor &background)
{
    needsBackground = false;
    if (brush.Style() == TBrushStyle::bsClear) {
        p->setBrush(Qt::NoBrush);
        return false;
    }
    if (brush.Bitmap() && !brush.Bitmap()->Empty()) {
        p->setBrush(QBrush(brush.Bitmap()->ToImage()));
        return true;
    }
    const QColor c = ColorToQColor(brush.Color());
    if (brush.Style() == TBrushStyle::bsSolid) {
        p->setBrush(QBrush(c));
        return true;
    }
    p->setBrush(QBrush(c, HatchStyle(brush.Style())));
    if (bkMode == OPAQUE) {
        needsBackground = true;
        background = RefToQColor(bkColor);
    }
    return true;
}

} // namespace

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    Changing();
    if (QPainter *p = Prepare()) {
        const QRect r = PixelRect(X1, Y1, X2, Y2);
        const PenSetup ps = MakePen(*FPen, FBkMode, FBkColor, FDC->MapMode != MM_TEXT);
        QPainter::CompositionMode cm = QPainter::CompositionMode_SourceOver;
        const bool drawable = PenComposition(FPen->Mode(), cm);
        if (drawable && !r.isEmpty()) {
            p->setCompositionMode(cm);
            const int w = ps.Visible ? std::max(1, FPen->Width()) : 0;
            // Interior: with a visible pen the outline covers the edges; without one the
            // figure is one pixel smaller at the right and bottom.
            QRect inner = r.adjusted(0, 0, -1, -1);
            if (ps.Visible && (w == 1 || FPen->Style() == TPenStyle::psInsideFrame))
                inner = r.adjusted(w, w, -w, -w);
            bool bg = false;
            QColor bgc;
            if (ApplyFigureBrush(p, *FBrush, FBkMode, FBkColor, bg, bgc) && !inner.isEmpty()) {
                if (bg)
                    p->fillRect(inner, bgc);
                p->fillRect(inner, p->brush());
            }
            if (ps.Visible) {
                p->setBrush(Qt::NoBrush);
                if (w == 1) {
                    const QRect outline(r.left(), r.top(), r.width() - 1, r.height() - 1);
                    if (ps.HasBackground) {
                        p->setPen(ps.Background);
                        p->drawRect(outline);
                    }
                    p->setPen(ps.Pen);
                    p->drawRect(outline);
                } else if (FPen->Style() == TPenStyle::psInsideFrame) {
                    const QColor c = ps.Pen.color();
                    QRegion frame(r);
                    frame -= QRegion(r.adjusted(w, w, -w, -w));
                    for (const QRect &band : frame)
                        p->fillRect(band, c);
                } else {
                    p->setPen(ps.Pen);
                    p->drawRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() - 1));
                }
            }
        }
    }
    Changed();
}

void TCanvas::FillRect(const TRect &R)
{
    Changing();
    if (QPainter *p = Prepare()) {
        const QRect r = PixelRect(R.Left, R.Top, R.Right, R.Bottom);
        if (!r.isEmpty() && FBrush->Style() != TBrushStyle::bsClear) {
            bool bg = false;
            QColor bgc;
            ApplyFigureBrush(p, *FBrush, FBkMode, FBkColor, bg, bgc);
            if (bg)
                p->fillRect(r, bgc);
            p->fillRect(r, p->brush());
        }
    }
    Changed();
}

void TCanvas::FrameRect(const TRect &R)
{
    Changing();
    if (QPainter *p = Prepare()) {
        const QRect r = PixelRect(R.Left, R.Top, R.Right, R.Bottom);
        if (!r.isEmpty() && FBrush->Style() != TBrushStyle::bsClear) {
            bool bg = false;
            QColor bgc;
            ApplyFigureBrush(p, *FBrush, FBkMode, FBkColor, bg, bgc);
            QRegion frame(r);
            frame -= QRegion(r.adjusted(1, 1, -1, -1));
            for (const QRect &band : frame)
                p->fillRect(band, p->brush());
        }
    }
    Changed();
}

namespace {

// Draws a closed figure: interior with the brush, outline with the pen.
template <typename Fill, typename Stroke>
void DrawFigure(QPainter *p, const TPen &pen, const TBrush &brush, int bkMode, TColorRef bkColor, bool mapped,
                Fill fill, Stroke stroke)
{
    QPainter::CompositionMode cm = QPainter::CompositionMode_SourceOver;
    if (!PenComposition(pen.Mode(), cm))
        return;
    p->setCompositionMode(cm);
    const PenSetup ps = MakePen(pen, bkMode, bkColor, mapped);
    bool bg = false;
    QColor bgc;
    if (ApplyFigureBrush(p, brush, bkMode, bkColor, bg, bgc)) {
        const QBrush b = p->brush();
        p->setPen(Qt::NoPen);
        if (bg) {
            p->setBrush(bgc);
            fill(p);
            p->setBrush(b);
        }
        fill(p);
    }
    if (ps.Visible) {
        p->setBrush(Qt::NoBrush);
        if (ps.HasBackground) {
            p->setPen(ps.Background);
            stroke(p);
        }
        p->setPen(ps.Pen);
        stroke(p);
    }
}

} // namespace

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    Changing();
    if (QPainter *p = Prepare()) {
        const QRect r = PixelRect(X1, Y1, X2, Y2);
        if (!r.isEmpty()) {
            const QRect o(r.left(), r.top(), r.width() - 1, r.height() - 1);
            const double rx = std::abs(X3) / 2.0, ry = std::abs(Y3) / 2.0;
            DrawFigure(p, *FPen, *FBrush, FBkMode, FBkColor, FDC->MapMode != MM_TEXT,
                       [&](QPainter *q) { q->drawRoundedRect(QRectF(o).adjusted(0, 0, 1, 1), rx, ry); },
                       [&](QPainter *q) { q->drawRoundedRect(o, rx, ry); });
        }
    }
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    Changing();
    if (QPainter *p = Prepare()) {
        const QRect r = PixelRect(X1, Y1, X2, Y2);
        if (!r.isEmpty()) {
            const QRect o(r.left(), r.top(), r.width() - 1, r.height() - 1);
            DrawFigure(p, *FPen, *FBrush, FBkMode, FBkColor, FDC->MapMode != MM_TEXT,
                       [&](QPainter *q) { q->drawEllipse(QRectF(o).adjusted(0, 0, 1, 1)); },
                       [&](QPainter *q) { q->drawEllipse(o); });
        }
    }
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint> &Points)
{
    Changing();
    if (QPainter *p = Prepare(); p && !Points.empty()) {
        QPolygon poly;
        for (const TPoint &pt : Points)
            poly << QPoint(pt.X, pt.Y);
        DrawFigure(p, *FPen, *FBrush, FBkMode, FBkColor, FDC->MapMode != MM_TEXT,
                   [&](QPainter *q) { q->drawPolygon(poly, Qt::OddEvenFill); },
                   [&](QPainter *q) {
                       QPolygon closed = poly;
                       closed << poly.first();
                       q->drawPolyline(closed);
                   });
    }
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint> &Points)
{
    Changing();
    if (QPainter *p = Prepare(); p && Points.size() > 1) {
        QPolygon poly;
        for (const TPoint &pt : Points)
            poly << QPoint(pt.X, pt.Y);
        TBrush clear;
        clear.SetStyle(TBrushStyle::bsClear);
        DrawFigure(p, *FPen, clear, FBkMode, FBkColor, FDC->MapMode != MM_TEXT, [](QPainter *) {},
                   [&](QPainter *q) { q->drawPolyline(poly); });
    }
    Changed();
}

void TCanvas::PolyBezier(const std::vector<TPoint> &Points)
{
    Changing();
    if (QPainter *p = Prepare(); p && Points.size() >= 4) {
        QPainterPath path(QPointF(Points[0].X, Points[0].Y));
        for (std::size_t i = 1; i + 2 < Points.size(); i += 3)
            path.cubicTo(Points[i].X, Points[i].Y, Points[i + 1].X, Points[i + 1].Y, Points[i + 2].X, Points[i + 2].Y);
        TBrush clear;
        clear.SetStyle(TBrushStyle::bsClear);
        DrawFigure(p, *FPen, clear, FBkMode, FBkColor, FDC->MapMode != MM_TEXT, [](QPainter *) {}, [&](QPainter *q) { q->drawPath(path); });
    }
    Changed();
}

namespace {

enum class ArcKind { Arc, Chord, Pie };

// Start angle and span (degrees, counter-clockwise) of the arc from the radial through (x3, y3) to
// the radial through (x4, y4) on the ellipse in r.
void ArcAngles(const QRectF &r, int x3, int y3, int x4, int y4, double &start, double &span)
{
    const QPointF c = r.center();
    const double a1 = std::atan2(-(y3 - c.y()), x3 - c.x()) * 180.0 / M_PI;
    const double a2 = std::atan2(-(y4 - c.y()), x4 - c.x()) * 180.0 / M_PI;
    start = a1;
    span = a2 - a1;
    while (span <= 0)
        span += 360.0;
}

} // namespace

static void DrawArcFigure(TCanvas *canvas, QPainter *p, ArcKind kind, int X1, int Y1, int X2, int Y2, int X3,
                          int Y3, int X4, int Y4, int bkMode, TColorRef bkColor)
{
    const QRect r = PixelRect(X1, Y1, X2, Y2);
    if (r.isEmpty())
        return;
    const QRectF o(r.left(), r.top(), r.width() - 1, r.height() - 1);
    double start = 0, span = 0;
    ArcAngles(o, X3, Y3, X4, Y4, start, span);
    const int a = static_cast<int>(std::lround(start * 16)), s = static_cast<int>(std::lround(span * 16));
    TBrush clear;
    clear.SetStyle(TBrushStyle::bsClear);
    const TBrush &brush = kind == ArcKind::Arc ? clear : *canvas->Brush();
    DrawFigure(p, *canvas->Pen(), brush, bkMode, bkColor, canvas->GetMapMode() != MM_TEXT,
               [&](QPainter *q) {
                   if (kind == ArcKind::Chord)
                       q->drawChord(o, a, s);
                   else
                       q->drawPie(o, a, s);
               },
               [&](QPainter *q) {
                   if (kind == ArcKind::Arc)
                       q->drawArc(o, a, s);
                   else if (kind == ArcKind::Chord)
                       q->drawChord(o, a, s);
                   else
                       q->drawPie(o, a, s);
               });
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    if (QPainter *p = Prepare())
        DrawArcFigure(this, p, ArcKind::Arc, X1, Y1, X2, Y2, X3, Y3, X4, Y4, FBkMode, FBkColor);
    Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    if (QPainter *p = Prepare())
        DrawArcFigure(this, p, ArcKind::Chord, X1, Y1, X2, Y2, X3, Y3, X4, Y4, FBkMode, FBkColor);
    Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    if (QPainter *p = Prepare())
        DrawArcFigure(this, p, ArcKind::Pie, X1, Y1, X2, Y2, X3, Y3, X4, Y4, FBkMode, FBkColor);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect &R)
{
    Changing();
    if (QPainter *p = Prepare()) {
        const QRect r = PixelRect(R.Left, R.Top, R.Right, R.Bottom);
        if (!r.isEmpty()) {
            // Every other pixel of the one-pixel frame is inverted, each pixel exactly once, so
            // a second call restores what was there.
            QRegion frame(r);
            frame -= QRegion(r.adjusted(1, 1, -1, -1));
            QBrush dots(Qt::white, Qt::Dense4Pattern);
            p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p->setBrushOrigin(0, 0);
            for (const QRect &band : frame)
                p->fillRect(band, dots);
        }
    }
    Changed();
}

// --- pixels and flood fill ------------------------------------------------------------------------

namespace {

bool DevicePoint(const TCanvas::TDCState &dc, int X, int Y, QPoint &out)
{
    out = MappingTransform(dc).map(QPoint(X, Y));
    return true;
}

} // namespace

TColor TCanvas::Pixels(int X, int Y)
{
    Prepare();
    QImage *img = RasterImage();
    QPoint d;
    DevicePoint(*FDC, X, Y, d);
    QRegion clip;
    if (!img || !img->rect().contains(d) || (FDC->Effective(clip) && !clip.contains(d)))
        return static_cast<TColor>(-1);
    return static_cast<TColor>(QRgbToRef(img->pixel(d)));
}

void TCanvas::SetPixel(int X, int Y, TColor Color)
{
    Changing();
    if (QPainter *p = Prepare()) {
        QImage *img = RasterImage();
        QPoint d;
        DevicePoint(*FDC, X, Y, d);
        if (img) {
            QRegion clip;
            if (img->rect().contains(d) && (!FDC->Effective(clip) || clip.contains(d)))
                img->setPixel(d, RefToQRgb(ColorToRGB(Color)) | 0xFF000000u);
        } else {
            p->fillRect(QRect(X, Y, 1, 1), ColorToQColor(Color));
        }
    }
    Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle)
{
    Changing();
    QPainter *p = Prepare();
    QImage *img = RasterImage();
    QPoint start;
    DevicePoint(*FDC, X, Y, start);
    if (p && img && img->rect().contains(start) && FBrush->Style() != TBrushStyle::bsClear) {
        const QRgb key = RefToQRgb(ColorToRGB(Color)) & 0x00FFFFFFu;
        const QRect bounds = img->rect();
        auto inside = [&](int x, int y) {
            const QRgb c = img->pixel(x, y) & 0x00FFFFFFu;
            return FillStyle == TFillStyle::fsSurface ? c == key : c != key;
        };
        if (inside(start.x(), start.y())) {
            // Collect the area first, then paint it with the brush through the clip.
            std::vector<bool> seen(static_cast<std::size_t>(bounds.width()) * bounds.height(), false);
            QRegion area;
            std::vector<QPoint> stack{start};
            while (!stack.empty()) {
                const QPoint q = stack.back();
                stack.pop_back();
                int x0 = q.x();
                const int y = q.y();
                auto idx = [&](int x) { return static_cast<std::size_t>(y) * bounds.width() + x; };
                if (seen[idx(x0)] || !inside(x0, y))
                    continue;
                while (x0 > 0 && !seen[idx(x0 - 1)] && inside(x0 - 1, y))
                    --x0;
                int x1 = x0;
                while (x1 < bounds.width() && !seen[idx(x1)] && inside(x1, y)) {
                    seen[idx(x1)] = true;
                    if (y > 0)
                        stack.emplace_back(x1, y - 1);
                    if (y + 1 < bounds.height())
                        stack.emplace_back(x1, y + 1);
                    ++x1;
                }
                area += QRect(x0, y, x1 - x0, 1);
            }
            p->save();
            p->setWorldTransform(FDC->Base);
            bool bg = false;
            QColor bgc;
            ApplyFigureBrush(p, *FBrush, FBkMode, FBkColor, bg, bgc);
            const QBrush b = p->brush();
            for (const QRect &band : area) {
                if (bg)
                    p->fillRect(band, bgc);
                p->fillRect(band, b);
            }
            p->restore();
        }
    }
    Changed();
}

// --- text -----------------------------------------------------------------------------------------

namespace {

constexpr int MaxCachedTexts = 4096;
constexpr int MaxCachedTextLength = 256;


// Whether a run can be drawn from a cached layout: one plain line, left to right.
bool CacheableText(const QString &Text)
{
    if (Text.isEmpty() || Text.size() > MaxCachedTextLength)
        return false;
    for (const QChar c : Text)
        if (c.unicode() < 0x20 || (c.isSpace() && c != QLatin1Char(' ')) || c.direction() == QChar::DirR
            || c.direction() == QChar::DirAL || c.category() == QChar::Other_Format)
            return false;
    return true;
}

// The painter draws text as a copy of its pixels would: into pixels (a printer or a PDF keeps
// text as text), in one solid colour, without smoothing, blending only source over, at whole-pixel
// offsets.
bool SpriteDrawable(QPainter *p)
{
    // The device's own scale (a high-density screen) counts too.
    const QTransform t = p->deviceTransform();
    const QPen &pen = p->pen();
    return p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster && t.type() <= QTransform::TxTranslate &&
           !(p->renderHints() & (QPainter::TextAntialiasing | QPainter::Antialiasing)) &&
           p->compositionMode() == QPainter::CompositionMode_SourceOver && p->opacity() == 1.0 &&
           pen.style() == Qt::SolidLine && pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255 &&
           t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
}

// Draws a plain one-line run from its cached layout, with the baseline where the direct output
// puts it; false when the run or the painter's state asks for the direct output.
bool DrawCachedText(TCanvas::TDCState &DC, QPainter *p, const TFontFace &Face, const QPointF &At, const QString &Text)
{
    // Memory for the copies of kept runs: some thousand words of a cell in a colour or two.
    constexpr qsizetype MaxSpriteBytes = 4 * 1024 * 1024;
    if (p->layoutDirection() != Qt::LeftToRight || p->worldTransform().type() > QTransform::TxTranslate)
        return false;
    auto &Cache = DC.TextCache;
    auto &Seen = DC.TextSeen;
    // Looked up without taking a reference to the text (which may be a view of the caller's
    // buffer); a new entry keeps a copy of its own.
    const TTextKey probe{Face.Id, QString::fromRawData(Text.constData(), Text.size())};
    auto it = Cache.find(probe);
    if (it == Cache.end()) {
        // Only what passed this check is ever cached, so a found run needs no second look.
        if (!CacheableText(Text))
            return false;
        // A run is laid out for keeping only when it comes back before as many other new runs
        // as the cache holds: preparing a cached layout costs more than drawing the run once,
        // and a run that returns later than that would be pushed out before its return anyway.
        const size_t bit = qHash(probe) % Seen.Bits.size();
        if (!Seen.Bits.test(bit)) {
            if (++Seen.Count > MaxCachedTexts) {
                Seen.Bits.reset();
                Seen.Count = 1;
            }
            Seen.Bits.set(bit);
            return false;
        }
        if (Cache.size() >= MaxCachedTexts) {
            Cache.clear();
            DC.TextSpriteBytes = 0;
        }
        const QString owned(Text.constData(), Text.size());
        QTextLayout layout(owned, Face.Font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (!line.isValid())
            return false;
        TCanvas::TDCState::TKeptText kept;
        kept.Runs = layout.glyphRuns();
        kept.Ascent = line.ascent();
        // Room for what glyphs reach beyond their advances: slanted and overhanging letters.
        const int height = static_cast<int>(std::ceil(line.height()));
        const int margin = height / 2 + 2;
        kept.Bounds = QRect(-margin, -margin, static_cast<int>(std::ceil(line.naturalTextWidth())) + 2 * margin,
                            height + 2 * margin);
        it = Cache.insert(TTextKey{Face.Id, owned}, std::move(kept));
    }
    TCanvas::TDCState::TKeptText &kept = it.value();
    const QPointF origin = At + QPointF(0, Face.Ascent - kept.Ascent);
    const QPoint whole = At.toPoint();
    if (QPointF(whole) == At && SpriteDrawable(p)) {
        const QRgb color = p->pen().color().rgba();
        const QImage *sprite = nullptr;
        for (int i = 0; i < kept.SpriteCount && !sprite; ++i)
            if (kept.Sprites[static_cast<size_t>(i)].first == color)
                sprite = &kept.Sprites[static_cast<size_t>(i)].second;
        const qsizetype bytes = static_cast<qsizetype>(kept.Bounds.width()) * kept.Bounds.height() * 4;
        if (!sprite && kept.SpriteCount < static_cast<int>(kept.Sprites.size()) &&
            DC.TextSpriteBytes + bytes <= MaxSpriteBytes) {
            QImage image(kept.Bounds.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter sp(&image);
            sp.setRenderHint(QPainter::TextAntialiasing, false);
            sp.setRenderHint(QPainter::Antialiasing, false);
            sp.setPen(p->pen());
            const QPointF inside = origin - QPointF(whole) - QPointF(kept.Bounds.topLeft());
            for (const QGlyphRun &run : kept.Runs)
                sp.drawGlyphRun(inside, run);
            sp.end();
            auto &slot = kept.Sprites[static_cast<size_t>(kept.SpriteCount++)];
            slot = {color, std::move(image)};
            DC.TextSpriteBytes += bytes;
            sprite = &slot.second;
        }
        if (sprite) {
            p->drawImage(whole + kept.Bounds.topLeft(), *sprite);
            return true;
        }
    }
    for (const QGlyphRun &run : kept.Runs)
        p->drawGlyphRun(origin, run);
    return true;
}

// Draws a run of plain glyphs (see TPlainGlyphs) from the face's table, where Qt would lay it out
// to the same glyphs and places; false when the run or the painter's state needs Qt's layout.
bool DrawPlainGlyphs(QPainter *p, const TFontFace &Face, const QPointF &At, const QString &Text)
{
    constexpr qsizetype MaxGlyphs = 64;
    if (Text.size() > MaxGlyphs || p->layoutDirection() != Qt::LeftToRight ||
        p->worldTransform().type() > QTransform::TxTranslate)
        return false;
    int width = 0;
    if (!Face.PlainWidth(Text, width))
        return false;
    const TPlainGlyphs &g = Face.PlainGlyphs();
    quint32 glyphs[MaxGlyphs];
    QPointF positions[MaxGlyphs];
    qreal x = 0;
    const int n = static_cast<int>(Text.size());
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<size_t>(TPlainGlyphs::IndexOf(Text[i].unicode()));
        glyphs[i] = g.Glyph[k];
        positions[i] = QPointF(x, 0);
        x += g.Advance[k];
    }
    QGlyphRun run;
    run.setRawFont(g.Raw);
    run.setRawData(glyphs, positions, n);
    run.setUnderline(Face.Font.underline());
    run.setStrikeOut(Face.Font.strikeOut());
    run.setOverline(Face.Font.overline());
    p->drawGlyphRun(At + QPointF(0, Face.Ascent), run);
    return true;
}

} // namespace

void TCanvas::ExtTextOut(int X, int Y, unsigned Options, const TRect *R, const UnicodeString &Text, int PrefixPos)
{
    Changing();
    QPainter *p = Prepare();
    if (p) {
        const TFontFace &face = FFont->Face();
        const QTransform map = MappingTransform(*FDC);
        // Upright text in an unscaled mapping is drawn at its point in the canvas's own
        // coordinates, which Prepare has set; other text is laid out in device pixels at the
        // logical point's position, where only the magnitude of the mapping scales it, so a
        // flipped y axis (metric modes) keeps text upright.
        const bool direct = map.type() <= QTransform::TxTranslate && FFont->Orientation() == 0;
        QPointF at(X, Y);
        QTransform t;
        if (!direct) {
            const double sx = std::fabs(map.m11()), sy = std::fabs(map.m22());
            const QPointF origin = map.map(QPointF(X, Y));
            t = FDC->Base;
            t.translate(origin.x(), origin.y());
            if (FFont->Orientation() != 0)
                t.rotate(-FFont->Orientation() / 10.0);
            t.scale(sx, sy);
            at = QPointF(0, 0);
        }

        // Only a clip needs the painter's state saved; font, pen and direction stay set for the
        // next run (the other drawing calls set their own pen), and EndPainting puts back what the
        // painter came with.
        const bool clipped = R && (Options & ETO_CLIPPED);
        if (clipped)
            p->save();
        if (R && (Options & (ETO_OPAQUE | ETO_CLIPPED))) {
            const QRect rr = PixelRect(R->Left, R->Top, R->Right, R->Bottom);
            if (Options & ETO_OPAQUE)
                p->fillRect(rr, RefToQColor(FBkColor));
            if (Options & ETO_CLIPPED)
                p->setClipRect(rr, Qt::IntersectClip);
        }
        if (!direct)
            p->setWorldTransform(t);
        if (FDC->PainterFaceId != face.Id || !(p->font() == FDC->PainterFont)) {
            p->setFont(face.Font);
            FDC->PainterFont = p->font();
            FDC->PainterFaceId = face.Id;
        }
        const Qt::LayoutDirection direction = (Options & ETO_RTLREADING) ? Qt::RightToLeft : Qt::LeftToRight;
        if (p->layoutDirection() != direction)
            p->setLayoutDirection(direction);
        // Measured only for the background: laying the text out costs as much as drawing it.
        if (FBkMode == OPAQUE && !Text.isEmpty()) {
            const QFontMetrics fm(face.Font);
            p->fillRect(QRect(at.toPoint(), QSize(fm.horizontalAdvance(Text), fm.height())), RefToQColor(FBkColor));
        }
        if (!FDC->PainterPenSet || FDC->PainterTextColor != FTextColor || !(p->pen() == FDC->PainterPen)) {
            p->setPen(RefToQColor(FTextColor));
            FDC->PainterPen = p->pen();
            FDC->PainterTextColor = FTextColor;
            FDC->PainterPenSet = true;
        }
        if (!DrawPlainGlyphs(p, face, at, Text) && !DrawCachedText(*FDC, p, face, at, Text))
            p->drawText(at + QPointF(0, face.Ascent), Text);
        if (PrefixPos >= 0 && PrefixPos < Text.size()) {
            const QFontMetrics fm(face.Font);
            const int x0 = fm.horizontalAdvance(Text.left(PrefixPos));
            const int x1 = fm.horizontalAdvance(Text.left(PrefixPos + 1));
            const int y = fm.ascent() + std::max(1, fm.underlinePos());
            p->fillRect(QRect(at.toPoint() + QPoint(x0, y), QSize(std::max(1, x1 - x0), std::max(1, fm.lineWidth()))),
                        RefToQColor(FTextColor));
        }
        if (clipped)
            p->restore();
        if (!direct)
            p->setWorldTransform(map * FDC->Base);
    }
    Changed();
}

void TCanvas::TextOut(int X, int Y, const UnicodeString &Text)
{
    ExtTextOut(X, Y, 0, nullptr, Text);
    FPenPos = {X + TextWidth(Text), Y};
}

void TCanvas::TextRect(const TRect &R, int X, int Y, const UnicodeString &Text)
{
    unsigned options = ETO_CLIPPED;
    if (FBrush->Style() != TBrushStyle::bsClear)
        options |= ETO_OPAQUE;
    ExtTextOut(X, Y, options, &R, Text);
}

// Each measures only its own axis: the height of a line does not depend on its text, and
// shaping a text only to throw its width away costs as much as the width itself.
int TCanvas::TextWidth(const UnicodeString &Text)
{
    const TFontFace &face = FFont->Face();
    int width = 0;
    if (face.PlainWidth(Text, width))
        return width;
    return QFontMetrics(face.Font).horizontalAdvance(Text);
}

int TCanvas::TextHeight(const UnicodeString &Text) { return FFont->Face().LineHeight; }

TSize TCanvas::TextExtent(const UnicodeString &Text)
{
    const TFontFace &face = FFont->Face();
    int width = 0;
    if (face.PlainWidth(Text, width))
        return {width, face.LineHeight};
    const QFontMetrics fm(face.Font);
    return {fm.horizontalAdvance(Text), fm.height()};
}

// --- device-context state -------------------------------------------------------------------------

int TCanvas::SetBkMode(int Mode)
{
    Prepare();
    const int old = FBkMode;
    if (Mode == TRANSPARENT || Mode == OPAQUE)
        FBkMode = Mode;
    return old;
}

TColorRef TCanvas::SetBkColor(TColorRef Color)
{
    Prepare();
    const TColorRef old = FBkColor;
    FBkColor = Color & 0x00FFFFFFu;
    return old;
}

TColorRef TCanvas::SetTextColor(TColorRef Color)
{
    Prepare();
    const TColorRef old = FTextColor;
    FTextColor = Color & 0x00FFFFFFu;
    return old;
}

namespace {

QRect DeviceRect(const TCanvas::TDCState &dc, int l, int t, int r, int b)
{
    const QRectF m = MappingTransform(dc).mapRect(QRectF(QPointF(l, t), QPointF(r, b)));
    return QRect(QPoint(static_cast<int>(std::lround(m.left())), static_cast<int>(std::lround(m.top()))),
                 QPoint(static_cast<int>(std::lround(m.right())) - 1, static_cast<int>(std::lround(m.bottom())) - 1));
}

} // namespace

TSize TCanvas::DeviceSize() const
{
    if (FPainter && FPainter->device())
        return {FPainter->device()->width(), FPainter->device()->height()};
    if (auto *img = const_cast<TCanvas *>(this)->RasterImage())
        return {img->width(), img->height()};
    return {};
}

int TCanvas::PixelsPerInchX() const
{
    if (FPainter && FPainter->device() && !const_cast<TCanvas *>(this)->RasterImage())
        return FPainter->device()->logicalDpiX();
    return 96;
}

int TCanvas::PixelsPerInchY() const
{
    if (FPainter && FPainter->device() && !const_cast<TCanvas *>(this)->RasterImage())
        return FPainter->device()->logicalDpiY();
    return 96;
}

int TCanvas::SelectClipRgn(HRGN Rgn)
{
    FDC->ClipDirty = true;
    if (!Rgn) {
        FDC->HasClip = false;
        FDC->Clip = QRegion();
        const TSize s = DeviceSize();
        return s.cx > 0 ? SIMPLEREGION : NULLREGION;
    }
    FDC->HasClip = true;
    FDC->Clip = Rgn->Region;
    return RegionKind(FDC->Clip);
}

int TCanvas::ExcludeClipRect(int Left, int Top, int Right, int Bottom)
{
    FDC->ClipDirty = true;
    if (!FDC->HasClip) {
        const TSize s = DeviceSize();
        FDC->Clip = QRegion(0, 0, std::max(s.cx, 0), std::max(s.cy, 0));
        FDC->HasClip = true;
    }
    FDC->Clip -= QRegion(DeviceRect(*FDC, Left, Top, Right, Bottom));
    return RegionKind(FDC->Clip);
}

int TCanvas::IntersectClipRect(int Left, int Top, int Right, int Bottom)
{
    FDC->ClipDirty = true;
    const QRegion r(DeviceRect(*FDC, Left, Top, Right, Bottom));
    if (!FDC->HasClip) {
        const TSize s = DeviceSize();
        FDC->Clip = s.cx > 0 ? r.intersected(QRect(0, 0, s.cx, s.cy)) : r;
        FDC->HasClip = true;
    } else {
        FDC->Clip &= r;
    }
    return RegionKind(FDC->Clip);
}

int TCanvas::GetClipRgn(HRGN Rgn) const
{
    if (!FDC->HasClip)
        return 0;
    if (Rgn)
        Rgn->Region = FDC->Clip;
    return 1;
}

int TCanvas::GetClipBox(TRect &R)
{
    const TSize s = DeviceSize();
    QRegion clip;
    const bool clipped = FDC->Effective(clip);
    QRect box = clipped ? clip.boundingRect() : QRect(0, 0, s.cx, s.cy);
    if (clipped && s.cx > 0)
        box = box.intersected(QRect(0, 0, s.cx, s.cy));
    // The corners are mapped one by one: under a flipped mapping (the metric modes) the box's
    // top is then its larger y, as the device's top edge is.
    const QTransform inv = MappingTransform(*FDC).inverted();
    const QPointF tl = inv.map(QPointF(box.left(), box.top()));
    const QPointF br = inv.map(QPointF(box.left() + box.width(), box.top() + box.height()));
    R = {static_cast<int>(std::lround(std::min(tl.x(), br.x()))), static_cast<int>(std::lround(tl.y())),
         static_cast<int>(std::lround(std::max(tl.x(), br.x()))), static_cast<int>(std::lround(br.y()))};
    if (box.isEmpty())
        return NULLREGION;
    return clipped ? RegionKind(clip) : SIMPLEREGION;
}

TRect TCanvas::ClipRect()
{
    TRect r;
    GetClipBox(r);
    return r;
}

int TCanvas::SaveDC()
{
    Prepare();
    FDC->Stack.push_back({FDC->HasClip, FDC->Clip, FDC->MapMode, FDC->WinExt, FDC->VpExt, FDC->WinOrg, FDC->VpOrg,
                          FBkMode, FBkColor, FTextColor});
    return static_cast<int>(FDC->Stack.size());
}

bool TCanvas::RestoreDC(int Level)
{
    const int count = static_cast<int>(FDC->Stack.size());
    const int target = Level < 0 ? count + Level + 1 : Level;
    if (target < 1 || target > count)
        return false;
    const TDCState::Saved s = FDC->Stack[static_cast<std::size_t>(target - 1)];
    FDC->Stack.resize(static_cast<std::size_t>(target - 1));
    FDC->HasClip = s.HasClip;
    FDC->Clip = s.Clip;
    FDC->MapMode = s.MapMode;
    FDC->WinExt = s.WinExt;
    FDC->VpExt = s.VpExt;
    FDC->WinOrg = s.WinOrg;
    FDC->VpOrg = s.VpOrg;
    FBkMode = s.BkMode;
    FBkColor = s.BkColor;
    FTextColor = s.TextColor;
    FDC->ClipDirty = true;
    return true;
}

// --- mapping --------------------------------------------------------------------------------------

int TCanvas::SetMapMode(int Mode)
{
    const int old = FDC->MapMode;
    if (Mode < MM_TEXT || Mode > MM_ANISOTROPIC)
        return 0;
    FDC->MapMode = Mode;
    const int dx = PixelsPerInchX(), dy = PixelsPerInchY();
    // Logical units per inch of the fixed modes; y grows upwards in all of them.
    int unitsPerInch = 0;
    switch (Mode) {
    case MM_TEXT: FDC->WinExt = {1, 1}; FDC->VpExt = {1, 1}; break;
    case MM_LOMETRIC: unitsPerInch = 254; break;
    case MM_HIMETRIC: unitsPerInch = 2540; break;
    case MM_LOENGLISH: unitsPerInch = 100; break;
    case MM_HIENGLISH: unitsPerInch = 1000; break;
    case MM_TWIPS: unitsPerInch = 1440; break;
    default: break;
    }
    if (unitsPerInch) {
        FDC->WinExt = {unitsPerInch, unitsPerInch};
        FDC->VpExt = {dx, -dy};
    }
    return old;
}

int TCanvas::GetMapMode() const
{
    return FDC->MapMode;
}

bool TCanvas::SetWindowExtEx(int X, int Y, TSize *Old)
{
    if (Old)
        *Old = FDC->WinExt;
    if (FDC->MapMode != MM_ISOTROPIC && FDC->MapMode != MM_ANISOTROPIC)
        return true;
    if (X == 0 || Y == 0)
        return false;
    FDC->WinExt = {X, Y};
    return true;
}

bool TCanvas::SetViewportExtEx(int X, int Y, TSize *Old)
{
    if (Old)
        *Old = FDC->VpExt;
    if (FDC->MapMode != MM_ISOTROPIC && FDC->MapMode != MM_ANISOTROPIC)
        return true;
    if (X == 0 || Y == 0)
        return false;
    FDC->VpExt = {X, Y};
    return true;
}

bool TCanvas::SetWindowOrgEx(int X, int Y, TPoint *Old)
{
    if (Old)
        *Old = FDC->WinOrg;
    FDC->WinOrg = {X, Y};
    return true;
}

bool TCanvas::SetViewportOrgEx(int X, int Y, TPoint *Old)
{
    if (Old)
        *Old = FDC->VpOrg;
    FDC->VpOrg = {X, Y};
    return true;
}

bool TCanvas::GetWindowExtEx(TSize &S) const { S = FDC->WinExt; return true; }
bool TCanvas::GetViewportExtEx(TSize &S) const { S = FDC->VpExt; return true; }
bool TCanvas::GetWindowOrgEx(TPoint &P) const { P = FDC->WinOrg; return true; }
bool TCanvas::GetViewportOrgEx(TPoint &P) const { P = FDC->VpOrg; return true; }

bool TCanvas::LPtoDP(TPoint *Points, int Count) const
{
    const QTransform t = MappingTransform(*FDC);
    for (int i = 0; i < Count; ++i) {
        const QPointF d = t.map(QPointF(Points[i].X, Points[i].Y));
        Points[i] = {static_cast<int>(std::lround(d.x())), static_cast<int>(std::lround(d.y()))};
    }
    return true;
}

bool TCanvas::DPtoLP(TPoint *Points, int Count) const
{
    bool ok = false;
    const QTransform t = MappingTransform(*FDC).inverted(&ok);
    if (!ok)
        return false;
    for (int i = 0; i < Count; ++i) {
        const QPointF d = t.map(QPointF(Points[i].X, Points[i].Y));
        Points[i] = {static_cast<int>(std::lround(d.x())), static_cast<int>(std::lround(d.y()))};
    }
    return true;
}
