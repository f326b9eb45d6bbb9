#include "ui/FocusedWheel.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

namespace {

QAbstractScrollArea* enclosingScrollArea(const QWidget* control)
{
    for (QWidget* above = control->parentWidget(); above; above = above->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(above))
            return area;
    }
    return nullptr;
}

class WheelWithoutFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* control = static_cast<QWidget*>(watched);
        if (event->type() != QEvent::Wheel || control->hasFocus())
            return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        QAbstractScrollArea* area = enclosingScrollArea(control);
        if (!area) {
            // Left to the windows' own handling, which offers it to the parents in turn.
            wheel->ignore();
            return true;
        }
        // Sent on by hand: Qt offers a wheel to the parents only when it came from the desktop.
        QWidget* viewport = area->viewport();
        QWheelEvent scroll(viewport->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                           wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(), wheel->modifiers(),
                           wheel->phase(), wheel->inverted(), wheel->source(), wheel->pointingDevice());
        QApplication::sendEvent(viewport, &scroll);
        wheel->accept();
        return true;
    }
};

}  // namespace

void takeWheelOnlyWithFocus(QWidget* control)
{
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(new WheelWithoutFocus(control));
}
