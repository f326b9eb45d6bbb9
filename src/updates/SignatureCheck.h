#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace SignatureCheck {

inline constexpr int publicKeyLength = 32;
inline constexpr int signatureLength = 64;

// Whether `signature` is the Ed25519 signature of `message` by the holder of `publicKey`
// (libsodium's detached verification). Any argument of the wrong length is a mismatch.
bool matches(QByteArrayView message, const QByteArray& signature, const QByteArray& publicKey);

}  // namespace SignatureCheck
