#include "store/CarePackage.h"

#include "model/ImportError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

const QString notACarePackage = QStringLiteral("this file isn't a care package.");

// Every key the template knows must have the template's JSON type, in nested objects too;
// keys the template does not know are ignored.
bool matchesShape(const QJsonValue& value, const QJsonValue& shape)
{
    if (value.type() != shape.type())
        return false;
    if (value.isArray()) {
        for (const QJsonValue& element : value.toArray()) {
            if (!element.isString())
                return false;
        }
        return true;
    }
    if (!value.isObject())
        return true;
    const QJsonObject object = value.toObject();
    const QJsonObject shapeObject = shape.toObject();
    for (auto it = shapeObject.begin(); it != shapeObject.end(); ++it) {
        if (object.contains(it.key()) && !matchesShape(object.value(it.key()), it.value()))
            return false;
    }
    return true;
}

bool holdsAnySetting(const QJsonObject& object, const QJsonObject& shape)
{
    for (auto it = shape.begin(); it != shape.end(); ++it) {
        if (it.key() != QLatin1String("safeguards") && object.contains(it.key()))
            return true;
    }
    return false;
}

}  // namespace

QByteArray CarePackage::encode(const Preferences& preferences)
{
    Preferences shared = preferences.normalized();
    shared.safeguards = SafeguardPreferences{};
    return QJsonDocument(::encode(shared)).toJson(QJsonDocument::Indented);
}

void CarePackage::write(const QString& path, const Preferences& preferences)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encode(preferences)) < 0 || !file.commit())
        throw ImportError(file.errorString());
}

Preferences CarePackage::decode(const QByteArray& bytes, const Preferences& current)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        throw ImportError(notACarePackage);
    const QJsonObject object = document.object();
    const QJsonObject shape = ::encode(Preferences{});
    if (!holdsAnySetting(object, shape))
        throw ImportError(QStringLiteral("this file holds no Dewbell settings."));
    if (!matchesShape(object, shape))
        throw ImportError(QStringLiteral("some of its settings are damaged."));
    const QJsonValue personality = object.value(QLatin1String("personality"));
    if (!personality.isUndefined() && !personalityFromRaw(personality.toString()))
        throw ImportError(QStringLiteral("it names a personality Dewbell doesn't know."));

    // A package from an older version, or written by hand, may hold only some settings: the
    // others stay as the recipient has them.
    Preferences received = decodePreferences(object, current);
    received.safeguards = current.safeguards;
    return received.normalized();
}
