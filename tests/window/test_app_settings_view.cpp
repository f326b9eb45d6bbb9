#include "platform/LoginService.h"
#include "support/FakeUrlOpener.h"
#include "support/KeyboardTesting.h"
#include "support/PageTesting.h"
#include "window/AppSettingsView.h"
#include "window/ChoicePicker.h"

#include <QAccessible>
#include <QLayout>
#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

class AppSettingsViewTest : public QObject, private StoreUnderView {
    Q_OBJECT

private slots:
    void init()
    {
        openNewStore();
        QFile program(folder_->filePath(QStringLiteral("dewbell")));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        auto* login = new LoginService(autostartFolder(), program.fileName(), opener_);
        const QString applications = folder_->filePath(QStringLiteral("applications"));
        writeDesktopFile(applications + QStringLiteral("/org.gnome.Calculator.desktop"),
                         "Name=Calculator\nGenericName=Sums\n");
        writeDesktopFile(applications + QStringLiteral("/editor.desktop"), "GenericName=Text Editor\n");
        writeDesktopFile(applications + QStringLiteral("/bare.desktop"), "");
        view_ = showOnStore<AppSettingsView>(QSize(700, 2600), login, QStringList{applications});
    }

    void cleanup()
    {
        view_.reset();
        closeStore();
    }

    void protectedAppsAreListedByNameAndRemoved()
    {
        // Empty: the heading is followed directly by "Add app…".
        const QList<QWidget*> empty = shownInCard("safeguardsCard");
        QCOMPARE(empty.value(empty.indexOf(label("Pause while a chosen app is in front")) + 1),
                 button(view_.get(), "addApp"));

        QStringList offered{"org.gnome.Calculator", "org.gnome.Calculator", "gone.Application", "editor", "bare"};
        store_->chooseApplication = [&offered](const QString&) { return std::optional(offered.takeFirst()); };
        for (int i = 0; i < 5; ++i)
            click("addApp");
        // By identifier, once each; named by Name, else GenericName, else the identifier.
        QCOMPARE(rowNames(), (QStringList{"bare", "Text Editor", "gone.Application", "Calculator"}));

        QAbstractButton* removeMissing = button(rows().at(2), "removeApp");
        QCOMPARE(removeMissing->accessibleName(), QStringLiteral("Remove gone.Application"));
        QTest::mouseClick(removeMissing, Qt::LeftButton);
        QCOMPARE(store_->preferences().safeguards.protectedApps,
                 (QStringList{"bare", "editor", "org.gnome.Calculator"}));
        QCOMPARE(rowNames(), (QStringList{"bare", "Text Editor", "Calculator"}));
    }

    void idlePickerKeepsItsValueWhileDisabled()
    {
        auto* picker = view_->findChild<ChoicePicker*>(QStringLiteral("idleMinutes"));
        QVERIFY(!picker->isEnabled() && picker->currentText() == u"10 minutes");
        // Heard by what it sets, with the minutes as its value.
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(picker);
        QCOMPARE(heard->text(QAccessible::Name), QStringLiteral("Without keyboard or pointer activity for"));
        QCOMPARE(heard->text(QAccessible::Value), QStringLiteral("10 minutes"));
        click("pauseWhenAway");
        emit picker->activated(2);
        QCOMPARE(store_->preferences().safeguards.idleMinutes, 15);
        click("pauseWhenAway");
        QVERIFY(!picker->isEnabled() && picker->currentText() == u"15 minutes");
        click("pauseWhenAway");
        QVERIFY(picker->isEnabled() && picker->currentText() == u"15 minutes");

        store_->update([](Preferences& p) { p.safeguards.idleMinutes = 7; });  // between the offered times
        QCOMPARE(picker->currentIndex(), -1);
    }

    void doNotDisturbSwitchStoresBeforeAsking()
    {
        click("followSystemFocus");  // no request closure: only the preference
        QVERIFY(store_->preferences().safeguards.followSystemFocus);
        click("followSystemFocus");
        QList<bool> storedWhenAsked;
        store_->onRequestSystemFocus = [&] {
            storedWhenAsked.append(store_->preferences().safeguards.followSystemFocus);
        };
        click("followSystemFocus");
        click("followSystemFocus");  // switching off asks nothing
        QCOMPARE(storedWhenAsked, QList<bool>{true});
    }

