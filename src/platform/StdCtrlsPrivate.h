#pragma once
// Inside the standard controls: joining a wrapped widget's signals to its control.

#include "platform/ControlsPrivate.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QSize>
#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QPainter;
struct TBalloonTipInfo;
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
// The balloon tip's look, shared by the edit's tip and the tool tip window: the size its title
// and text take (the text wrapped at MaxTextWidth) and its painting into Size.
QSize BalloonTipSize(const QFont &Font, const TBalloonTipInfo &Info, int MaxTextWidth);
void PaintBalloonTip(QPainter &P, const QFont &Font, QSize Size, const TBalloonTipInfo &Info,
                     QColor Back = QColor(255, 255, 225), QColor Fore = QColor(0, 0, 0));
// A control going away: the last tip no longer names it.
void ForgetBalloonTipOwner(TWinControl *Owner);
} // namespace platform_detail
