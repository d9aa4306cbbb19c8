#pragma once

#include "TsmetaCommand.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

// One in-process run of tsmeta: its exit status, what it printed, and each printed line
// read as a JSON object (empty for lines that are not JSON). A diff prints Latin-1, one
// character per page byte.
struct TsmetaRun
{
    int status = -1;
    QList<QJsonObject> lines;
    QString out;
    QString err;
};

// Run in `folder` when one is given, so that relative paths are read from there.
inline TsmetaRun runTsmeta(const QStringList &arguments, const QString &folder = {})
{
    const QString started = QDir::currentPath();
    if (!folder.isEmpty())
        QDir::setCurrent(folder);
    TsmetaRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = TsmetaCommand::run(QStringList { QStringLiteral("tsmeta") } + arguments, out, err);
    out.flush();
    err.flush();
    QDir::setCurrent(started);
    for (const QString &row : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        run.lines.append(QJsonDocument::fromJson(row.toUtf8()).object());
    return run;
}
