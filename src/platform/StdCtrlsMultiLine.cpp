// The edit's multi-line mode, its lines and character positions, and the balloon tip that an
// edit (or a combo box's edit field) shows to tell the user why a value was not taken.
#include "platform/StdCtrls.h"

#include "platform/StdCtrlsPrivate.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

using platform_detail::FromSignal;
using platform_detail::Links;


namespace platform_detail {

namespace {
constexpr int TipPad = 8;
constexpr int TipStem = 10;
constexpr int TipIconSize = 16;
} // namespace

QSize BalloonTipSize(const QFont &Font, const TBalloonTipInfo &Info, int MaxTextWidth)
{
    QFont bold = Font;
    bold.setBold(true);
    const QFontMetrics fmTitle(bold), fmText(Font);
    const int textWidth = std::min(std::max(MaxTextWidth, 1), fmText.horizontalAdvance(Info.Text));
    const QRect textBox = fmText.boundingRect(QRect(0, 0, std::max(textWidth, 1), 2000), Qt::TextWordWrap, Info.Text);
    const int iconSpace = Info.Icon != TTI_NONE ? TipIconSize + 6 : 0;
    const int w = std::max({iconSpace + fmTitle.horizontalAdvance(Info.Title), textBox.width(), 40}) + 2 * TipPad;
    const int titleHeight = Info.Title.isEmpty() ? 0 : std::max(fmTitle.height(), iconSpace ? TipIconSize : 0) + 4;
    return {w, TipStem + 2 * TipPad + titleHeight + textBox.height()};
}

void PaintBalloonTip(QPainter &p, const QFont &Font, QSize Size, const TBalloonTipInfo &Info, QColor Back, QColor Fore)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    const QRectF body(0.5, TipStem + 0.5, Size.width() - 1.0, Size.height() - TipStem - 1.0);
    path.addRoundedRect(body, 6, 6);
    QPolygonF stem;
    stem << QPointF(12, TipStem + 1) << QPointF(16, 0.5) << QPointF(24, TipStem + 1);
    path.addPolygon(stem);
    path = path.simplified();
    p.setPen(QColor(118, 118, 118));
    p.setBrush(Back);
    p.drawPath(path);
    int y = TipStem + TipPad;
    int x = TipPad;
    if (Info.Icon != TTI_NONE) {
        const QColor c = Info.Icon == TTI_INFO ? QColor(0, 102, 204) : Info.Icon == TTI_WARNING ? QColor(230, 160, 0) : QColor(204, 0, 0);
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRect(x, y, TipIconSize, TipIconSize));
        p.setPen(Qt::white);
        p.drawText(QRect(x, y, TipIconSize, TipIconSize), Qt::AlignCenter, Info.Icon == TTI_INFO ? QStringLiteral("i") : QStringLiteral("!"));
        x += TipIconSize + 6;
    }
    p.setPen(Fore);
    p.setFont(Font);
    if (!Info.Title.isEmpty()) {
        QFont bold = Font;
        bold.setBold(true);
        p.setFont(bold);
        p.drawText(QRect(x, y, Size.width() - x - TipPad, TipIconSize), Qt::AlignLeft | Qt::AlignVCenter, Info.Title);
        y += std::max(QFontMetrics(bold).height(), Info.Icon != TTI_NONE ? TipIconSize : 0) + 4;
        p.setFont(Font);
    }
    p.drawText(QRect(TipPad, y, Size.width() - 2 * TipPad, Size.height() - y - TipPad), Qt::TextWordWrap, Info.Text);
}

} // namespace platform_detail

