#pragma once

#include "ui/OnScreenWidget.h"

#include <QMovie>

// Orvo's animated wave: the GIF played with QMovie, fitted into the view with its aspect
// kept. The movie runs only while the view is on screen; hidden, it stops and costs nothing.
class OrvoWave : public OnScreenWidget {
    Q_OBJECT
public:
    // The size the wave asks for when nobody gives it one.
    static constexpr QSize naturalSize{66, 66};

    explicit OrvoWave(const QString& gifPath, QWidget* parent = nullptr);
    ~OrvoWave() override;

    // Shows another GIF; the same file again changes nothing.
    void setFile(const QString& gifPath);
    QString file() const { return movie_.fileName(); }
    bool isAnimating() const { return movie_.state() == QMovie::Running; }

    QSize sizeHint() const override { return naturalSize; }

protected:
    void onScreenChanged(bool onScreen) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QMovie movie_;
};
