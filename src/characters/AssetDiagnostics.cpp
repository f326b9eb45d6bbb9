#include "characters/AssetDiagnostics.h"

#include "model/AppBundle.h"
#include "model/CharacterPack.h"
#include "model/ImportError.h"
#include "model/LocalFiles.h"
#include "model/PackScan.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString ok = QStringLiteral("ok");
const QString missing = QStringLiteral("missing");
const QString undecodable = QStringLiteral("undecodable");
const QString tooLarge = QStringLiteral("too large");
const QString outside = QStringLiteral("outside the pack");

// Collects the problems of the whole report as sentences naming the file.
struct Findings {
    QJsonArray problems;

    void add(const QString& relativePath, const QString& status)
    {
        problems.append(QStringLiteral("%1: %2").arg(relativePath, status));
    }
    void addSentence(const QString& sentence) { problems.append(sentence); }
};

QJsonObject checkImage(const QString& path, const QString& relativePath, Findings& findings)
{
    QJsonObject entry{{QStringLiteral("path"), path}};
    const QFileInfo file(path);
    QString status = ok;
    if (!file.isFile()) {
        status = missing;
    } else if (file.size() > LocalFiles::imageLimit) {
        status = tooLarge;
    } else {
        QByteArray bytes;
        try {
            bytes = LocalFiles::readBounded(path, LocalFiles::imageLimit);
        } catch (const ImportError&) {
            bytes.clear();
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        // Asked before decoding: afterwards the reader no longer names the format.
        const QByteArray format = reader.format();
        const QImage first = reader.read();
        if (first.isNull()) {
            status = undecodable;
        } else {
            entry.insert(QStringLiteral("width"), first.width());
            entry.insert(QStringLiteral("height"), first.height());
            entry.insert(QStringLiteral("format"), QString::fromLatin1(format));
            if (reader.supportsAnimation())
                entry.insert(QStringLiteral("frames"), std::max(1, reader.imageCount()));
        }
    }
    entry.insert(QStringLiteral("status"), status);
    if (status != ok)
        findings.add(relativePath, status);
    return entry;
}

QJsonObject checkMovie(const QString& path, const QString& relativePath, Findings& findings)
{
    QJsonObject entry{{QStringLiteral("path"), path}};
    const QFileInfo file(path);
    QString status = ok;
    if (!file.isFile())
        status = missing;
    else if (file.size() > LocalFiles::movieLimit)
        status = tooLarge;
    else if (file.size() == 0)
        status = undecodable;
    entry.insert(QStringLiteral("status"), status);
    if (status != ok)
        findings.add(relativePath, status);
    return entry;
}

QJsonObject checkPackFile(const CharacterPack& pack, const QString& name, const QString& relativeFolder,
                          Findings& findings, qint64& packBytes)
{
    const QString relativePath = relativeFolder + QLatin1Char('/') + name;
    const QString path = QDir(*pack.folder).filePath(name);
    const bool exists = QFileInfo(path).isFile();
    if (CharacterPack::leavesFolder(name) || (exists && !pack.asset(name))) {
        findings.add(relativePath, outside);
        return {{QStringLiteral("path"), path}, {QStringLiteral("status"), outside}};
    }
    if (exists)
        packBytes += QFileInfo(path).size();
    return CharacterPack::isMovieFile(name) ? checkMovie(path, relativePath, findings)
                                            : checkImage(path, relativePath, findings);
}

QJsonObject checkPack(const QString& folder, const QString& folderName, Findings& findings)
{
    const QString relativeFolder = QStringLiteral("Characters/") + folderName;
    const QString manifestPath = QDir(folder).filePath(QStringLiteral("character.json"));
    QJsonObject entry{{QStringLiteral("folder"), folder}};
    if (!QFileInfo(manifestPath).isFile()) {
        entry.insert(QStringLiteral("manifest"), missing);
        findings.add(relativeFolder + QStringLiteral("/character.json"), missing);
        return entry;
    }
    CharacterPack pack;
    try {
        pack = decodeCharacterPack(LocalFiles::readBounded(manifestPath, LocalFiles::jsonLimit), folder);
    } catch (const ImportError& error) {
        entry.insert(QStringLiteral("manifest"), QStringLiteral("invalid"));
        entry.insert(QStringLiteral("manifestError"), error.message());
        findings.addSentence(QStringLiteral("%1/character.json: invalid (%2)").arg(relativeFolder, error.message()));
        return entry;
    }
    entry.insert(QStringLiteral("manifest"), ok);
    entry.insert(QStringLiteral("id"), pack.id);
    entry.insert(QStringLiteral("name"), pack.name);
    entry.insert(QStringLiteral("kind"), pack.kind);

    const qsizetype problemsBefore = findings.problems.size();
    QJsonObject files;
    qint64 packBytes = 0;
    for (const QString& name : pack.referencedFiles())
        files.insert(name, checkPackFile(pack, name, relativeFolder, findings, packBytes));
    entry.insert(QStringLiteral("files"), files);
    entry.insert(QStringLiteral("bytes"), double(packBytes));
    if (packBytes > LocalFiles::packLimit)
        findings.addSentence(
            QStringLiteral("%1: larger than %2 MiB").arg(relativeFolder).arg(LocalFiles::packLimit / LocalFiles::MiB));
    entry.insert(QStringLiteral("valid"), findings.problems.size() == problemsBefore);
    return entry;
}

QJsonObject checkInfo(const QString& bundle, Findings& findings)
{
    const QString path = QDir(bundle).filePath(QStringLiteral("info.json"));
    QString status = ok;
    if (!QFileInfo(path).isFile()) {
        status = missing;
    } else {
        try {
            if (!QJsonDocument::fromJson(LocalFiles::readBounded(path, LocalFiles::jsonLimit)).isObject())
                status = undecodable;
        } catch (const ImportError&) {
            status = tooLarge;
        }
    }
    if (status != ok)
        findings.add(QStringLiteral("info.json"), status);
    return {{QStringLiteral("path"), path}, {QStringLiteral("status"), status}};
}

QJsonObject checkSound(const QString& bundle, Findings& findings)
{
    const QString path = QDir(bundle).filePath(QStringLiteral("Sounds/pop.wav"));
    const QFileInfo file(path);
    QString status = ok;
    if (!file.isFile())
        status = missing;
    else if (file.size() < 44)
        status = undecodable;
    if (status != ok)
        findings.add(QStringLiteral("Sounds/pop.wav"), status);
    return {{QStringLiteral("path"), path}, {QStringLiteral("status"), status}};
}

// The companions the user imported, as a launch loads them: one that would be left out is a
// problem named with its reason, since it is missing from the crew.
QJsonObject checkImportedPacks(const QString& bundleCharacters, Findings& findings)
{
    const QString imported = AppBundle::privateFolder() + QStringLiteral("/Characters");
    const PackScan scan = PackScan::scan({bundleCharacters, imported}, CharacterPack::builtIns());
    QJsonArray loaded;
    for (const CharacterPack& pack : scan.packs) {
        if (pack.folder && pack.folder->startsWith(QFileInfo(imported).canonicalFilePath() + QLatin1Char('/')))
            loaded.append(pack.id);
    }
    QJsonArray notLoaded;
    for (const PackScan::NotLoaded& entry : scan.notLoaded) {
        if (!entry.folder.startsWith(imported + QLatin1Char('/')))
            continue;
        const QString name = QFileInfo(entry.folder).fileName();
        notLoaded.append(
            QJsonObject{{QStringLiteral("folder"), entry.folder}, {QStringLiteral("problem"), entry.reason}});
        findings.addSentence(QStringLiteral("Imported companion “%1”: not loaded (%2)").arg(name, entry.reason));
    }
    return {{QStringLiteral("folder"), imported},
            {QStringLiteral("loaded"), loaded},
            {QStringLiteral("notLoaded"), notLoaded}};
}

}  // namespace

