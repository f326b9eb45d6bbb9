#pragma once

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QUrl>
#include <memory>
#include <optional>

// An https server on 127.0.0.1 for update tests, with a certificate authority of its own made
// by the openssl command at test time. Nothing leaves the machine.
namespace LocalHttps {

struct Certificates {
    QSslCertificate authority;
    QSslCertificate server;
    QSslKey key;
};

inline bool runOpenssl(const QString& folder, const QStringList& arguments)
{
    QProcess openssl;
    openssl.setWorkingDirectory(folder);
    openssl.start(QStringLiteral("openssl"), arguments);
    return openssl.waitForFinished(30000) && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
}

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A CA, and a certificate for 127.0.0.1 that it signed, valid for two days.
inline std::optional<Certificates> makeCertificates(const QString& folder)
{
    const QString curve = QStringLiteral("ec_paramgen_curve:prime256v1");
    QFile extensions(QDir(folder).filePath(QStringLiteral("server.ext")));
    if (!extensions.open(QIODevice::WriteOnly))
        return std::nullopt;
    extensions.write("subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n");
    extensions.close();
    const bool made =
        runOpenssl(folder, {"req", "-x509", "-newkey", "ec", "-pkeyopt", curve, "-nodes", "-keyout", "ca.key", "-out",
                            "ca.crt", "-days", "2", "-subj", "/CN=Dewbell Test Authority", "-addext",
                            "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign"})
        && runOpenssl(folder, {"req", "-newkey", "ec", "-pkeyopt", curve, "-nodes", "-keyout", "server.key", "-out",
                               "server.csr", "-subj", "/CN=127.0.0.1"})
        && runOpenssl(folder, {"x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key",
                               "-CAcreateserial", "-out", "server.crt", "-days", "2", "-extfile", "server.ext"});
    if (!made)
        return std::nullopt;
    Certificates certificates{QSslCertificate(readAll(folder + QStringLiteral("/ca.crt"))),
                              QSslCertificate(readAll(folder + QStringLiteral("/server.crt"))),
                              QSslKey(readAll(folder + QStringLiteral("/server.key")), QSsl::Ec)};
    if (certificates.authority.isNull() || certificates.server.isNull() || certificates.key.isNull())
        return std::nullopt;
    return certificates;
}

// What the server answers on one path.
struct Response {
    int status = 200;
    QByteArray body;
    // Where a redirect leads.
    QByteArray location;
    // A Content-Length other than the body's own; -1 for the body's.
    qint64 declaredLength = -1;
    // Closes the connection after this many bytes of the body; -1 sends it all.
    qint64 cutAfter = -1;
    // Takes the request and never answers.
    bool silent = false;
    // Sends no Content-Length: the body ends when the connection closes.
    bool withoutLength = false;
};

inline Response answer(int status, const QByteArray& body)
{
    Response response;
    response.status = status;
    response.body = body;
    return response;
}

inline Response redirect(const QUrl& target)
{
    Response response = answer(302, {});
    response.location = target.toEncoded();
    return response;
}

// Announces the whole body, sends `after` bytes of it and hangs up.
inline Response cutOff(const QByteArray& body, qint64 after)
{
    Response response = answer(200, body);
    response.cutAfter = after;
    return response;
}

inline Response silence()
{
    Response response;
    response.silent = true;
    return response;
}

class Server {
public:
    explicit Server(const Certificates& certificates)
    {
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(certificates.server);
        configuration.setPrivateKey(certificates.key);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        server_.setSslConfiguration(configuration);
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, &server_, [this] { accept(); });
    }

    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }

    void serve(const QString& path, const Response& response) { routes_.insert(path, response); }

    // The paths asked for, in order.
    QStringList requests;

private:
    void accept()
    {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QIODevice::readyRead, socket, [this, socket, request] {
                const bool answered = request->contains("\r\n\r\n");
                request->append(socket->readAll());
                if (!answered && request->contains("\r\n\r\n"))
                    answer(socket, *request);
            });
        }
    }

    void answer(QTcpSocket* socket, const QByteArray& request)
    {
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        requests.append(path);
        const Response response = routes_.value(path, LocalHttps::answer(404, "missing"));
        if (response.silent)
            return;
        const qint64 length = response.declaredLength >= 0 ? response.declaredLength : response.body.size();
        QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Answer\r\nConnection: close\r\n";
        if (!response.withoutLength)
            head += "Content-Length: " + QByteArray::number(length) + "\r\n";
        if (!response.location.isEmpty())
            head += "Location: " + response.location + "\r\n";
        socket->write(head + "\r\n");
        socket->write(response.cutAfter >= 0 ? response.body.left(response.cutAfter) : response.body);
        socket->disconnectFromHost();
    }

    QSslServer server_;
    QHash<QString, Response> routes_;
};

// A plain TCP server that takes connections and never says a word: no TLS, no HTTP.
class SilentServer {
public:
    SilentServer()
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (server_.nextPendingConnection())
                ++connections;
        });
    }

    QUrl url(const QString& scheme, const QString& path) const
    {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(scheme).arg(server_.serverPort()).arg(path));
    }

    int connections = 0;

private:
    QTcpServer server_;
};

}  // namespace LocalHttps
