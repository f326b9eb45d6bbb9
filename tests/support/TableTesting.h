#pragma once

#include <QTest>

// A data table's columns in one line: addColumns<int, QString>("minutes", "shown").
template <typename... Types, typename... Names>
void addColumns(const Names&... names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one name per column");
    (QTest::addColumn<Types>(names), ...);
}
