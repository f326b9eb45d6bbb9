#pragma once

#include "model/CharacterPack.h"
#include "model/CompanionPhase.h"

#include <QSize>
#include <QString>
#include <optional>

// Which picture of the companion the water reminder shows, and in how large a frame.
struct CompanionPicture {
    enum class Kind {
        spriteBear,   // a bear drawn from its pose sheet
        codeBear,     // a bear drawn by code
        humanSprite,  // a companion drawn from its sprite sheets
        movie,        // the pack's movie for this moment
        buddy,        // the general picture
    };

    Kind kind = Kind::buddy;
    QSize frame;
    // The movie file, for Kind::movie.
    QString movieFile;

    bool operator==(const CompanionPicture&) const = default;

    // A movie pack plays `entry` while walking in and asking, `success` after "I drank" and
    // `disappointed` after "Not yet"; a movie whose file is missing gives the general picture.
    static CompanionPicture choose(const CharacterPack& pack, bool reminderVisible,
                                   std::optional<CompanionPhase> response);
    // How far the speech bubble sits above the bottom of the canvas, clear of the companion.
    static int bubbleLift(const CharacterPack& pack);
};
