#include "ModelTesting.h"
#include "model/ReminderClock.h"

#include <QTest>

using ModelTesting::utc;

namespace {

const QTimeZone berlin("Europe/Berlin");
const QTimeZone newYork("America/New_York");

QDateTime local(const QTimeZone& zone, int year, int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), zone);
}

Preferences quiet(int start, int end)
{
    Preferences preferences;
    preferences.quietEnabled = true;
    preferences.quietStart = start;
    preferences.quietEnd = end;
    return preferences;
}

} // namespace

class TestReminderClock : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(berlin.isValid() && newYork.isValid());
    }

    void quietHoursWrapPastMidnight()
    {
        struct Case {
            int start, end, hour, minute;
            bool expected;
        };
        for (const Case& c : {Case{22, 9, 21, 59, false}, Case{22, 9, 22, 0, true}, Case{22, 9, 8, 59, true},
                              Case{22, 9, 9, 0, false}, Case{13, 15, 12, 59, false},
                              Case{13, 15, 14, 30, true}, Case{13, 15, 15, 0, false},
                              Case{0, 0, 0, 0, false}, Case{23, 22, 22, 10, false}}) {
            const QDateTime date = local(berlin, 2024, 6, 12, c.hour, c.minute).toUTC();
            QVERIFY2(ReminderClock::isQuiet(date, quiet(c.start, c.end), berlin) == c.expected,
                     qPrintable(QStringLiteral("%1-%2 at %3:%4").arg(c.start).arg(c.end).arg(c.hour).arg(c.minute)));
        }
    }

    void nextAllowedEndsTheWindow()
    {
        Preferences preferences = quiet(22, 9);
        const QDateTime noon = local(berlin, 2024, 6, 12, 12, 17);
        QCOMPARE(ReminderClock::nextAllowed(noon, preferences, berlin), noon);
        QCOMPARE(ReminderClock::nextAllowed(local(berlin, 2024, 6, 12, 23, 30), preferences, berlin),
                 local(berlin, 2024, 6, 13, 9));
        QCOMPARE(ReminderClock::nextAllowed(local(berlin, 2024, 12, 31, 22), preferences, berlin),
                 local(berlin, 2025, 1, 1, 9));
        preferences.quietEnabled = false;
        const QDateTime night = local(berlin, 2024, 6, 12, 3);
        QVERIFY(!ReminderClock::isQuiet(night, preferences, berlin));
        QCOMPARE(ReminderClock::nextAllowed(night, preferences, berlin), night);
    }

    // Each expectation is the first instant at which the local clock has left the window.
    void nextAllowedAcrossDaylightSavingChanges()
    {
        struct Case {
            const char* name;
            QTimeZone zone;
            int start, end;
            QDateTime date, expected;
        };
        // Berlin: 2024-03-31 01:00 UTC skips 02:00-03:00; 2024-10-27 01:00 UTC repeats 02:00-03:00.
        // New York: 2024-03-10 07:00 UTC skips 02:00-03:00; 2024-11-03 06:00 UTC repeats 01:00-02:00.
        const Case cases[] = {
            {"Berlin spring, end in skipped hour", berlin, 22, 2, utc(2024, 3, 30, 22), utc(2024, 3, 31, 1)},
            {"Berlin spring, end after skipped hour", berlin, 22, 3, utc(2024, 3, 30, 22), utc(2024, 3, 31, 1)},
            {"Berlin spring, morning end", berlin, 22, 9, utc(2024, 3, 30, 23, 30), utc(2024, 3, 31, 7)},
            {"Berlin autumn, end in repeated hour", berlin, 22, 2, utc(2024, 10, 26, 21), utc(2024, 10, 27, 0)},
            {"Berlin autumn, end after repeated hour", berlin, 22, 3, utc(2024, 10, 26, 21), utc(2024, 10, 27, 2)},
            {"Berlin autumn, morning end", berlin, 22, 9, utc(2024, 10, 27, 1, 30), utc(2024, 10, 27, 8)},
            {"New York spring", newYork, 23, 2, utc(2024, 3, 10, 5, 30), utc(2024, 3, 10, 7)},
            {"New York autumn, first 1 a.m.", newYork, 22, 1, utc(2024, 11, 3, 3), utc(2024, 11, 3, 5)},
            {"New York autumn, inside repeated hour", newYork, 1, 2, utc(2024, 11, 3, 6, 15), utc(2024, 11, 3, 7)},
        };
        for (const Case& c : cases) {
            const Preferences preferences = quiet(c.start, c.end);
            const QDateTime allowed = ReminderClock::nextAllowed(c.date, preferences, c.zone);
            QVERIFY2(ReminderClock::isQuiet(c.date, preferences, c.zone), c.name);
            QVERIFY2(allowed == c.expected, qPrintable(c.name + QStringLiteral(": ") + allowed.toString(Qt::ISODate)));
            QVERIFY2(!ReminderClock::isQuiet(allowed, preferences, c.zone), c.name);
            QVERIFY2(ReminderClock::isQuiet(allowed.addSecs(-1), preferences, c.zone), c.name);
        }
    }

    void todayFollowsTheLocalCalendar()
    {
        // 2024-10-27 lasts 25 hours in Berlin.
        const QList<Drink> drinks{
            {QUuid::createUuid(), local(berlin, 2024, 10, 26, 23, 59), 100},
            {QUuid::createUuid(), local(berlin, 2024, 10, 27, 0, 0), 200},
            {QUuid::createUuid(), local(berlin, 2024, 10, 27, 23, 59), 300},
            {QUuid::createUuid(), local(berlin, 2024, 10, 27, 1, 0), 400},
            {QUuid::createUuid(), local(berlin, 2024, 10, 28, 0, 0), 500},
        };
        const QDateTime now = local(berlin, 2024, 10, 27, 12).toUTC();
        QCOMPARE(ReminderClock::today(drinks, now, berlin), (QList<Drink>{drinks[1], drinks[2], drinks[3]}));
        QVERIFY(ReminderClock::isSameDay(drinks[0].date, drinks[1].date, newYork));
        const QList<BreakRecord> breaks{{QUuid::createUuid(), ReminderKind::eyeRest, drinks[0].date, 20},
                                        {QUuid::createUuid(), ReminderKind::movement, drinks[2].date, 300}};
        QCOMPARE(ReminderClock::today(breaks, now, berlin), QList<BreakRecord>{breaks[1]});
    }

    void timeOfDayLeavesOutSeconds()
    {
        const QDateTime date = QDateTime(QDate(2024, 3, 5), QTime(13, 7, 42), Qt::UTC);
        QCOMPARE(ReminderClock::timeOfDay(date, berlin, QLocale::c()), QStringLiteral("14:07"));
        QCOMPARE(ReminderClock::timeOfDay(date, newYork, QLocale(QStringLiteral("en_US"))), QStringLiteral("8:07 AM"));
        const QList<std::pair<QString, QString>> formats{
            {"H.mm.s", "H.mm"},
            {"AP h:mm:ss", "AP h:mm"},
            {"HH 'h' mm 'min' ss 's' t", "HH 'h' mm 'min' t"},
            {"HH:mm 'ss'", "HH:mm 'ss'"},
            {"H時mm分ss秒", "H時mm分"},
            {"ss:mm", "mm"}};
        for (const auto& [format, expected] : formats)
            QCOMPARE(ReminderClock::withoutSeconds(format), expected);
    }
};

QTEST_GUILESS_MAIN(TestReminderClock)
#include "test_reminder_clock.moc"
