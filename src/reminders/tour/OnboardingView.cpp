#include "reminders/tour/OnboardingView.h"

#include "characters/AppBrandMark.h"
#include "reminders/tour/CrewStep.h"
#include "reminders/tour/HomeStep.h"
#include "reminders/tour/NameStep.h"
#include "reminders/tour/OrvoHost.h"
#include "reminders/tour/RhythmStep.h"
#include "reminders/tour/TourKit.h"
#include "reminders/tour/TourProgress.h"
#include "store/DewbellStore.h"
#include "ui/DarkSurface.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/PrimaryButton.h"
#include "ui/SoftButton.h"
#include "ui/Typography.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr int padding = 30;
constexpr int hostSize = 78;
}  // namespace

const QStringList& OnboardingView::titles()
{
    static const QStringList texts{
        QStringLiteral("Big plans. Small breaks."),
        QStringLiteral("What should we call you?"),
        QStringLiteral("Find your rhythm."),
        QStringLiteral("Close the window. Keep the company."),
    };
    return texts;
}

const QStringList& OnboardingView::subtitles()
{
    static const QStringList texts{
        QStringLiteral("Orvo here. Who's checking in on you?"),
        QStringLiteral("Your name, a nickname, or a pet name from your buddy. Your choice."),
        QStringLiteral("Make room for water, breaks, and focused time."),
        QStringLiteral("Your crew lives in the Dewbell icon in your menu bar."),
    };
    return texts;
}

OnboardingView::OnboardingView(DewbellStore* store, int initialStep, UrlOpener* opener, QWidget* parent)
    : OnScreenWidget(parent),
      store_(store),
      opener_(opener),
      choices_(TourChoices::seededFrom(store->preferences())),
      step_(std::clamp(initialStep, 0, lastStep))
{
    setObjectName(QStringLiteral("onboarding"));
    setFixedSize(contentSize);
    useDarkSurface(this);

    auto* layout = makePaddedColumn(this, padding, 18);
    layout->addWidget(makeHeader());
    progress_ = new TourProgress(this);
    progress_->setObjectName(QStringLiteral("tourProgress"));
    layout->addWidget(progress_);
    layout->addWidget(makeHostRow());
    stepArea_ = makeColumn();
    layout->addLayout(stepArea_);
    layout->addStretch(1);
    layout->addWidget(makeNavigation());

    showStep();
    connect(store, &DewbellStore::changed, this, [this] {
        if (refreshStep_)
            refreshStep_();
    });
}

OnboardingView::~OnboardingView()
{
    if (store_ && isVisible())
        store_->highlightTourMenu(false);
}

QWidget* OnboardingView::makeHeader()
{
    auto* header = new QWidget(this);
    auto* row = makeRow(header, 7);
    row->addWidget(new AppBrandMark(24, false, QColor(), header));
    row->addWidget(makeLabel(QStringLiteral("DEWBELL"), uiFont(10, QFont::DemiBold, FontDesign::standard, 1.4),
                             Palette::accent(), header));
    row->addStretch(1);
    skip_ = new PlainButton(QStringLiteral("Skip tour"), QString(), header);
    skip_->setObjectName(QStringLiteral("skipTour"));
    skip_->setFont(uiFont(12));
    skip_->setColor(Palette::muted());
    connect(skip_, &QAbstractButton::clicked, this, &OnboardingView::skip);
    row->addWidget(skip_);
    return header;
}

QWidget* OnboardingView::makeHostRow()
{
    auto* hostRow = new QWidget(this);
    auto* row = makeRow(hostRow, 16);
    auto* host = new OrvoHost(hostRow);
    host->setObjectName(QStringLiteral("orvoHost"));
    host->setFixedSize(hostSize, hostSize);
    row->addWidget(host, 0, Qt::AlignVCenter);

    auto* words = new QVBoxLayout;
    words->setSpacing(7);
    title_ = TourKit::text(QString(), QStringLiteral("tourTitle"), hostRow,
                           uiFont(26, QFont::Medium, FontDesign::serif), Palette::ink());
    subtitle_ = TourKit::text(QString(), QStringLiteral("tourSubtitle"), hostRow, uiFont(12), Palette::muted());
    words->addWidget(title_);
    words->addWidget(subtitle_);
    row->addLayout(words, 1);
    return hostRow;
}

