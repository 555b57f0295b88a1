#pragma once
// The controls' binding of the visual-styles library, looked up by name when the program
// starts. The grids, the edits with a button, the drawing utilities and the drop-downs share
// this one binding.
//
// Only the entry points the controls call are bound: IsThemeActive, OpenThemeData,
// CloseThemeData, DrawThemeBackground and GetCurrentThemeName. The library's other entry points
// (text, extents, metrics, colours, fonts, regions, hit tests, dialog textures, application
// properties and the rest) are never called by the controls, so nothing binds them.
//
// When the library is absent nothing is bound, Loaded() is false and every caller takes its
// classic drawing path.

#include "platform/UxTheme.h"

namespace ExtXPVS {

using TIsThemeActive = bool (*)();
using TOpenThemeData = HTHEME (*)(HWND Wnd, const UnicodeString &ClassList);
using TCloseThemeData = HRESULT (*)(HTHEME Theme);
using TDrawThemeBackground = HRESULT (*)(HTHEME Theme, HDC DC, int PartId, int StateId, const TRect &Rect,
                                         const TRect *ClipRect);
using TGetCurrentThemeName = HRESULT (*)(UnicodeString &ThemeFileName, UnicodeString &ColorName,
                                         UnicodeString &SizeName);

// Empty until bound.
extern TIsThemeActive IsThemeActive;
extern TOpenThemeData OpenThemeData;
extern TCloseThemeData CloseThemeData;
extern TDrawThemeBackground DrawThemeBackground;
extern TGetCurrentThemeName GetCurrentThemeName;

// Binds the entry points once: nothing when already bound or when the library is absent.
// Runs at program start; a test that installs a theme provider afterwards binds again.
void Bind();
// Drops the binding (the entry points become empty again).
void Unbind();
bool Loaded();

// True when themed parts may be drawn now: bound and a theme is active.
bool ThemesActive();

} // namespace ExtXPVS
