#pragma once

#include "model/ImportError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <functional>

namespace ModelTesting {

inline QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

inline void writeFile(const QString& path, const QByteArray& bytes = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The sentence an action refuses with, or an empty text when it does not refuse.
inline QString refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ImportError& error) {
        return error.message();
    }
    return {};
}

}  // namespace ModelTesting
