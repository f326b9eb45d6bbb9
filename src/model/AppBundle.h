#pragma once

#include <QJsonObject>
#include <QString>

// The installed data folder: info.json, Characters/, Brand/ and Sounds/.
namespace AppBundle {

// DEWBELL_BUNDLE_DIR when set; else ../share/dewbell beside the running binary's folder.
QString directory();
QString path(const QString& relative);

// The information dictionary (info.json); an empty object when it is missing or unreadable.
QJsonObject info();

// The user's private folder (~/.local/share/dewbell), where "state.json" and imported packs live.
QString privateFolder();

}  // namespace AppBundle
