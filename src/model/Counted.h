#pragma once

#include <QString>

// An amount with its noun in the number the amount needs: "1 glass", "0 glasses", "8 glasses".
// Every text that counts something goes through here, so none reads "1 minutes".
QString counted(qint64 amount, const QString& singular, const QString& plural);

// The units most counts are in.
QString countedMinutes(qint64 minutes);
QString countedSeconds(qint64 seconds);
QString countedGlasses(qint64 glasses);
