#include "platform/LoginService.h"
#include "support/FakeUrlOpener.h"
#include "support/ViewTesting.h"
#include "ui/TrailingSwitch.h"
#include "window/AppSettingsView.h"
#include "window/ChoicePicker.h"

#include <QLayout>
#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

namespace {

bool shown(const QWidget* widget)
{
    return widget && widget->isVisible();
}

// The widgets of a card's column, top to bottom, that take room.
QList<QWidget*> visibleChildren(const QWidget* card)
{
    QList<QWidget*> widgets;
    const QLayout* layout = card->layout();
    for (int i = 0; i < layout->count(); ++i) {
        QWidget* widget = layout->itemAt(i)->widget();
        if (widget && !widget->isHidden())
            widgets.append(widget);
    }
    return widgets;
}

}  // namespace

class AppSettingsViewTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        scratch_ = std::make_unique<QTemporaryDir>();
        store_ = startedStore(folder_->path(), morning(), Saving::off);
        opener_ = FakeUrlOpener();
        QFile program(scratch_->filePath(QStringLiteral("dewbell")));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        view_ = makeView();
    }

    void cleanup()
    {
        view_.reset();
        store_.reset();
        scratch_.reset();
        folder_.reset();
    }

    void protectedAppsAreListedAndRemoved()
    {
        auto* safeguards = view_->findChild<QWidget*>(QStringLiteral("safeguardsCard"));
        // Empty: the heading is followed directly by "Add app…".
        const QList<QWidget*> empty = visibleChildren(safeguards);
        const qsizetype heading = empty.indexOf(findLabel(QStringLiteral("Pause while a chosen app is in front")));
        QCOMPARE(empty.value(heading + 1), button(view_.get(), "addApp"));

        // The store keeps the list sorted and without duplicates.
        QStringList offered{QStringLiteral("org.gnome.Calculator"), QStringLiteral("org.gnome.Calculator"),
                            QStringLiteral("gone.Application")};
        store_->chooseApplication = [&offered](const QString&) { return std::optional(offered.takeFirst()); };
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(button(view_.get(), "addApp"), Qt::LeftButton);
        QCOMPARE(rowNames(), (QStringList{QStringLiteral("gone.Application"), QStringLiteral("Calculator")}));
        QCOMPARE(removeButtons().first()->accessibleName(), QStringLiteral("Remove gone.Application"));

        // "Remove" takes a missing application off the list like any other.
        QTest::mouseClick(removeButtons().first(), Qt::LeftButton);
        QCOMPARE(store_->preferences().safeguards.protectedApps, QStringList{QStringLiteral("org.gnome.Calculator")});
        QTRY_COMPARE(rowNames(), QStringList{QStringLiteral("Calculator")});
    }

    void idlePickerKeepsItsValueWhileDisabled()
    {
        auto* picker = view_->findChild<ChoicePicker*>(QStringLiteral("idleMinutes"));
        auto* pause = view_->findChild<TrailingSwitch*>(QStringLiteral("pauseWhenAway"));
        QCOMPARE(picker->currentText(), QStringLiteral("10 minutes"));
        QVERIFY(!picker->isEnabled());

        QTest::mouseClick(pause, Qt::LeftButton);
        QVERIFY(picker->isEnabled() && store_->preferences().safeguards.pauseWhenIdle);
        picker->setCurrentIndex(2);
        emit picker->activated(2);
        QCOMPARE(store_->preferences().safeguards.idleMinutes, 15);

        QTest::mouseClick(pause, Qt::LeftButton);
        QVERIFY(!picker->isEnabled());
        QCOMPARE(picker->currentText(), QStringLiteral("15 minutes"));
        QCOMPARE(store_->preferences().safeguards.idleMinutes, 15);
        QTest::mouseClick(pause, Qt::LeftButton);
        QVERIFY(picker->isEnabled());
        QCOMPARE(picker->currentText(), QStringLiteral("15 minutes"));

        // A stored time between the offered ones selects no row until one is picked.
        store_->update([](Preferences& preferences) { preferences.safeguards.idleMinutes = 7; });
        QCOMPARE(picker->currentIndex(), -1);
        QCOMPARE(store_->preferences().safeguards.idleMinutes, 7);
    }

    void doNotDisturbSwitchStoresBeforeAsking()
    {
        auto* follow = view_->findChild<TrailingSwitch*>(QStringLiteral("followSystemFocus"));
        QCOMPARE(follow->text(), QStringLiteral("Follow the desktop's Do Not Disturb"));
        QTest::mouseClick(follow, Qt::LeftButton);  // no request closure: only the preference
        QVERIFY(store_->preferences().safeguards.followSystemFocus);
        QTest::mouseClick(follow, Qt::LeftButton);

        QList<bool> storedWhenAsked;
        store_->onRequestSystemFocus = [&] {
            storedWhenAsked.append(store_->preferences().safeguards.followSystemFocus);
        };
        QTest::mouseClick(follow, Qt::LeftButton);
        QCOMPARE(storedWhenAsked, QList<bool>{true});
        QTest::mouseClick(follow, Qt::LeftButton);  // switching off asks nothing
        QCOMPARE(storedWhenAsked.size(), 1);
        QVERIFY(!store_->preferences().safeguards.followSystemFocus);
    }

    void safeguardCardEndsWithWhatHoldsRemindersBack()
    {
        auto* safeguards = view_->findChild<QWidget*>(QStringLiteral("safeguardsCard"));
        store_->setSystemFocusDescription(QStringLiteral("Following your desktop's Do Not Disturb."));
        QCOMPARE(visibleChildren(safeguards).last(),
                 view_->findChild<QLabel*>(QStringLiteral("systemFocusDescription")));
        QCOMPARE(labelText(view_.get(), "systemFocusDescription"),
                 QStringLiteral("Following your desktop's Do Not Disturb."));

        store_->update([](Preferences& preferences) { preferences.safeguards.microphoneGuard = true; });
        store_->tick(morning().addSecs(1));  // no reading of the microphone could be taken
        store_->startMeeting(30);
        const QList<QWidget*> children = visibleChildren(safeguards);
        QCOMPARE(static_cast<QLabel*>(children.value(children.size() - 2))->text(),
                 QStringLiteral("Microphone status unavailable. Manual protection still works."));
        QCOMPARE(static_cast<QLabel*>(children.last())->text(), QStringLiteral("Meeting / presentation"));

        store_->endMeeting();
        QVERIFY(!shown(view_->findChild<QLabel*>(QStringLiteral("suppressionReason"))));
    }

    void openLoginItemsOnlyWhileApprovalIsNeeded()
    {
        auto* open = button(view_.get(), "openLoginItems");
        auto* launch = view_->findChild<TrailingSwitch*>(QStringLiteral("launchAtLogin"));
        QVERIFY(!shown(open));
        QCOMPARE(labelText(view_.get(), "loginStatus"), QStringLiteral("Doesn't open at login."));

        QTest::mouseClick(launch, Qt::LeftButton);
        QVERIFY(!launch->isEnabled());  // while the entry is written
        QTRY_VERIFY(launch->isEnabled());
        QVERIFY(launch->isChecked());
        QCOMPARE(labelText(view_.get(), "loginStatus"), QStringLiteral("Opens automatically when you log in."));

        // The desktop turns the entry off; the page sees it the next time it is shown.
        appendToEntry("Hidden=true\n");
        QVERIFY(!shown(open));
        view_->hide();
        view_->show();
        QVERIFY(shown(open) && !launch->isChecked());
        QCOMPARE(labelText(view_.get(), "loginStatus"),
                 QStringLiteral("Turned off in your desktop's startup settings."));
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(opener_.opened, QList<QUrl>{QUrl::fromLocalFile(autostartFolder())});

        QVERIFY(QFile::remove(entryPath()));
        QTest::mouseClick(button(view_.get(), "refreshLogin"), Qt::LeftButton);
        QVERIFY(!shown(open));
        QCOMPARE(labelText(view_.get(), "loginStatus"), QStringLiteral("Doesn't open at login."));
    }

    void buildLineFollowsTheDistribution_data()
    {
        QTest::addColumn<QByteArray>("info");
        QTest::addColumn<bool>("release");
        QTest::newRow("signed release") << QByteArray(R"({"DWDistribution": "developer-id"})") << true;
        QTest::newRow("no key") << QByteArray("{}") << false;
        QTest::newRow("other letter case") << QByteArray(R"({"DWDistribution": "Developer-ID"})") << false;
        QTest::newRow("other value") << QByteArray(R"({"DWDistribution": "app-store"})") << false;
        QTest::newRow("not a string") << QByteArray(R"({"DWDistribution": true})") << false;
        QTest::newRow("no info file") << QByteArray() << false;
    }

    void buildLineFollowsTheDistribution()
    {
        QFETCH(QByteArray, info);
        QFETCH(bool, release);
        QTemporaryDir bundle;
        if (!info.isNull()) {
            QFile file(bundle.filePath(QStringLiteral("info.json")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(info) == info.size());
        }
        const QByteArray before = qgetenv("DEWBELL_BUNDLE_DIR");
        qputenv("DEWBELL_BUNDLE_DIR", bundle.path().toUtf8());
        view_->hide();
        view_->show();  // the line is read each time the page is shown
        qputenv("DEWBELL_BUNDLE_DIR", before);
        QCOMPARE(labelText(view_.get(), "buildLine"),
                 release ? QStringLiteral("This is a signed release build. It is not sandboxed.")
                         : QStringLiteral("This is a local development build. It is not sandboxed or signed for "
                                          "distribution, and automatic updates are inactive."));
    }

    void tourButtonPresentsTheTour()
    {
        QTest::mouseClick(button(view_.get(), "tourAgain"), Qt::LeftButton);
        QVERIFY(store_->tourVisible());
    }

private:
    std::unique_ptr<AppSettingsView> makeView()
    {
        auto* login = new LoginService(autostartFolder(), scratch_->filePath(QStringLiteral("dewbell")), opener_);
        const auto name = [](const QString& identifier) {
            return identifier == QStringLiteral("org.gnome.Calculator") ? QStringLiteral("Calculator") : identifier;
        };
        auto view = std::make_unique<AppSettingsView>(store_.get(), login, name);
        view->resize(700, 2600);
        view->show();
        return view;
    }

    QString autostartFolder() const { return scratch_->filePath(QStringLiteral("autostart")); }
    QString entryPath() const { return autostartFolder() + QStringLiteral("/app.dewbell.Dewbell.desktop"); }

    void appendToEntry(const QByteArray& line) const
    {
        QFile entry(entryPath());
        QVERIFY(entry.open(QIODevice::Append) && entry.write(line) == line.size());
    }

    QWidget* findLabel(const QString& text) const
    {
        for (QLabel* label : view_->findChildren<QLabel*>()) {
            if (label->text() == text)
                return label;
        }
        return nullptr;
    }

    // Rows taken off the list are gone from the screen at once and deleted a moment later.
    QList<QWidget*> rows() const
    {
        QList<QWidget*> shownRows;
        for (QWidget* row : view_->findChildren<QWidget*>(QStringLiteral("protectedApp"))) {
            if (!row->isHidden())
                shownRows.append(row);
        }
        return shownRows;
    }

    QStringList rowNames() const
    {
        QStringList names;
        for (QWidget* row : rows())
            names.append(labelText(row, "applicationName"));
        return names;
    }

    QList<QAbstractButton*> removeButtons() const
    {
        QList<QAbstractButton*> buttons;
        for (QWidget* row : rows())
            buttons.append(button(row, "removeApp"));
        return buttons;
    }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<DewbellStore> store_;
    FakeUrlOpener opener_;
    std::unique_ptr<AppSettingsView> view_;
};

QTEST_MAIN(AppSettingsViewTest)
#include "test_app_settings_view.moc"
