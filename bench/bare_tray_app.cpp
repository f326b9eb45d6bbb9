// The floor for any Qt 6 tray program, measured beside Dewbell by tray_footprint: an
// application object, one tray icon with a small drawn picture and a tooltip, and a timer that
// fires every second, as Dewbell's clock does. Nothing else.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QPixmap picture(36, 36);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::white);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(picture.rect().adjusted(4, 4, -4, -4));
    }
    QSystemTrayIcon icon{QIcon(picture)};
    icon.setToolTip(QStringLiteral("Bare tray app"));
    icon.show();

    int seconds = 0;
    QTimer clock;
    clock.setInterval(1000);
    QObject::connect(&clock, &QTimer::timeout, &clock, [&seconds] { ++seconds; });
    clock.start();
    return application.exec();
}
