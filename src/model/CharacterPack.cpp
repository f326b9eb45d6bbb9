#include "model/CharacterPack.h"

#include "model/ImportError.h"
#include "model/JsonReading.h"
#include "model/Preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

// Limits that keep a hostile manifest from asking for absurd grids, timings or texts.
constexpr int maximumIdLength = PreferenceLimits::maxCompanionIDLength;
constexpr int maximumNameLength = 60;
constexpr int maximumSubtitleLength = 160;
constexpr int maximumWordLength = 32;  // kind and pose layout
constexpr int maximumFileNameLength = 255;
constexpr int maximumGridSide = 100;
constexpr double maximumFramesPerSecond = 120.0;

struct SheetField {
    const char* key;
    std::optional<SpriteSheet> CharacterPack::*member;
};

constexpr std::array<SheetField, 6> sheetFields{{
    {"walkSheet", &CharacterPack::walkSheet},
    {"idleSheet", &CharacterPack::idleSheet},
    {"celebrateSheet", &CharacterPack::celebrateSheet},
    {"sadSheet", &CharacterPack::sadSheet},
    {"poseSheet", &CharacterPack::poseSheet},
    {"wellnessSheet", &CharacterPack::wellnessSheet},
}};

struct FileField {
    const char* key;
    std::optional<QString> CharacterPack::*member;
};

constexpr std::array<FileField, 5> fileFields{{
    {"artwork", &CharacterPack::artwork},
    {"happyArtwork", &CharacterPack::happyArtwork},
    {"entry", &CharacterPack::entry},
    {"success", &CharacterPack::success},
    {"disappointed", &CharacterPack::disappointed},
}};

[[noreturn]] void refuse(const QString& why)
{
    throw ImportError(QStringLiteral("This companion's character.json %1.").arg(why));
}

QString requiredString(const QJsonObject& json, const char* key, const QString& missing)
{
    const QString value = json.value(QLatin1String(key)).toString().trimmed();
    if (value.isEmpty())
        refuse(missing);
    return value;
}

std::optional<QString> optionalString(const QJsonObject& json, const char* key)
{
    const QJsonValue value = json.value(QLatin1String(key));
    if (!value.isString() || value.toString().isEmpty())
        return std::nullopt;
    return value.toString();
}

int gridCount(const QJsonObject& sheet, const char* key, int fallback, const QString& sheetName)
{
    const QJsonValue value = sheet.value(QLatin1String(key));
    if (value.isUndefined())
        return fallback;
    const auto number = JsonReading::saturatedInt(value);
    if (!number || *number < 1 || *number > maximumGridSide * maximumGridSide)
        refuse(QStringLiteral("gives %1 an impossible \"%2\"").arg(sheetName, QLatin1String(key)));
    return *number;
}

SpriteSheet decodeSheet(const QJsonValue& value, const QString& name)
{
    if (!value.isObject())
        refuse(QStringLiteral("has a %1 that isn't a sheet description").arg(name));
    const QJsonObject json = value.toObject();
    SpriteSheet sheet;
    sheet.file = json.value(QLatin1String("file")).toString();
    if (sheet.file.isEmpty())
        refuse(QStringLiteral("has a %1 without a file").arg(name));
    sheet.columns = gridCount(json, "columns", 1, name);
    sheet.rows = gridCount(json, "rows", 1, name);
    if (sheet.columns > maximumGridSide || sheet.rows > maximumGridSide)
        refuse(QStringLiteral("gives %1 more than %2 columns or rows").arg(name).arg(maximumGridSide));
    sheet.frameCount = gridCount(json, "frames", sheet.columns * sheet.rows, name);
    if (sheet.frameCount > sheet.columns * sheet.rows)
        refuse(QStringLiteral("gives %1 more frames than cells").arg(name));
    const QJsonValue fps = json.value(QLatin1String("fps"));
    if (!fps.isUndefined()) {
        sheet.framesPerSecond = fps.toDouble(-1);
        if (!(sheet.framesPerSecond > 0 && sheet.framesPerSecond <= maximumFramesPerSecond))
            refuse(QStringLiteral("gives %1 an impossible speed").arg(name));
    }
    return sheet;
}

