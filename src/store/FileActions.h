#pragma once

#include "model/CharacterPack.h"

#include <QString>

class DewbellStore;

// The store's actions on what the user picks in a dialog: an application to protect, a care
// package to save or open, a companion folder to import. They go through the store's own face
// (its dialog seams, update() and the notice) like any view would.
class FileActions {
public:
    explicit FileActions(DewbellStore& store) : store_(store) { }

    // Where the imported companions of the store in `directory` live.
    static QString charactersFolder(const QString& directory);

    void selectProtectedApp();
    void exportGiftSettings();
    void importGiftSettings();
    CharacterPack importPack(const QString& folder);

private:
    DewbellStore& store_;
};
