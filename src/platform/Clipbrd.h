#pragma once
// The clipboard's text (over the desktop clipboard).

#include "platform/System.h"

class TClipboard {
public:
    UnicodeString AsText() const;
    void SetAsText(const UnicodeString &Value);
    // The clipboard holds text (CF_TEXT).
    bool HasText() const;
    void Clear();
};

TClipboard *Clipboard();
