#include "window/MainWindow.h"

#include "ui/DarkSurface.h"
#include "ui/ReduceMotion.h"
#include "window/MainView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

MainWindow::MainWindow(DewbellStore* store, bool uiTest, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(uiTest ? QStringLiteral("Dewbell QA") : QStringLiteral("Dewbell"));
    // Dark throughout, the menu bar included.
    useDarkSurface(this);
    setCentralWidget(new MainView(store, false, this));
    fitContent();
}

void MainWindow::installMenuBar(QMenuBar* menuBar)
{
    setMenuBar(menuBar);
    fitContent();
}

void MainWindow::fitContent()
{
    const int menuHeight = menuWidget() ? menuWidget()->sizeHint().height() : 0;
    setMinimumSize(minimumContentSize + QSize(0, menuHeight));
    resize(contentSize + QSize(0, menuHeight));
}

void MainWindow::present()
{
    ReduceMotion::refresh();
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
            QRect frame(QPoint(), size());
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    emit closing();
    event->accept();
}
