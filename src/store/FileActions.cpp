#include "store/FileActions.h"

#include "store/CarePackage.h"
#include "store/DewbellStore.h"
#include "store/PackLibrary.h"

#include "model/ImportError.h"
#include "model/LocalFiles.h"

#include <QDir>

namespace {

const QString jsonFilter = QStringLiteral("JSON files (*.json)");

}  // namespace

QString FileActions::charactersFolder(const QString& directory)
{
    return QDir(directory).filePath(QStringLiteral("Characters"));
}

void FileActions::selectProtectedApp()
{
    if (!store_.chooseApplication)
        return;
    const auto application = store_.chooseApplication(QStringLiteral("Choose an app to protect"));
    if (!application || application->trimmed().isEmpty())
        return;
    store_.update([&](Preferences& preferences) { preferences.safeguards.protectedApps.append(*application); });
}

void FileActions::exportGiftSettings()
{
    if (!store_.chooseSaveLocation)
        return;
    const auto path = store_.chooseSaveLocation(QStringLiteral("Save a little care package"),
                                                QStringLiteral("A little note for you.json"), jsonFilter);
    if (!path)
        return;
    try {
        CarePackage::write(*path, store_.preferences());
        store_.setNotice(QStringLiteral("Care package saved. Send it with the app; they can open it here. "
                                        "Your drink history stays on your computer."));
    } catch (const ImportError& error) {
        store_.setNotice(QStringLiteral("Couldn't save the care package: ") + error.message());
    }
}

void FileActions::importGiftSettings()
{
    if (!store_.chooseFileToOpen)
        return;
    const auto path = store_.chooseFileToOpen(QStringLiteral("Open a little care package"), jsonFilter);
    if (!path)
        return;
    Preferences received;
    try {
        received = CarePackage::decode(LocalFiles::readBounded(*path, LocalFiles::jsonLimit), store_.preferences());
    } catch (const ImportError& error) {
        store_.setNotice(QStringLiteral("Couldn't open that care package: ") + error.message());
        return;
    }
    store_.update([&](Preferences& preferences) { preferences = received; });
    // A whole package arrives at once; it is written at once too.
    store_.save();
    store_.setNotice(QStringLiteral("Your little care package is here. You can change every setting."));
}

CharacterPack FileActions::importPack(const QString& folder)
{
    // The pictures checked now need no second decoding at the next launch.
    PictureChecks checks(PictureChecks::defaultPath());
    const CharacterPack pack =
        PackLibrary::import(folder, store_.packs(), charactersFolder(store_.directory()), &checks);
    checks.save();
    store_.setPacks(PackLibrary::replacingOrAppending(store_.packs(), pack));
    return pack;
}
