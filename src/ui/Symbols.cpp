#include "ui/Symbols.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QRawFont>

#include <algorithm>

namespace {

const QString fontFamily = QStringLiteral("Material Icons");

// Symbol names as the interface uses them, mapped to the closest Material Icons glyph.
const QHash<QString, char32_t>& table()
{
    static const QHash<QString, char32_t> glyphs{
        {QStringLiteral("arrow.triangle.2.circlepath"), 0xe863},  // autorenew
        {QStringLiteral("arrow.up"), 0xe5d8},                     // arrow_upward
        {QStringLiteral("arrow.up.right"), 0xf1e1},               // north_east
        {QStringLiteral("bell"), 0xe7f5},                         // notifications_none
        {QStringLiteral("checkmark"), 0xe5ca},                    // check
        {QStringLiteral("checkmark.circle"), 0xe92d},             // check_circle_outline
        {QStringLiteral("checkmark.circle.fill"), 0xe86c},        // check_circle
        {QStringLiteral("checkmark.shield.fill"), 0xe8e8},        // verified_user
        {QStringLiteral("chevron.right"), 0xe5cc},                // chevron_right
        {QStringLiteral("circle"), 0xe836},                       // radio_button_unchecked
        {QStringLiteral("clock"), 0xe8b5},                        // schedule
        {QStringLiteral("drop"), 0xe798},                         // water_drop
        {QStringLiteral("drop.fill"), 0xe798},                    // water_drop
        {QStringLiteral("eye"), 0xe8f4},                          // visibility
        {QStringLiteral("face.smiling"), 0xe7f2},                 // mood
        {QStringLiteral("figure.walk"), 0xe536},                  // directions_walk
        {QStringLiteral("gearshape"), 0xe8b8},                    // settings
        {QStringLiteral("hand.tap"), 0xe913},                     // touch_app
        {QStringLiteral("heart"), 0xe87e},                        // favorite_border
        {QStringLiteral("heart.text.clipboard"), 0xea70},         // volunteer_activism
        {QStringLiteral("info.circle"), 0xe88f},                  // info_outline
        {QStringLiteral("lock.shield"), 0xe32a},                  // security
        {QStringLiteral("menubar.arrow.up.rectangle"), 0xe069},   // web_asset
        {QStringLiteral("moon"), 0xe51c},                         // dark_mode
        {QStringLiteral("moon.zzz"), 0xef44},                     // bedtime
        {QStringLiteral("pause"), 0xe034},                        // pause
        {QStringLiteral("pause.circle"), 0xe036},                 // pause_circle_outline
        {QStringLiteral("person.2"), 0xe7ef},                     // group
        {QStringLiteral("photo"), 0xe3f4},                        // image
        {QStringLiteral("play"), 0xe037},                         // play_arrow
        {QStringLiteral("play.fill"), 0xe037},                    // play_arrow
        {QStringLiteral("plus"), 0xe145},                         // add
        {QStringLiteral("quote.opening"), 0xe244},                // format_quote, turned
        {QStringLiteral("sparkles"), 0xe65f},                     // auto_awesome
        {QStringLiteral("sun.max"), 0xe518},                      // light_mode
        {QStringLiteral("wifi"), 0xe63e},                         // wifi
        {QStringLiteral("xmark"), 0xe5cd},                        // close
    };
    return glyphs;
}

// Material Icons has only the closing quote mark; half a turn makes it the opening one.
bool drawnTurned(const QString& name)
{
    return name == QLatin1String("quote.opening");
}

// Loads the font once, and only once an application object exists to own it.
bool fontLoaded()
{
    static std::optional<bool> loaded;
    if (loaded)
        return *loaded;
    if (!QGuiApplication::instance())
        return false;
    if (!QFontDatabase::families().contains(fontFamily))
        QFontDatabase::addApplicationFont(Symbols::fontFile());
    loaded = QFontDatabase::families().contains(fontFamily);
    return *loaded;
}

const QRawFont& rawFont()
{
    static const QRawFont raw = [] {
        QFont probe(fontFamily);
        probe.setPixelSize(24);
        return QRawFont::fromFont(probe);
    }();
    return raw;
}

}  // namespace

QStringList Symbols::names()
{
    QStringList all = table().keys();
    all.sort();
    return all;
}

std::optional<char32_t> Symbols::codepoint(const QString& name)
{
    const auto found = table().constFind(name);
    if (found == table().constEnd())
        return std::nullopt;
    return *found;
}

bool Symbols::isAvailable(const QString& name)
{
    const auto code = codepoint(name);
    return code && fontLoaded() && rawFont().supportsCharacter(uint(*code));
}

std::optional<QFont> Symbols::font(qreal pixelSize)
{
    if (!fontLoaded())
        return std::nullopt;
    QFont symbolFont(fontFamily);
    symbolFont.setPixelSize(std::max(1, qRound(pixelSize)));
    symbolFont.setStyleStrategy(QFont::NoFontMerging);
    return symbolFont;
}

void Symbols::paint(QPainter& painter, const QRectF& rect, const QString& name, const QColor& color)
{
    const qreal side = std::min(rect.width(), rect.height());
    if (side <= 0)
        return;
    const QRectF square(rect.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    if (!isAvailable(name)) {
        paintPlaceholder(painter, square, color);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(*font(side));
    painter.setPen(color);
    if (drawnTurned(name)) {
        painter.translate(square.center());
        painter.rotate(180);
        painter.translate(-square.center());
    }
    const char32_t glyph = *codepoint(name);
    painter.drawText(square, Qt::AlignCenter, QString::fromUcs4(&glyph, 1));
    painter.restore();
}

void Symbols::paintPlaceholder(QPainter& painter, const QRectF& rect, const QColor& color)
{
    const qreal side = std::min(rect.width(), rect.height());
    const QRectF square(rect.center() - QPointF(side * 0.35, side * 0.35), QSizeF(side * 0.7, side * 0.7));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, std::max(1.0, side * 0.08)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(square, side * 0.16, side * 0.16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(square.center(), side * 0.09, side * 0.09);
    painter.restore();
}

QPixmap Symbols::pixmap(const QString& name, int size, const QColor& color, qreal devicePixelRatio)
{
    const int pixels = std::max(1, qRound(size * devicePixelRatio));
    QPixmap picture(pixels, pixels);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    paint(painter, QRectF(0, 0, size, size), name, color);
    return picture;
}

QIcon Symbols::icon(const QString& name, int size, const QColor& color)
{
    QIcon result;
    result.addPixmap(pixmap(name, size, color, 1.0));
    result.addPixmap(pixmap(name, size, color, 2.0));
    return result;
}

QString Symbols::fontFile()
{
    return QStringLiteral("/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf");
}
