#include "shell/UpdateDiagnostics.h"

#include "store/UpdateConfiguration.h"

#include <QJsonDocument>

namespace {

// Only a real JSON true counts: "YES", 1 or a missing key all read as false.
bool flag(const QJsonObject& info, const char* key)
{
    const QJsonValue value = info.value(QLatin1String(key));
    return value.isBool() && value.toBool();
}

}  // namespace

QJsonObject UpdateDiagnostics::report(const QJsonObject& info)
{
    const UpdateConfiguration configuration(info);
    return QJsonObject{
        {QStringLiteral("frameworkLinked"), true},
        {QStringLiteral("configurationValid"), configuration.isValid()},
        {QStringLiteral("releaseBuild"), configuration.releaseBuild},
        {QStringLiteral("feedURL"),
         configuration.feedURL ? configuration.feedURL->toString(QUrl::FullyEncoded) : QString()},
        {QStringLiteral("signedFeedRequired"), flag(info, "SURequireSignedFeed")},
        {QStringLiteral("verifyBeforeExtraction"), flag(info, "SUVerifyUpdateBeforeExtraction")},
        {QStringLiteral("automaticChecksDefault"), flag(info, "SUEnableAutomaticChecks")},
        {QStringLiteral("automaticInstallDefault"), flag(info, "SUAutomaticallyUpdate")},
        {QStringLiteral("systemProfiling"), flag(info, "SUEnableSystemProfiling")},
    };
}

bool UpdateDiagnostics::isValid(const QJsonObject& report)
{
    return report.value(QLatin1String("configurationValid")).toBool();
}

QByteArray UpdateDiagnostics::text(const QJsonObject& report)
{
    QByteArray json = QJsonDocument(report).toJson(QJsonDocument::Indented);
    while (json.endsWith('\n'))
        json.chop(1);
    return json + '\n';
}
