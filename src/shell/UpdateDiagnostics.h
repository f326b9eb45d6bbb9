#pragma once

#include <QByteArray>
#include <QJsonObject>

// The report behind "--diagnose-updates": how this installation's information dictionary
// configures in-app updates. Qt Core only, so it runs before any application object exists.
struct UpdateDiagnostics {
    // The nine entries for an information dictionary.
    static QJsonObject report(const QJsonObject& info);
    // Whether the report says the configuration is valid (the exit status follows it).
    static bool isValid(const QJsonObject& report);
    // The report as indented JSON with sorted keys, ending in exactly one line feed.
    static QByteArray text(const QJsonObject& report);
};
