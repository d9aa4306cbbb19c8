#include "DesktopDefaults.h"

#include "MimeAppsList.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

// The desktop answers at once; a tool that hangs must not hold up the settings dialog.
constexpr int kAnswerTimeoutMs = 5000;

QByteArray answerOf(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.remove(QStringLiteral("LANGUAGE"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(kAnswerTimeoutMs)) {
        process.kill();
        process.waitForFinished(kAnswerTimeoutMs);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

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

// GIO decides for GNOME and most other desktops and file managers; xdg-mime's own reading is
// the generic one. Where the two differ (GIO also follows a parent type's default, xdg-mime
// does not), GIO's answer is the one kept.
QString DesktopDefaults::current(const QString &mimeType) const
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (!gio.isEmpty())
        return gioAnswer(answerOf(gio, { QStringLiteral("mime"), mimeType }));
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return {};
    const QStringList query { QStringLiteral("query"), QStringLiteral("default"), mimeType };
    const QString answer = QString::fromUtf8(answerOf(xdgMime, query)).trimmed();
    return answer.contains(u'\n') ? QString() : answer;
}

QString DesktopDefaults::gioAnswer(const QByteArray &output)
{
    static const QRegularExpression defaultLine(
        QStringLiteral("^Default application for .*: (\\S+)$"), QRegularExpression::MultilineOption);
    return defaultLine.match(QString::fromUtf8(output)).captured(1);
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
