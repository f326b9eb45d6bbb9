#pragma once

#include <QAbstractSlider>
#include <functional>

// A labelled stepper: the label on the left (it names the current value, "Personal goal: 8
// glasses") and a small "−" "+" control on the right. The value never leaves its range and
// moves by its step. It takes keyboard focus: the arrow keys, Page Up and Page Down step, Home
// and End jump to the ends; the wheel steps it only while it has the focus. Assistive
// technology reads the label as its name and the value. It keeps its own size: it is never
// squeezed or stretched.
class Stepper : public QAbstractSlider {
    Q_OBJECT
public:
    using LabelText = std::function<QString(int value)>;

    Stepper(LabelText labelText, int minimum, int maximum, int step, QWidget* parent = nullptr);

    // What the label shows now.
    QString text() const;

    // Shows a value that comes from elsewhere (the store); only this does not count as an edit.
    void showValue(int value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr QSize controlSize{58, 24};

signals:
    // The value moved by any way but showValue(): the arrow keys, the pointer, setValue().
    void edited(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void sliderChange(SliderChange change) override;

private:
    QRectF controlRect() const;
    QSize labelSize() const;

    LabelText labelText_;
    bool showing_ = false;
};
