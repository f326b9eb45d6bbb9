#pragma once

class QComboBox;

// What assistive tools hear of a drop-down list of choices: a combo box named by its accessible
// name (what it sets: "Say hello every"), whose value is the row on show ("45 minutes"), and
// whose one child is its list. Qt's own description names such a list by its value on Linux,
// which says what was chosen but never what for. Call once from the picker's constructor.
void describeChoicePicker(QComboBox* picker);
