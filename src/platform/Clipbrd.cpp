#include "platform/Clipbrd.h"

#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard *Board()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

UnicodeString TClipboard::AsText() const
{
    QClipboard *b = Board();
    return b ? b->text() : UnicodeString();
}

void TClipboard::SetAsText(const UnicodeString &Value)
{
    if (QClipboard *b = Board())
        b->setText(Value);
}

bool TClipboard::HasText() const
{
    QClipboard *b = Board();
    const QMimeData *d = b ? b->mimeData() : nullptr;
    return d && d->hasText();
}

bool TClipboard::HasFormat(Word Format) const
{
    switch (Format) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT:
        return HasText();
    case CF_BITMAP: {
        QClipboard *b = Board();
        const QMimeData *d = b ? b->mimeData() : nullptr;
        return d && d->hasImage();
    }
    default:
        return false;
    }
}

void TClipboard::Clear()
{
    if (QClipboard *b = Board())
        b->clear();
}

TClipboard *Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
