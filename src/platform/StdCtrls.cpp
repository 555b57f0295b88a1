// The item lists of list controls, the label, the edit and the memo.
#include "platform/StdCtrls.h"

#include "platform/Forms.h"
#include "platform/StdCtrlsPrivate.h"
#include "platform/TextKey.h"
#include "platform/WindowPlacement.h"

#include <QFontMetrics>
#include <QHash>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QValidator>

#include <algorithm>
#include <climits>

namespace platform_detail {

QObject *Links(QWidget *Widget)
{
    static const char *const name = "fabricorLinks";
    if (auto *o = Widget->findChild<QObject *>(QLatin1String(name), Qt::FindDirectChildrenOnly))
        return o;
    auto *o = new QObject(Widget);
    o->setObjectName(QLatin1String(name));
    return o;
}

void DropLinks(QWidget *Widget)
{
    if (!Widget)
        return;
    delete Widget->findChild<QObject *>(QStringLiteral("fabricorLinks"), Qt::FindDirectChildrenOnly);
}

void FromSignal(TObject *Sender, const std::function<void()> &Fn)
{
    GuardedCall(Sender, Fn);
}

void ApplyControlColors(QWidget *Widget, TColor Back, TColor Text, bool Fill)
{
    if (!Widget)
        return;
    QPalette pal = Widget->palette();
    const QColor back = ColorToQColor(Back);
    const QColor text = ColorToQColor(Text);
    // Disabled controls keep the greyed look of the style.
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        if (Fill) {
            pal.setColor(g, QPalette::Base, back);
            pal.setColor(g, QPalette::Text, text);
        } else {
            pal.setColor(g, QPalette::Window, back);
            pal.setColor(g, QPalette::Button, back);
        }
        pal.setColor(g, QPalette::WindowText, text);
        pal.setColor(g, QPalette::ButtonText, text);
    }
    Widget->setPalette(pal);
}

} // namespace platform_detail

using platform_detail::DropLinks;
using platform_detail::FromSignal;
using platform_detail::Links;

// ---------------------------------------------------------------------------------------------
// TControlItems

void TControlItems::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        Error(QString::fromLatin1(SListIndexError), Index);
}

void TControlItems::Notify(TItemsChange Change, int Index)
{
    if (FOnChanged)
        FOnChanged(Change, Index);
}

UnicodeString TControlItems::Strings(int Index) const
{
    CheckIndex(Index);
    return FStrings[static_cast<std::size_t>(Index)];
}

void TControlItems::SetStrings(int Index, const UnicodeString &S)
{
    CheckIndex(Index);
    FStrings[static_cast<std::size_t>(Index)] = S;
    Notify(TItemsChange::icChange, Index);
}

TObject *TControlItems::Objects(int Index) const
{
    CheckIndex(Index);
    return FObjects[static_cast<std::size_t>(Index)];
}

void TControlItems::SetObjects(int Index, TObject *AObject)
{
    CheckIndex(Index);
    FObjects[static_cast<std::size_t>(Index)] = AObject;
}

int TControlItems::Add(const UnicodeString &S)
{
    return AddObject(S, nullptr);
}

int TControlItems::AddObject(const UnicodeString &S, TObject *AObject)
{
    int index = Count();
    if (FSorted) {
        // After the last equal string, as a sorted window list inserts.
        auto it = std::upper_bound(FStrings.begin(), FStrings.end(), S,
                                   [](const UnicodeString &a, const UnicodeString &b) { return ListCompareText(a, b) < 0; });
        index = static_cast<int>(it - FStrings.begin());
    }
    FStrings.insert(FStrings.begin() + index, S);
    FObjects.insert(FObjects.begin() + index, AObject);
    Notify(TItemsChange::icInsert, index);
    return index;
}

void TControlItems::Insert(int Index, const UnicodeString &S)
{
    InsertObject(Index, S, nullptr);
}

void TControlItems::InsertObject(int Index, const UnicodeString &S, TObject *AObject)
{
    if (Index < 0 || Index > Count())
        Error(QString::fromLatin1(SListIndexError), Index);
    FStrings.insert(FStrings.begin() + Index, S);
    FObjects.insert(FObjects.begin() + Index, AObject);
    Notify(TItemsChange::icInsert, Index);
}

