#include "ApplyCommand.h"

#include "JsonLines.h"
#include "MetaOptions.h"

#include "document/DocumentFile.h"
#include "document/DocumentSaver.h"
#include "shell/ProgramVersion.h"

QJsonObject ApplyCommand::applyTo(const QString &path, const MetaOptions &options, bool backup)
{
    QJsonObject line { { QStringLiteral("path"), path } };
    const DocumentFile::OpenResult opened = DocumentFile::open(path);
    if (!opened.ok) {
        line[QStringLiteral("ok")] = false;
        line[QStringLiteral("error")] = opened.error;
        return line;
    }
    MetaElementSet values = opened.document.values();
    options.applyTo(values);
    const DocumentSaver::Result saved
        = DocumentSaver::save({ path, path, path, values, ProgramVersion::version(), backup });
    line[QStringLiteral("ok")] = saved.ok;
    if (!saved.backupPath.isEmpty())
        line[QStringLiteral("backup")] = saved.backupPath;
    if (!saved.ok)
        line[QStringLiteral("error")] = saved.error;
    return line;
}

bool ApplyCommand::run(const QStringList &paths, const MetaOptions &options, bool backup, QTextStream &out)
{
    return JsonLines::forEach(
        paths, out, [&](const QString &path) { return applyTo(path, options, backup); });
}
