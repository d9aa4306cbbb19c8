#pragma once

#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

// A desktop of the test's own, in its home: the "system" applications in system/applications
// (the only system data folder), and programs standing in for real ones that write down the
// arguments they were given. Nothing of the machine's desktop is asked or started.
class StandInDesktop
{
public:
    explicit StandInDesktop(const TestHome &home)
        : m_home(home)
    {
        qputenv("XDG_DATA_DIRS", QFile::encodeName(home.path() + QStringLiteral("/system")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(home.path() + QStringLiteral("/system-config")));
        for (const char *name : { "XDG_CURRENT_DESKTOP", "DBUS_SESSION_BUS_ADDRESS", "DISPLAY" })
            qunsetenv(name);
    }

    // A program below the home that writes its arguments, each ended by a NUL, next to itself.
    QString standIn(const QString &name) const
    {
        const QString path = m_home.write(name,
            "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.part\" && mv \"$0.part\" "
            "\"$0.args\"\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        return path;
    }
    static QStringList argumentsOf(const QString &standInPath)
    {
        QFile file(standInPath + QStringLiteral(".args"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList arguments = QString::fromUtf8(file.readAll()).split(QChar(0));
        arguments.removeLast();
        return arguments;
    }
    static bool wasStarted(const QString &standInPath) { return QFile::exists(standInPath + QStringLiteral(".args")); }

    // An application's entry among the system's, its Exec line the program below the home and
    // what follows it ("bin/editor\" %F"), claiming the types given ("text/plain;"); more
    // lines of the entry after them.
    bool install(const QString &id, const QByteArray &exec, const QByteArray &types,
        const QByteArray &more = {}) const
    {
        return !m_home.write(QStringLiteral("system/applications/") + id,
                        "[Desktop Entry]\nType=Application\nName=" + id.toUtf8() + "\nExec=\""
                            + QFile::encodeName(m_home.path()) + '/' + exec + "\nMimeType=" + types + "\n" + more)
                    .isEmpty();
    }
    // What dpkg's trigger does after a package installs an application: the MIME cache, through
    // which the desktop finds an application by the types its entry lists.
    bool renewMimeCache() const
    {
        const QString folder = m_home.path() + QStringLiteral("/system/applications");
        return QDir().mkpath(folder) && QProcess::execute(QStringLiteral("update-desktop-database"), { folder }) == 0;
    }

private:
    const TestHome &m_home;
};
