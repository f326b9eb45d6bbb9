#include "reminders/tour/BreakInfoButton.h"

#include "reminders/tour/BreakInfoPopover.h"
#include "ui/Palette.h"
#include "ui/Symbols.h"

#include <QPainter>

BreakInfoButton::BreakInfoButton(ReminderKind kind, const BreakPreferences& preferences, UrlOpener* opener,
                                 QWidget* parent)
    : QAbstractButton(parent), kind_(kind), preferences_(preferences), opener_(opener)
{
    const QString help = QStringLiteral("Learn about ") + BreakInfoPopover::title(kind).toLower();
    setAccessibleName(help);
    setToolTip(help);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &BreakInfoButton::toggleInfo);
}

void BreakInfoButton::setPreferences(const BreakPreferences& preferences)
{
    preferences_ = preferences;
}

QSize BreakInfoButton::sizeHint() const
{
    return {symbolSize + 2 * padding, symbolSize + 2 * padding};
}

void BreakInfoButton::toggleInfo()
{
    if (popover_) {
        popover_->close();
        return;
    }
    popover_ = new BreakInfoPopover(kind_, preferences_, opener_, this);
    connect(popover_, &BreakInfoPopover::closed, this, [this] { popover_.clear(); });
    popover_->popUp();
}

void BreakInfoButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (hasFocus()) {
        QColor ring = Palette::accent();
        ring.setAlphaF(0.6);
        painter.setPen(QPen(ring, 1));
        painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    if (isDown())
        painter.setOpacity(0.55);
    Symbols::paint(painter, QRectF(padding, padding, symbolSize, symbolSize), QStringLiteral("info.circle"),
                   Palette::accent());
}
