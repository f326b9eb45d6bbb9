#include "shell/AppLifetime.h"

#include "shell/AppDelegate.h"

#include <QCoreApplication>

AppLifetime::AppLifetime(QCoreApplication& application, AppDelegate& delegate)
{
    QObject::connect(&termination_, &TerminationSignals::received, &delegate, &AppDelegate::quit);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::applicationWillTerminate);
}
