#include "platform/WindowShaping.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTest>

class TestWindowShaping : public QObject {
    Q_OBJECT

private slots:
    void shownPixelsAreTheHalfCoveredOnes()
    {
        // A ring (rows crossing it have two runs), a faint shadow below it and a pixel exactly half covered.
        const QRegion ring = QRegion(10, 5, 30, 20) - QRegion(20, 10, 10, 10) + QRegion(50, 30, 1, 1);
        for (QImage::Format format :
             {QImage::Format_ARGB32_Premultiplied, QImage::Format_ARGB32, QImage::Format_RGBA8888}) {
            QImage picture(60, 40, format);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.fillRect(QRect(10, 5, 30, 20), QColor(200, 40, 40));
            painter.fillRect(QRect(20, 10, 10, 10), Qt::transparent);
            painter.fillRect(QRect(10, 26, 30, 1), QColor(0, 0, 0, 127));
            painter.fillRect(QRect(50, 30, 1, 1), QColor(0, 0, 0, 128));
            painter.end();
            QCOMPARE(WindowShaping::shownPixels(picture, picture.rect()), ring);
            // Only the area asked about, which may reach past the picture.
            QCOMPARE(WindowShaping::shownPixels(picture, QRect(15, 0, 10, 12)), ring & QRect(15, 0, 10, 12));
            QCOMPARE(WindowShaping::shownPixels(picture, QRect(45, 25, 40, 40)), QRegion(50, 30, 1, 1));
        }
    }

    void shownPixelsCountDeviceIndependentPixelsAndOpaquePicturesShowWhole()
    {
        QImage picture(120, 80, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        picture.setDevicePixelRatio(2);
        QPainter painter(&picture);
        painter.fillRect(QRect(10, 5, 30, 20), Qt::red);
        painter.end();
        QCOMPARE(WindowShaping::shownPixels(picture, QRect(20, 0, 40, 40)), QRegion(20, 5, 20, 20));
        QImage opaque(60, 40, QImage::Format_RGB32);
        opaque.fill(Qt::black);
        QCOMPARE(WindowShaping::shownPixels(opaque, QRect(5, 5, 10, 10)), QRegion(5, 5, 10, 10));
    }
};

QTEST_MAIN(TestWindowShaping)
#include "test_window_shaping.moc"
