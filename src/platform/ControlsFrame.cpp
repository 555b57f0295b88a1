// The stored 3-D flags of windowed controls and the frame paint over wrapped widgets.
#include "platform/Controls.h"

bool TWinControl::Ctl3D() const
{
    if (FParentCtl3D && FParent)
        return FParent->Ctl3D();
    return FCtl3D;
}

void TWinControl::SetCtl3D(bool Value)
{
    FCtl3D = Value;
    FParentCtl3D = false;
}

void TWinControl::WMNCPaint(TWMNCPaint &Message)
{
    if (!Message.DC) {
        Invalidate();
        Message.Result = 0;
        return;
    }
    Inherited(Message);
}