QJsonObject encodeSheet(const SpriteSheet& sheet)
{
    return {
        {QStringLiteral("file"), sheet.file},           {QStringLiteral("columns"), sheet.columns},
        {QStringLiteral("rows"), sheet.rows},           {QStringLiteral("frames"), sheet.frameCount},
        {QStringLiteral("fps"), sheet.framesPerSecond},
    };
}

// The id names the pack's folder: any name a folder may have, except one that hides it or
// reaches elsewhere ("rain.cloud" and "wolke-ü" are fine; ".", ".." and "a/b" are not).
bool isValidId(const QString& id)
{
    if (id.isEmpty() || id.startsWith(QLatin1Char('.')))
        return false;
    return std::none_of(id.cbegin(), id.cend(),
                        [](QChar c) { return c == QLatin1Char('/') || c.category() == QChar::Other_Control; });
}

// A file name in the manifest; "my..pic.png" is a name like any other, a path component ".." is not.
void checkFileName(const QString& name)
{
    if (name.size() > maximumFileNameLength)
        refuse(QStringLiteral("names a file whose name is longer than %1 characters").arg(maximumFileNameLength));
    if (name.contains(QChar(0)))
        refuse(QStringLiteral("names a file with an impossible name"));
}

QString boundedWord(const QString& word, const char* what)
{
    if (word.size() > maximumWordLength)
        refuse(QStringLiteral("has a %1 longer than %2 characters").arg(QLatin1String(what)).arg(maximumWordLength));
    return word;
}

bool isValidTint(const QString& tint)
{
    static const QRegularExpression sixHexDigits(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    return sixHexDigits.match(tint).hasMatch();
}

CharacterPack builtIn(const char* id, const char* name, const char* subtitle, const char* kind, const char* tint)
{
    CharacterPack pack;
    pack.id = QString::fromUtf8(id);
    pack.name = QString::fromUtf8(name);
    pack.subtitle = QString::fromUtf8(subtitle);
    pack.kind = QString::fromUtf8(kind);
    pack.tint = QString::fromUtf8(tint);
    return pack;
}

}  // namespace

bool CharacterPack::leavesFolder(const QString& fileName)
{
    return QDir::isAbsolutePath(fileName) || fileName.split(QLatin1Char('/')).contains(QLatin1String(".."));
}

bool CharacterPack::isBear() const
{
    return kind == QLatin1String("viru") || kind == QLatin1String("vuzo") || poseLayout == QStringLiteral("bear24");
}

bool CharacterPack::isHumanSprite() const
{
    return kind == QLatin1String("sprite") && !isBear();
}

std::optional<QString> CharacterPack::asset(const std::optional<QString>& fileName) const
{
    if (!fileName || fileName->isEmpty() || !folder || folder->isEmpty())
        return std::nullopt;
    if (leavesFolder(*fileName))
        return std::nullopt;
    const QString root = QFileInfo(*folder).canonicalFilePath();
    const QFileInfo file(root + QLatin1Char('/') + *fileName);
    // canonicalFilePath resolves every symbolic link; it is empty when the file does not exist.
    const QString resolved = file.canonicalFilePath();
    if (root.isEmpty() || resolved.isEmpty() || !resolved.startsWith(root + QLatin1Char('/')))
        return std::nullopt;
    if (!QFileInfo(resolved).isFile())
        return std::nullopt;
    return resolved;
}

QStringList CharacterPack::referencedFiles() const
{
    QStringList files;
    auto add = [&files](const QString& file) {
        if (!file.isEmpty() && !files.contains(file))
            files.append(file);
    };
    for (const FileField& field : fileFields) {
        if (const auto& file = this->*field.member)
            add(*file);
    }
    for (const SheetField& field : sheetFields) {
        if (const auto& sheet = this->*field.member)
            add(sheet->file);
    }
    return files;
}

