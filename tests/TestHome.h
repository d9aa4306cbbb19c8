#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

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

private:
    QTemporaryDir m_dir;
};

// A file's bytes; none when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
