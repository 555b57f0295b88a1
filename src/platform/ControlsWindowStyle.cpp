// Window kinds chosen by the creation parameters, and window regions.
#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"
#include "platform/GraphicsPrivate.h"
#include "platform/WinGdi.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr const char *StyleProperty = "fabricorStyle";
constexpr const char *ExStyleProperty = "fabricorExStyle";
constexpr const char *WndParentProperty = "fabricorWndParent";

// Keeps the region a window was cut to; it goes with the widget.
class TWindowRegionHolder : public QObject {
public:
    TWindowRegionHolder(QObject *Parent, HRGN Rgn) : QObject(Parent), FRgn(Rgn) {}
    ~TWindowRegionHolder() override { DeleteObject(FRgn); }
    HRGN Region() const { return FRgn; }
    void Replace(HRGN Rgn)
    {
        if (Rgn == FRgn)
            return;
        DeleteObject(FRgn);
        FRgn = Rgn;
    }

private:
    HRGN FRgn;
};

QWidget *WidgetOf(HWND Wnd)
{
    TControlEventBridge *b = platform_detail::BridgeOf(Wnd);
    return b ? b->Widget() : nullptr;
}

} // namespace

void TWinControl::CreateParams(TCreateParams &Params)
{
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (Parent())
        Params.Style |= WS_CHILD;
    if (Visible())
        Params.Style |= WS_VISIBLE;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    Params.ExStyle = 0;
}

void platform_detail::ApplyCreateParams(QWidget *Widget, const TCreateParams &Params)
{
    Widget->setProperty(StyleProperty, QVariant::fromValue(static_cast<quint32>(Params.Style)));
    Widget->setProperty(ExStyleProperty, QVariant::fromValue(static_cast<quint32>(Params.ExStyle)));
    Widget->setProperty(WndParentProperty,
                        QVariant::fromValue(static_cast<qulonglong>(reinterpret_cast<std::uintptr_t>(Params.WndParent))));
    if (!(Params.Style & WS_POPUP))
        return;
    // A pop-up is a window of its own, placed in screen coordinates, that stays with the window
    // of its parent; it never takes the activation from the form that shows it.
    Qt::WindowFlags f = (Params.ExStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    f |= Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    if (Params.ExStyle & WS_EX_TOPMOST)
        f |= Qt::WindowStaysOnTopHint;
    if (Params.Style & WS_DISABLED)
        f |= Qt::WindowTransparentForInput;
    Widget->setWindowFlags(f);
    Widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
    if (Params.Style & WS_DISABLED)
        Widget->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

HWND platform_detail::WndParentOf(QWidget *Widget)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(Widget->property(WndParentProperty).value<qulonglong>()));
}

LPARAM GetWindowLong(HWND Wnd, int Index)
{
    QWidget *w = WidgetOf(Wnd);
    if (!w)
        return 0;
    const char *name = Index == GWL_STYLE ? StyleProperty : Index == GWL_EXSTYLE ? ExStyleProperty : nullptr;
    if (!name)
        return 0;
    return static_cast<LPARAM>(w->property(name).value<quint32>());
}

LPARAM SetWindowLong(HWND Wnd, int Index, LPARAM NewLong)
{
    QWidget *w = WidgetOf(Wnd);
    if (!w)
        return 0;
    const char *name = Index == GWL_STYLE ? StyleProperty : Index == GWL_EXSTYLE ? ExStyleProperty : nullptr;
    if (!name)
        return 0;
    const LPARAM old = static_cast<LPARAM>(w->property(name).value<quint32>());
    w->setProperty(name, QVariant::fromValue(static_cast<quint32>(NewLong)));
    if (Index == GWL_EXSTYLE)
        w->setAttribute(Qt::WA_TransparentForMouseEvents, (DWORD(NewLong) & WS_EX_TRANSPARENT) != 0);
    return old;
}

int SetWindowRgn(HWND Wnd, HRGN Rgn, bool Redraw)
{
    QWidget *w = WidgetOf(Wnd);
    if (!w)
        return 0;
    auto *holder = w->findChild<TWindowRegionHolder *>(QString(), Qt::FindDirectChildrenOnly);
    if (Rgn) {
        if (holder)
            holder->Replace(Rgn);
        else
            new TWindowRegionHolder(w, Rgn);
        w->setMask(Rgn->Region);
    } else {
        delete holder;
        w->clearMask();
    }
    if (Redraw)
        w->update();
    return 1;
}

int GetWindowRgn(HWND Wnd, HRGN Rgn)
{
    QWidget *w = WidgetOf(Wnd);
    if (!w || !Rgn)
        return RGN_ERROR;
    auto *holder = w->findChild<TWindowRegionHolder *>(QString(), Qt::FindDirectChildrenOnly);
    if (!holder)
        return RGN_ERROR;
    return CombineRgn(Rgn, holder->Region(), nullptr, RGN_COPY);
}
