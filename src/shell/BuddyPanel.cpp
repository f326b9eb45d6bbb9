#include "BuddyPanel.h"

#include "ReminderSurface.h"
#include "model/ReminderPlacement.h"
#include "store/DewbellStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace {

Qt::WindowFlags panelFlags()
{
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
    // On X11 the window manager would otherwise decide where the panel goes (and let it be dragged).
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        flags |= Qt::X11BypassWindowManagerHint;
    return flags;
}

QString panelTitle(ReminderKind kind)
{
    return kind == ReminderKind::water ? QStringLiteral("A little water break") : title(kind);
}

} // namespace

BuddyPanel::BuddyPanel(DewbellStore* store, bool uiTest, QWidget* mainWindow)
    : QWidget(nullptr, panelFlags()), store_(store), uiTest_(uiTest), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("buddyPanel"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(uiTest_ ? QStringLiteral("Dewbell QA — reminder") : panelTitle(ReminderKind::water));
    resize(int(ReminderPlacement::canvasWidth), int(ReminderPlacement::canvasHeight));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    surface_ = new ReminderSurface(store_, 1.0, this);
    layout->addWidget(surface_);

    for (QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watchScreen(screen);
        screensChanged();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &BuddyPanel::screensChanged);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &BuddyPanel::screensChanged);
}

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
    QScreen* screen = presentationScreen();
    if (!screen)
        return;
    if (!uiTest_)
        setWindowTitle(panelTitle(store_->reminderKind()));
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
