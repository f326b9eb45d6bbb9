#pragma once

#include <QLayout>
#include <QList>

class QLabel;

// A row of one-line labels that share one text baseline: the label with the most room above
// its baseline decides where it lies, and smaller text is lowered onto it (a QHBoxLayout only
// centres). Stretches take the width the labels leave; labels next to each other keep the
// layout's spacing. Hidden labels take no room.
class BaselineRow : public QLayout {
public:
    explicit BaselineRow(QWidget* parent = nullptr);
    ~BaselineRow() override;

    void addLabel(QLabel* label);
    void addStretch();

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    Qt::Orientations expandingDirections() const override;

private:
    struct Extent {
        int ascent = 0;
        int descent = 0;
        int labelsWidth = 0;
        int stretches = 0;
    };
    Extent extent() const;

    QList<QLayoutItem*> items_;
};
