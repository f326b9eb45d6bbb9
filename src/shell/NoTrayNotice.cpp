#include "shell/NoTrayNotice.h"

#include "ui/DarkSurface.h"

#include <QMessageBox>
#include <QPushButton>

bool NoTrayNotice::keepRunning()
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Dewbell"),
                    QStringLiteral("Dewbell keeps running, and your reminders keep coming."));
    box.setObjectName(QStringLiteral("noTrayNotice"));
    useDarkSurface(&box);
    box.setInformativeText(QStringLiteral("This desktop has no system tray, so Dewbell shows no icon while its "
                                          "window is closed. To open the window again, launch Dewbell again."));
    QPushButton* keep = box.addButton(QStringLiteral("Keep running"), QMessageBox::AcceptRole);
    QPushButton* quit = box.addButton(QStringLiteral("Quit Dewbell"), QMessageBox::DestructiveRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() != quit;
}
