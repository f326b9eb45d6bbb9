#include "window/CrewPage.h"

#include "store/DewbellStore.h"
#include "ui/ClampedLabel.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/RefreshOnScreen.h"
#include "ui/SymbolLabel.h"
#include "ui/Typography.h"
#include "window/PackCard.h"
#include "window/PageHelpers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
// Enough for the longest name a pack may have, at the narrowest page.
constexpr int dutyLines = 4;
}  // namespace

CrewPage::CrewPage(DewbellStore* store, QWidget* parent) : QWidget(parent), store_(store)
{
    auto* layout = makeColumn(this, 21);
    layout->addWidget(pageTitle(QStringLiteral("Your tiny entourage."),
                                QStringLiteral("Pick a face. The loving nagging comes included."), this));

    auto* dutyRow = new QHBoxLayout;
    dutyRow->setSpacing(10);
    dutyRow->addWidget(new SymbolLabel(QStringLiteral("checkmark.circle.fill"), 15, Palette::accent(), this));
    // A long name wraps, if need be inside a word, rather than widen the page.
    onDuty_ = new ClampedLabel(uiFont(13, QFont::Medium), Palette::ink(), dutyLines, 0, this);
    onDuty_->setObjectName(QStringLiteral("onDuty"));
    dutyRow->addWidget(onDuty_, 1);
    layout->addLayout(dutyRow);

    auto* note = makeLabel(
        QStringLiteral("Choose your everyday buddy, or try anyone. Previews don't switch your companion or log water."),
        uiFont(11), Palette::muted(), this);
    note->setWordWrap(true);
    layout->addWidget(note);

    grid_ = new QGridLayout;
    grid_->setVerticalSpacing(15);
    grid_->setColumnStretch(0, 1);
    grid_->setColumnStretch(1, 1);
    grid_->setColumnMinimumWidth(0, 10);
    grid_->setColumnMinimumWidth(1, 10);
    layout->addLayout(grid_);

    refreshWhileOnScreen(this, store_, &DewbellStore::changed, [this] { refresh(); });
    refresh();
}

void CrewPage::refresh()
{
    if (store_->packs() != shownPacks_)
        makeCards();
    onDuty_->setText(store_->companion().name + QStringLiteral(" is on duty."));
    const QString chosen = store_->preferences().companionID;
    for (PackCard* card : std::as_const(cards_))
        card->setCurrent(card->pack().id == chosen);
}

// Only a change of the loaded packs (an import) makes the cards again.
void CrewPage::makeCards()
{
    qDeleteAll(cards_);
    cards_.clear();
    shownPacks_ = store_->packs();
    for (qsizetype index = 0; index < shownPacks_.size(); ++index) {
        auto* card = new PackCard(store_, shownPacks_[index], this);
        grid_->addWidget(card, int(index / 2), int(index % 2));
        cards_.append(card);
    }
}
