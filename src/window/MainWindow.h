#pragma once

#include <QMainWindow>

class DewbellStore;
class QMenuBar;

// The main window: its menu bar and MainView. Closing it only hides it; the application
// keeps running in the tray.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize contentSize{960, 735};
    static constexpr QSize minimumContentSize{940, 720};

    MainWindow(DewbellStore* store, bool uiTest, QWidget* parent = nullptr);

    // Puts the menu bar on top; the content keeps its size below it.
    void installMenuBar(QMenuBar* menuBar);

    // Shows the window, centred on its screen the first time.
    void present();

signals:
    // The window is being closed (it is hidden, not destroyed).
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fitContent();

    bool placed_ = false;
};
