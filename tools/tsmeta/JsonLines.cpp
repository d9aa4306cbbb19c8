#include "JsonLines.h"

#include <QJsonDocument>
#include <QTextStream>

void JsonLines::write(const QJsonObject &line, QTextStream &out)
{
    out << QString::fromUtf8(QJsonDocument(line).toJson(QJsonDocument::Compact)) << '\n';
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
