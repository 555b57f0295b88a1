// Panels, shapes, images, link labels and the category panel group.
#include "platform/ExtCtrlsPanels.h"

#include "platform/StdCtrls.h"
#include "platform/StdCtrlsPrivate.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <vector>

using platform_detail::DropLinks;
using platform_detail::FromSignal;
using platform_detail::Links;

// ---------------------------------------------------------------------------------------------
// Frame3D and TCustomPanel

void Frame3D(TCanvas *Canvas, TRect &Rect, TColor TopColor, TColor BottomColor, int Width)
{
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    --Rect.Bottom;
    --Rect.Right;
    while (Width > 0) {
        --Width;
        const TPoint topLeft{Rect.Left, Rect.Top};
        const TPoint topRight{Rect.Right, Rect.Top};
        const TPoint bottomRight{Rect.Right, Rect.Bottom};
        TPoint bottomLeft{Rect.Left, Rect.Bottom};
        Canvas->Pen()->SetColor(TopColor);
        Canvas->Polyline({bottomLeft, topLeft, topRight});
        Canvas->Pen()->SetColor(BottomColor);
        --bottomLeft.X;
        Canvas->Polyline({topRight, bottomRight, bottomLeft});
        Rect = {Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1};
    }
    ++Rect.Bottom;
    ++Rect.Right;
}

TCustomPanel::TCustomPanel(TComponent *AOwner) : TCustomControl(AOwner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                     csReplicatable, csParentBackground};
    TControl::SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
    SetParentColor(true);
}

int TCustomPanel::FrameWidth() const
{
    int w = FBorderWidth;
    if (FBevelOuter != bvNone)
        w += FBevelWidth;
    if (FBevelInner != bvNone)
        w += FBevelWidth;
    if (FBorderStyle == bsSingle)
        w += 1;
    return w;
}

void TCustomPanel::AlignControls(TControl *AControl, TRect &Rect)
{
    const int f = FrameWidth();
    Rect = {Rect.Left + f, Rect.Top + f, std::max(Rect.Right - f, Rect.Left + f), std::max(Rect.Bottom - f, Rect.Top + f)};
    TCustomControl::AlignControls(AControl, Rect);
}

