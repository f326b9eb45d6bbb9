#pragma once

#include "model/CharacterPack.h"
#include "model/ReminderKind.h"

#include <QImage>
#include <QWidget>

// The still sticker of a break reminder: frame `frame` of the pack's wellness sheet (frames
// 0-1 rest the eyes, 2-5 move), or, for a pack without a usable sheet, a badge drawn in the
// pack's tint with the kind's symbol.
class WellnessBuddy : public QWidget {
    Q_OBJECT
public:
    WellnessBuddy(const CharacterPack& pack, int frame, ReminderKind kind, QWidget* parent = nullptr);

    void setSticker(const CharacterPack& pack, int frame, ReminderKind kind);
    // True when this pack and frame fall back to the drawn badge.
    bool showsBadge() const;

    static void paint(QPainter& painter, const QRectF& rect, const CharacterPack& pack, int frame, ReminderKind kind);
    static QImage render(const QSize& size, const CharacterPack& pack, int frame, ReminderKind kind);
    static void paintBadge(QPainter& painter, const QRectF& rect, ReminderKind kind, const QColor& tint);
    static QString symbolName(ReminderKind kind);

    QSize sizeHint() const override { return {210, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QImage sticker(const CharacterPack& pack, int frame);

    CharacterPack pack_;
    int frame_;
    ReminderKind kind_;
};
