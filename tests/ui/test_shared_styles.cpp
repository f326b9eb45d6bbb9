#include "characters/ReduceMotion.h"
#include "ui/Palette.h"
#include "ui/PrimaryButton.h"
#include "ui/SoftButton.h"
#include "ui/Symbols.h"
#include "ui/TrailingSwitch.h"
#include "ui/Typography.h"

#include <QAccessible>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestSharedStyles : public QObject {
    Q_OBJECT

private slots:
    void colorReadsSixHexDigitsOrFallsBackToTheAccent_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("mixed case") << "aBcDeF" << QColor(0xAB, 0xCD, 0xEF);
        QTest::newRow("hash and spaces") << "  #714ce8 " << QColor(0x71, 0x4C, 0xE8);
        QTest::newRow("black") << "000000" << QColor(0, 0, 0);
        for (const char* bad :
             {"", "12345", "1234567", "GGGGGG", "+12345", "-12345", "0x1234", "12 345", "#", "ＡＢＣＤＥＦ"})
            QTest::newRow(bad[0] ? bad : "empty") << QString::fromUtf8(bad) << Palette::accent();
    }
    void colorReadsSixHexDigitsOrFallsBackToTheAccent()
    {
        QFETCH(QString, hex);
        QFETCH(QColor, expected);
        QCOMPARE(Color(hex), expected);
    }

    void buttonsClickAndShowTheirSymbol()
    {
        PrimaryButton drink(QStringLiteral("I drank 250 ml"), QStringLiteral("checkmark"));
        QSignalSpy clicks(&drink, &QPushButton::clicked);
        drink.resize(drink.sizeHint());
        drink.show();
        QTest::mouseClick(&drink, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        // The symbol takes room beside the label and is drawn before it, at the leading edge:
        // two buttons differing only in their symbol differ only there.
        QVERIFY(drink.sizeHint().width() > PrimaryButton(QStringLiteral("I drank 250 ml")).sizeHint().width());
        PrimaryButton plus(QStringLiteral("I drank 250 ml"), QStringLiteral("plus"));
        plus.resize(drink.sizeHint());
        const QImage a = drink.grab().toImage();
        const QImage b = plus.grab().toImage();
        int first = a.width();
        int last = -1;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
        QVERIFY2(first >= 10 && last >= 0 && last < a.width() / 3
                     && last - first <= QFontMetrics(drink.font()).height(),
                 qPrintable(QStringLiteral("symbol drawn at x %1 to %2 of %3").arg(first).arg(last).arg(a.width())));
    }

    void fontSizesAreLogicalPixels()
    {
        // Whatever font resolution the desktop reports, a 12 is 12 pixels high.
        QCOMPARE(QFontInfo(uiFont(10.5)).pixelSize(), 11);
        QCOMPARE(QFontInfo(uiFont(27, QFont::Normal, FontDesign::serif)).pixelSize(), 27);
        QCOMPARE(QFontInfo(SoftButton(QStringLiteral("Not yet")).font()).pixelSize(), 12);
    }

    void fontDesignsAndTracking()
    {
        QVERIFY(QFontInfo(uiFont(24, QFont::Medium, FontDesign::serif)).family() != QFontInfo(uiFont(24)).family());
        const QFont caption = uiFont(8, QFont::DemiBold, FontDesign::standard, 1.2);
        QCOMPARE(caption.letterSpacingType(), QFont::AbsoluteSpacing);
        QVERIFY(std::abs(caption.letterSpacing() - 1.2) < 1.0 / 64);  // kept in 64ths of a pixel
    }

    void softButtonDimsItsLabelWhilePressed()
    {
        SoftButton later(QStringLiteral("Later"));
        later.resize(later.sizeHint());
        const QImage idle = later.grab().toImage();
        later.setDown(true);
        QVERIFY(idle != later.grab().toImage());
    }

    void trailingSwitchTogglesByClickAndKey()
    {
        TrailingSwitch quiet(QStringLiteral("Keep my quiet hours (22:00–09:00)"));
        quiet.resize(360, quiet.heightForWidth(360));
        quiet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&quiet));
        QSignalSpy toggles(&quiet, &QAbstractButton::toggled);

        QTest::mouseClick(&quiet, Qt::LeftButton, {}, QPoint(quiet.width() - 10, quiet.height() / 2));
        QVERIFY(quiet.isChecked());
        // The label is part of the control: clicking it toggles too.
        QTest::mouseClick(&quiet, Qt::LeftButton, {}, QPoint(10, quiet.height() / 2));
        QVERIFY(!quiet.isChecked());

        quiet.setFocus();
        QTest::keyClick(&quiet, Qt::Key_Space);
        QVERIFY(quiet.isChecked());
        QCOMPARE(toggles.count(), 3);
        // Assistive tools name it by its label.
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&quiet);
        QVERIFY(accessible && accessible->state().checkable);
        QCOMPARE(accessible->text(QAccessible::Name), quiet.text());
    }

    void trailingSwitchPutsTheSwitchOnTheRight()
    {
        TrailingSwitch sound(QStringLiteral("A tiny pop sound"));
        sound.resize(300, 30);
        sound.setChecked(true);
        const QImage on = sound.grab().toImage();
        // The primary tint sits at the right end, where the track is, and not at the left.
        const QColor right = on.pixelColor(on.width() - TrailingSwitch::trackSize.width() + 4, on.height() / 2);
        QCOMPARE(right.rgb(), Palette::primary().rgb());
        QVERIFY(on.pixelColor(4, on.height() / 2).rgb() != Palette::primary().rgb());
    }

    void everySymbolNameHasAGlyphInTheFont()
    {
        if (!QFile::exists(Symbols::fontFile()))
            QSKIP("The Material Icons font is not installed");
        for (const QString& name : Symbols::names())
            QVERIFY2(Symbols::isAvailable(name), qPrintable(name));
        for (const QString name : {"xmark", "checkmark.circle.fill", "moon.zzz", "lock.shield"})
            QVERIFY2(Symbols::codepoint(name), qPrintable(name));
    }

    void anUnknownSymbolDrawsThePlaceholder()
    {
        QVERIFY(!Symbols::isAvailable(QStringLiteral("no.such.symbol")));
        const QImage unknown = Symbols::pixmap(QStringLiteral("no.such.symbol"), 32, Qt::white).toImage();
        QImage placeholder(32, 32, QImage::Format_ARGB32_Premultiplied);
        placeholder.fill(Qt::transparent);
        QPainter painter(&placeholder);
        Symbols::paintPlaceholder(painter, QRectF(0, 0, 32, 32), Qt::white);
        painter.end();
        QCOMPARE(unknown.convertToFormat(QImage::Format_ARGB32_Premultiplied), placeholder);
    }

    void reduceMotionOverrideWinsOverTheDesktop()
    {
        struct Fixed : ReduceMotionSource {
            bool value;
            explicit Fixed(bool reduce) : value(reduce) { }
            bool reduceMotion() const override { return value; }
        };
        ReduceMotion::setSource(std::make_shared<Fixed>(true));
        ReduceMotion::setOverride(false);
        QVERIFY(!ReduceMotion::isOn());
        ReduceMotion::setOverride(std::nullopt);
        QVERIFY(ReduceMotion::isOn());
        ReduceMotion::setSource(std::make_shared<Fixed>(false));
        QVERIFY(!ReduceMotion::isOn());
    }

    void kdeGlobalsTellReducedMotionByAZeroFactor()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("kdeglobals"));
        QVERIFY(!DesktopReduceMotion::readKdeGlobals(path));
        const auto write = [&](const QByteArray& text) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text);
        };
        write("[General]\nColorScheme=Breeze\n\n[KDE]\nAnimationDurationFactor=0\n");
        QCOMPARE(DesktopReduceMotion::readKdeGlobals(path), std::optional<bool>(true));
        write("[KDE]\nAnimationDurationFactor=0.5\n");
        QCOMPARE(DesktopReduceMotion::readKdeGlobals(path), std::optional<bool>(false));
        write("[KDE]\nSingleClick=true\n");
        QVERIFY(!DesktopReduceMotion::readKdeGlobals(path));
    }
};

QTEST_MAIN(TestSharedStyles)
#include "test_shared_styles.moc"
