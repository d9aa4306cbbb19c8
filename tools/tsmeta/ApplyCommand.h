#pragma once

#include <QJsonObject>
#include <QStringList>

class MetaOptions;
class QTextStream;

// "tsmeta apply": opens each file as the editor does, sets the given values and saves it
// as the editor does, backup included. One JSON object per file, one per line.
class ApplyCommand
{
public:
    static QJsonObject applyTo(const QString &path, const MetaOptions &options, bool backup);
    // Returns true when every file was saved.
    static bool run(const QStringList &paths, const MetaOptions &options, bool backup, QTextStream &out);
};
