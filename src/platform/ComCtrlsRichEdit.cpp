// The rich edit: a Qt text document, shown by a QTextEdit once the window exists.
#include "platform/ComCtrls.h"
#include "platform/Encoding.h"
#include "platform/RichText.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QPalette>
#include <QTextEdit>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Rich text in a cell or a file of the system is small; anything past this is not ours.
constexpr Int64 MaxRichBytes = 64 * 1024 * 1024;

QTextBlock BlockAt(QTextDocument *Doc, int Index)
{
    return Doc->findBlockByNumber(Index);
}

} // namespace

int TRichEditStrings::Count() const
{
    QTextDocument *Doc = FEdit->Document();
    if (Doc->isEmpty())
        return 0;
    return Doc->blockCount();
}

UnicodeString TRichEditStrings::Strings(int Index) const
{
    if (Index < 0 || Index >= Count())
        Error(QStringLiteral("List index out of bounds (%d)"), Index);
    return BlockAt(FEdit->Document(), Index).text();
}

void TRichEditStrings::SetStrings(int Index, const UnicodeString &S)
{
    if (Index < 0 || Index >= Count())
        Error(QStringLiteral("List index out of bounds (%d)"), Index);
    QTextBlock B = BlockAt(FEdit->Document(), Index);
    QTextCursor C(B);
    C.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    C.insertText(S);
}

void TRichEditStrings::Insert(int Index, const UnicodeString &S)
{
    const int N = Count();
    if (Index < 0 || Index > N)
        Error(QStringLiteral("List index out of bounds (%d)"), Index);
    QTextDocument *Doc = FEdit->Document();
    if (N == 0) {
        QTextCursor(Doc).insertText(S);
        return;
    }
    if (Index == N) {
        QTextCursor C(Doc);
        C.movePosition(QTextCursor::End);
        C.insertBlock();
        C.insertText(S);
        return;
    }
    QTextCursor C(BlockAt(Doc, Index));
    C.insertText(S);
    C.insertBlock();
}

void TRichEditStrings::Delete(int Index)
{
    const int N = Count();
    if (Index < 0 || Index >= N)
        Error(QStringLiteral("List index out of bounds (%d)"), Index);
    QTextDocument *Doc = FEdit->Document();
    QTextBlock B = BlockAt(Doc, Index);
    QTextCursor C(B);
    if (Index + 1 < N) {
        // The line and its paragraph break.
        C.setPosition(B.next().position(), QTextCursor::KeepAnchor);
    } else if (Index > 0) {
        // The last line takes the break before it.
        C.setPosition(B.previous().position() + B.previous().length() - 1);
        C.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    } else
        C.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    C.removeSelectedText();
}

void TRichEditStrings::Clear()
{
    FEdit->Document()->clear();
}

UnicodeString TRichEditStrings::Text() const
{
    UnicodeString S;
    const int N = Count();
    for (int I = 0; I < N; ++I) {
        S += BlockAt(FEdit->Document(), I).text();
        S += LineBreak();
    }
    return S;
}

void TRichEditStrings::SetText(const UnicodeString &Value)
{
    UnicodeString T = Value;
    T.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    T.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (T.endsWith(QLatin1Char('\n')))
        T.chop(1);
    FEdit->Document()->setPlainText(T);
}

void TRichEditStrings::LoadFromStream(TStream *Stream, TEncoding *Encoding)
{
    const Int64 Left = Stream->Size() - Stream->Position();
    if (Left > MaxRichBytes)
        throw EReadError(QStringLiteral("Stream read error"));
    QByteArray Bytes(static_cast<qsizetype>(Left > 0 ? Left : 0), '\0');
    const int Got = Left > 0 ? Stream->Read(Bytes.data(), int(Left)) : 0;
    Bytes.truncate(Got);
    if (IsRtf(Bytes)) {
        RtfToDocument(Bytes, FEdit->Document());
        return;
    }
    TEncoding *Enc = Encoding;
    const int Bom = TEncoding::GetBufferEncoding(Bytes, Enc);
    SetText(Enc->GetString(Bytes.mid(Bom)));
}

void TRichEditStrings::SaveToStream(TStream *Stream, TEncoding *Encoding)
{
    const QByteArray Rtf = DocumentToRtf(FEdit->Document());
    Stream->WriteBuffer(Rtf.constData(), int(Rtf.size()));
}

