#include "window/TourSheet.h"

#include "store/DewbellStore.h"
#include "ui/DarkSurface.h"
#include "ui/Palette.h"
#include "ui/SoftButton.h"
#include "ui/Typography.h"

#include <QLabel>
#include <QVBoxLayout>

TourSheet::TourSheet(DewbellStore* store, QWidget* window) : QDialog(window, Qt::Sheet), store_(store)
{
    setObjectName(QStringLiteral("tourSheet"));
    setWindowTitle(QStringLiteral("Dewbell"));
    setWindowModality(Qt::WindowModal);
    useDarkSurface(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeContent(store_, this));
}

QWidget* TourSheet::makeContent(DewbellStore* store, QWidget* parent)
{
    auto* content = new QWidget(parent);
    content->setObjectName(QStringLiteral("tourContent"));
    content->setMinimumSize(560, 400);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(32, 32, 32, 32);
    layout->setSpacing(16);
    layout->addWidget(makeLabel(QStringLiteral("Big plans. Small breaks."),
                                uiFont(32, QFont::Medium, FontDesign::serif), Palette::ink()));
    layout->addStretch(1);
    auto* skip = new SoftButton(QStringLiteral("Skip tour"));
    skip->setObjectName(QStringLiteral("skipTour"));
    QObject::connect(skip, &QAbstractButton::clicked, content, [store] { store->finishTour(); });
    layout->addWidget(skip, 0, Qt::AlignRight);
    return content;
}

void TourSheet::sync()
{
    const bool wanted = store_->tourVisible() && parentWidget() && parentWidget()->isVisible();
    if (wanted && !isVisible())
        open();
    else if (!store_->tourVisible() && isVisible())
        done(QDialog::Rejected);
}

void TourSheet::done(int result)
{
    QDialog::done(result);
    if (store_->tourVisible())
        store_->setTourVisible(false);
    if (store_->state().tourVersion < 1)
        store_->finishTour();
}
