#pragma once

class AppDelegate;
class QMenu;
class QMenuBar;
class QWidget;

// The application's menus: the main window's menu bar ("Dewbell", "Edit", "Window") and the
// tray icon's context menu with the "Dewbell" items.
namespace MainMenu {

QMenuBar* makeMenuBar(AppDelegate* delegate, QWidget* window);
QMenu* makeTrayMenu(AppDelegate* delegate);

}  // namespace MainMenu
