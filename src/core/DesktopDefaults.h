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

    // The desktop id of what GIO opens the type with; empty when nothing opens it.
    QString current(const QString &mimeType) const;
    // Whether GIO, looking for the type's default, meets desktopId before an application
    // listed last on the type's [Added Associations] line of the user's list: named by a
    // [Default Applications] line of any list the desktop reads (every such line comes before
    // every listing), or listed on that line itself.
    bool comesBeforeUserListing(const QString &mimeType, const QString &desktopId) const;

private:
    // The lists the desktop reads, the ones of the current desktop first in every folder.
    QStringList listFiles() const;

    QString m_userList;
};