void TControlItems::Delete(int Index)
{
    CheckIndex(Index);
    FStrings.erase(FStrings.begin() + Index);
    FObjects.erase(FObjects.begin() + Index);
    Notify(TItemsChange::icDelete, Index);
}

void TControlItems::Clear()
{
    if (FStrings.empty())
        return;
    FStrings.clear();
    FObjects.clear();
    Notify(TItemsChange::icReset, -1);
}

void TControlItems::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FStrings[static_cast<std::size_t>(Index1)], FStrings[static_cast<std::size_t>(Index2)]);
    std::swap(FObjects[static_cast<std::size_t>(Index1)], FObjects[static_cast<std::size_t>(Index2)]);
    Notify(TItemsChange::icChange, Index1);
    Notify(TItemsChange::icChange, Index2);
}

void TControlItems::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    const UnicodeString s = FStrings[static_cast<std::size_t>(CurIndex)];
    TObject *o = FObjects[static_cast<std::size_t>(CurIndex)];
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
}

void TControlItems::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    FSorted = Value;
    if (!Value || FStrings.size() < 2)
        return;
    std::vector<int> order(FStrings.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return ListCompareText(FStrings[static_cast<std::size_t>(a)], FStrings[static_cast<std::size_t>(b)]) < 0;
    });
    std::vector<UnicodeString> s;
    std::vector<TObject *> o;
    for (int i : order) {
        s.push_back(FStrings[static_cast<std::size_t>(i)]);
        o.push_back(FObjects[static_cast<std::size_t>(i)]);
    }
    FStrings.swap(s);
    FObjects.swap(o);
    Notify(TItemsChange::icReset, -1);
}

// ---------------------------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent *AOwner) : TGraphicControl(AOwner)
{
    FControlStyle << csOpaque;
    TControl::SetBounds(0, 0, 65, 17);
    AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool Value)
{
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool Value)
{
    if (FTransparent == Value)
        return;
    FTransparent = Value;
    if (Value)
        FControlStyle >> csOpaque;
    else
        FControlStyle << csOpaque;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value)
{
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
    if (FLayout == Value)
        return;
    FLayout = Value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
    if (FShowAccelChar == Value)
        return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    // A word-wrapped label keeps the width it is given and grows downwards.
    if (FWordWrap && !FAdjusting)
        AdjustBounds();
}

int TCustomLabel::TextFlags() const
{
    int flags = 0;
    switch (FAlignment) {
    case taLeftJustify: flags |= Qt::AlignLeft; break;
    case taRightJustify: flags |= Qt::AlignRight; break;
    case taCenter: flags |= Qt::AlignHCenter; break;
    }
    if (FWordWrap)
        flags |= Qt::TextWordWrap;
    flags |= FShowAccelChar ? Qt::TextShowMnemonic : 0;
    return flags;
}

static UnicodeString LabelDrawText(const UnicodeString &Text, bool ShowAccel)
{
    // Qt treats "&" as a mnemonic only when asked; without ShowAccelChar the text is literal,
    // which Qt gives when "&" is doubled.
    if (ShowAccel)
        return Text;
    UnicodeString s = Text;
    s.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return s;
}

