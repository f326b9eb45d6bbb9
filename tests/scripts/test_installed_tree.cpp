// `cmake --install --strip` of this build into a prefix whose path holds a space, in the layout
// this build was configured with (scripts/test takes a packager's, not the default), checked
// as a user's desktop, a software centre and a packager would read it, then uninstalled.
#include "platform/DesktopExec.h"
#include "platform/DesktopFiles.h"
#include "shell/CommandLine.h"
#include "support/ProcessTesting.h"

#include <QImage>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString appId = u"app.dewbell.Dewbell"_s;

struct Run {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

Run run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QString layout(const char* folder)
{
    return qEnvironmentVariable(folder);
}

// How far apart two pictures of the same size are: the mean difference of their channels, 0 to 255.
double meanDifference(const QImage& a, const QImage& b)
{
    double total = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q))
                     + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return total / (4.0 * a.width() * a.height());
}

// The text of each element right below the root of an XML file.
QHash<QString, QString> topElements(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QHash<QString, QString> elements;
    xml.readNextStartElement();
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        elements.insert(name, xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
    }
    return xml.hasError() ? QHash<QString, QString>() : elements;
}

}  // namespace

class InstalledTreeTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir scratch_;
    QString prefix_;

    QString installed(const QString& folder, const QString& relative) const
    {
        return QDir::cleanPath(prefix_ + u'/' + folder + u'/' + relative);
    }
    QString binary() const { return installed(layout("DEWBELL_INSTALL_BINDIR"), u"dewbell"_s); }
    QString shared(const QString& relative) const { return installed(layout("DEWBELL_INSTALL_DATAROOTDIR"), relative); }