void TCustomPanel::Paint()
{
    TCanvas *c = Canvas();
    if (!c->Painter())
        return;
    TRect r = ClientRect();
    auto colors = [](TPanelBevel Bevel, TColor &Top, TColor &Bottom) {
        Top = Bevel == bvLowered ? clBtnShadow : clBtnHighlight;
        Bottom = Bevel == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    if (FBorderStyle == bsSingle)
        Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
    TColor top = clNone, bottom = clNone;
    if (FBevelOuter != bvNone) {
        colors(FBevelOuter, top, bottom);
        Frame3D(c, r, top, bottom, FBevelWidth);
    }
    Frame3D(c, r, Color(), Color(), FBorderWidth);
    if (FBevelInner != bvNone) {
        colors(FBevelInner, top, bottom);
        Frame3D(c, r, top, bottom, FBevelWidth);
    }
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (FShowCaption && !Caption().isEmpty()) {
        QPainter *p = c->Painter();
        int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
        flags |= FAlignment == taLeftJustify ? Qt::AlignLeft : FAlignment == taRightJustify ? Qt::AlignRight : Qt::AlignHCenter;
        flags |= FVerticalAlignment == taAlignTop ? Qt::AlignTop
                 : FVerticalAlignment == taAlignBottom ? Qt::AlignBottom
                                                        : Qt::AlignVCenter;
        p->save();
        p->setFont(Font()->QtFont());
        p->setPen(ColorToQColor(Enabled() ? Font()->Color() : clGrayText));
        p->drawText(QRect(r.Left, r.Top, r.Width(), r.Height()), flags, Caption());
        p->restore();
    }
}

void TCustomPanel::CMTextChanged(TCMTextChanged &Message)
{
    Invalidate();
    TCustomControl::CMTextChanged(Message);
}

void TCustomPanel::SetBevelInner(TPanelBevel Value)
{
    FBevelInner = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value)
{
    FBevelOuter = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value)
{
    FBevelWidth = std::max(Value, 1);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int Value)
{
    FBorderWidth = std::max(Value, 0);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    Invalidate();
}

void TCustomPanel::SetVerticalAlignment(TVerticalAlignment Value)
{
    FVerticalAlignment = Value;
    Invalidate();
}

void TCustomPanel::SetShowCaption(bool Value)
{
    FShowCaption = Value;
    Invalidate();
}

void TCustomPanel::SetParentBackground(bool Value)
{
    FParentBackground = Value;
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// TShape

TShape::TShape(TComponent *AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
    FControlStyle << csReplicatable;
    TControl::SetBounds(0, 0, 65, 65);
    FPen->OnChange = [this](TObject *) { Invalidate(); };
    FBrush->OnChange = [this](TObject *) { Invalidate(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType Value)
{
    if (FShape == Value)
        return;
    FShape = Value;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas *c = Canvas();
    if (!c->Painter())
        return;
    c->SetPen(FPen.get());
    c->SetBrush(FBrush.get());
    const int pw = FPen->Style() == TPenStyle::psClear ? 0 : FPen->Width();
    int x = pw / 2;
    int y = x;
    int w = Width() - pw + 1;
    int h = Height() - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    const int s = std::min(w, h);
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = s;
        h = s;
    }
    switch (FShape) {
    case stRectangle:
    case stSquare: c->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: c->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: c->Ellipse(x, y, x + w, y + h); break;
    }
}

// ---------------------------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent *AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>())
{
    FControlStyle << csReplicatable;
    TControl::SetBounds(0, 0, 105, 105);
    FPicture->OnChange = [this](TObject *) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::PictureChanged()
{
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    if (TGraphic *g = FPicture->Graphic(); g && FTransparent != g->Transparent())
        g->SetTransparent(FTransparent);
    Invalidate();
}

void TImage::SetStretch(bool Value)
{
    FStretch = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value)
{
    FCenter = Value;
    Invalidate();
}

void TImage::SetProportional(bool Value)
{
    FProportional = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value)
{
    FTransparent = Value;
    if (TGraphic *g = FPicture->Graphic())
        g->SetTransparent(Value);
    Invalidate();
}

void TImage::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (Value)
        PictureChanged();
}

TRect TImage::DestRect() const
{
    int w = FPicture->Width();
    int h = FPicture->Height();
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            const double aspect = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * aspect);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r{0, 0, w, h};
    if (FCenter) {
        const int dx = (cw - w) / 2;
        const int dy = (ch - h) / 2;
        r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
    }
    return r;
}

void TImage::Paint()
{
    TGraphic *g = FPicture->Graphic();
    if (!g || g->Empty() || !Canvas()->Painter())
        return;
    Canvas()->StretchDraw(DestRect(), g);
}

// ---------------------------------------------------------------------------------------------
// TLinkLabel

TLinkLabel::TLinkLabel(TComponent *AOwner) : TWinControl(AOwner)
{
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControl::SetBounds(0, 0, 53, 17);
    SetTabStop(true);
}

TLinkLabel::~TLinkLabel()
{
    DropLinks(WidgetIfAllocated());
    // Leaving the parent while still a windowed control takes it out of the tab order too.
    SetParent(nullptr);
}

UnicodeString TLinkLabel::CaptionToHtml(const UnicodeString &Caption)
{
    static const QRegularExpression anchor(QStringLiteral("<a(\\s[^>]*)?>(.*?)</a\\s*>"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression attr(QStringLiteral("(href|id)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    auto plain = [](const QString &S) {
        QString e = S.toHtmlEscaped();
        e.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
        e.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
        return e;
    };
    QString html;
    qsizetype pos = 0;
    auto it = anchor.globalMatch(Caption);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        html += plain(Caption.mid(pos, m.capturedStart() - pos));
        QString href, id;
        auto ait = attr.globalMatch(m.captured(1));
        while (ait.hasNext()) {
            const QRegularExpressionMatch am = ait.next();
            QString v = am.captured(2);
            if (v.isNull())
                v = am.captured(3);
            if (v.isNull())
                v = am.captured(4);
            if (am.captured(1).compare(QStringLiteral("href"), Qt::CaseInsensitive) == 0)
                href = v;
            else
                id = v;
        }
        // The window hands back what stands in href: the target, or the id marked as such.
        const QString target = !href.isNull() ? QStringLiteral("u:") + href : QStringLiteral("i:") + id;
        html += QStringLiteral("<a href=\"") + target.toHtmlEscaped() + QStringLiteral("\">") + plain(m.captured(2)) +
                QStringLiteral("</a>");
        pos = m.capturedEnd();
    }
    html += plain(Caption.mid(pos));
    return html;
}

QWidget *TLinkLabel::CreateWidget(QWidget *ParentWidget)
{
    auto *l = new QLabel(ParentWidget);
    l->setTextFormat(Qt::RichText);
    l->setOpenExternalLinks(false);
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QObject::connect(l, &QLabel::linkActivated, Links(l), [this](const QString &Link) {
        FromSignal(this, [this, Link] { LinkClicked(Link); });
    });
    return l;
}

void TLinkLabel::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyCaption();
    platform_detail::ApplyControlColors(WidgetIfAllocated(), Color(), Font()->Color(), false);
}

void TLinkLabel::ApplyCaption()
{
    if (auto *l = static_cast<QLabel *>(WidgetIfAllocated())) {
        l->setText(CaptionToHtml(Caption()));
        l->setAlignment((FAlignment == taLeftJustify    ? Qt::AlignLeft
                         : FAlignment == taRightJustify ? Qt::AlignRight
                                                        : Qt::AlignHCenter) |
                        Qt::AlignVCenter);
    }
    AdjustSize();
}

void TLinkLabel::AdjustSize()
{
    if (!FAutoSize)
        return;
    // The size of the text as shown: the anchors' texts without their tags.
    static const QRegularExpression tag(QStringLiteral("</?a(\\s[^>]*)?>"), QRegularExpression::CaseInsensitiveOption);
    QString shown = Caption();
    shown.remove(tag);
    const QFontMetrics fm(Font()->QtFont());
    const QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft, shown.isEmpty() ? QStringLiteral(" ") : shown);
    SetBounds(Left(), Top(), r.width() + 4, std::max(r.height(), fm.height()) + 2);
}

void TLinkLabel::TextChanged()
{
    ApplyCaption();
}

void TLinkLabel::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    AdjustSize();
}

void TLinkLabel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    ApplyCaption();
}

