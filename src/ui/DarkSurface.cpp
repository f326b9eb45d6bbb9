#include "ui/DarkSurface.h"

#include "ui/Palette.h"

#include <QApplication>
#include <QToolTip>
#include <QWidget>

namespace {

void paintDark(QPalette& colours)
{
    colours.setColor(QPalette::Window, Palette::background());
    colours.setColor(QPalette::WindowText, Palette::ink());
    colours.setColor(QPalette::ButtonText, Palette::ink());
    colours.setColor(QPalette::Text, Palette::ink());
    colours.setColor(QPalette::Button, Palette::surface());
    colours.setColor(QPalette::Base, Palette::surface());
    colours.setColor(QPalette::Highlight, Palette::primary());
    colours.setColor(QPalette::HighlightedText, Qt::white);
    // Dimmed but legible: an item that cannot be used now still says what it is.
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        colours.setColor(QPalette::Disabled, role, Palette::muted());
    // The style etches such text with a light copy below it, which on a dark ground only blurs it.
    colours.setColor(QPalette::Disabled, QPalette::Light, Qt::transparent);
}

}  // namespace

void useDarkSurface(QWidget* surface)
{
    QPalette colours = surface->palette();
    paintDark(colours);
    surface->setPalette(colours);
    surface->setAutoFillBackground(true);
}

void useCardFill(QWidget* field)
{
    QPalette colours = field->palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    // Only where it can be used: a disabled field keeps the dimmed text of the surface.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        colours.setColor(group, QPalette::Text, Palette::ink());
    field->setPalette(colours);
}

void useDarkApplication()
{
    // Bevels, frames and scroll bars take their shades from the button and window colours.
    QPalette colours(Palette::surface(), Palette::background());
    paintDark(colours);
    colours.setColor(QPalette::AlternateBase, Palette::background());
    colours.setColor(QPalette::PlaceholderText, Palette::muted());
    colours.setColor(QPalette::Link, Palette::accent());
    colours.setColor(QPalette::LinkVisited, Palette::accent());
    colours.setColor(QPalette::ToolTipBase, Palette::surface());
    colours.setColor(QPalette::ToolTipText, Palette::ink());
    QApplication::setPalette(colours);
    QToolTip::setPalette(colours);
}