private slots:
    void initTestCase()
    {
        prefix_ = scratch_.filePath(u"my prefix"_s);
        const Run install = run(qEnvironmentVariable("DEWBELL_CMAKE"),
                                {u"--install"_s, qEnvironmentVariable("DEWBELL_BUILD_DIR"), u"--prefix"_s, prefix_,
                                 u"--strip"_s, u"--component"_s, u"dewbell"_s});
        QVERIFY2(install.exitCode == 0, install.output + install.errors);
    }

    // The binary finds its data from where it lies, whatever the layout, and carries no symbols
    // or debugging information. The user's own data folder may lie in the same place, as
    // ~/.local/share does for an installation into ~/.local: the two stay apart.
    void theBinaryFindsItsDataAndIsStripped()
    {
        QProcessEnvironment environment = isolatedEnvironment(scratch_);
        environment.remove(u"DEWBELL_BUNDLE_DIR"_s);
        environment.insert(u"XDG_DATA_HOME"_s, installed(layout("DEWBELL_INSTALL_DATA_HOME"), {}));
        const Run report = run(binary(), {CommandLine::diagnoseAssets}, environment);
        QVERIFY2(report.exitCode == 0, report.output + report.errors);
        const QJsonObject assets = QJsonDocument::fromJson(report.output).object();
        QCOMPARE(assets.value(u"bundle"_s).toString(),
                 QFileInfo(installed(layout("DEWBELL_INSTALL_DATADIR"), {})).canonicalFilePath());
        QVERIFY(assets.value(u"valid"_s).toBool());

        const Run sections = run(u"readelf"_s, {u"--sections"_s, u"--wide"_s, binary()});
        QCOMPARE(sections.exitCode, 0);
        QVERIFY2(!sections.output.contains(".symtab") && !sections.output.contains(".debug_"), sections.output);

        for (const QString& document : {u"daily-use.html"_s, u"LICENSE"_s})
            QVERIFY2(QFileInfo(installed(layout("DEWBELL_INSTALL_DOCDIR"), document)).isFile(), qPrintable(document));
    }

    // The menu entry is valid and starts the installed binary by its full path, quoted.
    void theMenuEntryStartsTheInstalledBinary()
    {
        const QString entry = shared(u"applications/%1.desktop"_s.arg(appId));
        const Run validation = run(u"desktop-file-validate"_s, {entry});
        QVERIFY2(validation.exitCode == 0 && (validation.output + validation.errors).isEmpty(),
                 validation.output + validation.errors);
        const QHash<QString, QString> keys = DesktopFiles::mainGroup(entry);
        QCOMPARE(DesktopExec::split(keys.value(u"Exec"_s)), QStringList{binary()});
        QCOMPARE(keys.value(u"Icon"_s), appId);
    }

    // Every size a menu or tray asks for, drawn for that size, and an SVG that draws the same icon.
    void theIconComesInEverySize()
    {
        for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QImageReader icon(shared(u"icons/hicolor/%1x%1/apps/%2.png"_s.arg(side).arg(appId)));
            QCOMPARE(icon.size(), QSize(side, side));
        }
        QSvgRenderer scalable(shared(u"icons/hicolor/scalable/apps/%1.svg"_s.arg(appId)));
        QVERIFY(scalable.isValid());
        QImage drawn(256, 256, QImage::Format_ARGB32);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        scalable.render(&painter);
        painter.end();
        const QImage largest(shared(u"icons/hicolor/256x256/apps/%1.png"_s.arg(appId)));
        const double difference = meanDifference(drawn, largest.convertToFormat(QImage::Format_ARGB32));
        QVERIFY2(difference < 1, qPrintable(QString::number(difference)));
    }

    void softwareCentresReadTheMetainfo()
    {
        const QString metainfo = shared(u"metainfo/%1.metainfo.xml"_s.arg(appId));
        for (const QStringList& arguments : {QStringList{u"validate"_s, u"--no-net"_s, metainfo},
                                             QStringList{u"validate-tree"_s, u"--no-net"_s, prefix_}}) {
            const Run validation = run(u"appstreamcli"_s, arguments);
            QVERIFY2(validation.exitCode == 0, validation.output + validation.errors);
        }
        const QHash<QString, QString> component = topElements(metainfo);
        QCOMPARE(component.value(u"id"_s), appId);
        QCOMPARE(component.value(u"project_license"_s), u"GPL-3.0-or-later"_s);
        QCOMPARE(component.value(u"launchable"_s), appId + u".desktop"_s);
    }

    void theManualPageNamesEverySwitch()
    {
        const QString page = installed(layout("DEWBELL_INSTALL_MANDIR"), u"man1/dewbell.1"_s);
        const Run warnings = run(u"groff"_s, {u"-man"_s, u"-ww"_s, u"-z"_s, page});
        QVERIFY2(warnings.exitCode == 0 && warnings.errors.isEmpty(), warnings.errors);
        const Run shown = run(u"groff"_s, {u"-man"_s, u"-Tascii"_s, u"-P-cbu"_s, page});
        QCOMPARE(shown.exitCode, 0);
        for (const QString& option :
             {CommandLine::background, CommandLine::preview, CommandLine::uiTest, CommandLine::testLab,
              CommandLine::diagnoseUpdates, CommandLine::diagnoseAssets, u"--autostart"_s})
            QVERIFY2(shown.output.contains(option.toUtf8()), qPrintable(option));
    }

    // Last: uninstalling takes everything back, the folders installing created included.
    void uninstallingLeavesNothing()
    {
        const QString build = qEnvironmentVariable("DEWBELL_BUILD_DIR");
        const Run uninstall = run(qEnvironmentVariable("DEWBELL_CMAKE"),
                                  {u"-DDEWBELL_MANIFEST=%1/install_manifest_dewbell.txt"_s.arg(build), u"-P"_s,
                                   qEnvironmentVariable("DEWBELL_SOURCE_DIR") + u"/cmake/DewbellUninstall.cmake"_s});
        QVERIFY2(uninstall.exitCode == 0, uninstall.output + uninstall.errors);
        QVERIFY2(!QFileInfo::exists(prefix_), qPrintable(QDir(prefix_).entryList().join(u' ')));
    }
};

QTEST_MAIN(InstalledTreeTest)
#include "test_installed_tree.moc"