void TLinkLabel::CMFontChanged(TCMFontChanged &Message)
{
    TWinControl::CMFontChanged(Message);
    platform_detail::ApplyControlColors(WidgetIfAllocated(), Color(), Font()->Color(), false);
    AdjustSize();
}

void TLinkLabel::CMColorChanged(TCMColorChanged &Message)
{
    platform_detail::ApplyControlColors(WidgetIfAllocated(), Color(), Font()->Color(), false);
    TWinControl::CMColorChanged(Message);
}

void TLinkLabel::LinkClicked(const UnicodeString &Link)
{
    if (Link.startsWith(QStringLiteral("u:")))
        DoOnLinkClick(Link.mid(2), sltURL);
    else if (Link.startsWith(QStringLiteral("i:")))
        DoOnLinkClick(Link.mid(2), sltID);
    else
        DoOnLinkClick(Link, sltURL);
}

void TLinkLabel::DoOnLinkClick(const UnicodeString &Link, TSysLinkType LinkType)
{
    if (OnLinkClick)
        OnLinkClick(this, Link, LinkType);
}

// ---------------------------------------------------------------------------------------------
// TCategoryPanel

TCategoryPanel::TCategoryPanel(TComponent *AOwner) : TCustomControl(AOwner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControl::SetBounds(0, 0, 185, FExpandedHeight);
}

TCategoryPanel::~TCategoryPanel()
{
    TCategoryPanelGroup *g = PanelGroup();
    SetParent(nullptr);
    if (g)
        g->ArrangePanels();
}

