#include "platform/Ole2.h"

HRESULT OleInitialize(void *) { return S_OK; }

void OleUninitialize() {}
