#include "platform/LoginService.h"

#include "platform/DesktopExec.h"
#include "platform/DesktopFiles.h"
#include "platform/UrlOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace {

const QString entryFileName = QStringLiteral("app.dewbell.Dewbell.desktop");

QString sentence(LoginService::Status status)
{
    switch (status) {
    case LoginService::Status::notRegistered:
        return QStringLiteral("Doesn't open at login.");
    case LoginService::Status::enabled:
        return QStringLiteral("Opens automatically when you log in.");
    case LoginService::Status::requiresApproval:
        return QStringLiteral("Turned off in your desktop's startup settings.");
    case LoginService::Status::notFound:
        return QStringLiteral("Login item unavailable. Install Dewbell and try again.");
    }
    return QStringLiteral("Login item status is unknown.");
}

QString pointsNowhere(const QString& program)
{
    const QString named = program.isEmpty() ? QStringLiteral(".") : QStringLiteral(": %1.").arg(program);
    return QStringLiteral("The login item points to a program that no longer exists%1 Turn on “Launch at login” "
                          "to start this copy instead.")
        .arg(named);
}

// Desktop environments turn an autostart entry off in place, with one of these two keys.
bool turnedOffByDesktop(const QHash<QString, QString>& entry)
{
    return entry.value(QStringLiteral("Hidden")) == QLatin1String("true")
           || entry.value(QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false");
}

bool canRun(const QString& program)
{
    const QFileInfo file(program);
    return !program.isEmpty() && file.isFile() && file.isExecutable();
}

QByteArray entryContents(const QString& executable)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Dewbell\n"
                          "Icon=app.dewbell.Dewbell\n"
                          "Exec=%1\n"
                          "Terminal=false\n")
        .arg(DesktopExec::join({executable, QStringLiteral("--autostart")}))
        .toUtf8();
}

// Runs on a worker thread: gives an empty text on success, else what went wrong.
QString writeEntry(const QString& folder, const QString& entryPath, const QString& executable)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder %1 can't be created.").arg(QDir::toNativeSeparators(folder));
    QSaveFile file(entryPath);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    file.write(entryContents(executable));
    if (!file.commit())
        return file.errorString();
    return {};
}

QString removeEntry(const QString& entryPath)
{
    QFile file(entryPath);
    if (!file.exists() || file.remove())
        return {};
    return file.errorString();
}

QString defaultAutostartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

}  // namespace

LoginService::LoginService(QObject* parent)
    : LoginService(defaultAutostartFolder(), QCoreApplication::applicationFilePath(), UrlOpener::desktop(), parent)
{ }

LoginService::LoginService(const QString& autostartFolder, const QString& executable, UrlOpener& opener,
                           QObject* parent)
    : QObject(parent),
      autostartFolder_(autostartFolder),
      executable_(executable.isEmpty() ? QString() : QFileInfo(executable).absoluteFilePath()),
      opener_(opener)
{
    connect(&request_, &QFutureWatcher<QString>::finished, this, &LoginService::finishRequest);
    apply(read());
}

// A request still running finishes first, so the entry on disk is never half-decided.
LoginService::~LoginService()
{
    request_.waitForFinished();
}

QString LoginService::entryPath() const
{
    return autostartFolder_ + QLatin1Char('/') + entryFileName;
}

LoginService::Status LoginService::status() const
{
    return read().status;
}

// A login item left behind by a copy that was removed starts nothing: it counts as not found.
LoginService::Reading LoginService::read() const
{
    if (!canRun(executable_))
        return {Status::notFound, std::nullopt};
    if (!QFileInfo::exists(entryPath()))
        return {Status::notRegistered, std::nullopt};
    const QHash<QString, QString> entry = DesktopFiles::mainGroup(entryPath());
    const QString exec = entry.value(QStringLiteral("Exec"));
    if (!canRun(DesktopExec::program(exec))) {
        const std::optional<QStringList> arguments = DesktopExec::split(exec);
        return {Status::notFound, arguments && !arguments->isEmpty() ? arguments->first() : exec};
    }
    return {turnedOffByDesktop(entry) ? Status::requiresApproval : Status::enabled, std::nullopt};
}

void LoginService::refresh()
{
    apply(read());
}

void LoginService::setEnabled(bool enabled)
{
    if (busy_)
        return;
    const Reading current = read();
    const bool alreadyThere = enabled ? current.status == Status::enabled : current.status == Status::notRegistered;
    // An entry that would start a missing program helps nobody; one that names a program that
    // is gone is written again for this copy.
    const bool cannotStart = enabled && !canRun(executable_);
    if (alreadyThere || cannotStart) {
        apply(current);
        return;
    }
    busy_ = true;
    emit changed();
    const QString folder = autostartFolder_;
    const QString path = entryPath();
    const QString program = executable_;
    request_.setFuture(QtConcurrent::run(
        [enabled, folder, path, program] { return enabled ? writeEntry(folder, path, program) : removeEntry(path); }));
}

void LoginService::finishRequest()
{
    busy_ = false;
    apply(read(), request_.result());
}

void LoginService::openSettings()
{
    QDir().mkpath(autostartFolder_);
    opener_.open(QUrl::fromLocalFile(autostartFolder_));
}

bool LoginService::isLoginLaunch(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--autostart"));
}

void LoginService::apply(const Reading& current, const QString& failure)
{
    isEnabled_ = current.status == Status::enabled;
    needsApproval_ = current.status == Status::requiresApproval;
    const QString said = current.missingProgram ? pointsNowhere(*current.missingProgram) : sentence(current.status);
    if (!failure.isEmpty() && current.status != Status::requiresApproval)
        statusText_ = QStringLiteral("Couldn't change login item: %1 %2").arg(failure, said);
    else
        statusText_ = said;
    emit changed();
}
