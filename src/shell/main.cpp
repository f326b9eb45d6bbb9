#include "characters/AssetDiagnostics.h"
#include "model/AppBundle.h"
#include "platform/GraphicalSession.h"
#include "platform/LoginService.h"
#include "shell/AppDelegate.h"
#include "shell/AppLifetime.h"
#include "shell/CommandLine.h"
#include "shell/SingleInstance.h"
#include "shell/UpdateDiagnostics.h"
#include "store/AppUpdateManager.h"
#include "updates/UpdateDriver.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// The arguments exactly as the process got them, read before Qt takes its own options out.
QStringList processArguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    return arguments;
}

int printReport(const QByteArray& bytes, bool valid)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
    return valid ? EXIT_SUCCESS : EXIT_FAILURE;
}

// A client cannot place its own windows under Wayland, so the reminder panel asks for X11
// (XWayland) whenever there is one, unless the user chose a platform.
void preferX11()
{
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// Only one Dewbell may work on the user's data folder. Under "--ui-test" the store has a
// fresh folder of its own and needs no guard. None when this process may go on.
std::optional<int> handOverToRunningInstance(const QStringList& arguments, std::optional<SingleInstance>& instance)
{
    if (CommandLine::hasSwitch(arguments, CommandLine::uiTest))
        return std::nullopt;
    instance.emplace(AppBundle::privateFolder());
    const SingleInstance::Claim claim = instance->claim(!LoginService::isLoginLaunch(arguments));
    if (const auto notice = instance->notice())
        std::fprintf(stderr, "%s\n", qPrintable(*notice));
    switch (claim) {
    case SingleInstance::Claim::first:
    case SingleInstance::Claim::unguarded:
        return std::nullopt;
    case SingleInstance::Claim::alreadyRunning:
        return EXIT_SUCCESS;
    case SingleInstance::Claim::unreachable:
        std::fprintf(stderr, "%s\n", qPrintable(instance->unreachableMessage()));
        return EXIT_FAILURE;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[])
{
    const QStringList arguments = processArguments(argc, argv);
    if (CommandLine::hasSwitch(arguments, CommandLine::diagnoseUpdates)) {
        const QJsonObject report = UpdateDiagnostics::report(AppBundle::info());
        return printReport(UpdateDiagnostics::text(report), UpdateDiagnostics::isValid(report));
    }
    if (CommandLine::hasSwitch(arguments, CommandLine::diagnoseAssets)) {
        const auto [json, valid] = AssetDiagnostics::report();
        return printReport(json + '\n', valid);
    }

    if (!GraphicalSession::isAvailable()) {
        std::fputs(GraphicalSession::missingMessage, stderr);
        return EXIT_FAILURE;
    }
    preferX11();
    // Every window is drawn by the raster engine; there is no OpenGL view. Saying so keeps Qt
    // from turning each frame of a movie companion into a picture through an OpenGL context:
    // for frames this small the CPU is much faster (0.2 ms against 5 ms a frame where OpenGL
    // is emulated in software).
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dewbell"));
    QApplication::setDesktopFileName(QStringLiteral("app.dewbell.Dewbell"));
    QApplication::setQuitOnLastWindowClosed(false);

    std::optional<SingleInstance> instance;
    if (const auto exitCode = handOverToRunningInstance(arguments, instance))
        return *exitCode;
    // The update manager starts this driver only in a signed release.
    AppUpdateManager::setDefaultDriverFactory(
        [] { return std::make_unique<UpdateDriver>(UpdateEnvironment::forThisInstallation()); });
    AppDelegate delegate(arguments);
    if (instance)
        QObject::connect(&*instance, &SingleInstance::showRequested, &delegate, &AppDelegate::showMain);
    AppLifetime lifetime(application, delegate);
    delegate.launch();
    application.exec();
    return EXIT_SUCCESS;
}