    void safeguardCardEndsWithWhatHoldsRemindersBack()
    {
        store_->setSystemFocusDescription(QStringLiteral("Following your desktop's Do Not Disturb."));
        QCOMPARE(shownInCard("safeguardsCard").last(), label("Following your desktop's Do Not Disturb."));
        store_->update([](Preferences& p) { p.safeguards.microphoneGuard = true; });
        store_->tick(morning().addSecs(1));  // no microphone reading could be taken
        store_->startMeeting(30);
        const QList<QWidget*> shown = shownInCard("safeguardsCard");
        QCOMPARE(shown.mid(shown.size() - 2),
                 (QList<QWidget*>{label("Microphone status unavailable. Manual protection still works."),
                                  label("Meeting / presentation")}));
    }

    void openLoginItemsOnlyWhileApprovalIsNeeded()
    {
        QAbstractButton* open = button(view_.get(), "openLoginItems");
        QAbstractButton* launch = button(view_.get(), "launchAtLogin");
        press(launch);
        QVERIFY(!launch->isEnabled());  // while the entry is written
        QTRY_VERIFY(launch->isEnabled() && launch->isChecked());
        QVERIFY(!open->isVisible());

        // The desktop turns the entry off; the page sees it the next time it is shown.
        QFile entry(autostartFolder() + QStringLiteral("/app.dewbell.Dewbell.desktop"));
        QVERIFY(entry.open(QIODevice::Append) && entry.write("Hidden=true\n") > 0);
        entry.close();
        view_->hide();
        view_->show();
        QVERIFY(open->isVisible() && !launch->isChecked());
        QCOMPARE(labelText(view_.get(), "loginStatus"),
                 QStringLiteral("Turned off in your desktop's startup settings."));
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(opener_.opened, QList<QUrl>{QUrl::fromLocalFile(autostartFolder())});

        QVERIFY(entry.remove());
        click("refreshLogin");
        QVERIFY(!open->isVisible());
        QCOMPARE(labelText(view_.get(), "loginStatus"), QStringLiteral("Doesn't open at login."));
    }

