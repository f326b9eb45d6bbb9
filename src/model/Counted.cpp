#include "model/Counted.h"

QString counted(qint64 amount, const QString& singular, const QString& plural)
{
    return QStringLiteral("%1 %2").arg(amount).arg(amount == 1 ? singular : plural);
}
