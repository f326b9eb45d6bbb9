#include "updates/FeedSignature.h"

#include "updates/SignatureCheck.h"

namespace {

constexpr QByteArrayView opening = "<!-- dewbell-feed-signature ";
constexpr QByteArrayView closing = " -->";

}  // namespace

namespace FeedSignature {

QByteArray line(const QByteArray& signature)
{
    return opening.toByteArray() + signature.toBase64() + closing.toByteArray() + '\n';
}

std::optional<Parts> split(const QByteArray& feed)
{
    QByteArrayView rest(feed);
    if (rest.endsWith('\n'))
        rest.chop(1);
    const qsizetype lineStart = rest.lastIndexOf('\n') + 1;
    const QByteArrayView last = rest.sliced(lineStart);
    if (!last.startsWith(opening) || !last.endsWith(closing))
        return std::nullopt;
    const QByteArrayView encoded = last.sliced(opening.size(), last.size() - opening.size() - closing.size());
    const auto decoded = QByteArray::fromBase64Encoding(encoded.toByteArray(), QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok
        || decoded.decoded.size() != SignatureCheck::signatureLength)
        return std::nullopt;
    return Parts{feed.first(lineStart), decoded.decoded};
}

std::optional<QByteArray> verified(const QByteArray& feed, const QByteArray& publicKey)
{
    const auto parts = split(feed);
    if (!parts || !SignatureCheck::matches(parts->content, parts->signature, publicKey))
        return std::nullopt;
    return parts->content;
}

}  // namespace FeedSignature
