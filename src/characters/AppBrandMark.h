#pragma once

#include <QColor>
#include <QWidget>

// The logo as a view, `size` points on a side (34 by default). Monochrome draws it in the
// single `tint` colour (Palette::ink by default).
class AppBrandMark : public QWidget {
    Q_OBJECT
public:
    explicit AppBrandMark(qreal size = 34, bool monochrome = false, const QColor& tint = QColor(),
                          QWidget* parent = nullptr);

    static QImage render(int size, bool monochrome, const QColor& tint, qreal devicePixelRatio = 1.0);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal size_;
    bool monochrome_;
    QColor tint_;
};
