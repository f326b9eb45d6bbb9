#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

// The release tool's work: Ed25519 keys and signatures through libsodium, and the feed item.
namespace ReleaseSigning {

struct KeyPair {
    QByteArray publicKey;  // 32 bytes: the application's SUPublicEDKey
    QByteArray secretKey;  // 64 bytes: stays with the maintainer
};

KeyPair makeKeyPair();

// The secret key as written to its file: Base64 on one line.
QByteArray encodeSecretKey(const QByteArray& secretKey);
// None when the text is not a Base64 secret key.
std::optional<QByteArray> decodeSecretKey(const QByteArray& text);
QByteArray publicKeyOf(const QByteArray& secretKey);

QByteArray sign(const QByteArray& message, const QByteArray& secretKey);

struct Release {
    QString version;
    QString shortVersion;
    QUrl archiveURL;
    qint64 archiveLength = 0;
    QByteArray signature;
    QString notes;
    bool notesAreHtml = false;
    QString date;  // RFC 2822
};

// The <item> element announcing the release.
QByteArray feedItem(const Release& release);
// A whole feed holding that one item.
QByteArray feed(const Release& release);

// The feed's bytes followed by its signature line; a signature line the feed already ends
// with is replaced, so an edited feed can be signed again.
QByteArray signFeed(const QByteArray& feed, const QByteArray& secretKey);

}  // namespace ReleaseSigning
