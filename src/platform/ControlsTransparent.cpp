#include "platform/Controls.h"

#include <QPainter>

void PaintParentBackground(TControl *Control, TCanvas *Canvas)
{
    TWinControl *parent = Control ? Control->Parent() : nullptr;
    QPainter *p = Canvas ? Canvas->Painter() : nullptr;
    if (!parent || !p)
        return;
    // A graphic control is one of the children the parent's paint draws; for it the parent's
    // background is all there is to show, or it would paint itself inside its own paint.
    const bool graphic = dynamic_cast<TWinControl *>(Control) == nullptr;
    p->save();
    try {
        p->translate(-Control->Left(), -Control->Top());
        const TRect pr = parent->ClientRect();
        p->setClipRect(QRect(pr.Left, pr.Top, pr.Width(), pr.Height()), Qt::IntersectClip);
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Canvas), 0);
        if (!graphic)
            parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas), 0);
    } catch (...) {
        p->restore();
        throw;
    }
    p->restore();
}
