#pragma once
// Clipboard formats: the predefined numbers and the formats registered by name.

#include "platform/System.h"

using CLIPFORMAT = Word;

inline constexpr CLIPFORMAT CF_TEXT = 1;
inline constexpr CLIPFORMAT CF_BITMAP = 2;
inline constexpr CLIPFORMAT CF_OEMTEXT = 7;
inline constexpr CLIPFORMAT CF_UNICODETEXT = 13;
inline constexpr CLIPFORMAT CF_HDROP = 15;

// The format number of a name, the same for every call with that name (without regard to case)
// during the run; numbers lie in 0xC000..0xFFFF. 0 for an empty name.
Cardinal RegisterClipboardFormat(const UnicodeString &Name);
inline Cardinal RegisterClipboardFormatW(const UnicodeString &Name) { return RegisterClipboardFormat(Name); }
// The name a format was registered with; empty for the predefined and unknown numbers.
UnicodeString GetClipboardFormatName(Cardinal Format);
