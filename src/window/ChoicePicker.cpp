#include "window/ChoicePicker.h"

#include "ui/FocusedWheel.h"
#include "window/ChoicePickerAccessibility.h"

ChoicePicker::ChoicePicker(const QString& title, const QList<Choice>& choices, QWidget* parent) : QComboBox(parent)
{
    describeChoicePicker(this);
    setAccessibleName(title);
    setFocusPolicy(Qt::StrongFocus);
    for (const Choice& choice : choices)
        addItem(choice.text, choice.value);
    connect(this, &QComboBox::activated, this, [this](int index) { emit picked(itemData(index).toInt()); });
    takeWheelOnlyWithFocus(this);
}

void ChoicePicker::showValue(int value)
{
    setCurrentIndex(findData(value));
}

std::optional<int> ChoicePicker::selectedValue() const
{
    if (currentIndex() < 0)
        return std::nullopt;
    return currentData().toInt();
}

QList<ChoicePicker::Choice> ChoicePicker::numbered(const QList<int>& values, const QString& format)
{
    QList<Choice> choices;
    for (int value : values)
        choices.append({format.arg(value), value});
    return choices;
}