// The size a label's text takes: the lines' bounds, at least one line high. Labels of one text
// and font come back often (the same captions on many forms, a caption measured again after each
// change of font or text), and laying text out costs far more than looking the size up.
static TSize LabelTextExtent(const TFont &Font, int Flags, int WrapWidth, const UnicodeString &Text)
{
    static QHash<TTextKey, TSize> Cache;
    const std::uint64_t tag = HashTextUnits(nullptr, 0, Font.FaceId() ^ (std::uint64_t(unsigned(Flags)) << 32) ^ unsigned(WrapWidth));
    const TTextKey key{tag, Text};
    if (const auto it = Cache.constFind(key); it != Cache.constEnd())
        return *it;
    const QFontMetrics fm(Font.QtFont());
    const QRect r = fm.boundingRect(QRect(0, 0, WrapWidth, INT_MAX / 4), Flags, Text);
    const TSize size(r.width(), std::max(r.height(), fm.height()));
    if (Cache.size() >= 4096)
        Cache.clear();
    Cache.insert(key, size);
    return size;
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize || FAdjusting)
        return;
    UnicodeString text = Caption();
    if (text.isEmpty() || (FShowAccelChar && text == QStringLiteral("&")))
        text += QLatin1Char(' ');
    const int wrapWidth = FWordWrap ? std::max(Width(), 1) : INT_MAX / 4;
    const TSize extent = LabelTextExtent(*Font(), TextFlags() & ~(Qt::AlignRight | Qt::AlignHCenter), wrapWidth,
                                         LabelDrawText(text, true));
    int w = FWordWrap ? Width() : extent.cx;
    const int h = extent.cy;
    int l = Left();
    if (!FWordWrap) {
        if (FAlignment == taRightJustify)
            l = Left() + Width() - w;
        else if (FAlignment == taCenter)
            l = Left() + (Width() - w) / 2;
    }
    FAdjusting = true;
    try {
        TGraphicControl::SetBounds(l, Top(), w, h);
    } catch (...) {
        FAdjusting = false;
        throw;
    }
    FAdjusting = false;
}

void TCustomLabel::Paint()
{
    TCanvas *c = Canvas();
    QPainter *p = c->Painter();
    if (!p)
        return;
    const QRect r(0, 0, Width(), Height());
    if (!FTransparent)
        p->fillRect(r, ColorToQColor(Color()));
    int flags = TextFlags();
    switch (FLayout) {
    case tlTop: flags |= Qt::AlignTop; break;
    case tlCenter: flags |= Qt::AlignVCenter; break;
    case tlBottom: flags |= Qt::AlignBottom; break;
    }
    p->save();
    p->setFont(Font()->QtFont());
    if (Enabled()) {
        p->setPen(ColorToQColor(Font()->Color()));
        p->drawText(r, flags, LabelDrawText(Caption(), FShowAccelChar));
    } else {
        // The classic embossed look of disabled text.
        p->setPen(ColorToQColor(clBtnHighlight));
        p->drawText(r.translated(1, 1), flags, LabelDrawText(Caption(), FShowAccelChar));
        p->setPen(ColorToQColor(clBtnShadow));
        p->drawText(r, flags, LabelDrawText(Caption(), FShowAccelChar));
    }
    p->restore();
}

void TCustomLabel::CMTextChanged(TCMTextChanged &Message)
{
    AdjustBounds();
    TGraphicControl::CMTextChanged(Message);
}

void TCustomLabel::CMFontChanged(TCMFontChanged &Message)
{
    AdjustBounds();
    TGraphicControl::CMFontChanged(Message);
}

void TCustomLabel::CMDialogChar(TCMDialogChar &Message)
{
    // Alt plus the underlined letter focuses the label's control.
    if (FFocusControl && FShowAccelChar && Enabled() && Visible() && (Message.KeyData & KF_ALTDOWN_BIT)) {
        if (IsAccel(Message.CharCode, Caption()) && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            Message.Result = 1;
            return;
        }
    }
    TGraphicControl::CMDialogChar(Message);
}

// ---------------------------------------------------------------------------------------------
// TCustomEdit

namespace {

// Typed and pasted text stops at the limit; text set in code does not pass through it.
class TMaxLengthValidator : public QValidator {
public:
    TMaxLengthValidator(int Max, QObject *Parent) : QValidator(Parent), FMax(Max) {}
    State validate(QString &Input, int &) const override { return Input.size() > FMax ? Invalid : Acceptable; }

private:
    int FMax;
};

} // namespace

TCustomEdit::TCustomEdit(TComponent *AOwner) : TWinControl(AOwner)
{
    FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    TControl::SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    SetTabStop(true);
}

TCustomEdit::~TCustomEdit()
{
    platform_detail::ForgetBalloonTipOwner(this);
    DropLinks(WidgetIfAllocated());
    // Leaving the parent while still a windowed control takes it out of the tab order too.
    SetParent(nullptr);
}

