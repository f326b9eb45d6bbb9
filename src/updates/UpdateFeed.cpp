#include "updates/UpdateFeed.h"

#include "updates/ReleaseVersion.h"

#include <QXmlStreamReader>

namespace {

constexpr int signatureLength = 64;

bool inDewbellNamespace(const QXmlStreamReader& reader)
{
    return reader.namespaceUri() == UpdateFeed::xmlNamespace;
}

bool inRssNamespace(const QXmlStreamReader& reader)
{
    return reader.namespaceUri().isEmpty();
}

QByteArray signatureBytes(QStringView text)
{
    const auto decoded =
        QByteArray::fromBase64Encoding(text.trimmed().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok || decoded.decoded.size() != signatureLength)
        return {};
    return decoded.decoded;
}

void readEnclosure(const QXmlStreamAttributes& attributes, FeedItem& item)
{
    item.archiveURL = QUrl(attributes.value(QLatin1String("url")).toString().trimmed(), QUrl::StrictMode);
    bool isNumber = false;
    const qint64 length = attributes.value(QLatin1String("length")).toLongLong(&isNumber);
    item.archiveLength = isNumber && length > 0 ? length : -1;
    item.signature = signatureBytes(attributes.value(UpdateFeed::xmlNamespace, QLatin1String("edSignature")));
}

FeedItem readItem(QXmlStreamReader& reader)
{
    FeedItem item;
    bool plainNotes = false;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (inDewbellNamespace(reader) && name == QLatin1String("version")) {
            item.version = reader.readElementText().trimmed();
        } else if (inDewbellNamespace(reader) && name == QLatin1String("shortVersion")) {
            item.shortVersion = reader.readElementText().trimmed();
        } else if (inDewbellNamespace(reader) && name == QLatin1String("notes")) {
            item.notes = reader.readElementText().left(UpdateFeed::notesLimit);
            item.notesAreHtml = false;
            plainNotes = true;
        } else if (inRssNamespace(reader) && name == QLatin1String("description") && !plainNotes) {
            item.notes = reader.readElementText().left(UpdateFeed::notesLimit);
            item.notesAreHtml = true;
        } else if (inRssNamespace(reader) && name == QLatin1String("pubDate")) {
            item.date = QDateTime::fromString(reader.readElementText().trimmed(), Qt::RFC2822Date);
        } else if (inRssNamespace(reader) && name == QLatin1String("enclosure")) {
            readEnclosure(reader.attributes(), item);
            reader.skipCurrentElement();
        } else {
            reader.skipCurrentElement();
        }
    }
    return item;
}

// Moves to the document element; a document type declaration (and with it any entity
// of the feed's own making) is refused.
bool readDocumentElement(QXmlStreamReader& reader)
{
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            return false;
        case QXmlStreamReader::StartElement:
            return reader.name() == QLatin1String("rss") && inRssNamespace(reader);
        default:
            break;
        }
    }
    return false;
}

std::optional<QList<FeedItem>> readChannel(QXmlStreamReader& reader)
{
    QList<FeedItem> items;
    while (reader.readNextStartElement()) {
        if (reader.name() != QLatin1String("item") || !inRssNamespace(reader)) {
            reader.skipCurrentElement();
            continue;
        }
        if (items.size() == UpdateFeed::itemLimit)
            return std::nullopt;
        items.append(readItem(reader));
    }
    return items;
}

}  // namespace

namespace UpdateFeed {

std::optional<QList<FeedItem>> read(const QByteArray& xml)
{
    if (xml.size() > sizeLimit)
        return std::nullopt;
    QXmlStreamReader reader(xml);
    if (!readDocumentElement(reader))
        return std::nullopt;
    std::optional<QList<FeedItem>> items;
    while (reader.readNextStartElement()) {
        if (reader.name() != QLatin1String("channel") || !inRssNamespace(reader) || items) {
            reader.skipCurrentElement();
            continue;
        }
        items = readChannel(reader);
        if (!items)
            return std::nullopt;
    }
    // Reading to the end makes the reader judge the whole document, not only the channel.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError() || !items)
        return std::nullopt;
    return items;
}

std::optional<FeedItem> newestOffer(const QList<FeedItem>& items, const QString& installed, const QString& skipped)
{
    const auto skippedVersion = releaseVersion(skipped);
    std::optional<FeedItem> newest;
    for (const FeedItem& item : items) {
        if (!isNewerRelease(item.version, installed) || releaseVersion(item.version) == skippedVersion)
            continue;
        if (!newest || isNewerRelease(item.version, newest->version))
            newest = item;
    }
    return newest;
}

}  // namespace UpdateFeed
