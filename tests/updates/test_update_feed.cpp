#include "support/TableTesting.h"
#include "updates/ReleaseVersion.h"
#include "updates/SignatureCheck.h"
#include "updates/UpdateFeed.h"

#include "support/ReleaseTesting.h"

#include <QtTest>

namespace {

const QByteArray signature64 = QByteArray(64, 's').toBase64();

QByteArray item(const QByteArray& version, const QByteArray& extra = {})
{
    return "<item><dewbell:version>" + version + "</dewbell:version>" + "<enclosure url=\"https://example.org/dewbell-"
           + version + ".tar.xz\" length=\"42\" dewbell:edSignature=\"" + signature64 + "\"/>" + extra + "</item>";
}

QByteArray feed(const QByteArray& items)
{
    return "<?xml version=\"1.0\"?><rss version=\"2.0\" xmlns:dewbell=\"https://dewbell.app/xml/update-feed\">"
           "<channel><title>Dewbell</title>"
           + items + "</channel></rss>";
}

}  // namespace

class UpdateFeedTest : public QObject {
    Q_OBJECT

private slots:
    void releaseOrder_data()
    {
        addColumns<QString, QString, bool>("candidate", "installed", "newer");
        QTest::newRow("patch") << "1.0.1"
                               << "1.0.0" << true;
        QTest::newRow("numbers, not letters") << "1.10.0"
                                              << "1.9.0" << true;
        QTest::newRow("older") << "1.9.0"
                               << "1.10.0" << false;
        QTest::newRow("same") << "1.2.0"
                              << "1.2.0" << false;
        QTest::newRow("trailing zero is the same") << "1.2.0"
                                                   << "1.2" << false;
        QTest::newRow("longer and later") << "1.2.0.1"
                                          << "1.2" << true;
        QTest::newRow("pre-release text") << "2.0-beta"
                                          << "1.0.0" << false;
        QTest::newRow("blank around") << " 2.0"
                                      << "1.0.0" << false;
        QTest::newRow("empty") << ""
                               << "1.0.0" << false;
        QTest::newRow("other digits") << "\u0662.0"
                                      << "1.0.0" << false;
        QTest::newRow("installed unknown") << "2.0"
                                           << "dev" << false;
    }
    void releaseOrder()
    {
        QFETCH(QString, candidate);
        QFETCH(QString, installed);
        QFETCH(bool, newer);
        QCOMPARE(isNewerRelease(candidate, installed), newer);
    }

    void itemFields()
    {
        const auto items = UpdateFeed::read(feed(
            "<item><title>Dewbell 1.2</title><pubDate>Tue, 05 Mar 2024 10:00:00 +0000</pubDate>"
            "<dewbell:version> 1.2.0 </dewbell:version><dewbell:shortVersion>1.2</dewbell:shortVersion>"
            "<description><![CDATA[<p>Softer <b>sounds</b></p>]]></description>"
            "<enclosure url=\"https://example.org/a.tar.xz\" length=\"1234\" type=\"application/x-xz\" "
            "dewbell:edSignature=\""
            + signature64 + "\"/></item>"
            + item("1.3.0", "<description>ignored</description><dewbell:notes>Plain &lt;b&gt;text</dewbell:notes>")));
        QVERIFY(items);
        QCOMPARE(items->size(), 2);
        const FeedItem& first = items->at(0);
        QCOMPARE(first.version, QStringLiteral("1.2.0"));
        QCOMPARE(first.displayVersion(), QStringLiteral("1.2"));
        QCOMPARE(first.date, QDateTime(QDate(2024, 3, 5), QTime(10, 0), QTimeZone::utc()));
        QCOMPARE(first.notes, QStringLiteral("<p>Softer <b>sounds</b></p>"));
        QVERIFY(first.notesAreHtml);
        QCOMPARE(first.archiveURL, QUrl(QStringLiteral("https://example.org/a.tar.xz")));
        QCOMPARE(first.archiveLength, 1234);
        QCOMPARE(first.signature, QByteArray(64, 's'));
        QCOMPARE(items->at(1).notes, QStringLiteral("Plain <b>text"));
        QVERIFY(!items->at(1).notesAreHtml);
    }

