#pragma once

#include <QByteArray>
#include <QStringList>

// What a later copy tells the running one: the absolute paths of its command line, each
// one's bytes followed by a NUL, the one byte no path holds, so that blanks, quotes and
// newlines in names arrive as they were. No path at all is the empty message, which only
// asks for the window.
class HandOverMessage
{
public:
    static QByteArray encode(const QStringList &paths);
    // Earlier versions sent their arguments joined by spaces, with no NUL anywhere: such a
    // message is one argument, to be resolved by the receiver like its own, since the
    // sender's working folder did not travel with it.
    static QStringList decode(const QByteArray &message);
};
