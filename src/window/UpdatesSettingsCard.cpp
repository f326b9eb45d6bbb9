#include "window/UpdatesSettingsCard.h"

#include "model/AppBundle.h"
#include "store/AppUpdateManager.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/SoftButton.h"
#include "ui/TrailingSwitch.h"
#include "ui/Typography.h"
#include "window/CapsuleBadge.h"
#include "window/PageCard.h"

#include <QHBoxLayout>
#include <QJsonValue>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

const QString activeCaption = QStringLiteral(
    "Checks once a day. Automatic installation normally waits until you quit; the built-in updater may ask to "
    "restart or approve installation. Your notes, settings and history stay as they are.");
const QString inactiveCaption = QStringLiteral(
    "In signed releases: checks once a day by default; automatic installation stays off unless you turn it on.");

QColor systemOrange()
{
    return Color(QStringLiteral("FF9F0A"));
}

QLabel* makeCaption(QWidget* parent)
{
    QLabel* label = makeLabel({}, uiFont(11), Palette::muted(), parent);
    label->setWordWrap(true);
    return label;
}

// The locale's long date without its weekday and with abbreviated month names: "Mar 4, 2024"
// in English, "4. März 2024" in German.
QString abbreviatedDateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("d{4}[,.]?\\s*")));
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return format.trimmed();
}

}  // namespace

UpdatesSettingsCard::UpdatesSettingsCard(AppUpdateManager* updates, const QString& version, QWidget* parent)
    : FilledCard(Palette::surface(), PageCard::cornerRadius, parent), updates_(updates)
{
    setObjectName(QStringLiteral("updatesCard"));
    auto* layout = makePaddedColumn(this, PageCard::padding, PageCard::spacing);
    layout->addWidget(makeHeader());
    layout->addWidget(makeVersionRow(version));

    checks_ = makeSwitch(QStringLiteral("Check for updates automatically"), "automaticChecks",
                         &AppUpdateManager::setAutomaticallyChecks);
    layout->addWidget(checks_);
    downloads_ = makeSwitch(QStringLiteral("Download and install updates automatically"), "automaticDownloads",
                            &AppUpdateManager::setAutomaticallyDownloads);
    layout->addWidget(downloads_);

    caption_ = makeCaption(this);
    caption_->setObjectName(QStringLiteral("updatesCaption"));
    layout->addWidget(caption_);
    lastCheck_ = makeCaption(this);
    lastCheck_->setObjectName(QStringLiteral("lastCheck"));
    layout->addWidget(lastCheck_);
    message_ = makeCaption(this);
    message_->setObjectName(QStringLiteral("updatesMessage"));
    layout->addWidget(message_);

    connect(updates_, &AppUpdateManager::changed, this, &UpdatesSettingsCard::refresh);
    refresh();
}

TrailingSwitch* UpdatesSettingsCard::makeSwitch(const QString& text, const char* name,
                                                void (AppUpdateManager::*change)(bool on))
{
    auto* control = new TrailingSwitch(text, this);
    control->setObjectName(QLatin1String(name));
    connect(control, &QAbstractButton::clicked, this, [this, change](bool on) {
        (updates_->*change)(on);
        refresh();
    });
    return control;
}

QWidget* UpdatesSettingsCard::makeHeader()
{
    auto* header = new QWidget(this);
    auto* layout = makeRow(header);
    layout->addWidget(makeCardTitle(QStringLiteral("APP UPDATES"), header), 0, Qt::AlignVCenter);
    layout->addStretch(1);
    badge_ = new CapsuleBadge(header);
    badge_->setObjectName(QStringLiteral("updatesBadge"));
    layout->addWidget(badge_, 0, Qt::AlignVCenter);
    return header;
}

QWidget* UpdatesSettingsCard::makeVersionRow(const QString& version)
{
    auto* row = new QWidget(this);
    auto* layout = makeRow(row);
    auto* words = new QVBoxLayout;
    words->setSpacing(6);
    words->addWidget(makeLabel(QStringLiteral("A little better, with every update."),
                               uiFont(17, QFont::Medium, FontDesign::serif), Palette::ink(), row));
    QLabel* versionLine = makeLabel(QStringLiteral("Version ") + version, uiFont(11), Palette::muted(), row);
    versionLine->setObjectName(QStringLiteral("versionLine"));
    words->addWidget(versionLine);
    layout->addLayout(words);
    layout->addStretch(1);
    check_ = new SoftButton(QStringLiteral("Check for Updates…"), {}, row);
    check_->setObjectName(QStringLiteral("checkForUpdates"));
    connect(check_, &QAbstractButton::clicked, updates_, &AppUpdateManager::checkForUpdates);
    layout->addWidget(check_, 0, Qt::AlignVCenter);
    return row;
}

void UpdatesSettingsCard::refresh()
{
    if (updates_->isAvailable())
        badge_->setBadge(QStringLiteral("Active"), QStringLiteral("checkmark.circle"), Palette::accent());
    else
        badge_->setBadge(QStringLiteral("Inactive in this build"), QStringLiteral("pause.circle"), systemOrange());

    check_->setEnabled(updates_->canCheck());
    check_->setToolTip(updates_->checkHelp());

    checks_->setChecked(updates_->automaticallyChecks());
    checks_->setEnabled(updates_->canChangePreferences());
    downloads_->setChecked(updates_->automaticallyDownloads());
    downloads_->setEnabled(updates_->canChangePreferences() && updates_->automaticallyChecks()
                           && updates_->allowsAutomaticDownloads());

    caption_->setText(updates_->isAvailable() ? activeCaption : inactiveCaption);
    const std::optional<QDateTime> lastCheck = updates_->lastCheck();
    lastCheck_->setVisible(lastCheck.has_value());
    lastCheck_->setText(lastCheck ? lastCheckedText(*lastCheck) : QString());
    message_->setText(updates_->message());
}

QString UpdatesSettingsCard::defaultVersion()
{
    const QJsonValue version = AppBundle::info().value(QStringLiteral("CFBundleShortVersionString"));
    return version.isString() ? version.toString() : QStringLiteral("Preview");
}

QString UpdatesSettingsCard::lastCheckedText(const QDateTime& date)
{
    const QLocale locale;
    const QDateTime local = date.toLocalTime();
    return QStringLiteral("Last checked %1 %2")
        .arg(locale.toString(local.date(), abbreviatedDateFormat(locale)),
             locale.toString(local.time(), QLocale::ShortFormat));
}
