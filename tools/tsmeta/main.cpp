#include "TsmetaCommand.h"

#include <QStringList>
#include <QTextStream>

#include <cstdio>

// No application object: nothing here runs an event loop, and making one (the locale,
// the logging rules, an event dispatcher) costs a good part of reading one small page.
int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return TsmetaCommand::run(arguments, out, err);
}
