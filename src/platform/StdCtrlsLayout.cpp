// The edit's alignment and formatting rectangle, and the combo box's dropped-down width.
#include "platform/StdCtrls.h"

#include "platform/StdCtrlsPrivate.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>

#include <algorithm>

void TCustomEdit::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    ApplyEditLayout();
}

TRect TCustomEdit::FormattingRect() const
{
    if (FFormatRect.Width() <= 0 || FFormatRect.Height() <= 0)
        return ClientRect();
    return FFormatRect;
}

void TCustomEdit::SetFormattingRect(const TRect &Value)
{
    FFormatRect = Value;
    ApplyEditLayout();
}

bool TCustomEdit::EditLayoutMessage(TMessage &Message)
{
    switch (Message.Msg) {
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (Message.LParam)
            SetFormattingRect(*reinterpret_cast<const TRect *>(Message.LParam));
        else
            SetFormattingRect(TRect(0, 0, 0, 0));
        if (Message.Msg == EM_SETRECT)
            Invalidate();
        Message.Result = 0;
        return true;
    case EM_GETRECT:
        if (Message.LParam)
            *reinterpret_cast<TRect *>(Message.LParam) = FormattingRect();
        Message.Result = 0;
        return true;
    default:
        return false;
    }
}

void TCustomEdit::BoundsChanged(bool Moved, bool Resized)
{
    TWinControl::BoundsChanged(Moved, Resized);
    // The rectangle stays where it was set; the margins to the window's edges change.
    if (Resized)
        ApplyEditLayout();
}

void TCustomEdit::ApplyEditLayout()
{
    if (platform_detail::MultiLineWidget(WidgetIfAllocated())) {
        ApplyMultiLineState();
        return;
    }
    auto *e = qobject_cast<QLineEdit *>(WidgetIfAllocated());
    if (!e)
        return;
    Qt::Alignment h = Qt::AlignLeft;
    if (FAlignment == taRightJustify)
        h = Qt::AlignRight;
    else if (FAlignment == taCenter)
        h = Qt::AlignHCenter;
    e->setAlignment(h | Qt::AlignVCenter);
    if (FFormatRect.Width() <= 0 || FFormatRect.Height() <= 0) {
        e->setTextMargins(0, 0, 0, 0);
        return;
    }
    // The line's text lies inside the frame; the rectangle is measured from the window's edge.
    const int frame = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e) : 0;
    const int left = std::max(0, FFormatRect.Left - frame);
    const int right = std::max(0, Width() - frame - FFormatRect.Right);
    e->setTextMargins(left, 0, right, 0);
}

void TCustomComboBox::SetDroppedWidth(int Value)
{
    FDroppedWidth = std::max(Value, 0);
    if (QComboBox *c = Combo())
        c->view()->setMinimumWidth(FDroppedWidth);
}

void TCustomComboBox::SetAutoComplete(bool Value)
{
    FAutoComplete = Value;
    if (QComboBox *c = Combo(); c && c->lineEdit() && !Value)
        c->setCompleter(nullptr);
    else if (c && c->lineEdit() && !c->completer())
        RecreateWnd();
}

void TCustomComboBox::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CB_SETDROPPEDWIDTH:
        SetDroppedWidth(static_cast<int>(Message.WParam));
        Message.Result = std::max(FDroppedWidth, Width());
        return;
    case CB_GETDROPPEDWIDTH:
        Message.Result = std::max(FDroppedWidth, Width());
        return;
    case CB_GETEDITSEL: {
        QLineEdit *e = Combo() ? Combo()->lineEdit() : nullptr;
        if (IsListStyle() || !e) {
            Message.Result = CB_ERR;
            return;
        }
        const int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
        const int end = e->hasSelectedText() ? e->selectionEnd() : start;
        if (Message.WParam)
            *reinterpret_cast<DWORD *>(Message.WParam) = static_cast<DWORD>(start);
        if (Message.LParam)
            *reinterpret_cast<DWORD *>(Message.LParam) = static_cast<DWORD>(end);
        Message.Result = MakeLParam(start, end);
        return;
    }
    case CB_SETEDITSEL: {
        QLineEdit *e = Combo() ? Combo()->lineEdit() : nullptr;
        if (IsListStyle() || !e) {
            Message.Result = CB_ERR;
            return;
        }
        const int len = static_cast<int>(e->text().size());
        const auto start = static_cast<SmallInt>(Message.LParamLo());
        const auto end = static_cast<SmallInt>(Message.LParamHi());
        if (start < 0) {
            e->deselect();
        } else {
            const int from = std::min<int>(start, len);
            const int to = end < 0 ? len : std::clamp<int>(end, from, len);
            // The caret ends at the end of the selection, as the edit field puts it.
            e->setSelection(from, to - from);
            if (to == from)
                e->setCursorPosition(from);
        }
        Message.Result = 1;
        return;
    }
    case EM_CHARFROMPOS: {
        // The edit field's character under a point of the box's client area, as its edit
        // child answers it: index in the low word, line 0; -1 outside the field.
        QLineEdit *e = Combo() ? Combo()->lineEdit() : nullptr;
        if (IsListStyle() || !e) {
            Message.Result = -1;
            return;
        }
        const QPoint p = e->mapFrom(Combo(), QPoint(static_cast<SmallInt>(Message.LParamLo()),
                                                     static_cast<SmallInt>(Message.LParamHi())));
        if (!e->rect().contains(p)) {
            Message.Result = -1;
            return;
        }
        Message.Result = MakeLParam(e->cursorPositionAt(p), 0);
        return;
    }
    case CB_GETCURSEL:
        Message.Result = FItemIndex;
        return;
    case CB_GETLBTEXTLEN:
    case CB_GETLBTEXT: {
        const auto index = static_cast<std::intptr_t>(Message.WParam);
        if (index < 0 || index >= FItems->Count()) {
            Message.Result = CB_ERR;
            return;
        }
        const UnicodeString s = FItems->Strings(static_cast<int>(index));
        if (Message.Msg == CB_GETLBTEXT && Message.LParam) {
            auto *buffer = reinterpret_cast<char16_t *>(Message.LParam);
            std::copy(s.utf16(), s.utf16() + s.size(), buffer);
            buffer[s.size()] = u'\0';
        }
        Message.Result = static_cast<LRESULT>(s.size());
        return;
    }
    default:
        TWinControl::Dispatch(Message);
    }
}
