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
    unsignedFeed,
    wrongSize,
    cutShort,
    badSignature,
    unsafeArchive,
    notDewbell,
    wrongVersion,
    installFailed,
    saveFailed,
};

QString sentence(UpdateProblem problem);

// Whether Dewbell turned down what the server sent (its address, size, signature or contents),
// rather than failing to fetch or install it.
bool isRefusal(UpdateProblem problem);
