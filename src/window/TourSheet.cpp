#include "window/TourSheet.h"

#include "reminders/tour/OnboardingView.h"
#include "store/DewbellStore.h"
#include "ui/DarkSurface.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"

#include <QVBoxLayout>

TourSheet::TourSheet(DewbellStore* store, QWidget* window, UrlOpener& opener)
    : QDialog(window, Qt::Sheet), store_(store), opener_(opener)
{
    setObjectName(QStringLiteral("tourSheet"));
    setWindowTitle(QStringLiteral("Dewbell"));
    useDarkSurface(this);
    auto* layout = makeColumn(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TourSheet::sync()
{
    const bool wanted = store_->tourVisible() && parentWidget() && parentWidget()->isVisible();
    if (wanted && !isVisible()) {
        tour_ = new OnboardingView(store_, 0, &opener_, this);
        layout()->addWidget(tour_);
        show();
    } else if (!store_->tourVisible() && isVisible()) {
        done(QDialog::Rejected);
    }
}

void TourSheet::done(int result)
{
    QDialog::done(result);
    // The tour may be closing from one of its own buttons: it goes once that click is over.
    if (tour_)
        tour_->deleteLater();
    tour_ = nullptr;
    if (store_->tourVisible())
        store_->setTourVisible(false);
    if (store_->state().tourVersion < 1)
        store_->finishTour();
}
