// Finding a path whose letter case differs from the one written: the system's code and its
// markup upper-case names that live on a case-sensitive file system.

#include "platform/FileUtils.h"

#include <QDir>
#include <QFileInfo>

UnicodeString FindPathNoCase(const UnicodeString &Path)
{
    const QString native = NativePath(Path);
    if (native.isEmpty())
        return {};
    if (QFileInfo::exists(native))
        return native;
    const bool absolute = native.startsWith(QLatin1Char('/'));
    const QStringList parts = native.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QString();
    for (const QString &part : parts) {
        const QString base = current.isEmpty() ? QStringLiteral(".") : current;
        const QString candidate = current.isEmpty() || current.endsWith(QLatin1Char('/')) ? current + part
                                                                                         : current + QLatin1Char('/') + part;
        if (QFileInfo::exists(candidate)) {
            current = candidate;
            continue;
        }
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return {};
        QString found;
        const QStringList entries = QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &e : entries)
            if (e.compare(part, Qt::CaseInsensitive) == 0) {
                found = e;
                break;
            }
        if (found.isEmpty())
            return {};
        current = current.isEmpty() || current.endsWith(QLatin1Char('/')) ? current + found : current + QLatin1Char('/') + found;
    }
    return current;
}
