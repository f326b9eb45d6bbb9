#include "support/RenderChecks.h"
#include "support/TableTesting.h"
#include "support/TourTesting.h"

#include "characters/BuddyView.h"
#include "reminders/tour/CompanionCard.h"
#include "reminders/tour/CrewStep.h"
#include "ui/ClampedLabel.h"
#include "ui/TrailingSwitch.h"

#include <QLayout>
#include <QLineEdit>
#include <QtTest>

using namespace TourTesting;

class TourStepsTest : public QObject {
    Q_OBJECT

private slots:
    void crewShowsSixCardsAtMost_data()
    {
        addColumns<int, QString, QStringList, QString>("packCount", "chosen", "cards", "buddy");
        QTest::newRow("the built-in crew")
            << -1 << "bloop" << QStringList{"Pemmy*", "Quelly", "Viru", "Vuzo", "Nimbi", "Zoze"} << "Pemmy";
        QTest::newRow("the seventh chosen")
            << -1 << "zuv" << QStringList{"Pemmy", "Quelly", "Viru", "Vuzo", "Nimbi", "Zoze"} << "Zuv";
        QTest::newRow("nine packs") << 9 << "pack-2"
                                    << QStringList{"Pack 1", "Pack 2*", "Pack 3", "Pack 4", "Pack 5", "Pack 6"}
                                    << "Pack 2";
        QTest::newRow("nine packs, the ninth chosen")
            << 9 << "pack-9" << QStringList{"Pack 1", "Pack 2", "Pack 3", "Pack 4", "Pack 5", "Pack 6"} << "Pack 9";
        // With no packs at all the store's companion stands in.
        QTest::newRow("no packs") << 0 << "bloop" << QStringList{} << "Pemmy";
    }

    void crewShowsSixCardsAtMost()
    {
        QFETCH(int, packCount);
        QFETCH(QString, chosen);
        QFETCH(QStringList, cards);
        QFETCH(QString, buddy);
        Tour tour;
        if (packCount >= 0)
            tour.store->setPacks(packs(packCount));
        tour.store->mutateState([&](SavedState& state) { state.preferences.companionID = chosen; });
        OnboardingView& view = tour.open();

        QCOMPARE(cardNames(view), cards);
        QCOMPARE(tour.text("showcaseLine"), buddy + QStringLiteral("'s on your side."));
        QCOMPARE(view.findChild<CrewStep*>()->showcaseBuddy()->pack().name, buddy);
        tour.click("primaryButton");
        QVERIFY(tour.text("namePreview").startsWith(buddy + QStringLiteral(" will call you")));
    }

    // A pending companion that is taken away while the tour is open falls back to the store's.
    void crewFollowsPacksThatChange()
    {
        Tour tour;
        OnboardingView& view = tour.open();
        QTest::mouseClick(view.findChildren<CompanionCard*>().at(3), Qt::LeftButton);
        QCOMPARE(cardNames(view).at(3), QStringLiteral("Vuzo*"));
        QCOMPARE(tour.store->preferences().companionID, QStringLiteral("bloop"));

        QList<CharacterPack> withoutVuzo = tour.store->packs();
        withoutVuzo.removeAt(3);
        tour.store->setPacks(withoutVuzo);
        QCOMPARE(cardNames(view), (QStringList{"Pemmy", "Quelly", "Viru", "Nimbi", "Zoze", "Zuv"}));
        QCOMPARE(tour.text("showcaseLine"), QStringLiteral("Pemmy's on your side."));
        QCOMPARE(view.buddy().id, QStringLiteral("bloop"));
    }

    void namePreviewFollowsTheChoices_data()
    {
        addColumns<int, QString, bool, QString>("card", "typed", "petNamesByHand", "preview");
        QTest::newRow("Pemmy's pet name") << 0 << "" << false << "Pemmy will call you “cutie”.";
        QTest::newRow("Quelly's pet name") << 1 << "" << false << "Quelly will call you “sweety”.";
        QTest::newRow("a name, trimmed") << 1 << "  Ada " << false << "Quelly will call you “Ada”.";
        QTest::newRow("pet name over a typed name") << 1 << "Ada" << true << "Quelly will call you “sweety”.";
        QTest::newRow("a voice without a pet name") << 4 << "" << false << "Nimbi will call you “friend”.";
        QTest::newRow("the bear calls the other bear") << 2 << "" << false << "Viru will call you “vuzo”.";
    }