QWidget *TCustomEdit::CreateWidget(QWidget *ParentWidget)
{
    if (IsMultiLine())
        return CreateMultiLineWidget(ParentWidget);
    auto *e = new QLineEdit(ParentWidget);
    QObject::connect(e, &QLineEdit::textEdited, Links(e), [this](const QString &) {
        FromSignal(this, [this] { UserEdited(); });
    });
    return e;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    FSettingText = true;
    SetWidgetText(Text());
    SetWidgetSelection(FSelStart, FSelLength);
    FSettingText = false;
    ApplyEditState();
    ApplyColors();
}

void TCustomEdit::DestroyWnd()
{
    HideBalloonTipOf(this);
    if (WidgetIfAllocated()) {
        WidgetSelection(FSelStart, FSelLength);
        DropLinks(WidgetIfAllocated());
        // The window's text becomes the control's own again, without a change report.
        const UnicodeString t = WidgetText();
        FSettingText = true;
        FQuietText = true;
        try {
            TControl::SetText(t);
        } catch (...) {
            FSettingText = FQuietText = false;
            throw;
        }
        FSettingText = FQuietText = false;
    }
    TWinControl::DestroyWnd();
}

UnicodeString TCustomEdit::GetText() const
{
    if (WidgetIfAllocated() && !FSettingText)
        return WidgetText();
    return TWinControl::GetText();
}

void TCustomEdit::TextChanged()
{
    if (FQuietText)
        return;
    // The text set in code: the window shows it, the change is reported, Modified is cleared.
    FModified = false;
    FSelStart = std::min<int>(FSelStart, static_cast<int>(TWinControl::GetText().size()));
    FSelLength = 0;
    if (WidgetIfAllocated()) {
        FSettingText = true;
        try {
            SetWidgetText(TWinControl::GetText());
        } catch (...) {
            FSettingText = false;
            throw;
        }
        FSettingText = false;
    }
    NotifyChange();
}

void TCustomEdit::DefaultHandler(TMessage &Message)
{
    const bool sent = !IsEventMessage(Message);
    TWinControl::DefaultHandler(Message);
    if (!sent || !HandleAllocated() || (Message.Msg != WM_CHAR && Message.Msg != WM_KEYDOWN))
        return;
    const int len = static_cast<int>(Text().size());
    const int start = SelStart(), sel = SelLength();
    auto caretTo = [this](int Pos) {
        SetSelStart(Pos);
        SetSelLength(0);
    };
    if (Message.Msg == WM_KEYDOWN) {
        switch (Message.WParam) {
        case VK_HOME: caretTo(0); break;
        case VK_END: caretTo(len); break;
        case VK_LEFT: caretTo(sel > 0 ? start : std::max(0, start - 1)); break;
        case VK_RIGHT: caretTo(sel > 0 ? start + sel : std::min(len, start + 1)); break;
        case VK_DELETE:
            if (ReadOnly())
                break;
            if (sel == 0 && start < len)
                SetSelLength(1);
            if (SelLength() > 0)
                SetSelText(UnicodeString());
            break;
        default: break;
        }
        return;
    }
    const auto ch = static_cast<char16_t>(Message.WParam);
    if (ReadOnly())
        return;
    if (ch == 8) {
        if (sel == 0 && start > 0) {
            SetSelStart(start - 1);
            SetSelLength(1);
        }
        if (SelLength() > 0)
            SetSelText(UnicodeString());
    } else if (ch >= 32 && !(FMaxLength > 0 && len - sel >= FMaxLength)) {
        SetSelText(UnicodeString(QChar(ch)));
    }
}

void TCustomEdit::UserEdited()
{
    if (FSettingText)
        return;
    // The user answers the tip by typing.
    HideBalloonTipOf(this);
    FModified = true;
    NotifyChange();
}