const QStringList& AssetDiagnostics::requiredBrandFiles()
{
    static const QStringList files{QStringLiteral("app-icon-v1.png"), QStringLiteral("menu-template-v1.png"),
                                   QStringLiteral("orvo-onboarding.png"), QStringLiteral("orvo-wave.gif")};
    return files;
}

const QStringList& AssetDiagnostics::bundledPackIDs()
{
    static const QStringList ids{QStringLiteral("nimbi"), QStringLiteral("vossik-fan"), QStringLiteral("zuv")};
    return ids;
}

std::pair<QByteArray, bool> AssetDiagnostics::report()
{
    const QString bundle = AppBundle::directory();
    Findings findings;
    QJsonObject result{{QStringLiteral("bundle"), bundle}};
    result.insert(QStringLiteral("info"), checkInfo(bundle, findings));

    QJsonObject brand;
    const QDir brandFolder(QDir(bundle).filePath(QStringLiteral("Brand")));
    for (const QString& name : requiredBrandFiles())
        brand.insert(name, checkImage(brandFolder.filePath(name), QStringLiteral("Brand/") + name, findings));
    result.insert(QStringLiteral("brand"), brand);
    result.insert(QStringLiteral("sound"), checkSound(bundle, findings));

    QJsonArray packs;
    QStringList foundIDs;
    const QDir characters(QDir(bundle).filePath(QStringLiteral("Characters")));
    if (!characters.exists())
        findings.add(QStringLiteral("Characters"), missing);
    for (const QString& folderName : characters.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QJsonObject pack = checkPack(characters.filePath(folderName), folderName, findings);
        foundIDs.append(pack.value(QStringLiteral("id")).toString());
        packs.append(pack);
    }
    for (const QString& id : bundledPackIDs()) {
        if (!foundIDs.contains(id))
            findings.addSentence(QStringLiteral("Characters: the bundled pack \"%1\" is missing").arg(id));
    }
    result.insert(QStringLiteral("packs"), packs);
    result.insert(QStringLiteral("importedPacks"), checkImportedPacks(characters.path(), findings));

    QJsonArray builtIns;
    for (const CharacterPack& pack : CharacterPack::builtIns())
        builtIns.append(pack.id);
    result.insert(QStringLiteral("builtInPacks"), builtIns);

    const bool valid = findings.problems.isEmpty();
    result.insert(QStringLiteral("problems"), findings.problems);
    result.insert(QStringLiteral("valid"), valid);
    QByteArray json = QJsonDocument(result).toJson(QJsonDocument::Indented);
    // The caller adds the final line feed.
    if (json.endsWith('\n'))
        json.chop(1);
    return {json, valid};
}
