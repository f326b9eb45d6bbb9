#pragma once

#include <QWidget>

class ClampedLabel;
class DewbellStore;
class QLineEdit;
class TrailingSwitch;
struct TourChoices;

// The tour's second step: the name the companions call the user, or each buddy's own pet
// name, with a preview of how the chosen companion will address them.
class NameStep : public QWidget {
    Q_OBJECT
public:
    NameStep(const DewbellStore* store, TourChoices& choices, QWidget* parent = nullptr);

    // Follows the store's packs and preferences (the preview depends on both).
    void refresh();

    QLineEdit* nameField() const { return field_; }

private:
    void nameEdited(const QString& text);
    void petNamesSwitched(bool on);

    const DewbellStore* store_;
    TourChoices& choices_;
    QLineEdit* field_;
    TrailingSwitch* petNames_;
    ClampedLabel* preview_;
};
