#include "reminders/tour/BreakInfoPopover.h"

#include "model/Counted.h"
#include "platform/UrlOpener.h"
#include "reminders/tour/DailyUseGuide.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/Typography.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int padding = 20;
constexpr int gap = 6;

bool isEyeRest(ReminderKind kind)
{
    return kind == ReminderKind::eyeRest;
}

QLabel* paragraph(const QString& text, const QString& name, QWidget* parent)
{
    QLabel* label = makeLabel(text, uiFont(12), Palette::muted(), parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

}  // namespace

QString BreakInfoPopover::title(ReminderKind kind)
{
    return isEyeRest(kind) ? QStringLiteral("Eye-rest breaks") : QStringLiteral("Movement breaks");
}

QString BreakInfoPopover::explanation(ReminderKind kind)
{
    return isEyeRest(kind) ? QStringLiteral("A reminder to look away from your screen. The 20–20–20 preset means "
                                            "looking about 6 metres (20 feet) away for 20 seconds every 20 minutes.")
                           : QStringLiteral("A reminder to pause screen work and change position. Stretch, walk, or "
                                            "choose another comfortable movement.");
}

QString BreakInfoPopover::rhythm(ReminderKind kind, const BreakPreferences& preferences)
{
    if (isEyeRest(kind))
        return QStringLiteral("Your rhythm: every %1 minutes, rest for %2 seconds.")
            .arg(preferences.eyeIntervalMinutes)
            .arg(preferences.eyeDurationSeconds);
    return QStringLiteral("Your rhythm: every %1 minutes, take %2.")
        .arg(preferences.movementIntervalMinutes)
        .arg(countedMinutes(preferences.movementDurationMinutes));
}

BreakInfoPopover::BreakInfoPopover(ReminderKind kind, const BreakPreferences& preferences, UrlOpener* opener,
                                   QWidget* anchor)
    : QWidget(anchor, Qt::Popup), anchor_(anchor)
{
    setObjectName(QStringLiteral("breakInfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedWidth(popoverWidth);
    auto* layout = makePaddedColumn(this, padding, 12);

    auto* header = makeRow();
    QLabel* heading = makeLabel(title(kind), uiFont(15, QFont::DemiBold), Palette::ink(), this);
    heading->setObjectName(QStringLiteral("breakInfoTitle"));
    header->addWidget(heading);
    header->addStretch(1);
    auto* close = new PlainButton(QString(), QStringLiteral("xmark"), this);
    close->setObjectName(QStringLiteral("breakInfoClose"));
    close->setAccessibleName(QStringLiteral("Close explanation"));
    close->setSymbolSize(12);
    close->setColor(Palette::muted());
    close->setContentsMargins(4, 4, 4, 4);
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);
    header->addWidget(close);
    layout->addLayout(header);

    layout->addWidget(paragraph(explanation(kind), QStringLiteral("breakInfoExplanation"), this));
    layout->addWidget(paragraph(rhythm(kind, preferences), QStringLiteral("breakInfoRhythm"), this));
    layout->addWidget(paragraph(QStringLiteral("Your buddy asks before a break starts. You can start, take it "
                                               "later, or skip. Both break types are optional; adjust their "
                                               "timing in Focus & breaks."),
                                QStringLiteral("breakInfoNote"), this));

    // The page ships with Dewbell; a copy without it offers no dead link.
    if (const auto guide = DailyUseGuide::url()) {
        auto* link = new PlainButton(QStringLiteral("Learn more in the documentation ↗"), QString(), this);
        link->setObjectName(QStringLiteral("documentationLink"));
        link->setFont(uiFont(12));
        link->setColor(Palette::accent());
        connect(link, &QAbstractButton::clicked, this, [opener, url = *guide] { opener->open(url); });
        layout->addWidget(link);
    }
}

void BreakInfoPopover::popUp()
{
    adjustSize();
    if (!anchor_) {
        show();
        return;
    }
    const QRect button(anchor_->mapToGlobal(QPoint(0, 0)), anchor_->size());
    QPoint place(button.center().x() - width() / 2, button.bottom() + gap);
    if (const QScreen* screen = anchor_->screen()) {
        const QRect area = screen->availableGeometry();
        if (place.y() + height() > area.bottom())
            place.setY(button.top() - gap - height());
        place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - width())));
        place.setY(std::max(place.y(), area.top()));
    }
    move(place);
    show();
}

void BreakInfoPopover::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::background());
    painter.setPen(Palette::line());
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void BreakInfoPopover::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// A click on the info button that opened the popover closes it, and must not be handed on to
// the button afterwards, which would open it again at once.
void BreakInfoPopover::mousePressEvent(QMouseEvent* event)
{
    if (anchor_ && anchor_->rect().contains(anchor_->mapFromGlobal(event->globalPosition().toPoint())))
        setAttribute(Qt::WA_NoMouseReplay);
    QWidget::mousePressEvent(event);
}

void BreakInfoPopover::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit closed();
}
