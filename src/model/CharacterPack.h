#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// One sprite sheet: a grid of equally sized cells read left to right, top to bottom.
struct SpriteSheet {
    QString file;
    int columns = 1;
    int rows = 1;
    int frameCount = 1;            // cells in use, at most columns * rows
    double framesPerSecond = 8.0;  // playback speed when the sheet animates

    bool operator==(const SpriteSheet&) const = default;
};

// The manifest of one companion ("character.json" in a pack folder, or a built-in).
//
// Kinds: "drop" and "sprout" (drawn by code), "viru" and "vuzo" (code-drawn bears),
// "sprite" (drawn from sprite sheets), "movie" (entry/success/disappointed movies),
// "image" (a still artwork). A sprite pack whose poseLayout is "bear24" keeps its 24 poses
// in one sheet (poseSheet) and draws like a bear.
//
// Manifest keys, all strings unless noted: id, name, subtitle, kind, tint (6 hex digits),
// artwork, happyArtwork, entry, success, disappointed, poseLayout, and the sheet objects
// walkSheet, idleSheet, celebrateSheet, sadSheet, poseSheet, wellnessSheet, each
// { "file": string, "columns": int, "rows": int, "frames": int, "fps": number }.
struct CharacterPack {
    QString id;
    QString name;
    QString subtitle;
    QString kind;
    QString tint = QStringLiteral("B9A3FF");

    std::optional<QString> artwork;       // still picture for cards and the general view
    std::optional<QString> happyArtwork;  // still picture of the celebrating pose
    std::optional<QString> entry;         // movie companions: walking in and asking
    std::optional<QString> success;       // after "I drank"
    std::optional<QString> disappointed;  // after "Not yet"
    std::optional<QString> poseLayout;

    std::optional<SpriteSheet> walkSheet;
    std::optional<SpriteSheet> idleSheet;
    std::optional<SpriteSheet> celebrateSheet;
    std::optional<SpriteSheet> sadSheet;
    std::optional<SpriteSheet> poseSheet;
    std::optional<SpriteSheet> wellnessSheet;

    // Folder the pack was loaded from; none for the built-in packs.
    std::optional<QString> folder;

    bool operator==(const CharacterPack&) const = default;

    bool isBear() const;
    bool isHumanSprite() const;

    // Absolute path of a file inside the pack's folder, or none when the name is none, the
    // pack has no folder, the name leaves the folder (see leavesFolder), the resolved path leaves
    // the folder (symbolic links included) or the file does not exist.
    std::optional<QString> asset(const std::optional<QString>& name) const;

    // Whether a file name points out of the pack's folder by itself: an absolute path, or one
    // with a path component "..". A name like "my..pic.png" stays inside.
    static bool leavesFolder(const QString& fileName);

    // Every file name the manifest refers to, in a fixed order, without duplicates.
    QStringList referencedFiles() const;
    // Which of the referenced files are movies (the rest are images).
    static bool isMovieFile(const QString& name);

    // The four packs drawn by code: "bloop" (a drop), "sprout", and the bears "viru" and "vuzo".
    static QList<CharacterPack> builtIns();
};

// Reads a manifest. Throws ImportError with a readable sentence when the JSON is not an
// object, the id, name or kind is missing or empty, the id cannot be a folder name (it begins
// with "." or holds "/" or a control character, or is longer than 64 characters), the kind or
// pose layout is longer than 32 characters, a file name longer than 255, the tint is not six hex
// digits, or a sheet is malformed. The name and subtitle are cut to 60 and 160 characters.
CharacterPack decodeCharacterPack(const QByteArray& manifestJson, const std::optional<QString>& folder);
QJsonObject encode(const CharacterPack& pack);
