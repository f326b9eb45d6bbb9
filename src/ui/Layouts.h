#pragma once

class QHBoxLayout;
class QVBoxLayout;
class QWidget;

// Rows and columns that add no margins of their own: the card, page or panel around them gives
// the room. The layout is set on `owner` when there is one, else it waits to be added to
// another layout. A negative spacing keeps the style's.
QHBoxLayout* makeRow(QWidget* owner = nullptr, int spacing = -1);
QVBoxLayout* makeColumn(QWidget* owner = nullptr, int spacing = -1);
// A column inside a card or panel that gives its own room: `padding` on every side.
QVBoxLayout* makePaddedColumn(QWidget* owner, int padding, int spacing);
