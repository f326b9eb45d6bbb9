#include "ui/CapsuleProgress.h"

#include "ui/Palette.h"
#include "ui/Repaint.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// A progress bar to assistive tools: its value is the share done, in percent.
class CapsuleProgressAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit CapsuleProgressAccessible(CapsuleProgress* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) { }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return QStringLiteral("%1%").arg(percent());
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return percent(); }
    void setCurrentValue(const QVariant&) override { }
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 0; }

private:
    int percent() const { return qRound(static_cast<const CapsuleProgress*>(widget())->progress() * 100); }
};

QAccessibleInterface* progressFactory(const QString&, QObject* object)
{
    if (auto* bar = qobject_cast<CapsuleProgress*>(object))
        return new CapsuleProgressAccessible(bar);
    return nullptr;
}

}  // namespace

CapsuleProgress::CapsuleProgress(QWidget* parent) : QWidget(parent)
{
    static const bool describedToAssistiveTools = [] {
        QAccessible::installFactory(progressFactory);
        return true;
    }();
    Q_UNUSED(describedToAssistiveTools);
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CapsuleProgress::setProgress(double progress)
{
    const double clamped = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 0.0;
    if (clamped == progress_)
        return;
    setAndRepaint(this, progress_, clamped);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, qRound(progress_ * 100));
        QAccessible::updateAccessibility(&event);
    }
}

void CapsuleProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const qreal radius = height() / 2.0;
    painter.setBrush(Palette::line());
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
    if (progress_ > 0) {
        painter.setBrush(Palette::accent());
        painter.drawRoundedRect(QRectF(0, 0, width() * progress_, height()), radius, radius);
    }
}
