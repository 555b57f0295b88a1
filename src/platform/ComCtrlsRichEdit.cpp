// The rich edit: a Qt text document, shown by a QTextEdit once the window exists.
#include "platform/ComCtrls.h"
#include "platform/Encoding.h"
#include "platform/RichText.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

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
    : TWinControl(AOwner), FDoc(std::make_unique<QTextDocument>()), FLines(std::make_unique<TRichEditStrings>(this))
{
}

TRichEdit::~TRichEdit()
{
    // The window shows our document: it goes first.
    DestroyHandle();
}

QWidget *TRichEdit::CreateWidget(QWidget *ParentWidget)
{
    auto *E = new QTextEdit(ParentWidget);
    E->setDocument(FDoc.get());
    return E;
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
}

TSize TRichEdit::RequiredSize(int Width)
{
    const qreal oldWidth = FDoc->textWidth();
    const qreal oldMargin = FDoc->documentMargin();
    FDoc->setDocumentMargin(0);
    FDoc->setTextWidth(Width > 0 ? Width : -1);
    // The width the widest laid-out line takes, not the width it was laid out in.
    const QSizeF s(FDoc->idealWidth(), FDoc->size().height());
    FDoc->setDocumentMargin(oldMargin);
    FDoc->setTextWidth(oldWidth);
    return {static_cast<int>(std::ceil(s.width())), static_cast<int>(std::ceil(s.height()))};
}
