// Translucent top-level windows: an opacity, a transparent colour, or a picture with alpha as
// the whole content.

#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Windows.h"

#include <QBitmap>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace {

const char *const KAttrs = "fabricorLayeredAttrs"; // the three values of the last call, set
const char *const KKey = "fabricorLayeredKey";
const char *const KAlpha = "fabricorLayeredAlpha";
const char *const KFlags = "fabricorLayeredFlags";

// Reaches the pixels behind a canvas (a bitmap's, or a memory device context's bitmap).
struct TRasterAccess : TCanvas {
    static QImage *Of(TCanvas *Canvas)
    {
        QPainter *(TCanvas::*Prepare)() = &TRasterAccess::Prepare;
        QImage *(TCanvas::*Raster)() = &TRasterAccess::RasterImage;
        (Canvas->*Prepare)();
        return (Canvas->*Raster)();
    }
};

// Paints the window's picture in place of its own painting.
class TLayeredContent : public QObject {
public:
    explicit TLayeredContent(QWidget *Widget) : QObject(Widget) { Widget->installEventFilter(this); }
    QImage Content;

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Event->type() != QEvent::Paint)
            return false;
        auto *W = static_cast<QWidget *>(Watched);
        QPainter P(W);
        P.setCompositionMode(QPainter::CompositionMode_Source);
        P.fillRect(W->rect(), Qt::transparent);
        P.setCompositionMode(QPainter::CompositionMode_SourceOver);
        P.drawImage(0, 0, Content);
        return true;
    }
};

QWidget *WidgetOf(HWND Wnd)
{
    TWinControl *Control = TWinControl::FindControl(Wnd);
    return Control ? Control->Widget() : nullptr;
}

} // namespace

BOOL SetLayeredWindowAttributes(HWND Wnd, DWORD ColorKey, Byte Alpha, DWORD Flags)
{
    QWidget *W = WidgetOf(Wnd);
    if (!W)
        return FALSE;
    W->setProperty(KAttrs, true);
    W->setProperty(KKey, static_cast<uint>(ColorKey));
    W->setProperty(KAlpha, static_cast<uint>(Alpha));
    W->setProperty(KFlags, static_cast<uint>(Flags));
    W->setWindowOpacity((Flags & LWA_ALPHA) ? Alpha / 255.0 : 1.0);
    if (Flags & LWA_COLORKEY) {
        // The pixels of the key colour as the window shows them now become holes.
        const QImage Shown = W->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QColor Key = ColorToQColor(static_cast<TColor>(ColorKey & 0xFFFFFF));
        W->setMask(QBitmap::fromImage(Shown.createMaskFromColor(Key.rgb(), Qt::MaskOutColor)));
    } else {
        W->clearMask();
    }
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND Wnd, DWORD *ColorKey, Byte *Alpha, DWORD *Flags)
{
    QWidget *W = WidgetOf(Wnd);
    if (!W || !W->property(KAttrs).toBool())
        return FALSE;
    if (ColorKey)
        *ColorKey = W->property(KKey).toUInt();
    if (Alpha)
        *Alpha = static_cast<Byte>(W->property(KAlpha).toUInt());
    if (Flags)
        *Flags = W->property(KFlags).toUInt();
    return TRUE;
}

BOOL UpdateLayeredWindow(HWND Wnd, HDC, const TPoint *DstPos, const TSize *Size, HDC SrcDC, const TPoint *SrcPos,
                         DWORD ColorKey, const BLENDFUNCTION *Blend, DWORD Flags)
{
    TWinControl *Control = TWinControl::FindControl(Wnd);
    if (!Control || Control->Parent())
        return FALSE;
    QWidget *W = Control->Widget();
    const TSize Extent = Size ? *Size : TSize{Control->Width(), Control->Height()};
    if (Extent.cx <= 0 || Extent.cy <= 0)
        return FALSE;
    QImage Picture;
    if (SrcDC) {
        QImage *Source = TRasterAccess::Of(SrcDC);
        if (!Source)
            return FALSE;
        const TPoint From = SrcPos ? *SrcPos : TPoint();
        // The source holds premultiplied pixels: take its bytes as they are.
        Picture = Source->convertToFormat(QImage::Format_ARGB32).copy(From.X, From.Y, Extent.cx, Extent.cy);
        Picture.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        if (Flags & ULW_OPAQUE) {
            Picture = Picture.convertToFormat(QImage::Format_RGB32);
        } else if (Flags & ULW_COLORKEY) {
            const QColor Key = ColorToQColor(static_cast<TColor>(ColorKey & 0xFFFFFF));
            Picture = Picture.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < Picture.height(); ++y) {
                auto *Line = reinterpret_cast<QRgb *>(Picture.scanLine(y));
                for (int x = 0; x < Picture.width(); ++x)
                    if ((Line[x] & 0xFFFFFF) == (Key.rgb() & 0xFFFFFF))
                        Line[x] = 0;
            }
        }
    }
    const Qt::WindowFlags Wanted = Qt::Window | Qt::FramelessWindowHint | Qt::Tool;
    if ((W->windowFlags() & Wanted) != Wanted) {
        const bool WasVisible = W->isVisible();
        W->setWindowFlags(W->windowFlags() | Wanted);
        if (WasVisible)
            W->show();
    }
    W->setAttribute(Qt::WA_TranslucentBackground, true);
    if (Blend && (Flags & ULW_ALPHA))
        W->setWindowOpacity(Blend->SourceConstantAlpha / 255.0);
    const TPoint At = DstPos ? *DstPos : TPoint(Control->Left(), Control->Top());
    Control->SetBounds(At.X, At.Y, Extent.cx, Extent.cy);
    if (SrcDC) {
        // Other helpers (a window region) are children of the window as well: look for this one.
        TLayeredContent *Content = nullptr;
        for (QObject *o : W->children())
            if ((Content = dynamic_cast<TLayeredContent *>(o)))
                break;
        if (!Content)
            Content = new TLayeredContent(W);
        Content->Content = Picture;
        W->update();
    }
    return TRUE;
}