    // While the entry is written the switch cannot be used, and no other control takes the
    // keyboard meanwhile: a second Space waits for the switch instead of refreshing the status.
    void theLoginSwitchKeepsTheKeyboardWhileItWrites()
    {
        view_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view_.get()));
        QAbstractButton* launch = button(view_.get(), "launchAtLogin");
        launch->setFocus(Qt::TabFocusReason);
        QTest::keyClick(launch, Qt::Key_Space);
        QVERIFY(!launch->isEnabled());
        QWidget* meanwhile = QApplication::focusWidget();
        QVERIFY2(!meanwhile, qPrintable(meanwhile ? meanwhile->objectName() : QString()));
        QTRY_VERIFY(launch->isEnabled() && launch->isChecked());
        QCOMPARE(QApplication::focusWidget(), launch);

        QTest::keyClick(launch, Qt::Key_Space);
        QTRY_VERIFY(launch->isEnabled() && !launch->isChecked());
        QCOMPARE(QApplication::focusWidget(), launch);
        QVERIFY(!QFile::exists(autostartFolder() + QStringLiteral("/app.dewbell.Dewbell.desktop")));

        // Put elsewhere by the user in between, the keyboard stays there.
        QTest::keyClick(launch, Qt::Key_Space);
        QAbstractButton* tour = button(view_.get(), "tourAgain");
        tour->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(launch->isEnabled());
        QCOMPARE(QApplication::focusWidget(), tour);
    }

    // After the installed copy was removed its login item starts nothing: the page says so, and
    // "Launch at login" writes it again for the copy that runs.
    void aLoginItemOfARemovedCopyIsOfferedAgain()
    {
        const QString removed = folder_->filePath(QStringLiteral("removed/bin/dewbell"));
        writeDesktopFile(autostartFolder() + QStringLiteral("/app.dewbell.Dewbell.desktop"),
                         "Name=Dewbell\nExec=" + removed.toUtf8() + " --autostart\n");
        view_->hide();
        view_->show();
        QAbstractButton* launch = button(view_.get(), "launchAtLogin");
        QVERIFY(!launch->isChecked());
        QCOMPARE(labelText(view_.get(), "loginStatus"),
                 QStringLiteral("The login item points to a program that no longer exists: %1. Turn on “Launch at "
                                "login” to start this copy instead.")
                     .arg(removed));
        press(launch);
        QTRY_VERIFY(launch->isEnabled() && launch->isChecked());
        QCOMPARE(labelText(view_.get(), "loginStatus"), QStringLiteral("Opens automatically when you log in."));
    }

    void buildLineFollowsTheDistribution()
    {
        const QString release = QStringLiteral("This is a signed release build. It is not sandboxed.");
        const QString local = QStringLiteral("This is a local development build. It is not sandboxed or signed for "
                                             "distribution, and automatic updates are inactive.");
        const QList<std::pair<QByteArray, QString>> rows{{R"({"DWDistribution": "developer-id"})", release},
                                                         {"{}", local},
                                                         {R"({"DWDistribution": "Developer-ID"})", local},
                                                         {R"({"DWDistribution": true})", local}};
        const QByteArray before = qgetenv("DEWBELL_BUNDLE_DIR");
        for (const auto& [info, line] : rows) {
            QTemporaryDir bundle;
            QFile file(bundle.filePath(QStringLiteral("info.json")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(info) == info.size());
            file.close();
            qputenv("DEWBELL_BUNDLE_DIR", bundle.path().toUtf8());
            view_->hide();
            view_->show();  // read each time the page is shown
            QCOMPARE(labelText(view_.get(), "buildLine"), line);
        }
        qputenv("DEWBELL_BUNDLE_DIR", before);
    }

    void everyControlIsReachableWithTheKeyboard()
    {
        store_->update([](Preferences& p) {
            p.safeguards.pauseWhenIdle = true;
            p.safeguards.protectedApps = {QStringLiteral("org.gnome.Calculator")};
        });
        view_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view_.get()));
        // Six switches, the idle picker, "Remove", "Add app…", "Refresh login status" and the
        // tour button; the updates card's controls are disabled in a test store.
        QCOMPARE(tabChain(view_.get()).size(), 11);
        QTest::keyClick(button(view_.get(), "microphoneGuard"), Qt::Key_Space);
        QVERIFY(store_->preferences().safeguards.microphoneGuard);
        click("tourAgain");
        QVERIFY(store_->tourVisible());
    }

private:
    QString autostartFolder() const { return folder_->filePath(QStringLiteral("autostart")); }

    static void writeDesktopFile(const QString& path, const QByteArray& keys)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\n" + keys);
    }
    void click(const char* name) const { press(button(view_.get(), name)); }

    QWidget* label(const QString& text) const
    {
        const QList<QLabel*> labels = view_->findChildren<QLabel*>();
        const auto found = std::find_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->text() == text; });
        return found == labels.end() ? nullptr : *found;
    }

    // The widgets of a card's column that take room, top to bottom.
    QList<QWidget*> shownInCard(const char* card) const
    {
        QList<QWidget*> widgets;
        const QLayout* layout = view_->findChild<QWidget*>(QLatin1String(card))->layout();
        for (int i = 0; i < layout->count(); ++i) {
            if (QWidget* widget = layout->itemAt(i)->widget(); widget && !widget->isHidden())
                widgets.append(widget);
        }
        return widgets;
    }

    // Rows taken off the list leave the screen at once and are deleted a moment later.
    QList<QWidget*> rows() const
    {
        QList<QWidget*> shown = view_->findChildren<QWidget*>(QStringLiteral("protectedApp"));
        shown.removeIf([](QWidget* row) { return row->isHidden(); });
        return shown;
    }

    QStringList rowNames() const
    {
        QStringList names;
        for (QWidget* row : rows())
            names.append(labelText(row, "applicationName"));
        return names;
    }

    FakeUrlOpener opener_;
    std::unique_ptr<AppSettingsView> view_;
};

QTEST_MAIN(AppSettingsViewTest)
#include "test_app_settings_view.moc"
