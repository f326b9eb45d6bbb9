#include "window/ChoicePickerAccessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

constexpr const char* describedProperty = "dewbellDescribedPicker";

class ChoicePickerAccessible : public QAccessibleWidget {
public:
    explicit ChoicePickerAccessible(QComboBox* picker) : QAccessibleWidget(picker, QAccessible::ComboBox) { }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return picker()->currentText();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.hasPopup = true;
        state.expandable = true;
        state.expanded = picker()->view()->isVisible();
        state.collapsed = !state.expanded;
        return state;
    }

    int childCount() const override { return 1; }

    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(picker()->view()) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == picker()->view() ? 0 : -1;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (name != showMenuAction() && name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (picker()->view()->isVisible())
            picker()->hidePopup();
        else
            picker()->showPopup();
    }

private:
    QComboBox* picker() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* pickerFactory(const QString&, QObject* object)
{
    auto* picker = qobject_cast<QComboBox*>(object);
    if (!picker || !picker->property(describedProperty).toBool())
        return nullptr;
    return new ChoicePickerAccessible(picker);
}

}  // namespace

void describeChoicePicker(QComboBox* picker)
{
    static const bool installed = [] {
        QAccessible::installFactory(pickerFactory);
        return true;
    }();
    Q_UNUSED(installed);
    picker->setProperty(describedProperty, true);
}
