#include "HandOverMessage.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr char kTerminator = '\0';
const QString kSiteRecord = QStringLiteral("--site");

} // namespace

QByteArray HandOverMessage::encode(const QStringList &paths, const std::optional<QString> &site)
{
    QByteArray message;
    for (const QString &path : paths)
        message += QFile::encodeName(path) + kTerminator;
    if (site)
        message += QFile::encodeName(kSiteRecord) + kTerminator + QFile::encodeName(*site) + kTerminator;
    return message;
}

QStringList HandOverMessage::decode(const QByteArray &message)
{
    QStringList paths = records(message);
    const qsizetype site = paths.indexOf(kSiteRecord);
    if (site >= 0 && message.contains(kTerminator))
        paths.remove(site, std::min<qsizetype>(2, paths.size() - site));
    return paths;
}

std::optional<QString> HandOverMessage::siteOf(const QByteArray &message)
{
    const QStringList all = records(message);
    const qsizetype site = all.indexOf(kSiteRecord);
    if (site < 0 || site + 1 >= all.size() || !message.contains(kTerminator))
        return std::nullopt;
    return all.at(site + 1);
}

QStringList HandOverMessage::records(const QByteArray &message)
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
