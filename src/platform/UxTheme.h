#pragma once
// The visual-styles library: themed drawing of control parts (push buttons, combo-box drop
// buttons, spin buttons).
//
// The library counts as absent: every control draws its classic look. A test may install a
// provider (SetThemeProvider) that stands for the library; while one is installed the calls
// below go to it. TRecordingThemeProvider reports an active theme and logs each part drawn.
//
// Provider installation belongs to the user-interface thread and to moments when nothing is
// being drawn.

#include "platform/Messages.h"
#include "platform/System.h"
#include "platform/Types.h"

#include <cstdint>
#include <vector>

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006u);
constexpr bool SUCCEEDED(HRESULT Hr) { return Hr >= 0; }
constexpr bool FAILED(HRESULT Hr) { return Hr < 0; }

// An open theme: an opaque value, never a pointer to dereference.
struct HTHEME__;
using HTHEME = HTHEME__ *;

// Parts and states of the classes the controls draw.
inline constexpr int BP_PUSHBUTTON = 1;
inline constexpr int PBS_NORMAL = 1;
inline constexpr int PBS_HOT = 2;
inline constexpr int PBS_PRESSED = 3;
inline constexpr int PBS_DISABLED = 4;
inline constexpr int PBS_DEFAULTED = 5;
inline constexpr int BP_CHECKBOX = 3;
inline constexpr int CP_DROPDOWNBUTTON = 1;
inline constexpr int CBXS_NORMAL = 1;
inline constexpr int CBXS_HOT = 2;
inline constexpr int CBXS_PRESSED = 3;
inline constexpr int CBXS_DISABLED = 4;
inline constexpr int SPNP_UP = 1;
inline constexpr int SPNP_DOWN = 2;
inline constexpr int UPS_NORMAL = 1;
inline constexpr int UPS_HOT = 2;
inline constexpr int UPS_PRESSED = 3;
inline constexpr int UPS_DISABLED = 4;
inline constexpr int DNS_NORMAL = 1;
inline constexpr int DNS_HOT = 2;
inline constexpr int DNS_PRESSED = 3;
inline constexpr int DNS_DISABLED = 4;

// What stands for the library while installed.
class TThemeProvider {
public:
    virtual ~TThemeProvider() = default;
    virtual bool IsThemeActive() = 0;
    // nullptr when the class list names no class of the theme.
    virtual HTHEME OpenThemeData(HWND Wnd, const UnicodeString &ClassList) = 0;
    virtual HRESULT CloseThemeData(HTHEME Theme) = 0;
    virtual HRESULT DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const TRect &Rect,
                                        const TRect *ClipRect) = 0;
    virtual HRESULT GetCurrentThemeName(UnicodeString &ThemeFileName, UnicodeString &ColorName,
                                        UnicodeString &SizeName) = 0;
};

// Installs Provider (not owned; nullptr removes it) and returns the one installed before.
TThemeProvider *SetThemeProvider(TThemeProvider *Provider);
// True while a provider is installed: the library is present.
bool ThemeLibraryAvailable();

// The library's calls. Without a provider: no active theme, no theme data, E_FAIL.
bool IsThemeActive();
HTHEME OpenThemeData(HWND Wnd, const UnicodeString &ClassList);
HRESULT CloseThemeData(HTHEME Theme);
HRESULT DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const TRect &Rect, const TRect *ClipRect);
// Names of the current theme file, colour scheme and size; empty texts on failure.
HRESULT GetCurrentThemeName(UnicodeString &ThemeFileName, UnicodeString &ColorName, UnicodeString &SizeName);

// A provider with an active theme that remembers every part drawn (and draws nothing).
class TRecordingThemeProvider : public TThemeProvider {
public:
    struct TEntry {
        UnicodeString ClassName; // the class the theme data was opened for, in lower case
        int Part = 0;
        int State = 0;
        TRect Rect;
    };

    bool IsThemeActive() override { return Active; }
    HTHEME OpenThemeData(HWND Wnd, const UnicodeString &ClassList) override;
    HRESULT CloseThemeData(HTHEME Theme) override;
    HRESULT DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const TRect &Rect,
                                const TRect *ClipRect) override;
    HRESULT GetCurrentThemeName(UnicodeString &ThemeFileName, UnicodeString &ColorName,
                                UnicodeString &SizeName) override;

    bool Active = true;
    UnicodeString ThemeFile = QStringLiteral("Luna.msstyles");
    UnicodeString ColorName = QStringLiteral("NormalColor");
    UnicodeString SizeName = QStringLiteral("NormalSize");
    std::vector<TEntry> Entries;
    // Theme data opened and not yet closed.
    int OpenCount() const;

private:
    // The handle value is the index + 1.
    std::vector<UnicodeString> FOpen;
    std::vector<bool> FIsOpen;
};
