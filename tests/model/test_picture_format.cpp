#include "model/PictureFormat.h"
#include "support/PictureTesting.h"
#include "support/TableTesting.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Odd sizes, so a decoder that swaps width and height is seen.
QByteArray encoded(const char* format, QSize size = {12, 7})
{
    return PictureTesting::imageBytes(format, size);
}

}  // namespace

class PictureFormatTest : public QObject {
    Q_OBJECT

private slots:
    // The signatures of the formats packs use, and look-alikes that must not pass for them.
    void namesTheFormatFromTheFirstBytes_data()
    {
        addColumns<QByteArray, QByteArray>("firstBytes", "format");
        QTest::newRow("png") << encoded("png").left(12) << QByteArray("png");
        QTest::newRow("jpeg") << encoded("jpeg").left(12) << QByteArray("jpeg");
        QTest::newRow("bmp") << encoded("bmp").left(12) << QByteArray("bmp");
        QTest::newRow("gif87a") << QByteArray("GIF87a\x0c\0\x07\0", 10) << QByteArray("gif");
        QTest::newRow("gif89a") << QByteArray("GIF89a") << QByteArray("gif");
        QTest::newRow("webp") << QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16) << QByteArray("webp");
        QTest::newRow("wave sound") << QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16) << QByteArray();
        QTest::newRow("png cut short") << QByteArray("\x89PNG\r\n") << QByteArray();
        QTest::newRow("ppm") << encoded("ppm").left(12) << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void namesTheFormatFromTheFirstBytes()
    {
        QFETCH(QByteArray, firstBytes);
        QFETCH(QByteArray, format);
        QCOMPARE(PictureFormat::named(firstBytes), format);
    }

    // The bytes decide, not the name; a format without a signature is still recognised by Qt.
    void decodesWhateverTheNameSays()
    {
        for (const char* format : {"png", "jpeg", "bmp", "ppm"}) {
            const QImage picture = PictureFormat::decode(encoded(format));
            QCOMPARE(picture.size(), QSize(12, 7));
        }
        QVERIFY(PictureFormat::decode(encoded("png").left(40)).isNull());
        QVERIFY(PictureFormat::decode("not a picture").isNull());

        QTemporaryDir folder;
        QFile lying(folder.filePath(QStringLiteral("pose.png")));
        QVERIFY(lying.open(QIODevice::WriteOnly));
        lying.write(encoded("jpeg", {30, 20}));
        lying.close();
        QImageReader reader(lying.fileName());
        PictureFormat::pin(reader);
        QCOMPARE(reader.size(), QSize(30, 20));
        QCOMPARE(reader.read().size(), QSize(30, 20));
    }
};

QTEST_GUILESS_MAIN(PictureFormatTest)
#include "test_picture_format.moc"
