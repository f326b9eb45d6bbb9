#pragma once

#include <QWidget>

// A thin progress bar: a capsule of Palette::line with an accent capsule over it whose width
// is the progress (0...1, clamped) of the full width. Assistive tools hear a progress bar, named by
// its accessible name, whose value is the progress in percent.
class CapsuleProgress : public QWidget {
    Q_OBJECT
public:
    explicit CapsuleProgress(QWidget* parent = nullptr);

    void setProgress(double progress);
    double progress() const { return progress_; }

    static constexpr int barHeight = 4;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double progress_ = 0;
};