namespace {

// The window of a multi-line edit: a plain text editor whose text margins can be set from
// outside (the formatting rectangle) and which never takes more than the typing limit.
class TMultiLineText : public QPlainTextEdit {
public:
    explicit TMultiLineText(QWidget *Parent) : QPlainTextEdit(Parent) {}
    void SetMargins(int Left, int Top, int Right, int Bottom) { setViewportMargins(Left, Top, Right, Bottom); }
    int MaxLength = 0;

protected:
    void keyPressEvent(QKeyEvent *Event) override
    {
        if (MaxLength > 0 && !Event->text().isEmpty() && Event->text().at(0).unicode() >= 32 && !IsNavigation(Event) &&
            Length() - textCursor().selectedText().size() >= MaxLength) {
            Event->accept();
            return;
        }
        QPlainTextEdit::keyPressEvent(Event);
    }
    void insertFromMimeData(const QMimeData *Source) override
    {
        if (MaxLength <= 0 || !Source->hasText()) {
            QPlainTextEdit::insertFromMimeData(Source);
            return;
        }
        const qsizetype room = MaxLength - (Length() - textCursor().selectedText().size());
        if (room > 0)
            insertPlainText(Source->text().left(room));
    }

private:
    // Characters as the classic control counts them: a line break is two.
    qsizetype Length() const
    {
        const QString t = toPlainText();
        return t.size() + t.count(QLatin1Char('\n'));
    }
    static bool IsNavigation(const QKeyEvent *Event) { return Event->modifiers() & (Qt::ControlModifier | Qt::AltModifier); }
};

// A classic position (CR LF counted as two) within Classic, as a position of the widget's text.
int QtPos(const UnicodeString &Classic, int Pos)
{
    Pos = std::clamp(Pos, 0, static_cast<int>(Classic.size()));
    return Pos - static_cast<int>(Classic.left(Pos).count(QStringLiteral("\r\n")));
}

int ClassicPos(const QString &Plain, int Pos)
{
    Pos = std::clamp(Pos, 0, static_cast<int>(Plain.size()));
    return Pos + static_cast<int>(Plain.left(Pos).count(QLatin1Char('\n')));
}

// Lays out every block so that line questions are answered for the text as it is shown.
QTextLayout *LaidOut(QPlainTextEdit *E, const QTextBlock &Block)
{
    E->document()->documentLayout()->blockBoundingRect(Block);
    return Block.layout();
}

int VisualLineOf(QPlainTextEdit *E, int QtPosition)
{
    int line = 0;
    for (QTextBlock b = E->document()->begin(); b.isValid(); b = b.next()) {
        QTextLayout *l = LaidOut(E, b);
        const int lines = l && l->lineCount() > 0 ? l->lineCount() : 1;
        if (QtPosition < b.position() + b.length() || !b.next().isValid()) {
            if (!l || l->lineCount() == 0)
                return line;
            const QTextLine tl = l->lineForTextPosition(std::clamp(QtPosition - b.position(), 0, b.length() - 1));
            return line + (tl.isValid() ? tl.lineNumber() : 0);
        }
        line += lines;
    }
    return line;
}

// ---- the balloon tip window ----

class TBalloonTipWindow : public QWidget {
public:
    TBalloonTipWindow(QWidget *Parent, const TBalloonTipInfo &Info)
        : QWidget(Parent, Qt::ToolTip | Qt::FramelessWindowHint), FInfo(Info)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TranslucentBackground);
        resize(platform_detail::BalloonTipSize(font(), Info, 300));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        platform_detail::PaintBalloonTip(p, font(), size(), FInfo);
    }

private:
    TBalloonTipInfo FInfo;
};

TBalloonTipInfo &TipInfo()
{
    static TBalloonTipInfo info;
    return info;
}

QPointer<QWidget> &TipWindow()
{
    static QPointer<QWidget> w;
    return w;
}

