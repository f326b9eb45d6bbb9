#pragma once

#include <QString>
#include <QWidget>
#include <utility>

class QLabel;
class SoftButton;

// One adjustable number of the tour's rhythm step: a symbol, a sentence with the number, and
// "−5" and "+5" buttons, each disabled at its end of the range and described by its own
// label (read aloud and shown as a tooltip).
class TourStepperRow : public QWidget {
    Q_OBJECT
public:
    // `labels`: what the lower button does, then what the higher one does.
    TourStepperRow(const QString& symbolName, const std::pair<QString, QString>& labels, QWidget* parent = nullptr);

    void setValue(const QString& title, bool canLower, bool canRaise);

    QString title() const;
    SoftButton* lowerButton() const { return lower_; }
    SoftButton* raiseButton() const { return raise_; }

signals:
    void sooner();
    void later();

private:
    QLabel* title_;
    SoftButton* lower_;
    SoftButton* raise_;
};
