#include "platform/ApplicationCatalog.h"
#include "platform/DesktopExec.h"
#include "platform/DesktopFileIndex.h"
#include "support/TableTesting.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

void writeDesktopFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

}  // namespace

class TestDesktopFiles : public QObject {
    Q_OBJECT

private slots:
    void catalogReadsNamesAndIdentifiers()
    {
        QTemporaryDir folder;
        QTemporaryDir system;
        const QString root = folder.path();
        writeDesktopFile(
            root + "/org.example.Editor.desktop",
            "[Desktop Entry]\nType=Application\nName=Editor\nName[de]=Bearbeiter\nGenericName=Text editor\n");
        writeDesktopFile(root + "/kde/konsole.desktop", "[Desktop Entry]\nType=Application\nGenericName=Terminal\n");
        writeDesktopFile(root + "/nameless.desktop", "[Desktop Entry]\nType=Application\nExec=nameless\n");
        writeDesktopFile(root + "/hidden.desktop", "[Desktop Entry]\nType=Application\nName=Hidden\nNoDisplay=true\n");
        writeDesktopFile(root + "/gone.desktop", "[Desktop Entry]\nType=Application\nName=Gone\nHidden=true\n");
        writeDesktopFile(root + "/link.desktop", "[Desktop Entry]\nType=Link\nName=A link\n");
        writeDesktopFile(root + "/actions.desktop",
                         "[Desktop Action new]\nName=Not this one\n[Desktop Entry]\nName=Actions\nType=Application\n");
        // The user's folder comes first and wins, even when its entry hides the system's.
        writeDesktopFile(root + "/app.desktop", "[Desktop Entry]\nType=Application\nName=Mine\n");
        writeDesktopFile(system.path() + "/app.desktop", "[Desktop Entry]\nType=Application\nName=System\n");
        writeDesktopFile(system.path() + "/gone.desktop", "[Desktop Entry]\nType=Application\nName=Gone\n");

        QCOMPARE(ApplicationCatalog::installed({root, system.path()}),
                 (QList<InstalledApplication>{{QStringLiteral("actions"), QStringLiteral("Actions")},
                                              {QStringLiteral("org.example.Editor"), QStringLiteral("Editor")},
                                              {QStringLiteral("app"), QStringLiteral("Mine")},
                                              {QStringLiteral("nameless"), QStringLiteral("nameless")},
                                              {QStringLiteral("kde-konsole"), QStringLiteral("Terminal")}}));
    }

    void windowClassesFindTheirDesktopFile()
    {
        QTemporaryDir user;
        QTemporaryDir system;
        writeDesktopFile(user.filePath("org.gnome.Calculator.desktop"), "[Desktop Entry]\nType=Application\n");
        writeDesktopFile(user.filePath("notes.desktop"),
                         "[Desktop Action x]\nStartupWMClass=not-this\n[Desktop Entry]\nStartupWMClass=notes-app\n");
        writeDesktopFile(system.filePath("kde/konsole.desktop"), "[Desktop Entry]\nStartupWMClass=konsole\n");
        writeDesktopFile(system.filePath("notes.desktop"), "[Desktop Entry]\nStartupWMClass=old-notes\n");
        writeDesktopFile(system.filePath("calculator.desktop"), "[Desktop Entry]\nType=Application\n");
        DesktopFileIndex index({user.path(), system.path()});
        const struct {
            const char* windowClass;
            const char* windowInstance;
            std::optional<QString> id;
        } rows[] = {
            {"notes-app", "", u"notes"_s},                            // its StartupWMClass
            {"Konsole", "konsole", u"kde-konsole"_s},                 // the instance's StartupWMClass
            {"ORG.GNOME.CALCULATOR", "", u"org.gnome.Calculator"_s},  // the id, letter case aside
            {"Calculator", "", u"calculator"_s},                      // a whole id before a last part
            {"not-this", "", std::nullopt},                           // another group's key
            {"old-notes", "", std::nullopt},                          // a file the user's own hides
            {"", "", std::nullopt},
        };
        for (const auto& row : rows)
            QCOMPARE(index.identifier(QLatin1String(row.windowClass), QLatin1String(row.windowInstance)), row.id);
    }

    // What an Exec line is written as reads back as the same arguments, whatever they hold.
    void execLinesReadBackAsWritten_data()
    {
        addColumns<QStringList>("arguments");
        QTest::newRow("plain") << QStringList{u"/usr/bin/dewbell"_s, u"--autostart"_s};
        QTest::newRow("spaces") << QStringList{u"/home/anna smith/.local/bin/dewbell"_s, u"--autostart"_s};
        QTest::newRow("every escaped character")
            << QStringList{u"/opt/a \"b\" `c` $d \\e/dewbell"_s, u"100%"_s, u"tab\there"_s, u"line\nbreak\r"_s};
        QTest::newRow("shell characters") << QStringList{u"/opt/x'y'<>~|&;*?#()/dewbell"_s};
    }
    void execLinesReadBackAsWritten()
    {
        QFETCH(QStringList, arguments);
        const QString line = DesktopExec::join(arguments);
        QVERIFY2(!line.contains(u'\n') && !line.contains(u'\t'), qPrintable(line));
        QCOMPARE(DesktopExec::split(line), arguments);
    }

    void execLinesAsOthersWriteThem()
    {
        QCOMPARE(DesktopExec::split(u"  dewbell\\s--x   %f "_s), (QStringList{u"dewbell"_s, u"--x"_s, u"%f"_s}));
        QCOMPARE(DesktopExec::split(u"\"/opt/dewbell --autostart"_s), std::nullopt);
        QCOMPARE(DesktopExec::split(QString()), QStringList());
        QCOMPARE(DesktopExec::program(u"sh -c true"_s), QStandardPaths::findExecutable(u"sh"_s));
        QCOMPARE(DesktopExec::program(u"no-such-program-here"_s), QString());
    }
};

QTEST_GUILESS_MAIN(TestDesktopFiles)
#include "test_desktop_files.moc"
