#include "model/CompanionMotion.h"
#include "model/CompanionVoice.h"
#include "support/TableTesting.h"

#include <QTest>
#include <cmath>
#include <limits>

class TestCompanion : public QObject {
    Q_OBJECT

private slots:
    void walkOffsetAtItsEdges()
    {
        struct Case {
            CompanionPhase phase;
            double elapsed;
            bool declined;
            double offset;
        };
        constexpr auto entering = CompanionPhase::entering;
        constexpr auto leaving = CompanionPhase::leaving;
        constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
        for (const Case& c :
             {Case{entering, 0.0, false, 320.0}, Case{entering, -3.0, false, 320.0},
              Case{entering, notANumber, false, 320.0}, Case{entering, 1.0, false, 160.0},
              Case{entering, 2.0, false, 0.0}, Case{entering, 1.0, true, 160.0}, Case{leaving, notANumber, true, 0.0},
              Case{leaving, 2.0, false, 320.0}, Case{leaving, 1.6, true, 160.0}, Case{leaving, 2.0, true, 200.0},
              Case{leaving, 3.2, true, 320.0}, Case{leaving, HUGE_VAL, true, 320.0},
              Case{CompanionPhase::declined, 1.0, true, 0.0}}) {
            const auto response = c.declined ? std::optional(CompanionPhase::declined) : std::nullopt;
            QCOMPARE(CompanionMotion::horizontalOffset(c.phase, c.elapsed, response), c.offset);
        }
    }

    // What a companion says, in its own voice and the user's personality, to the user by name.
    void voiceLines_data()
    {
        addColumns<QString, Personality, QString, bool, QString, QString>("pack", "personality", "recipient",
                                                                          "nicknames", "said", "line");
        const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        row("Pemmy asks") << "bloop" << Personality::cheeky << "  Robin \n"
                          << false << "water 0"
                          << "Psst, Robin. Water. You know the drill.";
        row("by her pet name") << "bloop" << Personality::cheeky << "Robin" << true << "water 0"
                               << "Psst, cutie. Water. You know the drill.";
        row("without a name") << "sprout" << Personality::menace << " " << false << "water 1"
                              << "I have roots, sweety. I'm not going anywhere until you drink.";
        row("past the last stage") << "viru" << Personality::sweet << "Kim" << false << "water 7"
                                   << "Please, Kim. Even Vuzo drank already, and Vuzo never listens.";
        row("an imported pack") << "mossy" << Personality::sweet << "" << true << "water 2"
                                << "Please take a moment for some water, friend. You deserve it.";
        row("yes") << "vuzo" << Personality::menace << "Kim" << false << "yes"
                   << "Excellent, Kim. Phase one of the water plan: complete.";
        row("not yet") << "mossy" << Personality::menace << "Kim" << false << "not yet"
                       << "Not yet is not never, Kim. See you soon.";
        row("yes to a preview") << "bloop" << Personality::menace << "Kim" << false << "preview yes"
                                << "Just a preview, Kim, so no drink logged. I'm bouncing anyway!";
        row("not yet to a preview") << "sprout" << Personality::sweet << "Kim" << false << "preview not yet"
                                    << "Only a preview, so nothing is recorded. I'll try again, Kim.";
        row("eye rest") << "vossik-fan" << Personality::cheeky << "Kim" << false << "eye rest"
                        << "Your eyes deserve an intermission, Kim.";
        row("movement") << "mossy" << Personality::cheeky << "Kim" << false << "movement"
                        << "Up you get, Kim. Your chair needs a break too.";
    }
    void voiceLines()
    {
        QFETCH(QString, pack);
        QFETCH(Personality, personality);
        QFETCH(QString, recipient);
        QFETCH(bool, nicknames);
        QFETCH(QString, said);
        QFETCH(QString, line);
        CharacterPack character;
        character.id = pack;
        const CompanionVoice voice(character);
        Preferences preferences;
        preferences.personality = personality;
        preferences.recipient = recipient;
        preferences.useCharacterNicknames = nicknames;
        QString spoken;
        if (said.startsWith(QLatin1String("water ")))
            spoken = voice.waterPrompt(preferences, said.mid(6).toInt());
        else if (said.endsWith(QLatin1String("yes")) || said.endsWith(QLatin1String("not yet")))
            spoken = voice.waterResponse(preferences, said.endsWith(QLatin1String("yes")), said.startsWith(u'p'));
        else
            spoken = voice.breakPrompt(preferences, said == QLatin1String("eye rest") ? ReminderKind::eyeRest
                                                                                      : ReminderKind::movement);
        QCOMPARE(spoken, line);
    }
};

QTEST_GUILESS_MAIN(TestCompanion)
#include "test_companion.moc"
