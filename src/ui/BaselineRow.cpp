#include "ui/BaselineRow.h"

#include <QLabel>
#include <QWidgetItem>

namespace {

// A one-line label given its preferred height draws its text from its top, after its margins.
int ascentOf(const QLabel& label)
{
    return label.contentsMargins().top() + label.margin() + label.fontMetrics().ascent();
}

const QLabel* labelOf(const QLayoutItem* item)
{
    return qobject_cast<const QLabel*>(item->widget());
}

}  // namespace

BaselineRow::BaselineRow(QWidget* parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
}

BaselineRow::~BaselineRow()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void BaselineRow::addLabel(QLabel* label)
{
    addChildWidget(label);
    addItem(new QWidgetItem(label));
}

void BaselineRow::addStretch()
{
    addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
}

void BaselineRow::addItem(QLayoutItem* item)
{
    items_.append(item);
    invalidate();
}

QLayoutItem* BaselineRow::itemAt(int index) const
{
    return items_.value(index);
}

QLayoutItem* BaselineRow::takeAt(int index)
{
    if (index < 0 || index >= items_.size())
        return nullptr;
    invalidate();
    return items_.takeAt(index);
}

int BaselineRow::count() const
{
    return int(items_.size());
}

Qt::Orientations BaselineRow::expandingDirections() const
{
    return Qt::Horizontal;
}

BaselineRow::Extent BaselineRow::extent() const
{
    Extent extent;
    const QLayoutItem* previous = nullptr;
    for (QLayoutItem* item : items_) {
        if (item->spacerItem()) {
            ++extent.stretches;
            previous = nullptr;
            continue;
        }
        const QLabel* label = labelOf(item);
        if (!label || item->isEmpty())
            continue;
        const int ascent = ascentOf(*label);
        extent.ascent = std::max(extent.ascent, ascent);
        extent.descent = std::max(extent.descent, item->sizeHint().height() - ascent);
        extent.labelsWidth += item->sizeHint().width() + (previous ? spacing() : 0);
        previous = item;
    }
    return extent;
}

QSize BaselineRow::sizeHint() const
{
    const Extent row = extent();
    const QMargins margins = contentsMargins();
    return {row.labelsWidth + margins.left() + margins.right(),
            row.ascent + row.descent + margins.top() + margins.bottom()};
}

QSize BaselineRow::minimumSize() const
{
    return {0, sizeHint().height()};
}

void BaselineRow::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const QRect area = rect.marginsRemoved(contentsMargins());
    const Extent row = extent();
    const int spare = std::max(0, area.width() - row.labelsWidth);
    const int baseline = area.top() + row.ascent;
    int x = area.left();
    int stretchesLeft = row.stretches;
    int spareLeft = spare;
    const QLayoutItem* previous = nullptr;
    for (QLayoutItem* item : items_) {
        if (item->spacerItem()) {
            // The spare width, shared out evenly; the last stretch takes what rounding left.
            const int width = stretchesLeft > 1 ? spare / row.stretches : spareLeft;
            item->setGeometry(QRect(x, area.top(), width, area.height()));
            x += width;
            spareLeft -= width;
            --stretchesLeft;
            previous = nullptr;
            continue;
        }
        const QLabel* label = labelOf(item);
        if (!label || item->isEmpty())
            continue;
        if (previous)
            x += spacing();
        const QSize size = item->sizeHint();
        // A row too narrow for its labels cuts the last of them at the right edge.
        const int width = std::min(size.width(), std::max(0, area.right() + 1 - x));
        item->setGeometry(QRect(x, baseline - ascentOf(*label), width, size.height()));
        x += width;
        previous = item;
    }
}
