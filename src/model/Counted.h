#pragma once

#include <QString>

// An amount with its noun in the number the amount needs: "1 glass", "0 glasses", "8 glasses".
// Every text that counts something goes through here, so none reads "1 minutes".
QString counted(qint64 amount, const QString& singular, const QString& plural);
