#pragma once

#include "TsmetaCommand.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

// One in-process run of tsmeta: its exit status, what it printed, and each printed line
// read as a JSON object (empty for lines that are not JSON).
struct TsmetaRun
{
    int status = -1;
    QList<QJsonObject> lines;
    QString out;
    QString err;
};

inline TsmetaRun runTsmeta(const QStringList &arguments)
{
    TsmetaRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = TsmetaCommand::run(QStringList { QStringLiteral("tsmeta") } + arguments, out, err);
    out.flush();
    err.flush();
    for (const QString &row : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        run.lines.append(QJsonDocument::fromJson(row.toUtf8()).object());
    return run;
}
