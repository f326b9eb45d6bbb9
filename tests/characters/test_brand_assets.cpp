#include "AppBrandMark.h"
#include "BrandAssets.h"
#include "BrandMarkArt.h"
#include "RenderChecks.h"

#include <QMovie>
#include <QTemporaryDir>
#include <QtTest>

class TestBrandAssets : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        qputenv("DEWBELL_BUNDLE_DIR", bundle_.toUtf8());
        BrandAssets::clearCache();
    }
    void initTestCase() { bundle_ = qEnvironmentVariable("DEWBELL_BUNDLE_DIR"); }

    void theBundleHasEveryBrandPicture() {
        const auto icon = BrandAssets::image(QStringLiteral("app-icon-v1.png"));
        QVERIFY(icon);
        QCOMPARE(icon->size(), QSize(256, 256));
        const auto menu = BrandAssets::image(QStringLiteral("menu-template-v1.png"));
        QVERIFY(menu);
        QCOMPARE(menu->size(), QSize(36, 36));
        QVERIFY(BrandAssets::image(QStringLiteral("orvo-onboarding.png")));
        QVERIFY(BrandAssets::image(QStringLiteral("orvo-wave.gif")));
    }

    void theMenuTemplateIsBlackWithAlpha() {
        const QImage menu = BrandAssets::image(QStringLiteral("menu-template-v1.png"))->convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < menu.height(); ++y) {
            for (int x = 0; x < menu.width(); ++x) {
                const QColor pixel = menu.pixelColor(x, y);
                if (pixel.alpha() == 0)
                    continue;
                ++opaque;
                QCOMPARE(pixel.rgb() & 0xFFFFFF, 0u);
            }
        }
        QVERIFY(opaque > 200);
        QVERIFY(opaque < 36 * 36);
    }

    void theWaveIsAnAnimationQMovieCanPlay() {
        const auto path = BrandAssets::path(QStringLiteral("orvo-wave.gif"));
        QVERIFY(path);
        QMovie wave(*path);
        QVERIFY(wave.isValid());
        QVERIFY(wave.frameCount() > 6);
        QVERIFY(wave.jumpToFrame(0));
        const QImage first = wave.currentImage();
        QVERIFY(RenderChecks::isDrawn(first));
        QVERIFY(wave.nextFrameDelay() > 0);
        // Every frame decodes; the arm moves between them.
        for (int frame = 1; frame < wave.frameCount(); ++frame) {
            QVERIFY(wave.jumpToNextFrame());
            QVERIFY(RenderChecks::isDrawn(wave.currentImage()));
        }
        QVERIFY(wave.jumpToFrame(0));
        QVERIFY(wave.jumpToNextFrame() && wave.jumpToNextFrame() && wave.jumpToNextFrame());
        QVERIFY(first != wave.currentImage());
    }

    void badNamesAndMissingFilesGiveNothing() {
        QVERIFY(!BrandAssets::image(QStringLiteral("../info.json")));
        QVERIFY(!BrandAssets::image(QStringLiteral("")));
        QVERIFY(!BrandAssets::image(QStringLiteral("no-such-art.png")));
        QVERIFY(!BrandAssets::path(QStringLiteral("no-such-art.png")));
    }

    void aBrokenFileIsNotKeptAndARepairedOneIsPickedUp() {
        QTemporaryDir bundle;
        QDir(bundle.path()).mkpath(QStringLiteral("Brand"));
        const QString file = bundle.filePath(QStringLiteral("Brand/orvo-onboarding.png"));
        QFile broken(file);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a png");
        broken.close();
        qputenv("DEWBELL_BUNDLE_DIR", bundle.path().toUtf8());
        QVERIFY(!BrandAssets::image(QStringLiteral("orvo-onboarding.png")));
        QVERIFY(AppBrandMark::render(40, false, QColor()).save(file));
        QVERIFY(BrandAssets::image(QStringLiteral("orvo-onboarding.png")));
    }

    void theMenuIconIsAnEighteenPointTemplate() {
        const QIcon icon = BrandAssets::menuIcon();
        QVERIFY(icon.isMask());
        QVERIFY(icon.availableSizes().contains(QSize(18, 18)));
        QVERIFY(icon.availableSizes().contains(QSize(36, 36)));

        QTemporaryDir empty;
        qputenv("DEWBELL_BUNDLE_DIR", empty.path().toUtf8());
        BrandAssets::clearCache();
        const QIcon fallback = BrandAssets::menuIcon();
        QVERIFY(fallback.isMask());
        QVERIFY(!fallback.isNull());
        QVERIFY(RenderChecks::visiblePixels(fallback.pixmap(18, 18).toImage()) > 20);
    }

    void theBrandMarkDrawsInOneColourWhenMonochrome() {
        const QColor tint(0xB9, 0xA3, 0xFF);
        const QImage mono = AppBrandMark::render(34, true, tint);
        QVERIFY(RenderChecks::isDrawn(mono));
        for (int y = 0; y < mono.height(); ++y) {
            for (int x = 0; x < mono.width(); ++x) {
                const QColor pixel = mono.pixelColor(x, y);
                if (pixel.alpha() == 255)
                    QCOMPARE(pixel.rgb(), tint.rgb());
            }
        }
        const QImage colour = AppBrandMark::render(34, false, QColor());
        QVERIFY(colour != mono);
        AppBrandMark mark;
        QCOMPARE(mark.sizeHint(), QSize(34, 34));
        QCOMPARE(mark.tint(), QColor(0xF3, 0xF2, 0xEC));
        AppBrandMark large(56, false);
        QCOMPARE(large.size(), QSize(56, 56));
    }

private:
    QString bundle_;
};

QTEST_MAIN(TestBrandAssets)
#include "test_brand_assets.moc"
