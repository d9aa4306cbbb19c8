#include "ProgramFile.h"

#include <QCoreApplication>
#include <QFileInfo>

QString ProgramFile::name()
{
    // Without an application object there is no program file to ask; the shipped name serves.
    if (!QCoreApplication::instance())
        return QStringLiteral("tagsmith");
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString ProgramFile::errorSource(QStringView controlName)
{
    return name() + QLatin1Char('.') + controlName;
}
