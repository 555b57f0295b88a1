#include "platform/Clipboard.h"

#include "platform/Windows.h"

#include <QHash>
#include <QMutex>

namespace {
QMutex GNamesLock;
QHash<Cardinal, UnicodeString> GNames;
} // namespace

// Registered formats and registered messages share one number space, as they do on the
// classic system: a name gives the same number through either call.
Cardinal RegisterClipboardFormat(const UnicodeString &Name)
{
    const Cardinal id = RegisterWindowMessage(Name);
    if (id != 0) {
        QMutexLocker lock(&GNamesLock);
        if (!GNames.contains(id))
            GNames.insert(id, Name);
    }
    return id;
}

UnicodeString GetClipboardFormatName(Cardinal Format)
{
    QMutexLocker lock(&GNamesLock);
    return GNames.value(Format);
}
