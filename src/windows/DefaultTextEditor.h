#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Which program shows a file's text: the user's $VISUAL, else the desktop's default
// application for plain text (mimeapps.list and its desktop entry), else xdg-open.
class DefaultTextEditor
{
public:
    struct Command
    {
        QString program;
        QStringList arguments;
    };

    static Command forFile(const QString &path);

    // "$VISUAL" may carry options of its own: "gvim -f".
    static std::optional<Command> fromVisual(const QString &visual, const QString &path);
    // The first installed, launchable desktop entry listed as the default for the type.
    static QString defaultEntryFile(const QString &mimeType);
    static std::optional<Command> fromDesktopEntry(const QString &entryFile, const QString &path);
    // Splits an Exec value into arguments and puts the path in place of its file codes.
    static QStringList expandExec(const QString &exec, const QString &path);

private:
    static QStringList defaultEntryIds(const QString &mimeType);
    static QString installedEntry(const QString &id);
};
