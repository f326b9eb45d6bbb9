#pragma once

#include <QString>

// Every way an update check, download or installation can end without an update, each told
// to the user in one sentence.
enum class UpdateProblem {
    offline,
    timedOut,
    untrustedServer,
    insecureAddress,
    serverError,
    feedUnreadable,
    wrongSize,
    cutShort,
    badSignature,
    unsafeArchive,
    notDewbell,
    installFailed,
    saveFailed,
};

QString sentence(UpdateProblem problem);
