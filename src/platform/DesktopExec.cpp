#include "platform/DesktopExec.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <glib.h>

namespace {

const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
const QString escapedInQuotes = QStringLiteral("\"`$\\");

// One argument: quoted when it holds a reserved character; inside the quotes a backslash
// escapes the characters that would end or expand them.
QString quoted(const QString& argument)
{
    QString text = argument;
    text.replace(QLatin1Char('%'), QLatin1String("%%"));
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return reserved.contains(c); }))
        return text;
    QString result = QStringLiteral("\"");
    for (QChar c : text) {
        if (escapedInQuotes.contains(c))
            result += QLatin1Char('\\');
        result += c;
    }
    return result + QLatin1Char('"');
}

// A string value's own escapes: \s, \n, \t, \r and \\.
QString unescapedString(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's':
            text += QLatin1Char(' ');
            break;
        case 'n':
            text += QLatin1Char('\n');
            break;
        case 't':
            text += QLatin1Char('\t');
            break;
        case 'r':
            text += QLatin1Char('\r');
            break;
        default:
            text += next;
        }
    }
    return text;
}

QString withoutPercentEscapes(QString argument)
{
    return argument.replace(QLatin1String("%%"), QLatin1String("%"));
}

}  // namespace

QString DesktopExec::join(const QStringList& arguments)
{
    QStringList parts;
    for (const QString& argument : arguments)
        parts.append(quoted(argument));
    // The string value doubles every backslash the quoting wrote, and writes control
    // characters as escapes: a line break would end the value.
    return parts.join(QLatin1Char(' '))
        .replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"))
        .replace(QLatin1Char('\t'), QLatin1String("\\t"))
        .replace(QLatin1Char('\r'), QLatin1String("\\r"));
}

// Once the string value's escapes are undone, the quoting is a subset of the shell's, which
// GLib parses.
std::optional<QStringList> DesktopExec::split(const QString& value)
{
    const QString line = unescapedString(value);
    if (line.trimmed().isEmpty())
        return QStringList();
    gchar** parsed = nullptr;
    if (!g_shell_parse_argv(line.toUtf8().constData(), nullptr, &parsed, nullptr))
        return std::nullopt;
    QStringList arguments;
    for (gchar** argument = parsed; *argument; ++argument)
        arguments.append(withoutPercentEscapes(QString::fromUtf8(*argument)));
    g_strfreev(parsed);
    return arguments;
}

QString DesktopExec::program(const QString& value)
{
    const std::optional<QStringList> arguments = split(value);
    if (!arguments || arguments->isEmpty())
        return {};
    const QString& name = arguments->first();
    if (name.contains(QLatin1Char('/')))
        return QFileInfo(name).absoluteFilePath();
    return QStandardPaths::findExecutable(name);
}
