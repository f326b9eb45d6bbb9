#pragma once

#include "updates/UpdateProblem.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

// Reading a release archive: a tar file, plain or compressed with gzip or xz, read with libarchive.
namespace UpdateArchive {

struct Limits {
    qint64 unpackedBytes = qint64(1) << 30;
    int entries = 20000;
};

// Unpacks the archive held in `bytes` into the existing, empty folder `destination`. Only
// folders, regular files and symbolic links are accepted, every one confined to `destination`:
// no absolute path, no "..", no link that climbs out of its folder or leads elsewhere, nothing
// written through a link, no hard link or device. Files keep only their execute bits. Returns
// the problem that stopped it; whatever was unpacked by then is left for the caller to remove.
std::optional<UpdateProblem> unpack(QByteArrayView bytes, const QString& destination, const Limits& limits = {});

// The entry's path inside the destination in its plain form ("bin/dewbell" for
// "./bin//dewbell"), the empty string for the destination itself, or none when it would leave it.
std::optional<QString> confinedPath(const QString& name);

}  // namespace UpdateArchive