TRichEdit::TRichEdit(TComponent *AOwner)
    : TWinControl(AOwner), FDoc(std::make_unique<QTextDocument>()), FLines(std::make_unique<TRichEditStrings>(this)),
      FCursor(std::make_unique<QTextCursor>(FDoc.get()))
{
    QObject::connect(FDoc.get(), &QTextDocument::contentsChanged, FDoc.get(), [this] {
        // Measuring and drawing change the layout for a moment: that is no change of the text.
        if (!FQuiet && (OnResizeRequest || FResizeRequests))
            RequestSize();
    });
}

TRichEdit::~TRichEdit()
{
    // The window shows our document: it goes first.
    DestroyHandle();
}

namespace {

// The text edit with its viewport margins in reach: they place the formatting rectangle.
class TQtRichTextEdit : public QTextEdit {
public:
    using QTextEdit::QTextEdit;
    void SetTextMargins(const QMargins &Margins) { setViewportMargins(Margins); }
};

} // namespace

QWidget *TRichEdit::CreateWidget(QWidget *ParentWidget)
{
    auto *E = new TQtRichTextEdit(ParentWidget);
    E->setDocument(FDoc.get());
    E->setTextCursor(*FCursor);
    QObject::connect(E, &QTextEdit::selectionChanged, E, [this] {
        if (OnSelectionChange)
            OnSelectionChange(this);
    });
    return E;
}

UnicodeString TRichEdit::GetText() const
{
    QStringList Lines;
    for (int I = 0; I < FLines->Count(); ++I)
        Lines << FLines->Strings(I);
    return Lines.join(QStringLiteral("\r\n"));
}

void TRichEdit::TextChanged()
{
    FLines->SetText(TControl::GetText());
}

void TRichEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyLook();
}

void TRichEdit::ApplyLook()
{
    auto *E = qobject_cast<QTextEdit *>(WidgetIfAllocated());
    if (!E)
        return;
    E->setFrameShape(FBorderStyle == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
    if (auto *T = dynamic_cast<TQtRichTextEdit *>(E))
        T->SetTextMargins(QMargins(FTextLeft, FTextTop, FTextRight, FTextBottom));
    QPalette pal = E->palette();
    const QPalette::ColorGroup shown = QPalette::Active;
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 FHideSelection ? pal.color(QPalette::Inactive, QPalette::Base) : pal.color(shown, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 FHideSelection ? pal.color(QPalette::Inactive, QPalette::Text)
                                : pal.color(shown, QPalette::HighlightedText));
    E->setPalette(pal);
}

void TRichEdit::WndProc(TMessage &Message)
{
    const TRect c = ClientRect();
    switch (Message.Msg) {
    case EM_SETRECT:
    case EM_SETRECTNP: {
        const TRect r = Message.LParam ? *reinterpret_cast<const TRect *>(Message.LParam) : c;
        FTextLeft = std::max(0, r.Left - c.Left);
        FTextTop = std::max(0, r.Top - c.Top);
        FTextRight = std::max(0, c.Right - r.Right);
        FTextBottom = std::max(0, c.Bottom - r.Bottom);
        ApplyLook();
        Message.Result = 0;
        return;
    }
    case EM_GETRECT:
        if (Message.LParam)
            *reinterpret_cast<TRect *>(Message.LParam) =
                TRect(c.Left + FTextLeft, c.Top + FTextTop, c.Right - FTextRight, c.Bottom - FTextBottom);
        Message.Result = 0;
        return;
    default:
        TWinControl::WndProc(Message);
    }
}

void TRichEdit::SetHideSelection(bool Value)
{
    FHideSelection = Value;
    ApplyLook();
}

void TRichEdit::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    ApplyLook();
}

QTextCursor TRichEdit::CurrentCursor() const
{
    if (auto *E = qobject_cast<QTextEdit *>(WidgetIfAllocated()))
        return E->textCursor();
    return *FCursor;
}

void TRichEdit::PutCursor(const QTextCursor &C)
{
    *FCursor = C;
    if (auto *E = qobject_cast<QTextEdit *>(WidgetIfAllocated()))
        E->setTextCursor(C);
    if (OnSelectionChange && !WidgetIfAllocated())
        OnSelectionChange(this);
}

int TRichEdit::SelStart() const
{
    return CurrentCursor().selectionStart();
}

int TRichEdit::SelLength() const
{
    const QTextCursor C = CurrentCursor();
    return C.selectionEnd() - C.selectionStart();
}

