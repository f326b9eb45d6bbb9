#include "support/PageTesting.h"
#include "support/TableTesting.h"
#include "ui/TrailingSwitch.h"
#include "window/ChoicePicker.h"
#include "window/PageHelpers.h"
#include "window/Stepper.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

using namespace StoreTesting;
using namespace ViewTesting;

// The shared page helpers on a real store: each user edit is one update() of the store, each
// control shows the stored (clamped) value, and a change the store publishes never disturbs
// what the user is in the middle of.
class PageHelpersTest : public QObject, private StoreUnderView {
    Q_OBJECT

private slots:
    void init()
    {
        openNewStore();
        host_ = std::make_unique<QWidget>();
        host_->resize(400, 300);
        host_->show();
    }

    void cleanup()
    {
        host_.reset();
        closeStore();
    }

    void hourPickerOffersTheHoursOfOneDay()
    {
        auto* label = new QLabel(QStringLiteral("to"), host_.get());
        ChoicePicker* picker = hourPicker(label, binding(store_.get(), &Preferences::quietEnd), host_.get());
        QCOMPARE(picker->count(), 24);
        QCOMPARE(picker->itemText(0), QStringLiteral("00:00"));
        QCOMPARE(picker->itemText(9), QStringLiteral("09:00"));
        QCOMPARE(picker->itemText(23), QStringLiteral("23:00"));
        QCOMPARE(picker->findText(QStringLiteral("24:00")), -1);
        QCOMPARE(picker->currentText(), QStringLiteral("09:00"));
        QCOMPARE(picker->width(), 90);
        // Named by the words beside it, which say what it sets; the hour is its value.
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(picker);
        QCOMPARE(heard->role(), QAccessible::ComboBox);
        QCOMPARE(heard->text(QAccessible::Name), QStringLiteral("to"));
        QCOMPARE(heard->text(QAccessible::Value), QStringLiteral("09:00"));
        QCOMPARE(label->buddy(), picker);
    }

