#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The Exec key of a desktop entry: a command line whose arguments are quoted as the
// desktop-entry rules say, written as a string value, which has escapes of its own.
namespace DesktopExec {

// The value, as written in the file, that runs `arguments` (the program first).
QString join(const QStringList& arguments);

// The arguments a value, as written in the file, runs (the program first); none when a quote
// is left open. Field codes other than "%%" are kept as they stand.
std::optional<QStringList> split(const QString& value);

// The program a value starts, found on PATH when it names no folder; empty when the value is
// malformed or empty, or when no such program is on PATH.
QString program(const QString& value);

}  // namespace DesktopExec
