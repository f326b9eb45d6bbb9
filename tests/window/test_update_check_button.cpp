#include "store/AppUpdateManager.h"
#include "window/UpdateCheckButton.h"

#include <QJsonObject>
#include <QtTest>

namespace {

class FakeDriver : public UpdateDriving {
public:
    bool canCheck() const override { return checkable; }
    bool automaticallyChecks() const override { return true; }
    void setAutomaticallyChecks(bool) override { }
    bool automaticallyDownloads() const override { return false; }
    void setAutomaticallyDownloads(bool) override { }
    bool allowsAutomaticDownloads() const override { return true; }
    std::optional<QDateTime> lastCheck() const override { return std::nullopt; }
    void start() override { }
    void check() override { ++checks; }

    bool checkable = true;
    int checks = 0;
};

UpdateConfiguration releaseConfiguration()
{
    return UpdateConfiguration(QJsonObject{
        {QStringLiteral("SUFeedURL"), QStringLiteral("https://updates.dewbell.app/linux/appcast.xml")},
        {QStringLiteral("SUPublicEDKey"), QStringLiteral("BC3ZuKDniC4gawkpqjspKhba7BfoSogGzeSEEJaYy5Q=")},
        {QStringLiteral("DWDistribution"), QStringLiteral("developer-id")},
    });
}

}  // namespace

class UpdateCheckButtonTest : public QObject {
    Q_OBJECT

private slots:
    void checksAfterBeforeCheckWhileTheManagerCan();
    void staysDisabledAndExplainsWhyWhenUpdatesAreOff();
};

void UpdateCheckButtonTest::checksAfterBeforeCheckWhileTheManagerCan()
{
    FakeDriver* driver = nullptr;
    AppUpdateManager manager(true, releaseConfiguration(), [&driver] {
        auto made = std::make_unique<FakeDriver>();
        driver = made.get();
        return made;
    });
    manager.start();
    QVERIFY(driver);

    QStringList order;
    UpdateCheckButton button(&manager, [&] { order.append(QStringLiteral("before:%1").arg(driver->checks)); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(driver->checks, 1);
    QCOMPARE(order, QStringList{QStringLiteral("before:0")});

    // The default beforeCheck only lets the check run.
    UpdateCheckButton plain(&manager);
    plain.show();
    QTest::mouseClick(&plain, Qt::LeftButton);
    QCOMPARE(driver->checks, 2);

    // The manager's change reaches the button at once.
    driver->checkable = false;
    driver->onChange();
    QVERIFY(!button.isEnabled());
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(driver->checks, 2);
    QCOMPARE(order.size(), 1);
}

void UpdateCheckButtonTest::staysDisabledAndExplainsWhyWhenUpdatesAreOff()
{
    AppUpdateManager manager(false, releaseConfiguration());
    manager.start();
    int before = 0;
    UpdateCheckButton button(&manager, [&before] { ++before; });
    button.show();
    QVERIFY(!button.isEnabled());
    QVERIFY(!button.toolTip().isEmpty() && button.toolTip() == manager.checkHelp());
    button.click();
    QCOMPARE(before, 0);
}

QTEST_MAIN(UpdateCheckButtonTest)
#include "test_update_check_button.moc"
