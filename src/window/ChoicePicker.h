#pragma once

#include <QComboBox>
#include <QList>

// A drop-down list of fixed choices, each a text standing for a whole number ("45 minutes" for
// 45). A value that is none of its rows shows no row at all rather than a wrong one; it stays
// as it is until the user picks a row.
//
// The wheel picks another row only while the picker has the keyboard focus.
class ChoicePicker : public QComboBox {
    Q_OBJECT
public:
    struct Choice {
        QString text;
        int value = 0;
    };

    // `title` names the picker for assistive technology (the words beside it that say what it
    // sets); it is not shown.
    ChoicePicker(const QString& title, const QList<Choice>& choices, QWidget* parent = nullptr);

    // Selects the row of `value`, or none.
    void showValue(int value);
    // The value of the selected row; none when no row is selected.
    std::optional<int> selectedValue() const;

    // Rows whose text is `format` with each value in turn ("%1 minutes").
    static QList<Choice> numbered(const QList<int>& values, const QString& format);

signals:
    // The user chose a row, also the one already selected.
    void picked(int value);
};
