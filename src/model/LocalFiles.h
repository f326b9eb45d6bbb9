#pragma once

#include "model/CharacterPack.h"
#include "model/ImportError.h"

#include <QByteArray>
#include <QString>

// Private files: folders 0700, files written atomically then 0600, every read bounded.
// Every failure is an ImportError carrying one sentence for the user.
namespace LocalFiles {

inline constexpr qint64 KiB = 1024;
inline constexpr qint64 MiB = 1024 * KiB;
inline constexpr qint64 jsonLimit = 256 * KiB;
// "state.json" holds the whole drink and break history; 16 MiB holds several decades of it.
inline constexpr qint64 stateLimit = 16 * MiB;
inline constexpr qint64 imageLimit = 24 * MiB;
inline constexpr qint64 movieLimit = 128 * MiB;
inline constexpr qint64 packLimit = 256 * MiB;

// Creates the folder (and missing parents) and sets it to 0700.
void ensurePrivateFolder(const QString& folder);

// Writes the whole file or nothing (temporary file, then rename), then sets it to 0600.
void writeAtomically(const QString& path, const QByteArray& bytes);

// Reads a regular file of at most `limit` bytes.
QByteArray readBounded(const QString& path, qint64 limit);

// True when the bytes of an image file of at most imageLimit decode to a non-empty picture.
bool imageDecodes(const QString& path);

// Reads and checks a pack folder: the manifest (jsonLimit), then every file it names: inside
// the folder (no "..", no absolute name, no symbolic link pointing outside), a regular file,
// images within imageLimit that decode, movies within movieLimit, the whole pack within
// packLimit. Returns the manifest with `folder` set.
CharacterPack validatePack(const QString& folder);

// Copies a validated pack into `destinationParent`/<pack id>, replacing an earlier copy only
// once the new one is complete. Returns the new folder.
QString installPack(const QString& sourceFolder, const CharacterPack& pack, const QString& destinationParent);

}  // namespace LocalFiles
