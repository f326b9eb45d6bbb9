#include "ui/Layouts.h"

#include <QBoxLayout>

namespace {

template<typename Layout>
Layout* bare(QWidget* owner, int spacing)
{
    auto* layout = owner ? new Layout(owner) : new Layout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

}  // namespace

QHBoxLayout* makeRow(QWidget* owner, int spacing)
{
    return bare<QHBoxLayout>(owner, spacing);
}

QVBoxLayout* makeColumn(QWidget* owner, int spacing)
{
    return bare<QVBoxLayout>(owner, spacing);
}

QVBoxLayout* makePaddedColumn(QWidget* owner, int padding, int spacing)
{
    QVBoxLayout* column = makeColumn(owner, spacing);
    column->setContentsMargins(padding, padding, padding, padding);
    return column;
}