void TRichEdit::SetSelStart(int Value)
{
    QTextCursor C(FDoc.get());
    const int end = std::max(0, FDoc->characterCount() - 1);
    C.setPosition(std::clamp(Value, 0, end));
    PutCursor(C);
}

void TRichEdit::SetSelLength(int Value)
{
    QTextCursor C = CurrentCursor();
    const int start = C.selectionStart();
    const int end = std::max(0, FDoc->characterCount() - 1);
    C.setPosition(start);
    C.setPosition(std::clamp(start + std::max(0, Value), 0, end), QTextCursor::KeepAnchor);
    PutCursor(C);
}

void TRichEdit::SelectAll()
{
    QTextCursor C(FDoc.get());
    C.select(QTextCursor::Document);
    PutCursor(C);
}

namespace {

// Where the offset in twips is kept beside the drawn vertical alignment.
constexpr int OffsetProperty = QTextFormat::UserProperty + 0x4F;

} // namespace

int TRichEdit::SelOffset() const
{
    const QTextCharFormat F = CurrentCursor().charFormat();
    if (F.hasProperty(OffsetProperty))
        return F.intProperty(OffsetProperty);
    switch (F.verticalAlignment()) {
    case QTextCharFormat::AlignSuperScript: return 40;
    case QTextCharFormat::AlignSubScript: return -40;
    default: return 0;
    }
}

void TRichEdit::SetSelOffset(int Twips)
{
    QTextCursor C = CurrentCursor();
    QTextCharFormat F;
    F.setProperty(OffsetProperty, Twips);
    F.setVerticalAlignment(Twips > 0   ? QTextCharFormat::AlignSuperScript
                           : Twips < 0 ? QTextCharFormat::AlignSubScript
                                       : QTextCharFormat::AlignNormal);
    // Without a selection the caret's format takes it: what is typed next is offset.
    C.mergeCharFormat(F);
    PutCursor(C);
}

void TRichEdit::RequestSize()
{
    // The text is laid out in the formatting rectangle; the space round it stays.
    const int w = std::max(1, ClientWidth());
    const int h = RequiredSize(std::max(1, w - FTextLeft - FTextRight)).cy + FTextTop + FTextBottom;
    DoResizeRequest(TRect(0, 0, w, h));
}

void TRichEdit::DoResizeRequest(const TRect &Rect)
{
    if (OnResizeRequest)
        OnResizeRequest(this, Rect);
}

void TRichEdit::DrawTo(TCanvas *Canvas, const TRect &R, TColor TextColor)
{
    if (!Canvas || R.Right <= R.Left || R.Bottom <= R.Top)
        return;
    // The painter as the canvas's last drawing call left it (clip and mapping applied).
    QPainter *p = Canvas->Painter();
    if (!p)
        return;
    std::unique_ptr<QTextDocument> recoloured;
    QTextDocument *doc = FDoc.get();
    if (TextColor != clNone) {
        recoloured.reset(FDoc->clone());
        QTextCursor all(recoloured.get());
        all.select(QTextCursor::Document);
        QTextCharFormat f;
        f.setForeground(ColorToQColor(TextColor));
        all.mergeCharFormat(f);
        doc = recoloured.get();
    }
    const bool quiet = FQuiet;
    FQuiet = true;
    const qreal oldWidth = doc->textWidth();
    const qreal oldMargin = doc->documentMargin();
    doc->setDocumentMargin(0);
    doc->setTextWidth(R.Right - R.Left);
    p->save();
    p->translate(R.Left, R.Top);
    const QRectF clip(0, 0, R.Right - R.Left, R.Bottom - R.Top);
    p->setClipRect(clip, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    doc->documentLayout()->draw(p, ctx);
    p->restore();
    doc->setDocumentMargin(oldMargin);
    doc->setTextWidth(oldWidth);
    FQuiet = quiet;
}

TSize TRichEdit::RequiredSize(int Width)
{
    const bool quiet = FQuiet;
    FQuiet = true;
    const qreal oldWidth = FDoc->textWidth();
    const qreal oldMargin = FDoc->documentMargin();
    FDoc->setDocumentMargin(0);
    FDoc->setTextWidth(Width > 0 ? Width : -1);
    // The width the widest laid-out line takes, not the width it was laid out in.
    const QSizeF s(FDoc->idealWidth(), FDoc->size().height());
    FDoc->setDocumentMargin(oldMargin);
    FDoc->setTextWidth(oldWidth);
    FQuiet = quiet;
    return {static_cast<int>(std::ceil(s.width())), static_cast<int>(std::ceil(s.height()))};
}
