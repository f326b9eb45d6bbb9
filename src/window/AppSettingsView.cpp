#include "window/AppSettingsView.h"

#include "model/AppBundle.h"
#include "platform/LoginService.h"
#include "store/DewbellStore.h"
#include "ui/FocusHandOver.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/SoftButton.h"
#include "ui/SymbolLabel.h"
#include "ui/TrailingSwitch.h"
#include "ui/Typography.h"
#include "window/ChoicePicker.h"
#include "window/PageCard.h"
#include "window/PageHelpers.h"
#include "window/ProtectedAppsList.h"
#include "window/UpdatesSettingsCard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int pageSpacing = 23;

QLabel* makeText(const QString& text, const QColor& color, QWidget* parent, qreal size = 11)
{
    QLabel* label = makeLabel(text, uiFont(size), color, parent);
    label->setWordWrap(true);
    return label;
}

QLabel* makeCaption(const QString& text, QWidget* parent)
{
    return makeText(text, Palette::muted(), parent);
}

TrailingSwitch* makeSwitch(const QString& label, const char* name, QWidget* parent)
{
    auto* control = new TrailingSwitch(label, parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

SoftButton* makeSoftButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new SoftButton(text, {}, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

AppSettingsView::AppSettingsView(DewbellStore* store, LoginService* login, QStringList applicationFolders,
                                 QWidget* parent)
    : QWidget(parent),
      store_(store),
      login_(login ? login : new LoginService(this)),
      applicationFolders_(std::move(applicationFolders))
{
    login_->setParent(this);
    setFont(uiFont(13));
    dimDisabledText(this);
    auto* layout = makeColumn(this, pageSpacing);
    QLabel* heading = makeLabel(QStringLiteral("Quietly, in the background."),
                                uiFont(32, QFont::Medium, FontDesign::serif), Palette::ink(), this);
    heading->setObjectName(QStringLiteral("pageTitle"));
    layout->addWidget(heading);
    layout->addWidget(makeLabel(QStringLiteral("Decide when your buddy steps back, and how your day begins."),
                                uiFont(12), Palette::muted(), this));
    layout->addWidget(new UpdatesSettingsCard(store_->updates(), UpdatesSettingsCard::defaultVersion(), this));
    layout->addWidget(makeWhenRemindersRunCard());
    layout->addWidget(makeSafeguardsCard());
    layout->addWidget(makeLoginCard());
    layout->addWidget(makeDataCard());
    layout->addWidget(makeHelloCard());

    connect(store_, &DewbellStore::changed, this, [this] {
        if (isVisible())
            refresh();
    });
    connect(login_, &LoginService::changed, this, &AppSettingsView::refreshLogin);
    refresh();
    refreshLogin();
}

void AppSettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    login_->refresh();
    buildLine_->setText(buildLine());
    protectedApps_->refresh(true);
    refresh();
}

PageCard* AppSettingsView::makeWhenRemindersRunCard()
{
    auto* card = new PageCard(QStringLiteral("WHEN REMINDERS RUN"), this);
    card->setObjectName(QStringLiteral("whenRemindersRunCard"));
    card->setFont(uiFont(11));
    QVBoxLayout* content = card->content();
    content->addWidget(makeText(QStringLiteral("Only while this app is running and your computer is awake and "
                                               "unlocked. Opening the app or returning from sleep starts fresh "
                                               "intervals, with no missed-reminder backlog."),
                                Palette::ink(), card));
    content->addWidget(makeText(QStringLiteral("Your personal goal stays yours, whether you use your computer for 3 "
                                               "hours or 8. Only drinks you log are counted; nothing is measured "
                                               "while you're away."),
                                Palette::ink(), card));
    TrailingSwitch* pause = makeSwitch(QStringLiteral("Pause reminders when I'm away"), "pauseWhenAway", card);
    bind(pause, binding(store_, &Preferences::safeguards, &SafeguardPreferences::pauseWhenIdle));
    content->addWidget(pause);
    content->addWidget(makeIdlePicker(card));
    content->addWidget(makeCaption(QStringLiteral("Optional. Reads elapsed input time, not keys or screen content. "
                                                  "Long reading or watching without input can look like being away; "
                                                  "leave this off if that gets in your way. Returning starts fresh "
                                                  "intervals."),
                                   card));
    return card;
}

QWidget* AppSettingsView::makeIdlePicker(QWidget* parent)
{
    idlePicker_ = new QWidget(parent);
    auto* layout = makeRow(idlePicker_);
    const QString title = QStringLiteral("Without keyboard or pointer activity for");
    auto* label = new QLabel(title, idlePicker_);
    layout->addWidget(label, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    auto* picker =
        new ChoicePicker(title, ChoicePicker::numbered({5, 10, 15}, QStringLiteral("%1 minutes")), idlePicker_);
    picker->setObjectName(QStringLiteral("idleMinutes"));
    label->setBuddy(picker);
    bind(picker, binding(store_, &Preferences::safeguards, &SafeguardPreferences::idleMinutes));
    layout->addWidget(picker, 0, Qt::AlignVCenter);
    return idlePicker_;
}

PageCard* AppSettingsView::makeSafeguardsCard()
{
    auto* card = new PageCard(QStringLiteral("SMART SAFEGUARDS"), this);
    card->setObjectName(QStringLiteral("safeguardsCard"));
    QVBoxLayout* content = card->content();
    const auto addGuard = [&](const QString& label, const char* name, bool SafeguardPreferences::*field,
                              const QString& caption) {
        TrailingSwitch* guard = makeSwitch(label, name, card);
        bind(guard, binding(store_, &Preferences::safeguards, field));
        content->addWidget(guard);
        content->addWidget(makeCaption(caption, card));
    };
    addGuard(QStringLiteral("Delay during active typing or clicking"), "flowDelay", &SafeguardPreferences::flowDelay,
             QStringLiteral("Uses elapsed time since input, never keys or click content. Delays by 2 minutes up to "
                            "three times; then one silent reminder may appear. Focus and meeting protection always "
                            "take priority."));
    addGuard(QStringLiteral("Pause when a microphone is in use"), "microphoneGuard",
             &SafeguardPreferences::microphoneGuard,
             QStringLiteral("A possible-call signal. Dictation can also trigger it; muted or virtual-device calls may "
                            "be missed. No audio is recorded."));
    addGuard(QStringLiteral("Pause while a screen is mirrored"), "mirrorGuard", &SafeguardPreferences::mirrorGuard,
             QStringLiteral("Detects display mirroring, not every screen share or presentation. Use explicit session "
                            "protection for certainty."));

    content->addWidget(makeText(QStringLiteral("Pause while a chosen app is in front"), Palette::ink(), card));
    protectedApps_ = new ProtectedAppsList(store_, applicationFolders_, card);
    content->addWidget(protectedApps_);
    SoftButton* add = makeSoftButton(QStringLiteral("Add app…"), "addApp", card);
    connect(add, &QAbstractButton::clicked, store_, &DewbellStore::selectProtectedApp);
    content->addWidget(add, 0, Qt::AlignLeft);

    TrailingSwitch* follow =
        makeSwitch(QStringLiteral("Follow the desktop's Do Not Disturb"), "followSystemFocus", card);
    bind(follow, binding(store_, &Preferences::safeguards, &SafeguardPreferences::followSystemFocus));
    // After the binding has stored the choice: the desktop is asked only once it is on.
    connect(follow, &QAbstractButton::clicked, store_, [store = store_](bool on) {
        if (on && store->onRequestSystemFocus)
            store->onRequestSystemFocus();
    });
    content->addWidget(follow);
    focusDescription_ = makeCaption({}, card);
    focusDescription_->setObjectName(QStringLiteral("systemFocusDescription"));
    content->addWidget(focusDescription_);
    availability_ = makeCaption({}, card);
    availability_->setObjectName(QStringLiteral("contextAvailability"));
    content->addWidget(availability_);
    holdBackReason_ = makeText({}, Palette::accent(), card);
    holdBackReason_->setObjectName(QStringLiteral("suppressionReason"));
    content->addWidget(holdBackReason_);
    return card;
}

PageCard* AppSettingsView::makeLoginCard()
{
    auto* card = new PageCard(QStringLiteral("START WITH YOUR COMPUTER"), this);
    card->setObjectName(QStringLiteral("loginCard"));
    QVBoxLayout* content = card->content();
    launchAtLogin_ = makeSwitch(QStringLiteral("Launch at login"), "launchAtLogin", card);
    connect(launchAtLogin_, &QAbstractButton::clicked, login_, [this](bool on) {
        login_->setEnabled(on);
        refreshLogin();
    });
    content->addWidget(launchAtLogin_);
    loginStatus_ = makeCaption({}, card);
    loginStatus_->setObjectName(QStringLiteral("loginStatus"));
    content->addWidget(loginStatus_);
    content->addWidget(makeCaption(QStringLiteral("Use an installed copy of Dewbell before enabling this option. No "
                                                  "login item is added until you turn it on."),
                                   card));
    openLoginItems_ = makeSoftButton(QStringLiteral("Open Login Items"), "openLoginItems", card);
    connect(openLoginItems_, &QAbstractButton::clicked, login_, &LoginService::openSettings);
    content->addWidget(openLoginItems_, 0, Qt::AlignLeft);
    SoftButton* refreshStatus = makeSoftButton(QStringLiteral("Refresh login status"), "refreshLogin", card);
    connect(refreshStatus, &QAbstractButton::clicked, login_, &LoginService::refresh);
    content->addWidget(refreshStatus, 0, Qt::AlignLeft);
    return card;
}

PageCard* AppSettingsView::makeDataCard()
{
    auto* card = new PageCard(QStringLiteral("YOUR DATA & THIS BUILD"), this);
    card->setObjectName(QStringLiteral("dataCard"));
    card->setFont(uiFont(11));
    QVBoxLayout* content = card->content();

    auto* stored = new QHBoxLayout;
    stored->setSpacing(6);
    const QFont storedFont = uiFont(15, QFont::Medium);
    stored->addWidget(
        new SymbolLabel(QStringLiteral("lock.shield"), QFontMetrics(storedFont).height(), Palette::accent(), card), 0,
        Qt::AlignVCenter);
    stored->addWidget(makeLabel(QStringLiteral("Stored on this computer"), storedFont, Palette::accent(), card), 0,
                      Qt::AlignVCenter);
    stored->addStretch(1);
    content->addLayout(stored);

    for (const QString& paragraph :
         {QStringLiteral("No account or analytics. Your note, preferences and drink history are saved locally. They "
                         "aren't encrypted by the app."),
          QStringLiteral("Signed releases use the built-in updater for update checks and downloads from Orvo Builds. "
                         "Requests include ordinary connection details such as IP address and app version; system "
                         "profiling and JavaScript release notes are disabled. Control automatic checks and "
                         "installation above."),
          QStringLiteral("Optional safeguards read system metadata. They don't capture your screen, audio, camera, or "
                         "what you type. You can turn them off above."),
          QStringLiteral("Closing the window keeps reminders running in the menu bar. Quit Dewbell stops them. Login "
                         "launch is always your choice.")})
        content->addWidget(makeText(paragraph, Palette::ink(), card));
    buildLine_ = makeCaption(buildLine(), card);
    buildLine_->setObjectName(QStringLiteral("buildLine"));
    content->addWidget(buildLine_);
    return card;
}

PageCard* AppSettingsView::makeHelloCard()
{
    auto* card = new PageCard(QStringLiteral("A LITTLE HELLO"), this);
    card->setObjectName(QStringLiteral("helloCard"));
    card->content()->addWidget(makeText(QStringLiteral("Meet your buddy, choose what they call you, set your rhythm "
                                                       "and find your menu bar home."),
                                        Palette::muted(), card, 12));
    SoftButton* tour = makeSoftButton(QStringLiteral("Take the little tour again"), "tourAgain", card);
    connect(tour, &QAbstractButton::clicked, store_, &DewbellStore::presentTour);
    card->content()->addWidget(tour, 0, Qt::AlignLeft);
    return card;
}

void AppSettingsView::refresh()
{
    idlePicker_->setEnabled(store_->preferences().safeguards.pauseWhenIdle);
    protectedApps_->refresh();
    focusDescription_->setText(store_->systemFocusDescription());
    const std::optional<QString> availability = store_->contextAvailability();
    availability_->setVisible(availability.has_value());
    availability_->setText(availability.value_or(QString()));
    const std::optional<QString> reason = store_->suppressionReason();
    holdBackReason_->setVisible(reason.has_value());
    holdBackReason_->setText(reason.value_or(QString()));
}

void AppSettingsView::refreshLogin()
{
    launchAtLogin_->setChecked(login_->isEnabled());
    // Only while the entry is written; the switch keeps the keyboard for the next press.
    setEnabledKeepingFocus(launchAtLogin_, !login_->busy());
    loginStatus_->setText(login_->statusText());
    openLoginItems_->setVisible(login_->needsApproval());
}

QString AppSettingsView::buildLine()
{
    if (AppBundle::info().value(QStringLiteral("DWDistribution")) == QStringLiteral("developer-id"))
        return QStringLiteral("This is a signed release build. It is not sandboxed.");
    return QStringLiteral("This is a local development build. It is not sandboxed or signed for distribution, and "
                          "automatic updates are inactive.");
}
