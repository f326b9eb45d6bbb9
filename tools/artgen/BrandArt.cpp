#include "BrandArt.h"

#include "characters/ArtKit.h"
#include "characters/BrandMarkArt.h"
#include "Canvas.h"
#include "GifWriter.h"
#include "OrvoArt.h"

#include <QFile>
#include <QPainterPath>
#include <QSvgGenerator>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

const QColor surface(0x1B, 0x26, 0x33);

constexpr int iconSide = 256;

// The application icon on a 256 x 256 canvas.
void paintAppIcon(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(16, 16, 224, 224);
    QPainterPath shape;
    shape.addRoundedRect(tile, 52, 52);
    QLinearGradient ground(tile.topLeft(), tile.bottomRight());
    ground.setColorAt(0, QColor(0x2B, 0x25, 0x55));
    ground.setColorAt(1, QColor(0x12, 0x1B, 0x25));
    painter.fillPath(shape, ground);
    const QRadialGradient glow =
        ArtKit::radialGradient(QPointF(128, 150), 120, QColor(0x71, 0x4C, 0xE8, 120), QColor(0x71, 0x4C, 0xE8, 0));
    painter.fillPath(shape, glow);
    painter.setPen(QPen(QColor(255, 255, 255, 30), 2));
    painter.drawPath(shape);
    BrandMarkArt::paint(painter, QRectF(48, 44, 160, 160), false, QColor());
    ArtKit::paintStar(painter, QPointF(196, 72), 10, QColor(0xFF, 0xD8, 0x6B));
    ArtKit::paintStar(painter, QPointF(62, 190), 6, QColor(0xB9, 0xA3, 0xFF));
}

// Each size is drawn, not scaled down, so that small icons stay sharp.
QImage appIcon(int side = iconSide)
{
    QImage image = transparentCanvas(QSize(side, side));
    QPainter painter(&image);
    painter.scale(double(side) / iconSide, double(side) / iconSide);
    paintAppIcon(painter);
    return image;
}

void writeSvgIcon(const QString& path)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(iconSide, iconSide));
    svg.setViewBox(QRect(0, 0, iconSide, iconSide));
    svg.setTitle(QStringLiteral("Dewbell"));
    QPainter painter;
    if (!painter.begin(&svg))
        throw std::runtime_error("cannot write " + path.toStdString());
    paintAppIcon(painter);
}

QImage menuTemplate()
{
    constexpr int side = 36;
    QImage image = transparentCanvas(QSize(side, side));
    QPainter painter(&image);
    BrandMarkArt::paint(painter, QRectF(0, 0, side, side), true, Qt::black);
    return image;
}

BuddyPose waving(double turn)
{
    BuddyPose pose;
    pose.rightArm = 0.8 + 0.18 * std::sin(2 * std::numbers::pi * turn);
    pose.lean = 2.5 * std::sin(2 * std::numbers::pi * turn);
    pose.lift = 2 + 2 * std::sin(2 * std::numbers::pi * turn);
    pose.mouth = BuddyPose::Mouth::grin;
    return pose;
}

QImage onboarding()
{
    constexpr int side = 480;
    QImage image = transparentCanvas(QSize(side, side));
    QPainter painter(&image);
    BuddyPose pose = waving(0.25);
    pose.sparkle = 0.4;
    OrvoArt::paint(painter, QRectF(40, 20, 400, 440), pose);
    return image;
}

QByteArray wave()
{
    constexpr int side = 132;
    constexpr int frames = 12;
    QList<QImage> images;
    for (int frame = 0; frame < frames; ++frame) {
        QImage image = transparentCanvas(QSize(side, side));
        QPainter painter(&image);
        BuddyPose pose = waving(double(frame) / frames);
        if (frame == 7)
            pose.eyes = BuddyPose::Eyes::blink;
        OrvoArt::paint(painter, QRectF(8, 4, side - 16, side - 8), pose);
        images.append(image);
    }
    return GifWriter::encode(images, 8, surface);
}

}  // namespace

namespace BrandArt {

void writeBrand(const QDir& brand)
{
    brand.mkpath(QStringLiteral("."));
    savePng(appIcon(), brand.filePath(QStringLiteral("app-icon-v1.png")));
    savePng(menuTemplate(), brand.filePath(QStringLiteral("menu-template-v1.png")));
    savePng(onboarding(), brand.filePath(QStringLiteral("orvo-onboarding.png")));
    QFile gif(brand.filePath(QStringLiteral("orvo-wave.gif")));
    if (!gif.open(QIODevice::WriteOnly | QIODevice::Truncate) || gif.write(wave()) < 0)
        throw std::runtime_error("cannot write orvo-wave.gif");
}

void writeIcons(const QDir& hicolor)
{
    const QString name = QStringLiteral("app.dewbell.Dewbell");
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(side);
        hicolor.mkpath(folder);
        savePng(appIcon(side), hicolor.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
    }
    hicolor.mkpath(QStringLiteral("scalable/apps"));
    writeSvgIcon(hicolor.filePath(QStringLiteral("scalable/apps/") + name + QStringLiteral(".svg")));
}

}  // namespace BrandArt
