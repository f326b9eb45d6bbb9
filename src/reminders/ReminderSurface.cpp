#include "reminders/ReminderSurface.h"

#include "model/ReminderPlacement.h"
#include "reminders/ReminderView.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>

namespace {

QSize scaledCanvas(double scale)
{
    const QSizeF canvas = ReminderPlacement::canvas() * scale;
    return {qRound(canvas.width()), qRound(canvas.height())};
}

}  // namespace

ReminderSurface::ReminderSurface(DewbellStore* store, double scale, QWidget* parent)
    : OnScreenWidget(parent), store_(store)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setScale(scale);
}

void ReminderSurface::setScale(double scale)
{
    scale_ = scale > 0 ? scale : 1.0;
    const QSize size = scaledCanvas(scale_);
    setFixedSize(size);
    if (size == ReminderPlacement::canvas().toSize()) {
        hostDirectly();
        return;
    }
    hostScaled();
    graphics_->setGeometry(QRect(QPoint(0, 0), size));
    graphics_->setTransform(QTransform::fromScale(scale_, scale_));
    graphics_->centerOn(graphics_->sceneRect().center());
}

// A view moved between a scene and a widget would take a native window of its own along, so
// each way of hosting gets a view of its own; the view keeps nothing but what the store says.
void ReminderSurface::hostDirectly()
{
    if (view_ && !graphics_)
        return;
    // The scene owns the scaled view.
    delete graphics_;
    graphics_ = nullptr;
    proxy_ = nullptr;
    view_ = new ReminderView(store_, std::nullopt, this);
    view_->setAttribute(Qt::WA_TranslucentBackground);
    view_->show();
}

void ReminderSurface::hostScaled()
{
    if (graphics_)
        return;
    delete view_;
    graphics_ = new QGraphicsView(this);
    auto* scene = new QGraphicsScene(graphics_);
    scene->setSceneRect(QRectF(QPointF(0, 0), ReminderPlacement::canvas()));
    scene->setBackgroundBrush(Qt::NoBrush);
    view_ = new ReminderView(store_);
    view_->setAttribute(Qt::WA_TranslucentBackground);
    proxy_ = scene->addWidget(view_);
    proxy_->setVisible(isVisible());

    graphics_->setScene(scene);
    graphics_->setFrameShape(QFrame::NoFrame);
    graphics_->setFocusPolicy(Qt::NoFocus);
    graphics_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    graphics_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    graphics_->setAlignment(Qt::AlignCenter);
    graphics_->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    graphics_->setStyleSheet(QStringLiteral("QGraphicsView { background: transparent; border: none; }"));
    graphics_->viewport()->setAutoFillBackground(false);
    graphics_->setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    graphics_->show();
}

QPoint ReminderSurface::mapFromCanvas(const QPointF& canvasPoint) const
{
    if (!graphics_)
        return view_->mapTo(this, canvasPoint.toPoint());
    return graphics_->viewport()->mapTo(this, graphics_->mapFromScene(canvasPoint));
}

QSize ReminderSurface::sizeHint() const
{
    return scaledCanvas(scale_);
}

void ReminderSurface::onScreenChanged(bool onScreen)
{
    if (proxy_)
        proxy_->setVisible(onScreen);
}
