#pragma once

#include <QString>
#include <QStringList>

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
    // A web address in the user's browser.
    virtual bool openUrl(const QUrl &url);
};
