#include "reminders/tour/TourStepperRow.h"

#include "reminders/tour/TourKit.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/SoftButton.h"
#include "ui/SymbolLabel.h"
#include "ui/Typography.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

SoftButton* stepButton(const QString& text, const QString& label, const QString& name, QWidget* parent)
{
    auto* button = new SoftButton(text, QString(), parent);
    button->setObjectName(name);
    button->setAccessibleName(label);
    button->setToolTip(label);
    button->setAutoDefault(false);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
}

}  // namespace

TourStepperRow::TourStepperRow(const QString& symbolName, const std::pair<QString, QString>& labels, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = makeRow(this, 12);
    layout->addWidget(new SymbolLabel(symbolName, 18, Palette::accent(), this), 0, Qt::AlignVCenter);
    title_ = makeLabel(QString(), TourKit::stepFont(), Palette::ink(), this);
    title_->setObjectName(QStringLiteral("stepperTitle"));
    layout->addWidget(title_, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    lower_ = stepButton(QStringLiteral("−5"), labels.first, QStringLiteral("lower"), this);
    raise_ = stepButton(QStringLiteral("+5"), labels.second, QStringLiteral("raise"), this);
    layout->addWidget(lower_);
    layout->addWidget(raise_);
    connect(lower_, &QAbstractButton::clicked, this, &TourStepperRow::sooner);
    connect(raise_, &QAbstractButton::clicked, this, &TourStepperRow::later);
}

void TourStepperRow::setValue(const QString& title, bool canLower, bool canRaise)
{
    title_->setText(title);
    lower_->setEnabled(canLower);
    raise_->setEnabled(canRaise);
}

QString TourStepperRow::title() const
{
    return title_->text();
}
