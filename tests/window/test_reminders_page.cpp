#include "support/PageTesting.h"
#include "support/TableTesting.h"
#include "ui/Palette.h"
#include "ui/TrailingSwitch.h"
#include "window/CardButton.h"
#include "window/ChoicePicker.h"
#include "window/RemindersPage.h"
#include "window/Stepper.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

// "Reminders" on a real store: each control is tied to its preference and shows the stored one.
class RemindersPageTest : public QObject, private StoreUnderView {
    Q_OBJECT

private slots:
    void init() { page_ = showOnNewStore<RemindersPage>(QSize(700, 1000)); }

    void cleanup()
    {
        page_.reset();
        closeStore();
    }

    void personalityCardsSetTheEscalation_data()
    {
        addColumns<QString, Personality, int>("card", "stored", "minutes");
        QTest::newRow("tiny menace") << QStringLiteral("menace") << Personality::menace << 2;
        QTest::newRow("sweetheart") << QStringLiteral("sweet") << Personality::sweet << 10;
        QTest::newRow("a little sass, already stored") << QStringLiteral("cheeky") << Personality::cheeky << 5;
    }

    // One update() per press, also for the card already chosen; only the chosen card is outlined.
    void personalityCardsSetTheEscalation()
    {
        QFETCH(QString, card);
        QFETCH(Personality, stored);
        QFETCH(int, minutes);
        QSignalSpy updates(store_.get(), &DewbellStore::changed);
        QTest::mouseClick(personalityCard(card), Qt::LeftButton);
        QCOMPARE(updates.count(), 1);
        QCOMPARE(store_->preferences().personality, stored);
        QCOMPARE(labelText(page_.get(), "escalationNote"),
                 QStringLiteral("An unanswered reminder gets a new line every %1 minutes, up to three lines. Snooze "
                                "and pause are always there.")
                     .arg(minutes));
        for (Personality personality : allPersonalities) {
            QCOMPARE(personalityCard(rawValue(personality))->outline(),
                     personality == stored ? Palette::accent() : Palette::line());
        }
    }

    // With quiet hours off the hour row is greyed but keeps the stored hours; switching them on
    // makes it usable with the same hours.
    void quietHoursSwitchGreysTheHoursOnly()
    {
        auto* quiet = findSwitch(QStringLiteral("Quiet hours"));
        auto* hours = page_->findChild<QWidget*>(QStringLiteral("quietHours"));
        const QList<ChoicePicker*> pickers = hours->findChildren<ChoicePicker*>();
        QCOMPARE(pickers.size(), 2);
        press(quiet);
        QVERIFY(!store_->preferences().quietEnabled);
        QVERIFY(!hours->isEnabled());
        QCOMPARE(pickers[0]->currentText(), QStringLiteral("22:00"));
        QCOMPARE(pickers[1]->currentText(), QStringLiteral("09:00"));
        QTest::keyClick(pickers[0], Qt::Key_Down);
        QCOMPARE(store_->preferences().quietStart, 22);

        press(quiet);
        QVERIFY(hours->isEnabled());
        pickers[0]->setFocus();
        QTest::keyClick(pickers[0], Qt::Key_Down);
        QCOMPARE(store_->preferences().quietStart, 23);
        QCOMPARE(store_->preferences().quietEnd, 9);
    }

    void goalStepperStaysWithinOneToTwenty()
    {
        auto* goal = page_->findChild<Stepper*>(QStringLiteral("goalStepper"));
        QCOMPARE(goal->text(), QStringLiteral("Personal goal: 8 glasses"));
        goal->setFocus();
        QTest::keyClick(goal, Qt::Key_Up);
        QCOMPARE(store_->preferences().dailyGoal, 9);
        QTest::keyClick(goal, Qt::Key_End);
        QTest::keyClick(goal, Qt::Key_Up);
        QCOMPARE(store_->preferences().dailyGoal, 20);
        QTest::keyClick(goal, Qt::Key_Home);
        QTest::keyClick(goal, Qt::Key_Down);
        QCOMPARE(store_->preferences().dailyGoal, 1);
        QCOMPARE(goal->text(), QStringLiteral("Personal goal: 1 glass"));
        store_->update([](Preferences& preferences) { preferences.dailyGoal = 12; });
        QCOMPARE(goal->text(), QStringLiteral("Personal goal: 12 glasses"));
    }

