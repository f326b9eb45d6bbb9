#include "window/PageHelpers.h"

#include "ui/DarkSurface.h"
#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/Typography.h"
#include "window/ChoicePicker.h"
#include "window/Stepper.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int hourPickerWidth = 90;

}  // namespace

QWidget* pageTitle(const QString& title, const QString& subtitle, QWidget* parent)
{
    auto* block = new QWidget(parent);
    QVBoxLayout* layout = makeColumn(block, 8);
    auto* heading = makeLabel(title, uiFont(32, QFont::Medium, FontDesign::serif), Palette::ink(), block);
    heading->setObjectName(QStringLiteral("pageTitle"));
    heading->setWordWrap(true);
    auto* line = makeLabel(subtitle, uiFont(12), Palette::muted(), block);
    line->setObjectName(QStringLiteral("pageSubtitle"));
    line->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(line);
    return block;
}

QWidget* field(const QString& label, const PreferenceBinding<QString>& text, QWidget* parent)
{
    auto* block = new QWidget(parent);
    QVBoxLayout* layout = makeColumn(block, 9);
    layout->addWidget(makeLabel(label, uiFont(9, QFont::DemiBold, FontDesign::standard, 1.1), Palette::muted(), block));

    auto* fill = new FilledCard(QColor(255, 255, 255, 10), 9, block);
    auto* inner = makeColumn(fill, 0);
    inner->setContentsMargins(12, 12, 12, 12);
    auto* edit = new QLineEdit(fill);
    edit->setFrame(false);
    edit->setAccessibleName(label);
    edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    useCardFill(edit);
    edit->setFont(uiFont(13));
    inner->addWidget(edit);
    layout->addWidget(fill);
    bind(edit, text);
    return block;
}

ChoicePicker* hourPicker(QLabel* label, const PreferenceBinding<int>& hour, QWidget* parent)
{
    QList<ChoicePicker::Choice> hours;
    for (int value = 0; value < 24; ++value)
        hours.append({QStringLiteral("%1:00").arg(value, 2, 10, QLatin1Char('0')), value});
    return boundPicker(label, hours, hourPickerWidth, hour, parent);
}

ChoicePicker* boundPicker(QLabel* label, const QList<ChoicePicker::Choice>& choices, int width,
                          const PreferenceBinding<int>& value, QWidget* parent)
{
    auto* picker = new ChoicePicker(label->text(), choices, parent);
    label->setBuddy(picker);
    picker->setFixedWidth(width);
    bind(picker, value);
    return picker;
}

void bind(QAbstractButton* toggle, const PreferenceBinding<bool>& preference)
{
    preference.follow(toggle, [toggle](bool on) { toggle->setChecked(on); });
    QObject::connect(toggle, &QAbstractButton::clicked, toggle, [preference](bool on) { preference.write(on); });
}

void bind(QLineEdit* edit, const PreferenceBinding<QString>& preference)
{
    preference.follow(edit, [edit](const QString& text) {
        if (edit->text() == text)
            return;
        // Only a clamped or outside change lands here; keep the cursor where the user left it.
        const int cursor = edit->cursorPosition();
        edit->setText(text);
        edit->setCursorPosition(std::min(cursor, int(text.size())));
    });
    QObject::connect(edit, &QLineEdit::textEdited, edit, [preference](const QString& text) { preference.write(text); });
}

void bind(QPlainTextEdit* editor, const PreferenceBinding<QString>& preference)
{
    preference.follow(editor, [editor](const QString& text) {
        if (editor->toPlainText() == text)
            return;
        const int cursor = editor->textCursor().position();
        editor->setPlainText(text);
        QTextCursor moved = editor->textCursor();
        moved.setPosition(std::min(cursor, int(text.size())));
        editor->setTextCursor(moved);
    });
    // The editor also reports changes that leave its text as stored: showing the stored text,
    // and input-method compositions in progress. Only a different text is an edit.
    QObject::connect(editor, &QPlainTextEdit::textChanged, editor, [editor, preference] {
        const QString text = editor->toPlainText();
        if (text != preference.read())
            preference.write(text);
    });
}

void bind(ChoicePicker* picker, const PreferenceBinding<int>& preference)
{
    preference.follow(picker, [picker](int value) { picker->showValue(value); });
    QObject::connect(picker, &ChoicePicker::picked, picker, [preference](int value) { preference.write(value); });
}

void bind(Stepper* stepper, const PreferenceBinding<int>& preference)
{
    preference.follow(stepper, [stepper](int value) { stepper->showValue(value); });
    QObject::connect(stepper, &Stepper::edited, stepper, [preference](int value) { preference.write(value); });
}
