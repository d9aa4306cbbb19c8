#pragma once

#include <QString>
#include <QStringList>

// Which application the desktop opens a MIME type with, asked of the desktop itself, and
// whether a [Default Applications] line decides that.
class DesktopDefaults
{
public:
    // userList: the user's mimeapps.list, read with the lists the desktop keeps elsewhere.
    explicit DesktopDefaults(QString userList);

    // GIO's answer, or xdg-mime's where GIO is not installed; empty when the type has no
    // default or no answer came in time.
    QString current(const QString &mimeType) const;
    // Whether a [Default Applications] line of any list the desktop reads names desktopId
    // for the type. Such a line comes before every [Added Associations] listing.
    bool isChosen(const QString &mimeType, const QString &desktopId) const;

    // The desktop id in what `gio mime TYPE` printed in the C locale.
    static QString gioAnswer(const QByteArray &output);

private:
    // The lists the desktop reads, the ones of the current desktop first in every folder.
    QStringList listFiles() const;

    QString m_userList;
};