    // A stored interval or glass size that is not offered selects nothing and stays stored.
    void pickersWithoutAMatchingRow()
    {
        auto* interval = page_->findChild<ChoicePicker*>(QStringLiteral("intervalPicker"));
        auto* glass = page_->findChild<ChoicePicker*>(QStringLiteral("glassPicker"));
        QCOMPARE(interval->currentText(), QStringLiteral("45 minutes"));
        QCOMPARE(glass->currentText(), QStringLiteral("250 ml"));
        QCOMPARE(interval->count(), RemindersPage::intervals().size());
        QCOMPARE(glass->itemText(glass->count() - 1), QStringLiteral("500 ml"));
        store_->update([](Preferences& preferences) {
            preferences.intervalMinutes = 50;
            preferences.glassML = 330;
        });
        store_->tick(morning().addSecs(3));
        QCOMPARE(interval->currentIndex(), -1);
        QCOMPARE(glass->currentIndex(), -1);
        QCOMPARE(store_->preferences().intervalMinutes, 50);
        QCOMPARE(store_->preferences().glassML, 330);

        interval->setFocus();
        QTest::keyClick(interval, Qt::Key_End);
        QCOMPARE(store_->preferences().intervalMinutes, 180);
    }

    // Assistive tools hear each picker by what it sets, with the chosen row as its value, and
    // which personality card is the chosen one.
    void pickersAndCardsSayWhatTheyAre()
    {
        const QList<std::pair<const char*, QString>> pickers{
            {"intervalPicker", QStringLiteral("Say hello every")},
            {"quietStartPicker", QStringLiteral("Let me sleep from")},
            {"quietEndPicker", QStringLiteral("to")},
            {"glassPicker", QStringLiteral("My glass")},
        };
        QCOMPARE(page_->findChildren<ChoicePicker*>().size(), pickers.size());
        for (const auto& [name, label] : pickers) {
            auto* picker = page_->findChild<ChoicePicker*>(QLatin1String(name));
            QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(picker);
            QCOMPARE(heard->role(), QAccessible::ComboBox);
            QCOMPARE(heard->text(QAccessible::Name), label);
            QCOMPARE(heard->text(QAccessible::Value), picker->currentText());
            // The label beside it is tied to it, so its words and the picker travel together.
            const auto related = heard->relations(QAccessible::Label);
            QVERIFY2(!related.isEmpty() && related.first().first->text(QAccessible::Name) == label, name);
        }

        for (Personality chosen : {Personality::cheeky, Personality::menace, Personality::sweet}) {
            QTest::mouseClick(personalityCard(rawValue(chosen)), Qt::LeftButton);
            for (Personality personality : allPersonalities) {
                QAccessibleInterface* card =
                    QAccessible::queryAccessibleInterface(personalityCard(rawValue(personality)));
                QCOMPARE(card->text(QAccessible::Name), title(personality));
                QCOMPARE(card->role(), QAccessible::RadioButton);
                QCOMPARE(bool(card->state().checked), personality == chosen);
            }
        }
    }

    void waterSwitchIsOneUpdate()
    {
        QSignalSpy updates(store_.get(), &DewbellStore::changed);
        press(findSwitch(QStringLiteral("Water reminders")));
        QCOMPARE(updates.count(), 1);
        QVERIFY(!store_->preferences().enabled);
        press(findSwitch(QStringLiteral("A tiny pop sound")));
        QVERIFY(!store_->preferences().soundEnabled);
    }

    // Switched off, "A tiny pop sound" keeps a reminder that comes due silent; switched on, the
    // next reminder pops.
    void theTinyPopSoundSwitchedOffPlaysNothing()
    {
        QStringList played;
        store_->playSound = [&played](const QString& name) { played.append(name); };
        press(findSwitch(QStringLiteral("A tiny pop sound")));
        QVERIFY(!store_->preferences().soundEnabled);
        store_->tick(store_->state().nextDue);
        QVERIFY(store_->reminderVisible());
        QCOMPARE(played, QStringList());

        store_->dismiss();
        press(findSwitch(QStringLiteral("A tiny pop sound")));
        store_->showReminder(true, ReminderKind::water);
        QCOMPARE(played, QStringList{QStringLiteral("Pop")});
    }

private:
    CardButton* personalityCard(const QString& raw) const
    {
        return page_->findChild<CardButton*>(QStringLiteral("personality-") + raw);
    }

    TrailingSwitch* findSwitch(const QString& label) const
    {
        for (TrailingSwitch* toggle : page_->findChildren<TrailingSwitch*>()) {
            if (toggle->text() == label)
                return toggle;
        }
        return nullptr;
    }

    std::unique_ptr<RemindersPage> page_;
};

QTEST_MAIN(RemindersPageTest)
#include "test_reminders_page.moc"
