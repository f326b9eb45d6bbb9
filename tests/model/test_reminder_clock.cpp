#include "model/ReminderClock.h"
#include "support/ModelTesting.h"

#include <QTest>

using ModelTesting::utc;

namespace {

const QTimeZone berlin("Europe/Berlin");
const QTimeZone newYork("America/New_York");

QDateTime inBerlin(int year, int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), berlin);
}

}  // namespace

class TestReminderClock : public QObject {
    Q_OBJECT

private slots:
    // The expected instant is the first at which the local clock has left the window; none means not quiet.
    void quietHoursAcrossMidnightAndDaylightSaving()
    {
        QVERIFY(berlin.isValid() && newYork.isValid());
        struct Case {
            QTimeZone zone;
            int start, end;
            QDateTime date, expected;
        };
        // Berlin: 2024-03-31 01:00 UTC skips 02:00-03:00; 2024-10-27 01:00 UTC repeats 02:00-03:00.
        // New York: 2024-03-10 07:00 UTC skips 02:00-03:00; 2024-11-03 06:00 UTC repeats 01:00-02:00.
        const Case cases[] = {
            {berlin, 22, 9, inBerlin(2024, 6, 12, 21, 59), {}},
            {berlin, 22, 9, inBerlin(2024, 6, 12, 22), inBerlin(2024, 6, 13, 9)},
            {berlin, 22, 9, inBerlin(2024, 6, 12, 8, 59), inBerlin(2024, 6, 12, 9)},
            {berlin, 22, 9, inBerlin(2024, 6, 12, 9), {}},
            {berlin, 22, 9, inBerlin(2024, 12, 31, 22), inBerlin(2025, 1, 1, 9)},
            {berlin, 13, 15, inBerlin(2024, 6, 12, 12, 59), {}},
            {berlin, 13, 15, inBerlin(2024, 6, 12, 14, 30), inBerlin(2024, 6, 12, 15)},
            {berlin, 0, 0, inBerlin(2024, 6, 12, 0), {}},
            {berlin, 23, 22, inBerlin(2024, 6, 12, 22, 10), {}},
            {berlin, 22, 2, utc(2024, 3, 30, 22), utc(2024, 3, 31, 1)},
            {berlin, 22, 3, utc(2024, 3, 30, 22), utc(2024, 3, 31, 1)},
            {berlin, 22, 9, utc(2024, 3, 30, 23, 30), utc(2024, 3, 31, 7)},
            {berlin, 22, 2, utc(2024, 10, 26, 21), utc(2024, 10, 27, 0)},
            {berlin, 22, 3, utc(2024, 10, 26, 21), utc(2024, 10, 27, 2)},
            {berlin, 22, 9, utc(2024, 10, 27, 1, 30), utc(2024, 10, 27, 8)},
            {newYork, 23, 2, utc(2024, 3, 10, 5, 30), utc(2024, 3, 10, 7)},
            {newYork, 22, 1, utc(2024, 11, 3, 3), utc(2024, 11, 3, 5)},
            {newYork, 1, 2, utc(2024, 11, 3, 6, 15), utc(2024, 11, 3, 7)},
        };
        for (const Case& c : cases) {
            Preferences preferences;
            preferences.quietEnabled = true;
            preferences.quietStart = c.start;
            preferences.quietEnd = c.end;
            const QDateTime allowed = ReminderClock::nextAllowed(c.date, preferences, c.zone);
            const QByteArray name = c.zone.id() + ' ' + c.date.toUTC().toString(Qt::ISODate).toLatin1();
            QVERIFY2(ReminderClock::isQuiet(c.date, preferences, c.zone) == c.expected.isValid(), name);
            QVERIFY2(allowed == (c.expected.isValid() ? c.expected : c.date), name);
            QVERIFY2(!ReminderClock::isQuiet(allowed, preferences, c.zone), name);
            if (c.expected.isValid())
                QVERIFY2(ReminderClock::isQuiet(allowed.addSecs(-1), preferences, c.zone), name);
        }
    }
};

QTEST_GUILESS_MAIN(TestReminderClock)
#include "test_reminder_clock.moc"
