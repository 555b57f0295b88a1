#pragma once
// The component object layer. Nothing of the program needs it here: initialising it succeeds
// and does nothing, so that code that pairs the two calls runs unchanged.

#include "platform/UxTheme.h"

HRESULT OleInitialize(void *Reserved);
void OleUninitialize();
