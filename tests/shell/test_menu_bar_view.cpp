#include "shell/MenuBarView.h"
#include "support/TableTesting.h"
#include "support/ViewTesting.h"

#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

namespace {

// Lays out what the store's last change asked for, as the event loop would before painting.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// Where a one-line label draws its baseline: a label's text is centred in its contents.
int baseline(const QLabel* label, const QWidget* view)
{
    const QRect contents = label->contentsRect();
    const QFontMetrics metrics(label->font());
    const int top = contents.top() + (contents.height() - metrics.height()) / 2;
    return label->mapTo(view, QPoint(0, top + metrics.ascent())).y();
}

// Whether the label has room for all of its text.
bool showsWhole(const QLabel* label)
{
    if (label->wordWrap())
        return label->heightForWidth(label->width()) <= label->height();
    return QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->contentsRect().width();
}

}  // namespace

class MenuBarViewTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        store_ = startedStore(folder_->path(), morning(), Saving::off);
        view_ = std::make_unique<MenuBarView>(store_.get());
        view_->show();
    }

    void cleanup()
    {
        view_.reset();
        store_.reset();
        folder_.reset();
    }

    void countdownRoundsMinutesUp_data()
    {
        addColumns<qint64, QString>("milliseconds", "expected");
        QTest::newRow("half a second") << qint64(500) << QStringLiteral("in 1 min");
        QTest::newRow("exactly a minute") << qint64(60000) << QStringLiteral("in 1 min");
        QTest::newRow("61 s") << qint64(61000) << QStringLiteral("in 2 min");
        QTest::newRow("now") << qint64(0) << QStringLiteral("soon");
        QTest::newRow("overdue") << qint64(-90000) << QStringLiteral("soon");
    }

    void countdownRoundsMinutesUp()
    {
        QFETCH(qint64, milliseconds);
        QFETCH(QString, expected);
        store_->mutateState([this, milliseconds](SavedState& state) {
            state.nextDue = store_->now().addMSecs(milliseconds);
            state.nextEyeDue.reset();
            state.nextMovementDue.reset();
        });
        QCOMPARE(labelText(view_.get(), "countdown"), expected);
    }

    void headlineWithoutUpcomingReminder()
    {
        store_->pause();
        QVERIFY(view_->findChild<QLabel*>(QStringLiteral("headline"))->isVisible());
        QVERIFY(!view_->findChild<QLabel*>(QStringLiteral("upcomingKind"))->isVisible());
        QVERIFY(labelText(view_.get(), "headline").startsWith(QStringLiteral("Paused until ")));
        store_->resume();

        // A real reminder on screen while nothing else is coming: "<kind> is here".
        store_->showReminder(false, ReminderKind::water);
        store_->mutateState([this](SavedState& state) { state.pausedUntil = store_->now().addSecs(600); });
        QCOMPARE(labelText(view_.get(), "headline"), QStringLiteral("Water break is here"));
        store_->dismiss();

        // A preview shows the status line instead.
        store_->mutateState([](SavedState& state) { state.pausedUntil.reset(); });
        store_->update([](Preferences& p) { p.enabled = false; });
        store_->showReminder(true, ReminderKind::eyeRest);
        QVERIFY(store_->reminderVisible());
        QCOMPARE(labelText(view_.get(), "headline"), QStringLiteral("Reminders are off"));
        store_->dismiss();
        store_->resume();

        // At night the card says so instead of counting down to the morning.
        store_->tick(morning().addSecs(13 * 3600));
        QCOMPARE(labelText(view_.get(), "headline"), QStringLiteral("Quiet hours · sleep well"));
    }

    // Each quick action with its exact length; the drink button logs the preferred glass and Undo
    // takes back the newest glass.
    void buttonsCallTheStore()
    {
        auto click = [this](const char* name) { QTest::mouseClick(button(view_.get(), name), Qt::LeftButton); };
        store_->update([](Preferences& p) { p.glassML = 330; });
        QCOMPARE(button(view_.get(), "drinkButton")->text(), QStringLiteral("I drank 330 ml"));
        QVERIFY(!button(view_.get(), "undoButton")->isVisible());
        click("drinkButton");
        store_->update([](Preferences& p) { p.glassML = 200; });
        click("drinkButton");
        QCOMPARE(labelText(view_.get(), "totalML"), QStringLiteral("530 ml"));
        QCOMPARE(button(view_.get(), "drinkButton")->accessibleDescription(),
                 QStringLiteral("Logs one glass. 2 glasses currently logged today."));
        click("undoButton");
        QCOMPARE(labelText(view_.get(), "drinkCount"), QStringLiteral("1"));
        QCOMPARE(labelText(view_.get(), "totalML"), QStringLiteral("330 ml"));

        store_->update([](Preferences& p) { p.focusMinutes = 25; });
        QCOMPARE(button(view_.get(), "focusButton")->text(), QStringLiteral("Focus · 25 min"));
        const QDateTime now = store_->now();
        struct Toggle {
            const char* name;
            std::optional<QDateTime> SavedState::*until;
            int seconds;
            const char* endLabel;
        };
        for (const Toggle& t : {Toggle{"focusButton", &SavedState::focusUntil, 25 * 60, "End Focus"},
                                Toggle{"pauseButton", &SavedState::pausedUntil, 3600, "Resume"},
                                Toggle{"meetingButton", &SavedState::meetingUntil, 3600, "End meeting protection"}}) {
            click(t.name);
            QCOMPARE(store_->state().*t.until, std::optional(now.addSecs(t.seconds)));
            QCOMPARE(button(view_.get(), t.name)->text(), QLatin1String(t.endLabel));
            click(t.name);
            QVERIFY2(!(store_->state().*t.until), t.name);
        }
    }

    void glassesAreCountedInTheSingularAtOne()
    {
        store_->update([](Preferences& p) { p.dailyGoal = 1; });
        store_->drink();
        QCOMPARE(labelText(view_.get(), "drinkGoal"), QStringLiteral("of 1 glass"));
        QCOMPARE(button(view_.get(), "drinkButton")->accessibleDescription(),
                 QStringLiteral("Logs one glass. 1 glass currently logged today."));
        store_->update([](Preferences& p) { p.dailyGoal = 2; });
        QCOMPARE(labelText(view_.get(), "drinkGoal"), QStringLiteral("of 2 glasses"));
    }

    void everyTextShowsWhole()
    {
        // A drink logged, then the card's forms without a reminder coming: a one-line and a
        // two-line status, each with the note on what can move the next hello.
        store_->drink();
        const std::pair<const char*, std::function<void()>> states[] = {
            {"coming up", [] {}},
            {"paused", [this] { store_->pause(); }},
            {"in a meeting",
             [this] {
                 store_->resume();
                 store_->startMeeting(60);
             }},
        };
        for (const auto& [state, enter] : states) {
            enter();
            settle();
            int shown = 0;
            for (const QLabel* label : view_->findChildren<QLabel*>()) {
                if (!label->isVisible())
                    continue;
                ++shown;
                QVERIFY2(showsWhole(label),
                         qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(state), label->text())));
            }
            QVERIFY(shown >= 8);
        }
    }

    void smallTextSitsOnTheBigTextsBaseline()
    {
        store_->drink();
        settle();
        const auto label = [this](const char* name) { return view_->findChild<QLabel*>(QLatin1String(name)); };
        const int count = baseline(label("drinkCount"), view_.get());
        for (const char* small : {"drinkGoal", "totalML"})
            QVERIFY2(std::abs(baseline(label(small), view_.get()) - count) <= 1, small);
        QVERIFY(std::abs(baseline(label("countdown"), view_.get()) - baseline(label("upcomingKind"), view_.get()))
                <= 1);
    }

    // Clicking a button changes the popover (a first drink brings "Undo", a pause or a meeting
    // swaps the card for the status line): the buttons stay where the pointer is.
    void nothingMovesUnderThePointer()
    {
        const auto places = [this] {
            settle();
            QList<QRect> found{QRect(QPoint(), view_->size())};
            for (const char* name : {"drinkButton", "focusButton", "pauseButton", "meetingButton", "quitButton"}) {
                const QWidget* control = button(view_.get(), name);
                found.append(QRect(control->mapTo(view_.get(), QPoint()), control->size()));
            }
            return found;
        };
        const QList<QRect> first = places();
        const std::pair<const char*, std::function<void()>> clicks[] = {
            {"first drink", [this] { store_->drink(); }},
            {"undo", [this] { store_->undo(); }},
            {"pause", [this] { store_->pause(); }},
            {"resume", [this] { store_->resume(); }},
            {"meeting, a two-line status", [this] { store_->startMeeting(60); }},
            {"end of the meeting", [this] { store_->endMeeting(); }},
        };
        for (const auto& [what, click] : clicks) {
            click();
            QCOMPARE(places(), first);
        }
    }

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<DewbellStore> store_;
    std::unique_ptr<MenuBarView> view_;
};

QTEST_MAIN(MenuBarViewTest)
#include "test_menu_bar_view.moc"
