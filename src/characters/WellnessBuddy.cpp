#include "characters/WellnessBuddy.h"

#include "characters/ArtCache.h"
#include "characters/ArtKit.h"
#include "characters/SpriteBuddy.h"
#include "ui/Palette.h"
#include "ui/Symbols.h"

#include "model/EnumTable.h"

#include <QPainter>
#include <array>

namespace {

constexpr std::array<EnumTable::Text<ReminderKind>, 3> kindSymbols{{
    {ReminderKind::water, "drop.fill"},
    {ReminderKind::eyeRest, "eye"},
    {ReminderKind::movement, "figure.walk"},
}};

}  // namespace

WellnessBuddy::WellnessBuddy(const CharacterPack& pack, int frame, ReminderKind kind, QWidget* parent)
    : QWidget(parent), pack_(pack), frame_(frame), kind_(kind)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void WellnessBuddy::setSticker(const CharacterPack& pack, int frame, ReminderKind kind)
{
    pack_ = pack;
    frame_ = frame;
    kind_ = kind;
    update();
}

QImage WellnessBuddy::sticker(const CharacterPack& pack, int frame)
{
    return pack.wellnessSheet ? ArtCache::frame(pack, *pack.wellnessSheet, frame) : QImage();
}

bool WellnessBuddy::showsBadge() const
{
    return sticker(pack_, frame_).isNull();
}

QString WellnessBuddy::symbolName(ReminderKind kind)
{
    return EnumTable::textOf(kindSymbols, kind);
}

void WellnessBuddy::paintBadge(QPainter& painter, const QRectF& rect, ReminderKind kind, const QColor& tint)
{
    const qreal side = std::min(rect.width(), rect.height()) * 0.7;
    const QPointF centre = rect.center();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    QRadialGradient halo(centre, side * 0.72);
    QColor glow = tint;
    glow.setAlphaF(0.22f);
    halo.setColorAt(0.6, glow);
    glow.setAlphaF(0);
    halo.setColorAt(1, glow);
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(centre, side * 0.72, side * 0.72);

    QLinearGradient disc(centre.x(), centre.y() - side / 2, centre.x(), centre.y() + side / 2);
    disc.setColorAt(0, tint.lighter(118));
    disc.setColorAt(1, ArtKit::mix(tint, Palette::primary(), 0.45));
    painter.setBrush(disc);
    painter.setPen(QPen(QColor(255, 255, 255, 70), std::max(1.0, side * 0.02)));
    painter.drawEllipse(centre, side / 2, side / 2);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 28));
    painter.drawEllipse(centre + QPointF(-side * 0.16, -side * 0.27), side * 0.18, side * 0.07);

    const qreal glyph = side * 0.46;
    Symbols::paint(painter, QRectF(centre - QPointF(glyph / 2, glyph / 2), QSizeF(glyph, glyph)), symbolName(kind),
                   Qt::white);
    ArtKit::paintStar(painter, centre + QPointF(side * 0.5, -side * 0.42), side * 0.07, QColor(0xFF, 0xD8, 0x6B));
    ArtKit::paintStar(painter, centre + QPointF(-side * 0.56, -side * 0.2), side * 0.045, Palette::accent());
    ArtKit::paintStar(painter, centre + QPointF(side * 0.42, side * 0.5), side * 0.04, Qt::white);
    painter.restore();
}

void WellnessBuddy::paint(QPainter& painter, const QRectF& rect, const CharacterPack& pack, int frame,
                          ReminderKind kind)
{
    const QImage picture = sticker(pack, frame);
    if (picture.isNull())
        paintBadge(painter, rect, kind, Color(pack.tint));
    else
        SpriteBuddy::paintFitted(painter, rect, picture);
}

QImage WellnessBuddy::render(const QSize& size, const CharacterPack& pack, int frame, ReminderKind kind)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), pack, frame, kind);
    return image;
}

void WellnessBuddy::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, rect(), pack_, frame_, kind_);
}
