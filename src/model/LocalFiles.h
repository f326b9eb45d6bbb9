#pragma once

#include "model/CharacterPack.h"
#include "model/ImportError.h"
#include "model/PictureChecks.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

// Private files: folders 0700, files written atomically then 0600, every read bounded.
// Every failure is an ImportError carrying one sentence for the user.
namespace LocalFiles {

inline constexpr qint64 KiB = 1024;
inline constexpr qint64 MiB = 1024 * KiB;
inline constexpr qint64 jsonLimit = 256 * KiB;
// "state.json" holds the whole drink and break history. A record takes 76 bytes (a drink) or
// 97 to 99 (a break). Thirty years of every reminder kind answered at the default rhythm (from
// 09:00 to 22:00 a drink every 45 minutes, eye rest every 20, movement every hour: 18 + 39 + 13
// records a day) come to 767,000 records, 70.5 MB. The busiest settings kept around the clock
// (water every 5 minutes, eye rest every 10, movement every 30: 480 records a day) come to
// 40.6 KB a day, 445 MB in thirty years. 128 MiB holds the default rhythm for 57 years and the
// busiest for 9; past it the writer moves the oldest records to an archive file beside
// "state.json" rather than write what the reader would refuse.
inline constexpr qint64 stateLimit = 128 * MiB;
inline constexpr qint64 imageLimit = 24 * MiB;
inline constexpr qint64 movieLimit = 128 * MiB;
inline constexpr qint64 packLimit = 256 * MiB;
// Decoded pixels of all the pictures of one pack, animation frames counted: 16 million pixels
// take 64 MiB decoded, seven times what the richest pack Dewbell ships needs (2.2 million). A
// small file can unpack to an enormous picture, so files alone are no measure.
inline constexpr qint64 packPixelLimit = 16'000'000;

// What is known about a path before anything is read from it. Only "no such file" means absent:
// any other error (a folder that may not be searched, a file that may not be read) is reported
// with the system's words, so that a file that is there is never taken for one that is not.
struct PathStatus {
    enum class Kind {
        absent,
        present,
        // A folder on the way may not be searched: whether the file exists is unknown.
        unreachable,
        // The file exists but may not be read.
        unreadable,
    };
    Kind kind = Kind::absent;
    QString reason;
};
PathStatus pathStatus(const QString& path);

// Creates the folder (and missing parents) with mode 0700; a folder that is there loses every
// right of its group and others, and keeps its owner's.
void ensurePrivateFolder(const QString& folder);

// Why nothing can be written in `folder` (or, while it is missing, why it can't be made there),
// in the system's words; none when it can.
std::optional<QString> whyNotWritable(const QString& folder);

// Writes the whole file or nothing (temporary file, then rename), mode 0600. A symbolic link at
// `path` is replaced by the file, never written through.
void writeAtomically(const QString& path, const QByteArray& bytes);

// Writes the whole of a regular file that lies outside Dewbell's folders (the user linked it in)
// or nothing, keeping the mode its owner gave it.
void replaceKeepingMode(const QString& path, const QByteArray& bytes);

// True for a regular file (behind any links) that belongs to the user running Dewbell.
bool isOwnRegularFile(const QString& path);

// True when something is at `path` (behind any links) that is not a regular file: a FIFO, a
// socket, a device or a folder. Opening one may block for ever or read what no file holds.
bool isSpecialFile(const QString& path);

// Opens `file` for reading when it names a regular file, without ever waiting on a special one.
bool openRegularFile(QFile& file);

// Reads a regular file of at most `limit` bytes.
QByteArray readBounded(const QString& path, qint64 limit);

// True when the bytes of an image file of at most imageLimit decode to a non-empty picture.
bool imageDecodes(const QString& path);

// Reads and checks a pack folder: the manifest (jsonLimit), then every file it names: inside
// the folder (no ".." component, no absolute name, no symbolic link pointing outside), a
// regular file, images within imageLimit whose headers are readable and that decode, movies
// within movieLimit, the whole pack within packLimit and its pictures within packPixelLimit.
// With `checks`, a picture decoded and found good before (and unchanged since) has only its
// header read, and a newly decoded one is remembered. Returns the manifest with `folder` set.
CharacterPack validatePack(const QString& folder, PictureChecks* checks = nullptr);

// Copies a validated pack into `destinationParent`/<pack id>, replacing an earlier copy only
// once the new one is complete; the copy is validated again (and remembered in `checks`).
// Whatever stood under the pack's name is removed there and then: a link as a link, so nothing
// outside the folder is touched. A `destinationParent` that is itself a link is refused.
// Returns the new folder.
QString installPack(const QString& sourceFolder, const CharacterPack& pack, const QString& destinationParent,
                    PictureChecks* checks = nullptr);

}  // namespace LocalFiles
