#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <memory>

#include <unistd.h>

namespace {

const QString kBaseName = QStringLiteral("Tagsmith LITE_APPLICATION");
const QByteArray kAcknowledgement = "ok";

QString fallbackFolder()
{
    const QString folder = QDir::tempPath() + QStringLiteral("/tagsmith-") + QString::number(getuid());
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

// A length goes before the message's bytes, so an empty message still arrives as one.
QByteArray framed(const QByteArray &message)
{
    QByteArray frame;
    QDataStream stream(&frame, QIODevice::WriteOnly);
    stream << message;
    return frame;
}

int remaining(const QElapsedTimer &clock, int timeoutMilliseconds)
{
    return std::max(0, timeoutMilliseconds - int(clock.elapsed()));
}

} // namespace

QString SingleInstance::runtimeFolder()
{
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return fallbackFolder();
}

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_lock(folder + QLatin1Char('/') + kBaseName + QStringLiteral("_MUTEX.lock"))
{
    // A copy that died keeps no claim: its lock is taken over at once.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockPath() const
{
    return m_folder + QLatin1Char('/') + kBaseName + QStringLiteral("_MUTEX.lock");
}

QString SingleInstance::serverPath() const
{
    return m_folder + QLatin1Char('/') + kBaseName;
}

bool SingleInstance::tryBecomeFirst()
{
    return m_lock.isLocked() || m_lock.tryLock(0);
}

bool SingleInstance::listen(QString *error)
{
    if (isListening())
        return true;
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left here belongs to a copy that died.
    QLocalServer::removeServer(serverPath());
    if (!m_server->listen(serverPath())) {
        if (error)
            *error = m_server->errorString();
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Held by the connection below, which goes with the socket.
        auto stream = std::make_shared<QDataStream>(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, stream] {
            stream->startTransaction();
            QByteArray message;
            *stream >> message;
            if (!stream->commitTransaction())
                return;
            socket->write(kAcknowledgement);
            socket->flush();
            if (message.isEmpty())
                Q_EMIT activationRequested();
            else
                Q_EMIT messageReceived(message);
        });
    }
}

SingleInstance::HandOver SingleInstance::handOver(
    const QByteArray &message, const QString &folder, int timeoutMilliseconds)
{
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    socket.connectToServer(folder + QLatin1Char('/') + kBaseName);
    if (!socket.waitForConnected(remaining(clock, timeoutMilliseconds)))
        return socket.error() == QLocalSocket::SocketTimeoutError ? HandOver::TimedOut : HandOver::NoTarget;
    socket.write(framed(message));
    if (!socket.waitForBytesWritten(remaining(clock, timeoutMilliseconds)))
        return HandOver::TimedOut;
    QByteArray answer;
    while (answer.size() < kAcknowledgement.size()) {
        if (!socket.waitForReadyRead(remaining(clock, timeoutMilliseconds)))
            return HandOver::TimedOut;
        answer += socket.readAll();
    }
    return answer.startsWith(kAcknowledgement) ? HandOver::Delivered : HandOver::TimedOut;
}
