#include "model/SavedState.h"
#include "model/StateFileScan.h"
#include "support/ModelTesting.h"
#include "support/TableTesting.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTest>

using namespace ModelTesting;

namespace {

// Every field away from its default, so that a field the coding drops cannot go unnoticed.
SavedState richState()
{
    SavedState state;
    Preferences& p = state.preferences;
    p = {false,
         30,
         Personality::menace,
         QStringLiteral("Ana"),
         true,
         QStringLiteral("Sam"),
         QStringLiteral("Sip."),
         false,
         23,
         7,
         false,
         10,
         330,
         QStringLiteral("sprout"),
         25,
         BreakPreferences{true, 25, 30, true, 45, 3},
         SafeguardPreferences{true, true, 7, true, true, {QStringLiteral("org.kde.kdenlive")}, true}};
    state.drinks = {{QUuid::createUuid(), utc(2024, 5, 1, 9, 30).addMSecs(123), 250},
                    {QUuid::createUuid(), utc(2024, 5, 1, 11), 330}};
    state.breakHistory = {{QUuid::createUuid(), ReminderKind::movement, utc(2024, 5, 1, 10), 300}};
    state.nextDue = utc(2024, 5, 1, 12);
    state.pausedUntil = utc(2024, 5, 1, 13);
    state.nextEyeDue = utc(2024, 5, 1, 12, 20);
    state.nextMovementDue = utc(2024, 5, 1, 12, 40);
    state.focusUntil = utc(2024, 5, 1, 14);
    state.focusIndefinite = true;
    state.meetingUntil = utc(2024, 5, 1, 15);
    state.meetingIndefinite = true;
    state.activeBreakKind = ReminderKind::eyeRest;
    state.tourVersion = 1;
    return state;
}

// The JSON parser's reading of the whole file, which the record-by-record reader must always
// agree with; none when the parser refuses the file.
std::optional<DecodedState> parsedWhole(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return decodeSavedState(document.object());
}

std::optional<DecodedState> readFile(const QByteArray& bytes)
{
    try {
        return decodeStateFile(bytes);
    } catch (const ImportError&) {
        return std::nullopt;
    }
}

bool sameReading(const std::optional<DecodedState>& a, const std::optional<DecodedState>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->state == b->state && a->droppedRecords == b->droppedRecords && a->correctedRecords == b->correctedRecords
           && a->migratedFromVersion1 == b->migratedFromVersion1 && a->foreign == b->foreign;
}

// `bytes` with the first `from` replaced by `to`.
QByteArray replacedOnce(QByteArray bytes, const QByteArray& from, const QByteArray& to)
{
    const qsizetype at = bytes.indexOf(from);
    return at < 0 ? bytes : bytes.replace(at, from.size(), to);
}

void expectEveryValueChanged(const QJsonObject& rich, const QJsonObject& plain)
{
    for (auto it = rich.begin(); it != rich.end(); ++it) {
        const QJsonValue other = plain.value(it.key());
        if (it->isObject() && other.isObject())
            expectEveryValueChanged(it->toObject(), other.toObject());
        else if (it.key() != QLatin1String("schemaVersion"))
            QVERIFY2(*it != other, qPrintable(it.key()));
    }
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

    // A text is bounded in characters and in code points: one letter with 100,000 accents is
    // one character, and must not become a text that costs seconds to draw. Real text, emoji
    // sequences included, keeps every character it may have.
    void storedTextsAreBoundedInCodePointsToo()
    {
        const QString heavy = QStringLiteral("A") + QString(100000, QChar(0x0301));
        const QString family = QStringLiteral("👨‍👩‍👧‍👦");
        QString families;
        for (int i = 0; i < 80; ++i)
            families += family;
        Preferences preferences;
        preferences.recipient = heavy;
        preferences.sender = families + QStringLiteral("!");
        preferences.loveNote = heavy;
        preferences.safeguards.protectedApps = {QString(300, QLatin1Char('a')), QStringLiteral("org.gnome.Terminal")};
        preferences.companionID = QString(65, QLatin1Char('c'));
        const Preferences bounded = preferences.normalized();
        QVERIFY(bounded.recipient.startsWith(QLatin1Char('A')));
        QVERIFY2(bounded.recipient.size() <= 80 * 8, qPrintable(QString::number(bounded.recipient.size())));
        QVERIFY2(bounded.loveNote.size() <= 1000 * 8, qPrintable(QString::number(bounded.loveNote.size())));
        QCOMPARE(bounded.sender, families);
        QCOMPARE(bounded.safeguards.protectedApps, QStringList{QStringLiteral("org.gnome.Terminal")});
        QCOMPARE(bounded.companionID, QStringLiteral("bloop"));
    }

    void stateSurvivesARoundTripAndOmitsAbsentOptionals()
    {
        SavedState state = richState();
        expectEveryValueChanged(encode(state), encode(SavedState()));
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

    // A state may hold any of its keys, or none at all (a first launch wrote "{}"); a file that
    // holds keys, but none of a state's, is another program's.
    void aFileWithNoneOfTheStateKeysIsAnotherProgramsFile_data()
    {
        addColumns<QByteArray, bool>("json", "foreign");
        QTest::newRow("empty") << QByteArray("{}") << false;
        QTest::newRow("first format, settings only") << QByteArray(R"({"preferences": {"glassML": 400}})") << false;
        QTest::newRow("history only") << QByteArray(R"({"drinks": []})") << false;
        QTest::newRow("one key of ours among others") << QByteArray(R"({"theme": "dark", "tourVersion": 1})") << false;
        QTest::newRow("another program's settings") << QByteArray(R"({"theme": "dark"})") << true;
        QTest::newRow("keys that only look like ours") << QByteArray(R"({"Preferences": {}, "drinks ": []})") << true;
    }
    void aFileWithNoneOfTheStateKeysIsAnotherProgramsFile()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, foreign);
        QCOMPARE(decodeStateFile(json).foreign, foreign);
        QCOMPARE(decodeSavedState(QJsonDocument::fromJson(json).object()).foreign, foreign);
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
        // Two drinks of the largest int: kept, but no bigger than a glass Dewbell can pour.
        const QJsonObject huge = variant("ml", 2147483647);
        json.insert(QStringLiteral("drinks"),
                    QJsonArray{drinks.at(0), variant("id", QJsonValue()), variant("date", QStringLiteral("yesterday")),
                               variant("ml", -250), variant("ml", QStringLiteral("250")), variant("date", 1e308),
                               variant("id", QStringLiteral("{oops}")), QJsonValue(17), QJsonValue(), drinks.at(1),
                               huge, huge});
        QJsonArray breaks = json.value(QLatin1String("breakHistory")).toArray();
        const QJsonObject goodBreak = breaks.at(0).toObject();
        for (const char* kind : {"water", "stretch"}) {
            QJsonObject unknown = goodBreak;
            unknown.insert(QStringLiteral("kind"), QLatin1String(kind));
            breaks.append(unknown);
        }
        QJsonObject endless = goodBreak;
        endless.insert(QStringLiteral("seconds"), 1e12);
        breaks.append(endless);
        json.insert(QStringLiteral("breakHistory"), breaks);

        SavedState expected = state;
        expected.drinks.append(Drink{state.drinks.at(0).id, state.drinks.at(0).date, 1000});
        expected.drinks.append(expected.drinks.last());
        expected.breakHistory.append(state.breakHistory.at(0));
        expected.breakHistory.last().seconds = 24 * 3600;
        // Read as objects, from the writer's compact form and from a hand-edited indented file.
        for (const auto& decoded :
             {decodeSavedState(json), decodeStateFile(QJsonDocument(json).toJson(QJsonDocument::Compact)),
              decodeStateFile(QJsonDocument(json).toJson(QJsonDocument::Indented))}) {
            QCOMPARE(decoded.state.drinks, expected.drinks);
            QCOMPARE(decoded.state.breakHistory, expected.breakHistory);
            QCOMPARE(decoded.droppedRecords, 10);
            QCOMPARE(decoded.correctedRecords, 3);
        }
    }

