#include "support/TableTesting.h"
#include "updates/ReleaseNotesView.h"
#include "updates/UpdateSettings.h"

#include "UpdateTesting.h"

#include "ui/CapsuleProgress.h"

#include <QApplication>

Q_DECLARE_METATYPE(UpdateStatus)

namespace {

FeedItem release(const QString& notes, bool isHtml)
{
    FeedItem item;
    item.version = QStringLiteral("1.2.0");
    item.shortVersion = QStringLiteral("1.2");
    item.date = QDateTime(QDate(2024, 3, 5), QTime(10, 0), QTimeZone::utc());
    item.notes = notes;
    item.notesAreHtml = isHtml;
    return item;
}

UpdateStatus status(UpdatePhase phase, std::optional<FeedItem> offer = std::nullopt,
                    std::optional<UpdateProblem> problem = std::nullopt, HandInstall hand = {})
{
    UpdateStatus shown;
    shown.phase = phase;
    shown.offer = offer;
    shown.problem = problem;
    shown.handInstall = hand;
    shown.runningVersion = QStringLiteral("1.0.0");
    shown.installationRoot = QStringLiteral("/opt/dewbell");
    shown.archiveName = QStringLiteral("dewbell-1.2.0.tar.xz");
    shown.received = 3 * 1024 * 1024;
    shown.total = 12 * 1024 * 1024;
    return shown;
}

QStringList visibleButtons(const QWidget* window)
{
    QStringList names;
    for (const auto* button : window->findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(window))
            names.append(button->text());
    }
    return names;
}

}  // namespace

class UpdateWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    UpdateEnvironment environment_;
    std::unique_ptr<UpdateSettings> settings_;
    std::unique_ptr<UpdateSession> session_;
    std::unique_ptr<UpdateWindow> window_;

