#include "platform/Clipboard.h"

#include "platform/Windows.h"

// Registered formats and registered messages share one number space, as they do on the
// classic system: the window system's registry keeps both numbers and names.
UnicodeString GetClipboardFormatName(Cardinal Format)
{
    UnicodeString name;
    ::GetClipboardFormatName(Format, name);
    return name;
}
