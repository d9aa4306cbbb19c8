#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// The user's mimeapps.list, where the desktop keeps which applications open which types.
// The program lists itself under [Added Associations], behind the applications already
// listed there: it joins the choices without becoming the default. It writes no
// [Default Applications] line; it takes out one that an earlier version wrote, while that
// line is still exactly as it was written. Every line it did not add keeps its bytes.
class MimeAppsList
{
public:
    // MIME type -> desktop id an earlier version kept as its default.
    using Pins = QMap<QString, QString>;

    explicit MimeAppsList(QString path);

    // $XDG_CONFIG_HOME/mimeapps.list
    static QString defaultPath();
    QString path() const { return m_path; }

    // Lists the id for these types, each behind the applications listed for it, and for no
    // other. False when the file could not be written; a file left as it was needs no write.
    bool list(const QString &desktopId, const QStringList &mimeTypes) const;
    // Takes the id out of every type's list, and a line that lists nothing else with it; a pin
    // goes only while its line is still exactly as it was written.
    bool remove(const QString &desktopId, const Pins &pins = {}) const;

    static QByteArray withListed(
        const QByteArray &text, const QString &desktopId, const QStringList &mimeTypes);
    static QByteArray withRemoved(const QByteArray &text, const QString &desktopId);
    // Whether a [Default Applications] line for the type names the id.
    static bool setsDefault(const QByteArray &text, const QString &mimeType, const QString &desktopId);
    // Whether an [Added Associations] line for the type lists the id.
    static bool addsAssociation(const QByteArray &text, const QString &mimeType, const QString &desktopId);
    static QByteArray withUnpinned(const QByteArray &text, const QString &mimeType, const QString &desktopId);

private:
    std::optional<QByteArray> contents() const;
    bool rewrite(const QByteArray &before, const QByteArray &after) const;

    QString m_path;
};