    void namePreviewFollowsTheChoices()
    {
        QFETCH(int, card);
        QFETCH(QString, typed);
        QFETCH(bool, petNamesByHand);
        QFETCH(QString, preview);
        Tour tour;
        OnboardingView& view = tour.open();
        QTest::mouseClick(view.findChildren<CompanionCard*>().at(card), Qt::LeftButton);
        tour.click("primaryButton");
        auto* field = tour.find<QLineEdit>("nameField");
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, typed);
        if (petNamesByHand)
            tour.click("petNameSwitch");
        QCOMPARE(tour.text("namePreview"), preview);
    }

    void nameFieldKeepsEightyCharacters()
    {
        Tour tour;
        tour.open(1);
        auto* field = tour.find<QLineEdit>("nameField");
        auto* petNames = tour.find<TrailingSwitch>("petNameSwitch");
        const QString hundred = QStringLiteral("Ada Lovelace ").repeated(8).left(100);
        field->selectAll();
        field->insert(hundred);  // as a paste does
        QCOMPARE(field->text(), hundred.left(80));
        QVERIFY(!petNames->isChecked());

        // Clearing the field, or leaving only spaces, brings the pet names back.
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QVERIFY(petNames->isChecked());
        QTest::keyClicks(field, QStringLiteral("  "));
        QVERIFY(petNames->isChecked());
        QTest::keyClicks(field, QStringLiteral("B"));
        QVERIFY(!petNames->isChecked());

        // The store gets the name as shown, not as pasted.
        field->selectAll();
        field->insert(hundred);
        tour.click("primaryButton");
        tour.click("primaryButton");
        tour.click("primaryButton");
        QCOMPARE(tour.store->preferences().recipient, hundred.left(80).trimmed());
    }

    // A companion name of 59 characters and a typed name of 80, neither with a space: both
    // steps show every character, inside the tour.
    void longNamesAreShownWhole()
    {
        const QString companion = QStringLiteral("Quenchalot").repeated(6).left(59);
        const QString typed = QStringLiteral("Maximiliana").repeated(8).left(80);
        Tour tour;
        QList<CharacterPack> packs = tour.store->packs();
        packs[0].name = companion;
        tour.store->setPacks(packs);
        OnboardingView& view = tour.open();
        // The label lies inside the tour with the room its text asks for; a label that ends in
        // an ellipsis would have cut some of it.
        const auto shownWhole = [&](const char* name) {
            auto* label = tour.find<QWidget>(QLatin1String(name));
            QApplication::processEvents();
            const QRect place(label->mapTo(&view, QPoint()), label->size());
            QVERIFY2(view.rect().contains(place), name);
            QVERIFY2(label->minimumSizeHint().width() <= label->width(), name);
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), name);
            if (auto* clamped = qobject_cast<ClampedLabel*>(label)) {
                // Lines break at spaces where they can; every other character is on show.
                QCOMPARE(clamped->shownLines().join(QString()).remove(QLatin1Char(' ')),
                         clamped->text().remove(QLatin1Char(' ')));
            }
        };
        QCOMPARE(tour.text("showcaseLine"), companion + QStringLiteral("'s on your side."));
        shownWhole("showcaseLine");
        // Its card has no room for the name: the tooltip and assistive tools give all of it.
        CompanionCard* card = view.findChildren<CompanionCard*>().first();
        QCOMPARE(card->toolTip(), companion);
        QCOMPARE(accessibleText(card, QAccessible::Name), QStringLiteral("Choose ") + companion);

        tour.click("primaryButton");
        auto* field = tour.find<QLineEdit>("nameField");
        field->selectAll();
        field->insert(typed);
        QCOMPARE(tour.text("namePreview"),
                 companion + QStringLiteral(" will call you “") + typed + QStringLiteral("”."));
        shownWhole("namePreview");
        QVERIFY(view.layout()->totalHeightForWidth(view.width()) <= view.height());
    }

    void steppersStopAtTheirBounds_data()
    {
        addColumns<QString, int, QString, QString, bool, bool, int>("row", "stored", "button", "title", "canLower",
                                                                    "canRaise", "handedOver");
        QTest::newRow("water up to its most") << "waterRow" << 175 << "raise"
                                              << "A water break every 180 minutes" << true << false << 180;
        QTest::newRow("water down from 7 stops at 5") << "waterRow" << 7 << "lower"
                                                      << "A water break every 5 minutes" << false << true << 5;
        QTest::newRow("focus at its most") << "focusRow" << 240 << ""
                                           << "Focus length when you start it: 240 minutes" << true << false << 240;
        QTest::newRow("focus down to its least") << "focusRow" << 10 << "lower"
                                                 << "Focus length when you start it: 5 minutes" << false << true << 5;
        QTest::newRow("focus up") << "focusRow" << 50 << "raise"
                                  << "Focus length when you start it: 55 minutes" << true << true << 55;
    }

    void steppersStopAtTheirBounds()
    {
        QFETCH(QString, row);
        QFETCH(int, stored);
        QFETCH(QString, button);
        QFETCH(QString, title);
        QFETCH(bool, canLower);
        QFETCH(bool, canRaise);
        QFETCH(int, handedOver);
        const bool water = row == QLatin1String("waterRow");
        Tour tour([&](Preferences& preferences) {
            (water ? preferences.intervalMinutes : preferences.focusMinutes) = stored;
        });
        tour.open(2);
        QWidget* stepper = tour.find(row);
        if (!button.isEmpty())
            QTest::mouseClick(stepper->findChild<QWidget*>(button), Qt::LeftButton);

        QCOMPARE(stepper->findChild<QLabel*>("stepperTitle")->text(), title);
        QCOMPARE(stepper->findChild<QWidget*>("lower")->isEnabled(), canLower);
        QCOMPARE(stepper->findChild<QWidget*>("raise")->isEnabled(), canRaise);
        tour.click("primaryButton");
        tour.click("primaryButton");
        const Preferences& after = tour.store->preferences();
        QCOMPARE(water ? after.intervalMinutes : after.focusMinutes, handedOver);
    }

    void rhythmTextsComeFromTheStoredPreferences_data()
    {
        QTest::addColumn<QList<int>>(
            "stored");  // quiet start, quiet end, eye minutes, eye seconds, movement minutes, length
        addColumns<QString, QString, QString>("quiet", "eyeRest", "movement");
        QTest::newRow("defaults")
            << QList<int>{22, 9, 20, 20, 60, 5} << "Keep my quiet hours (22:00–09:00)"
            << "The 20–20–20 habit: every 20 minutes, look about 6 metres (20 feet) away for 20 "
               "seconds."
            << "Every 60 minutes, 5 minutes to stretch or walk. Both are optional; change them any "
               "time.";
        QTest::newRow("longer eye interval, one minute")
            << QList<int>{7, 0, 30, 20, 45, 1} << "Keep my quiet hours (07:00–00:00)"
            << "Every 30 minutes, look about 6 metres (20 feet) away for 20 seconds."
            << "Every 45 minutes, 1 minute to stretch or walk. Both are optional; change them any time.";
        QTest::newRow("longer eye rest")
            << QList<int>{23, 6, 20, 30, 90, 15} << "Keep my quiet hours (23:00–06:00)"
            << "Every 20 minutes, look about 6 metres (20 feet) away for 30 seconds."
            << "Every 90 minutes, 15 minutes to stretch or walk. Both are optional; change "
               "them any time.";
    }

    void rhythmTextsComeFromTheStoredPreferences()
    {
        QFETCH(QList<int>, stored);
        QFETCH(QString, quiet);
        QFETCH(QString, eyeRest);
        QFETCH(QString, movement);
        Tour tour;
        tour.open(2);
        tour.click("eyeRestSwitch");  // pending switches change none of the numbers
        // The step follows the store while it is on screen.
        tour.store->update([&](Preferences& preferences) {
            preferences.quietStart = stored[0];
            preferences.quietEnd = stored[1];
            preferences.breaks.eyeIntervalMinutes = stored[2];
            preferences.breaks.eyeDurationSeconds = stored[3];
            preferences.breaks.movementIntervalMinutes = stored[4];
            preferences.breaks.movementDurationMinutes = stored[5];
        });
        QCOMPARE(tour.find<TrailingSwitch>("quietSwitch")->text(), quiet);
        QCOMPARE(tour.text("eyeRestSentence"), eyeRest);
        QCOMPARE(tour.text("movementSentence"), movement);
    }

private:
    static QStringList cardNames(const OnboardingView& view)
    {
        QStringList names;
        for (const CompanionCard* card : view.findChildren<CompanionCard*>())
            names.append(card->text() + (card->isSelected() ? QStringLiteral("*") : QString()));
        return names;
    }

    static QList<CharacterPack> packs(int count)
    {
        QList<CharacterPack> list;
        for (int index = 1; index <= count; ++index) {
            CharacterPack pack = RenderChecks::builtIn(QStringLiteral("bloop"));
            pack.id = QStringLiteral("pack-%1").arg(index);
            pack.name = QStringLiteral("Pack %1").arg(index);
            list.append(pack);
        }
        return list;
    }
};

QTEST_MAIN(TourStepsTest)
#include "test_tour_steps.moc"
