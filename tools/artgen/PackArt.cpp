#include "PackArt.h"

#include "characters/ArtKit.h"
#include "characters/BearArt.h"
#include "Canvas.h"
#include "CloudArt.h"
#include "HumanArt.h"
#include "Poses.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainterPath>
#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>

namespace {

using Painter = std::function<void(QPainter&, const QRectF&, const BuddyPose&)>;

constexpr QSize cell{240, 280};
const QColor stage(0x12, 0x1B, 0x25);

void writeJson(const QJsonObject& json, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.write(QJsonDocument(json).toJson(QJsonDocument::Indented));
}

QImage sheet(const QList<BuddyPose>& poses, int columns, const Painter& paint,
             const std::function<void(QPainter&, const QRectF&, int)>& props = {})
{
    const int rows = int((poses.size() + columns - 1) / columns);
    QImage image = transparentCanvas(QSize(cell.width() * columns, cell.height() * rows));
    QPainter painter(&image);
    for (int index = 0; index < poses.size(); ++index) {
        const QRectF frame(QPointF((index % columns) * cell.width(), (index / columns) * cell.height()), QSizeF(cell));
        const QRectF inset = frame.adjusted(8, 8, -8, -4);
        paint(painter, inset, poses[index]);
        if (props)
            props(painter, inset, index);
    }
    return image;
}

QImage still(const BuddyPose& pose, const Painter& paint, QSize size = cell)
{
    QImage image = transparentCanvas(size);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(8, 8, -8, -4), pose);
    return image;
}

QJsonObject sheetJson(const QString& file, int columns, int rows, int frames, double fps)
{
    return {{QStringLiteral("file"), file},
            {QStringLiteral("columns"), columns},
            {QStringLiteral("rows"), rows},
            {QStringLiteral("frames"), frames},
            {QStringLiteral("fps"), fps}};
}

