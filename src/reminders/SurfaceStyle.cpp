#include "SurfaceStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>

namespace {

QFont sized(QFont font, qreal points, QFont::Weight weight) {
    font.setPixelSize(qMax(1, qRound(points)));
    font.setWeight(weight);
    return font;
}

} // namespace

QFont SurfaceStyle::system(qreal points, QFont::Weight weight) {
    return sized(QApplication::font(), points, weight);
}

QFont SurfaceStyle::serif(qreal points, QFont::Weight weight) {
    QFont font(QStringLiteral("serif"));
    font.setStyleHint(QFont::Serif);
    return sized(font, points, weight);
}

QFont SurfaceStyle::rounded(qreal points, QFont::Weight weight) {
    const QString family = roundedFamily();
    if (family.isEmpty())
        return system(points, weight);
    return sized(QFont(family), points, weight);
}

QFont SurfaceStyle::caption() {
    QFont font = system(8, QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    return font;
}

QString SurfaceStyle::roundedFamily() {
    static const QString family = [] {
        static const QStringList candidates = {
            QStringLiteral("SF Pro Rounded"), QStringLiteral("Nunito"),    QStringLiteral("M PLUS Rounded 1c"),
            QStringLiteral("Varela Round"),   QStringLiteral("Quicksand"), QStringLiteral("Comfortaa"),
        };
        const QStringList installed = QFontDatabase::families();
        for (const QString& candidate : candidates)
            if (installed.contains(candidate, Qt::CaseInsensitive))
                return candidate;
        return QString();
    }();
    return family;
}

QLabel* SurfaceStyle::label(const QFont& font, const QColor& color, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
    setTextColor(label, color);
    return label;
}

void SurfaceStyle::setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}
