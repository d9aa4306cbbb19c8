#pragma once

#include <QJsonObject>
#include <QStringList>

class QTextStream;

// "tsmeta read": one JSON object per file, one per line, with the values a document window
// would show after opening the file; "-" is standard input.
class ReadCommand
{
public:
    static QJsonObject describe(const QString &path);
    // Returns true when every file was read.
    static bool run(const QStringList &paths, QTextStream &out, QTextStream &err);
};
