#pragma once
// The clipboard's text (over the desktop clipboard).

#include "platform/System.h"

class TClipboard {
public:
    UnicodeString AsText() const;
    void SetAsText(const UnicodeString &Value);
    // The clipboard holds text (CF_TEXT).
    bool HasText() const;
    // The clipboard holds data of a format: the text formats (CF_TEXT, CF_OEMTEXT,
    // CF_UNICODETEXT) and CF_BITMAP; false for any other.
    bool HasFormat(Word Format) const;
    void Clear();
};

TClipboard *Clipboard();
