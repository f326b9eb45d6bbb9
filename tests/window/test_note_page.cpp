#include "support/PageTesting.h"
#include "support/TableTesting.h"
#include "ui/ClampedLabel.h"
#include "ui/TrailingSwitch.h"
#include "window/MainView.h"
#include "window/NotePage.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

// "A note for you" on a real store, with the care-package dialogs replaced by fakes.
class NotePageTest : public QObject, private StoreUnderView {
    Q_OBJECT

private slots:
    void init()
    {
        page_ = showOnNewStore<NotePage>(QSize(700, 1200));
        page_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(page_.get()));
    }

    void cleanup()
    {
        page_.reset();
        closeStore();
    }

    void previewFallsBackOnlyForAnEmptyNote_data()
    {
        addColumns<QString, QString, QString, QString>("note", "sender", "preview", "senderLine");
        QTest::newRow("empty") << QString() << QStringLiteral("Mo")
                               << QStringLiteral("A tiny reminder that someone cares.") << QStringLiteral("— Mo");
        QTest::newRow("only spaces") << QStringLiteral("   ") << QStringLiteral("Mo") << QStringLiteral("   ")
                                     << QStringLiteral("— Mo");
        QTest::newRow("no sender") << QStringLiteral("Drink up") << QString() << QStringLiteral("Drink up")
                                   << QStringLiteral("— ");
    }

    void previewFallsBackOnlyForAnEmptyNote()
    {
        QFETCH(QString, note);
        QFETCH(QString, sender);
        QFETCH(QString, preview);
        QFETCH(QString, senderLine);
        store_->update([&](Preferences& preferences) {
            preferences.loveNote = note;
            preferences.sender = sender;
        });
        QCOMPARE(page_->findChild<ClampedLabel*>(QStringLiteral("notePreview"))->text(), preview);
        QCOMPARE(labelText(page_.get(), "senderLine"), senderLine);
    }

    // Typing in the editor is one update() per keystroke; the preview follows each one and the
    // cursor stays where the user types.
    void editorWritesEveryKeystroke()
    {
        QPlainTextEdit* editor = page_->editor();
        editor->setFocus();
        editor->moveCursor(QTextCursor::End);
        QSignalSpy updates(store_.get(), &DewbellStore::changed);
        QTest::keyClicks(editor, QStringLiteral(" Hug"));
        QCOMPARE(updates.count(), 4);
        const QString expected = QStringLiteral("You're doing better than you think. Sip slowly. Hug");
        QCOMPARE(store_->preferences().loveNote, expected);
        QCOMPARE(page_->findChild<ClampedLabel*>(QStringLiteral("notePreview"))->text(), expected);
        QCOMPARE(editor->textCursor().position(), expected.size());
        QVERIFY(editor->hasFocus());
    }

    // With pet names on the name field is greyed and takes no input; the stored name comes back
    // into use when they are switched off.
    void petNamesGreyTheNameField()
    {
        auto* nicknames = page_->findChild<TrailingSwitch*>(QStringLiteral("nicknameSwitch"));
        auto* name = page_->findChild<QWidget*>(QStringLiteral("recipientField"))->findChild<QLineEdit*>();
        press(nicknames);
        QVERIFY(store_->preferences().useCharacterNicknames);
        QVERIFY(!name->isEnabled());
        QTest::keyClicks(name, QStringLiteral("Sam"));
        QCOMPARE(store_->preferences().recipient, QStringLiteral("cutie"));
        QCOMPARE(name->text(), QStringLiteral("cutie"));

        press(nicknames);
        QVERIFY(name->isEnabled());
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Sam"));
        QCOMPARE(store_->preferences().recipient, QStringLiteral("Sam"));
    }

    // Greyed means drawn greyed: in the window's own colours, the name field that takes no
    // input is dimmer than the "FROM" field beside it, and lights up again when usable.
    void theGreyedNameFieldLooksDisabled()
    {
        MainView window(store_.get());
        store_->setSelectedPage(QStringLiteral("A note for you"));
        window.resize(MainView::minimumViewSize);
        window.show();
        QWidget* page = window.pageWidget();
        auto* name = page->findChild<QWidget*>(QStringLiteral("recipientField"))->findChild<QLineEdit*>();
        auto* from = page->findChild<QWidget*>(QStringLiteral("senderField"))->findChild<QLineEdit*>();
        const auto lightest = [](QLineEdit* field) {
            const QImage image = field->grab().toImage();
            int value = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    value = std::max(value, qGray(image.pixel(x, y)));
            return value;
        };
        const int usable = lightest(from);
        QVERIFY2(std::abs(lightest(name) - usable) < 16, qPrintable(QString::number(lightest(name))));
        store_->update([](Preferences& preferences) { preferences.useCharacterNicknames = true; });
        QVERIFY(!name->isEnabled());
        QVERIFY2(lightest(name) < usable - 50,
                 qPrintable(QStringLiteral("%1 beside %2").arg(lightest(name)).arg(usable)));
        QCOMPARE(lightest(from), usable);
    }

    void previewHelloShowsTheCompanionOnDuty()
    {
        store_->update([](Preferences& preferences) { preferences.companionID = QStringLiteral("vuzo"); });
        const Preferences before = store_->preferences();
        QTest::mouseClick(button(page_.get(), "previewHello"), Qt::LeftButton);
        QVERIFY(store_->reminderVisible() && store_->preview());
        QCOMPARE(store_->reminderKind(), ReminderKind::water);
        QCOMPARE(store_->presentedCompanion().id, QStringLiteral("vuzo"));
        QCOMPARE(store_->preferences(), before);
    }

    // Cancelled dialogs change nothing and say nothing; a saved package opens again.
    void carePackageRoundTrip()
    {
        int asked = 0;
        std::optional<QString> answer;
        store_->chooseSaveLocation = [&](const QString&, const QString&, const QString&) {
            ++asked;
            return answer;
        };
        store_->chooseFileToOpen = [&](const QString&, const QString&) {
            ++asked;
            return answer;
        };
        const Preferences before = store_->preferences();
        QTest::mouseClick(button(page_.get(), "saveCarePackage"), Qt::LeftButton);
        QTest::mouseClick(button(page_.get(), "openCarePackage"), Qt::LeftButton);
        QCOMPARE(asked, 2);
        QCOMPARE(store_->notice(), std::nullopt);
        QCOMPARE(store_->preferences(), before);

        answer = folder_->filePath(QStringLiteral("A little note for you.json"));
        store_->update([](Preferences& preferences) { preferences.loveNote = QStringLiteral("Sip, love"); });
        QTest::mouseClick(button(page_.get(), "saveCarePackage"), Qt::LeftButton);
        QVERIFY(store_->notice()->startsWith(QStringLiteral("Care package saved.")));
        store_->update([](Preferences& preferences) { preferences.loveNote = QStringLiteral("changed"); });
        QTest::mouseClick(button(page_.get(), "openCarePackage"), Qt::LeftButton);
        QCOMPARE(store_->notice(), QStringLiteral("Your little care package is here. You can change every setting."));
        QCOMPARE(store_->preferences().loveNote, QStringLiteral("Sip, love"));
        QCOMPARE(page_->editor()->toPlainText(), QStringLiteral("Sip, love"));
    }

private:
    std::unique_ptr<NotePage> page_;
};

QTEST_MAIN(NotePageTest)
#include "test_note_page.moc"