TCategoryPanelGroup *TCategoryPanel::PanelGroup() const
{
    return dynamic_cast<TCategoryPanelGroup *>(Parent());
}

void TCategoryPanel::SetPanelGroup(TCategoryPanelGroup *Value)
{
    SetParent(Value);
}

void TCategoryPanel::SetParent(TWinControl *AParent)
{
    const bool joins = dynamic_cast<TCategoryPanelGroup *>(AParent) && AParent != Parent();
    TCustomControl::SetParent(AParent);
    if (!joins)
        return;
    // A panel that joins goes below the others.
    auto *g = static_cast<TCategoryPanelGroup *>(AParent);
    FOrderStamp = 0;
    g->FArranging = true;
    TCustomControl::SetBounds(Left(), INT_MAX / 2, Width(), FCollapsed ? HeaderHeight() : FExpandedHeight);
    g->FArranging = false;
    g->ArrangePanels();
}

int TCategoryPanel::HeaderHeight() const
{
    TCategoryPanelGroup *g = PanelGroup();
    return g ? g->HeaderHeight() : 24;
}

void TCategoryPanel::SetCollapsed(bool Value)
{
    if (FCollapsed == Value)
        return;
    FCollapsed = Value;
    if (TCategoryPanelGroup *g = PanelGroup())
        g->ArrangePanels();
    else
        TCustomControl::SetBounds(Left(), Top(), Width(), Value ? HeaderHeight() : FExpandedHeight);
    PlaceWindow();
    if (Value) {
        if (OnCollapse)
            OnCollapse(this);
    } else if (OnExpand) {
        OnExpand(this);
    }
}

void TCategoryPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCategoryPanelGroup *g = PanelGroup();
    if (g && g->FArranging) {
        TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
        return;
    }
    // A height set from outside is the height to expand to.
    if (!FCollapsed || AHeight != HeaderHeight())
        FExpandedHeight = std::max(AHeight, 0);
    if (g && ATop != Top())
        FOrderStamp = g->FNextStamp++;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, FCollapsed ? HeaderHeight() : FExpandedHeight);
    if (g)
        g->ArrangePanels();
}

TRect TCategoryPanel::ClientRect() const
{
    return {0, 0, Width(), std::max(Height() - HeaderHeight(), 0)};
}

TPoint TCategoryPanel::ClientOrigin() const
{
    const TPoint p = TCustomControl::ClientOrigin();
    return {p.X, p.Y + HeaderHeight()};
}

void TCategoryPanel::PlaceWindow()
{
    QWidget *w = WidgetIfAllocated();
    if (!w || !Parent())
        return;
    const int header = HeaderHeight();
    w->setGeometry(Left(), Top() + header, Width(), std::max(Height() - header, 0));
    w->setVisible(Visible() && !FCollapsed);
}

void TCategoryPanel::CreateWnd()
{
    TCustomControl::CreateWnd();
    PlaceWindow();
}

void TCategoryPanel::BoundsChanged(bool Moved, bool Resized)
{
    TCustomControl::BoundsChanged(Moved, Resized);
    PlaceWindow();
    if (TCategoryPanelGroup *g = PanelGroup())
        g->Invalidate();
}

void TCategoryPanel::CMVisibleChanged(TCMVisibleChanged &Message)
{
    TCustomControl::CMVisibleChanged(Message);
    PlaceWindow();
    if (TCategoryPanelGroup *g = PanelGroup())
        g->ArrangePanels();
}

void TCategoryPanel::CMTextChanged(TCMTextChanged &Message)
{
    if (TCategoryPanelGroup *g = PanelGroup())
        g->Invalidate();
    TCustomControl::CMTextChanged(Message);
}

// ---------------------------------------------------------------------------------------------
// TCategoryPanelGroup

TCategoryPanelGroup::TCategoryPanelGroup(TComponent *AOwner) : TCustomControl(AOwner)
{
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    TControl::SetBounds(0, 0, 200, 400);
    SetColor(clBtnFace);
    SetTabStop(true);
}

TCategoryPanelGroup::~TCategoryPanelGroup()
{
    if (QScrollBar *b = Bar())
        DropLinks(b);
    // Leaving the parent while still a windowed control takes it out of the tab order too.
    SetParent(nullptr);
}

