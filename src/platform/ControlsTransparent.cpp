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
    // The parent draws through a canvas of its own whose origin is the moved one: the control's
    // canvas would put its own transform back at its next drawing call and undo the move.
    TControlCanvas parentDC;
    parentDC.SetControl(parent);
    try {
        p->translate(-Control->Left(), -Control->Top());
        const TRect pr = parent->ClientRect();
        p->setClipRect(QRect(pr.Left, pr.Top, pr.Width(), pr.Height()), Qt::IntersectClip);
        parentDC.BeginPainting(p);
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<TCanvas *>(&parentDC)), 0);
        if (!graphic)
            parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(static_cast<TCanvas *>(&parentDC)), 0);
    } catch (...) {
        parentDC.EndPainting();
        p->restore();
        throw;
    }
    parentDC.EndPainting();
    p->restore();
}