QWidget* OnboardingView::makeNavigation()
{
    auto* navigation = new QWidget(this);
    auto* row = makeRow(navigation);
    back_ = new SoftButton(QStringLiteral("Back"), QString(), navigation);
    back_->setObjectName(QStringLiteral("backButton"));
    back_->setAutoDefault(false);
    connect(back_, &QAbstractButton::clicked, this, [this] { goTo(step_ - 1); });
    row->addWidget(back_);
    row->addStretch(1);
    primary_ = new PrimaryButton(QString(), QString(), navigation);
    primary_->setObjectName(QStringLiteral("primaryButton"));
    primary_->setAutoDefault(false);
    connect(primary_, &QAbstractButton::clicked, this, &OnboardingView::next);
    row->addWidget(primary_);
    return navigation;
}

CharacterPack OnboardingView::buddy() const
{
    return tourBuddy(store_->packs(), choices_.companionID, store_->companion());
}

void OnboardingView::goTo(int step)
{
    step_ = std::clamp(step, 0, lastStep);
    showStep();
    if (store_)
        store_->highlightTourMenu(step_ == lastStep);
}

// The step area holds only the step on screen, so a step out of sight runs no animation.
void OnboardingView::showStep()
{
    delete stepView_;
    refreshStep_ = nullptr;
    QWidget* focusFirst = primary_;
    switch (step_) {
    case 0: {
        auto* crew = new CrewStep(store_, choices_, this);
        refreshStep_ = [this, crew] {
            const int cards = crew->cards().size();
            crew->refresh();
            if (crew->cards().size() != cards)
                orderFocus();
        };
        stepView_ = crew;
        break;
    }
    case 1: {
        auto* name = new NameStep(store_, choices_, this);
        refreshStep_ = [name] { name->refresh(); };
        focusFirst = name->nameField();
        stepView_ = name;
        break;
    }
    case 2: {
        auto* rhythm = new RhythmStep(store_, choices_, opener_, this);
        refreshStep_ = [rhythm] { rhythm->refresh(); };
        stepView_ = rhythm;
        break;
    }
    default:
        stepView_ = new HomeStep(this);
        break;
    }
    stepView_->setFont(TourKit::stepFont());
    stepArea_->addWidget(stepView_);

    progress_->setStep(step_);
    title_->setText(titles().at(step_));
    subtitle_->setText(subtitles().at(step_));
    back_->setVisible(step_ >= 1);
    primary_->setText(step_ == lastStep ? QStringLiteral("Make yourself at home") : QStringLiteral("Next"));
    primary_->updateGeometry();
    orderFocus();
    focusFirst->setFocus();
}

// Tab walks the window from top to bottom: "Skip tour", the step's controls, then the buttons
// at the bottom, whichever step was built last.
void OnboardingView::orderFocus()
{
    QWidget* previous = skip_;
    for (QWidget* control : stepView_->findChildren<QWidget*>()) {
        if (control->focusPolicy() & Qt::TabFocus) {
            setTabOrder(previous, control);
            previous = control;
        }
    }
    setTabOrder(previous, back_);
    setTabOrder(back_, primary_);
}

void OnboardingView::next()
{
    if (step_ < lastStep) {
        goTo(step_ + 1);
        return;
    }
    if (!store_)
        return;
    store_->completeTour(choices_.companionID, choices_.interval, choices_.quiet, choices_.focusMinutes,
                         choices_.eyeRest, choices_.movement, choices_.recipientArgument(),
                         choices_.useCharacterNicknames);
}

void OnboardingView::skip()
{
    if (store_)
        store_->finishTour();
}

void OnboardingView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        skip();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        primary_->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void OnboardingView::onScreenChanged(bool onScreen)
{
    if (store_)
        store_->highlightTourMenu(onScreen && step_ == lastStep);
}
