#include "reminders/tour/HomeStep.h"

#include "characters/BrandMarkArt.h"
#include "reminders/tour/TourAccessibility.h"
#include "reminders/tour/TourKit.h"
#include "reminders/tour/TourMenuIcon.h"
#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/SymbolLabel.h"
#include "ui/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QtMath>

namespace {
constexpr int menuBarWidth = 350;
constexpr qreal menuSymbolSize = 15;
}  // namespace

HomeStep::HomeStep(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("homeStep"));
    auto* layout = makeColumn(this, 14);
    layout->addWidget(makeIllustration());
    layout->addWidget(TourKit::symbolLabel(QStringLiteral("menubar.arrow.up.rectangle"),
                                           QStringLiteral("The Dewbell menu-bar icon is highlighted in light purple. "
                                                          "Open, pause or quit from there."),
                                           this));
    layout->addWidget(TourKit::symbolLabel(QStringLiteral("hand.tap"),
                                           QStringLiteral("Busy? Click your buddy to snooze a reminder."), this));
    layout->addWidget(TourKit::symbolLabel(QStringLiteral("lock.shield"),
                                           QStringLiteral("Your notes and history stay on this computer."), this));
}

// A picture of what the lines below say, so assistive technology skips it.
QWidget* HomeStep::makeIllustration()
{
    auto* card = new FilledCard(Palette::surface(), 22, this);
    card->setObjectName(QStringLiteral("menuBarIllustration"));
    TourAccessibility::present(card, TourAccessibility::Presence::hidden);
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(0, 16, 0, 16);
    layout->setSpacing(10);
    layout->addWidget(makeMenuBar(card), 0, Qt::AlignHCenter);
    layout->addWidget(new SymbolLabel(QStringLiteral("arrow.up"), 18, Palette::accent(), card), 0, Qt::AlignHCenter);
    QLabel* hint = makeLabel(QStringLiteral("Look for the purple-highlighted Dewbell icon above."), uiFont(14),
                             Palette::ink(), card);
    layout->addWidget(hint, 0, Qt::AlignHCenter);
    return card;
}

QWidget* HomeStep::makeMenuBar(QWidget* parent)
{
    auto* bar = new FilledCard(Palette::background(), 12, parent);
    bar->setObjectName(QStringLiteral("mockMenuBar"));
    bar->setFixedWidth(menuBarWidth);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(18, 9, 18, 9);
    layout->addWidget(new BrandOutline(menuSymbolSize, Palette::ink(), bar));
    layout->addStretch(1);
    menuIcon_ = new TourMenuIcon(bar);
    layout->addWidget(menuIcon_);
    auto* wifi = new SymbolLabel(QStringLiteral("wifi"), menuSymbolSize, Palette::ink(), bar);
    wifi->setContentsMargins(6, 0, 6, 0);
    wifi->setFixedWidth(qCeil(menuSymbolSize) + 12);
    layout->addWidget(wifi);
    layout->addWidget(makeLabel(QStringLiteral("9:41"), uiFont(11, QFont::Medium), Palette::ink(), bar));
    return bar;
}

BrandOutline::BrandOutline(qreal size, const QColor& color, QWidget* parent)
    : QWidget(parent), size_(size), color_(color)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize BrandOutline::sizeHint() const
{
    const int side = qCeil(size_);
    return {side, side};
}

void BrandOutline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    // The drop is drawn in a 100 x 100 box; the pen is scaled with it.
    painter.translate((width() - side) / 2, (height() - side) / 2);
    painter.scale(side / 100.0, side / 100.0);
    painter.setPen(QPen(color_, 100.0 * 1.3 / side));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(BrandMarkArt::drop());
}
