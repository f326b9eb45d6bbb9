#include "model/ReminderClock.h"

#include <algorithm>

namespace {

// Quiet hours can last at most 23 hours, so the window ends within this many hour steps,
// a daylight-saving change included.
constexpr int maximumHourSteps = 48;

bool hourIsQuiet(int hour, int start, int end)
{
    if (start == end)
        return false;
    if (start < end)
        return hour >= start && hour < end;
    return hour >= start || hour < end;
}

// The next instant after `date` at which the local clock shows a full hour.
QDateTime nextFullLocalHour(const QDateTime& date, const QTimeZone& zone)
{
    const QTime local = date.toTimeZone(zone).time();
    const qint64 intoHour = (qint64(local.minute()) * 60 + local.second()) * 1000 + local.msec();
    return date.addMSecs(3600 * 1000 - intoHour);
}

// [start, end) of the local calendar day holding `now`, as instants.
std::pair<QDateTime, QDateTime> localDayBounds(const QDateTime& now, const QTimeZone& zone)
{
    const QDate day = now.toTimeZone(zone).date();
    return {day.startOfDay(zone), day.addDays(1).startOfDay(zone)};
}

template<typename Record>
QList<Record> onLocalDay(const QList<Record>& records, const QDateTime& now, const QTimeZone& zone)
{
    const auto [start, end] = localDayBounds(now, zone);
    QList<Record> result;
    for (const Record& record : records) {
        if (record.date >= start && record.date < end)
            result.append(record);
    }
    return result;
}

// A run of one field's letters ("HH", "ss", "AP") or of the literal text between fields.
struct FormatToken {
    QString text;
    bool isField = false;
};

bool isFieldLetter(QChar letter)
{
    return QStringLiteral("hHmszaApPt").contains(letter);
}

bool continuesField(const QString& field, QChar letter)
{
    const QChar last = field.back();
    return letter == last || (last.toUpper() == u'A' && letter.toUpper() == u'P');
}

// Splits a QLocale time format into fields and literals; quoted text is always literal.
QList<FormatToken> tokenized(const QString& format)
{
    QList<FormatToken> tokens;
    bool quoted = false;
    for (const QChar character : format) {
        if (character == u'\'')
            quoted = !quoted;
        const bool field = !quoted && isFieldLetter(character);
        const bool extends = !tokens.isEmpty() && tokens.back().isField == field
                             && (!field || continuesField(tokens.back().text, character));
        if (extends)
            tokens.back().text += character;
        else
            tokens.append({QString(character), field});
    }
    return tokens;
}

// A literal with a letter names a unit ("秒", "'min'"); one without only separates (":", ".").
bool namesUnit(const QString& literal)
{
    return std::any_of(literal.begin(), literal.end(), [](QChar character) { return character.isLetter(); });
}

void dropField(QList<FormatToken>& tokens, qsizetype at)
{
    const auto isLiteral = [&tokens](qsizetype index) {
        return index >= 0 && index < tokens.size() && !tokens[index].isField;
    };
    if (isLiteral(at + 1) && namesUnit(tokens[at + 1].text))
        tokens.remove(at, 2);  // "ss秒": the unit goes with its field
    else if (isLiteral(at - 1) && !namesUnit(tokens[at - 1].text))
        tokens.remove(at - 1, 2);  // "mm:ss": the separator joins it to the minutes
    else if (isLiteral(at + 1))
        tokens.remove(at, 2);
    else
        tokens.remove(at);
}

}  // namespace

bool ReminderClock::isQuiet(const QDateTime& date, const Preferences& preferences, const QTimeZone& zone)
{
    if (!preferences.quietEnabled || !date.isValid())
        return false;
    const int hour = date.toTimeZone(zone).time().hour();
    return hourIsQuiet(hour, std::clamp(preferences.quietStart, 0, 23), std::clamp(preferences.quietEnd, 0, 23));
}

QDateTime ReminderClock::nextAllowed(const QDateTime& date, const Preferences& preferences, const QTimeZone& zone)
{
    // Walking the local full hours, rather than building "quietEnd:00" on a calendar day, lands
    // on the first allowed instant even when a daylight-saving change skips or repeats that hour.
    QDateTime candidate = date;
    for (int step = 0; step < maximumHourSteps && isQuiet(candidate, preferences, zone); ++step)
        candidate = nextFullLocalHour(candidate, zone);
    return candidate;
}

QList<Drink> ReminderClock::today(const QList<Drink>& drinks, const QDateTime& now, const QTimeZone& zone)
{
    return onLocalDay(drinks, now, zone);
}

QList<BreakRecord> ReminderClock::today(const QList<BreakRecord>& breaks, const QDateTime& now, const QTimeZone& zone)
{
    return onLocalDay(breaks, now, zone);
}

QString ReminderClock::withoutSeconds(const QString& format)
{
    QList<FormatToken> tokens = tokenized(format);
    const auto isSeconds = [](const FormatToken& token) { return token.isField && token.text.front() == u's'; };
    for (auto found = std::find_if(tokens.begin(), tokens.end(), isSeconds); found != tokens.end();
         found = std::find_if(tokens.begin(), tokens.end(), isSeconds))
        dropField(tokens, found - tokens.begin());

    QString result;
    for (const FormatToken& token : tokens)
        result += token.text;
    return result.trimmed();
}

QString ReminderClock::timeOfDay(const QDateTime& date, const QTimeZone& zone, const QLocale& locale)
{
    return locale.toString(date.toTimeZone(zone).time(), withoutSeconds(locale.timeFormat(QLocale::ShortFormat)));
}
