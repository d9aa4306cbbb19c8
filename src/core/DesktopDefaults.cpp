#include "DesktopDefaults.h"

#include "DesktopApplication.h"
#include "MimeAppsList.h"

#include <QFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

QStringList desktopNames()
{
    QStringList names;
    const QStringList current = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    for (const QString &name : current)
        names.append(name.toLower());
    return names;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

DesktopDefaults::DesktopDefaults(QString userList)
    : m_userList(std::move(userList))
{
}

// GIO decides for GNOME and most other desktops and file managers. Where xdg-mime's own
// reading differs (GIO also follows a parent type's default, xdg-mime does not), GIO's answer
// is the one kept.
QString DesktopDefaults::current(const QString &mimeType) const
{
    const std::optional<DesktopApplication> application = DesktopApplication::defaultFor(mimeType);
    return application ? application->id() : QString();
}

bool DesktopDefaults::comesBeforeUserListing(const QString &mimeType, const QString &desktopId) const
{
    if (MimeAppsList::addsAssociation(readAll(m_userList), mimeType, desktopId))
        return true;
    const QStringList files = listFiles();
    return std::any_of(files.begin(), files.end(),
        [&](const QString &file) { return MimeAppsList::setsDefault(readAll(file), mimeType, desktopId); });
}

QStringList DesktopDefaults::listFiles() const
{
    const QStringList desktops = desktopNames();
    QStringList files;
    const auto addFolder = [&](const QString &folder, bool withLegacyList) {
        for (const QString &desktop : desktops)
            files.append(folder + u'/' + desktop + QStringLiteral("-mimeapps.list"));
        files.append(folder + QStringLiteral("/mimeapps.list"));
        if (withLegacyList)
            files.append(folder + QStringLiteral("/defaults.list"));
    };
    files.append(m_userList);
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        addFolder(folder, false);
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        addFolder(folder, true);
    files.removeDuplicates();
    return files;
}
