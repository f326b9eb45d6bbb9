#include "model/SavedState.h"
#include "support/ModelTesting.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace ModelTesting;

namespace {

SavedState richState()
{
    SavedState state;
    state.preferences.personality = Personality::menace;
    state.preferences.recipient = QStringLiteral("Ana");
    state.preferences.breaks.eyeEnabled = true;
    state.preferences.safeguards.protectedApps = {QStringLiteral("org.kde.kdenlive")};
    state.drinks = {{QUuid::createUuid(), utc(2024, 5, 1, 9, 30).addMSecs(123), 250},
                    {QUuid::createUuid(), utc(2024, 5, 1, 11), 330}};
    state.breakHistory = {{QUuid::createUuid(), ReminderKind::movement, utc(2024, 5, 1, 10), 300}};
    state.nextDue = utc(2024, 5, 1, 12);
    state.pausedUntil = utc(2024, 5, 1, 13);
    state.nextEyeDue = utc(2024, 5, 1, 12, 20);
    state.focusUntil = utc(2024, 5, 1, 14);
    state.meetingIndefinite = true;
    state.activeBreakKind = ReminderKind::eyeRest;
    state.tourVersion = 1;
    return state;
}

}  // namespace

class TestSavedState : public QObject {
    Q_OBJECT

private slots:
    void preferencesKeepDefaultsForMissingAndMistypedKeys()
    {
        const Preferences p = decodePreferences(QJsonDocument::fromJson(R"({"intervalMinutes": "60", "enabled": 0,
            "personality": "grumpy", "recipient": 5, "breaks": [], "safeguards": {"idleMinutes": 12,
            "protectedApps": ["a.b", 7, null]}, "glassML": 300, "dailyGoal": -1e300})")
                                                    .object());
        Preferences expected;
        expected.glassML = 300;
        expected.dailyGoal = std::numeric_limits<int>::min();
        expected.safeguards.idleMinutes = 12;
        expected.safeguards.protectedApps = {QStringLiteral("a.b")};
        QCOMPARE(p, expected);
    }

    void stateSurvivesARoundTripAndOmitsAbsentOptionals()
    {
        SavedState state = richState();
        state.drinks.append({QUuid::createUuid(), utc(1999, 12, 31, 23, 59).addMSecs(1), 0});
        const DecodedState decoded = decodeStateFile(encodeStateFile(state));
        QCOMPARE(decoded.state, state);
        QVERIFY(!decoded.migratedFromVersion1);
        QCOMPARE(decoded.droppedRecords, 0);
        // The history is written directly for speed; it must match the object encoder.
        QCOMPARE(QJsonDocument::fromJson(encodeStateFile(state)).object(), encode(state));

        const QJsonObject json = encode(SavedState());
        for (const char* key : {"pausedUntil", "nextEyeDue", "focusUntil", "meetingUntil", "activeBreakKind"})
            QVERIFY2(!json.contains(QLatin1String(key)), key);
        QCOMPARE(decodeSavedState(json).state, SavedState());
    }

    void fileWithoutVersionIsVersionOne()
    {
        const DecodedState old = decodeStateFile(R"({"preferences": {"glassML": 400}, "drinks": []})");
        QVERIFY(old.migratedFromVersion1);
        QCOMPARE(old.state.schemaVersion, 2);
        QCOMPARE(old.state.preferences.glassML, 400);
        QVERIFY(decodeStateFile(R"({"schemaVersion": 1})").migratedFromVersion1);
        QVERIFY(!decodeStateFile(R"({"schemaVersion": 2})").migratedFromVersion1);
    }

    void oneBadRecordNeverCostsTheHistory()
    {
        const SavedState state = richState();
        QJsonObject json = encode(state);
        const QJsonArray drinks = json.value(QLatin1String("drinks")).toArray();
        auto variant = [good = drinks.at(0).toObject()](const char* key, const QJsonValue& value) {
            QJsonObject bad = good;
            bad.insert(QLatin1String(key), value);
            return bad;
        };
        json.insert(QStringLiteral("drinks"),
                    QJsonArray{drinks.at(0), variant("id", QJsonValue()), variant("date", QStringLiteral("yesterday")),
                               variant("ml", -250), variant("ml", QStringLiteral("250")), variant("date", 1e308),
                               variant("id", QStringLiteral("{oops}")), QJsonValue(17), QJsonValue(), drinks.at(1)});
        QJsonArray breaks = json.value(QLatin1String("breakHistory")).toArray();
        QJsonObject waterBreak = breaks.at(0).toObject();
        waterBreak.insert(QStringLiteral("kind"), QStringLiteral("water"));
        breaks.append(waterBreak);
        json.insert(QStringLiteral("breakHistory"), breaks);

        const DecodedState decoded = decodeSavedState(json);
        QCOMPARE(decoded.state.drinks, state.drinks);
        QCOMPARE(decoded.state.breakHistory, state.breakHistory);
        QCOMPARE(decoded.droppedRecords, 9);
    }

    void hostileTopLevelValuesFallBackToDefaults()
    {
        const DecodedState decoded = decodeStateFile(R"({"schemaVersion": "2", "preferences": [1],
            "drinks": {"id": 1}, "nextDue": "soon", "pausedUntil": 1e308, "focusIndefinite": "yes",
            "activeBreakKind": "water", "tourVersion": 1e300, "breakHistory": null})");
        SavedState expected;
        expected.tourVersion = std::numeric_limits<int>::max();
        QCOMPARE(decoded.state, expected);
        QVERIFY(decoded.migratedFromVersion1);
    }

    void unreadableFilesThrowASentence()
    {
        for (const QByteArray& bytes : {QByteArray(), QByteArray(R"({"drinks": [)"), QByteArray("[]")}) {
            const QString message = refusal([&] { decodeStateFile(bytes); });
            QVERIFY2(message.startsWith(QStringLiteral("Your saved data isn't readable: ")), qPrintable(message));
        }
    }
};

QTEST_GUILESS_MAIN(TestSavedState)
#include "test_saved_state.moc"
