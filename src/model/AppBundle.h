#pragma once

#include <QJsonObject>
#include <QString>

// The installed data folder: info.json, Characters/, Brand/ and Sounds/.
namespace AppBundle {

// DEWBELL_BUNDLE_DIR when set; else the data folder where the installation puts it, found from
// the running binary's folder (../share/dewbell/app in the default layout).
QString directory();
QString path(const QString& relative);

// The installed documentation, found from the data folder (../doc/dewbell in the default layout).
QString documentationFolder();

// The information dictionary (info.json); an empty object when it is missing or unreadable.
QJsonObject info();

// The user's private folder (~/.local/share/dewbell), where "state.json" and imported packs live.
QString privateFolder();

}  // namespace AppBundle
