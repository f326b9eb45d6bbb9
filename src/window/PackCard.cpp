#include "window/PackCard.h"

#include "characters/BuddyView.h"
#include "store/DewbellStore.h"
#include "ui/ClampedLabel.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/SoftButton.h"
#include "ui/SymbolLabel.h"
#include "ui/Typography.h"
#include "window/CardButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int padding = 17;
constexpr int pictureHeight = 145;
constexpr int nameLines = 3;
}  // namespace

PackCard::PackCard(DewbellStore* store, const CharacterPack& pack, QWidget* parent)
    : FilledCard(Palette::surface(), 18, parent), store_(store), pack_(pack)
{
    setObjectName(QStringLiteral("packCard"));
    // The crew's two columns share the page equally, whatever a card holds.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* layout = makePaddedColumn(this, padding, 13);

    picture_ = new CardButton(this);
    picture_->setObjectName(QStringLiteral("packPicture"));
    picture_->setAccessibleName(QStringLiteral("Choose ") + pack.name);
    // A long name may end in an ellipsis on the card; the tooltip gives all of it.
    picture_->setToolTip(pack.name);
    auto* face = makeColumn(picture_, 6);
    status_ = new SymbolLabel(QStringLiteral("circle"), 16, Palette::muted(), picture_);
    face->addWidget(status_, 0, Qt::AlignRight);
    auto* buddy = new BuddyView(pack, false, false, picture_);
    buddy->setFixedHeight(pictureHeight);
    face->addWidget(buddy);
    auto* name = new ClampedLabel(uiFont(18, QFont::Medium, FontDesign::serif), Palette::ink(), nameLines, 0, picture_);
    name->setObjectName(QStringLiteral("packName"));
    name->setAlignment(Qt::AlignHCenter);
    name->setText(pack.name);
    face->addWidget(name);
    auto* subtitle = new ClampedLabel(uiFont(10), Palette::muted(), 2, 0, picture_);
    subtitle->setObjectName(QStringLiteral("packSubtitle"));
    subtitle->setAlignment(Qt::AlignHCenter);
    subtitle->setText(pack.subtitle);
    face->addWidget(subtitle);
    connect(picture_, &QAbstractButton::clicked, this, &PackCard::choose);
    layout->addWidget(picture_);

    auto* actions = makeRow();
    choose_ = new PlainButton({}, {}, this);
    choose_->setObjectName(QStringLiteral("choosePack"));
    choose_->setFont(uiFont(11, QFont::Medium));
    // "On duty" is the card's word for the companion in use, not a dimmed control.
    choose_->setDimmedWhenDisabled(false);
    connect(choose_, &QAbstractButton::clicked, this, &PackCard::choose);
    actions->addWidget(choose_);
    actions->addStretch(1);
    try_ = new SoftButton(QStringLiteral("Try it"), QStringLiteral("play.fill"), this);
    try_->setObjectName(QStringLiteral("tryPack"));
    try_->setAccessibleName(QStringLiteral("Try ") + pack.name);
    try_->setToolTip(QStringLiteral("Preview %1 without switching your buddy or logging water").arg(pack.name));
    connect(try_, &QAbstractButton::clicked, this,
            [this] { store_->showReminder(true, ReminderKind::water, pack_.id); });
    actions->addWidget(try_);
    layout->addLayout(actions);

    current_ = true;  // so that the first call draws every part
    setCurrent(false);
}

void PackCard::choose()
{
    store_->update([id = pack_.id](Preferences& preferences) { preferences.companionID = id; });
}

void PackCard::setCurrent(bool current)
{
    if (current == current_)
        return;
    current_ = current;
    QColor outline = Palette::accent();
    outline.setAlphaF(0.65);
    setOutline(current ? outline : Palette::line());
    QColor empty = Palette::muted();
    empty.setAlphaF(0.4);
    status_->setSymbol(current ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"),
                       current ? Palette::accent() : empty);
    choose_->setText(current ? QStringLiteral("On duty") : QStringLiteral("Choose"));
    choose_->setAccessibleName(current ? pack_.name + QStringLiteral(" is on duty")
                                       : QStringLiteral("Choose ") + pack_.name);
    choose_->setColor(current ? Palette::accent() : Palette::muted());
    choose_->setEnabled(!current);
    choose_->updateGeometry();
}
