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

CharacterPack packWithID(const QString& id, const QString& kind = QStringLiteral("sprite"))
{
    CharacterPack pack;
    pack.id = id;
    pack.kind = kind;
    return pack;
}

} // namespace

class TestCompanion : public QObject {
    Q_OBJECT

private slots:
    void walkOffsetAtItsEdges_data()
    {
        QTest::addColumn<CompanionPhase>("phase");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<bool>("declined");
        QTest::addColumn<double>("offset");
        QTest::newRow("enter start") << CompanionPhase::entering << 0.0 << false << 320.0;
        QTest::newRow("enter negative") << CompanionPhase::entering << -3.0 << false << 320.0;
        QTest::newRow("enter NaN") << CompanionPhase::entering << notANumber << false << 320.0;
        QTest::newRow("enter half") << CompanionPhase::entering << 1.0 << false << 160.0;
        QTest::newRow("enter end") << CompanionPhase::entering << 2.0 << false << 0.0;
        QTest::newRow("enter ignores decline") << CompanionPhase::entering << 1.0 << true << 160.0;
        QTest::newRow("leave NaN") << CompanionPhase::leaving << notANumber << true << 0.0;
        QTest::newRow("leave end") << CompanionPhase::leaving << 2.0 << false << 320.0;
        QTest::newRow("sad walk half") << CompanionPhase::leaving << 1.6 << true << 160.0;
        QTest::newRow("sad walk at 2.0") << CompanionPhase::leaving << 2.0 << true << 200.0;
        QTest::newRow("sad walk end") << CompanionPhase::leaving << 3.2 << true << 320.0;
        QTest::newRow("sad walk infinite") << CompanionPhase::leaving << HUGE_VAL << true << 320.0;
        QTest::newRow("declined") << CompanionPhase::declined << 1.0 << true << 0.0;
    }
    void walkOffsetAtItsEdges()
    {
        QFETCH(CompanionPhase, phase);
        QFETCH(double, elapsed);
        QFETCH(bool, declined);
        QFETCH(double, offset);
        const auto response = declined ? std::optional(CompanionPhase::declined) : std::nullopt;
        QCOMPARE(CompanionMotion::horizontalOffset(phase, elapsed, response), offset);
    }

    void walkCycleWraps()
    {
        QCOMPARE(CompanionMotion::walkFrame(0.0), 0);
        QCOMPARE(CompanionMotion::walkFrame(0.75), 7);
        QCOMPARE(CompanionMotion::walkFrame(0.8), 0);
        QCOMPARE(CompanionMotion::walkFrame(1.0, 3.0), 3);
        QCOMPARE(CompanionMotion::walkFrame(-1.0), 0);
        QCOMPARE(CompanionMotion::walkFrame(notANumber), 0);
        QCOMPARE(CompanionMotion::walkFrame(1e300), 0);
    }

    void breakGuidanceNamesTheLengthAndKeepsStickersInTheirSet()
    {
        BreakPreferences breaks;
        breaks.eyeDurationSeconds = 20;
        breaks.movementDurationMinutes = 1;
        QCOMPARE(BreakGuidance::instruction(ReminderKind::eyeRest, breaks),
                 QStringLiteral("Look at something far away and let your eyes soften for 20 seconds."));
        QCOMPARE(BreakGuidance::instruction(ReminderKind::movement, breaks),
                 QStringLiteral("Stand up, stretch, and walk a few steps for 1 minute."));
        breaks.movementDurationMinutes = 5;
        QVERIFY(BreakGuidance::instruction(ReminderKind::movement, breaks).endsWith("for 5 minutes."));

        QCOMPARE(BreakGuidance::stickerFrame(ReminderKind::eyeRest, -7), 0);
        QCOMPARE(BreakGuidance::stickerFrame(ReminderKind::movement, std::numeric_limits<int>::min()), 2);
        QCOMPARE(BreakGuidance::stickerFrame(ReminderKind::movement, 255), 5);
        QCOMPARE(BreakGuidance::stickerFrame(ReminderKind::water, 6), 4);
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
        QVERIFY(!CompanionVoice(packWithID("moss")).petName());
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
        QSet<QString> stageZeroLines;
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
                stageZeroLines.insert(said[0]);
            }
            QCOMPARE(lines.size(), 21);
            for (bool accepted : {true, false}) {
                const QString preview = voice.waterResponse(p, accepted, true);
                QVERIFY2(preview.contains(QStringLiteral("preview")), qPrintable(preview));
            }
        }
        QCOMPARE(stageZeroLines.size(), 21);
    }

    void footInsetDependsOnKindAndArt()
    {
        QCOMPARE(ReminderPlacement::footInset(packWithID("fan", "sprite"), ReminderKind::water), 44.0);
        QCOMPARE(ReminderPlacement::footInset(packWithID("viru", "viru"), ReminderKind::water), 32.0);
        QCOMPARE(ReminderPlacement::footInset(packWithID("viru", "viru"), ReminderKind::movement), 20.0);
    }

    void layoutSitsBottomRightAndNeverGrows()
    {
        const auto big = ReminderPlacement::layout(QRectF(1920, 28, 2560, 1412), 20);
        QCOMPARE(big.scale, 1.0);
        QCOMPARE(big.frame, QRectF(1920 + 2560 - 410, 28 + 1412 - 740, 410, 760));

        const QRectF small(0, 0, 800, 370);
        const auto layout = ReminderPlacement::layout(small, 44);
        QCOMPARE(layout.scale, 370.0 / 716.0);
        QCOMPARE(layout.frame.right(), 800.0);
        QCOMPARE(layout.frame.top(), 370.0 - 716.0 * layout.scale);
        QCOMPARE(layout.frame.height() - (small.bottom() - layout.frame.top()), 44 * layout.scale);

        const auto narrow = ReminderPlacement::layout(QRectF(0, 0, 205, 2000), 20);
        QCOMPARE(narrow.scale, 0.5);
        QCOMPARE(narrow.frame.left(), 0.0);

        const auto empty = ReminderPlacement::layout(QRectF(), 20);
        QVERIFY(empty.scale > 0 && std::isfinite(empty.frame.width()) && std::isfinite(empty.frame.top()));
    }
};

QTEST_GUILESS_MAIN(TestCompanion)
#include "test_companion.moc"
