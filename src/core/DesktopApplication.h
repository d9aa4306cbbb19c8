#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// An application installed on the desktop, as GIO, which file managers and most desktops
// ask, knows it.
class DesktopApplication
{
public:
    // What the desktop opens files of the type with: the application a [Default Applications]
    // line names, else one listed or installed for the type (its MIME cache), else the same
    // for a type it is a kind of. None when nothing installed opens it.
    static std::optional<DesktopApplication> defaultFor(const QString &mimeType);

    // "org.example.Editor.desktop"
    QString id() const;
    QString name() const;

    // Starts the application on the file as the desktop would, and returns at once: a slow
    // session bus or program start never holds up the caller. whenFailed gets the reason
    // later, on this thread, from its event loop.
    void open(const QString &filePath, std::function<void(const QString &reason)> whenFailed) const;

private:
    struct Info;
    explicit DesktopApplication(std::shared_ptr<const Info> info);

    std::shared_ptr<const Info> m_info;
};
