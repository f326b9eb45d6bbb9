#include "support/FakeUpdateDriver.h"

#include "store/AppUpdateManager.h"
#include "window/UpdateCheckButton.h"

#include <QJsonObject>
#include <QtTest>

class UpdateCheckButtonTest : public QObject {
    Q_OBJECT

private slots:
    void checksAfterBeforeCheckWhileTheManagerCan()
    {
        FakeUpdateDriver* driver = nullptr;
        AppUpdateManager manager(true, releaseConfiguration(), [&driver] {
            auto made = std::make_unique<FakeUpdateDriver>();
            driver = made.get();
            return made;
        });
        manager.start();
        QVERIFY(driver);

        QStringList order;
        UpdateCheckButton button(&manager);
        connect(&button, &UpdateCheckButton::beforeCheck, this,
                [&] { order.append(QStringLiteral("before:%1").arg(driver->checksRun)); });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(driver->checksRun, 1);
        QCOMPARE(order, QStringList{QStringLiteral("before:0")});

        // The default beforeCheck only lets the check run (once the first check has ended).
        driver->checkable = true;
        driver->onChange();
        UpdateCheckButton plain(&manager);
        plain.show();
        QTest::mouseClick(&plain, Qt::LeftButton);
        QCOMPARE(driver->checksRun, 2);

        // The manager's change reaches the button at once.
        driver->checkable = false;
        driver->onChange();
        QVERIFY(!button.isEnabled());
        QCOMPARE(button.toolTip(), QStringLiteral("An update check is already in progress."));
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(driver->checksRun, 2);
        QCOMPARE(order.size(), 1);
    }
};

QTEST_MAIN(UpdateCheckButtonTest)
#include "test_update_check_button.moc"
