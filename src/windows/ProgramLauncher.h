#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class DesktopApplication;
class QUrl;

// Starts the programs the commands hand work to, without waiting for them. Tests put a
// recording launcher in its place.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;

    // Each argument reaches the program whole, spaces and quotes included. False when the
    // program could not be started.
    virtual bool start(const QString &program, const QStringList &arguments);
    // The file in an application of the desktop, started as the desktop starts it; a start
    // that fails calls whenFailed with the reason, later.
    virtual void open(const DesktopApplication &application, const QString &file,
        std::function<void(const QString &reason)> whenFailed);
    // A web address in the user's browser.
    virtual bool openUrl(const QUrl &url);
};
