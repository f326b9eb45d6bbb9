#include "support/TableTesting.h"
#include "support/TourTesting.h"

#include "reminders/tour/CompanionCard.h"
#include "reminders/tour/OrvoHost.h"
#include "reminders/tour/TourProgress.h"
#include "ui/TrailingSwitch.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

using namespace TourTesting;

class TourFrameTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnAStepWithinTheFour_data()
    {
        addColumns<int, int, QString, QString>("initial", "step", "title", "primary");
        QTest::newRow("below the first") << -2 << 0 << "Big plans. Small breaks."
                                         << "Next";
        QTest::newRow("name") << 1 << 1 << "What should we call you?"
                              << "Next";
        QTest::newRow("rhythm") << 2 << 2 << "Find your rhythm."
                                << "Next";
        QTest::newRow("beyond the last") << 9 << 3 << "Close the window. Keep the company."
                                         << "Make yourself at home";
    }

    void opensOnAStepWithinTheFour()
    {
        QFETCH(int, initial);
        QFETCH(int, step);
        QFETCH(QString, title);
        QFETCH(QString, primary);
        Tour tour;
        tour.open(initial);

        QCOMPARE(tour.text("tourTitle"), title);
        auto* progress = tour.find<TourProgress>("tourProgress");
        QCOMPARE(progress->caption(), QStringLiteral("%1 OF 4").arg(step + 1));
        QCOMPARE(progress->litCapsules(), step + 1);
        QCOMPARE(progress->accessibleName(), QStringLiteral("Step %1 of 4").arg(step + 1));
        QCOMPARE(tour.find("backButton")->isVisible(), step >= 1);
        QCOMPARE(tour.find<QAbstractButton>("primaryButton")->text(), primary);
        QCOMPARE(tour.highlights, QList<bool>{step == 3});
    }

    // A whole first run: every choice is made, undone and made again across the steps, and the
    // store hears nothing of it until "Make yourself at home".
    void choicesWaitForTheLastButton()
    {
        Tour tour({}, StoreTesting::Saving::on);
        const Preferences before = tour.store->preferences();
        const QByteArray savedBefore = savedBytes(tour);
        const auto untouched = [&] {
            QCOMPARE(tour.store->preferences(), before);
            QCOMPARE(savedBytes(tour), savedBefore);
            QVERIFY(tour.store->tourVisible());
        };
        OnboardingView& view = tour.open();

        const auto cards = view.findChildren<CompanionCard*>();
        QTest::mouseClick(cards.at(2), Qt::LeftButton);  // Viru
        QCOMPARE(tour.text("showcaseLine"), QStringLiteral("Viru's on your side."));
        untouched();

        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(view.step(), 1);
        tour.find<QLineEdit>("nameField")->clear();
        QTest::keyClicks(tour.find("nameField"), QStringLiteral("Ada"));
        QTest::keyClick(tour.find("nameField"), Qt::Key_Return);  // Return in the field is the primary key too
        QCOMPARE(view.step(), 2);

        auto* water = tour.find("waterRow");
        QTest::mouseClick(water->findChild<QWidget*>("raise"), Qt::LeftButton);
        QTest::mouseClick(water->findChild<QWidget*>("raise"), Qt::LeftButton);
        QTest::mouseClick(tour.find("focusRow")->findChild<QWidget*>("lower"), Qt::LeftButton);
        for (const char* name : {"quietSwitch", "eyeRestSwitch", "movementSwitch"})
            tour.click(name);
        untouched();

        // Going back shows what was chosen; nothing is lost on the way.
        tour.click("backButton");
        QCOMPARE(tour.find<QLineEdit>("nameField")->text(), QStringLiteral("Ada"));
        tour.click("primaryButton");
        QVERIFY(tour.find<TrailingSwitch>("eyeRestSwitch")->isChecked());
        tour.click("primaryButton");
        QCOMPARE(view.step(), 3);
        untouched();

        QTest::keyClick(&view, Qt::Key_Enter);
        const Preferences after = tour.store->preferences();
        QCOMPARE(after.companionID, QStringLiteral("viru"));
        QCOMPARE(after.intervalMinutes, before.intervalMinutes + 10);
        QCOMPARE(after.focusMinutes, before.focusMinutes - 5);
        QCOMPARE(after.quietEnabled, !before.quietEnabled);
        QVERIFY(after.breaks.eyeEnabled && after.breaks.movementEnabled);
        QCOMPARE(after.recipient, QStringLiteral("Ada"));
        QVERIFY(!after.useCharacterNicknames);
        QVERIFY(!tour.store->tourVisible());
        QCOMPARE(tour.highlights.last(), false);

        // The choices outlive the process.
        const auto next = tour.relaunch();
        QCOMPARE(next->preferences(), after);
        next->presentTourIfNeeded();
        QVERIFY(!next->tourVisible());
    }

    void skippingKeepsEveryPreference_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Skip tour") << "click";
        QTest::newRow("Escape in the name field") << "escape";
    }

    void skippingKeepsEveryPreference()
    {
        QFETCH(QString, how);
        Tour tour({}, StoreTesting::Saving::on);
        const Preferences before = tour.store->preferences();
        OnboardingView& view = tour.open();
        QTest::mouseClick(view.findChildren<CompanionCard*>().at(1), Qt::LeftButton);
        tour.click("primaryButton");
        QTest::keyClicks(tour.find("nameField"), QStringLiteral("Ada"));

        if (how == QLatin1String("click"))
            tour.click("skipTour");
        else
            QTest::keyClick(tour.find("nameField"), Qt::Key_Escape);

        QCOMPARE(tour.store->preferences(), before);
        QVERIFY(!tour.store->tourVisible());
        const auto next = tour.relaunch();
        QCOMPARE(next->state().tourVersion, 1);
        QCOMPARE(next->preferences(), before);
        next->presentTourIfNeeded();
        QVERIFY(!next->tourVisible());
    }

    void nameHandedOverFollowsThePetNameSwitch_data()
    {
        addColumns<bool, QString>("storedPetNames", "fieldShows");
        QTest::addColumn<QString>("typed");  // null: the field is left alone; else cleared, then typed
        addColumns<int, QString, bool>("switchClicks", "recipient", "petNames");
        QTest::newRow("pet names, field untouched") << true << "" << QString() << 0 << "Mika" << true;
        QTest::newRow("pet names, only spaces") << true << ""
                                                << "   " << 0 << "Mika" << true;
        QTest::newRow("a name typed, trimmed by the store") << true << ""
                                                            << "  Ada " << 0 << "Ada" << false;
        QTest::newRow("stored name shown") << false << "Mika" << QString() << 0 << "Mika" << false;
        QTest::newRow("cleared, pet names off by hand") << false << "Mika"
                                                        << "" << 1 << "" << false;
        QTest::newRow("typed, pet names on by hand") << false << "Mika"
                                                     << "Ada" << 1 << "Ada" << true;
    }

    void nameHandedOverFollowsThePetNameSwitch()
    {
        QFETCH(bool, storedPetNames);
        QFETCH(QString, fieldShows);
        QFETCH(QString, typed);
        QFETCH(int, switchClicks);
        QFETCH(QString, recipient);
        QFETCH(bool, petNames);
        Tour tour([&](Preferences& stored) {
            stored.recipient = QStringLiteral("Mika");
            stored.useCharacterNicknames = storedPetNames;
        });
        tour.open(1);
        auto* field = tour.find<QLineEdit>("nameField");
        QCOMPARE(field->text(), fieldShows);
        if (!typed.isNull()) {
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, typed);
        }
        for (int click = 0; click < switchClicks; ++click)
            tour.click("petNameSwitch");
        tour.click("primaryButton");
        tour.click("primaryButton");
        tour.click("primaryButton");

        QCOMPARE(tour.store->preferences().recipient, recipient);
        QCOMPARE(tour.store->preferences().useCharacterNicknames, petNames);
    }

    void trayIconIsPointedOutOnlyOnTheHomeStep()
    {
        Tour tour;
        OnboardingView& view = tour.open(2);
        tour.click("primaryButton");
        tour.click("backButton");
        tour.click("primaryButton");
        view.hide();
        QCOMPARE(tour.highlights, (QList<bool>{false, true, false, true, false}));

        // Only an open tour may make the icon pulse.
        view.show();
        tour.store->setTourVisible(false);
        tour.highlights.clear();
        tour.store->highlightTourMenu(true);
        QCOMPARE(tour.highlights, QList<bool>{false});
    }

    void everyControlIsReachableWithTab()
    {
        Tour tour;
        OnboardingView& view = tour.open();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        for (int step = 0; step < 4; ++step) {
            QSet<QWidget*> controls;
            for (QWidget* control : view.findChildren<QWidget*>()) {
                if ((qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control))
                    && control->isVisible() && control->isEnabled())
                    controls.insert(control);
            }
            QSet<QWidget*> reached;
            for (int press = 0; press < 40; ++press) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                reached.insert(QApplication::focusWidget());
            }
            QCOMPARE(reached, controls);
            QTest::keyClick(&view, Qt::Key_Return);
        }
    }

    void assistiveTechnologyHearsOneElementPerPicture()
    {
        Tour tour;
        tour.open();
        QAccessibleInterface* host = QAccessible::queryAccessibleInterface(tour.find<OrvoHost>("orvoHost"));
        QCOMPARE(host->text(QAccessible::Name), QStringLiteral("Orvo, your host"));
        QCOMPARE(host->childCount(), 0);
        QCOMPARE(accessibleText(tour.find("tourProgress"), QAccessible::Name), QStringLiteral("Step 1 of 4"));
        QVERIFY(QAccessible::queryAccessibleInterface(tour.find("showcase"))->state().invisible);

        const auto cards = tour.view->findChildren<CompanionCard*>();
        QCOMPARE(accessibleText(cards.at(0), QAccessible::Name), QStringLiteral("Choose Pemmy"));
        QCOMPARE(accessibleText(cards.at(0), QAccessible::Value), QStringLiteral("Selected"));
        QCOMPARE(accessibleText(cards.at(1), QAccessible::Value), QString());
        QTest::mouseClick(cards.at(1), Qt::LeftButton);
        QCOMPARE(accessibleText(cards.at(0), QAccessible::Value), QString());
        QCOMPARE(accessibleText(cards.at(1), QAccessible::Value), QStringLiteral("Selected"));

        tour.click("primaryButton");
        QCOMPARE(accessibleText(tour.find("nameField"), QAccessible::Name),
                 QStringLiteral("Your name or nickname, optional"));
        tour.click("primaryButton");
        const QList<std::pair<const char*, QString>> named{
            {"eyeRestSwitch", QStringLiteral("Eye-rest breaks")},
            {"movementSwitch", QStringLiteral("Movement breaks")},
            {"eyeRestSwitchInfo", QStringLiteral("Learn about eye-rest breaks")},
            {"movementSwitchInfo", QStringLiteral("Learn about movement breaks")},
        };
        for (const auto& [name, expected] : named)
            QCOMPARE(accessibleText(tour.find(name), QAccessible::Name), expected);
        const QList<std::tuple<const char*, const char*, QString>> steppers{
            {"waterRow", "lower", QStringLiteral("Remind me 5 minutes sooner")},
            {"waterRow", "raise", QStringLiteral("Remind me 5 minutes later")},
            {"focusRow", "lower", QStringLiteral("Shorten Focus by 5 minutes")},
            {"focusRow", "raise", QStringLiteral("Lengthen Focus by 5 minutes")},
        };
        for (const auto& [row, button, label] : steppers) {
            auto* control = tour.find(row)->findChild<QWidget*>(button);
            QCOMPARE(accessibleText(control, QAccessible::Name), label);
            QCOMPARE(control->toolTip(), label);
        }
    }

private:
    static QByteArray savedBytes(const Tour& tour)
    {
        QFile file(tour.folder.filePath(QStringLiteral("state.json")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_MAIN(TourFrameTest)
#include "test_tour_frame.moc"
