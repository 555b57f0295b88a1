// The visual-styles library stand-in: absent unless a provider is installed.

#include "platform/UxTheme.h"

#include <QStringList>

#include <atomic>
#include <cstdint>

namespace {
std::atomic<TThemeProvider *> GProvider{nullptr};
}

TThemeProvider *SetThemeProvider(TThemeProvider *Provider) { return GProvider.exchange(Provider); }

bool ThemeLibraryAvailable() { return GProvider.load() != nullptr; }

bool IsThemeActive()
{
    TThemeProvider *P = GProvider.load();
    return P && P->IsThemeActive();
}

HTHEME OpenThemeData(HWND Wnd, const UnicodeString &ClassList)
{
    TThemeProvider *P = GProvider.load();
    return P ? P->OpenThemeData(Wnd, ClassList) : nullptr;
}

HRESULT CloseThemeData(HTHEME Theme)
{
    TThemeProvider *P = GProvider.load();
    return P ? P->CloseThemeData(Theme) : E_FAIL;
}

HRESULT DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const TRect &Rect, const TRect *ClipRect)
{
    TThemeProvider *P = GProvider.load();
    return P ? P->DrawThemeBackground(Theme, DC, PartId, StateId, Rect, ClipRect) : E_FAIL;
}

HRESULT GetCurrentThemeName(UnicodeString &ThemeFileName, UnicodeString &ColorName, UnicodeString &SizeName)
{
    ThemeFileName.clear();
    ColorName.clear();
    SizeName.clear();
    TThemeProvider *P = GProvider.load();
    return P ? P->GetCurrentThemeName(ThemeFileName, ColorName, SizeName) : E_FAIL;
}

// ---- TRecordingThemeProvider ----

HTHEME TRecordingThemeProvider::OpenThemeData(HWND, const UnicodeString &ClassList)
{
    if (!Active)
        return nullptr;
    // The first class of a ";"-separated list that the theme knows.
    static const QStringList Known{QStringLiteral("button"), QStringLiteral("combobox"), QStringLiteral("spin"),
                                   QStringLiteral("edit"), QStringLiteral("header"), QStringLiteral("scrollbar"),
                                   QStringLiteral("treeview"), QStringLiteral("progress"), QStringLiteral("tab")};
    for (const QString &Part : ClassList.split(QLatin1Char(';'))) {
        const QString Name = Part.trimmed().toLower();
        if (!Known.contains(Name))
            continue;
        FOpen.push_back(Name);
        FIsOpen.push_back(true);
        return reinterpret_cast<HTHEME>(static_cast<std::uintptr_t>(FOpen.size()));
    }
    return nullptr;
}

int TRecordingThemeProvider::OpenCount() const
{
    int Count = 0;
    for (bool Open : FIsOpen)
        Count += Open ? 1 : 0;
    return Count;
}

HRESULT TRecordingThemeProvider::CloseThemeData(HTHEME Theme)
{
    const auto Index = reinterpret_cast<std::uintptr_t>(Theme);
    if (Index == 0 || Index > FIsOpen.size() || !FIsOpen[Index - 1])
        return E_HANDLE;
    FIsOpen[Index - 1] = false;
    return S_OK;
}

HRESULT TRecordingThemeProvider::DrawThemeBackground(HTHEME Theme, HDC, int PartId, int StateId, const TRect &Rect,
                                                     const TRect *)
{
    const auto Index = reinterpret_cast<std::uintptr_t>(Theme);
    if (Index == 0 || Index > FIsOpen.size() || !FIsOpen[Index - 1])
        return E_HANDLE;
    Entries.push_back({FOpen[Index - 1], PartId, StateId, Rect});
    return S_OK;
}

HRESULT TRecordingThemeProvider::GetCurrentThemeName(UnicodeString &ThemeFileName, UnicodeString &ColorName_,
                                                     UnicodeString &SizeName_)
{
    if (!Active)
        return E_FAIL;
    ThemeFileName = ThemeFile;
    ColorName_ = ColorName;
    SizeName_ = SizeName;
    return S_OK;
}
