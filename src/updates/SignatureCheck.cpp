#include "updates/SignatureCheck.h"

#include <sodium.h>

namespace SignatureCheck {

bool matches(QByteArrayView message, const QByteArray& signature, const QByteArray& publicKey)
{
    static_assert(publicKeyLength == crypto_sign_PUBLICKEYBYTES && signatureLength == crypto_sign_BYTES);
    if (sodium_init() < 0 || signature.size() != signatureLength || publicKey.size() != publicKeyLength)
        return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                       reinterpret_cast<const unsigned char*>(message.data()),
                                       static_cast<unsigned long long>(message.size()),
                                       reinterpret_cast<const unsigned char*>(publicKey.constData()))
           == 0;
}

}  // namespace SignatureCheck
