#pragma once

#include "updates/Installation.h"
#include "updates/UpdateArchive.h"
#include "updates/UpdateFeed.h"
#include "updates/UpdateProblem.h"

#include <optional>

// A downloaded archive after its checks: refused with a problem, or accepted (and, for an
// installation that replaces itself, unpacked into a staged folder beside it).
struct PreparedUpdate {
    std::optional<UpdateProblem> problem;
    QString stagedFolder;
};

// Checks the archive's size against the feed and its Ed25519 signature against `publicKey`;
// only then unpacks it and checks that it holds Dewbell of the offered version: with an
// installation beside it, staged there; without one, in a trial folder beside the archive
// that is removed again. Touches nothing but the archive and the new folder, so it may run on
// a worker thread.
PreparedUpdate prepareUpdate(const QString& archiveFile, const FeedItem& item, const QByteArray& publicKey,
                             const std::optional<Installation>& installation, const UpdateArchive::Limits& limits);
