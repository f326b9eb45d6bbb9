#include "model/Counted.h"

QString counted(qint64 amount, const QString& singular, const QString& plural)
{
    return QStringLiteral("%1 %2").arg(amount).arg(amount == 1 ? singular : plural);
}

QString countedMinutes(qint64 minutes)
{
    return counted(minutes, QStringLiteral("minute"), QStringLiteral("minutes"));
}

QString countedSeconds(qint64 seconds)
{
    return counted(seconds, QStringLiteral("second"), QStringLiteral("seconds"));
}

QString countedGlasses(qint64 glasses)
{
    return counted(glasses, QStringLiteral("glass"), QStringLiteral("glasses"));
}
