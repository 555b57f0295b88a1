// Version probes of the one system the program answers for.

#include "platform/VersionInfo.h"
#include "platform/UxTheme.h"

#include <QStringList>

#include <algorithm>

namespace {

// "C:\Windows\System32\COMCTL32.DLL" -> "comctl32".
QString ModuleBaseName(const UnicodeString &FileName)
{
    QString Name = FileName.trimmed();
    const qsizetype Slash = std::max(Name.lastIndexOf(QLatin1Char('\\')), Name.lastIndexOf(QLatin1Char('/')));
    if (Slash >= 0)
        Name = Name.mid(Slash + 1);
    if (Name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        Name.chop(4);
    return Name.toLower();
}

} // namespace

bool GetVersionEx(OSVERSIONINFO &Info)
{
    if (Info.dwOSVersionInfoSize != sizeof(OSVERSIONINFO))
        return false;
    Info.dwMajorVersion = 6;
    Info.dwMinorVersion = 1;
    Info.dwBuildNumber = 7601;
    Info.dwPlatformId = VER_PLATFORM_WIN32_NT;
    Info.szCSDVersion = QStringLiteral("Service Pack 1");
    return true;
}

Cardinal GetFileVersion(const UnicodeString &FileName)
{
    const QString Name = ModuleBaseName(FileName);
    if (Name == QLatin1String("comctl32"))
        return (5u << 16) | 82u;
    if (Name == QLatin1String("kernel32") || Name == QLatin1String("user32") || Name == QLatin1String("gdi32"))
        return (6u << 16) | 1u;
    if (Name == QLatin1String("uxtheme") && ThemeLibraryAvailable())
        return (6u << 16) | 1u;
    return 0xFFFFFFFFu;
}

bool SystemFunctionExists(const UnicodeString &Module, const UnicodeString &Function)
{
    const QString Name = ModuleBaseName(Module);
    static const QStringList Kernel32{QStringLiteral("GetLocaleInfoEx"), QStringLiteral("GetLocaleInfoW"),
                                      QStringLiteral("GetVersionExW")};
    static const QStringList User32{QStringLiteral("UpdateLayeredWindow"), QStringLiteral("SetLayeredWindowAttributes"),
                                    QStringLiteral("DrawTextW"), QStringLiteral("DrawFrameControl")};
    static const QStringList UxTheme{QStringLiteral("IsThemeActive"), QStringLiteral("OpenThemeData"),
                                     QStringLiteral("CloseThemeData"), QStringLiteral("DrawThemeBackground"),
                                     QStringLiteral("GetCurrentThemeName")};
    // Entry points are exported with their exact case.
    if (Name == QLatin1String("kernel32"))
        return Kernel32.contains(Function);
    if (Name == QLatin1String("user32"))
        return User32.contains(Function);
    if (Name == QLatin1String("uxtheme"))
        return ThemeLibraryAvailable() && UxTheme.contains(Function);
    return false;
}
