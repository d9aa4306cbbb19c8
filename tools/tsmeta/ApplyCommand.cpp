#include "ApplyCommand.h"

#include "JsonLines.h"
#include "PageSource.h"

#include "ByteView.h"
#include "DocumentFile.h"
#include "DocumentRewriter.h"
#include "DocumentSaver.h"
#include "ProgramVersion.h"
#include "ResourceText.h"
#include "StringTable.h"
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
PlannedRequest requestFor(const QString &path, const MetaEdit &edit, bool backup)
{
    const DocumentFile::OpenResult opened = DocumentFile::open(path);
    if (!opened.ok)
        return { std::nullopt, opened.error };
    MetaElementSet values = opened.document.values();
    edit.applyTo(values);
    return { DocumentSaver::Request { path, path, path, values, ProgramVersion::version(), backup }, {} };
}

DocumentSaver::Result failure(const QString &error)
{
    DocumentSaver::Result failed;
    failed.error = error;
    return failed;
}

// The save of the page standard input holds, worked out as a file's would be; there is no
// file to check or back up, and nothing is written.
DocumentSaver::Preview standardInputPreview(const MetaEdit &edit)
{
    const DocumentFile::OpenResult opened = PageSource::open(QStringLiteral("-"));
    if (!opened.ok)
        return { failure(opened.error), {}, {} };
    MetaElementSet values = opened.document.values();
    edit.applyTo(values);
    const auto after
        = DocumentRewriter::save(byteView(opened.bytes), values, ProgramVersion::version().toStdString());
    if (!after)
        return { failure(ResourceText::status(StringId::NoHeadSection)), {}, {} };
    DocumentSaver::Preview preview { {}, opened.bytes, QByteArray::fromStdString(*after) };
    preview.result.ok = true;
    preview.result.changed = preview.after != preview.before;
    return preview;
}

DocumentSaver::Preview previewFor(const QString &path, const MetaEdit &edit, bool backup)
{
    if (PageSource::isStandardInput(path))
        return standardInputPreview(edit);
    const PlannedRequest planned = requestFor(path, edit, backup);
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

// The page's own bytes in whatever encoding; Latin-1 passes them through.
void writeBytes(const QByteArray &bytes, QTextStream &out)
{
    out.setEncoding(QStringConverter::Latin1);
    out << QString::fromLatin1(bytes);
    out.flush();
}

// A filter: the page on standard input, saved, to standard output.
bool writeStandardInputSaved(const MetaEdit &edit, QTextStream &out, QTextStream &err)
{
    const DocumentSaver::Preview preview = standardInputPreview(edit);
    if (!preview.result.ok) {
        JsonLines::reportFailure(QStringLiteral("-"), preview.result.error, err);
        return false;
    }
    writeBytes(preview.after, out);
    return true;
}

ApplyCommand::Outcome printDiffs(const QList<ApplyCommand::Page> &pages, bool backup, QTextStream &out, QTextStream &err)
{
    ApplyCommand::Outcome outcome;
    for (const ApplyCommand::Page &page : pages) {
        QByteArray diff;
        QString error;
        if (ApplyCommand::diffOf(page.path, page.edit, backup, diff, error)) {
            writeBytes(diff, out);
            outcome.anyChanged = outcome.anyChanged || !diff.isEmpty();
        } else {
            JsonLines::reportFailure(page.path, error, err);
            outcome.allOk = false;
        }
    }
    return outcome;
}

} // namespace

QJsonObject ApplyCommand::applyTo(const QString &path, const MetaEdit &edit, bool backup)
{
    const PlannedRequest planned = requestFor(path, edit, backup);
    return lineFor(path, planned.request ? DocumentSaver::save(*planned.request) : failure(planned.error));
}

QJsonObject ApplyCommand::dryRunOf(const QString &path, const MetaEdit &edit, bool backup)
{
    const DocumentSaver::Result result = previewFor(path, edit, backup).result;
    QJsonObject line = lineFor(path, result);
    line[QStringLiteral("dryRun")] = true;
    if (result.ok)
        line[QStringLiteral("changed")] = result.changed;
    return line;
}

bool ApplyCommand::diffOf(
    const QString &path, const MetaEdit &edit, bool backup, QByteArray &diff, QString &error)
{
    const DocumentSaver::Preview preview = previewFor(path, edit, backup);
    if (!preview.result.ok) {
        error = preview.result.error;
        return false;
    }
    const QByteArray name = QFile::encodeName(path);
    diff = QByteArray::fromStdString(UnifiedDiff::between(
        byteView(preview.before), byteView(preview.after), byteView(name), byteView(name)));
    return true;
}

ApplyCommand::Outcome ApplyCommand::run(
    const QStringList &paths, const MetaEdit &edit, bool backup, Mode mode, QTextStream &out, QTextStream &err)
{
    QList<Page> pages;
    for (const QString &path : paths)
        pages.append({ path, edit });
    return run(pages, backup, mode, out, err);
}

ApplyCommand::Outcome ApplyCommand::run(
    const QList<Page> &pages, bool backup, Mode mode, QTextStream &out, QTextStream &err)
{
    Outcome outcome;
    switch (mode) {
    case Mode::Save:
        if (pages.size() == 1 && PageSource::isStandardInput(pages.first().path)) {
            outcome.allOk = writeStandardInputSaved(pages.first().edit, out, err);
            break;
        }
        for (const Page &page : pages)
            outcome.allOk = JsonLines::writeOutcome(page.path, applyTo(page.path, page.edit, backup), out, err)
                && outcome.allOk;
        break;
    case Mode::DryRun:
        for (const Page &page : pages) {
            const QJsonObject line = dryRunOf(page.path, page.edit, backup);
            outcome.anyChanged = outcome.anyChanged || line.value(QStringLiteral("changed")).toBool();
            outcome.allOk = JsonLines::writeOutcome(page.path, line, out, err) && outcome.allOk;
        }
        break;
    case Mode::Diff:
        outcome = printDiffs(pages, backup, out, err);
        break;
    }
    return outcome;
}
