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
    // Writes describe(path) for each path; true when every line has "ok": true. A file
    // that was not handled is named on err too, where a user reading no JSON, or asking
    // for quiet, still sees it.
    static bool forEach(const QStringList &paths, QTextStream &out, QTextStream &err,
        const std::function<QJsonObject(const QString &)> &describe);
    // Writes the line of one file, naming it on err too when it was not handled; whether it was.
    static bool writeOutcome(
        const QString &path, const QJsonObject &line, QTextStream &out, QTextStream &err);
    // "tsmeta: PATH: reason" on one line, whichever form the reason came in.
    static void reportFailure(const QString &path, const QString &error, QTextStream &err);
};
