// The page control and its tab sheets, on a Qt tab bar.
#include "platform/ComCtrls.h"

#include "platform/StdCtrlsPrivate.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSlider>
#include <QTabBar>

#include <algorithm>

using platform_detail::DropLinks;
using platform_detail::FromSignal;
using platform_detail::Links;

// ---------------------------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent *AOwner) : TCustomControl(AOwner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    // Leaving the parent here, while the sheet is still a windowed control, takes it out of
    // the page control and of the parent's tab order alike.
    SetParent(nullptr);
}

void TTabSheet::SetParent(TWinControl *AParent)
{
    TCustomControl::SetParent(AParent);
    auto *pc = dynamic_cast<TPageControl *>(AParent);
    if (pc == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    if (pc)
        pc->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl *Value)
{
    SetParent(Value);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    const auto &p = FPageControl->FPages;
    return static_cast<int>(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int Value)
{
    if (FPageControl)
        FPageControl->MovePage(this, Value);
}

int TTabSheet::TabIndex() const
{
    if (!FPageControl || !FTabVisible)
        return -1;
    int n = 0;
    for (TTabSheet *p : FPageControl->FPages) {
        if (p == this)
            return n;
        if (p->FTabVisible)
            ++n;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool Value)
{
    if (FTabVisible == Value)
        return;
    FTabVisible = Value;
    if (!FPageControl)
        return;
    if (!Value && FPageControl->ActivePage() == this)
        FPageControl->SetActivePage(FPageControl->FindNextPage(this, true, true));
    else if (Value && !FPageControl->ActivePage())
        FPageControl->SetActivePage(this);
    FPageControl->UpdateTabs();
}

void TTabSheet::TextChanged()
{
    if (FPageControl)
        FPageControl->UpdateTabs();
}

// ---------------------------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent *AOwner) : TCustomControl(AOwner)
{
    FControlStyle = {csDoubleClicks, csOpaque};
    TControl::SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

TPageControl::~TPageControl()
{
    for (TTabSheet *p : FPages)
        p->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
    if (QTabBar *b = Bar())
        DropLinks(b);
    // Leaving the parent while still a windowed control takes it out of the tab order too.
    SetParent(nullptr);
}

TTabSheet *TPageControl::Pages(int Index) const
{
    if (Index < 0 || Index >= PageCount())
        throw EListError(QString::fromLatin1(SListIndexError).arg(Index));
    return FPages[static_cast<std::size_t>(Index)];
}

QTabBar *TPageControl::Bar() const
{
    QWidget *w = WidgetIfAllocated();
    return w ? w->findChild<QTabBar *>(QStringLiteral("fabricorTabs"), Qt::FindDirectChildrenOnly) : nullptr;
}

QWidget *TPageControl::CreateWidget(QWidget *ParentWidget)
{
    QWidget *w = TCustomControl::CreateWidget(ParentWidget);
    auto *bar = new QTabBar(w);
    bar->setObjectName(QStringLiteral("fabricorTabs"));
    bar->setDrawBase(false);
    bar->setExpanding(false);
    bar->setFocusPolicy(Qt::NoFocus);
    QObject::connect(bar, &QTabBar::currentChanged, Links(bar), [this](int Index) {
        FromSignal(this, [this, Index] {
            if (FSyncing > 0 || Index < 0)
                return;
            for (TTabSheet *p : FPages)
                if (p->TabIndex() == Index) {
                    UserSelected(p);
                    return;
                }
        });
    });
    return w;
}

void TPageControl::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateTabs();
}

int TPageControl::TabHeight() const
{
    if (QTabBar *b = Bar(); b && b->count() > 0)
        return b->sizeHint().height();
    return QFontMetrics(Font()->QtFont()).height() + 8;
}

TRect TPageControl::DisplayRect() const
{
    const int top = TabHeight();
    return {4, top + 4, std::max(Width() - 4, 4), std::max(Height() - 4, top + 4)};
}

void TPageControl::InsertPage(TTabSheet *Page)
{
    Page->FPageControl = this;
    FPages.push_back(Page);
    const TRect r = DisplayRect();
    Page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    if (!FActivePage && Page->TabVisible())
        FActivePage = Page;
    ShowActive();
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet *Page)
{
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    if (it == FPages.end())
        return;
    TTabSheet *next = FActivePage == Page ? FindNextPage(Page, true, true) : FActivePage;
    FPages.erase(it);
    Page->FPageControl = nullptr;
    FActivePage = next == Page ? nullptr : next;
    ShowActive();
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet *Page, int Index)
{
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    if (it == FPages.end())
        return;
    FPages.erase(it);
    Index = std::clamp(Index, 0, PageCount());
    FPages.insert(FPages.begin() + Index, Page);
    UpdateTabs();
}

void TPageControl::SetActivePage(TTabSheet *Page)
{
    if (Page && Page->FPageControl != this)
        return;
    FActivePage = Page;
    ShowActive();
    UpdateTabs();
}

int TPageControl::ActivePageIndex() const
{
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Value)
{
    SetActivePage(Value >= 0 && Value < PageCount() ? FPages[static_cast<std::size_t>(Value)] : nullptr);
}

TTabSheet *TPageControl::FindNextPage(TTabSheet *CurrentPage, bool GoForward, bool CheckTabVisible) const
{
    const int count = PageCount();
    if (count == 0)
        return nullptr;
    auto it = std::find(FPages.begin(), FPages.end(), CurrentPage);
    int start = it == FPages.end() ? (GoForward ? count - 1 : 0) : static_cast<int>(it - FPages.begin());
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = GoForward ? (i + 1) % count : (i + count - 1) % count;
        TTabSheet *p = FPages[static_cast<std::size_t>(i)];
        if (p != CurrentPage && (!CheckTabVisible || p->TabVisible()))
            return p;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible)
{
    TTabSheet *p = FindNextPage(FActivePage, GoForward, CheckTabVisible);
    if (p && p != FActivePage && CanChange()) {
        SetActivePage(p);
        Change();
    }
}

void TPageControl::ShowActive()
{
    for (TTabSheet *p : FPages)
        if (p != FActivePage)
            p->SetVisible(false);
    if (FActivePage) {
        const TRect r = DisplayRect();
        FActivePage->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        FActivePage->SetVisible(true);
        FActivePage->BringToFront();
    }
}

void TPageControl::UpdateTabs()
{
    QTabBar *bar = Bar();
    if (!bar)
        return;
    ++FSyncing;
    while (bar->count() > 0)
        bar->removeTab(0);
    for (TTabSheet *p : FPages)
        if (p->TabVisible())
            bar->addTab(p->Caption());
    bar->setCurrentIndex(FActivePage ? FActivePage->TabIndex() : -1);
    bar->setGeometry(2, 0, std::max(Width() - 4, 0), bar->sizeHint().height());
    bar->setVisible(bar->count() > 0);
    bar->raise();
    --FSyncing;
    Realign();
    Invalidate();
}

void TPageControl::AlignControls(TControl *AControl, TRect &Rect)
{
    TCustomControl::AlignControls(AControl, Rect);
    const TRect r = DisplayRect();
    for (TTabSheet *p : FPages)
        p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TPageControl::BoundsChanged(bool Moved, bool Resized)
{
    TCustomControl::BoundsChanged(Moved, Resized);
    if (QTabBar *bar = Bar())
        bar->setGeometry(2, 0, std::max(Width() - 4, 0), bar->sizeHint().height());
}

void TPageControl::CMFontChanged(TCMFontChanged &Message)
{
    TCustomControl::CMFontChanged(Message);
    if (QTabBar *bar = Bar())
        bar->setFont(Font()->QtFont());
    UpdateTabs();
}

void TPageControl::Paint()
{
    QPainter *p = Canvas()->Painter();
    if (!p)
        return;
    p->save();
    p->fillRect(QRect(0, 0, Width(), Height()), ColorToQColor(Color()));
    // The raised frame around the pages, open under the active tab's row.
    const QRect r(0, TabHeight() - 1, Width() - 1, Height() - TabHeight());
    p->setPen(ColorToQColor(clBtnHighlight));
    p->drawLine(r.topLeft(), r.topRight());
    p->drawLine(r.topLeft(), r.bottomLeft());
    p->setPen(ColorToQColor(clBtnShadow));
    p->drawLine(r.bottomLeft(), r.bottomRight());
    p->drawLine(r.topRight(), r.bottomRight());
    p->restore();
}

bool TPageControl::CanChange()
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TPageControl::Change()
{
    if (OnChange)
        OnChange(this);
}

void TPageControl::UserSelected(TTabSheet *Page)
{
    if (Page == FActivePage)
        return;
    if (!CanChange()) {
        UpdateTabs(); // the tab goes back to the page that stays
        return;
    }
    SetActivePage(Page);
    Change();
}

// ---------------------------------------------------------------------------------------------
// TTrackBar

TTrackBar::TTrackBar(TComponent *AOwner) : TWinControl(AOwner)
{
    TControl::SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

QWidget *TTrackBar::CreateWidget(QWidget *ParentWidget)
{
    auto *s = new QSlider(Qt::Horizontal, ParentWidget);
    s->setTickPosition(QSlider::TicksBelow);
    QObject::connect(s, &QSlider::valueChanged, Links(s),
                     [this](int v) { FromSignal(this, [this, v] { SetPosition(v); }); });
    return s;
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyState();
}

void TTrackBar::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTARROWS;
}

void TTrackBar::WMKeyDown(TWMKey &Message)
{
    if (DoKeyDown(Message))
        return;
    // Wide sums, so that a step near the ends of int clamps rather than wraps.
    const auto step = [this](long long By) {
        SetPosition(static_cast<int>(std::clamp<long long>(FPosition + By, FMin, FMax)));
    };
    switch (Message.CharCode) {
    case VK_LEFT:
    case VK_UP: step(-1); break;
    case VK_RIGHT:
    case VK_DOWN: step(1); break;
    case VK_PRIOR: step(-static_cast<long long>(FPageSize)); break;
    case VK_NEXT: step(FPageSize); break;
    case VK_HOME: SetPosition(FMin); break;
    case VK_END: SetPosition(FMax); break;
    default: Inherited(Message);
    }
}

void TTrackBar::WMSysKeyDown(TWMKey &Message)
{
    if (DoKeyDown(Message))
        return;
    switch (Message.CharCode) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END: break;
    default: Inherited(Message);
    }
}

void TTrackBar::ApplyState()
{
    auto *s = static_cast<QSlider *>(WidgetIfAllocated());
    if (!s)
        return;
    const QSignalBlocker block(s);
    s->setRange(FMin, FMax);
    s->setValue(FPosition);
    s->setPageStep(FPageSize);
    s->setTickInterval(FFrequency);
}

void TTrackBar::SetMin(int Value)
{
    FMin = Value;
    if (FMax < FMin)
        FMax = FMin;
    SetPosition(FPosition);
    ApplyState();
}

void TTrackBar::SetMax(int Value)
{
    FMax = Value;
    if (FMin > FMax)
        FMin = FMax;
    SetPosition(FPosition);
    ApplyState();
}

void TTrackBar::SetPosition(int Value)
{
    const int v = std::clamp(Value, FMin, FMax);
    if (v == FPosition) {
        ApplyState();
        return;
    }
    FPosition = v;
    ApplyState();
    Changed();
}

void TTrackBar::SetPageSize(int Value)
{
    FPageSize = Value;
    ApplyState();
}

void TTrackBar::SetFrequency(int Value)
{
    FFrequency = Value;
    ApplyState();
}

void TTrackBar::Changed()
{
    if (OnChange)
        OnChange(this);
}
