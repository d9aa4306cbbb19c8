#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// One running copy per user. The first copy holds a lock for its lifetime and, once its
// main window is loading, listens on a local socket; a later copy finds the lock taken,
// hands its message (HandOverMessage: the paths of its command line, or nothing, to bring
// the first copy forward) over that socket and ends. Lock and socket live in the user's
// runtime folder, reachable by the user only.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class HandOver {
        NoTarget, // no copy is listening (yet, or any more)
        Delivered,
        TimedOut, // a copy is listening but did not acknowledge in time
    };

    static constexpr int kHandOverMilliseconds = 5000;

    // $XDG_RUNTIME_DIR, else a folder of the user's own that only the user can enter.
    static QString runtimeFolder();

    explicit SingleInstance(const QString &folder = runtimeFolder(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True for the first copy, which then holds the lock until it is destroyed.
    bool tryBecomeFirst();
    // Starts taking messages from later copies; false with a reason when it cannot.
    bool listen(QString *error = nullptr);
    bool isListening() const;

    // Sent by a later copy: an empty message only asks to be brought forward.
    static HandOver handOver(const QByteArray &message, const QString &folder = runtimeFolder(),
        int timeoutMilliseconds = kHandOverMilliseconds);

    QString lockPath() const;
    QString serverPath() const;

Q_SIGNALS:
    void messageReceived(const QByteArray &message);
    void activationRequested();

private:
    void acceptConnections();

    QString m_folder;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
