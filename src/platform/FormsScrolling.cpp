// Scrolling controls: the content is the union of the children's bounds; the bars show while it
// does not fit, and their positions move the children by the scrolled distance.
#include "platform/Forms.h"

#include "platform/Messages.h"
#include "platform/StdCtrlsPrivate.h"
#include "platform/Windows.h"

#include <QScrollBar>

#include <algorithm>

namespace {

const QString VertBarName = QStringLiteral("fabricorVertBar");
const QString HorzBarName = QStringLiteral("fabricorHorzBar");

QScrollBar *BarOf(const TWinControl *Control, const QString &Name)
{
    QWidget *w = Control->WidgetIfAllocated();
    return w ? w->findChild<QScrollBar *>(Name, Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

void TControlScrollBar::SetVisible(bool Value)
{
    FVisible = Value;
    if (FControl)
        FControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int Value)
{
    if (FControl)
        FControl->ScrollTo(*this, Value);
    else
        FPosition = std::max(Value, 0);
}

TScrollingWinControl::TScrollingWinControl(TComponent *AOwner) : TCustomControl(AOwner)
{
    FVertScrollBar.FControl = this;
    FHorzScrollBar.FControl = this;
    FHorzScrollBar.FHorizontal = true;
}

TScrollingWinControl::~TScrollingWinControl()
{
    FVertScrollBar.FControl = nullptr;
    FHorzScrollBar.FControl = nullptr;
}

void TScrollingWinControl::SetAutoScroll(bool Value)
{
    if (FAutoScroll == Value)
        return;
    FAutoScroll = Value;
    UpdateScrollBars();
}

TRect TScrollingWinControl::ClientRect() const
{
    const int v = FVertScrollBar.FShown ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const int h = FHorzScrollBar.FShown ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    return {0, 0, std::max(Width() - v, 0), std::max(Height() - h, 0)};
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (FUpdating)
        return;
    FUpdating = true;
    // The content in unscrolled coordinates.
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl *c = Controls(i);
        if (!c->Visible() || c->Align() != alNone)
            continue;
        right = std::max(right, c->Left() + c->Width() + FHorzScrollBar.FPosition);
        bottom = std::max(bottom, c->Top() + c->Height() + FVertScrollBar.FPosition);
    }
    FVertScrollBar.FRange = bottom;
    FHorzScrollBar.FRange = right;
    const int vw = GetSystemMetrics(SM_CXVSCROLL), hh = GetSystemMetrics(SM_CYHSCROLL);
    bool v = false, h = false;
    // A bar that shows narrows the room for the other content direction: settle in two rounds.
    for (int round = 0; round < 2; ++round) {
        v = FAutoScroll && FVertScrollBar.FVisible && bottom > Height() - (h ? hh : 0);
        h = FAutoScroll && FHorzScrollBar.FVisible && right > Width() - (v ? vw : 0);
    }
    FVertScrollBar.FShown = v;
    FHorzScrollBar.FShown = h;
    FUpdating = false;
    // Positions past the new end come back, moving the children with them.
    ScrollTo(FVertScrollBar, v ? FVertScrollBar.FPosition : 0);
    ScrollTo(FHorzScrollBar, h ? FHorzScrollBar.FPosition : 0);
    PlaceBars();
}

void TScrollingWinControl::ScrollTo(TControlScrollBar &Bar, int Position)
{
    const TRect client = ClientRect();
    const int room = Bar.FHorizontal ? client.Width() : client.Height();
    Position = std::clamp(Position, 0, std::max(Bar.FRange - room, 0));
    const int delta = Position - Bar.FPosition;
    if (delta == 0)
        return;
    Bar.FPosition = Position;
    const bool updating = FUpdating;
    FUpdating = true;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl *c = Controls(i);
        if (c->Align() != alNone)
            continue;
        if (Bar.FHorizontal)
            c->SetBounds(c->Left() - delta, c->Top(), c->Width(), c->Height());
        else
            c->SetBounds(c->Left(), c->Top() - delta, c->Width(), c->Height());
    }
    FUpdating = updating;
    PlaceBars();
    Invalidate();
}

void TScrollingWinControl::PlaceBars()
{
    const int vw = GetSystemMetrics(SM_CXVSCROLL), hh = GetSystemMetrics(SM_CYHSCROLL);
    const TRect client = ClientRect();
    if (QScrollBar *b = BarOf(this, VertBarName)) {
        const QSignalBlocker block(b);
        b->setGeometry(Width() - vw, 0, vw, client.Height());
        b->setRange(0, std::max(FVertScrollBar.FRange - client.Height(), 0));
        b->setPageStep(std::max(client.Height(), 1));
        b->setSingleStep(FVertScrollBar.FIncrement);
        b->setValue(FVertScrollBar.FPosition);
        b->setVisible(FVertScrollBar.FShown);
    }
    if (QScrollBar *b = BarOf(this, HorzBarName)) {
        const QSignalBlocker block(b);
        b->setGeometry(0, Height() - hh, client.Width(), hh);
        b->setRange(0, std::max(FHorzScrollBar.FRange - client.Width(), 0));
        b->setPageStep(std::max(client.Width(), 1));
        b->setSingleStep(FHorzScrollBar.FIncrement);
        b->setValue(FHorzScrollBar.FPosition);
        b->setVisible(FHorzScrollBar.FShown);
    }
}

void TScrollingWinControl::AlignControls(TControl *AControl, TRect &Rect)
{
    TCustomControl::AlignControls(AControl, Rect);
    UpdateScrollBars();
}

void TScrollingWinControl::BoundsChanged(bool Moved, bool Resized)
{
    TCustomControl::BoundsChanged(Moved, Resized);
    if (Resized)
        UpdateScrollBars();
}

void TScrollingWinControl::CreateWnd()
{
    TCustomControl::CreateWnd();
    for (bool horizontal : {false, true}) {
        auto *b = new QScrollBar(horizontal ? Qt::Horizontal : Qt::Vertical, WidgetIfAllocated());
        b->setObjectName(horizontal ? HorzBarName : VertBarName);
        b->setVisible(false);
        const UINT msg = horizontal ? WM_HSCROLL : WM_VSCROLL;
        QObject *links = platform_detail::Links(b);
        // Dragging the thumb tracks; any other move ends at its position.
        QObject::connect(b, &QScrollBar::sliderMoved, links, [this, msg](int Value) {
            platform_detail::FromSignal(this, [this, msg, Value] { Perform(msg, MakeWParam(SB_THUMBTRACK, Value), 0); });
        });
        QObject::connect(b, &QScrollBar::valueChanged, links, [this, msg, b](int Value) {
            if (b->isSliderDown())
                return;
            platform_detail::FromSignal(this, [this, msg, Value] { Perform(msg, MakeWParam(SB_THUMBPOSITION, Value), 0); });
        });
    }
    UpdateScrollBars();
}

void TScrollingWinControl::Dispatch(TMessage &Message)
{
    if (Message.Msg == WM_VSCROLL) {
        TWMScroll m(Message);
        WMVScroll(m);
        Message.Result = m.Result;
    } else if (Message.Msg == WM_HSCROLL) {
        TWMScroll m(Message);
        WMHScroll(m);
        Message.Result = m.Result;
    } else {
        TCustomControl::Dispatch(Message);
    }
}

void TScrollingWinControl::Scroll(TControlScrollBar &Bar, TWMScroll &Message)
{
    const TRect client = ClientRect();
    const int page = Bar.FHorizontal ? client.Width() : client.Height();
    int pos = Bar.FPosition;
    switch (Message.ScrollCode) {
    case SB_LINEUP: pos -= Bar.FIncrement; break;
    case SB_LINEDOWN: pos += Bar.FIncrement; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION: pos = Message.Pos; break;
    case SB_THUMBTRACK:
        if (Bar.FTracking)
            pos = Message.Pos;
        break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = Bar.FRange; break;
    default: break;
    }
    ScrollTo(Bar, pos);
    Message.Result = 0;
}

void TScrollingWinControl::WMVScroll(TWMScroll &Message)
{
    Scroll(FVertScrollBar, Message);
}

void TScrollingWinControl::WMHScroll(TWMScroll &Message)
{
    Scroll(FHorzScrollBar, Message);
}
