#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// The message of a whole frame at the start of the bytes; false while it is still coming.
bool unframed(const QByteArray &bytes, QByteArray &message)
{
    QDataStream stream(bytes);
    stream.startTransaction();
    stream >> message;
    return stream.commitTransaction();
}

int remaining(const QElapsedTimer &clock, int timeoutMilliseconds)
{
    return std::max(0, timeoutMilliseconds - int(clock.elapsed()));
}

// False when the path does not fit a socket address.
bool socketAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    return true;
}

bool waitFor(int descriptor, short events, const QElapsedTimer &clock, int timeoutMilliseconds)
{
    pollfd waited { descriptor, events, 0 };
    int ready = 0;
    do {
        ready = poll(&waited, 1, remaining(clock, timeoutMilliseconds));
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

// Connects, writes the frame and waits for the acknowledgement on a socket of its own.
SingleInstance::HandOver deliver(int descriptor, const sockaddr_un &address, const QByteArray &frame,
    const QElapsedTimer &clock, int timeoutMilliseconds)
{
    // A full backlog says "try again"; a missing or dead server says nobody listens.
    while (connect(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
        if (errno != EAGAIN && errno != EINTR)
            return SingleInstance::HandOver::NoTarget;
        if (remaining(clock, timeoutMilliseconds) == 0)
            return SingleInstance::HandOver::TimedOut;
        poll(nullptr, 0, 10);
    }
    for (qsizetype sent = 0; sent < frame.size();) {
        if (!waitFor(descriptor, POLLOUT, clock, timeoutMilliseconds))
            return SingleInstance::HandOver::TimedOut;
        const ssize_t written = send(descriptor, frame.constData() + sent, std::size_t(frame.size() - sent), MSG_NOSIGNAL);
        if (written < 0 && errno != EAGAIN && errno != EINTR)
            return SingleInstance::HandOver::TimedOut;
        sent += std::max<ssize_t>(written, 0);
    }
    QByteArray answer;
    while (answer.size() < kAcknowledgement.size()) {
        if (!waitFor(descriptor, POLLIN, clock, timeoutMilliseconds))
            return SingleInstance::HandOver::TimedOut;
        char buffer[16];
        const ssize_t got = recv(descriptor, buffer, sizeof(buffer), 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
            return SingleInstance::HandOver::TimedOut;
        answer.append(buffer, std::max<ssize_t>(got, 0));
    }
    return answer.startsWith(kAcknowledgement) ? SingleInstance::HandOver::Delivered : SingleInstance::HandOver::TimedOut;
}

} // namespace

// One later copy talking: its socket, what it has sent so far, and the watch on it.
struct SingleInstance::Connection
{
    explicit Connection(int socket)
        : descriptor(socket)
        , readable(socket, QSocketNotifier::Read)
    {
    }
    ~Connection()
    {
        readable.setEnabled(false);
        close(descriptor);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    int descriptor;
    QSocketNotifier readable;
    QByteArray bytes;
};

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

SingleInstance::~SingleInstance()
{
    stopListening();
}

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
    const auto fail = [this, error](const char *what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
        stopListening();
        return false;
    };
    // Made under another name and moved into place once it listens, so a later copy that
    // finds the socket can always connect to it.
    sockaddr_un address;
    const QByteArray finalName = QFile::encodeName(serverPath());
    if (!socketAddress(serverPath() + QStringLiteral(".new"), address)) {
        errno = ENAMETOOLONG;
        return fail("socket name");
    }
    m_listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listener < 0)
        return fail("socket");
    // We hold the lock, so socket files left here belong to a copy that died.
    unlink(address.sun_path);
    if (bind(m_listener, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0)
        return fail("bind");
    // The user's own copies only.
    if (chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0)
        return fail("chmod");
    if (::listen(m_listener, SOMAXCONN) != 0)
        return fail("listen");
    if (rename(address.sun_path, finalName.constData()) != 0)
        return fail("rename");
    m_listening = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    connect(m_listening.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptConnections);
    return true;
}

bool SingleInstance::isListening() const
{
    return m_listening != nullptr;
}

void SingleInstance::stopListening()
{
    m_connections.clear();
    m_listening.reset();
    if (m_listener >= 0) {
        close(m_listener);
        m_listener = -1;
        unlink(QFile::encodeName(serverPath()).constData());
    }
}

void SingleInstance::acceptConnections()
{
    int descriptor;
    while ((descriptor = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
        auto connection = std::make_unique<Connection>(descriptor);
        connect(&connection->readable, &QSocketNotifier::activated, this, [this, descriptor] { readFrom(descriptor); });
        m_connections[descriptor] = std::move(connection);
    }
}

void SingleInstance::readFrom(int descriptor)
{
    Connection &connection = *m_connections.at(descriptor);
    char buffer[65536];
    ssize_t got;
    while ((got = recv(descriptor, buffer, sizeof(buffer), 0)) > 0)
        connection.bytes.append(buffer, got);
    const bool ended = got == 0 || (errno != EAGAIN && errno != EINTR);
    QByteArray message;
    const bool complete = unframed(connection.bytes, message);
    if (complete)
        send(descriptor, kAcknowledgement.constData(), std::size_t(kAcknowledgement.size()), MSG_NOSIGNAL);
    // The acknowledgement stays readable for the later copy after this end is closed.
    if (complete || ended)
        m_connections.erase(descriptor);
    if (!complete)
        return;
    if (message.isEmpty())
        Q_EMIT activationRequested();
    else
        Q_EMIT messageReceived(message);
}

SingleInstance::HandOver SingleInstance::handOver(
    const QByteArray &message, const QString &folder, int timeoutMilliseconds)
{
    QElapsedTimer clock;
    clock.start();
    sockaddr_un address;
    if (!socketAddress(folder + QLatin1Char('/') + kBaseName, address))
        return HandOver::NoTarget;
    const int descriptor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return HandOver::NoTarget;
    const HandOver result = deliver(descriptor, address, framed(message), clock, timeoutMilliseconds);
    close(descriptor);
    return result;
}
