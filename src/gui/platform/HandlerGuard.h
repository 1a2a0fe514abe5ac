// The one wrapper every GUI handler runs in: an error escaping the handler ends it and is shown
// in the error dialog instead of reaching the event loop.
#pragma once

#include "app/Dialogs.h"

#include <QObject>

#include <functional>
#include <ostream>
#include <utility>

namespace tavrik {

// Runs the handler; a tavrik::Error or any other std::exception is reported through dialogs.
void RunHandler(Dialogs& dialogs, const std::function<void()>& handler);

// Runs the event loop and returns its exit code; an error that escapes it anyway is written to errors
// and ends the program with exit code 1.
int RunEventLoop(const std::function<int()>& loop, std::ostream& errors);

// Connects a signal to a handler that runs inside RunHandler. The handler takes no arguments:
// handlers read what they need from the controls.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection ConnectHandler(Sender* sender, Signal signal, QObject* context, Dialogs& dialogs,
                                       Handler handler) {
    return QObject::connect(sender, signal, context,
                            [&dialogs, handler = std::move(handler)] { RunHandler(dialogs, handler); });
}

} // namespace tavrik
