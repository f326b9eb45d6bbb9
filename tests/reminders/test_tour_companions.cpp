#include "support/FakeUrlOpener.h"
#include "support/TableTesting.h"

#include "characters/BrandAssets.h"
#include "reminders/tour/BreakInfoButton.h"
#include "reminders/tour/BreakInfoPopover.h"
#include "reminders/tour/DailyUseGuide.h"
#include "reminders/tour/OrvoHost.h"
#include "reminders/tour/OrvoWave.h"
#include "reminders/tour/TourMenuIcon.h"
#include "ui/ReduceMotion.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

class TourCompanionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { bundle_ = qEnvironmentVariable("DEWBELL_BUNDLE_DIR"); }
    void init() { ReduceMotion::setOverride(false); }
    void cleanup()
    {
        ReduceMotion::setOverride(std::nullopt);
        useBundle(bundle_);
    }

    void hostFallsBackFromWaveToStillToBrandMark_data()
    {
        addColumns<QStringList, bool, OrvoHost::Picture>("files", "reduceMotion", "picture");
        const QStringList both{"orvo-wave.gif", "orvo-onboarding.png"};
        QTest::newRow("both, motion") << both << false << OrvoHost::Picture::wave;
        QTest::newRow("both, reduced motion") << both << true << OrvoHost::Picture::still;
        QTest::newRow("still only") << QStringList{"orvo-onboarding.png"} << false << OrvoHost::Picture::still;
        QTest::newRow("wave only, reduced motion")
            << QStringList{"orvo-wave.gif"} << true << OrvoHost::Picture::brandMark;
        QTest::newRow("neither") << QStringList{} << false << OrvoHost::Picture::brandMark;
    }

    void hostFallsBackFromWaveToStillToBrandMark()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, reduceMotion);
        QFETCH(OrvoHost::Picture, picture);
        QTemporaryDir bundle;
        useBrandFiles(bundle, files);
        ReduceMotion::setOverride(reduceMotion);

        OrvoHost host;
        host.setFixedSize(78, 78);
        host.show();
        QCOMPARE(host.picture(), picture);
        QCOMPARE(host.wave() != nullptr, picture == OrvoHost::Picture::wave);
        if (picture == OrvoHost::Picture::brandMark) {
            QCOMPARE(host.pictureRect().size(), QSizeF(56, 56));
            QCOMPARE(host.circleRect().size(), QSizeF(68, 68));
        } else {
            QCOMPARE(host.circleRect().size(), QSizeF(78, 78));
            QCOMPARE(host.pictureRect().size(), QSizeF(66, 66));
        }
    }

    void waveMovesOnlyOnScreen()
    {
        OrvoWave wave(*BrandAssets::path(QStringLiteral("orvo-wave.gif")));
        QCOMPARE(wave.sizeHint(), QSize(66, 66));  // nobody proposed a size
        QVERIFY(!wave.isAnimating());
        wave.show();
        QVERIFY(wave.isAnimating());
        wave.hide();
        QVERIFY(!wave.isAnimating());
    }

    void menuIconBreathesOnlyWhileShownWithMotion()
    {
        // 0.12 to 0.36 and back every 1.6 s, counted from 2001-01-01.
        const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
        const QList<std::pair<qint64, qreal>> swing{{0, 0.24}, {400, 0.36}, {800, 0.24}, {1200, 0.12}, {1600, 0.24}};
        TourMenuIcon icon;
        for (const auto& [milliseconds, opacity] : swing)
            QVERIFY(qAbs(icon.highlightOpacity(reference.addMSecs(milliseconds)) - opacity) < 1e-9);
        QVERIFY(qAbs(icon.highlightOpacity(reference.addDays(8000).addMSecs(400)) - 0.36) < 1e-6);

        QVERIFY(!icon.isPulsing());
        icon.show();
        QVERIFY(icon.isPulsing());
        QVERIFY(TourMenuIcon::frameMilliseconds * 30 >= 1000);
        icon.hide();
        QVERIFY(!icon.isPulsing());

        ReduceMotion::setOverride(true);
        icon.show();
        QVERIFY(!icon.isPulsing());
        for (const auto& [milliseconds, opacity] : swing)
            QCOMPARE(icon.highlightOpacity(reference.addMSecs(milliseconds)), 0.3);
    }

    void breakExplanationNamesItsKind_data()
    {
        addColumns<ReminderKind, int, QString, QString, QString, QString>("kind", "movementMinutes", "help", "title",
                                                                          "explanationStart", "rhythm");
        QTest::newRow("eye rest") << ReminderKind::eyeRest << 1 << "Learn about eye-rest breaks"
                                  << "Eye-rest breaks"
                                  << "A reminder to look away from your screen."
                                  << "Your rhythm: every 25 minutes, rest for 40 seconds.";
        QTest::newRow("movement, one minute") << ReminderKind::movement << 1 << "Learn about movement breaks"
                                              << "Movement breaks"
                                              << "A reminder to pause screen work"
                                              << "Your rhythm: every 50 minutes, take 1 minute.";
        QTest::newRow("movement") << ReminderKind::movement << 5 << "Learn about movement breaks"
                                  << "Movement breaks"
                                  << "A reminder to pause screen work"
                                  << "Your rhythm: every 50 minutes, take 5 minutes.";
        QTest::newRow("water gets the movement texts") << ReminderKind::water << 2 << "Learn about movement breaks"
                                                       << "Movement breaks"
                                                       << "A reminder to pause screen work"
                                                       << "Your rhythm: every 50 minutes, take 2 minutes.";
    }

    void breakExplanationNamesItsKind()
    {
        QFETCH(ReminderKind, kind);
        QFETCH(int, movementMinutes);
        QFETCH(QString, help);
        QFETCH(QString, title);
        QFETCH(QString, explanationStart);
        QFETCH(QString, rhythm);
        BreakPreferences breaks;
        breaks.eyeIntervalMinutes = 25;
        breaks.eyeDurationSeconds = 40;
        breaks.movementIntervalMinutes = 50;
        breaks.movementDurationMinutes = movementMinutes;
        FakeUrlOpener opener;
        BreakInfoButton button(kind, breaks, &opener);
        button.show();
        QCOMPARE(button.accessibleName(), help);
        QCOMPARE(button.toolTip(), help);

        QTest::mouseClick(&button, Qt::LeftButton);
        BreakInfoPopover* popover = button.popover();
        QVERIFY(popover && popover->isVisible());
        QCOMPARE(popover->findChild<QLabel*>("breakInfoTitle")->text(), title);
        QVERIFY(popover->findChild<QLabel*>("breakInfoExplanation")->text().startsWith(explanationStart));
        QCOMPARE(popover->findChild<QLabel*>("breakInfoRhythm")->text(), rhythm);
    }

    void explanationOpensAndCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("second click") << "again";
        QTest::newRow("close button") << "close";
        QTest::newRow("Escape") << "escape";
    }

    void explanationOpensAndCloses()
    {
        QFETCH(QString, how);
        FakeUrlOpener opener;
        BreakInfoButton button(ReminderKind::eyeRest, BreakPreferences(), &opener);
        button.move(500, 300);
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QPointer<BreakInfoPopover> popover = button.popover();
        QVERIFY(popover->windowFlags().testFlag(Qt::Popup));
        QCOMPARE(popover->width(), 320);
        // Anchored to the button: it starts just below it (or ends just above it).
        const QRect anchor(button.mapToGlobal(QPoint(0, 0)), button.size());
        QVERIFY(popover->geometry().top() > anchor.bottom() || popover->geometry().bottom() < anchor.top());
        QVERIFY(qAbs(popover->geometry().center().x() - anchor.center().x()) <= 1);

        if (how == QLatin1String("again"))
            QTest::mouseClick(&button, Qt::LeftButton);
        else if (how == QLatin1String("close"))
            QTest::mouseClick(popover->findChild<QWidget*>("breakInfoClose"), Qt::LeftButton);
        else
            QTest::keyClick(popover, Qt::Key_Escape);
        QVERIFY(!button.isShowingInfo());
        QTRY_VERIFY(!popover);  // gone once the click is over

        // It opens again afterwards.
        QTest::mouseClick(&button, Qt::LeftButton);
        QVERIFY(button.isShowingInfo() && button.popover()->isVisible());
        QVERIFY(opener.opened.isEmpty());
    }

    void documentationOpensTheShippedPage()
    {
        const auto page = DailyUseGuide::url();
        QVERIFY(page && page->isLocalFile());
        QFile shipped(page->toLocalFile());
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QVERIFY(shipped.readAll().contains("Eye-rest and movement breaks"));

        FakeUrlOpener opener;
        BreakInfoButton button(ReminderKind::movement, BreakPreferences(), &opener);
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        auto* link = button.popover()->findChild<QAbstractButton*>("documentationLink");
        QCOMPARE(link->text(), QStringLiteral("Learn more in the documentation ↗"));
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(opener.opened, QList<QUrl>{*page});

        // A copy installed without the page offers no dead link.
        QTemporaryDir bare;
        useBundle(bare.filePath(QStringLiteral("share/dewbell")));
        BreakInfoButton bareButton(ReminderKind::movement, BreakPreferences(), &opener);
        bareButton.show();
        QTest::mouseClick(&bareButton, Qt::LeftButton);
        QVERIFY(!bareButton.popover()->findChild<QAbstractButton*>("documentationLink"));
    }

private:
    static void useBundle(const QString& folder)
    {
        qputenv("DEWBELL_BUNDLE_DIR", folder.toUtf8());
        BrandAssets::clearCache();
    }

    // A bundle holding only the named brand files.
    void useBrandFiles(QTemporaryDir& bundle, const QStringList& names) const
    {
        QDir(bundle.path()).mkpath(QStringLiteral("Brand"));
        for (const QString& name : names)
            QFile::copy(bundle_ + QStringLiteral("/Brand/") + name, bundle.filePath(QStringLiteral("Brand/") + name));
        useBundle(bundle.path());
    }

    QString bundle_;
};

QTEST_MAIN(TourCompanionsTest)
#include "test_tour_companions.moc"
