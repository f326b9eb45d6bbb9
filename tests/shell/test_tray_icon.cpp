#include "shell/TrayIcon.h"
#include "support/TableTesting.h"

#include <QPainter>
#include <QtTest>

namespace {

// WCAG's relative luminance of an sRGB colour, and the contrast of two.
double luminance(const QColor& colour)
{
    const auto channel = [](double value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The weakest contrast of the icon's ink (its fully covered pixels) against a panel, as the
// tray shows it at 22 pixels.
double weakestContrast(const QIcon& icon, const QColor& panel, int* inked)
{
    QImage shown(22, 22, QImage::Format_ARGB32_Premultiplied);
    shown.fill(panel);
    QPainter painter(&shown);
    painter.drawPixmap(0, 0, icon.pixmap(22, 22));
    painter.end();
    const QImage coverage = icon.pixmap(22, 22).toImage().convertToFormat(QImage::Format_ARGB32);
    double weakest = 21;
    *inked = 0;
    for (int y = 0; y < coverage.height(); ++y) {
        for (int x = 0; x < coverage.width(); ++x) {
            if (qAlpha(coverage.pixel(x, y)) < 240)
                continue;
            ++*inked;
            weakest = std::min(weakest, contrast(shown.pixelColor(x, y), panel));
        }
    }
    return weakest;
}

const QColor darkPanel(0x20, 0x20, 0x20);
const QColor lightPanel(0xF0, 0xF0, 0xF0);

}  // namespace

class TrayIconTest : public QObject {
    Q_OBJECT

private slots:
    void theIconReadsOnItsPanel_data()
    {
        addColumns<std::optional<QColor>, QColor>("trayAsks", "panel");
        QTest::newRow("a dark panel that says nothing") << std::optional<QColor>() << darkPanel;
        QTest::newRow("a light panel that says nothing") << std::optional<QColor>() << lightPanel;
        QTest::newRow("a dark panel asking for white") << std::optional<QColor>(Qt::white) << darkPanel;
        QTest::newRow("a light panel asking for dark grey")
            << std::optional<QColor>(QColor(0x2E, 0x34, 0x36)) << lightPanel;
    }

    void theIconReadsOnItsPanel()
    {
        QFETCH(std::optional<QColor>, trayAsks);
        QFETCH(QColor, panel);
        TrayIcon tray([] { return true; }, nullptr, [trayAsks] { return trayAsks; });
        tray.show();
        int inked = 0;
        const double weakest = weakestContrast(tray.icon(), panel, &inked);
        QVERIFY2(inked > 22 * 22 / 6, qPrintable(QString::number(inked)));
        QVERIFY2(weakest >= 3.0, qPrintable(QString::number(weakest)));
        // Drawn in the colour the tray asks for, where it asks.
        if (trayAsks)
            QVERIFY2(weakest > 0.75 * contrast(*trayAsks, panel), qPrintable(QString::number(weakest)));
    }

    // Up in 0.8 s and down in another 0.8 s, each half easing in and out on its own.
    void thePulseEasesEachHalf()
    {
        const auto at = &TrayIcon::pulseOpacityAt;
        for (const auto& [milliseconds, expected] :
             {std::pair{0, 0.1}, {400, 0.3}, {800, 0.5}, {1200, 0.3}, {1600, 0.1}, {2000, 0.3}})
            QVERIFY2(std::abs(at(milliseconds) - expected) < 0.005, qPrintable(QString::number(milliseconds)));
        // Slow off the ends, quick through the middle, the way down mirroring the way up.
        QVERIFY(at(100) - at(0) < at(450) - at(350));
        QVERIFY(at(200) < 0.2 && at(600) > 0.4);
        QVERIFY(std::abs(at(1000) - at(600)) < 1e-9);
    }

    // The pulse wakes exactly when its picture changes: never a step missed, never a wake for
    // nothing; up and down through the eight pictures is fourteen wakes a cycle.
    void thePulseWakesOnlyToChangeItsPicture()
    {
        int wakes = 0;
        for (int into = 0; into < 2 * TrayIcon::pulseMilliseconds; into += TrayIcon::untilNextPulseFrame(into)) {
            const int next = into + TrayIcon::untilNextPulseFrame(into);
            for (int between = into + 1; between < next; ++between)
                QCOMPARE(TrayIcon::pulseFrameAt(between), TrayIcon::pulseFrameAt(into));
            QVERIFY2(TrayIcon::pulseFrameAt(next) != TrayIcon::pulseFrameAt(next - 1),
                     qPrintable(QString::number(next)));
            wakes += next <= 2 * TrayIcon::pulseMilliseconds;
        }
        QCOMPARE(wakes, 2 * (TrayIcon::pulseSteps - 1));
        QCOMPARE(TrayIcon::untilNextPulseFrame(2 * TrayIcon::pulseMilliseconds), TrayIcon::untilNextPulseFrame(0));
    }
};

QTEST_MAIN(TrayIconTest)
#include "test_tray_icon.moc"
