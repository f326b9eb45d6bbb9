#include "window/MainSidebar.h"

#include "characters/AppBrandMark.h"
#include "store/DewbellStore.h"
#include "ui/ClampedLabel.h"
#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/StatusDot.h"
#include "ui/Typography.h"
#include "window/SidebarButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr int horizontalPadding = 17;
constexpr qreal statusCardFillOpacity = 0.025;
// The note's two sentences wrap to three lines in the narrow card; a fourth is room to spare.
constexpr int noteLines = 4;
constexpr qreal noteLineSpacing = 4;
}  // namespace

MainSidebar::MainSidebar(DewbellStore* store, QWidget* parent) : QWidget(parent), store_(store)
{
    setObjectName(QStringLiteral("sidebar"));
    setFixedWidth(sidebarWidth);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(horizontalPadding, 0, horizontalPadding, 0);
    layout->setSpacing(0);
    layout->addSpacing(19);
    layout->addWidget(makeBrandRow());
    layout->addSpacing(42);
    for (MainPage page : sidebarPages()) {
        layout->addWidget(makeEntry(page));
        layout->addSpacing(4);
    }
    layout->addSpacing(16);
    layout->addStretch(1);
    layout->addWidget(makeStatusCard());
    layout->addSpacing(10);
    layout->addWidget(makeEntry(MainPage::settings));
    layout->addSpacing(18);
    refresh();
}

QWidget* MainSidebar::makeBrandRow()
{
    auto* row = new QWidget(this);
    auto* layout = makeRow(row, 10);
    layout->addWidget(new AppBrandMark(35), 0, Qt::AlignVCenter);
    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    words->addWidget(
        makeLabel(QStringLiteral("dewbell"), uiFont(20, QFont::DemiBold, FontDesign::rounded), Palette::ink()));
    words->addWidget(makeLabel(QStringLiteral("A LITTLE CARE.\nA LITTLE CHAOS."),
                               uiFont(7, QFont::Medium, FontDesign::standard, 1), Palette::muted()));
    layout->addLayout(words);
    layout->addStretch(1);
    return row;
}

SidebarButton* MainSidebar::makeEntry(MainPage page)
{
    auto* entry = new SidebarButton(title(page), symbolName(page), this);
    entry->setObjectName(page == MainPage::settings ? QStringLiteral("settingsEntry") : QStringLiteral("pageRow"));
    const QString identifier = title(page);
    connect(entry, &QAbstractButton::clicked, this, [this, identifier] { store_->setSelectedPage(identifier); });
    entries_.append(entry);
    return entry;
}

QWidget* MainSidebar::makeStatusCard()
{
    QColor fill(Qt::white);
    fill.setAlphaF(statusCardFillOpacity);
    auto* card = new FilledCard(fill, 12, this);
    card->setObjectName(QStringLiteral("statusCard"));
    auto* layout = makePaddedColumn(card, 13, 9);

    auto* statusRow = new QHBoxLayout;
    statusRow->setSpacing(6);
    statusDot_ = new StatusDot(5, card);
    statusDot_->setObjectName(QStringLiteral("statusDot"));
    statusLabel_ = makeLabel({}, uiFont(10.5, QFont::Medium), Palette::ink(), card);
    statusLabel_->setObjectName(QStringLiteral("statusText"));
    statusRow->addWidget(statusDot_, 0, Qt::AlignVCenter);
    statusRow->addWidget(statusLabel_, 1);
    layout->addLayout(statusRow);

    auto* note = new ClampedLabel(uiFont(10), Palette::muted(), noteLines, noteLineSpacing, card);
    note->setObjectName(QStringLiteral("sidebarNote"));
    note->setText(QStringLiteral("Made for someone special.\nRuns quietly on this computer."));
    layout->addWidget(note);
    return card;
}

void MainSidebar::refresh()
{
    for (SidebarButton* entry : entries_)
        entry->setSelected(store_->selectedPage() == entry->text());
    statusLabel_->setText(statusText(*store_));
    statusDot_->setColor(statusColor(*store_));
}

QString MainSidebar::statusText(const DewbellStore& store)
{
    if (store.isFocused())
        return QStringLiteral("Focus mode");
    if (store.inMeeting())
        return QStringLiteral("Meeting protection");
    if (store.isPaused())
        return QStringLiteral("Taking a breather");
    if (store.isQuiet())
        return QStringLiteral("Quiet hours");
    return QStringLiteral("Looking out for you");
}

QColor MainSidebar::statusColor(const DewbellStore& store)
{
    return store.isPaused() ? pausedColor() : Palette::accent();
}

QColor MainSidebar::pausedColor()
{
    return Color(QStringLiteral("FF9F0A"));
}

void MainSidebar::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Color(QStringLiteral("101821")));
}
