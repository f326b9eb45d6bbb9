#pragma once

#include <QAnyStringView>
#include <QLatin1StringView>
#include <QString>
#include <algorithm>
#include <optional>

// Small tables keyed by an enum, so that a new value needs one row: each row holds its value
// (`value`) and what the value carries, such as the word the state file and the command line know
// it by (`raw`) or a text to show (`text`).
namespace EnumTable {

// The row of a table that holds only the words.
template<typename Enum>
struct Word {
    Enum value;
    const char* raw;
};

// The row of a table that gives each value one text to show (UTF-8).
template<typename Enum>
struct Text {
    Enum value;
    const char* text;
};

// The row of `value`; the first row for a value the table lacks.
template<typename Table, typename Enum>
const auto& rowOf(const Table& table, Enum value)
{
    const auto found =
        std::find_if(table.begin(), table.end(), [value](const auto& row) { return row.value == value; });
    return found == table.end() ? table.front() : *found;
}

template<typename Table, typename Enum>
QString rawOf(const Table& table, Enum value)
{
    return QString::fromLatin1(rowOf(table, value).raw);
}

template<typename Table, typename Enum>
QString textOf(const Table& table, Enum value)
{
    return QString::fromUtf8(rowOf(table, value).text);
}

// None for a word no row has.
template<typename Enum, typename Table>
std::optional<Enum> fromRaw(const Table& table, QAnyStringView raw)
{
    for (const auto& row : table) {
        if (QAnyStringView::equal(raw, QLatin1StringView(row.raw)))
            return row.value;
    }
    return std::nullopt;
}

}  // namespace EnumTable
