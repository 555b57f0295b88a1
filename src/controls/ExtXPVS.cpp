// Binding of the visual-styles entry points by name.

#include "controls/ExtXPVS.h"

#include "platform/VersionInfo.h"

namespace ExtXPVS {

TIsThemeActive IsThemeActive = nullptr;
TOpenThemeData OpenThemeData = nullptr;
TCloseThemeData CloseThemeData = nullptr;
TDrawThemeBackground DrawThemeBackground = nullptr;
TGetCurrentThemeName GetCurrentThemeName = nullptr;

namespace {

bool GLoaded = false;

// The library's own entry point of a name, or nullptr when it does not export it.
template <class T>
T Lookup(const char *Name, T Entry)
{
    return SystemFunctionExists(QStringLiteral("uxtheme.dll"), QString::fromLatin1(Name)) ? Entry : nullptr;
}

struct TStartupBinding {
    TStartupBinding() { Bind(); }
};
const TStartupBinding GStartupBinding;

} // namespace

void Bind()
{
    if (GLoaded || !ThemeLibraryAvailable())
        return;
    GLoaded = true;
    IsThemeActive = Lookup("IsThemeActive", &::IsThemeActive);
    OpenThemeData = Lookup("OpenThemeData", &::OpenThemeData);
    CloseThemeData = Lookup("CloseThemeData", &::CloseThemeData);
    DrawThemeBackground = Lookup("DrawThemeBackground", &::DrawThemeBackground);
    GetCurrentThemeName = Lookup("GetCurrentThemeName", &::GetCurrentThemeName);
}

void Unbind()
{
    GLoaded = false;
    IsThemeActive = nullptr;
    OpenThemeData = nullptr;
    CloseThemeData = nullptr;
    DrawThemeBackground = nullptr;
    GetCurrentThemeName = nullptr;
}

bool Loaded() { return GLoaded; }

bool ThemesActive()
{
    return GLoaded && IsThemeActive && OpenThemeData && CloseThemeData && DrawThemeBackground && IsThemeActive();
}

} // namespace ExtXPVS
