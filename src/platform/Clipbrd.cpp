#include "platform/Clipbrd.h"

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
