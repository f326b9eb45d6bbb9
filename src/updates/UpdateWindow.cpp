#include "updates/UpdateWindow.h"

#include "characters/AppBrandMark.h"
#include "ui/CapsuleProgress.h"
#include "ui/DarkSurface.h"
#include "ui/Palette.h"
#include "ui/PrimaryButton.h"
#include "ui/SoftButton.h"
#include "ui/Typography.h"
#include "updates/ReleaseNotesView.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

constexpr int windowWidth = 480;
constexpr int notesHeight = 200;

template<typename Button>
Button* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new Button(text, QString(), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QLabel* makeWrappingLabel(const char* name, const QFont& font, const QColor& color, QWidget* parent)
{
    QLabel* label = makeLabel({}, font, color, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

QString sizeText(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString progressText(const UpdateStatus& status)
{
    if (status.total <= 0)
        return sizeText(status.received);
    return QStringLiteral("%1 of %2").arg(sizeText(status.received), sizeText(status.total));
}

QString newVersion(const UpdateStatus& status)
{
    return status.offer ? status.offer->displayVersion() : QString();
}

QString failureTitle(const UpdateStatus& status)
{
    if (status.problem && isRefusal(*status.problem))
        return status.offer ? QStringLiteral("Dewbell refused the update to %1").arg(newVersion(status))
                            : QStringLiteral("Dewbell refused the update feed");
    return status.offer ? QStringLiteral("Dewbell %1 wasn't installed").arg(newVersion(status))
                        : QStringLiteral("Couldn't check for updates");
}

// Why the update waits in a saved archive, and what the command shown below does.
QString handInstallText(const UpdateStatus& status)
{
    const HandInstall& hand = status.handInstall;
    QString why;
    if (hand.sharedFolder)
        why = QStringLiteral("%1 holds other programs' files too, so Dewbell doesn't replace it by itself.");
    else if (hand.needsAdministrator)
        why = QStringLiteral("Dewbell can't change its own files in %1 from your account.");
    else
        why = QStringLiteral("Dewbell can't put a new folder in place of %1 from your account.");
    const QString how =
        hand.needsAdministrator
            ? QStringLiteral("Save the verified update, then install it as an administrator from the "
                             "folder you saved it in")
            : QStringLiteral("Save the verified update, then install it from the folder you saved it in");
    const QString what =
        hand.clearsOldVersion
            ? QStringLiteral("this command first removes the old version's share/dewbell/app and share/doc/dewbell, "
                             "so nothing the new version dropped stays behind:")
            : QStringLiteral("your own data lives among Dewbell's files there, so this command only unpacks the new "
                             "version over the old one, and any file the new version dropped stays:");
    return why.arg(status.installationRoot) + QLatin1Char(' ') + how + QStringLiteral("; ") + what;
}

QString title(const UpdateStatus& status)
{
    switch (status.phase) {
    case UpdatePhase::idle:
    case UpdatePhase::checking:
        return QStringLiteral("Checking for updates…");
    case UpdatePhase::upToDate:
        return QStringLiteral("Dewbell is up to date");
    case UpdatePhase::found:
        return QStringLiteral("A new version of Dewbell is available");
    case UpdatePhase::downloading:
        return QStringLiteral("Downloading Dewbell %1…").arg(newVersion(status));
    case UpdatePhase::preparing:
        return QStringLiteral("Checking the update…");
    case UpdatePhase::readyToInstall:
        return QStringLiteral("Dewbell %1 is ready to install").arg(newVersion(status));
    case UpdatePhase::readyToSave:
        return QStringLiteral("Dewbell %1 is ready to save").arg(newVersion(status));
    case UpdatePhase::installed:
        return QStringLiteral("Dewbell %1 is installed").arg(newVersion(status));
    case UpdatePhase::failed:
        return failureTitle(status);
    }
    return {};
}

QString body(const UpdateStatus& status)
{
    switch (status.phase) {
    case UpdatePhase::upToDate:
        return QStringLiteral("Version %1 is the newest version.").arg(status.runningVersion);
    case UpdatePhase::found:
        return QStringLiteral("Dewbell %1 is out; you have %2. Would you like to install it now?")
            .arg(newVersion(status), status.runningVersion);
    case UpdatePhase::downloading:
        return progressText(status);
    case UpdatePhase::preparing:
        return QStringLiteral("Dewbell is making sure the update is complete and signed by its makers.");
    case UpdatePhase::readyToInstall:
        return QStringLiteral("Dewbell will close, put the new version in place and open again; your notes and "
                              "history stay as they are. Choose Later to install it when you quit.");
    case UpdatePhase::readyToSave:
        return handInstallText(status);
    case UpdatePhase::installed:
        return QStringLiteral("Dewbell is starting again.");
    case UpdatePhase::failed:
        return status.problem ? sentence(*status.problem) : QString();
    default:
        return {};
    }
}

QString releaseDate(const UpdateStatus& status)
{
    if (status.phase != UpdatePhase::found || !status.offer || !status.offer->date.isValid())
        return {};
    return QStringLiteral("Released %1")
        .arg(QLocale().toString(status.offer->date.date(), QStringLiteral("d MMMM yyyy")));
}

}  // namespace

UpdateWindow::UpdateWindow(UpdateSession* session, QWidget* parent) : QWidget(parent, Qt::Window), session_(session)
{
    setObjectName(QStringLiteral("updateWindow"));
    setWindowTitle(QStringLiteral("Dewbell Updates"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    useDarkSurface(this);
    buildLayout();
    connectButtons();
    connect(session_, &UpdateSession::changed, this, [this] { render(session_->status()); });
    render(session_->status());
}

void UpdateWindow::buildLayout()
{
    setFixedWidth(windowWidth);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(22, 22, 22, 20);
    outer->setSpacing(18);
    outer->addWidget(new AppBrandMark(48, false, Palette::ink(), this), 0, Qt::AlignTop);

    auto* column = new QVBoxLayout;
    column->setSpacing(10);
    title_ = makeWrappingLabel("updateTitle", uiFont(17, QFont::Medium, FontDesign::serif), Palette::ink(), this);
    body_ = makeWrappingLabel("updateBody", uiFont(12), Palette::ink(), this);
    detail_ = makeWrappingLabel("updateDetail", uiFont(11), Palette::muted(), this);
    command_ = makeWrappingLabel("updateCommand", uiFont(11), Palette::accent(), this);
    command_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problem_ = makeWrappingLabel("updateProblem", uiFont(11), QColor(0xFF, 0x9F, 0x0A), this);
    notes_ = new ReleaseNotesView(this);
    notes_->setFixedHeight(notesHeight);
    progress_ = new CapsuleProgress(this);
    progress_->setObjectName(QStringLiteral("updateProgress"));
    progress_->setAccessibleName(QStringLiteral("Update progress"));
    for (QWidget* part : std::initializer_list<QWidget*>{title_, body_, progress_, detail_, notes_, command_, problem_})
        column->addWidget(part);

    skip_ = makeButton<SoftButton>(QStringLiteral("Skip This Version"), "skipVersion", this);
    remindLater_ = makeButton<SoftButton>(QStringLiteral("Remind Me Later"), "remindLater", this);
    install_ = makeButton<PrimaryButton>(QStringLiteral("Install Update"), "installUpdate", this);
    cancel_ = makeButton<SoftButton>(QStringLiteral("Cancel"), "cancelUpdate", this);
    later_ = makeButton<SoftButton>(QStringLiteral("Later"), "installLater", this);
    relaunch_ = makeButton<PrimaryButton>(QStringLiteral("Install and Relaunch"), "installAndRelaunch", this);
    close_ = makeButton<SoftButton>(QStringLiteral("Close"), "closeUpdate", this);
    save_ = makeButton<PrimaryButton>(QStringLiteral("Save Update…"), "saveUpdate", this);
    ok_ = makeButton<PrimaryButton>(QStringLiteral("OK"), "okUpdate", this);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(skip_);
    buttons->addStretch(1);
    for (CapsuleButton* button : {remindLater_, install_, cancel_, later_, relaunch_, close_, save_, ok_})
        buttons->addWidget(button);
    // Room left over when the text wraps short goes above the buttons, not between the lines.
    column->addStretch(1);
    column->addSpacing(6);
    column->addLayout(buttons);
    outer->addLayout(column, 1);
}

void UpdateWindow::connectButtons()
{
    connect(skip_, &QAbstractButton::clicked, session_, &UpdateSession::skipVersion);
    connect(remindLater_, &QAbstractButton::clicked, session_, &UpdateSession::remindLater);
    connect(install_, &QAbstractButton::clicked, session_, &UpdateSession::install);
    connect(cancel_, &QAbstractButton::clicked, session_, &UpdateSession::cancel);
    connect(later_, &QAbstractButton::clicked, this, &QWidget::close);
    connect(relaunch_, &QAbstractButton::clicked, this, &UpdateWindow::installAndRelaunchRequested);
    connect(close_, &QAbstractButton::clicked, this, &QWidget::close);
    connect(save_, &QAbstractButton::clicked, this, &UpdateWindow::chooseWhereToSave);
    connect(ok_, &QAbstractButton::clicked, this, &QWidget::close);
}

void UpdateWindow::present()
{
    render(session_->status());
    show();
    raise();
    activateWindow();
}

void UpdateWindow::render(const UpdateStatus& status)
{
    // Only new notes are set: setting them again on every progress step would scroll them back.
    const bool newNotes = status.offer
                          && (!shown_.offer || shown_.offer->notes != status.offer->notes
                              || shown_.offer->notesAreHtml != status.offer->notesAreHtml);
    shown_ = status;
    if (newNotes)
        notes_->setNotes(status.offer->notes, status.offer->notesAreHtml);
    showTexts(status);
    showControls(status.phase);
    progress_->setProgress(status.phase == UpdatePhase::downloading && status.total > 0
                               ? double(status.received) / double(status.total)
                               : 1.0);
    // Wrapped text needs its height for the window's one width, which adjustSize() does not ask.
    layout()->activate();
    resize(windowWidth, layout()->totalHeightForWidth(windowWidth));
}

void UpdateWindow::showTexts(const UpdateStatus& status)
{
    title_->setText(title(status));
    body_->setText(body(status));
    body_->setVisible(!body_->text().isEmpty());
    detail_->setText(releaseDate(status));
    detail_->setVisible(!detail_->text().isEmpty());
    command_->setText(status.handInstall.command);
    const bool inlineProblem = status.phase == UpdatePhase::readyToSave && status.problem;
    problem_->setText(inlineProblem ? sentence(*status.problem) : QString());
    problem_->setVisible(inlineProblem);
}

void UpdateWindow::showControls(UpdatePhase phase)
{
    const bool found = phase == UpdatePhase::found;
    notes_->setVisible(found && !notes_->document()->isEmpty());
    progress_->setVisible(phase == UpdatePhase::downloading || phase == UpdatePhase::preparing);
    command_->setVisible(phase == UpdatePhase::readyToSave);
    skip_->setVisible(found);
    remindLater_->setVisible(found);
    install_->setVisible(found);
    cancel_->setVisible(phase == UpdatePhase::checking || phase == UpdatePhase::downloading);
    later_->setVisible(phase == UpdatePhase::readyToInstall);
    relaunch_->setVisible(phase == UpdatePhase::readyToInstall);
    close_->setVisible(phase == UpdatePhase::readyToSave);
    save_->setVisible(phase == UpdatePhase::readyToSave);
    ok_->setVisible(phase == UpdatePhase::upToDate || phase == UpdatePhase::failed);
}

void UpdateWindow::chooseWhereToSave()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save the Dewbell update"),
                                                      folder + QLatin1Char('/') + shown_.archiveName);
    if (!path.isEmpty())
        session_->saveArchive(path);
}

void UpdateWindow::closeEvent(QCloseEvent* event)
{
    session_->windowClosed();
    event->accept();
}