bool ShowTip(TWinControl *Owner, QWidget *Anchor, TPoint ClientAt, const UnicodeString &Title, const UnicodeString &Text, int Icon)
{
    if (!Owner || !Anchor)
        return false;
    HideBalloonTipOf(nullptr);
    TBalloonTipInfo &info = TipInfo();
    info.Owner = Owner;
    info.Title = Title;
    info.Text = Text;
    info.Icon = std::clamp(Icon, TTI_NONE, TTI_ERROR);
    const QPoint g = Anchor->mapToGlobal(QPoint(ClientAt.X, ClientAt.Y));
    info.At = {g.x(), g.y()};
    info.Visible = true;
    ++info.Count;
    // A child of the anchor's top window: it goes away with that window at the latest.
    auto *w = new TBalloonTipWindow(Anchor->window(), info);
    w->move(g.x() - 16, g.y());
    w->show();
    TipWindow() = w;
    return true;
}

} // namespace

const TBalloonTipInfo &LastBalloonTip()
{
    return TipInfo();
}

void HideBalloonTipOf(TWinControl *Owner)
{
    TBalloonTipInfo &info = TipInfo();
    if (Owner && info.Owner != Owner)
        return;
    info.Visible = false;
    if (QWidget *w = TipWindow().data()) {
        TipWindow() = nullptr;
        w->hide();
        w->deleteLater();
    }
}

