#include "shell/MainMenu.h"

#include "shell/AppDelegate.h"
#include "store/DewbellStore.h"
#include "ui/DarkSurface.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>

namespace {

using Action = void (AppDelegate::*)();

// A menu opens as a window of its own, which does not take its parent's colours.
QMenu* darkMenu(const QString& title, QWidget* parent)
{
    auto* menu = new QMenu(title, parent);
    useDarkSurface(menu);
    return menu;
}

QAction* addItem(QMenu* menu, const QString& text, const char* name, AppDelegate* delegate, Action action,
                 const QKeySequence& shortcut)
{
    QAction* item = menu->addAction(text);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    QObject::connect(item, &QAction::triggered, delegate, action);
    return item;
}

// Asks the delegate, before the menu opens and whenever updates change, which items work now.
void validateItems(QMenu* menu, AppDelegate* delegate)
{
    auto validate = [menu, delegate] {
        for (QAction* item : menu->actions())
            item->setEnabled(delegate->validateMenuItem(item));
    };
    QObject::connect(menu, &QMenu::aboutToShow, menu, validate);
    QObject::connect(delegate->store()->updates(), &AppUpdateManager::changed, menu, validate);
    validate();
}

void addDewbellItems(QMenu* menu, AppDelegate* delegate, bool withShortcuts)
{
    auto keys = [withShortcuts](const QKeySequence& sequence) { return withShortcuts ? sequence : QKeySequence(); };
    addItem(menu, QStringLiteral("About Dewbell"), "showMain", delegate, &AppDelegate::showMain, {});
    addItem(menu, QStringLiteral("Settings…"), "showSettings", delegate, &AppDelegate::showSettings,
            keys(QKeySequence(Qt::CTRL | Qt::Key_Comma)));
    addItem(menu, QStringLiteral("Check for Updates…"), "checkForUpdates", delegate, &AppDelegate::checkForUpdates, {});
    addItem(menu, QStringLiteral("Take the little tour…"), "showTour", delegate, &AppDelegate::showTour, {});
    menu->addSeparator();
    addItem(menu, QStringLiteral("Quit Dewbell"), "quit", delegate, &AppDelegate::quit,
            keys(QKeySequence(Qt::CTRL | Qt::Key_Q)));
    menu->setToolTipsVisible(true);
    validateItems(menu, delegate);
}

// Editing commands go to whichever text field has the keyboard, when it understands them.
void sendToFocusedWidget(const char* slot)
{
    QWidget* focused = QApplication::focusWidget();
    if (!focused)
        return;
    const QByteArray signature = QByteArray(slot) + "()";
    if (focused->metaObject()->indexOfMethod(signature.constData()) >= 0)
        QMetaObject::invokeMethod(focused, slot);
}

QMenu* makeEditMenu(QWidget* window)
{
    QMenu* menu = darkMenu(QStringLiteral("Edit"), window);
    const struct {
        const char* text;
        const char* slot;
        QKeySequence::StandardKey key;
    } items[] = {
        {"Undo", "undo", QKeySequence::Undo},
        {"Cut", "cut", QKeySequence::Cut},
        {"Copy", "copy", QKeySequence::Copy},
        {"Paste", "paste", QKeySequence::Paste},
        {"Select All", "selectAll", QKeySequence::SelectAll},
    };
    for (const auto& item : items) {
        QAction* action = menu->addAction(QString::fromLatin1(item.text));
        action->setObjectName(QLatin1String(item.slot));
        action->setShortcut(item.key);
        const char* slot = item.slot;
        QObject::connect(action, &QAction::triggered, menu, [slot] { sendToFocusedWidget(slot); });
    }
    return menu;
}

QMenu* makeWindowMenu(QWidget* window)
{
    QMenu* menu = darkMenu(QStringLiteral("Window"), window);
    QAction* close = menu->addAction(QStringLiteral("Close Window"));
    close->setObjectName(QStringLiteral("performClose"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    QObject::connect(close, &QAction::triggered, window, [window] {
        QWidget* active = QApplication::activeWindow();
        (active ? active : window)->close();
    });
    return menu;
}

}  // namespace

QMenuBar* MainMenu::makeMenuBar(AppDelegate* delegate, QWidget* window)
{
    auto* bar = new QMenuBar(window);
    bar->setObjectName(QStringLiteral("mainMenu"));
    QMenu* dewbell = darkMenu(QStringLiteral("Dewbell"), bar);
    dewbell->setObjectName(QStringLiteral("dewbellMenu"));
    addDewbellItems(dewbell, delegate, true);
    bar->addMenu(dewbell);
    bar->addMenu(makeEditMenu(bar));
    bar->addMenu(makeWindowMenu(window));
    return bar;
}

QMenu* MainMenu::makeTrayMenu(AppDelegate* delegate)
{
    QMenu* menu = darkMenu(QStringLiteral("Dewbell"), nullptr);
    menu->setObjectName(QStringLiteral("trayMenu"));
    addDewbellItems(menu, delegate, false);
    return menu;
}
