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
    // The line as write writes it, its line end included.
    static QString lineOf(const QJsonObject &line);
    // Writes describe(path) for each path; true when every line has "ok": true.
    static bool forEach(const QStringList &paths, QTextStream &out,
        const std::function<QJsonObject(const QString &)> &describe);
};
