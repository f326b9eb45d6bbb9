#pragma once

#include "model/Preferences.h"

#include <QByteArray>

// A small JSON file of someone's settings to hand to another person. It never carries the
// drink history, and never the safeguards: those fit one person's computer, not another's.
struct CarePackage {
    // Pretty-printed JSON with sorted keys; the safeguards are the defaults.
    static QByteArray encode(const Preferences& preferences);
    // Writes the encoded package to a file the user chose. Throws ImportError.
    static void write(const QString& path, const Preferences& preferences);

    // The settings of a care package, clamped, over `current`: its safeguards, and every setting
    // the package does not hold, stay as they are. Throws
    // ImportError unless the whole file is a JSON object whose known keys all have the right
    // types and at least one of them is present.
    static Preferences decode(const QByteArray& bytes, const Preferences& current);
};
