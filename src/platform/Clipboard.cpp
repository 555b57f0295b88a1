#include "platform/Clipboard.h"

#include "platform/Windows.h"

UnicodeString GetClipboardFormatName(Cardinal Format)
{
    UnicodeString name;
    GetClipboardFormatName(Format, name);
    return name;
}