    // A stored value without a row shows no row and is kept until the user picks one; picking
    // the row already shown still reaches the store.
    void pickerWithoutAMatchingRowKeepsTheStoredValue()
    {
        auto* picker = new ChoicePicker(QStringLiteral("Glass size"),
                                        ChoicePicker::numbered({150, 250, 500}, QStringLiteral("%1 ml")), host_.get());
        bind(picker, binding(store_.get(), &Preferences::glassML));
        store_->update([](Preferences& preferences) { preferences.glassML = 275; });
        QCOMPARE(picker->currentIndex(), -1);
        QCOMPARE(picker->currentText(), QString());
        store_->tick(morning().addSecs(5));
        QCOMPARE(store_->preferences().glassML, 275);
        QCOMPARE(picker->selectedValue(), std::nullopt);

        QSignalSpy updates(store_.get(), &DewbellStore::changed);
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_Down);
        QCOMPARE(store_->preferences().glassML, 150);
        QCOMPARE(picker->currentText(), QStringLiteral("150 ml"));
        QCOMPARE(updates.count(), 1);
        emit picker->activated(picker->currentIndex());
        QCOMPARE(updates.count(), 2);
    }

    // Each character typed is one update() (and so one save), and what the field shows is what
    // the store keeps: the name is cut at 80 characters at once.
    void fieldWritesEachKeystrokeAndShowsTheClampedName()
    {
        QWidget* block = field(QStringLiteral("FROM"), binding(store_.get(), &Preferences::sender), host_.get());
        block->show();
        auto* edit = block->findChild<QLineEdit*>();
        QCOMPARE(edit->text(), QStringLiteral("someone who cares"));
        QCOMPARE(edit->accessibleName(), QStringLiteral("FROM"));
        edit->clear();
        store_->update([](Preferences& preferences) { preferences.sender.clear(); });

        QSignalSpy updates(store_.get(), &DewbellStore::changed);
        QTest::keyClicks(edit, QStringLiteral("Ann"));
        QCOMPARE(updates.count(), 3);
        QCOMPARE(store_->preferences().sender, QStringLiteral("Ann"));

        QTest::keyClicks(edit, QString(90, QLatin1Char('x')));
        QCOMPARE(store_->preferences().sender.size(), 80);
        QCOMPARE(edit->text(), store_->preferences().sender);
    }

    // The store publishes a change every second and after each keystroke; the field keeps its
    // cursor and selection, the editor its composition, and an outside change still shows.
    void publishedChangesLeaveTheUserMidEdit()
    {
        QWidget* block = field(QStringLiteral("FROM"), binding(store_.get(), &Preferences::sender), host_.get());
        block->show();
        auto* edit = block->findChild<QLineEdit*>();
        edit->setFocus();
        edit->setSelection(2, 5);
        store_->tick(morning().addSecs(1));
        QCOMPARE(edit->selectionStart(), 2);
        QCOMPARE(edit->selectedText(), QStringLiteral("meone"));

        auto* editor = new QPlainTextEdit(host_.get());
        bind(editor, binding(store_.get(), &Preferences::loveNote));
        editor->show();
        editor->setFocus();
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(6);
        editor->setTextCursor(cursor);
        QSignalSpy updates(store_.get(), &DewbellStore::changed);
        QInputMethodEvent composing(QStringLiteral("すい"), {});
        QApplication::sendEvent(editor, &composing);
        store_->tick(morning().addSecs(2));
        QCOMPARE(editor->textCursor().block().layout()->preeditAreaText(), QStringLiteral("すい"));
        QCOMPARE(updates.count(), 1);  // the tick; a composition is not yet an edit

        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("水"));
        QApplication::sendEvent(editor, &commit);
        QCOMPARE(store_->preferences().loveNote, QStringLiteral("You're水 doing better than you think. Sip slowly."));
        QCOMPARE(editor->textCursor().position(), 7);

        store_->update([](Preferences& preferences) { preferences.loveNote = QStringLiteral("Hi"); });
        QCOMPARE(editor->toPlainText(), QStringLiteral("Hi"));
        QCOMPARE(editor->textCursor().position(), 2);
    }

    void switchFollowsAndWritesItsPreference()
    {
        auto* toggle = new TrailingSwitch(QStringLiteral("Eye-rest reminders"), host_.get());
        bind(toggle, binding(store_.get(), &Preferences::breaks, &BreakPreferences::eyeEnabled));
        QVERIFY(!toggle->isChecked());
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(store_->preferences().breaks.eyeEnabled);
        toggle->setFocus();
        QTest::keyClick(toggle, Qt::Key_Space);
        QVERIFY(!store_->preferences().breaks.eyeEnabled);
        store_->update([](Preferences& preferences) { preferences.breaks.eyeEnabled = true; });
        QVERIFY(toggle->isChecked());
    }

    // The pointer steps too; a value the store clamps shows clamped at once.
    void stepperShowsTheStoredValueAfterClamping()
    {
        auto* stepper =
            new Stepper([](int glasses) { return QStringLiteral("Goal %1").arg(glasses); }, 1, 30, 1, host_.get());
        bind(stepper, binding(store_.get(), &Preferences::dailyGoal));
        stepper->resize(stepper->sizeHint());
        stepper->show();
        const QPoint plus(stepper->width() - 8, stepper->height() / 2);
        const QPoint minus(stepper->width() - Stepper::controlSize.width() + 8, stepper->height() / 2);
        QTest::mouseClick(stepper, Qt::LeftButton, {}, plus);
        QCOMPARE(store_->preferences().dailyGoal, 9);
        QTest::mouseClick(stepper, Qt::LeftButton, {}, minus);
        QTest::mouseClick(stepper, Qt::LeftButton, {}, minus);
        QCOMPARE(store_->preferences().dailyGoal, 7);

        stepper->setFocus();
        QTest::keyClick(stepper, Qt::Key_End);
        QCOMPARE(store_->preferences().dailyGoal, 20);
        QCOMPARE(stepper->value(), 20);
        QCOMPARE(stepper->text(), QStringLiteral("Goal 20"));
        QCOMPARE(stepper->accessibleName(), stepper->text());
    }

private:
    std::unique_ptr<QWidget> host_;
};

QTEST_MAIN(PageHelpersTest)
#include "test_page_helpers.moc"
