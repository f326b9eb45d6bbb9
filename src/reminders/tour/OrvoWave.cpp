#include "reminders/tour/OrvoWave.h"

#include <QPainter>

OrvoWave::OrvoWave(const QString& gifPath, QWidget* parent) : OnScreenWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    movie_.setCacheMode(QMovie::CacheAll);
    connect(&movie_, &QMovie::frameChanged, this, qOverload<>(&QWidget::update));
    setFile(gifPath);
}

OrvoWave::~OrvoWave()
{
    movie_.stop();
}

void OrvoWave::setFile(const QString& gifPath)
{
    if (movie_.fileName() == gifPath)
        return;
    movie_.stop();
    movie_.setFileName(gifPath);
    movie_.jumpToFrame(0);
    if (isVisible())
        movie_.start();
    update();
}

void OrvoWave::paintEvent(QPaintEvent*)
{
    const QPixmap frame = movie_.currentPixmap();
    if (frame.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF fitted = QSizeF(frame.size()).scaled(size(), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.drawPixmap(target, frame, frame.rect());
}

void OrvoWave::onScreenChanged(bool onScreen)
{
    if (onScreen)
        movie_.start();
    else
        movie_.stop();
}