QScrollBar *TCategoryPanelGroup::Bar() const
{
    QWidget *w = WidgetIfAllocated();
    return w ? w->findChild<QScrollBar *>(QStringLiteral("fabricorGroupBar"), Qt::FindDirectChildrenOnly) : nullptr;
}

int TCategoryPanelGroup::PanelCount() const
{
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i)
        if (dynamic_cast<TCategoryPanel *>(Controls(i)))
            ++n;
    return n;
}

TCategoryPanel *TCategoryPanelGroup::Panels(int Index) const
{
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto *p = dynamic_cast<TCategoryPanel *>(Controls(i)))
            if (n++ == Index)
                return p;
    throw EListError(QString::fromLatin1(SListIndexError).arg(Index));
}

void TCategoryPanelGroup::SetHeaderHeight(int Value)
{
    FHeaderHeight = std::max(Value, 0);
    ArrangePanels();
}

void TCategoryPanelGroup::CollapseAll()
{
    for (int i = 0; i < PanelCount(); ++i)
        Panels(i)->SetCollapsed(true);
}

void TCategoryPanelGroup::ExpandAll()
{
    for (int i = 0; i < PanelCount(); ++i)
        Panels(i)->SetCollapsed(false);
}

TRect TCategoryPanelGroup::ClientRect() const
{
    const int bar = FVertScrollBar.FShown ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    return {0, 0, std::max(Width() - bar, 0), Height()};
}

void TCategoryPanelGroup::ArrangePanels()
{
    if (FArranging)
        return;
    std::vector<TCategoryPanel *> panels;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto *p = dynamic_cast<TCategoryPanel *>(Controls(i)); p && p->Visible())
            panels.push_back(p);
    std::stable_sort(panels.begin(), panels.end(), [](TCategoryPanel *a, TCategoryPanel *b) {
        if (a->Top() != b->Top())
            return a->Top() < b->Top();
        return a->FOrderStamp > b->FOrderStamp;
    });
    int total = 0;
    for (TCategoryPanel *p : panels)
        total += p->FCollapsed ? FHeaderHeight : p->FExpandedHeight;
    FVertScrollBar.FRange = total;
    FVertScrollBar.FShown = FVertScrollBar.FVisible && total > Height();
    FVertScrollBar.FPosition = std::clamp(FVertScrollBar.FPosition, 0, std::max(total - Height(), 0));
    const int width = ClientRect().Width();
    FArranging = true;
    try {
        int y = -FVertScrollBar.FPosition;
        for (TCategoryPanel *p : panels) {
            const int h = p->FCollapsed ? FHeaderHeight : p->FExpandedHeight;
            p->SetBounds(0, y, width, h);
            y += h;
        }
    } catch (...) {
        FArranging = false;
        throw;
    }
    FArranging = false;
    PlaceScrollBar();
    Invalidate();
}

void TCategoryPanelGroup::AlignControls(TControl *AControl, TRect &Rect)
{
    TCustomControl::AlignControls(AControl, Rect);
    ArrangePanels();
}

void TCategoryPanelGroup::ScrollTo(int Position)
{
    const int top = std::max(FVertScrollBar.FRange - Height(), 0);
    Position = std::clamp(Position, 0, top);
    if (Position == FVertScrollBar.FPosition)
        return;
    FVertScrollBar.FPosition = Position;
    ArrangePanels();
}

void TCategoryPanelGroup::CreateWnd()
{
    TCustomControl::CreateWnd();
    auto *b = new QScrollBar(Qt::Vertical, WidgetIfAllocated());
    b->setObjectName(QStringLiteral("fabricorGroupBar"));
    QObject *links = Links(b);
    QObject::connect(b, &QScrollBar::valueChanged, links, [this](int Value) {
        FromSignal(this, [this, Value] {
            QScrollBar *bar = Bar();
            if (!FArranging && bar && (FVertScrollBar.FTracking || !bar->isSliderDown()))
                ScrollTo(Value);
        });
    });
    QObject::connect(b, &QScrollBar::sliderReleased, links, [this] {
        FromSignal(this, [this] {
            if (QScrollBar *bar = Bar())
                ScrollTo(bar->value());
        });
    });
    PlaceScrollBar();
}

