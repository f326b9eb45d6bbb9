#include "platform/LoginService.h"

#include "platform/UrlOpener.h"

#include "model/LocalFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

const QString entryFileName = QStringLiteral("app.dewbell.Dewbell.desktop");
constexpr qint64 entryReadLimit = 64 * 1024;

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

// Desktop environments turn an autostart entry off in place, with one of these two keys.
bool turnedOffByDesktop(const QString& entryPath)
{
    QFile file(entryPath);
    if (!LocalFiles::openRegularFile(file))
        return false;
    bool inMainGroup = false;
    for (const QString& rawLine : QString::fromUtf8(file.read(entryReadLimit)).split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inMainGroup || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if ((key == QLatin1String("Hidden") && value == QLatin1String("true"))
            || (key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false")))
            return true;
    }
    return false;
}

// One argument of an Exec line: quoted when it holds a reserved character; inside the quotes
// the quoting escapes come first, then the escapes of every string value of a desktop entry.
QString execArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = argument;
    text.replace(QLatin1Char('%'), QLatin1String("%%"));
    const bool needsQuotes = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return reserved.contains(c); });
    if (!needsQuotes)
        return text;
    QString quoted;
    for (QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray entryContents(const QString& executable)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Dewbell\n"
                          "Icon=app.dewbell.Dewbell\n"
                          "Exec=%1 --autostart\n"
                          "Terminal=false\n")
        .arg(execArgument(executable))
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
    apply(status());
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
    const QFileInfo program(executable_);
    if (executable_.isEmpty() || !program.isFile() || !program.isExecutable())
        return Status::notFound;
    if (!QFileInfo::exists(entryPath()))
        return Status::notRegistered;
    return turnedOffByDesktop(entryPath()) ? Status::requiresApproval : Status::enabled;
}

void LoginService::refresh()
{
    apply(status());
}

void LoginService::setEnabled(bool enabled)
{
    if (busy_)
        return;
    const Status current = status();
    const bool alreadyThere = enabled ? current == Status::enabled : current == Status::notRegistered;
    // An entry that would start a missing program helps nobody.
    const bool cannotStart = enabled && current == Status::notFound;
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
    apply(status(), request_.result());
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

void LoginService::apply(Status current, const QString& failure)
{
    isEnabled_ = current == Status::enabled;
    needsApproval_ = current == Status::requiresApproval;
    if (!failure.isEmpty() && current != Status::requiresApproval)
        statusText_ = QStringLiteral("Couldn't change login item: %1 %2").arg(failure, sentence(current));
    else
        statusText_ = sentence(current);
    emit changed();
}
