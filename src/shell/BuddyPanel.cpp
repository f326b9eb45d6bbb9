#include "shell/BuddyPanel.h"

#include "characters/ArtCache.h"
#include "characters/PoseCache.h"
#include "model/ReminderPlacement.h"
#include "reminders/ReminderSurface.h"
#include "store/DewbellStore.h"
#include "ui/Layouts.h"
#include "ui/ReduceMotion.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

constexpr qint64 shapeIntervalMilliseconds = 1000 / BuddyPanel::shapeRefreshesPerSecond;

Qt::WindowFlags panelFlags()
{
    Qt::WindowFlags flags =
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
    // On X11 the window manager would otherwise decide where the panel goes (and let it be dragged).
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        flags |= Qt::X11BypassWindowManagerHint;
    return flags;
}

QString panelTitle(ReminderKind kind)
{
    return kind == ReminderKind::water ? QStringLiteral("A little water break") : title(kind);
}

}  // namespace

BuddyPanel::BuddyPanel(DewbellStore* store, bool uiTest, QWidget* mainWindow,
                       std::unique_ptr<CompositorReading> compositor, std::unique_ptr<WindowShaping> shaping)
    : QWidget(nullptr, panelFlags()),
      store_(store),
      uiTest_(uiTest),
      mainWindow_(mainWindow),
      compositor_(compositor ? std::move(compositor) : std::make_unique<DesktopCompositorReading>()),
      shaping_(shaping ? std::move(shaping) : std::make_unique<DesktopWindowShaping>())
{
    setObjectName(QStringLiteral("buddyPanel"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    // The panel is never the active window, and Qt shows tooltips only in the active one.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowTitle(uiTest_ ? QStringLiteral("Dewbell QA — reminder") : panelTitle(ReminderKind::water));
    resize(int(ReminderPlacement::canvasWidth), int(ReminderPlacement::canvasHeight));

    auto* layout = makeColumn(this);
    surface_ = new ReminderSurface(store_, 1.0, this);
    layout->addWidget(surface_);

    shapeTimer_.setSingleShot(true);
    connect(&shapeTimer_, &QTimer::timeout, this, &BuddyPanel::refreshShape);

    for (QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watchScreen(screen);
        screensChanged();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &BuddyPanel::screensChanged);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &BuddyPanel::screensChanged);
}

BuddyPanel::~BuddyPanel() = default;

void BuddyPanel::watchScreen(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &BuddyPanel::screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, &BuddyPanel::screensChanged);
}

QScreen* BuddyPanel::presentationScreen() const
{
    if (mainWindow_ && mainWindow_->isVisible() && mainWindow_->screen())
        return mainWindow_->screen();
    return QGuiApplication::primaryScreen();
}

void BuddyPanel::presentBuddy()
{
    ReduceMotion::refresh();
    QScreen* screen = presentationScreen();
    if (!screen)
        return;
    if (!uiTest_)
        setWindowTitle(panelTitle(store_->reminderKind()));
    followCompositor();
    positionBuddy(screen);
    show();
    raise();
}

void BuddyPanel::positionBuddy(QScreen* screen)
{
    const double inset = ReminderPlacement::footInset(store_->presentedCompanion(), store_->reminderKind());
    const ReminderPlacement::Layout layout = ReminderPlacement::layout(QRectF(screen->availableGeometry()), inset);
    surface_->setScale(layout.scale);
    setScreen(screen);
    setGeometry(layout.frame.toRect());
    if (followed_)
        reshapeWhole();
}

// A hidden panel waits for its next presentation; a shown one stays on its own screen.
void BuddyPanel::screensChanged()
{
    if (!isVisible())
        return;
    QScreen* screen = this->screen();
    if (!screen || !QGuiApplication::screens().contains(screen))
        screen = QGuiApplication::primaryScreen();
    if (screen)
        positionBuddy(screen);
}

// Asked at every presentation: a compositing manager can start or stop while Dewbell runs.
void BuddyPanel::followCompositor()
{
    const std::optional<WindowShapeKind> kind = shapeToFollow();
    if (kind != followed_)
        follow(kind);
    // A panel about to appear shows and takes nothing until its canvas has drawn the new reminder.
    if (followed_ && !isVisible())
        cutTo(QRegion());
}

std::optional<WindowShapeKind> BuddyPanel::shapeToFollow() const
{
    if (!compositor_->blendsTranslucency())
        return WindowShapeKind::bounding;
    if (shaping_->shapesInput())
        return WindowShapeKind::input;
    return std::nullopt;
}

// Only a window that follows a shape watches the canvas; one left whole pays nothing for it.
void BuddyPanel::follow(std::optional<WindowShapeKind> kind)
{
    if (followed_ && windowHandle())
        shaping_->uncut(*windowHandle(), *followed_);
    shapeTimer_.stop();
    pendingChange_ = {};
    shape_.reset();
    followed_ = kind;
}

// The panel is see-through, so whatever changes on the canvas is painted over the panel first.
void BuddyPanel::paintEvent(QPaintEvent* event)
{
    if (!followed_ || !isVisible())
        return;
    pendingChange_ |= event->region();
    scheduleShapeRefresh();
}

void BuddyPanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    PoseCache::clear();
    ArtCache::clear();
}

// The store publishes a reminder only after it asks for the panel, so the whole canvas is
// looked at again from the event loop, once it shows what the store published.
void BuddyPanel::reshapeWhole()
{
    pendingChange_ = rect();
    scheduleShapeRefresh();
}

void BuddyPanel::scheduleShapeRefresh()
{
    if (shapeTimer_.isActive())
        return;
    const qint64 waited = sinceShapeRefresh_.isValid() ? sinceShapeRefresh_.elapsed() : shapeIntervalMilliseconds;
    shapeTimer_.start(int(std::max<qint64>(0, shapeIntervalMilliseconds - waited)));
}

// Only the area painted since the last look is drawn again; the rest of the cut stays.
void BuddyPanel::refreshShape()
{
    const QRect area = pendingChange_.boundingRect() & rect();
    pendingChange_ = {};
    sinceShapeRefresh_.start();
    const QRegion shape = (shape_.value_or(QRegion()) - area) | visiblePixels(area);
    if (shape != shape_)
        cutTo(shape);
}

// QWidget::setMask would also keep Qt from painting outside the cut, hiding the very changes
// the cut has to follow; cutting the native window leaves the whole canvas painted, so what a
// new cut uncovers is already drawn.
void BuddyPanel::cutTo(const QRegion& shape)
{
    shape_ = shape;
    if (!windowHandle())
        create();
    shaping_->cut(*windowHandle(), *followed_, shape);
}

// What a cut window shows, and where a blended one takes clicks. The window's own pixels are
// read back when they keep their translucency; otherwise the canvas is drawn once more.
QRegion BuddyPanel::visiblePixels(const QRect& area)
{
    if (area.isEmpty())
        return {};
    if (const QImage* painted = paintedPixels(); painted && painted->hasAlphaChannel())
        return WindowShaping::shownPixels(*painted, area);
    QImage canvas(area.size(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    surface_->render(&canvas, QPoint(), QRegion(area.translated(-surface_->pos())), QWidget::DrawChildren);
    return WindowShaping::shownPixels(canvas, canvas.rect()).translated(area.topLeft());
}

// The picture the window last put on the screen, where the platform draws into an image.
const QImage* BuddyPanel::paintedPixels() const
{
    QBackingStore* store = backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    return device && device->devType() == QInternal::Image ? static_cast<const QImage*>(device) : nullptr;
}
