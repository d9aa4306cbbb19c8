#pragma once

#include <QJsonObject>
#include <QStringList>

#include <functional>

class QTextStream;

// One compact JSON object per line, written as soon as it is known.
class JsonLines
{
public:
    static void write(const QJsonObject &line, QTextStream &out);
    // Writes describe(path) for each path; true when every line has "ok": true.
    static bool forEach(const QStringList &paths, QTextStream &out,
        const std::function<QJsonObject(const QString &)> &describe);
};