namespace platform_detail {

void ForgetBalloonTipOwner(TWinControl *Owner)
{
    if (TipInfo().Owner == Owner) {
        HideBalloonTipOf(Owner);
        TipInfo().Owner = nullptr;
    }
}

QPlainTextEdit *MultiLineWidget(QWidget *W)
{
    return dynamic_cast<TMultiLineText *>(W);
}

UnicodeString MultiLineText(QPlainTextEdit *E)
{
    QString t = E->toPlainText();
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

void SetMultiLineText(QPlainTextEdit *E, const UnicodeString &Value)
{
    QString t = Value;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    E->setPlainText(t);
}

void MultiLineSelection(QPlainTextEdit *E, int &Start, int &Length)
{
    const QTextCursor c = E->textCursor();
    const QString plain = E->toPlainText();
    Start = ClassicPos(plain, c.selectionStart());
    Length = ClassicPos(plain, c.selectionEnd()) - Start;
}

void SetMultiLineSelection(QPlainTextEdit *E, int Start, int Length)
{
    const UnicodeString classic = MultiLineText(E);
    QTextCursor c = E->textCursor();
    c.setPosition(QtPos(classic, Start));
    c.setPosition(QtPos(classic, Start + Length), QTextCursor::KeepAnchor);
    E->setTextCursor(c);
}

} // namespace platform_detail

// ---------------------------------------------------------------------------------------------
// TCustomEdit: multi-line mode

bool TCustomEdit::IsMultiLine() const
{
    return FMultiLine && FPasswordChar == 0;
}

void TCustomEdit::SetMultiLine(bool Value)
{
    if (Value == FMultiLine)
        return;
    const bool was = IsMultiLine();
    FMultiLine = Value;
    if (was != IsMultiLine())
        RecreateWnd();
}

void TCustomEdit::SetLineWrap(bool Value)
{
    FLineWrap = Value;
    ApplyMultiLineState();
}

QWidget *TCustomEdit::CreateMultiLineWidget(QWidget *ParentWidget)
{
    auto *e = new TMultiLineText(ParentWidget);
    // An edit never keeps Tab: it moves on as in any dialog.
    e->setTabChangesFocus(true);
    QObject::connect(e, &QPlainTextEdit::textChanged, Links(e), [this] {
        FromSignal(this, [this] { UserEdited(); });
    });
    return e;
}

void TCustomEdit::ApplyMultiLineState()
{
    auto *e = static_cast<TMultiLineText *>(platform_detail::MultiLineWidget(WidgetIfAllocated()));
    if (!e)
        return;
    e->setReadOnly(FReadOnly);
    e->setFrameShape(FBorderStyle == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
    e->setLineWrapMode(FLineWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->document()->setDocumentMargin(0);
    e->MaxLength = FMaxLength;
    QTextOption opt = e->document()->defaultTextOption();
    opt.setAlignment(FAlignment == taRightJustify ? Qt::AlignRight : FAlignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft);
    e->document()->setDefaultTextOption(opt);
    if (FFormatRect.Width() <= 0 || FFormatRect.Height() <= 0) {
        e->SetMargins(FLeftMargin, 0, FRightMargin, 0);
        return;
    }
    const int frame = e->frameWidth();
    e->SetMargins(std::max(0, FFormatRect.Left - frame), std::max(0, FFormatRect.Top - frame),
                  std::max(0, Width() - frame - FFormatRect.Right), std::max(0, Height() - frame - FFormatRect.Bottom));
}

UnicodeString TCustomEdit::ShownText() const
{
    const UnicodeString t = GetText();
    return FPasswordChar != 0 ? UnicodeString(t.size(), QChar(FPasswordChar)) : t;
}

// ---- lines and positions ----

int TCustomEdit::LineFromChar(int Index) const
{
    if (Index < 0)
        Index = SelStart();
    if (!IsMultiLine())
        return 0;
    if (QPlainTextEdit *e = platform_detail::MultiLineWidget(WidgetIfAllocated()))
        return VisualLineOf(e, QtPos(platform_detail::MultiLineText(e), Index));
    return static_cast<int>(GetText().left(Index).count(QStringLiteral("\r\n")));
}

int TCustomEdit::LineCount() const
{
    if (!IsMultiLine())
        return 1;
    if (QPlainTextEdit *e = platform_detail::MultiLineWidget(WidgetIfAllocated())) {
        int n = 0;
        for (QTextBlock b = e->document()->begin(); b.isValid(); b = b.next()) {
            QTextLayout *l = LaidOut(e, b);
            n += l && l->lineCount() > 0 ? l->lineCount() : 1;
        }
        return std::max(n, 1);
    }
    return static_cast<int>(GetText().count(QStringLiteral("\r\n"))) + 1;
}

TPoint TCustomEdit::PosFromChar(int Index) const
{
    const UnicodeString text = ShownText();
    if (Index < 0 || Index >= text.size())
        return {-1, -1};
    if (QPlainTextEdit *e = platform_detail::MultiLineWidget(WidgetIfAllocated())) {
        QTextCursor c(e->document());
        c.setPosition(QtPos(text, Index));
        const QRect r = e->cursorRect(c);
        const QPoint p = e->viewport()->mapTo(e, r.topLeft());
        return {p.x(), p.y()};
    }
    TCanvas measure;
    measure.Font()->Assign(Font());
    if (!IsMultiLine())
        return {FLeftMargin + measure.TextWidth(text.left(Index)), 0};
    const int lineStart = static_cast<int>(text.left(Index).lastIndexOf(QStringLiteral("\r\n")));
    const int from = lineStart < 0 ? 0 : lineStart + 2;
    const int line = static_cast<int>(text.left(Index).count(QStringLiteral("\r\n")));
    return {FLeftMargin + measure.TextWidth(text.mid(from, Index - from)), line * measure.TextHeight(QStringLiteral("Wg"))};
}

int TCustomEdit::CharFromPos(TPoint Pos, int *Line) const
{
    if (Pos.X < 0 || Pos.Y < 0 || Pos.X >= Width() || Pos.Y >= Height())
        return -1;
    const UnicodeString text = ShownText();
    int index = 0;
    QWidget *w = WidgetIfAllocated();
    if (QPlainTextEdit *e = platform_detail::MultiLineWidget(w)) {
        const QPoint v = e->viewport()->mapFrom(e, QPoint(Pos.X, Pos.Y));
        index = ClassicPos(e->toPlainText(), e->cursorForPosition(v).position());
    } else if (auto *le = qobject_cast<QLineEdit *>(w)) {
        index = le->cursorPositionAt(QPoint(Pos.X, Pos.Y));
    } else {
        // Without a window: the nearest character boundary on the line at that height.
        TCanvas measure;
        measure.Font()->Assign(Font());
        int from = 0, to = static_cast<int>(text.size());
        if (IsMultiLine()) {
            const int lh = std::max(1, measure.TextHeight(QStringLiteral("Wg")));
            int line = Pos.Y / lh;
            while (line > 0) {
                const int br = static_cast<int>(text.indexOf(QStringLiteral("\r\n"), from));
                if (br < 0)
                    break;
                from = br + 2;
                --line;
            }
            const int br = static_cast<int>(text.indexOf(QStringLiteral("\r\n"), from));
            to = br < 0 ? static_cast<int>(text.size()) : br;
        }
        index = to;
        int prev = FLeftMargin;
        for (int i = from; i < to; ++i) {
            const int next = FLeftMargin + measure.TextWidth(text.mid(from, i + 1 - from));
            if (Pos.X < (prev + next) / 2) {
                index = i;
                break;
            }
            prev = next;
        }
    }
    // The classic answer names a character: past the last one it is the last.
    index = std::clamp(index, 0, std::max(0, static_cast<int>(text.size())));
    if (Line)
        *Line = LineFromChar(index);
    return index;
}

bool TCustomEdit::MultiLineMessage(TMessage &Message)
{
    switch (Message.Msg) {
    case EM_LINEFROMCHAR:
        Message.Result = LineFromChar(static_cast<int>(static_cast<std::intptr_t>(Message.WParam)));
        return true;
    case EM_GETLINECOUNT:
        Message.Result = LineCount();
        return true;
    case EM_CHARFROMPOS: {
        int line = 0;
        const int index = CharFromPos({Message.LParamLo(), Message.LParamHi()}, &line);
        Message.Result = index < 0 ? -1 : MakeLParam(index, line);
        return true;
    }
    case EM_SHOWBALLOONTIP: {
        const auto *tip = reinterpret_cast<const EDITBALLOONTIP *>(Message.LParam);
        Message.Result = tip && ShowBalloonTip(tip->pszTitle ? *tip->pszTitle : UnicodeString(),
                                               tip->pszText ? *tip->pszText : UnicodeString(), tip->ttiIcon)
                             ? 1
                             : 0;
        return true;
    }
    case EM_HIDEBALLOONTIP:
        HideBalloonTip();
        Message.Result = 1;
        return true;
    default:
        return false;
    }
}

bool TCustomEdit::ShowBalloonTip(const UnicodeString &Title, const UnicodeString &Text, int Icon)
{
    if (!HandleAllocated())
        return false;
    TPoint at = PosFromChar(std::max(0, SelStart() - 1));
    at = at.X < 0 ? TPoint{4, Height()} : TPoint{at.X, std::min(Height(), at.Y + Font()->Height() + 4)};
    if (at.Y <= 0)
        at.Y = Height();
    return ShowTip(this, WidgetIfAllocated(), at, Title, Text, Icon);
}

void TCustomEdit::WMKillFocus(TWMKillFocus &Message)
{
    HideBalloonTipOf(this);
    TWinControl::WMKillFocus(Message);
}

// ---------------------------------------------------------------------------------------------
// TCustomComboBox: the balloon tip on its edit field and the notifications to its parent

bool TCustomComboBox::ShowBalloonTip(const UnicodeString &Title, const UnicodeString &Text, int Icon)
{
    auto *c = static_cast<QComboBox *>(WidgetIfAllocated());
    if (!c || !c->lineEdit())
        return false;
    QLineEdit *e = c->lineEdit();
    return ShowTip(this, e, {4, e->height()}, Title, Text, Icon);
}

void TCustomComboBox::NotifyParent(Word Code)
{
    if (TWinControl *p = Parent(); p && HandleAllocated())
        p->Perform(WM_COMMAND, MakeWParam(0, Code), reinterpret_cast<LPARAM>(Handle()));
}
