#pragma once
// Clipboard formats: the predefined numbers and the formats registered by name.

#include "platform/System.h"
#include "platform/Windows.h"

using CLIPFORMAT = Word;

inline constexpr CLIPFORMAT CF_TEXT = 1;
inline constexpr CLIPFORMAT CF_BITMAP = 2;
inline constexpr CLIPFORMAT CF_OEMTEXT = 7;
inline constexpr CLIPFORMAT CF_UNICODETEXT = 13;
inline constexpr CLIPFORMAT CF_HDROP = 15;

// RegisterClipboardFormat (a name's format number, the same for every call with that name during
// the run, in 0xC000..0xFFFF; 0 for an empty name) comes with the window system's registered
// numbers, which the formats share.
// The name a format was registered with; empty for the predefined and unknown numbers.
UnicodeString GetClipboardFormatName(Cardinal Format);