    // The record-by-record reader takes the writer's own form and must read every file, good or
    // damaged, exactly as the JSON parser reads it whole: the same state, counts and refusals.
    void theQuickReaderAgreesWithTheParser()
    {
        SavedState state = richState();
        for (int i = 0; i < 200; ++i)
            state.drinks.append({QUuid::createUuid(), utc(2024, 5, 2).addMSecs(qint64(i) * 61001), 250});
        state.drinks.append({QUuid::createUuid(), QDateTime::fromSecsSinceEpoch(978307200 + 1000000000, Qt::UTC), 0});
        state.drinks.append({QUuid::createUuid(), utc(1990, 1, 1).addMSecs(500), 1000});
        const QByteArray file = encodeStateFile(state);
        const auto parts = StateFileScan::split(file);
        QVERIFY(parts && parts->drinks && parts->breakHistory);
        QVERIFY(parts->rest.size() < 2000);
        QVERIFY(file.contains(",\"ml\":0}") && file.contains("\"date\":1e+09,"));

        QList<QByteArray> variants{file, QJsonDocument::fromJson(file).toJson(QJsonDocument::Indented)};
        const QList<std::pair<QByteArray, QByteArray>> edits{
            {"\"ml\":250}", "\"ml\":0250}"},
            {"\"ml\":250}", "\"ml\":2.5e2}"},
            {"\"ml\":250}", "\"ml\":-0}"},
            {"\"ml\":250}", "\"ml\":1e400}"},
            {"\"ml\":250}", "\"ml\":\"250\"}"},
            {"\"ml\":250}", "\"ml\":250,\"ml\":-1}"},
            {"\"ml\":250}", "\"ml\":[250]}"},
            {"\"id\":\"", "\"id\" : \""},
            {"\"id\":\"", "\"id\":\"\\u0041"},
            {"\"date\":", "\"date\":-"},
            {"\"date\":", "\"date\":1E+9,\"x\":"},
            {"\"drinks\":[", "\"dr\\u0069nks\":["},
            {"\"drinks\":[", "\"drinks\":[],\"drinks\":["},
            {"\"drinks\":[", "\"drinks\":[[],"},
            {"\"drinks\":[", "\"drinks\":[ {\"a\":[}], "},
            {"],\"breakHistory\"", ",],\"breakHistory\""},
            {"],\"breakHistory\"", "] ,\"breakHistory\""},
            {"],\"breakHistory\"", "],\"drinks\":5,\"breakHistory\""},
            {"\"eyeRest\"", "\"stretch\""},
            {"\"eyeRest\"", "\"eyeR\xc3\xa9st\""},
            {"\"eyeRest\"", "\"eye\xffRest\""},
            {"{\"schemaVersion\"", "\xef\xbb\xbf{\"schemaVersion\""},
            {"{\"schemaVersion\"", "{\"schemaVersion\":1,\"schemaVersion\""},
        };
        for (const auto& [from, to] : edits)
            variants.append(replacedOnce(file, from, to));
        variants.append(file + " x");
        variants.append(file + " \n\t");
        for (qsizetype length = 0; length < file.size(); length += 97)
            variants.append(file.left(length));
        QRandomGenerator random(11);
        const QByteArray structural = "{}[]\":,\\ -.e0x";
        for (int i = 0; i < 2000; ++i) {
            QByteArray damaged = file;
            damaged[random.bounded(int(file.size()))] = structural[random.bounded(int(structural.size()))];
            variants.append(damaged);
        }

        int refused = 0;
        for (const QByteArray& bytes : std::as_const(variants)) {
            const auto whole = parsedWhole(bytes);
            refused += !whole;
            QVERIFY2(sameReading(readFile(bytes), whole), bytes.left(300).constData());
        }
        // Both kinds were tried: files the parser takes and files it refuses.
        QVERIFY(refused > 100 && refused < variants.size() - 100);
    }

