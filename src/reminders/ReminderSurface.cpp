#include "ReminderSurface.h"

#include "ReminderView.h"
#include "model/ReminderPlacement.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>

namespace {

QSize scaledCanvas(double scale) {
    const QSizeF canvas = ReminderPlacement::canvas() * scale;
    return {qRound(canvas.width()), qRound(canvas.height())};
}

} // namespace

ReminderSurface::ReminderSurface(DewbellStore* store, double scale, QWidget* parent)
    : QWidget(parent), view_(new ReminderView(store)), scene_(new QGraphicsScene(this)),
      graphics_(new QGraphicsView(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);

    scene_->setSceneRect(QRectF(QPointF(0, 0), ReminderPlacement::canvas()));
    scene_->setBackgroundBrush(Qt::NoBrush);
    proxy_ = scene_->addWidget(view_);
    proxy_->hide();
    view_->setAttribute(Qt::WA_TranslucentBackground);

    graphics_->setScene(scene_);
    graphics_->setFrameShape(QFrame::NoFrame);
    graphics_->setFocusPolicy(Qt::NoFocus);
    graphics_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    graphics_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    graphics_->setAlignment(Qt::AlignCenter);
    graphics_->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    graphics_->setStyleSheet(QStringLiteral("QGraphicsView { background: transparent; border: none; }"));
    graphics_->viewport()->setAutoFillBackground(false);
    graphics_->setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);

    setScale(scale);
}

void ReminderSurface::setScale(double scale) {
    scale_ = scale > 0 ? scale : 1.0;
    const QSize size = scaledCanvas(scale_);
    setFixedSize(size);
    graphics_->setGeometry(QRect(QPoint(0, 0), size));
    graphics_->setTransform(QTransform::fromScale(scale_, scale_));
    graphics_->centerOn(scene_->sceneRect().center());
}

QSize ReminderSurface::sizeHint() const { return scaledCanvas(scale_); }

void ReminderSurface::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    proxy_->show();
}

void ReminderSurface::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    proxy_->hide();
}
