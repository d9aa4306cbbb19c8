#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>

// Points the user's configuration and data folders at a fresh temporary folder, so a
// test never reads or writes the real user's files.
class TestHome
{
public:
    TestHome()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
    }

    QString path() const { return m_dir.path(); }
    QString configFolder() const { return m_dir.filePath(QStringLiteral("config")); }

    // Writes a file below the temporary folder and returns its path.
    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString filePath = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(filePath).path());
        QFile file(filePath);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return filePath;
    }

    // A device every write to fails as on a full disk. As root, who could replace the
    // machine's /dev/full through a slip in a save, a node of the test's own when the folder
    // allows devices; else the machine's, which nobody else can replace.
    QString fullDevice() const
    {
        const QString node = m_dir.filePath(QStringLiteral("full"));
        if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
            QFile device(node);
            if (device.open(QIODevice::WriteOnly))
                return node;
        }
        return QStringLiteral("/dev/full");
    }

private:
    QTemporaryDir m_dir;
};

// A file's bytes; none when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
