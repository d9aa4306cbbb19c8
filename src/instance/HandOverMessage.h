#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What a later copy tells the running one: the absolute paths of its command line, each
// one's bytes followed by a NUL, the one byte no path holds, so that blanks, quotes and
// newlines in names arrive as they were. A site to open comes as two more records, the
// word "--site" and its folder: every path sent is absolute, so none reads as that word.
// No path and no site at all is the empty message, which only asks for the window.
class HandOverMessage
{
public:
    static QByteArray encode(const QStringList &paths, const std::optional<QString> &site = std::nullopt);
    // The paths, without the site. Earlier versions sent their arguments joined by spaces,
    // with no NUL anywhere: such a message is one argument, to be resolved by the receiver
    // like its own, since the sender's working folder did not travel with it.
    static QStringList decode(const QByteArray &message);
    static std::optional<QString> siteOf(const QByteArray &message);

private:
    static QStringList records(const QByteArray &message);
};
