#pragma once

#include <QCoreApplication>
#include <QStringList>

class QCommandLineParser;
class QTextStream;

// tsmeta: reads and rewrites the META tags of many pages without a window.
class TsmetaCommand
{
    // All of tsmeta's texts share one translation context.
    Q_DECLARE_TR_FUNCTIONS(tsmeta)

public:
    // SomeFailed also when standard output could not be written: a report that was lost is
    // no report. CheckFailed: --check found something to report.
    enum ExitStatus { AllOk = 0, SomeFailed = 1, UsageError = 2, CheckFailed = 3 };

    // arguments as QCoreApplication::arguments() gives them, program name first.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

private:
    static int runCommand(const QCommandLineParser &parser, QTextStream &out, QTextStream &err);
};
