#include "shell/MenuBarView.h"

#include "characters/AppBrandMark.h"
#include "model/Counted.h"
#include "model/ReminderClock.h"
#include "store/DewbellStore.h"
#include "ui/BaselineRow.h"
#include "ui/CapsuleProgress.h"
#include "ui/DarkSurface.h"
#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/PrimaryButton.h"
#include "ui/RefreshOnScreen.h"
#include "ui/SoftButton.h"
#include "ui/Typography.h"
#include "window/UpdateCheckButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr int padding = 17;
constexpr int formSpacing = 9;

QLabel* capsTitle(const QString& text, const QColor& color, QWidget* parent)
{
    return makeLabel(text, uiFont(8, QFont::DemiBold, FontDesign::standard, 1.2), color, parent);
}

PlainButton* plainButton(const QString& text, qreal size, QFont::Weight weight, const QColor& color, QWidget* parent)
{
    auto* button = new PlainButton(text, {}, parent);
    button->setFont(uiFont(size, weight));
    button->setColor(color);
    return button;
}

}  // namespace

// The next-hello card's body shows one of its two forms, the reminder coming up or the headline
// with its note, and is always as tall as the taller of them with a two-line headline: the
// buttons below never move under the pointer when the form or the headline changes.
class MenuBarView::HelloForms : public QWidget {
public:
    HelloForms(QWidget* parent, QWidget* upcoming, QWidget* noUpcoming, QLabel* headline, QLabel* note)
        : QWidget(parent), upcoming_(upcoming), noUpcoming_(noUpcoming), headline_(headline), note_(note)
    {
        upcoming->setParent(this);
        noUpcoming->setParent(this);
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    void showUpcoming(bool upcoming)
    {
        upcoming_->setVisible(upcoming);
        noUpcoming_->setVisible(!upcoming);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        const int noUpcoming = headline_->maximumHeight() + formSpacing + note_->heightForWidth(width);
        return std::max(upcoming_->sizeHint().height(), noUpcoming);
    }
    QSize sizeHint() const override
    {
        const int width = std::max(this->width(), upcoming_->sizeHint().width());
        return {width, heightForWidth(width)};
    }

protected:
    // Both forms take the whole body and keep their content at its top.
    void resizeEvent(QResizeEvent*) override
    {
        upcoming_->setGeometry(rect());
        noUpcoming_->setGeometry(rect());
    }

private:
    QWidget* upcoming_;
    QWidget* noUpcoming_;
    QLabel* headline_;
    QLabel* note_;
};

MenuBarView::MenuBarView(DewbellStore* store, QWidget* parent) : QWidget(parent), store_(store)
{
    setObjectName(QStringLiteral("menuBarView"));
    setFixedWidth(viewWidth);
    useDarkSurface(this);

    auto* layout = makePaddedColumn(this, padding, 12);
    layout->addWidget(makeHeader());
    layout->addWidget(makeNextHelloCard());
    layout->addWidget(makeWater());
    // Drinks are logged here, so a failed save is told here too, until a save succeeds.
    saveFailure_ = makeLabel({}, uiFont(10), Palette::accent(), this);
    saveFailure_->setObjectName(QStringLiteral("saveFailureLine"));
    saveFailure_->setWordWrap(true);
    layout->addWidget(saveFailure_);
    layout->addWidget(makeFocusAndPause());

    meeting_ = new PlainButton({}, QStringLiteral("person.2"), this);
    meeting_->setObjectName(QStringLiteral("meetingButton"));
    meeting_->setFont(uiFont(11));
    meeting_->setStretched(true);
    connect(meeting_, &QAbstractButton::clicked, this, [this] {
        if (store_->inMeeting())
            store_->endMeeting();
        else
            store_->startMeeting(60);
    });
    layout->addWidget(meeting_);

    layout->addWidget(new UpdateCheckButton(store_->updates(), this));
    auto* divider = new FilledCard(Palette::line(), 0, this);
    divider->setFixedHeight(1);
    layout->addWidget(divider);
    layout->addWidget(makeLinks());
    layout->addWidget(makeFooter());

    refreshWhileOnScreen(this, store_, &DewbellStore::changed, [this] { render(); });
    render();
}

QWidget* MenuBarView::makeHeader()
{
    auto* header = new QWidget(this);
    auto* layout = makeRow(header);
    layout->setSpacing(9);
    layout->addWidget(new AppBrandMark(34), 0, Qt::AlignVCenter);
    auto* words = new QVBoxLayout;
    words->setSpacing(3);
    words->addWidget(
        makeLabel(QStringLiteral("dewbell"), uiFont(18, QFont::DemiBold, FontDesign::rounded), Palette::ink()));
    words->addWidget(makeLabel(QStringLiteral("A little care, at your computer."), uiFont(10), Palette::muted()));
    layout->addLayout(words);
    layout->addStretch(1);

    auto* settings = new PlainButton({}, QStringLiteral("gearshape"), header);
    settings->setObjectName(QStringLiteral("settingsButton"));
    settings->setFont(uiFont(15));
    settings->setColor(Palette::muted());
    settings->setToolTip(QStringLiteral("Settings"));
    settings->setAccessibleName(QStringLiteral("Open Settings"));
    connect(settings, &QAbstractButton::clicked, this, &MenuBarView::openSettings);
    layout->addWidget(settings, 0, Qt::AlignVCenter);
    return header;
}

QWidget* MenuBarView::makeNextHelloCard()
{
    auto* card = new FilledCard(Palette::surface(), 15, this);
    card->setObjectName(QStringLiteral("nextHelloCard"));
    auto* layout = makePaddedColumn(card, 15, 9);
    layout->addWidget(capsTitle(QStringLiteral("NEXT LITTLE HELLO"), Palette::accent(), card));

    auto* upcoming = new QWidget(card);
    QVBoxLayout* upcomingLayout = makeColumn(upcoming, formSpacing);
    auto* titleRow = new BaselineRow;
    kindTitle_ = makeLabel({}, uiFont(21, QFont::Medium, FontDesign::serif), Palette::ink(), upcoming);
    kindTitle_->setObjectName(QStringLiteral("upcomingKind"));
    countdown_ = makeLabel({}, uiFont(11, QFont::Medium), Palette::accent(), upcoming);
    countdown_->setObjectName(QStringLiteral("countdown"));
    titleRow->addLabel(kindTitle_);
    titleRow->addStretch();
    titleRow->addLabel(countdown_);
    upcomingLayout->addLayout(titleRow);
    around_ = makeLabel({}, uiFont(10), Palette::muted(), upcoming);
    around_->setObjectName(QStringLiteral("aroundTime"));
    upcomingLayout->addWidget(around_);
    upcomingLayout->addStretch(1);

    auto* noUpcoming = new QWidget(card);
    QVBoxLayout* otherLayout = makeColumn(noUpcoming, formSpacing);
    headline_ = makeLabel({}, uiFont(18, QFont::Medium, FontDesign::serif), Palette::ink(), noUpcoming);
    headline_->setObjectName(QStringLiteral("headline"));
    headline_->setWordWrap(true);
    // At most two lines.
    headline_->setMaximumHeight(2 * headline_->fontMetrics().lineSpacing());
    otherLayout->addWidget(headline_);
    auto* note = makeLabel(QStringLiteral("Sleep, quiet hours and protection can move the next hello."), uiFont(10),
                           Palette::muted(), noUpcoming);
    note->setWordWrap(true);
    otherLayout->addWidget(note);
    otherLayout->addStretch(1);

    helloForms_ = new HelloForms(card, upcoming, noUpcoming, headline_, note);
    layout->addWidget(helloForms_);
    return card;
}

QWidget* MenuBarView::makeWater()
{
    auto* water = new QWidget(this);
    auto* layout = makeColumn(water, 10);

    auto* titleRow = makeRow();
    titleRow->addWidget(capsTitle(QStringLiteral("LOGGED TODAY"), Palette::muted(), water));
    titleRow->addStretch(1);
    undo_ = plainButton(QStringLiteral("Undo"), 10, QFont::Normal, Palette::muted(), water);
    undo_->setObjectName(QStringLiteral("undoButton"));
    undo_->setAccessibleName(QStringLiteral("Undo last glass"));
    // The row keeps the button's room while it is hidden: the first drink moves nothing.
    QSizePolicy undoPolicy = undo_->sizePolicy();
    undoPolicy.setRetainSizeWhenHidden(true);
    undo_->setSizePolicy(undoPolicy);
    connect(undo_, &QAbstractButton::clicked, this, [this] { store_->undo(); });
    titleRow->addWidget(undo_);
    layout->addLayout(titleRow);

    auto* countRow = new BaselineRow;
    countRow->setSpacing(6);
    count_ = makeLabel({}, uiFont(30, QFont::Medium, FontDesign::rounded), Palette::ink(), water);
    count_->setObjectName(QStringLiteral("drinkCount"));
    goal_ = makeLabel({}, uiFont(11), Palette::muted(), water);
    goal_->setObjectName(QStringLiteral("drinkGoal"));
    millilitres_ = makeLabel({}, uiFont(11, QFont::Medium), Palette::accent(), water);
    millilitres_->setObjectName(QStringLiteral("totalML"));
    countRow->addLabel(count_);
    countRow->addLabel(goal_);
    countRow->addStretch();
    countRow->addLabel(millilitres_);
    layout->addLayout(countRow);

    progress_ = new CapsuleProgress(water);
    progress_->setObjectName(QStringLiteral("waterProgress"));
    progress_->setAccessibleName(QStringLiteral("Today's progress toward your goal"));
    layout->addWidget(progress_);

    drink_ = new PrimaryButton({}, QStringLiteral("plus"), water);
    drink_->setObjectName(QStringLiteral("drinkButton"));
    drink_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(drink_, &QAbstractButton::clicked, this, [this] { store_->drink(); });
    layout->addWidget(drink_);
    return water;
}

QWidget* MenuBarView::makeFocusAndPause()
{
    auto* buttons = new QWidget(this);
    auto* layout = makeRow(buttons);
    layout->setSpacing(8);
    focus_ = new SoftButton({}, QStringLiteral("moon"), buttons);
    focus_->setObjectName(QStringLiteral("focusButton"));
    pause_ = new SoftButton({}, {}, buttons);
    pause_->setObjectName(QStringLiteral("pauseButton"));
    for (SoftButton* button : {focus_, pause_}) {
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        layout->addWidget(button, 1);
    }
    connect(focus_, &QAbstractButton::clicked, this, [this] {
        if (store_->isFocused())
            store_->endFocus();
        else
            store_->startPreferredFocus();
    });
    connect(pause_, &QAbstractButton::clicked, this, [this] {
        if (store_->isPaused())
            store_->resume();
        else
            store_->pause();
    });
    return buttons;
}

QWidget* MenuBarView::makeLinks()
{
    auto* links = new QWidget(this);
    auto* layout = makeRow(links);
    auto* open = plainButton(QStringLiteral("Open app"), 11, QFont::Medium, Palette::ink(), links);
    open->setObjectName(QStringLiteral("openAppButton"));
    auto* crew = plainButton(QStringLiteral("Meet the crew"), 11, QFont::Medium, Palette::accent(), links);
    crew->setObjectName(QStringLiteral("meetCrewButton"));
    connect(open, &QAbstractButton::clicked, this, &MenuBarView::openDashboard);
    connect(crew, &QAbstractButton::clicked, this, &MenuBarView::openCrew);
    layout->addWidget(open);
    layout->addStretch(1);
    layout->addWidget(crew);
    return links;
}

QWidget* MenuBarView::makeFooter()
{
    auto* footer = new QWidget(this);
    auto* layout = makeRow(footer);
    layout->addWidget(
        makeLabel(QStringLiteral("Only drinks you log are counted."), uiFont(9), Palette::muted(), footer));
    layout->addStretch(1);
    auto* quit = plainButton(QStringLiteral("Quit"), 10, QFont::Normal, Palette::muted(), footer);
    quit->setObjectName(QStringLiteral("quitButton"));
    connect(quit, &QAbstractButton::clicked, this, &MenuBarView::quit);
    layout->addWidget(quit);
    return footer;
}

void MenuBarView::render()
{
    renderNextHello();
    renderWater();
    renderProtection();
}

void MenuBarView::renderNextHello()
{
    const std::optional<UpcomingReminder> upcoming = store_->upcomingReminder();
    helloForms_->showUpcoming(upcoming.has_value());
    if (upcoming) {
        kindTitle_->setText(title(upcoming->kind));
        countdown_->setText(countdownText(upcoming->date, store_->now()));
        around_->setText(aroundText(upcoming->date, store_->zone()));
    } else {
        headline_->setText(headline(*store_));
    }
}

void MenuBarView::renderWater()
{
    const qsizetype drinks = store_->today().size();
    const Preferences& preferences = store_->preferences();
    undo_->setVisible(drinks > 0);
    count_->setText(QString::number(drinks));
    goal_->setText(QStringLiteral("of ") + countedGlasses(preferences.dailyGoal));
    millilitres_->setText(QStringLiteral("%1 ml").arg(store_->totalML()));
    progress_->setProgress(store_->progress());
    const std::optional<QString> saveFailure = store_->saveFailure();
    saveFailure_->setVisible(saveFailure.has_value());
    saveFailure_->setText(saveFailure.value_or(QString()));
    drink_->setText(QStringLiteral("I drank %1 ml").arg(preferences.glassML));
    drink_->setAccessibleDescription(
        QStringLiteral("Logs one glass. %1 currently logged today.").arg(countedGlasses(drinks)));
}

void MenuBarView::renderProtection()
{
    focus_->setText(store_->isFocused() ? QStringLiteral("End Focus")
                                        : QStringLiteral("Focus · %1 min").arg(store_->preferences().focusMinutes));
    const bool paused = store_->isPaused();
    pause_->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause · 1 hr"));
    const QString pauseSymbol = paused ? QStringLiteral("play") : QStringLiteral("pause");
    if (pause_->symbol() != pauseSymbol)
        pause_->setSymbol(pauseSymbol);

    const bool meeting = store_->inMeeting();
    meeting_->setText(meeting ? QStringLiteral("End meeting protection") : QStringLiteral("Protect meeting · 1 hr"));
    meeting_->setTrailingSymbol(meeting ? QStringLiteral("checkmark.shield.fill") : QStringLiteral("chevron.right"));
    meeting_->setColor(meeting ? Palette::accent() : Palette::muted());
}

QString MenuBarView::countdownText(const QDateTime& due, const QDateTime& now)
{
    const double minutes = std::ceil(double(now.msecsTo(due)) / 60000.0);
    if (!(minutes >= 1))
        return QStringLiteral("soon");
    return QStringLiteral("in %1 min").arg(qint64(minutes));
}

QString MenuBarView::headline(const DewbellStore& store)
{
    if (!store.reminderVisible() || store.preview())
        return store.status();
    return title(store.reminderKind()) + QStringLiteral(" is here");
}

QString MenuBarView::aroundText(const QDateTime& due, const QTimeZone& zone)
{
    return QStringLiteral("Around ") + ReminderClock::timeOfDay(due, zone)
           + QStringLiteral(" · your pace, your choice");
}
