// Character positions and margins of an edit control, measured without its window.

#include "platform/StdCtrls.h"

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
    case EM_GETMARGINS:
        Message.Result = static_cast<LRESULT>((static_cast<unsigned>(FRightMargin) & 0xFFFF) << 16 |
                                              (static_cast<unsigned>(FLeftMargin) & 0xFFFF));
        return;
    default:
        if (!EditLayoutMessage(Message))
            TWinControl::Dispatch(Message);
    }
}

void TCustomEdit::EMPosFromChar(TMessage &Message)
{
    const UnicodeString Shown = FPasswordChar != 0 ? UnicodeString(GetText().size(), QChar(FPasswordChar)) : GetText();
    const auto Index = static_cast<std::intptr_t>(Message.WParam);
    if (Index < 0 || Index >= Shown.size()) {
        Message.Result = -1;
        return;
    }
    TCanvas Measure;
    Measure.Font()->Assign(Font());
    const int X = FLeftMargin + Measure.TextWidth(Shown.left(Index));
    constexpr int Y = 0;
    Message.Result = static_cast<LRESULT>((static_cast<unsigned>(Y) & 0xFFFF) << 16 | (static_cast<unsigned>(X) & 0xFFFF));
}
