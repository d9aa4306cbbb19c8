#include "ApplyCommand.h"

#include "JsonLines.h"
#include "MetaOptions.h"

#include "ByteView.h"
#include "DocumentFile.h"
#include "DocumentSaver.h"
#include "ProgramVersion.h"
#include "UnifiedDiff.h"

#include <QFile>
#include <QTextStream>

#include <optional>

namespace {

struct PlannedRequest
{
    std::optional<DocumentSaver::Request> request;
    QString error;
};

// The save the editor would make: the page opened as it opens it, the values given set.
PlannedRequest requestFor(const QString &path, const MetaOptions &options, bool backup)
{
    const DocumentFile::OpenResult opened = DocumentFile::open(path);
    if (!opened.ok)
        return { std::nullopt, opened.error };
    MetaElementSet values = opened.document.values();
    options.applyTo(values);
    return { DocumentSaver::Request { path, path, path, values, ProgramVersion::version(), backup }, {} };
}

DocumentSaver::Result failure(const QString &error)
{
    DocumentSaver::Result failed;
    failed.error = error;
    return failed;
}

DocumentSaver::Preview previewFor(const QString &path, const MetaOptions &options, bool backup)
{
    const PlannedRequest planned = requestFor(path, options, backup);
    if (planned.request)
        return DocumentSaver::preview(*planned.request);
    return { failure(planned.error), {}, {} };
}

QJsonObject lineFor(const QString &path, const DocumentSaver::Result &result)
{
    QJsonObject line { { QStringLiteral("path"), path }, { QStringLiteral("ok"), result.ok } };
    if (!result.backupPath.isEmpty())
        line[QStringLiteral("backup")] = result.backupPath;
    if (!result.ok)
        line[QStringLiteral("error")] = result.error;
    return line;
}

// "PATH: reason" on one line, whichever form the reason came in.
QString errorLine(const QString &path, const QString &error)
{
    QStringList parts = error.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    parts.removeAll(path);
    const QString reason = parts.join(QLatin1Char(' '));
    return reason.startsWith(path + QStringLiteral(": ")) ? reason : path + QStringLiteral(": ") + reason;
}

bool printDiffs(
    const QStringList &paths, const MetaOptions &options, bool backup, QTextStream &out, QTextStream &err)
{
    // The diff holds the page's own bytes in whatever encoding; Latin-1 passes them through.
    out.setEncoding(QStringConverter::Latin1);
    bool allOk = true;
    for (const QString &path : paths) {
        QByteArray diff;
        QString error;
        if (ApplyCommand::diffOf(path, options, backup, diff, error)) {
            out << QString::fromLatin1(diff);
            out.flush();
        } else {
            err << "tsmeta: " << error << '\n';
            err.flush();
            allOk = false;
        }
    }
    return allOk;
}

} // namespace

QJsonObject ApplyCommand::applyTo(const QString &path, const MetaOptions &options, bool backup)
{
    const PlannedRequest planned = requestFor(path, options, backup);
    return lineFor(path, planned.request ? DocumentSaver::save(*planned.request) : failure(planned.error));
}

QJsonObject ApplyCommand::dryRunOf(const QString &path, const MetaOptions &options, bool backup)
{
    const DocumentSaver::Result result = previewFor(path, options, backup).result;
    QJsonObject line = lineFor(path, result);
    line[QStringLiteral("dryRun")] = true;
    if (result.ok)
        line[QStringLiteral("changed")] = result.changed;
    return line;
}

bool ApplyCommand::diffOf(
    const QString &path, const MetaOptions &options, bool backup, QByteArray &diff, QString &error)
{
    const DocumentSaver::Preview preview = previewFor(path, options, backup);
    if (!preview.result.ok) {
        error = errorLine(path, preview.result.error);
        return false;
    }
    const QByteArray name = QFile::encodeName(path);
    diff = QByteArray::fromStdString(UnifiedDiff::between(
        byteView(preview.before), byteView(preview.after), byteView(name), byteView(name)));
    return true;
}

bool ApplyCommand::run(const QStringList &paths, const MetaOptions &options, bool backup, Mode mode,
    QTextStream &out, QTextStream &err)
{
    switch (mode) {
    case Mode::Save:
        return JsonLines::forEach(
            paths, out, [&](const QString &path) { return applyTo(path, options, backup); });
    case Mode::DryRun:
        return JsonLines::forEach(
            paths, out, [&](const QString &path) { return dryRunOf(path, options, backup); });
    case Mode::Diff:
        return printDiffs(paths, options, backup, out, err);
    }
    return false;
}
