#include "ui/Palette.h"

#include <algorithm>

QColor Palette::background()
{
    return QColor(0x12, 0x1B, 0x25);
}
QColor Palette::surface()
{
    return QColor(0x1B, 0x26, 0x33);
}
QColor Palette::line()
{
    return QColor(255, 255, 255, qRound(255 * 0.08));
}
QColor Palette::ink()
{
    return QColor(0xF3, 0xF2, 0xEC);
}
QColor Palette::muted()
{
    return QColor(0x97, 0xA6, 0xB4);
}
QColor Palette::primary()
{
    return QColor(0x71, 0x4C, 0xE8);
}
QColor Palette::accent()
{
    return QColor(0xB9, 0xA3, 0xFF);
}

QColor Color(const QString& hex)
{
    QString digits = hex.trimmed();
    if (digits.startsWith(QLatin1Char('#')))
        digits.remove(0, 1);
    if (digits.size() != 6)
        return Palette::accent();
    // toUInt alone would also accept a sign or "0x"; only plain digits are a colour.
    const auto isHexDigit = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    if (!std::all_of(digits.begin(), digits.end(), isHexDigit))
        return Palette::accent();
    const uint value = digits.toUInt(nullptr, 16);
    return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}
