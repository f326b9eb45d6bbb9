#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QUrl>
#include <optional>

// Where the update feed lives, which key signs it and whether this build is a signed
// release, read once from the information dictionary (info.json).
struct UpdateConfiguration {
    // Accepted only as https with a host and without user, password, query or fragment.
    std::optional<QUrl> feedURL;
    // The Ed25519 public key: standard Base64 that decodes to exactly 32 bytes.
    std::optional<QByteArray> publicKey;
    // "DWDistribution" is exactly "developer-id".
    bool releaseBuild = false;

    UpdateConfiguration() = default;
    // Never fails: a missing value, or one of the wrong type, leaves its field empty.
    explicit UpdateConfiguration(const QJsonObject& info);

    bool isValid() const;

    // The configuration of the running installation (AppBundle::info()).
    static UpdateConfiguration fromBundle();

    bool operator==(const UpdateConfiguration&) const = default;
};
