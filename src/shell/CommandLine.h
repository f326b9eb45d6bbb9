#pragma once

#include <QString>
#include <QStringList>

// The command-line switches. A switch is present when an argument (the program path
// included) equals it exactly: letter case counts, no prefixes, no attached values.
namespace CommandLine {

inline const QString diagnoseUpdates = QStringLiteral("--diagnose-updates");
inline const QString diagnoseAssets = QStringLiteral("--diagnose-assets");
inline const QString uiTest = QStringLiteral("--ui-test");
inline const QString background = QStringLiteral("--background");
inline const QString preview = QStringLiteral("--preview");
inline const QString testLab = QStringLiteral("--test-lab");

inline bool hasSwitch(const QStringList& arguments, const QString& name)
{
    return arguments.contains(name, Qt::CaseSensitive);
}

}  // namespace CommandLine
