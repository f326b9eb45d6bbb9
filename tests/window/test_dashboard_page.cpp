#include "characters/BuddyView.h"
#include "support/PageTesting.h"
#include "support/TableTesting.h"
#include "ui/CapsuleProgress.h"
#include "ui/ClampedLabel.h"
#include "ui/FigureLabel.h"
#include "window/DashboardPage.h"
#include "window/HeroPicture.h"

#include <QAccessible>
#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

// "Your day" on a real store: figures come from the store and follow it in place, and each
// button is one store action.
class DashboardPageTest : public QObject, private StoreUnderView {
    Q_OBJECT

private slots:
    void init() { page_ = showOnNewStore<DashboardPage>(QSize(700, 700)); }

    void cleanup()
    {
        page_.reset();
        closeStore();
    }

    void litresKeepTwoDigitsAndNeverTurnExponential_data()
    {
        addColumns<qint64, QString>("millilitres", "shown");
        QTest::newRow("nothing") << qint64(0) << QStringLiteral("0");
        QTest::newRow("three glasses") << qint64(750) << QStringLiteral("0.75");
        QTest::newRow("one and a half") << qint64(1500) << QStringLiteral("1.5");
        QTest::newRow("rounded to two digits") << qint64(1234) << QStringLiteral("1.2");
        QTest::newRow("the default goal") << qint64(2000) << QStringLiteral("2");
        QTest::newRow("twelve") << qint64(12000) << QStringLiteral("12");
        QTest::newRow("just below a hundred") << qint64(99400) << QStringLiteral("99");
        QTest::newRow("rounds up to a hundred") << qint64(99600) << QStringLiteral("100");
        QTest::newRow("a hundred") << qint64(100000) << QStringLiteral("100");
        QTest::newRow("whole litres above") << qint64(123456) << QStringLiteral("123");
        QTest::newRow("past what an int holds") << qint64(3000000000) << QStringLiteral("3000000");
    }

    void litresKeepTwoDigitsAndNeverTurnExponential()
    {
        QFETCH(qint64, millilitres);
        QFETCH(QString, shown);
        QCOMPARE(DashboardPage::litres(millilitres), shown);
    }

    // A day of drinks: the total, the bar and "Undo" follow each press; undo takes the newest
    // drink of today only.
    void drinksAndUndoFollowTheStore()
    {
        store_->mutateState([](SavedState& state) {
            state.drinks.append(Drink{QUuid::createUuid(), morning().addDays(-1), 400});
        });
        QCOMPARE(figure("totalLitres"), QStringLiteral("0"));
        QCOMPARE(labelText(page_.get(), "goalLitres"), QStringLiteral("/ 2 L"));
        QCOMPARE(progress(), 0.0);
        QVERIFY(!button(page_.get(), "undo")->isVisible());

        auto* drink = button(page_.get(), "drink");
        QCOMPARE(drink->text(), QStringLiteral("I drank 250 ml"));
        QTest::mouseClick(drink, Qt::LeftButton);
        store_->update([](Preferences& preferences) { preferences.glassML = 500; });
        QCOMPARE(drink->text(), QStringLiteral("I drank 500 ml"));
        QTest::mouseClick(drink, Qt::LeftButton);
        QCOMPARE(figure("totalLitres"), QStringLiteral("0.75"));
        QCOMPARE(labelText(page_.get(), "goalLitres"), QStringLiteral("/ 4 L"));
        QCOMPARE(progress(), 0.1875);
        QVERIFY(button(page_.get(), "undo")->isVisible());

        QTest::mouseClick(button(page_.get(), "undo"), Qt::LeftButton);
        QCOMPARE(store_->today().size(), 1);
        QCOMPARE(store_->today().first().ml, 250);
        QTest::mouseClick(button(page_.get(), "undo"), Qt::LeftButton);
        QCOMPARE(figure("totalLitres"), QStringLiteral("0"));
        QVERIFY(!button(page_.get(), "undo")->isVisible());
        QCOMPARE(store_->state().drinks.size(), 1);  // yesterday's stays
    }

    void barStopsFullAboveTheGoal()
    {
        store_->update([](Preferences& preferences) {
            preferences.dailyGoal = 1;
            preferences.glassML = 300;
        });
        for (int press = 0; press < 3; ++press)
            QTest::mouseClick(button(page_.get(), "drink"), Qt::LeftButton);
        QCOMPARE(figure("totalLitres"), QStringLiteral("0.9"));
        QCOMPARE(progress(), 1.0);
    }

    // Pausing turns the button into "Resume reminders" at once; reminders switched off count as
    // paused, and resuming switches them on.
    void pauseButtonFollowsThePause()
    {
        auto* pause = button(page_.get(), "pause");
        QCOMPARE(pause->text(), QStringLiteral("Pause for an hour"));
        QTest::mouseClick(pause, Qt::LeftButton);
        QVERIFY(store_->isPaused());
        QCOMPARE(pause->text(), QStringLiteral("Resume reminders"));
        QCOMPARE(figure("countdown"), QStringLiteral("On pause"));
        QTest::mouseClick(pause, Qt::LeftButton);
        QVERIFY(!store_->isPaused());
        QCOMPARE(pause->text(), QStringLiteral("Pause for an hour"));

        store_->update([](Preferences& preferences) { preferences.enabled = false; });
        QCOMPARE(pause->text(), QStringLiteral("Resume reminders"));
        QTest::mouseClick(pause, Qt::LeftButton);
        QVERIFY(store_->preferences().enabled);
        QVERIFY(!store_->isPaused());
    }

