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

bool JsonLines::forEach(
    const QStringList &paths, QTextStream &out, const std::function<QJsonObject(const QString &)> &describe)
{
    bool allOk = true;
    for (const QString &path : paths) {
        const QJsonObject line = describe(path);
        allOk = line.value(QStringLiteral("ok")).toBool() && allOk;
        write(line, out);
    }
    return allOk;
}
