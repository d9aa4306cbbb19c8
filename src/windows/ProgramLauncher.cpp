#include "ProgramLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool ProgramLauncher::start(const QString &program, const QStringList &arguments)
{
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

bool ProgramLauncher::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
