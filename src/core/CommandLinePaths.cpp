#include "CommandLinePaths.h"

QStringList CommandLinePaths::fromArguments(const QStringList &arguments, const QString &workingFolder)
{
    QStringList paths;
    for (const QString &argument : arguments) {
        if (!namesNothing(argument))
            paths.append(absolute(argument, workingFolder));
    }
    return paths;
}

bool CommandLinePaths::namesNothing(const QString &argument)
{
    return argument.trimmed().isEmpty() || argument == QLatin1String("--");
}

QString CommandLinePaths::absolute(const QString &path, const QString &workingFolder)
{
    // Not QDir::isAbsolutePath: it takes ":name" for a compiled-in resource, not a file here.
    if (path.startsWith(QLatin1Char('/')))
        return path;
    const bool separated = workingFolder.endsWith(QLatin1Char('/'));
    return workingFolder + (separated ? QString() : QStringLiteral("/")) + path;
}