    // The countdown ticks in the same labels: nothing is rebuilt on a change.
    void countdownAndStatusUpdateInPlace()
    {
        auto* countdown = page_->findChild<FigureLabel*>(QStringLiteral("countdown"));
        QCOMPARE(countdown->text(), QStringLiteral("45:00"));
        const QList<QWidget*> before = page_->findChildren<QWidget*>();
        store_->tick(morning().addSecs(61));
        QCOMPARE(countdown->text(), QStringLiteral("43:59"));
        QVERIFY(page_->findChild<ClampedLabel*>(QStringLiteral("status"))
                    ->text()
                    .startsWith(QStringLiteral("Next hello around ")));
        QCOMPARE(page_->findChildren<QWidget*>(), before);
    }

    // Assistive tools hear each figure by what it counts, with the figure and its unit as the
    // value, and the bar as a progress bar with its share in percent.
    void figuresSayWhatTheyCount()
    {
        store_->update([](Preferences& preferences) { preferences.glassML = 300; });
        QTest::mouseClick(button(page_.get(), "drink"), Qt::LeftButton);
        const QList<std::tuple<const char*, QString, QString>> figures{
            {"totalLitres", QStringLiteral("Today's total"), QStringLiteral("0.3 L")},
            {"goalLitres", QStringLiteral("Daily goal"), QStringLiteral("2.4 L")},
            {"countdown", QStringLiteral("Next little hello"), QStringLiteral("45:00")},
        };
        for (const auto& [name, what, value] : figures) {
            QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(page_->findChild<QWidget*>(name));
            QCOMPARE(heard->role(), QAccessible::StaticText);
            QCOMPARE(heard->text(QAccessible::Name), what);
            QCOMPARE(heard->text(QAccessible::Value), value);
        }

        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(page_->findChild<CapsuleProgress*>());
        QCOMPARE(bar->role(), QAccessible::ProgressBar);
        QVERIFY(!bar->text(QAccessible::Name).isEmpty());
        QAccessibleValueInterface* share = bar->valueInterface();
        QVERIFY(share);
        QCOMPARE(share->minimumValue().toInt(), 0);
        QCOMPARE(share->maximumValue().toInt(), 100);
        QCOMPARE(share->currentValue().toInt(), 13);  // 300 of 2400 ml
        QCOMPARE(bar->text(QAccessible::Value), QStringLiteral("13%"));
        for (int press = 0; press < 10; ++press)
            QTest::mouseClick(button(page_.get(), "drink"), Qt::LeftButton);
        QCOMPARE(share->currentValue().toInt(), 100);
    }

    void personalityLine_data()
    {
        addColumns<Personality, QString>("personality", "line");
        QTest::newRow("sweet") << Personality::sweet << QStringLiteral("A pause, just for you.");
        QTest::newRow("cheeky") << Personality::cheeky << QStringLiteral("Big on caring. A little sassy about it.");
        QTest::newRow("menace") << Personality::menace << QStringLiteral("Big on caring. A little sassy about it.");
    }

    void personalityLine()
    {
        QFETCH(Personality, personality);
        QFETCH(QString, line);
        store_->update([personality](Preferences& preferences) { preferences.personality = personality; });
        QCOMPARE(labelText(page_.get(), "personalityLine"), line);
    }

    // The hero names the companion on duty and shows its still, neutral picture; "Meet your
    // reminder" previews it even while paused and logs nothing.
    void heroPreviewsTheCompanionOnDuty()
    {
        store_->update([](Preferences& preferences) { preferences.companionID = QStringLiteral("viru"); });
        QCOMPARE(labelText(page_.get(), "companionLine"), QStringLiteral("Viru's on\nyour case."));
        const BuddyView* buddy = page_->findChild<HeroPicture*>()->buddy();
        QCOMPARE(buddy->pack().id, QStringLiteral("viru"));
        QVERIFY(!buddy->animate());
        QCOMPARE(buddy->moment().phase, CompanionPhase::asking);

        store_->pause();
        QTest::mouseClick(button(page_.get(), "meetReminder"), Qt::LeftButton);
        QVERIFY(store_->reminderVisible());
        QVERIFY(store_->preview());
        QCOMPARE(store_->reminderKind(), ReminderKind::water);
        QCOMPARE(store_->presentedCompanion().id, QStringLiteral("viru"));
        store_->answerYes();
        QVERIFY(store_->today().isEmpty());
    }

private:
    QString figure(const char* name) const { return page_->findChild<FigureLabel*>(QLatin1String(name))->text(); }
    double progress() const { return page_->findChild<CapsuleProgress*>()->progress(); }

    std::unique_ptr<DashboardPage> page_;
};

QTEST_MAIN(DashboardPageTest)
#include "test_dashboard_page.moc"
