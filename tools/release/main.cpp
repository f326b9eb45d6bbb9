// dewbell-release: makes the signing key pair, signs a release archive and prints the feed
// item (or a whole signed feed) that announces it, and signs a feed edited by hand. See README.md, "Building a signed
// release".

#include "ReleaseSigning.h"

#include "updates/FeedSignature.h"
#include "updates/ReleaseVersion.h"
#include "updates/UpdateFeed.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

constexpr qint64 archiveLimit = qint64(256) << 20;

int fail(const QString& message)
{
    std::fprintf(stderr, "dewbell-release: %s\n", qPrintable(message));
    return 1;
}

void print(const QByteArray& text)
{
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
}

std::optional<QByteArray> readFile(const QString& path, qint64 limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > limit)
        return std::nullopt;
    return file.readAll();
}

std::optional<QByteArray> readSecretKey(const QString& path)
{
    const auto text = readFile(path, 1024);
    return text ? ReleaseSigning::decodeSecretKey(*text) : std::nullopt;
}

int makeKeys(const QString& path)
{
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("%1 already exists; a new key pair would orphan the releases it signed.").arg(path));
    const ReleaseSigning::KeyPair pair = ReleaseSigning::makeKeyPair();
    QFile file(path);
    if (pair.secretKey.isEmpty() || !file.open(QIODevice::WriteOnly)
        || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(ReleaseSigning::encodeSecretKey(pair.secretKey)) < 0 || !file.flush())
        return fail(QStringLiteral("could not write the secret key to %1.").arg(path));
    print(pair.publicKey.toBase64() + '\n');
    return 0;
}

struct Signed {
    QByteArray archive;
    QByteArray signature;
    QByteArray secretKey;
};

std::optional<Signed> signArchive(const QString& keyPath, const QString& archivePath, QString& problem)
{
    const auto secretKey = readSecretKey(keyPath);
    if (!secretKey) {
        problem = QStringLiteral("%1 is not a secret key made by \"dewbell-release keygen\".").arg(keyPath);
        return std::nullopt;
    }
    const auto archive = readFile(archivePath, archiveLimit);
    if (!archive) {
        problem = QStringLiteral("%1 cannot be read, or is larger than 256 MiB.").arg(archivePath);
        return std::nullopt;
    }
    return Signed{*archive, ReleaseSigning::sign(*archive, *secretKey), *secretKey};
}

int printItem(const QCommandLineParser& parser, const QStringList& arguments)
{
    QString problem;
    const auto signedArchive = signArchive(arguments.value(1), arguments.value(2), problem);
    if (!signedArchive)
        return fail(problem);
    ReleaseSigning::Release release;
    release.version = parser.value(QStringLiteral("version"));
    release.shortVersion =
        parser.isSet(QStringLiteral("short-version")) ? parser.value(QStringLiteral("short-version")) : release.version;
    release.archiveURL = QUrl(parser.value(QStringLiteral("url")), QUrl::StrictMode);
    release.archiveLength = signedArchive->archive.size();
    release.signature = signedArchive->signature;
    release.date = QDateTime::currentDateTimeUtc().toString(Qt::RFC2822Date);
    if (!releaseVersion(release.version))
        return fail(QStringLiteral("--version must be whole numbers separated by dots, such as 1.2.0."));
    if (release.archiveURL.scheme() != QLatin1String("https") || release.archiveURL.host().isEmpty())
        return fail(QStringLiteral("--url must be an https address; Dewbell downloads nothing else."));
    if (parser.isSet(QStringLiteral("notes"))) {
        const auto notes = readFile(parser.value(QStringLiteral("notes")), 64 * 1024);
        if (!notes)
            return fail(QStringLiteral("the notes file cannot be read, or is larger than 64 KiB."));
        release.notes = QString::fromUtf8(*notes);
        release.notesAreHtml = parser.isSet(QStringLiteral("html"));
    }
    print(parser.isSet(QStringLiteral("feed"))
              ? ReleaseSigning::signFeed(ReleaseSigning::feed(release), signedArchive->secretKey)
              : ReleaseSigning::feedItem(release));
    return 0;
}

int printSignedFeed(const QString& keyPath, const QString& feedPath)
{
    const auto secretKey = readSecretKey(keyPath);
    if (!secretKey)
        return fail(QStringLiteral("%1 is not a secret key made by \"dewbell-release keygen\".").arg(keyPath));
    const auto feed = readFile(feedPath, UpdateFeed::sizeLimit);
    if (!feed)
        return fail(QStringLiteral("%1 cannot be read, or is larger than 1 MiB.").arg(feedPath));
    const QByteArray signedFeed = ReleaseSigning::signFeed(*feed, *secretKey);
    // What Dewbell will read of it: a feed broken by hand is caught here, not on every computer.
    if (!UpdateFeed::read(FeedSignature::split(signedFeed)->content))
        return fail(QStringLiteral("%1 is not an update feed Dewbell can read.").arg(feedPath));
    print(signedFeed);
    return 0;
}

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Signs Dewbell releases.\n\n"
                       "  keygen KEY            make a key pair: writes the secret key to KEY (kept private),\n"
                       "                        prints the public key for SUPublicEDKey\n"
                       "  sign KEY ARCHIVE      print the archive's Base64 Ed25519 signature\n"
                       "  item KEY ARCHIVE      print the feed item announcing the archive (--version, --url);\n"
                       "                        with --feed, a whole feed holding it, signed\n"
                       "  sign-feed KEY FEED    print the feed signed (after adding an item to it by hand)"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("keygen, sign, item or sign-feed"));
    parser.addOptions({
        {QStringLiteral("version"), QStringLiteral("The release's version, as compared (1.2.0)."), QStringLiteral("v")},
        {QStringLiteral("short-version"), QStringLiteral("The version shown to users (1.2)."), QStringLiteral("v")},
        {QStringLiteral("url"), QStringLiteral("The https address the archive is published at."),
         QStringLiteral("url")},
        {QStringLiteral("notes"), QStringLiteral("A file with the release notes."), QStringLiteral("file")},
        {QStringLiteral("html"), QStringLiteral("The notes are HTML (plain text otherwise).")},
        {QStringLiteral("feed"), QStringLiteral("Print a whole feed holding the item, signed.")},
    });
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    describe(parser);
    parser.process(application);
    const QStringList arguments = parser.positionalArguments();
    const QString command = arguments.value(0);
    if (command == QLatin1String("keygen") && arguments.size() == 2)
        return makeKeys(arguments.at(1));
    if (command == QLatin1String("sign") && arguments.size() == 3) {
        QString problem;
        const auto signedArchive = signArchive(arguments.at(1), arguments.at(2), problem);
        if (!signedArchive)
            return fail(problem);
        print(signedArchive->signature.toBase64() + '\n');
        return 0;
    }
    if (command == QLatin1String("item") && arguments.size() == 3)
        return printItem(parser, arguments);
    if (command == QLatin1String("sign-feed") && arguments.size() == 3)
        return printSignedFeed(arguments.at(1), arguments.at(2));
    return fail(QStringLiteral("unknown command; see --help."));
}
