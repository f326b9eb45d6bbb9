#include "ReminderView.h"

#include "BuddyView.h"
#include "model/ReminderPlacement.h"
#include "store/DewbellStore.h"

ReminderView::ReminderView(DewbellStore* store, std::optional<double> fixedElapsed, QWidget* parent)
    : QWidget(parent), store_(store), fixedElapsed_(fixedElapsed),
      picture_(new BuddyView(store->presentedCompanion(), false, false, this)) {
    setFixedSize(sizeHint());
    picture_->setGeometry((width() - 210) / 2, height() - 20 - 218, 210, 218);
    connect(store_, &DewbellStore::changed, this, &ReminderView::render);
    render();
}

QSize ReminderView::sizeHint() const {
    return ReminderPlacement::canvas().toSize();
}

void ReminderView::render() {
    picture_->setPack(store_->presentedCompanion());
    picture_->setHappy(store_->celebrating());
}
