#pragma once

#include <QHash>
#include <QString>

// Which pack pictures were decoded once and found good, so that a launch reads only their
// headers instead of decoding every picture of every pack again. A picture is known by its
// device, inode, size and modification time: a file that changed is decoded again, and a
// validated copy that is renamed into place (as pack import does) stays known. The record
// lives in the cache folder; losing it costs one decode of each picture.
class PictureChecks {
public:
    // Reads the record at `path` (a missing or damaged record is an empty one).
    explicit PictureChecks(const QString& path);

    // A record that takes every picture for decoded already, for the art Dewbell ships: its
    // tests decode all of it when it is built. Nothing of it is saved.
    static PictureChecks trustingShippedArt();

    // $XDG_CACHE_HOME/dewbell/checked-pictures.json
    static QString defaultPath();

    bool isKnownGood(const QString& picturePath);
    void rememberGood(const QString& picturePath);
    // Forgets every picture not asked about or remembered since the record was read, so that it
    // holds only the pictures of the packs still there.
    void forgetUnseen();
    // Writes the record when it changed. A record that cannot be written is only a cache.
    void save();

private:
    QString path_;
    QHash<QString, QString> known_;  // identity -> size and modification time
    QHash<QString, QString> seen_;
    bool changed_ = false;
    bool trustsAll_ = false;
};
