#pragma once

#include "window/ChoicePicker.h"
#include "window/PreferenceBinding.h"

#include <QString>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class Stepper;

// The building blocks the main window's pages share: their heading, a labelled text field, an
// hour picker, and the ties between a control and one preference. A tied control shows the
// stored value (after the store's clamping) whenever the store publishes a change, and hands
// each user edit to the store's update() as it happens. Showing a stored value never moves
// the text cursor or breaks off an input-method composition unless the text itself changed.

// The heading block at the top of a page: the title (32 px medium serif) over the subtitle
// (12 px, muted), 8 apart. The title label is named "pageTitle", the subtitle "pageSubtitle".
QWidget* pageTitle(const QString& title, const QString& subtitle, QWidget* parent = nullptr);

// A small-capitals label over a plain single-line text field on a soft rounded fill, the field
// tied to `text`. The field's accessible name is the label.
QWidget* field(const QString& label, const PreferenceBinding<QString>& text, QWidget* parent = nullptr);

// A picker of `choices`, `width` pixels wide, tied to `value`. `label` holds the words shown
// beside it that say what it sets: assistive tools hear them as the picker's name.
ChoicePicker* boundPicker(QLabel* label, const QList<ChoicePicker::Choice>& choices, int width,
                          const PreferenceBinding<int>& value, QWidget* parent = nullptr);

// A 90-pixel picker of an hour of the day, "00:00" to "23:00", tied to `hour` and named by `label`.
ChoicePicker* hourPicker(QLabel* label, const PreferenceBinding<int>& hour, QWidget* parent = nullptr);

void bind(QAbstractButton* toggle, const PreferenceBinding<bool>& preference);
void bind(QLineEdit* edit, const PreferenceBinding<QString>& preference);
void bind(QPlainTextEdit* editor, const PreferenceBinding<QString>& preference);
void bind(ChoicePicker* picker, const PreferenceBinding<int>& preference);
void bind(Stepper* stepper, const PreferenceBinding<int>& preference);
