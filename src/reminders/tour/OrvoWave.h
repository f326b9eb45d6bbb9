#pragma once

#include <QMovie>
#include <QWidget>

// Orvo's animated wave: the GIF played with QMovie, fitted into the view with its aspect
// kept. The movie runs only while the view is on screen; hidden, it stops and costs nothing.
class OrvoWave : public QWidget {
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
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QMovie movie_;
};
