#include "reminders/PictureButton.h"

#include "characters/CompanionView.h"

#include <QPainter>

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PictureButton::setPicture(QWidget* picture, Drawing drawing)
{
    delete picture_;
    picture_ = picture;
    drawing_ = drawing;
    if (picture_) {
        picture_->setParent(this);
        picture_->setAttribute(Qt::WA_TransparentForMouseEvents);
        picture_->setFocusPolicy(Qt::NoFocus);
        picture_->setGeometry(rect());
        picture_->setVisible(drawing_ == Drawing::showsItself);
    }
    redraw();
}

void PictureButton::redraw()
{
    frameIsStale_ = true;
    update();
}

void PictureButton::setMirrored(bool mirrored)
{
    if (mirrored == mirrored_)
        return;
    mirrored_ = mirrored;
    redraw();
}

QSize PictureButton::sizeHint() const
{
    return picture_ ? picture_->sizeHint() : QSize();
}

void PictureButton::resizeEvent(QResizeEvent* event)
{
    QAbstractButton::resizeEvent(event);
    if (picture_)
        picture_->setGeometry(rect());
    frameIsStale_ = true;
}

void PictureButton::paintEvent(QPaintEvent*)
{
    if (!picture_ || drawing_ == Drawing::showsItself)
        return;
    // The picture is drawn into an image of its own first: a widget rendered straight into the
    // painter of another widget's paint event can land at the wrong place on the screen, and a
    // companion that only moves is copied from it.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (frameIsStale_ || frame_.size() != pixels) {
        if (frame_.size() != pixels)
            frame_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        frame_.setDevicePixelRatio(ratio);
        frame_.fill(Qt::transparent);
        QPainter framePainter(&frame_);
        if (auto* companion = qobject_cast<CompanionView*>(picture_.data()))
            companion->paintPicture(framePainter, rect());
        else
            picture_->render(&framePainter, QPoint(), QRegion(), QWidget::DrawChildren);
        framePainter.end();
        // Turning the drawn picture round costs less than drawing it through a mirror.
        if (mirrored_)
            frame_.mirror(true, false);
        frameIsStale_ = false;
    }
    QPainter painter(this);
    // Drawn pixel for pixel: smoothing is only worth its cost when the surface is scaled.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, painter.deviceTransform().isScaling());
    painter.drawImage(QPointF(0, 0), frame_);
}