void TCategoryPanelGroup::PlaceScrollBar()
{
    QScrollBar *b = Bar();
    if (!b)
        return;
    const QSignalBlocker block(b);
    const int w = GetSystemMetrics(SM_CXVSCROLL);
    b->setGeometry(Width() - w, 0, w, Height());
    b->setRange(0, std::max(FVertScrollBar.FRange - Height(), 0));
    b->setPageStep(std::max(Height(), 1));
    b->setSingleStep(FVertScrollBar.FIncrement);
    b->setValue(FVertScrollBar.FPosition);
    b->setVisible(FVertScrollBar.FShown);
}

void TCategoryPanelGroup::BoundsChanged(bool Moved, bool Resized)
{
    TCustomControl::BoundsChanged(Moved, Resized);
    PlaceScrollBar();
}

void TCategoryPanelGroup::Dispatch(TMessage &Message)
{
    // A child scroll bar's report is not the group's own bar.
    if (Message.Msg != WM_VSCROLL || Message.LParam != 0) {
        TCustomControl::Dispatch(Message);
        return;
    }
    int pos = FVertScrollBar.FPosition;
    switch (Message.WParamLo()) {
    case SB_LINEUP: pos -= FVertScrollBar.FIncrement; break;
    case SB_LINEDOWN: pos += FVertScrollBar.FIncrement; break;
    case SB_PAGEUP: pos -= Height(); break;
    case SB_PAGEDOWN: pos += Height(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = static_cast<SmallInt>(Message.WParamHi()); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = FVertScrollBar.FRange; break;
    default: break;
    }
    ScrollTo(pos);
    Message.Result = 0;
}

void TCategoryPanelGroup::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    for (int i = 0; i < PanelCount(); ++i) {
        TCategoryPanel *p = Panels(i);
        if (p->Visible() && X >= p->Left() && X < p->Left() + p->Width() && Y >= p->Top() &&
            Y < p->Top() + FHeaderHeight) {
            p->SetCollapsed(!p->Collapsed());
            return;
        }
    }
}

void TCategoryPanelGroup::Paint()
{
    QPainter *p = Canvas()->Painter();
    if (!p)
        return;
    p->save();
    p->fillRect(QRect(0, 0, Width(), Height()), ColorToQColor(Color()));
    const QColor face = ColorToQColor(clBtnFace);
    const QColor shadow = ColorToQColor(clBtnShadow);
    for (int i = 0; i < PanelCount(); ++i) {
        TCategoryPanel *panel = Panels(i);
        if (!panel->Visible())
            continue;
        const QRect r(panel->Left(), panel->Top(), panel->Width(), FHeaderHeight);
        if (r.bottom() < 0 || r.top() > Height())
            continue;
        QLinearGradient grad(r.topLeft(), r.bottomLeft());
        grad.setColorAt(0, face.lighter(112));
        grad.setColorAt(1, face.darker(104));
        p->fillRect(r, grad);
        p->setPen(shadow);
        p->drawRect(r.adjusted(0, 0, -1, -1));
        QFont f = panel->Font()->QtFont();
        f.setBold(true);
        p->setFont(f);
        p->setPen(ColorToQColor(panel->Font()->Color()));
        p->drawText(r.adjusted(8, 0, -24, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, panel->Caption());
        // The chevron: up while expanded (a click collapses), down while collapsed.
        const int cx = r.right() - 12;
        const int cy = r.center().y();
        p->setPen(QPen(shadow.darker(130), 1));
        for (int k = 0; k < 2; ++k) {
            const int yy = panel->Collapsed() ? cy - 3 + k * 4 : cy + 1 - k * 4;
            const int dy = panel->Collapsed() ? 3 : -3;
            p->drawLine(cx - 4, yy, cx, yy + dy);
            p->drawLine(cx, yy + dy, cx + 4, yy);
        }
    }
    p->restore();
}