// Little signs of what a wellness frame is about: calm lines and a moon for resting the eyes,
// a far hill for looking into the distance, motion arcs for moving.
void paintWellnessProps(QPainter& painter, const QRectF& rect, int frame)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(ArtKit::fit(rect), true);
    const QColor accent(0xB9, 0xA3, 0xFF);
    painter.setBrush(Qt::NoBrush);
    if (frame == 0) {
        painter.setPen(QPen(accent, 3, Qt::SolidLine, Qt::RoundCap));
        for (int line = 0; line < 3; ++line)
            painter.drawArc(QRectF(14 + line * 9, 40 + line * 12, 26, 16), 20 * 16, 140 * 16);
        QPainterPath moon;
        moon.addEllipse(QPointF(170, 40), 15, 15);
        QPainterPath bite;
        bite.addEllipse(QPointF(178, 34), 13, 13);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xFF, 0xD8, 0x6B));
        painter.drawPath(moon.subtracted(bite));
    } else if (frame == 1) {
        QPainterPath hills;
        hills.moveTo(2, 64);
        hills.quadTo(18, 30, 34, 52);
        hills.quadTo(46, 36, 60, 64);
        hills.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x8B, 0xD1, 0x7C, 200));
        painter.drawPath(hills);
        painter.setBrush(QColor(0xFF, 0xD8, 0x6B));
        painter.drawEllipse(QPointF(46, 30), 8, 8);
        painter.setPen(QPen(QColor(0xB9, 0xA3, 0xFF, 170), 2.5, Qt::DotLine, Qt::RoundCap));
        painter.drawLine(QPointF(68, 86), QPointF(52, 66));
    } else {
        painter.setPen(QPen(QColor(0xB9, 0xA3, 0xFF, 200), 3.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(QRectF(4, 70, 50, 70), 110 * 16, 90 * 16);
        painter.drawArc(QRectF(146, 70, 50, 70), -20 * 16, 90 * 16);
        ArtKit::paintStar(painter, QPointF(24, 44), 8, QColor(0xFF, 0xD8, 0x6B));
        ArtKit::paintStar(painter, QPointF(178, 52), 6, accent);
    }
    painter.restore();
}

void writeZoze(const QDir& folder)
{
    const Painter paint = [](QPainter& painter, const QRectF& rect, const BuddyPose& pose) {
        HumanArt::paint(painter, rect, pose);
    };
    savePng(sheet(Poses::walk(), 8, paint), folder.filePath(QStringLiteral("zoze-walk.png")));
    savePng(sheet(Poses::idle(), 4, paint), folder.filePath(QStringLiteral("zoze-idle.png")));
    savePng(sheet(Poses::celebrate(), 6, paint), folder.filePath(QStringLiteral("zoze-celebrate.png")));
    savePng(sheet(Poses::sad(), 4, paint), folder.filePath(QStringLiteral("zoze-sad.png")));
    savePng(sheet(Poses::wellness(), 3, paint, paintWellnessProps),
            folder.filePath(QStringLiteral("zoze-wellness.png")));
    savePng(still(CompanionChoreography::standing(), paint), folder.filePath(QStringLiteral("zoze.png")));
    savePng(still(CompanionChoreography::celebrating(), paint), folder.filePath(QStringLiteral("zoze-happy.png")));
    writeJson({{QStringLiteral("id"), QStringLiteral("vossik-fan")},
               {QStringLiteral("name"), QStringLiteral("Zoze")},
               {QStringLiteral("subtitle"), QStringLiteral("Always up for a little walk")},
               {QStringLiteral("kind"), QStringLiteral("sprite")},
               {QStringLiteral("tint"), QStringLiteral("8263F2")},
               {QStringLiteral("artwork"), QStringLiteral("zoze.png")},
               {QStringLiteral("happyArtwork"), QStringLiteral("zoze-happy.png")},
               {QStringLiteral("walkSheet"), sheetJson(QStringLiteral("zoze-walk.png"), 8, 1, 8, 10)},
               {QStringLiteral("idleSheet"), sheetJson(QStringLiteral("zoze-idle.png"), 4, 1, 4, 4)},
               {QStringLiteral("celebrateSheet"), sheetJson(QStringLiteral("zoze-celebrate.png"), 6, 1, 6, 10)},
               {QStringLiteral("sadSheet"), sheetJson(QStringLiteral("zoze-sad.png"), 4, 1, 4, 3)},
               {QStringLiteral("wellnessSheet"), sheetJson(QStringLiteral("zoze-wellness.png"), 3, 2, 6, 1)}},
              folder.filePath(QStringLiteral("character.json")));
}

void writeZuv(const QDir& folder)
{
    const BearLook look = BearLook::zuv();
    const Painter paint = [look](QPainter& painter, const QRectF& rect, const BuddyPose& pose) {
        BearArt::paint(painter, rect, look, pose);
    };
    // The 24 poses in the order the bear24 layout reads them: walk, idle, celebrate, sad.
    const QList<BuddyPose> poses = Poses::walk() + Poses::idle() + Poses::celebrate() + Poses::sad(6);
    savePng(sheet(poses, 6, paint), folder.filePath(QStringLiteral("zuv-poses.png")));
    savePng(sheet(Poses::wellness(), 3, paint, paintWellnessProps),
            folder.filePath(QStringLiteral("zuv-wellness.png")));
    savePng(still(CompanionChoreography::standing(), paint), folder.filePath(QStringLiteral("zuv.png")));
    writeJson({{QStringLiteral("id"), QStringLiteral("zuv")},
               {QStringLiteral("name"), QStringLiteral("Zuv")},
               {QStringLiteral("subtitle"), QStringLiteral("A snowy bear who never skips a sip")},
               {QStringLiteral("kind"), QStringLiteral("sprite")},
               {QStringLiteral("tint"), QStringLiteral("6A93F0")},
               {QStringLiteral("poseLayout"), QStringLiteral("bear24")},
               {QStringLiteral("artwork"), QStringLiteral("zuv.png")},
               {QStringLiteral("poseSheet"), sheetJson(QStringLiteral("zuv-poses.png"), 6, 4, 24, 8)},
               {QStringLiteral("wellnessSheet"), sheetJson(QStringLiteral("zuv-wellness.png"), 3, 2, 6, 1)}},
              folder.filePath(QStringLiteral("character.json")));
}

// One frame of a Nimbi movie, `seconds` into a two-second loop.
enum class Mood { hello, happy, gloomy };

void paintRainbow(QPainter& painter, const QRectF& area, double strength)
{
    const QColor bands[] = {QColor(0xFF, 0x9E, 0xB5), QColor(0xFF, 0xD8, 0x6B), QColor(0x8B, 0xE0, 0xB8),
                            QColor(0x8F, 0xC8, 0xFF)};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (int index = 0; index < 4; ++index) {
        QColor band = bands[index];
        band.setAlphaF(float(strength));
        painter.setPen(QPen(band, 9, Qt::SolidLine, Qt::FlatCap));
        const double inset = index * 9;
        painter.drawArc(area.adjusted(inset, inset, -inset, -inset), 0, 180 * 16);
    }
    painter.restore();
}

QImage movieFrame(Mood mood, double seconds)
{
    constexpr QSize size{370, 218};
    const double pi = std::numbers::pi;
    QImage image(size, QImage::Format_RGB32);
    image.fill(stage);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRadialGradient glow = ArtKit::radialGradient(
        QPointF(185, 150), 170, QColor(0x71, 0x4C, 0xE8, mood == Mood::gloomy ? 40 : 70), QColor(0x71, 0x4C, 0xE8, 0));
    painter.fillRect(image.rect(), glow);

    BuddyPose pose;
    double gloom = 0;
    const double loop = 2 * pi * seconds / 2.0;
    switch (mood) {
    case Mood::hello:
        pose.lift = 8 + 6 * std::sin(loop);
        pose.rightArm = 0.78 + 0.16 * std::sin(4 * loop);
        pose.lean = 3 * std::sin(loop);
        pose.mouth = BuddyPose::Mouth::grin;
        if (seconds > 1.3 && seconds < 1.42)
            pose.eyes = BuddyPose::Eyes::blink;
        break;
    case Mood::happy:
        paintRainbow(painter, QRectF(85, 28, 200, 200), 0.8 + 0.15 * std::sin(loop));
        pose = CompanionChoreography::celebrating();
        pose.lift = 8 + 16 * std::abs(std::sin(2 * loop / 2));
        pose.squash = -0.03 * std::abs(std::sin(loop));
        pose.sparkle = std::fmod(seconds, 1.0);
        break;
    case Mood::gloomy:
        pose = CompanionChoreography::pose({CompanionPhase::declined, std::nullopt, std::nullopt});
        pose.lift = 6 + 2 * std::sin(loop);
        pose.lean = -3 + 2 * std::sin(loop);
        gloom = 0.6;
        break;
    }
    CloudArt::paint(painter, QRectF(75, 0, 220, 218), pose, gloom, std::fmod(seconds, 1.0));
    return image;
}

void writeNimbi(const QDir& folder, const QDir& movieFrames)
{
    const struct {
        Mood mood;
        const char* name;
    } movies[] = {{Mood::hello, "nimbi-entry"}, {Mood::happy, "nimbi-success"}, {Mood::gloomy, "nimbi-disappointed"}};
    for (const auto& movie : movies) {
        const QString name = QString::fromLatin1(movie.name);
        movieFrames.mkpath(name);
        for (int frame = 0; frame < 48; ++frame)
            savePng(movieFrame(movie.mood, frame / 24.0),
                    movieFrames.filePath(name + QStringLiteral("/%1.png").arg(frame, 3, 10, QLatin1Char('0'))));
    }
    const Painter paint = [](QPainter& painter, const QRectF& rect, const BuddyPose& pose) {
        CloudArt::paint(painter, rect, pose);
    };
    savePng(still(CompanionChoreography::standing(), paint, QSize(260, 280)),
            folder.filePath(QStringLiteral("nimbi.png")));
    savePng(still(CompanionChoreography::celebrating(), paint, QSize(260, 280)),
            folder.filePath(QStringLiteral("nimbi-happy.png")));
    writeJson({{QStringLiteral("id"), QStringLiteral("nimbi")},
               {QStringLiteral("name"), QStringLiteral("Nimbi")},
               {QStringLiteral("subtitle"), QStringLiteral("A little cloud that rains only on your glass")},
               {QStringLiteral("kind"), QStringLiteral("movie")},
               {QStringLiteral("tint"), QStringLiteral("C8BAF6")},
               {QStringLiteral("artwork"), QStringLiteral("nimbi.png")},
               {QStringLiteral("happyArtwork"), QStringLiteral("nimbi-happy.png")},
               {QStringLiteral("entry"), QStringLiteral("nimbi-entry.webm")},
               {QStringLiteral("success"), QStringLiteral("nimbi-success.webm")},
               {QStringLiteral("disappointed"), QStringLiteral("nimbi-disappointed.webm")}},
              folder.filePath(QStringLiteral("character.json")));
}

}  // namespace

namespace PackArt {

void writePacks(const QDir& characters, const QDir& movieFrames)
{
    for (const QString& name : {QStringLiteral("vossik-fan"), QStringLiteral("zuv"), QStringLiteral("nimbi")})
        characters.mkpath(name);
    writeZoze(QDir(characters.filePath(QStringLiteral("vossik-fan"))));
    writeZuv(QDir(characters.filePath(QStringLiteral("zuv"))));
    writeNimbi(QDir(characters.filePath(QStringLiteral("nimbi"))), movieFrames);
}

}  // namespace PackArt
