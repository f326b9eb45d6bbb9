#pragma once

#include "model/ImportError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>

namespace ModelTesting {

inline QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

// Empties test folders after each test function, and keeps them there for the next one.
inline void emptyFolders(std::initializer_list<const QTemporaryDir*> folders)
{
    for (const QTemporaryDir* folder : folders) {
        QDir(folder->path()).removeRecursively();
        QDir().mkpath(folder->path());
    }
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

// Spoils the pixel data of a PNG picture while its header, size and modification time stay as
// they were: only decoding it can tell.
inline void spoilPictureKeepingItsTime(const QString& path)
{
    struct stat before { };
    QCOMPARE(stat(QFile::encodeName(path).constData(), &before), 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("IDAT") + 4;
    QVERIFY(data > 4);
    for (qsizetype i = data; i < std::min(data + 8, bytes.size() - 12); ++i)
        bytes[i] = char(~bytes[i]);
    QVERIFY(file.seek(0) && file.write(bytes) == bytes.size());
    file.close();
    const timespec times[2] = {before.st_atim, before.st_mtim};
    QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// Moves a file's modification time one second on, as any change would.
inline void touchLater(const QString& path)
{
    struct stat before { };
    QCOMPARE(stat(QFile::encodeName(path).constData(), &before), 0);
    timespec times[2] = {before.st_atim, before.st_mtim};
    times[1].tv_sec += 1;
    QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

}  // namespace ModelTesting
