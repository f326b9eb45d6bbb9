#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QList>
#include <QMap>
#include <QString>
#include <archive.h>
#include <archive_entry.h>
#include <sodium.h>
#include <sys/sysmacros.h>

// Signed release archives and installations for update tests: keys and signatures from
// libsodium, tar archives written by libarchive, installed trees on disk.
namespace ReleaseTesting {

struct Keys {
    QByteArray publicKey;
    QByteArray secretKey;
};

inline Keys makeKeys()
{
    Keys keys{QByteArray(crypto_sign_PUBLICKEYBYTES, '\0'), QByteArray(crypto_sign_SECRETKEYBYTES, '\0')};
    if (sodium_init() >= 0)
        crypto_sign_keypair(reinterpret_cast<unsigned char*>(keys.publicKey.data()),
                            reinterpret_cast<unsigned char*>(keys.secretKey.data()));
    return keys;
}

inline QByteArray sign(const QByteArray& message, const QByteArray& secretKey)
{
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char*>(message.constData()),
                         static_cast<unsigned long long>(message.size()),
                         reinterpret_cast<const unsigned char*>(secretKey.constData()));
    return signature;
}

// One member of an archive, written exactly as given (no clean-up of its path).
struct Entry {
    enum class Kind { file, folder, link, hardLink, device };
    Kind kind = Kind::file;
    QByteArray path;
    QByteArray content;  // a file's bytes, a link's target
    int mode = 0644;
};

inline Entry file(const QByteArray& path, const QByteArray& content, int mode = 0644)
{
    return {Entry::Kind::file, path, content, mode};
}

inline Entry folder(const QByteArray& path)
{
    return {Entry::Kind::folder, path, {}, 0755};
}

inline Entry softLink(const QByteArray& path, const QByteArray& target)
{
    return {Entry::Kind::link, path, target, 0777};
}

inline la_ssize_t appendTo(archive*, void* data, const void* buffer, size_t length)
{
    static_cast<QByteArray*>(data)->append(static_cast<const char*>(buffer), qsizetype(length));
    return la_ssize_t(length);
}

inline void writeEntry(archive* writer, const Entry& member)
{
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, member.path.constData());
    archive_entry_set_perm(entry, mode_t(member.mode));
    switch (member.kind) {
    case Entry::Kind::file:
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_size(entry, member.content.size());
        break;
    case Entry::Kind::folder:
        archive_entry_set_filetype(entry, AE_IFDIR);
        break;
    case Entry::Kind::link:
        archive_entry_set_filetype(entry, AE_IFLNK);
        archive_entry_set_symlink(entry, member.content.constData());
        break;
    case Entry::Kind::hardLink:
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_hardlink(entry, member.content.constData());
        break;
    case Entry::Kind::device:
        archive_entry_set_filetype(entry, AE_IFCHR);
        archive_entry_set_rdev(entry, makedev(1, 3));
        break;
    }
    archive_write_header(writer, entry);
    if (member.kind == Entry::Kind::file)
        archive_write_data(writer, member.content.constData(), size_t(member.content.size()));
    archive_entry_free(entry);
}

// A POSIX tar archive, compressed with xz.
inline QByteArray tarXz(const QList<Entry>& entries)
{
    QByteArray bytes;
    archive* writer = archive_write_new();
    archive_write_set_format_pax_restricted(writer);
    archive_write_add_filter_xz(writer);
    archive_write_open(writer, &bytes, nullptr, appendTo, nullptr);
    for (const Entry& entry : entries)
        writeEntry(writer, entry);
    archive_write_close(writer);
    archive_write_free(writer);
    return bytes;
}

// The installed tree of one version of Dewbell in the default layout, folders included as tar
// packs them; `version` marks every file.
inline QList<Entry> dewbellTree(const QByteArray& version)
{
    return {
        folder("bin"),
        file("bin/dewbell", "#!/bin/sh\necho " + version + "\n", 0755),
        folder("share"),
        folder("share/dewbell"),
        folder("share/dewbell/app"),
        file("share/dewbell/app/info.json", "{\"CFBundleShortVersionString\": \"" + version + "\"}\n"),
        file("share/dewbell/app/Characters/bloop/character.json", "{\"id\": \"bloop\", \"v\": \"" + version + "\"}\n")};
}

// Writes a tree of entries (files and folders only) under `root`.
inline void writeTree(const QString& root, const QList<Entry>& entries)
{
    for (const Entry& entry : entries) {
        const QString path = root + QLatin1Char('/') + QString::fromUtf8(entry.path);
        if (entry.kind == Entry::Kind::folder) {
            QDir().mkpath(path);
            continue;
        }
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        out.write(entry.content);
        out.close();
        out.setPermissions(entry.mode & 0100 ? QFileDevice::Permissions(0x7755) : QFileDevice::Permissions(0x6644));
    }
}

// Every file and link under `root` with its bytes (a link's target), for before-and-after comparisons.
inline QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> contents;
    QDirIterator entries(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        const QString name = QDir(root).relativeFilePath(entry.filePath());
        if (entry.isSymLink()) {
            contents.insert(name, "-> " + entry.symLinkTarget().toUtf8());
        } else if (entry.isFile()) {
            QFile file(entry.filePath());
            file.open(QIODevice::ReadOnly);
            contents.insert(name, file.readAll());
        } else {
            contents.insert(name, "folder");
        }
    }
    return contents;
}

}  // namespace ReleaseTesting
