#pragma once
// Inside the standard controls: joining a wrapped widget's signals to its control.

#include "platform/ControlsPrivate.h"

#include <QObject>
#include <QWidget>

#include <functional>

class QPlainTextEdit;
class TWinControl;

namespace platform_detail {
// The object that holds a control's connections to the signals of its widget; dropping it
// (DropLinks) cuts them all, so no signal reaches a control that is going away.
QObject *Links(QWidget *Widget);
void DropLinks(QWidget *Widget);
// Runs a control's reaction to a widget signal with the default exception handling.
void FromSignal(TObject *Sender, const std::function<void()> &Fn);

// ---- the multi-line edit's window ----
// The window of an edit in multi-line mode, nullptr for any other (a memo's included).
QPlainTextEdit *MultiLineWidget(QWidget *W);
// Text and selection with a line break counted as CR LF, as the control's Text has them.
UnicodeString MultiLineText(QPlainTextEdit *E);
void SetMultiLineText(QPlainTextEdit *E, const UnicodeString &Value);
void MultiLineSelection(QPlainTextEdit *E, int &Start, int &Length);
void SetMultiLineSelection(QPlainTextEdit *E, int Start, int Length);
// A control going away: the last tip no longer names it.
void ForgetBalloonTipOwner(TWinControl *Owner);
} // namespace platform_detail