void TCustomEdit::NotifyChange()
{
    // The parent hears of the change first, as the classic edit's EN_CHANGE reaches it before
    // the control's own reaction.
    if (TWinControl *p = Parent(); p && HandleAllocated())
        p->Perform(WM_COMMAND, MakeWParam(0, EN_CHANGE), reinterpret_cast<LPARAM>(Handle()));
    Change();
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

UnicodeString TCustomEdit::WidgetText() const
{
    if (QPlainTextEdit *m = platform_detail::MultiLineWidget(WidgetIfAllocated()))
        return platform_detail::MultiLineText(m);
    auto *e = static_cast<QLineEdit *>(WidgetIfAllocated());
    return e ? e->text() : TWinControl::GetText();
}

void TCustomEdit::SetWidgetText(const UnicodeString &Value)
{
    if (QPlainTextEdit *m = platform_detail::MultiLineWidget(WidgetIfAllocated())) {
        platform_detail::SetMultiLineText(m, Value);
        return;
    }
    if (auto *e = static_cast<QLineEdit *>(WidgetIfAllocated())) {
        // Text from code is kept whole, whatever the typing limit.
        const QValidator *v = e->validator();
        e->setValidator(nullptr);
        e->setText(Value);
        e->setValidator(v);
    }
}

void TCustomEdit::WidgetSelection(int &Start, int &Length) const
{
    if (QPlainTextEdit *m = platform_detail::MultiLineWidget(WidgetIfAllocated())) {
        platform_detail::MultiLineSelection(m, Start, Length);
        return;
    }
    auto *e = static_cast<QLineEdit *>(WidgetIfAllocated());
    if (!e)
        return;
    if (e->hasSelectedText()) {
        Start = e->selectionStart();
        Length = static_cast<int>(e->selectedText().size());
    } else {
        Start = e->cursorPosition();
        Length = 0;
    }
}

void TCustomEdit::SetWidgetSelection(int Start, int Length)
{
    if (QPlainTextEdit *m = platform_detail::MultiLineWidget(WidgetIfAllocated())) {
        platform_detail::SetMultiLineSelection(m, Start, Length);
        return;
    }
    if (auto *e = static_cast<QLineEdit *>(WidgetIfAllocated())) {
        if (Length > 0)
            e->setSelection(Start, Length);
        else
            e->setCursorPosition(Start);
    }
}

void TCustomEdit::ApplyEditState()
{
    if (platform_detail::MultiLineWidget(WidgetIfAllocated())) {
        ApplyMultiLineState();
        return;
    }
    auto *e = static_cast<QLineEdit *>(WidgetIfAllocated());
    if (!e)
        return;
    e->setReadOnly(FReadOnly);
    e->setEchoMode(FPasswordChar != 0 ? QLineEdit::Password : QLineEdit::Normal);
    e->setFrame(FBorderStyle != bsNone);
    const QValidator *old = e->validator();
    e->setValidator(FMaxLength > 0 ? new TMaxLengthValidator(FMaxLength, e) : nullptr);
    delete old;
    ApplyEditLayout();
}

void TCustomEdit::ApplyColors()
{
    platform_detail::ApplyControlColors(WidgetIfAllocated(), Color(), Font()->Color(), true);
}

void TCustomEdit::SetMaxLength(int Value)
{
    FMaxLength = std::max(Value, 0);
    ApplyEditState();
}

void TCustomEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    // The window is told as the classic edit is, so that a control watching its messages sees it.
    if (HandleAllocated())
        Perform(EM_SETREADONLY, Value ? 1 : 0, 0);
    else
        ApplyEditState();
}

void TCustomEdit::SetPasswordChar(WideChar Value)
{
    const bool multi = IsMultiLine();
    FPasswordChar = Value;
    // A password is typed on one line: the window changes kind.
    if (multi != IsMultiLine())
        RecreateWnd();
    else
        ApplyEditState();
}

void TCustomEdit::SetCharCase(TEditCharCase Value)
{
    FCharCase = Value;
    if (Value == ecUpperCase)
        SetText(Text().toUpper());
    else if (Value == ecLowerCase)
        SetText(Text().toLower());
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    ApplyEditState();
}

int TCustomEdit::SelStart() const
{
    int s = FSelStart, l = FSelLength;
    WidgetSelection(s, l);
    return s;
}

int TCustomEdit::SelLength() const
{
    int s = FSelStart, l = FSelLength;
    WidgetSelection(s, l);
    return l;
}

void TCustomEdit::SetSelStart(int Value)
{
    FSelStart = std::clamp(Value, 0, static_cast<int>(Text().size()));
    FSelLength = 0;
    SetWidgetSelection(FSelStart, 0);
}

