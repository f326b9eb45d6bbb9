#include "reminders/tour/TourKit.h"

#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/SymbolLabel.h"
#include "ui/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

QFont TourKit::stepFont()
{
    return uiFont(12);
}

QLabel* TourKit::text(const QString& text, const QString& name, QWidget* parent, const QFont& font, const QColor& color)
{
    QLabel* label = makeLabel(text, font, color.isValid() ? color : Palette::muted(), parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

QWidget* TourKit::divider(QWidget* parent)
{
    auto* line = new FilledCard(Palette::line(), 0, parent);
    line->setFixedHeight(1);
    return line;
}

QWidget* TourKit::card(qreal radius, int padding, int spacing, QWidget* parent)
{
    auto* card = new FilledCard(Palette::surface(), radius, parent);
    makePaddedColumn(card, padding, spacing);
    return card;
}

QBoxLayout* TourKit::cardLayout(QWidget* card)
{
    return static_cast<QBoxLayout*>(card->layout());
}

QWidget* TourKit::symbolLabel(const QString& symbolName, const QString& text, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = makeRow(row, 8);
    layout->addWidget(new SymbolLabel(symbolName, 14, Palette::muted(), row), 0, Qt::AlignTop);
    layout->addWidget(TourKit::text(text, QString(), row), 1);
    row->setAccessibleName(text);
    return row;
}
