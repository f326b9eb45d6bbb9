#pragma once

class QWidget;

// How the tour's custom widgets meet assistive technology, where a plain widget would say too
// much or too little: a picture made of several widgets is one element; a decoration that only
// repeats what the texts say is left out; a companion card tells whether it is the chosen one.
namespace TourAccessibility {

enum class Presence {
    oneElement,  // the widget alone, with its accessible name; its children are not exposed
    hidden,      // neither the widget nor its children are exposed
};

// Marks `widget`. Call it first in the widget's constructor: an element is made (and kept) the
// first time anything asks for it, setting a name or a text included.
void present(QWidget* widget, Presence presence);

// The accessible value of a selectable card: "Selected" or empty.
void setSelectedValue(QWidget* widget, bool selected);

}  // namespace TourAccessibility
