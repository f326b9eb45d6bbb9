#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

// One release as the update feed describes it.
struct FeedItem {
    QString version;       // compared with the running version ("1.2.0")
    QString shortVersion;  // shown to the user ("1.2")
    QDateTime date;        // invalid when the feed gives none
    QString notes;         // release notes, at most UpdateFeed::notesLimit characters
    bool notesAreHtml = false;
    QUrl archiveURL;
    qint64 archiveLength = -1;  // bytes, as announced
    QByteArray signature;       // Ed25519 signature of the archive's bytes (64 bytes when well formed)

    QString displayVersion() const { return shortVersion.isEmpty() ? version : shortVersion; }
};

// The update feed: an RSS 2.0 document whose items carry Dewbell's own elements:
//
//   <rss version="2.0" xmlns:dewbell="https://dewbell.app/xml/update-feed">
//     <channel><item>
//       <dewbell:version>1.2.0</dewbell:version>
//       <dewbell:shortVersion>1.2</dewbell:shortVersion>
//       <pubDate>Tue, 05 Mar 2024 10:00:00 +0000</pubDate>
//       <description>HTML notes</description>  or  <dewbell:notes>plain notes</dewbell:notes>
//       <enclosure url="https://…/dewbell-1.2.0.tar.xz" length="123" dewbell:edSignature="Base64"/>
//     </item></channel>
//   </rss>
namespace UpdateFeed {

inline const QString xmlNamespace = QStringLiteral("https://dewbell.app/xml/update-feed");
inline constexpr qint64 sizeLimit = 1024 * 1024;
inline constexpr int itemLimit = 500;
inline constexpr int notesLimit = 64 * 1024;

// The feed's items in document order; none when the bytes are not such a feed (not
// well-formed, a document type declaration, no <rss><channel>, too many items).
std::optional<QList<FeedItem>> read(const QByteArray& xml);

// The item with the highest version above `installed`, leaving out the version the user skipped.
std::optional<FeedItem> newestOffer(const QList<FeedItem>& items, const QString& installed, const QString& skipped);

}  // namespace UpdateFeed
