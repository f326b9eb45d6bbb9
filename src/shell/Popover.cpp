#include "shell/Popover.h"

#include "ui/DarkSurface.h"
#include "ui/Layouts.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int gap = 4;
constexpr qint64 reopenGuardMilliseconds = 300;
}  // namespace

Popover::Popover(QWidget* content, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), content_(content)
{
    setObjectName(QStringLiteral("popover"));
    setWindowTitle(QStringLiteral("Dewbell"));
    useDarkSurface(this);
    auto* layout = makeColumn(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(content_);
}

void Popover::openAt(const QRect& anchor)
{
    const QRect target = anchor.isEmpty() ? QRect(QCursor::pos(), QSize(1, 1)) : anchor;
    QScreen* screen = QGuiApplication::screenAt(target.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    adjustSize();
    if (screen)
        move(placement(target, size(), screen->geometry(), screen->availableGeometry()));
    show();
    raise();
    activateWindow();
}

QPoint Popover::placement(const QRect& anchor, const QSize& size, const QRect& screenGeometry,
                          const QRect& availableGeometry)
{
    const bool trayAtBottom = anchor.center().y() > screenGeometry.center().y();
    int x = anchor.center().x() - size.width() / 2;
    int y = trayAtBottom ? anchor.top() - gap - size.height() : anchor.bottom() + 1 + gap;
    x = std::clamp(x, availableGeometry.left(),
                   std::max(availableGeometry.left(), availableGeometry.right() + 1 - size.width()));
    y = std::clamp(y, availableGeometry.top(),
                   std::max(availableGeometry.top(), availableGeometry.bottom() + 1 - size.height()));
    return {x, y};
}

bool Popover::justClosed() const
{
    return closedAt_.isValid() && closedAt_.elapsed() < reopenGuardMilliseconds;
}

void Popover::hideEvent(QHideEvent* event)
{
    closedAt_.start();
    QWidget::hideEvent(event);
}
