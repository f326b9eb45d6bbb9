#pragma once

#include <QWidget>

// The tour's progress row: four thin capsules, lit up to the current step, and "N OF 4".
// It is drawn as one piece, so assistive technology meets it as one element, "Step N of 4".
class TourProgress : public QWidget {
    Q_OBJECT
public:
    static constexpr int stepCount = 4;

    explicit TourProgress(QWidget* parent = nullptr);

    // `step` counts from 0.
    void setStep(int step);
    int step() const { return step_; }
    // How many capsules are lit.
    int litCapsules() const { return step_ + 1; }
    QString caption() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int step_ = 0;
};
