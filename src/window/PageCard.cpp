#include "window/PageCard.h"

#include "ui/Palette.h"
#include "ui/Typography.h"

#include <QLabel>
#include <QVBoxLayout>

PageCard::PageCard(const QString& title, QWidget* parent) : FilledCard(Palette::surface(), cornerRadius, parent)
{
    content_ = new QVBoxLayout(this);
    content_->setContentsMargins(padding, padding, padding, padding);
    content_->setSpacing(spacing);
    content_->addWidget(makeCardTitle(title, this));
}

QLabel* makeCardTitle(const QString& title, QWidget* parent)
{
    QLabel* label = makeLabel(title, uiFont(9, QFont::DemiBold, FontDesign::standard, 1.3), Palette::muted(), parent);
    label->setObjectName(QStringLiteral("cardTitle"));
    return label;
}

void dimDisabledText(QWidget* page)
{
    QColor dimmed = Palette::ink();
    dimmed.setAlphaF(0.45);
    QPalette colours = page->palette();
    colours.setColor(QPalette::Disabled, QPalette::WindowText, dimmed);
    colours.setColor(QPalette::Disabled, QPalette::Text, dimmed);
    colours.setColor(QPalette::Disabled, QPalette::ButtonText, dimmed);
    page->setPalette(colours);
}
