#pragma once
// Inside the standard controls: joining a wrapped widget's signals to its control.

#include "platform/ControlsPrivate.h"

#include <QObject>
#include <QWidget>

#include <functional>

namespace platform_detail {
// The object that holds a control's connections to the signals of its widget; dropping it
// (DropLinks) cuts them all, so no signal reaches a control that is going away.
QObject *Links(QWidget *Widget);
void DropLinks(QWidget *Widget);
// Runs a control's reaction to a widget signal with the default exception handling.
void FromSignal(TObject *Sender, const std::function<void()> &Fn);
} // namespace platform_detail
