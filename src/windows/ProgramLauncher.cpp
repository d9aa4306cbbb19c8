#include "ProgramLauncher.h"

#include "DesktopApplication.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool ProgramLauncher::start(const QString &program, const QStringList &arguments)
{
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

void ProgramLauncher::open(const DesktopApplication &application, const QString &file,
    std::function<void(const QString &)> whenFailed)
{
    application.open(file, std::move(whenFailed));
}

bool ProgramLauncher::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
