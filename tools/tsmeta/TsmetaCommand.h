#pragma once

#include <QCoreApplication>
#include <QStringList>

class QTextStream;

// tsmeta: reads and rewrites the META tags of many pages without a window.
// Exit status: 0 when every file was handled, 1 when any was not, 2 for a usage error.
class TsmetaCommand
{
    // All of tsmeta's texts share one translation context.
    Q_DECLARE_TR_FUNCTIONS(tsmeta)

public:
    enum ExitStatus { AllOk = 0, SomeFailed = 1, UsageError = 2, CheckFailed = 3 };

    // arguments as QCoreApplication::arguments() gives them, program name first.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
};
