#include "JsonLines.h"

#include <QJsonDocument>
#include <QTextStream>

QString JsonLines::lineOf(const QJsonObject &line)
{
    return QString::fromUtf8(QJsonDocument(line).toJson(QJsonDocument::Compact)) + QLatin1Char('\n');
}

void JsonLines::write(const QJsonObject &line, QTextStream &out)
{
    out << lineOf(line);
    out.flush();
}

bool JsonLines::forEach(const QStringList &paths, QTextStream &out, QTextStream &err,
    const std::function<QJsonObject(const QString &)> &describe)
{
    bool allOk = true;
    for (const QString &path : paths)
        allOk = writeOutcome(path, describe(path), out, err) && allOk;
    return allOk;
}

bool JsonLines::writeOutcome(const QString &path, const QJsonObject &line, QTextStream &out, QTextStream &err)
{
    write(line, out);
    if (line.value(QStringLiteral("ok")).toBool())
        return true;
    reportFailure(path, line.value(QStringLiteral("error")).toString(), err);
    return false;
}

void JsonLines::reportFailure(const QString &path, const QString &error, QTextStream &err)
{
    QStringList parts = error.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    parts.removeAll(path);
    const QString reason = parts.join(QLatin1Char(' '));
    err << "tsmeta: "
        << (reason.startsWith(path + QStringLiteral(": ")) ? reason : path + QStringLiteral(": ") + reason)
        << '\n';
    err.flush();
}
