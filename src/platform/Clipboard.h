#pragma once
// Clipboard formats: the predefined numbers; formats registered by name come from
// RegisterClipboardFormat beside the registered window messages, whose numbers they share.

#include "platform/System.h"
#include "platform/Windows.h"

using CLIPFORMAT = Word;

inline constexpr CLIPFORMAT CF_TEXT = 1;
inline constexpr CLIPFORMAT CF_BITMAP = 2;
inline constexpr CLIPFORMAT CF_OEMTEXT = 7;
inline constexpr CLIPFORMAT CF_UNICODETEXT = 13;
inline constexpr CLIPFORMAT CF_HDROP = 15;