void TCustomEdit::SetSelLength(int Value)
{
    FSelStart = SelStart();
    FSelLength = std::clamp(Value, 0, static_cast<int>(Text().size()) - FSelStart);
    SetWidgetSelection(FSelStart, FSelLength);
}

UnicodeString TCustomEdit::SelText() const
{
    const int s = SelStart();
    return Text().mid(s, SelLength());
}

void TCustomEdit::SetSelText(const UnicodeString &Value)
{
    const int s = SelStart();
    UnicodeString t = Text();
    t.replace(s, SelLength(), Value);
    SetText(t);
    FModified = true;
    FSelStart = s + static_cast<int>(Value.size());
    FSelLength = 0;
    SetWidgetSelection(FSelStart, 0);
}

void TCustomEdit::SelectAll()
{
    FSelStart = 0;
    FSelLength = static_cast<int>(Text().size());
    SetWidgetSelection(0, FSelLength);
}

void TCustomEdit::ClearSelection()
{
    if (SelLength() > 0)
        SetSelText(QString());
}

void TCustomEdit::Clear()
{
    SetText(QString());
}

void TCustomEdit::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    if (FWantReturn && IsMultiLine())
        Message.Result |= DLGC_WANTALLKEYS;
}

void TCustomEdit::WMChar(TWMKey &Message)
{
    // The classic edit takes the case it is told to before the character is inserted.
    if (FCharCase != ecNormal && Message.CharCode >= 32) {
        QChar ch(static_cast<char16_t>(Message.CharCode));
        ch = FCharCase == ecUpperCase ? ch.toUpper() : ch.toLower();
        Message.CharCode = ch.unicode();
    }
    TWinControl::WMChar(Message);
}

void TCustomEdit::CMColorChanged(TCMColorChanged &Message)
{
    ApplyColors();
    TWinControl::CMColorChanged(Message);
}

void TCustomEdit::CMFontChanged(TCMFontChanged &Message)
{
    TWinControl::CMFontChanged(Message);
    ApplyColors();
}

void TCustomEdit::CMEnter(TCMEnter &Message)
{
    if (FAutoSelect && !(GetKeyState(VK_LBUTTON) < 0) && !dynamic_cast<TCustomMemo *>(this))
        SelectAll();
    TWinControl::CMEnter(Message);
}

// ---------------------------------------------------------------------------------------------
// TCustomMemo

namespace {
UnicodeString ToClassicBreaks(UnicodeString S)
{
    S.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return S;
}

UnicodeString ToQtBreaks(UnicodeString S)
{
    S.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    S.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return S;
}
} // namespace

TCustomMemo::TCustomMemo(TComponent *AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this))
{
    FControlStyle >> csFixedHeight;
    TControl::SetBounds(0, 0, 185, 89);
    SetAutoSelect(false);
}

TCustomMemo::~TCustomMemo()
{
    DropLinks(WidgetIfAllocated());
}

QWidget *TCustomMemo::CreateWidget(QWidget *ParentWidget)
{
    auto *e = new QPlainTextEdit(ParentWidget);
    QObject::connect(e, &QPlainTextEdit::textChanged, Links(e), [this] {
        FromSignal(this, [this] { UserEdited(); });
    });
    return e;
}

UnicodeString TCustomMemo::WidgetText() const
{
    auto *e = static_cast<QPlainTextEdit *>(WidgetIfAllocated());
    return e ? ToClassicBreaks(e->toPlainText()) : TWinControl::GetText();
}

void TCustomMemo::SetWidgetText(const UnicodeString &Value)
{
    if (auto *e = static_cast<QPlainTextEdit *>(WidgetIfAllocated()))
        e->setPlainText(ToQtBreaks(Value));
}

void TCustomMemo::WidgetSelection(int &Start, int &Length) const
{
    auto *e = static_cast<QPlainTextEdit *>(WidgetIfAllocated());
    if (!e)
        return;
    // Positions count a line break as two characters, as the classic memo does.
    const QTextCursor c = e->textCursor();
    const QString plain = e->toPlainText();
    auto classic = [&plain](int Pos) { return Pos + static_cast<int>(plain.left(Pos).count(QLatin1Char('\n'))); };
    Start = classic(c.selectionStart());
    Length = classic(c.selectionEnd()) - Start;
}

