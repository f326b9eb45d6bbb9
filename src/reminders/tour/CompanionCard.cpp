#include "reminders/tour/CompanionCard.h"

#include "reminders/tour/TourAccessibility.h"
#include "ui/Palette.h"
#include "ui/Typography.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int verticalPadding = 10;
constexpr int horizontalPadding = 6;
constexpr qreal cornerRadius = 9;
}  // namespace

CompanionCard::CompanionCard(const CharacterPack& pack, QWidget* parent) : QAbstractButton(parent), id_(pack.id)
{
    TourAccessibility::present(this, TourAccessibility::Presence::oneElement);
    setText(pack.name);
    setObjectName(QStringLiteral("companionCard"));
    setAccessibleName(QStringLiteral("Choose ") + pack.name);
    // A long name is shrunk and may end in an ellipsis; the tooltip gives all of it.
    setToolTip(pack.name);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    // The cards share the row's width equally, whatever their names.
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    policy.setHorizontalStretch(1);
    setSizePolicy(policy);
    TourAccessibility::setSelectedValue(this, false);
}

void CompanionCard::setSelected(bool selected)
{
    if (selected == selected_)
        return;
    selected_ = selected;
    TourAccessibility::setSelectedValue(this, selected);
    update();
}

QFont CompanionCard::fontAt(qreal size) const
{
    QFont font = uiFont(fontSize, QFont::Medium);
    font.setPixelSize(std::max(1, qRound(size)));
    return font;
}

int CompanionCard::textWidth() const
{
    return std::max(0, width() - 2 * horizontalPadding);
}

qreal CompanionCard::shownFontSize() const
{
    const qreal full = QFontMetricsF(fontAt(fontSize)).horizontalAdvance(text());
    if (full <= textWidth() || full <= 0)
        return fontSize;
    return std::max(fontSize * minimumScale, fontSize * textWidth() / full);
}

QString CompanionCard::shownName() const
{
    return QFontMetrics(fontAt(shownFontSize())).elidedText(text(), Qt::ElideRight, textWidth());
}

QSize CompanionCard::sizeHint() const
{
    const QFontMetrics metrics(fontAt(fontSize));
    return {metrics.horizontalAdvance(text()) + 2 * horizontalPadding, metrics.height() + 2 * verticalPadding};
}

QSize CompanionCard::minimumSizeHint() const
{
    return {2 * horizontalPadding, sizeHint().height()};
}

void CompanionCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    painter.fillPath(shape, selected_ ? Palette::primary() : Palette::surface());
    const QColor ink = selected_ ? QColor(Qt::white) : Palette::ink();
    if (hasFocus()) {
        painter.setPen(QPen(Palette::accent(), 1.2));
        painter.drawPath(shape);
    }
    if (isDown())
        painter.setOpacity(0.7);
    painter.setPen(ink);
    painter.setFont(fontAt(shownFontSize()));
    painter.drawText(rect().adjusted(horizontalPadding, 0, -horizontalPadding, 0), Qt::AlignCenter, shownName());
}
