// Dewbell as its main() starts it, typing into the love-note editor once it runs: the tests
// of saving need keystrokes in a real process that they can stop, signal or kill.
//
//   typing_session <text> [--quit]
//
// Prints "typed" when the last key is in; with --quit it then quits as the menu's Quit does.
#include "shell/AppDelegate.h"
#include "shell/AppLifetime.h"
#include "store/DewbellStore.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dewbell"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2)
        return 2;
    const QString text = arguments.at(1);
    const bool quitAfterwards = arguments.contains(QStringLiteral("--quit"));

    AppDelegate delegate({arguments.first()});
    AppLifetime lifetime(application, delegate);
    delegate.launch();

    QTimer::singleShot(0, &delegate, [&] {
        delegate.store()->setSelectedPage(QStringLiteral("A note for you"));
        auto* editor = delegate.window()->findChild<QPlainTextEdit*>(QStringLiteral("loveNote"));
        if (!editor)
            QCoreApplication::exit(3);
        editor->moveCursor(QTextCursor::End);
        for (const QChar character : text)
            QTest::keyClick(editor, character.toLatin1());
        std::puts("typed");
        std::fflush(stdout);
        if (quitAfterwards)
            delegate.quit();
    });
    return application.exec();
}
