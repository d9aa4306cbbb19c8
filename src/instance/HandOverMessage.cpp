#include "HandOverMessage.h"

#include <QFile>

namespace {

constexpr char kTerminator = '\0';

} // namespace

QByteArray HandOverMessage::encode(const QStringList &paths)
{
    QByteArray message;
    for (const QString &path : paths)
        message += QFile::encodeName(path) + kTerminator;
    return message;
}

QStringList HandOverMessage::decode(const QByteArray &message)
{
    if (message.isEmpty())
        return {};
    if (!message.contains(kTerminator))
        return { QFile::decodeName(message) };
    QStringList paths;
    qsizetype start = 0;
    for (qsizetype end = message.indexOf(kTerminator); end >= 0; end = message.indexOf(kTerminator, start)) {
        paths.append(QFile::decodeName(message.mid(start, end - start)));
        start = end + 1;
    }
    // Bytes after the last terminator belong to a message cut short: no whole path.
    return paths;
}
