#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The user's mimeapps.list, where the desktop keeps which applications open which types.
// The program only ever lists itself under [Added Associations], behind the applications
// already listed there, and never touches [Default Applications]: it joins the choices
// without becoming the default. Every line it did not add keeps its bytes.
class MimeAppsList
{
public:
    explicit MimeAppsList(QString path);

    // $XDG_CONFIG_HOME/mimeapps.list
    static QString defaultPath();
    QString path() const { return m_path; }

    // False when the file could not be written; a file left as it was needs no write.
    bool add(const QString &desktopId, const QStringList &mimeTypes) const;
    // Takes the id out of every type's list, and a line that lists nothing else with it.
    bool remove(const QString &desktopId) const;

    static QByteArray withAdded(
        const QByteArray &text, const QString &desktopId, const QStringList &mimeTypes);
    static QByteArray withRemoved(const QByteArray &text, const QString &desktopId);

private:
    bool rewrite(const QByteArray &before, const QByteArray &after) const;

    QString m_path;
};
