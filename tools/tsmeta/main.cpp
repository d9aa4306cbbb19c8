#include "TsmetaCommand.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <malloc.h>
#include <unistd.h>

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
    // On the descriptors rather than stdout and stderr: no stdio buffer is left to be
    // flushed at exit, after the check that all output was written, where a failure would
    // go unnoticed.
    QFile standardOutput;
    QFile standardError;
    // As stdio does it: a terminal shows each write as it is made, a pipe or a file takes
    // them in blocks.
    const QIODevice::OpenMode buffering = isatty(STDOUT_FILENO) ? QIODevice::Unbuffered : QIODevice::NotOpen;
    standardOutput.open(STDOUT_FILENO, QIODevice::WriteOnly | buffering, QFileDevice::DontCloseHandle);
    standardError.open(
        STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);
    QTextStream out(&standardOutput);
    QTextStream err(&standardError);
    return TsmetaCommand::run(arguments, out, err);
}
