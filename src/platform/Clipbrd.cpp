#include "platform/Clipbrd.h"

#include "platform/ActiveX.h"
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <map>
#include <utility>
#include <vector>

namespace {

QClipboard *Board()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

struct TClipboard::TPending {
    std::vector<std::pair<CLIPFORMAT, QByteArray>> Blocks;
    // Blocks handed out by GetAsHandle, one per format.
    std::map<Word, HGLOBAL> Read;
};

TClipboard::~TClipboard()
{
    if (FPending)
        for (auto &r : FPending->Read)
            GlobalFree(r.second);
    delete FPending;
}

UnicodeString TClipboard::AsText() const
{
    QClipboard *b = Board();
    return b ? b->text() : UnicodeString();
}

void TClipboard::SetAsText(const UnicodeString &Value)
{
    Open();
    Adding();
    FPending->Blocks.emplace_back(CF_UNICODETEXT, UnicodeTextBlock(Value));
    Close();
}

bool TClipboard::HasText() const
{
    QClipboard *b = Board();
    const QMimeData *d = b ? b->mimeData() : nullptr;
    return d && d->hasText();
}

bool TClipboard::HasFormat(Word Format) const
{
    QClipboard *b = Board();
    const QMimeData *d = b ? b->mimeData() : nullptr;
    if (!d)
        return false;
    switch (Format) {
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT:
        return d->hasText();
    case CF_BITMAP:
        return d->hasImage();
    default: {
        TComPtr<IDataObject> obj(MimeToDataObject(d));
        FORMATETC fe;
        fe.cfFormat = Format;
        return obj->QueryGetData(fe) == S_OK;
    }
    }
}

void TClipboard::Clear()
{
    if (FOpenCount > 0) {
        FPending->Blocks.clear();
        FEmptied = true;
        return;
    }
    if (QClipboard *b = Board())
        b->clear();
}

void TClipboard::Open()
{
    if (!FPending)
        FPending = new TPending;
    if (FOpenCount++ == 0) {
        FEmptied = false;
        FPending->Blocks.clear();
    }
}

void TClipboard::Close()
{
    if (FOpenCount == 0)
        return;
    if (--FOpenCount == 0 && FEmptied)
        Publish();
}

void TClipboard::Adding()
{
    if (!FEmptied) {
        FPending->Blocks.clear();
        FEmptied = true;
    }
}

void TClipboard::Publish()
{
    QClipboard *b = Board();
    if (!b)
        return;
    if (FPending->Blocks.empty()) {
        b->clear();
        return;
    }
    TComPtr<IDataObject> obj(BlocksToDataObject(FPending->Blocks));
    FPending->Blocks.clear();
    b->setMimeData(DataObjectToMime(obj.Get()));
}

void TClipboard::SetAsHandle(Word Format, HGLOBAL Value)
{
    if (!Value)
        return;
    Open();
    Adding();
    const auto *p = static_cast<const char *>(GlobalLock(Value));
    FPending->Blocks.emplace_back(Format, QByteArray(p, static_cast<qsizetype>(GlobalSize(Value))));
    GlobalUnlock(Value);
    GlobalFree(Value);
    Close();
}

HGLOBAL TClipboard::GetAsHandle(Word Format)
{
    QClipboard *b = Board();
    const QMimeData *d = b ? b->mimeData() : nullptr;
    if (!d)
        return nullptr;
    if (!FPending)
        FPending = new TPending;
    TComPtr<IDataObject> obj(MimeToDataObject(d));
    FORMATETC fe;
    fe.cfFormat = Format;
    STGMEDIUM m;
    if (obj->GetData(fe, m) != S_OK || m.tymed != TYMED_HGLOBAL)
        return nullptr;
    HGLOBAL &slot = FPending->Read[Format];
    GlobalFree(slot);
    slot = m.hGlobal;
    return slot;
}

TClipboard *Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
