#include "model/BreakGuidance.h"
#include "model/CompanionMotion.h"
#include "model/CompanionVoice.h"
#include "model/ReminderPlacement.h"

#include <QSet>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

using Character = CompanionVoice::Character;
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

CharacterPack packWithID(const QString& id)
{
    CharacterPack pack;
    pack.id = id;
    pack.kind = QStringLiteral("sprite");
    return pack;
}

} // namespace

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
        for (const Case& c : {Case{entering, 0.0, false, 320.0}, Case{entering, -3.0, false, 320.0},
                              Case{entering, notANumber, false, 320.0}, Case{entering, 1.0, false, 160.0},
                              Case{entering, 2.0, false, 0.0}, Case{entering, 1.0, true, 160.0},
                              Case{leaving, notANumber, true, 0.0}, Case{leaving, 2.0, false, 320.0},
                              Case{leaving, 1.6, true, 160.0}, Case{leaving, 2.0, true, 200.0},
                              Case{leaving, 3.2, true, 320.0}, Case{leaving, HUGE_VAL, true, 320.0},
                              Case{CompanionPhase::declined, 1.0, true, 0.0}}) {
            const auto response = c.declined ? std::optional(CompanionPhase::declined) : std::nullopt;
            QCOMPARE(CompanionMotion::horizontalOffset(c.phase, c.elapsed, response), c.offset);
        }
    }

    void walkCycleWrapsStickersStayInTheirSetAndMinutesAreCounted()
    {
        QCOMPARE(CompanionMotion::walkFrame(0.75), 7);
        QCOMPARE(CompanionMotion::walkFrame(0.8), 0);
        QCOMPARE(CompanionMotion::walkFrame(1.0, 3.0), 3);
        for (double odd : {-1.0, notANumber, 1e300})
            QCOMPARE(CompanionMotion::walkFrame(odd), 0);
        QCOMPARE(BreakGuidance::stickerFrame(ReminderKind::eyeRest, -7), 0);
        QCOMPARE(BreakGuidance::stickerFrame(ReminderKind::movement, std::numeric_limits<int>::min()), 2);
        QCOMPARE(BreakGuidance::stickerFrame(ReminderKind::movement, 255), 5);
        BreakPreferences breaks;
        for (int minutes : {1, 5}) {
            breaks.movementDurationMinutes = minutes;
            QVERIFY(BreakGuidance::instruction(ReminderKind::movement, breaks)
                        .endsWith(minutes == 1 ? "for 1 minute." : "for 5 minutes."));
        }
    }

    void voicesBelongToTheirPacks()
    {
        const QList<std::pair<QString, Character>> table{
            {"bloop", Character::pemmy}, {"sprout", Character::quelly},   {"viru", Character::viru},
            {"vuzo", Character::vuzo},   {"vossik-fan", Character::zoze}, {"zuv", Character::zuv},
            {"moss", Character::custom}, {"", Character::custom},         {"BLOOP", Character::custom}};
        for (const auto& [id, character] : table) {
            QCOMPARE(CompanionVoice(packWithID(id)).character(), character);
            if (character != Character::custom)
                QCOMPARE(CompanionVoice::packID(character), id);
        }
    }

    void addressFollowsThePreferences()
    {
        Preferences p;
        p.recipient = QStringLiteral(" \n Sam\t ");
        const CompanionVoice quelly(packWithID("sprout"));
        const CompanionVoice custom(packWithID("moss"));
        QCOMPARE(quelly.address(p), QStringLiteral("Sam"));
        p.useCharacterNicknames = true;
        QCOMPARE(quelly.address(p), QStringLiteral("sweety"));
        QCOMPARE(custom.address(p), QStringLiteral("Sam"));
        p.recipient = QStringLiteral(" \n ");
        QCOMPARE(custom.address(p), QStringLiteral("friend"));
        p.useCharacterNicknames = false;
        QCOMPARE(quelly.address(p), QStringLiteral("sweety"));
    }

    void everyLineIsFilledAndDistinct()
    {
        Preferences p;
        p.recipient = QStringLiteral("Ondine");
        for (const char* id : {"bloop", "sprout", "viru", "vuzo", "vossik-fan", "zuv", "moss"}) {
            const CompanionVoice voice(packWithID(id));
            QSet<QString> lines;
            for (Personality personality : allPersonalities) {
                p.personality = personality;
                const QStringList said{voice.waterPrompt(p, 0), voice.waterPrompt(p, 1), voice.waterPrompt(p, 2),
                                       voice.waterResponse(p, true, false), voice.waterResponse(p, false, false),
                                       voice.breakPrompt(p, ReminderKind::eyeRest),
                                       voice.breakPrompt(p, ReminderKind::movement)};
                for (const QString& line : said) {
                    QVERIFY2(!line.isEmpty() && !line.contains(QLatin1Char('%')), qPrintable(line));
                    lines.insert(line);
                }
                QVERIFY(said[0].contains(QStringLiteral("Ondine")));
                QCOMPARE(voice.waterPrompt(p, -4), said[0]);
                QCOMPARE(voice.waterPrompt(p, 99), said[2]);
            }
            QCOMPARE(lines.size(), 21);
            for (bool accepted : {true, false})
                QVERIFY(voice.waterResponse(p, accepted, true).contains(QStringLiteral("preview")));
        }
    }

    void layoutSitsBottomRightAndNeverGrows()
    {
        const auto big = ReminderPlacement::layout(QRectF(1920, 28, 2560, 1412), 20);
        QCOMPARE(big.scale, 1.0);
        QCOMPARE(big.frame.bottomRight(), QPointF(1920 + 2560, 28 + 1412 + 20));
        const QRectF small(0, 0, 800, 370);
        const auto layout = ReminderPlacement::layout(small, 44);
        QCOMPARE(layout.scale, 370.0 / 716.0);
        QCOMPARE(layout.frame.right(), 800.0);
        QCOMPARE(layout.frame.height() - (small.bottom() - layout.frame.top()), 44 * layout.scale);
        QCOMPARE(ReminderPlacement::layout(QRectF(0, 0, 205, 2000), 20).scale, 0.5);
        const auto empty = ReminderPlacement::layout(QRectF(), 20);
        QVERIFY(empty.scale > 0 && std::isfinite(empty.frame.width()) && std::isfinite(empty.frame.top()));
    }
};

QTEST_GUILESS_MAIN(TestCompanion)
#include "test_companion.moc"