private slots:
    void initTestCase()
    {
        quietenOffscreenPlatform();
        settings_ = std::make_unique<UpdateSettings>(folder_.filePath(QStringLiteral("dewbell.conf")), true, false);
        session_ = std::make_unique<UpdateSession>(environment_, settings_.get());
        window_ = std::make_unique<UpdateWindow>(session_.get());
        window_->show();
    }

    void eachStep_data()
    {
        const FeedItem offer = release(QStringLiteral("Gentler chimes."), false);
        addColumns<UpdateStatus, QString, QString, QStringList>("shown", "title", "body", "buttons");
        QTest::newRow("checking") << status(UpdatePhase::checking) << "Checking for updates…"
                                  << "" << QStringList{"Cancel"};
        QTest::newRow("up to date") << status(UpdatePhase::upToDate) << "Dewbell is up to date"
                                    << "Version 1.0.0 is the newest version." << QStringList{"OK"};
        QTest::newRow("found") << status(UpdatePhase::found, offer) << "A new version of Dewbell is available"
                               << "Dewbell 1.2 is out; you have 1.0.0. Would you like to install it now?"
                               << QStringList{"Skip This Version", "Remind Me Later", "Install Update"};
        QTest::newRow("downloading") << status(UpdatePhase::downloading, offer) << "Downloading Dewbell 1.2…"
                                     << "3.0 MB of 12.0 MB" << QStringList{"Cancel"};
        QTest::newRow("ready") << status(UpdatePhase::readyToInstall, offer) << "Dewbell 1.2 is ready to install"
                               << "Dewbell will close, put the new version in place and open again; your notes and "
                                  "history stay as they are. Choose Later to install it when you quit."
                               << QStringList{"Later", "Install and Relaunch"};
        const QString clears = QStringLiteral(
            "this command first removes the old version's share/dewbell/app and share/doc/dewbell, so nothing the "
            "new version dropped stays behind:");
        const QString command = QStringLiteral("tar -tf 'dewbell-1.2.0.tar.xz' >/dev/null && …");
        QTest::newRow("to save, read-only")
            << status(UpdatePhase::readyToSave, offer, std::nullopt, {false, true, true, command})
            << "Dewbell 1.2 is ready to save"
            << "Dewbell can't change its own files in /opt/dewbell from your account. Save the verified update, then "
               "install it as an administrator from the folder you saved it in; "
                   + clears
            << QStringList{"Close", "Save Update…"};
        QTest::newRow("to save, shared")
            << status(UpdatePhase::readyToSave, offer, std::nullopt, {true, false, true, command})
            << "Dewbell 1.2 is ready to save"
            << "/opt/dewbell holds other programs' files too, so Dewbell doesn't replace it by itself. Save the "
               "verified update, then install it from the folder you saved it in; "
                   + clears
            << QStringList{"Close", "Save Update…"};
        QTest::newRow("to save, among the user's data")
            << status(UpdatePhase::readyToSave, offer, std::nullopt, {true, false, false, command})
            << "Dewbell 1.2 is ready to save"
            << "/opt/dewbell holds other programs' files too, so Dewbell doesn't replace it by itself. Save the "
               "verified update, then install it from the folder you saved it in; your own data lives among "
               "Dewbell's files there, so this command only unpacks the new version over the old one, and any file "
               "the new version dropped stays:"
            << QStringList{"Close", "Save Update…"};
        QTest::newRow("check failed") << status(UpdatePhase::failed, std::nullopt, UpdateProblem::offline)
                                      << "Couldn't check for updates" << sentence(UpdateProblem::offline)
                                      << QStringList{"OK"};
        QTest::newRow("install failed") << status(UpdatePhase::failed, offer, UpdateProblem::cutShort)
                                        << "Dewbell 1.2 wasn't installed" << sentence(UpdateProblem::cutShort)
                                        << QStringList{"OK"};
        for (const UpdateProblem refusal : {UpdateProblem::insecureAddress, UpdateProblem::badSignature,
                                            UpdateProblem::wrongSize, UpdateProblem::wrongVersion}) {
            QTest::addRow("refused: %s", qPrintable(sentence(refusal)))
                << status(UpdatePhase::failed, offer, refusal) << "Dewbell refused the update to 1.2"
                << sentence(refusal) << QStringList{"OK"};
        }
        QTest::newRow("feed refused") << status(UpdatePhase::failed, std::nullopt, UpdateProblem::unsignedFeed)
                                      << "Dewbell refused the update feed"
                                      << "The update feed isn't signed by Dewbell's release key, so nothing was "
                                         "offered."
                                      << QStringList{"OK"};
    }
    void eachStep()
    {
        QFETCH(UpdateStatus, shown);
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(QStringList, buttons);
        window_->render(shown);
        QCOMPARE(shownText(window_.get(), "updateTitle"), title);
        QCOMPARE(shownText(window_.get(), "updateBody"), body);
        QCOMPARE(visibleButtons(window_.get()), buttons);
        const bool showsProgress = shown.phase == UpdatePhase::downloading;
        const auto* progress = window_->findChild<CapsuleProgress*>();
        QCOMPARE(progress->isVisibleTo(window_.get()), showsProgress);
        if (showsProgress)
            QCOMPARE(progress->progress(), 0.25);
        QCOMPARE(!shownText(window_.get(), "updateDetail").isEmpty(), shown.phase == UpdatePhase::found);
        const QString command = shownText(window_.get(), "updateCommand");
        QCOMPARE(command, shown.phase == UpdatePhase::readyToSave ? shown.handInstall.command : QString());
    }

    // Release notes come from the network: they may show text, never run or fetch anything.
    void notesShowTextOnly()
    {
        const QString picture = folder_.filePath(QStringLiteral("picture.png"));
        QImage(20, 20, QImage::Format_RGB32).save(picture);
        const QUrl localPicture = QUrl::fromLocalFile(picture);
        const QString notes =
            QStringLiteral(
                "<html><head><link rel=\"stylesheet\" href=\"https://tracker.example/style.css\"></head><body>"
                "<h3>What's new</h3><p>Gentler <b>chimes</b>.</p><script>document.write('pwned')</script>"
                "<img src=\"https://tracker.example/pixel.png\"><img src=\"%1\">"
                "<p><a href=\"https://dewbell.app/changes\">All changes</a></p></body></html>")
                .arg(localPicture.toString());
        window_->render(status(UpdatePhase::found, release(notes, true)));
        auto* view = window_->findChild<ReleaseNotesView*>();
        QVERIFY(view->isVisibleTo(window_.get()));
        window_->grab();
        const QString text = view->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Gentler chimes.")) && text.contains(QStringLiteral("All changes")));
        QVERIFY(!text.contains(QStringLiteral("pwned")));
        QVERIFY(view->refusedResources().contains(QUrl(QStringLiteral("https://tracker.example/pixel.png"))));
        QVERIFY(view->refusedResources().contains(localPicture));
        const QImage shown = view->document()->resource(QTextDocument::ImageResource, localPicture).value<QImage>();
        QCOMPARE(shown.size(), QSize(1, 1));

        window_->render(status(UpdatePhase::found, [] {
            FeedItem plain = release(QStringLiteral("<b>not bold</b>"), false);
            plain.version = QStringLiteral("1.3.0");
            return plain;
        }()));
        QCOMPARE(view->toPlainText(), QStringLiteral("<b>not bold</b>"));
    }
};

QTEST_MAIN(UpdateWindowTest)
#include "test_update_window.moc"
