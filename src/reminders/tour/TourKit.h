#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class QBoxLayout;
class QLabel;

// Small building blocks the tour's steps share.
namespace TourKit {

// The step area's default text: 12 points in Palette::muted.
QFont stepFont();

// A label that wraps, with an object name tests and assistive technology can find.
QLabel* text(const QString& text, const QString& name, QWidget* parent, const QFont& font = stepFont(),
             const QColor& color = QColor());

// A one-point hairline across the width, in Palette::line.
QWidget* divider(QWidget* parent);

// A card of Palette::surface with `radius` corners, its content `padding` points inside it.
QWidget* card(qreal radius, int padding, int spacing, QWidget* parent);
// The layout of a card made by card().
QBoxLayout* cardLayout(QWidget* card);

// A label with a leading symbol, both in the text's colour.
QWidget* symbolLabel(const QString& symbolName, const QString& text, QWidget* parent);

}  // namespace TourKit
