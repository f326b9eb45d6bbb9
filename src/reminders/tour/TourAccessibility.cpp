#include "reminders/tour/TourAccessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QVariant>

namespace {

const char* presenceProperty = "dewbellAccessiblePresence";
const char* selectedProperty = "dewbellAccessibleSelected";

class TourElement : public QAccessibleWidget {
public:
    TourElement(QWidget* widget, TourAccessibility::Presence presence)
        : QAccessibleWidget(widget, roleOf(widget, presence)), presence_(presence)
    { }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (presence_ == TourAccessibility::Presence::hidden)
            state.invisible = true;
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget()))
            state.selected = button->property(selectedProperty).toBool();
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value && widget()->property(selectedProperty).isValid())
            return widget()->property(selectedProperty).toBool() ? QStringLiteral("Selected") : QString();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        if (qobject_cast<const QAbstractButton*>(widget()))
            return QStringList{pressAction()} + QAccessibleWidget::actionNames();
        return QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (name == pressAction()) {
            if (auto* button = qobject_cast<QAbstractButton*>(widget()))
                button->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    static QAccessible::Role roleOf(QWidget* widget, TourAccessibility::Presence presence)
    {
        if (qobject_cast<QAbstractButton*>(widget))
            return QAccessible::Button;
        return presence == TourAccessibility::Presence::hidden ? QAccessible::NoRole : QAccessible::Graphic;
    }

    TourAccessibility::Presence presence_;
};

QAccessibleInterface* tourFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const QVariant presence = widget->property(presenceProperty);
    if (!presence.isValid())
        return nullptr;
    return new TourElement(widget, TourAccessibility::Presence(presence.toInt()));
}

void installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(tourFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace

void TourAccessibility::present(QWidget* widget, Presence presence)
{
    installFactory();
    widget->setProperty(presenceProperty, int(presence));
}

void TourAccessibility::setSelectedValue(QWidget* widget, bool selected)
{
    widget->setProperty(selectedProperty, selected);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(widget, selected ? QStringLiteral("Selected") : QString());
        QAccessible::updateAccessibility(&event);
    }
}
