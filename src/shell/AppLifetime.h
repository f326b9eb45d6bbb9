#pragma once

#include "shell/TerminationSignals.h"

class AppDelegate;
class QCoreApplication;

// How a running Dewbell ends: SIGTERM, SIGINT and SIGHUP quit as the menu's Quit does, and the
// application's end goes through the delegate, which saves. Lives as long as the event loop runs.
class AppLifetime {
public:
    AppLifetime(QCoreApplication& application, AppDelegate& delegate);

private:
    TerminationSignals termination_;
};
