// Character positions and margins of an edit control, measured without its window.

#include "platform/StdCtrls.h"
#include "platform/WindowPlacement.h"

#include <QString>

void TCustomEdit::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case EM_POSFROMCHAR:
        EMPosFromChar(Message);
        return;
    case EM_SETMARGINS:
        if (Message.WParam & EC_LEFTMARGIN)
            FLeftMargin = Message.LParamLo();
        if (Message.WParam & EC_RIGHTMARGIN)
            FRightMargin = Message.LParamHi();
        Message.Result = 0;
        return;
    case EM_SETREADONLY:
        FReadOnly = Message.WParam != 0;
        ApplyEditState();
        Message.Result = 1;
        return;
    case EM_GETMARGINS:
        Message.Result = static_cast<LRESULT>((static_cast<unsigned>(FRightMargin) & 0xFFFF) << 16 |
                                              (static_cast<unsigned>(FLeftMargin) & 0xFFFF));
        return;
    default:
        if (!EditLayoutMessage(Message) && !MultiLineMessage(Message))
            TWinControl::Dispatch(Message);
    }
}

void TCustomEdit::EMPosFromChar(TMessage &Message)
{
    const TPoint p = PosFromChar(static_cast<int>(static_cast<std::intptr_t>(Message.WParam)));
    if (p.X < 0) {
        Message.Result = -1;
        return;
    }
    Message.Result = static_cast<LRESULT>((static_cast<unsigned>(p.Y) & 0xFFFF) << 16 | (static_cast<unsigned>(p.X) & 0xFFFF));
}
