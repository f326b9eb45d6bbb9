#include "Preview.h"

#include "characters/BearArt.h"
#include "characters/DropArt.h"
#include "characters/SproutArt.h"
#include "CloudArt.h"
#include "HumanArt.h"
#include "OrvoArt.h"

#include <QImage>
#include <functional>

namespace Preview {

void write(const QString& path)
{
    using Paint = std::function<void(QPainter&, const QRectF&, const BuddyPose&)>;
    const QList<Paint> characters{
        [](QPainter& p, const QRectF& r, const BuddyPose& pose) { DropArt::paint(p, r, pose); },
        [](QPainter& p, const QRectF& r, const BuddyPose& pose) { SproutArt::paint(p, r, pose); },
        [](QPainter& p, const QRectF& r, const BuddyPose& pose) { BearArt::paint(p, r, BearLook::viru(), pose); },
        [](QPainter& p, const QRectF& r, const BuddyPose& pose) { BearArt::paint(p, r, BearLook::vuzo(), pose); },
        [](QPainter& p, const QRectF& r, const BuddyPose& pose) { BearArt::paint(p, r, BearLook::zuv(), pose); },
        [](QPainter& p, const QRectF& r, const BuddyPose& pose) { HumanArt::paint(p, r, pose); },
        [](QPainter& p, const QRectF& r, const BuddyPose& pose) { CloudArt::paint(p, r, pose); },
        [](QPainter& p, const QRectF& r, const BuddyPose& pose) { OrvoArt::paint(p, r, pose); },
    };
    const QList<CompanionMoment> moments{
        {CompanionPhase::entering, std::nullopt, 0.2}, {CompanionPhase::asking, std::nullopt, 0.6},
        {CompanionPhase::asking, std::nullopt, 3.0},   {CompanionPhase::celebrating, std::nullopt, 0.3},
        {CompanionPhase::declined, std::nullopt, 2.0}, {CompanionPhase::leaving, CompanionPhase::declined, 0.4},
    };
    const QSize cell(200, 232);
    QImage sheet(cell.width() * int(moments.size()), cell.height() * int(characters.size()), QImage::Format_RGB32);
    sheet.fill(QColor(0x12, 0x1B, 0x25));
    QPainter painter(&sheet);
    for (int row = 0; row < characters.size(); ++row) {
        for (int column = 0; column < moments.size(); ++column) {
            const QRectF rect(column * cell.width(), row * cell.height(), cell.width(), cell.height());
            characters[row](painter, rect.adjusted(6, 6, -6, -6), CompanionChoreography::pose(moments[column]));
        }
    }
    painter.end();
    sheet.save(path);
}

}  // namespace Preview