    void unreadableFeeds_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("not XML") << QByteArray("{\"items\": []}");
        QTest::newRow("cut off") << feed(item("1.2.0")).chopped(20);
        QTest::newRow("not RSS") << QByteArray("<feed><entry/></feed>");
        QTest::newRow("no channel") << QByteArray("<rss version=\"2.0\"></rss>");
        QTest::newRow("entity declarations")
            << ("<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY a \"aaaaaaaaaa\">]>" + feed(item("1.2.0")).mid(21));
        QTest::newRow("markup inside the notes") << feed(item("1.2.0", "<description><p>raw</p></description>"));
        QTest::newRow("too many items") << feed(item("1.2.0").repeated(UpdateFeed::itemLimit + 1));
        QTest::newRow("too large") << feed(
            item("1.2.0", "<dewbell:notes>" + QByteArray(UpdateFeed::sizeLimit, 'n') + "</dewbell:notes>"));
    }
    void unreadableFeeds()
    {
        QFETCH(QByteArray, xml);
        QVERIFY(!UpdateFeed::read(xml));
    }

    void longNotesAreCut()
    {
        const QByteArray notes(UpdateFeed::notesLimit + 500, 'n');
        const auto items = UpdateFeed::read(feed(item("1.2.0", "<dewbell:notes>" + notes + "</dewbell:notes>")));
        QVERIFY(items);
        QCOMPARE(items->at(0).notes.size(), UpdateFeed::notesLimit);
    }

    void malformedEnclosures()
    {
        const auto items = UpdateFeed::read(
            feed("<item><dewbell:version>2.0</dewbell:version><enclosure url=\"https://e.org/a\" length=\"-5\" "
                 "dewbell:edSignature=\"c2hvcnQ=\"/></item>"
                 "<item><dewbell:version>2.1</dewbell:version><enclosure url=\"https://e.org/a\" length=\"ten\" "
                 "edSignature=\""
                 + signature64 + "\"/></item>"));
        QVERIFY(items);
        QCOMPARE(items->at(0).archiveLength, -1);
        QVERIFY(items->at(0).signature.isEmpty());
        QCOMPARE(items->at(1).archiveLength, -1);
        QVERIFY2(items->at(1).signature.isEmpty(), "a signature outside Dewbell's namespace is not ours");
    }

    void newestOffer_data()
    {
        addColumns<QByteArray, QString, QString>("items", "skipped", "offered");
        const QByteArray three = item("1.1.0") + item("1.3.0") + item("1.2.5");
        QTest::newRow("highest, wherever it stands") << three << ""
                                                     << "1.3.0";
        QTest::newRow("skipped is passed over") << three << "1.3.0"
                                                << "1.2.5";
        QTest::newRow("skipped written shorter") << item("1.3.0") << "1.3"
                                                 << "";
        QTest::newRow("an older skip hides nothing newer") << three << "1.1.0"
                                                           << "1.3.0";
        QTest::newRow("nothing newer") << item("1.0.0") + item("0.9.9") << ""
                                       << "";
        QTest::newRow("unorderable items are ignored") << item("9.0-rc1") + item("1.0.1") << ""
                                                       << "1.0.1";
        QTest::newRow("empty channel") << QByteArray() << ""
                                       << "";
    }
    void newestOffer()
    {
        QFETCH(QByteArray, items);
        QFETCH(QString, skipped);
        QFETCH(QString, offered);
        const auto read = UpdateFeed::read(feed(items));
        QVERIFY(read);
        const auto offer = UpdateFeed::newestOffer(*read, QStringLiteral("1.0.0"), skipped);
        QCOMPARE(offer ? offer->version : QString(), offered);
    }

    void signatures()
    {
        const auto keys = ReleaseTesting::makeKeys();
        const QByteArray archive = "the archive's bytes";
        const QByteArray signature = ReleaseTesting::sign(archive, keys.secretKey);
        QByteArray tampered = archive;
        tampered[3] = 'X';
        QVERIFY(SignatureCheck::matches(archive, signature, keys.publicKey));
        QVERIFY(!SignatureCheck::matches(tampered, signature, keys.publicKey));
        QVERIFY(!SignatureCheck::matches(archive, signature, ReleaseTesting::makeKeys().publicKey));
        QVERIFY(!SignatureCheck::matches(archive, signature.left(63), keys.publicKey));
        QVERIFY(!SignatureCheck::matches(archive, signature, keys.publicKey.left(31)));
    }
};

QTEST_GUILESS_MAIN(UpdateFeedTest)
#include "test_update_feed.moc"
