#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

// The update feed's own signature, carried inside the feed so that it survives being served
// as one static file: the feed's bytes end with a line
//
//   <!-- dewbell-feed-signature BASE64 -->
//
// holding the Ed25519 signature of every byte before that line, exactly as served. An XML
// comment after the document element, so a reader that ignores it still reads the feed.
namespace FeedSignature {

// The line that signs `content` with `signature`.
QByteArray line(const QByteArray& signature);

struct Parts {
    QByteArray content;    // every byte before the signature line
    QByteArray signature;  // 64 bytes
};

// The feed split at its last line when that line is a well-formed signature line; none
// otherwise. Only one line feed may follow it.
std::optional<Parts> split(const QByteArray& feed);

// The signed content when the feed's last line is a signature of all the bytes before it by
// the holder of `publicKey`; none for an unsigned feed, a changed byte or another key.
std::optional<QByteArray> verified(const QByteArray& feed, const QByteArray& publicKey);

}  // namespace FeedSignature
