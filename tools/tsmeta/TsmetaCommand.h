#pragma once

#include <QStringList>

class QTextStream;

// tsmeta: reads and rewrites the META tags of many pages without a window.
// Exit status: 0 when every file was handled, 1 when any was not, 2 for a usage error.
class TsmetaCommand
{
public:
    enum ExitStatus { AllOk = 0, SomeFailed = 1, UsageError = 2 };

    // arguments as QCoreApplication::arguments() gives them, program name first.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
};