bool CharacterPack::isMovieFile(const QString& name)
{
    static const QStringList movieSuffixes{QStringLiteral("mov"),  QStringLiteral("mp4"), QStringLiteral("m4v"),
                                           QStringLiteral("webm"), QStringLiteral("mkv"), QStringLiteral("ogv"),
                                           QStringLiteral("avi")};
    return movieSuffixes.contains(QFileInfo(name).suffix().toLower());
}

QList<CharacterPack> CharacterPack::builtIns()
{
    return {
        builtIn("bloop", "Pemmy", "A drop of good intentions", "drop", "7FC8F8"),
        builtIn("sprout", "Quelly", "Grows a little with every sip", "sprout", "8BD17C"),
        builtIn("viru", "Viru", "A big bear with a soft heart", "viru", "C89B6D"),
        builtIn("vuzo", "Vuzo", "Small bear, big opinions about water", "vuzo", "E4B6B8"),
    };
}

CharacterPack decodeCharacterPack(const QByteArray& manifestJson, const std::optional<QString>& folder)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(manifestJson, &error);
    if (error.error != QJsonParseError::NoError)
        refuse(QStringLiteral("isn't valid JSON (%1)").arg(error.errorString()));
    if (!document.isObject())
        refuse(QStringLiteral("doesn't describe a companion"));
    const QJsonObject json = document.object();

    CharacterPack pack;
    pack.id = requiredString(json, "id", QStringLiteral("has no id"));
    if (!isValidId(pack.id))
        refuse(QStringLiteral("has an id that can't be a folder name (it begins with \".\" or holds \"/\")"));
    if (pack.id.size() > maximumIdLength)
        refuse(QStringLiteral("has an id longer than %1 characters").arg(maximumIdLength));
    pack.name = requiredString(json, "name", QStringLiteral("has no name"));
    if (std::any_of(pack.name.cbegin(), pack.name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        refuse(QStringLiteral("has a name with control characters"));
    // Trimmed again once cut, so that the name reads the same the next time the manifest is read.
    pack.name = firstCharacters(pack.name, maximumNameLength).trimmed();
    pack.kind = boundedWord(requiredString(json, "kind", QStringLiteral("has no kind")), "kind");
    JsonReading::readString(json, "subtitle", pack.subtitle);
    pack.subtitle = firstCharacters(pack.subtitle, maximumSubtitleLength);
    if (const QJsonValue tint = json.value(QLatin1String("tint")); !tint.isUndefined()) {
        pack.tint = tint.toString();
        if (!isValidTint(pack.tint))
            refuse(QStringLiteral("has a tint that isn't six hex digits"));
    }
    for (const FileField& field : fileFields)
        pack.*field.member = optionalString(json, field.key);
    pack.poseLayout = optionalString(json, "poseLayout");
    if (pack.poseLayout)
        boundedWord(*pack.poseLayout, "pose layout");
    for (const SheetField& field : sheetFields) {
        const QJsonValue value = json.value(QLatin1String(field.key));
        if (!value.isUndefined() && !value.isNull())
            pack.*field.member = decodeSheet(value, QString::fromLatin1(field.key));
    }
    for (const QString& file : pack.referencedFiles())
        checkFileName(file);
    pack.folder = folder;
    return pack;
}

QJsonObject encode(const CharacterPack& pack)
{
    QJsonObject json{
        {QStringLiteral("id"), pack.id},
        {QStringLiteral("name"), pack.name},
        {QStringLiteral("subtitle"), pack.subtitle},
        {QStringLiteral("kind"), pack.kind},
        {QStringLiteral("tint"), pack.tint},
    };
    for (const FileField& field : fileFields) {
        if (const auto& file = pack.*field.member)
            json.insert(QLatin1String(field.key), *file);
    }
    if (pack.poseLayout)
        json.insert(QStringLiteral("poseLayout"), *pack.poseLayout);
    for (const SheetField& field : sheetFields) {
        if (const auto& sheet = pack.*field.member)
            json.insert(QLatin1String(field.key), encodeSheet(*sheet));
    }
    return json;
}
