// The balloon tool tip window.
#include "platform/ToolTips.h"

#include "platform/StdCtrls.h"
#include "platform/StdCtrlsPrivate.h"

#include <QCursor>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

int &Live()
{
    static int n = 0;
    return n;
}

// The platform's delays when none is set.
constexpr int DefaultInitial = 500;
constexpr int DefaultAutoPop = 5000;

} // namespace

// Watches the tool's window: a resting pointer shows the balloon, leaving or pressing hides it.
class TToolTipWindow::TTracker : public QObject {
public:
    explicit TTracker(TToolTipWindow *Tip) : FTip(Tip)
    {
        FShow.setSingleShot(true);
        FHide.setSingleShot(true);
        QObject::connect(&FShow, &QTimer::timeout, this, [this] { FTip->Popup({QCursor::pos().x(), QCursor::pos().y()}); });
        QObject::connect(&FHide, &QTimer::timeout, this, [this] { FTip->Pop(); });
    }
    void Watch(QWidget *W)
    {
        if (FWatched)
            FWatched->removeEventFilter(this);
        FWatched = W;
        if (W)
            W->installEventFilter(this);
    }
    void Shown()
    {
        const int d = FTip->DelayTime(TTDT_AUTOPOP);
        FHide.start(d >= 0 ? d : DefaultAutoPop);
    }
    void Stop()
    {
        FShow.stop();
        FHide.stop();
    }

protected:
    bool eventFilter(QObject *, QEvent *E) override
    {
        switch (E->type()) {
        case QEvent::MouseMove: {
            if (FTip->TipShowing())
                break;
            const int d = FTip->DelayTime(TTDT_INITIAL);
            FShow.start(d >= 0 ? d : DefaultInitial);
            break;
        }
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
        case QEvent::Hide:
            FShow.stop();
            FTip->Pop();
            break;
        default:
            break;
        }
        return false;
    }

private:
    TToolTipWindow *FTip;
    QPointer<QWidget> FWatched;
    QTimer FShow;
    QTimer FHide;
};

TToolTipWindow::TToolTipWindow(TComponent *AOwner) : TCustomControl(AOwner), FTracker(std::make_unique<TTracker>(this))
{
    SetVisible(false);
    ++Live();
}

TToolTipWindow::~TToolTipWindow()
{
    FTracker->Stop();
    FTracker->Watch(nullptr);
    --Live();
}

int TToolTipWindow::LiveCount()
{
    return Live();
}

void TToolTipWindow::CreateParams(TCreateParams &Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    if (FTool && FTool->HandleAllocated())
        Params.WndParent = FTool->Handle();
}

void TToolTipWindow::AddTool(TWinControl *Tool)
{
    FTool = Tool;
    FTracker->Watch(Tool && Tool->HandleAllocated() ? Tool->Widget() : nullptr);
}

void TToolTipWindow::SetTitle(const UnicodeString &Title, int Icon)
{
    FTitle = Title;
    FIcon = Icon < TTI_NONE || Icon > TTI_ERROR ? TTI_NONE : Icon;
}

void TToolTipWindow::SetDelayTime(int Which, int Milliseconds)
{
    if (Which == TTDT_AUTOMATIC) {
        // One value sets the three in the platform's proportions.
        FDelays[TTDT_INITIAL] = Milliseconds;
        FDelays[TTDT_RESHOW] = Milliseconds < 0 ? -1 : Milliseconds / 5;
        FDelays[TTDT_AUTOPOP] = Milliseconds < 0 ? -1 : Milliseconds * 10;
        return;
    }
    if (Which >= 0 && Which < 4)
        FDelays[Which] = Milliseconds;
}

int TToolTipWindow::DelayTime(int Which) const
{
    return Which >= 0 && Which < 4 ? FDelays[Which] : -1;
}

bool TToolTipWindow::Popup(TPoint ScreenAt)
{
    if (!FTool)
        return false;
    NMTTDISPINFOW info;
    info.hdr.hwndFrom = Handle();
    info.hdr.code = TTN_GETDISPINFOW;
    info.lpszTitle = nullptr;
    info.Icon = FIcon;
    FTool->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    FText = info.lpszText ? UnicodeString::fromUtf16(info.lpszText) : UnicodeString::fromUtf16(info.szText);
    if (FText.isEmpty()) {
        Pop();
        return false;
    }
    if (info.lpszTitle)
        SetTitle(UnicodeString::fromUtf16(info.lpszTitle), info.Icon);
    FBack = info.TipBkColor;
    FFore = info.TipTextColor;
    if (info.MaxTipWidth > 0)
        FMaxWidth = info.MaxTipWidth;
    TBalloonTipInfo b;
    b.Title = FTitle;
    b.Text = FText;
    b.Icon = FIcon;
    const QSize s = platform_detail::BalloonTipSize(Widget()->font(), b, FMaxWidth);
    SetBounds(ScreenAt.X - 16, ScreenAt.Y, s.width(), s.height());
    FShowing = true;
    SetVisible(true);
    Invalidate();
    FTracker->Shown();
    return true;
}

void TToolTipWindow::Pop()
{
    FTracker->Stop();
    if (!FShowing)
        return;
    FShowing = false;
    SetVisible(false);
}

void TToolTipWindow::Paint()
{
    QPainter *p = Canvas()->Painter();
    if (!p)
        return;
    TBalloonTipInfo b;
    b.Title = FTitle;
    b.Text = FText;
    b.Icon = FIcon;
    const QColor back = FBack == 0xFFFFFFFFu ? QColor(255, 255, 225) : ColorToQColor(static_cast<TColor>(FBack));
    const QColor fore = FFore == 0xFFFFFFFFu ? QColor(0, 0, 0) : ColorToQColor(static_cast<TColor>(FFore));
    p->save();
    platform_detail::PaintBalloonTip(*p, Widget()->font(), QSize(Width(), Height()), b, back, fore);
    p->restore();
}

void TToolTipWindow::WndProc(TMessage &Message)
{
    if (Message.Msg == TTM_POP) {
        Pop();
        return;
    }
    TCustomControl::WndProc(Message);
}
