#include "TsmetaCommand.h"

#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <malloc.h>

// No application object: nothing here runs an event loop, and making one (the locale,
// the logging rules, an event dispatcher) costs a good part of reading one small page.
int main(int argc, char *argv[])
{
    // A fixed threshold: the allocator otherwise raises it to the size of each large page
    // freed, after which large pages come from the heap and its memory is kept, so that an
    // audit would grow with the number of pages it reads.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return TsmetaCommand::run(arguments, out, err);
}
