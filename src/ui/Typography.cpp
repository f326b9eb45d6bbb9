#include "ui/Typography.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <algorithm>

QFont uiFont(qreal pixelSize, QFont::Weight weight, FontDesign design, qreal tracking)
{
    QFont font = QGuiApplication::font();
    if (design == FontDesign::serif) {
        font.setFamilies({QStringLiteral("serif")});
        font.setStyleHint(QFont::Serif);
    } else if (design == FontDesign::rounded && !roundedFamily().isEmpty()) {
        font.setFamilies({roundedFamily()});
    }
    font.setPixelSize(std::max(1, qRound(pixelSize)));
    font.setWeight(weight);
    if (tracking != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    return font;
}

QString roundedFamily()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* candidate : {"Nunito", "Varela Round", "M PLUS Rounded 1c", "Quicksand", "Comfortaa"}) {
            if (installed.contains(QLatin1String(candidate), Qt::CaseInsensitive))
                return QString::fromLatin1(candidate);
        }
        return QString();
    }();
    return family;
}

qreal tabularDigitWidth(const QFont& font)
{
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(digit)));
    return widest;
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    setTextColor(label, color);
    return label;
}
