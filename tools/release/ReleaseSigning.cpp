#include "ReleaseSigning.h"

#include "updates/FeedSignature.h"
#include "updates/UpdateFeed.h"

#include <QXmlStreamWriter>
#include <sodium.h>

namespace {

unsigned char* bytes(QByteArray& data)
{
    return reinterpret_cast<unsigned char*>(data.data());
}

const unsigned char* bytes(const QByteArray& data)
{
    return reinterpret_cast<const unsigned char*>(data.constData());
}

void writeItem(QXmlStreamWriter& writer, const ReleaseSigning::Release& release)
{
    const QString& ns = UpdateFeed::xmlNamespace;
    writer.writeStartElement(QStringLiteral("item"));
    writer.writeTextElement(QStringLiteral("title"), QStringLiteral("Dewbell %1").arg(release.shortVersion));
    if (!release.date.isEmpty())
        writer.writeTextElement(QStringLiteral("pubDate"), release.date);
    writer.writeTextElement(ns, QStringLiteral("version"), release.version);
    writer.writeTextElement(ns, QStringLiteral("shortVersion"), release.shortVersion);
    if (release.notesAreHtml)
        writer.writeTextElement(QStringLiteral("description"), release.notes);
    else if (!release.notes.isEmpty())
        writer.writeTextElement(ns, QStringLiteral("notes"), release.notes);
    writer.writeEmptyElement(QStringLiteral("enclosure"));
    writer.writeAttribute(QStringLiteral("url"), release.archiveURL.toString(QUrl::FullyEncoded));
    writer.writeAttribute(QStringLiteral("length"), QString::number(release.archiveLength));
    writer.writeAttribute(QStringLiteral("type"), QStringLiteral("application/octet-stream"));
    writer.writeAttribute(ns, QStringLiteral("edSignature"), QString::fromLatin1(release.signature.toBase64()));
    writer.writeEndElement();
}

}  // namespace

namespace ReleaseSigning {

KeyPair makeKeyPair()
{
    if (sodium_init() < 0)
        return {};
    KeyPair pair{QByteArray(crypto_sign_PUBLICKEYBYTES, '\0'), QByteArray(crypto_sign_SECRETKEYBYTES, '\0')};
    crypto_sign_keypair(bytes(pair.publicKey), bytes(pair.secretKey));
    return pair;
}

QByteArray encodeSecretKey(const QByteArray& secretKey)
{
    return secretKey.toBase64() + '\n';
}

std::optional<QByteArray> decodeSecretKey(const QByteArray& text)
{
    const auto decoded = QByteArray::fromBase64Encoding(text.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok
        || decoded.decoded.size() != crypto_sign_SECRETKEYBYTES)
        return std::nullopt;
    return decoded.decoded;
}

QByteArray publicKeyOf(const QByteArray& secretKey)
{
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, '\0');
    crypto_sign_ed25519_sk_to_pk(bytes(publicKey), bytes(secretKey));
    return publicKey;
}

QByteArray sign(const QByteArray& message, const QByteArray& secretKey)
{
    if (sodium_init() < 0)
        return {};
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(bytes(signature), nullptr, bytes(message), static_cast<unsigned long long>(message.size()),
                         bytes(secretKey));
    return signature;
}

QByteArray feedItem(const Release& release)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    // Declared on the item itself, so that it can be pasted into an existing feed as it is.
    writer.writeNamespace(UpdateFeed::xmlNamespace, QStringLiteral("dewbell"));
    writeItem(writer, release);
    return xml.trimmed() + '\n';
}

QByteArray feed(const Release& release)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeNamespace(UpdateFeed::xmlNamespace, QStringLiteral("dewbell"));
    writer.writeStartElement(QStringLiteral("rss"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    writer.writeStartElement(QStringLiteral("channel"));
    writer.writeTextElement(QStringLiteral("title"), QStringLiteral("Dewbell"));
    writeItem(writer, release);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}

QByteArray signFeed(const QByteArray& feed, const QByteArray& secretKey)
{
    const auto earlier = FeedSignature::split(feed);
    QByteArray content = earlier ? earlier->content : feed;
    if (!content.endsWith('\n'))
        content += '\n';
    return content + FeedSignature::line(sign(content, secretKey));
}

}  // namespace ReleaseSigning
