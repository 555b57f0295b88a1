// The platform's active visual style: none unless set.
#include "platform/PlatformStyle.h"

namespace {

TPlatformStyle &Current()
{
    static TPlatformStyle s;
    return s;
}

} // namespace

const TPlatformStyle &ActivePlatformStyle()
{
    return Current();
}

void SetActivePlatformStyle(const TPlatformStyle &Style)
{
    Current() = Style;
}
