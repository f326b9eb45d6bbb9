#include "support/TableTesting.h"
#include "ui/DarkSurface.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/PrimaryButton.h"
#include "ui/ReduceMotion.h"
#include "ui/SoftButton.h"
#include "ui/Symbols.h"
#include "ui/TrailingSwitch.h"
#include "ui/Typography.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

class TestSharedStyles : public QObject {
    Q_OBJECT

private slots:
    void colorReadsSixHexDigitsOrFallsBackToTheAccent_data()
    {
        addColumns<QString, QColor>("hex", "expected");
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

    void plainButtonKeepsItsSymbolsInPlace()
    {
        const auto isRed = [](QRgb pixel) { return qRed(pixel) > 150 && qGreen(pixel) < 110 && qBlue(pixel) < 110; };
        const auto redColumns = [&](const QImage& image, int from, int to) {
            int count = 0;
            for (int x = from; x < to; ++x) {
                for (int y = 0; y < image.height(); ++y) {
                    if (isRed(image.pixel(x, y))) {
                        ++count;
                        break;
                    }
                }
            }
            return count;
        };

        // Stretched, the trailing symbol goes to the right edge, away from the text.
        PlainButton meeting(QStringLiteral("Protect"), QStringLiteral("person.2"));
        meeting.setColor(Qt::red);
        meeting.setTrailingSymbol(QStringLiteral("chevron.right"));
        meeting.setStretched(true);
        QVERIFY(meeting.sizeHint().width() > PlainButton(QStringLiteral("Protect")).sizeHint().width());
        meeting.resize(400, meeting.sizeHint().height());
        const QImage row = meeting.grab().toImage();
        const int side = meeting.sizeHint().height();
        QVERIFY(redColumns(row, 0, side) > 0);
        QCOMPARE(redColumns(row, meeting.sizeHint().width(), 400 - side), 0);
        QVERIFY(redColumns(row, 400 - side, 400) > 0);

        // A small symbol with room around it: the room is part of the button, the symbol is not drawn there.
        PlainButton close({}, QStringLiteral("xmark"));
        close.setColor(Qt::red);
        close.setSymbolSize(10);
        close.setContentsMargins(4, 4, 4, 4);
        QCOMPARE(close.sizeHint(), QSize(18, 18));
        close.resize(close.sizeHint());
        const QImage cross = close.grab().toImage();
        QVERIFY(redColumns(cross, 4, 14) > 0);
        QCOMPARE(redColumns(cross, 0, 3) + redColumns(cross, 15, 18), 0);
        QSignalSpy clicks(&close, &QAbstractButton::clicked);
        QTest::mouseClick(&close, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(clicks.count(), 1);
    }

    void darkSurfaceGivesItsChildrenLightText()
    {
        QWidget surface;
        useDarkSurface(&surface);
        auto* label = new QLabel(QStringLiteral("Hello"), &surface);
        label->setFont(uiFont(20));
        surface.resize(120, 40);
        label->move(0, 0);
        const QImage image = surface.grab().toImage();
        QCOMPARE(image.pixelColor(119, 39).rgb(), Palette::background().rgb());
        int lightest = 0;
        for (int y = 0; y < label->height() && y < image.height(); ++y)
            for (int x = 0; x < label->width() && x < image.width(); ++x)
                lightest = std::max(lightest, qGray(image.pixel(x, y)));
        QVERIFY2(lightest > 200, qPrintable(QString::number(lightest)));
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
        QWidget surface;
        useDarkSurface(&surface);
        SoftButton later(QStringLiteral("Later"), {}, &surface);
        later.resize(later.sizeHint());
        const auto lightest = [&later] {
            const QImage image = later.grab().toImage();
            int value = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    value = std::max(value, qGray(image.pixel(x, y)));
            return value;
        };
        const int idle = lightest();
        later.setDown(true);
        QVERIFY2(lightest() < idle - 40, qPrintable(QStringLiteral("%1 then %2").arg(idle).arg(lightest())));
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

    // On a wide row the blank between the words and the switch is no part of it: a stray click
    // there changes nothing. The words and the switch (with a little room round it) toggle.
    void trailingSwitchTogglesOnlyFromItsWordsAndItsSwitch()
    {
        TrailingSwitch sound(QStringLiteral("A tiny pop sound"));
        sound.resize(640, sound.heightForWidth(640));
        sound.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sound));
        QSignalSpy toggles(&sound, &QAbstractButton::toggled);
        const int middle = sound.height() / 2;
        const int wordsEnd = sound.fontMetrics().horizontalAdvance(sound.text());
        const int trackLeft = sound.width() - TrailingSwitch::trackSize.width();

        for (const int x : {wordsEnd + 12, sound.width() / 2, trackLeft - 12})
            QTest::mouseClick(&sound, Qt::LeftButton, {}, QPoint(x, middle));
        QCOMPARE(toggles.count(), 0);

        for (const int x : {2, wordsEnd - 2, trackLeft - 2, trackLeft + 4, sound.width() - 2})
            QTest::mouseClick(&sound, Qt::LeftButton, {}, QPoint(x, middle));
        QCOMPARE(toggles.count(), 5);

        // Wrapped onto two lines, the blank after the shorter second line is no part of it either.
        const QString firstLine = QStringLiteral("Follow the desktop's Do Not Disturb");
        TrailingSwitch wrapped(firstLine + QStringLiteral(" always"));
        const int textWidth = wrapped.fontMetrics().horizontalAdvance(firstLine) + 4;
        const int width = textWidth + TrailingSwitch::spacing + TrailingSwitch::trackSize.width();
        wrapped.resize(width, wrapped.heightForWidth(width));
        wrapped.show();
        QVERIFY(wrapped.height() > wrapped.fontMetrics().height() * 3 / 2);
        QSignalSpy wrappedToggles(&wrapped, &QAbstractButton::toggled);
        const int secondLine = wrapped.height() * 3 / 4;
        QTest::mouseClick(&wrapped, Qt::LeftButton, {}, QPoint(textWidth - 8, secondLine));
        QCOMPARE(wrappedToggles.count(), 0);
        QTest::mouseClick(&wrapped, Qt::LeftButton, {}, QPoint(4, secondLine));
        QCOMPARE(wrappedToggles.count(), 1);
    }

    // An opening quote mark ("66") carries its weight low, under its tails; a closing one high.
    void theOpeningQuoteMarkOpens()
    {
        const QImage mark = Symbols::pixmap(QStringLiteral("quote.opening"), 64, Qt::white).toImage();
        double weight = 0;
        double weightedRow = 0;
        int top = mark.height();
        int bottom = -1;
        for (int y = 0; y < mark.height(); ++y) {
            for (int x = 0; x < mark.width(); ++x) {
                const int alpha = qAlpha(mark.pixel(x, y));
                weight += alpha;
                weightedRow += alpha * (y + 0.5);
                if (alpha > 0) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        QVERIFY(weight > 0);
        const double middle = (top + bottom + 1) / 2.0;
        QVERIFY2(weightedRow / weight > middle + 1,
                 qPrintable(QStringLiteral("weight at %1, middle %2").arg(weightedRow / weight).arg(middle)));
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

    // A click leaves no ring on a control; reaching it with Tab draws one.
    void focusRingsShowOnlyForTheKeyboard()
    {
        QWidget window;
        useDarkSurface(&window);
        auto* layout = new QVBoxLayout(&window);
        auto* drank = new PrimaryButton(QStringLiteral("I drank 250 ml"), QStringLiteral("checkmark"), &window);
        auto* later = new SoftButton(QStringLiteral("Later"), {}, &window);
        auto* sound = new TrailingSwitch(QStringLiteral("A tiny pop sound"), &window);
        for (QWidget* control :
             {static_cast<QWidget*>(drank), static_cast<QWidget*>(later), static_cast<QWidget*>(sound)})
            layout->addWidget(control);
        window.resize(320, 160);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // Where each ring runs: the capsule's top edge, a little above the switch's track.
        const auto ringSpot = [&window](QWidget* control) {
            if (control == static_cast<QWidget*>(window.findChild<TrailingSwitch*>())) {
                const QSize track = TrailingSwitch::trackSize;
                const QPoint centre(control->width() - track.width() / 2, (control->height() - track.height()) / 2);
                return QRect(control->mapTo(&window, centre - QPoint(0, 3)), QSize(1, 2));
            }
            return QRect(control->mapTo(&window, QPoint(control->width() / 2, 0)), QSize(1, 1));
        };
        const auto ringShown = [&](QWidget* control) {
            const QRect spot = ringSpot(control);
            const QImage shown = window.grab().toImage();
            int brightest = 0;
            for (int y = spot.top(); y <= spot.bottom(); ++y)
                brightest = std::max(brightest, qGray(shown.pixel(spot.left(), y)));
            return brightest > 140;
        };

        for (QWidget* control :
             {static_cast<QWidget*>(drank), static_cast<QWidget*>(later), static_cast<QWidget*>(sound)}) {
            QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
            QVERIFY(control->hasFocus());
            QVERIFY2(!ringShown(control), control->metaObject()->className());
        }
        drank->setFocus(Qt::MouseFocusReason);
        for (QWidget* control : {static_cast<QWidget*>(later), static_cast<QWidget*>(sound)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(control->hasFocus());
            QVERIFY2(ringShown(control), control->metaObject()->className());
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(drank->hasFocus() && ringShown(drank));
    }

    void everySymbolNameHasAGlyphInTheFont()
    {
        QVERIFY2(QFile::exists(Symbols::fontFile()), "The Material Icons font is missing: scripts/setup installs it");
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
        ReduceMotion::setSource([] { return true; });
        ReduceMotion::setOverride(false);
        QVERIFY(!ReduceMotion::isOn());
        ReduceMotion::setOverride(std::nullopt);
        QVERIFY(ReduceMotion::isOn());
        ReduceMotion::setSource([] { return false; });
        QVERIFY(!ReduceMotion::isOn());
    }
};

QTEST_MAIN(TestSharedStyles)
#include "test_shared_styles.moc"
