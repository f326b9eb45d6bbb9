#pragma once

#include <QColor>
#include <QString>

// The colours every surface shares: a dark night-blue ground with lilac highlights.
struct Palette {
    static QColor background();  // window and panel background
    static QColor surface();     // card background
    static QColor line();        // hairlines and outlines: white at 8 %
    static QColor ink();         // main text
    static QColor muted();       // secondary text, card titles, notes
    static QColor primary();     // filled buttons and switches
    static QColor accent();      // status lines, counts, links, selected outlines
};

// A colour from six hexadecimal digits ("714CE8", an optional leading "#" and surrounding
// spaces are allowed). Anything else gives Palette::accent(), the tint a pack has by default,
// so a mistyped pack tint still draws in a friendly colour.
QColor Color(const QString& hex);
