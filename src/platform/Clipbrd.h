#pragma once
// The clipboard (over the desktop clipboard; headless, Qt's in-process one).
//
// Formats travel as in drag and drop (ActiveX.h), plus "HTML Format" as text/html (the document
// as UTF-8). Between Open and the matching Close the first format set empties the clipboard and
// every format set joins it; they are published together at the Close. Outside Open each set
// opens and closes by itself.

#include "platform/System.h"

struct TGlobalBlock;
using HGLOBAL = TGlobalBlock *;

class TClipboard {
public:
    ~TClipboard();
    UnicodeString AsText() const;
    void SetAsText(const UnicodeString &Value);
    // The clipboard holds text (CF_TEXT).
    bool HasText() const;
    // The clipboard holds data of a format: the text formats (CF_TEXT, CF_OEMTEXT,
    // CF_UNICODETEXT), CF_BITMAP, CF_HDROP and the registered formats named in ActiveX.h.
    bool HasFormat(Word Format) const;
    void Clear();

    // Opens may nest; the last Close publishes what was set since the first Open.
    void Open();
    void Close();
    bool IsOpen() const { return FOpenCount > 0; }
    // Puts a block on the clipboard under Format; the clipboard owns the block from here on.
    void SetAsHandle(Word Format, HGLOBAL Value);
    // The data of Format as a block that the clipboard keeps until the next read of that format
    // or its own end (not to be freed by the caller); nullptr when the format is missing.
    HGLOBAL GetAsHandle(Word Format);

private:
    // The first set inside an open clipboard empties it.
    void Adding();
    void Publish();
    int FOpenCount = 0;
    bool FEmptied = false;
    struct TPending;
    TPending *FPending = nullptr;
};

TClipboard *Clipboard();