    // The parser refuses a file with more than 1,024 arrays and objects open at once. A record
    // sits two deep in the file (the top-level object, its history array), so the last depth a
    // record may have is 1,022, and the record-by-record reader must draw the line there too.
    void deepRecordsMeetTheParsersLimitInBothReaders()
    {
        const QByteArray file = encodeStateFile(richState());
        const auto nested = [](int depth, bool objects) {
            return objects ? QByteArray("{\"a\":").repeated(depth) + "1" + QByteArray("}").repeated(depth)
                           : QByteArray("[").repeated(depth) + QByteArray("]").repeated(depth);
        };
        for (const QByteArray array : {"\"drinks\":[", "\"breakHistory\":["}) {
            for (int depth = 1020; depth <= 1025; ++depth) {
                for (const bool objects : {false, true}) {
                    // Deep on its own, and deep inside a record that is otherwise whole.
                    const QByteArray inRecord =
                        "{\"date\":1,\"id\":\"" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces)
                        + "\",\"ml\":250,\"seconds\":20,\"kind\":\"eyeRest\",\"x\":" + nested(depth - 1, objects) + "}";
                    for (const QByteArray& record : {nested(depth, objects), inRecord}) {
                        const QByteArray bytes = replacedOnce(file, array, array + record + ',');
                        const auto whole = parsedWhole(bytes);
                        QCOMPARE(whole.has_value(), depth <= 1022);
                        QVERIFY2(sameReading(readFile(bytes), whole), qPrintable(QStringLiteral("%1 deep").arg(depth)));
                    }
                }
            }
        }
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
