#include "store/UpdateConfiguration.h"

#include "model/AppBundle.h"

namespace {

constexpr int publicKeyLength = 32;

QString stringValue(const QJsonObject& info, const char* key)
{
    const QJsonValue value = info.value(QLatin1String(key));
    return value.isString() ? value.toString() : QString();
}

// The scheme exactly as written: QUrl lower-cases it, and "HTTPS" is not accepted.
bool hasHttpsSchemeAsWritten(const QString& address)
{
    return address.startsWith(QLatin1String("https:"));
}

std::optional<QUrl> feedAddress(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (!hasHttpsSchemeAsWritten(trimmed))
        return std::nullopt;
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    // "https://@host" has an empty but present user part.
    if (url.authority().contains(QLatin1Char('@')))
        return std::nullopt;
    return url;
}

std::optional<QByteArray> signingKey(const QString& text)
{
    // Qt's strict mode still accepts missing padding; standard Base64 comes in blocks of four.
    if (text.size() % 4 != 0)
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    // toLatin1 turns characters it cannot represent into "?", which Base64 rejects anyway.
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok || decoded.decoded.size() != publicKeyLength)
        return std::nullopt;
    return decoded.decoded;
}

}  // namespace

UpdateConfiguration::UpdateConfiguration(const QJsonObject& info)
    : feedURL(feedAddress(stringValue(info, "SUFeedURL"))),
      publicKey(signingKey(stringValue(info, "SUPublicEDKey"))),
      releaseBuild(stringValue(info, "DWDistribution") == QLatin1String("developer-id"))
{ }

bool UpdateConfiguration::isValid() const
{
    return feedURL.has_value() && publicKey.has_value() && publicKey->size() == publicKeyLength;
}

UpdateConfiguration UpdateConfiguration::fromBundle()
{
    return UpdateConfiguration(AppBundle::info());
}