void TCustomMemo::SetWidgetSelection(int Start, int Length)
{
    auto *e = static_cast<QPlainTextEdit *>(WidgetIfAllocated());
    if (!e)
        return;
    const UnicodeString classicText = WidgetText();
    auto qtPos = [&classicText](int Pos) {
        Pos = std::clamp(Pos, 0, static_cast<int>(classicText.size()));
        return Pos - static_cast<int>(classicText.left(Pos).count(QStringLiteral("\r\n")));
    };
    QTextCursor c = e->textCursor();
    c.setPosition(qtPos(Start));
    c.setPosition(qtPos(Start + Length), QTextCursor::KeepAnchor);
    e->setTextCursor(c);
}

void TCustomMemo::ApplyEditState()
{
    auto *e = static_cast<QPlainTextEdit *>(WidgetIfAllocated());
    if (!e)
        return;
    e->setReadOnly(ReadOnly());
    e->setFrameShape(BorderStyle() == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
    const bool hbar = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    const bool vbar = FScrollBars == ssVertical || FScrollBars == ssBoth;
    // A horizontal scroll bar means long lines are kept whole.
    e->setLineWrapMode(FWordWrap && !hbar ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    e->setHorizontalScrollBarPolicy(hbar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    e->setVerticalScrollBarPolicy(vbar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TCustomMemo::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    ApplyEditState();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value)
{
    FScrollBars = Value;
    ApplyEditState();
}

void TCustomMemo::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    if (FWantReturns)
        Message.Result |= DLGC_WANTALLKEYS;
    if (FWantTabs)
        Message.Result |= DLGC_WANTTAB;
}

// ---------------------------------------------------------------------------------------------
// TMemoStrings

std::vector<UnicodeString> TMemoStrings::Split() const
{
    std::vector<UnicodeString> lines;
    const UnicodeString t = FMemo->Text();
    if (t.isEmpty())
        return lines;
    const QStringList parts = ToQtBreaks(t).split(QLatin1Char('\n'));
    for (const QString &p : parts)
        lines.push_back(p);
    // A text ending in a line break has no empty last line.
    if (!lines.empty() && lines.back().isEmpty())
        lines.pop_back();
    return lines;
}

void TMemoStrings::Join(const std::vector<UnicodeString> &Lines)
{
    UnicodeString t;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (i > 0)
            t += QStringLiteral("\r\n");
        t += Lines[i];
    }
    FMemo->SetText(t);
}

int TMemoStrings::Count() const
{
    return static_cast<int>(Split().size());
}

UnicodeString TMemoStrings::Strings(int Index) const
{
    const auto lines = Split();
    if (Index < 0 || Index >= static_cast<int>(lines.size()))
        return QString();
    return lines[static_cast<std::size_t>(Index)];
}

void TMemoStrings::SetStrings(int Index, const UnicodeString &S)
{
    auto lines = Split();
    if (Index < 0 || Index >= static_cast<int>(lines.size()))
        Error(QString::fromLatin1(SListIndexError), Index);
    lines[static_cast<std::size_t>(Index)] = S;
    Join(lines);
}

void TMemoStrings::Insert(int Index, const UnicodeString &S)
{
    auto lines = Split();
    if (Index < 0 || Index > static_cast<int>(lines.size()))
        Error(QString::fromLatin1(SListIndexError), Index);
    lines.insert(lines.begin() + Index, S);
    Join(lines);
}

void TMemoStrings::Delete(int Index)
{
    auto lines = Split();
    if (Index < 0 || Index >= static_cast<int>(lines.size()))
        Error(QString::fromLatin1(SListIndexError), Index);
    lines.erase(lines.begin() + Index);
    Join(lines);
}

void TMemoStrings::Clear()
{
    FMemo->SetText(QString());
}

UnicodeString TMemoStrings::Text() const
{
    return TStrings::Text();
}

void TMemoStrings::SetText(const UnicodeString &Value)
{
    FMemo->SetText(Value);
}
