#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// The user's mimeapps.list, where the desktop keeps which applications open which types.
// The program lists itself under [Added Associations], behind the applications already
// listed there: it joins the choices without becoming the default. Where that listing would
// make it the default after all, the application that was the default is pinned under
// [Default Applications]; a line there the program did not write is never touched. Every
// line it did not add keeps its bytes.
class MimeAppsList
{
public:
    // MIME type -> desktop id kept as its default.
    using Pins = QMap<QString, QString>;

    explicit MimeAppsList(QString path);

    // $XDG_CONFIG_HOME/mimeapps.list
    static QString defaultPath();
    QString path() const { return m_path; }

    // False when the file could not be written; a file left as it was needs no write.
    bool add(const QString &desktopId, const QStringList &mimeTypes, const Pins &pins = {}) const;
    // Takes the id out of every type's list, and a line that lists nothing else with it; a pin
    // goes only while its line is still exactly as it was written.
    bool remove(const QString &desktopId, const Pins &pins = {}) const;
    // Whether the file has a [Default Applications] line for the type.
    bool setsDefault(const QString &mimeType) const;

    static QByteArray withAdded(
        const QByteArray &text, const QString &desktopId, const QStringList &mimeTypes);
    static QByteArray withRemoved(const QByteArray &text, const QString &desktopId);
    // An empty desktopId asks for any line of the type.
    static bool setsDefault(const QByteArray &text, const QString &mimeType, const QString &desktopId = {});
    static QByteArray withPinned(const QByteArray &text, const QString &mimeType, const QString &desktopId);
    static QByteArray withUnpinned(const QByteArray &text, const QString &mimeType, const QString &desktopId);

private:
    std::optional<QByteArray> contents() const;
    bool rewrite(const QByteArray &before, const QByteArray &after) const;

    QString m_path;
};
