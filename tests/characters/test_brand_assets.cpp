#include "characters/AppBrandMark.h"
#include "characters/BrandAssets.h"
#include "characters/BrandMarkArt.h"
#include "support/RenderChecks.h"

#include <QMovie>
#include <QTemporaryDir>
#include <QtTest>

class TestBrandAssets : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        qputenv("DEWBELL_BUNDLE_DIR", bundle_.toUtf8());
        BrandAssets::clearCache();
    }
    void initTestCase() { bundle_ = qEnvironmentVariable("DEWBELL_BUNDLE_DIR"); }

    void theMenuTemplateIsBlackWithAlpha()
    {
        const auto image = BrandAssets::image(QStringLiteral("menu-template-v1.png"));
        QVERIFY(image);
        const QImage menu = image->convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < menu.height(); ++y) {
            for (int x = 0; x < menu.width(); ++x) {
                const QColor pixel = menu.pixelColor(x, y);
                opaque += pixel.alpha() > 0;
                QVERIFY(pixel.alpha() == 0 || (pixel.rgb() & 0xFFFFFF) == 0u);
            }
        }
        QVERIFY(opaque > 200 && opaque < 36 * 36);
    }

    void theWaveIsAnAnimationQMovieCanPlay()
    {
        const auto path = BrandAssets::path(QStringLiteral("orvo-wave.gif"));
        QVERIFY(path);
        QMovie wave(*path);
        QVERIFY(wave.isValid() && wave.frameCount() > 6);
        // Every frame decodes; the arm moves between them.
        QVERIFY(wave.jumpToFrame(0) && wave.nextFrameDelay() > 0);
        const QImage first = wave.currentImage();
        bool moves = false;
        for (int frame = 0; frame < wave.frameCount(); ++frame) {
            QVERIFY(wave.jumpToFrame(frame));
            QVERIFY(RenderChecks::isDrawn(wave.currentImage()));
            moves = moves || wave.currentImage() != first;
        }
        QVERIFY(moves);
    }

    void badNamesAndMissingFilesGiveNothing()
    {
        QVERIFY(!BrandAssets::image(QStringLiteral("../info.json")));
        QVERIFY(!BrandAssets::image(QStringLiteral("")));
        QVERIFY(!BrandAssets::path(QStringLiteral("no-such-art.png")));
    }

    void aBrokenFileIsNotKeptAndARepairedOneIsPickedUp()
    {
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

    void theMenuIconIsAnEighteenPointTemplate()
    {
        const QIcon icon = BrandAssets::menuIcon();
        QVERIFY(icon.isMask() && icon.availableSizes().contains(QSize(18, 18)));

        QTemporaryDir empty;
        qputenv("DEWBELL_BUNDLE_DIR", empty.path().toUtf8());
        BrandAssets::clearCache();
        const QIcon fallback = BrandAssets::menuIcon();
        QVERIFY(fallback.isMask());
        QVERIFY(RenderChecks::visiblePixels(fallback.pixmap(18, 18).toImage()) > 20);
    }

    void theBrandMarkDrawsInOneColourWhenMonochrome()
    {
        const QColor tint(0xB9, 0xA3, 0xFF);
        const QImage mono = AppBrandMark::render(34, true, tint);
        QVERIFY(RenderChecks::isDrawn(mono));
        for (int y = 0; y < mono.height(); ++y) {
            for (int x = 0; x < mono.width(); ++x)
                QVERIFY(mono.pixelColor(x, y).alpha() < 255 || mono.pixelColor(x, y).rgb() == tint.rgb());
        }
        QVERIFY(AppBrandMark::render(34, false, QColor()) != mono);
    }

private:
    QString bundle_;
};

QTEST_MAIN(TestBrandAssets)
#include "test_brand_assets.moc"
