#include "ui/PaintedTextAccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

constexpr const char* shownText = "shownText";

class PaintedTextAccessible : public QAccessibleWidget {
public:
    explicit PaintedTextAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::StaticText) { }

    QString text(QAccessible::Text kind) const override
    {
        const QString shown = widget()->property(shownText).toString();
        if (kind == QAccessible::Value)
            return shown;
        // Without a name of its own the text names itself, as a label's does.
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return shown;
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* paintedTextFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || widget->metaObject()->indexOfProperty(shownText) < 0)
        return nullptr;
    return new PaintedTextAccessible(widget);
}

}  // namespace

void describePaintedText(QWidget* widget)
{
    static const bool installed = [] {
        QAccessible::installFactory(paintedTextFactory);
        return true;
    }();
    Q_UNUSED(installed);
    Q_ASSERT(widget->metaObject()->indexOfProperty(shownText) >= 0);
}
