#pragma once

#include "DesktopApplication.h"

#include <QString>
#include <QStringList>

#include <optional>

// Which program shows a file's text: the user's $VISUAL, else the application the desktop
// opens plain text with. Never the application of the file's own type: for a web page that
// is a browser, or this program.
class DefaultTextEditor
{
public:
    struct Command
    {
        QString program;
        QStringList arguments;
    };

    // "$VISUAL" may carry options of its own: "gvim -f".
    static std::optional<Command> fromVisual(const QString &visual, const QString &path);
    // Found by a [Default Applications] line as well as by an editor whose entry merely lists
    // plain text among its types, the common case after an editor is installed.
    static std::optional<DesktopApplication> forPlainText();
};
