#include "TsmetaCommand.h"

#include "ApplyCommand.h"
#include "AuditCommand.h"
#include "MetaOptions.h"
#include "ReadCommand.h"

#include "LineEnds.h"
#include "TagBlock.h"
#include "SettingsStore.h"
#include "SettingsCatalogue.h"
#include "ProgramVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <unistd.h>

namespace {

const QString kBackup = QStringLiteral("backup");
const QString kNoBackup = QStringLiteral("no-backup");
const QString kLineEnd = QStringLiteral("line-end");
const QString kFormat = QStringLiteral("format");
const QString kJobs = QStringLiteral("jobs");
// More threads than this only queue behind the disk.
constexpr int kMaxJobs = 256;
const QString kDryRun = QStringLiteral("dry-run");
const QString kDiff = QStringLiteral("diff");
const QString kCheck = QStringLiteral("check");

QString helpText()
{
    return TsmetaCommand::tr(
        "Usage: tsmeta <command> [options] FILE...\n"
        "Reads and rewrites the META element tags of web pages without opening a window.\n"
        "\n"
        "Commands:\n"
        "  read FILE...     For each file, print one line of JSON (JSON Lines) with the keys\n"
        "                   path, ok, error (only when not ok), title, description, keywords,\n"
        "                   author, noindex, nofollow, noimageindex, noimageclick, charset,\n"
        "                   robots, lineEnd and encoding. Missing values read as the texts the\n"
        "                   editor shows (\"No description\", \"No, keywords\", \"No author\").\n"
        "  audit [--format jsonl|table] [--jobs N] [--check] PATH...\n"
        "                   Read each page as read does (a folder: every .htm .html .asp .php\n"
        "                   .php3 .phtml .shtml .ssi file below it) and report what a search\n"
        "                   result shows of it and what the editor warns about. One JSON line per\n"
        "                   page: path, ok, error, title, description, keywords, author, robots,\n"
        "                   titlePixels, descriptionPixels (widths in Arial at 20 and 14 px) and\n"
        "                   warnings [{kind, target, message}]. A page's line comes as soon as\n"
        "                   it is settled: at once for a page that has no description or cannot\n"
        "                   be read, or whose description an earlier page has; the pages whose\n"
        "                   description no earlier page had come when all are read, in page\n"
        "                   order. Page lines have no type field; after them comes a line\n"
        "                   {\"type\":\"sharedDescription\", description, pages} for each\n"
        "                   description several pages share, in order of first use, and last\n"
        "                   {\"type\":\"summary\"} with pages, unreadable, missingTitles,\n"
        "                   missingDescriptions, sharedDescriptions (the number of such lines),\n"
        "                   titlesTooLong (over 580 px), descriptionsTooLong (over 920 px) and\n"
        "                   warnings (the count of each kind).\n"
        "                   --format table waits for the last page, so that its columns align,\n"
        "                   and prints the pages in order, then the summary in words.\n"
        "                   Pages are read on N threads (one per core unless --jobs says). When\n"
        "                   standard error is a terminal it shows how many pages have been read.\n"
        "                   --check: exit status 3 when any page has a warning (1 still wins\n"
        "                   when a page cannot be read).\n"
        "  apply [VALUES] [--backup | --no-backup] [--dry-run [--diff]] FILE...\n"
        "                   Open each file as the editor does, set the values given, and save it\n"
        "                   as the editor does: the program's tag block after the HEAD start tag,\n"
        "                   the old managed tags removed, every other byte kept. Values not given\n"
        "                   keep what the file holds. Backups (the name up to its first dot, plus\n"
        "                   .bak) follow the editor's \"Backup Files\" setting unless a flag says\n"
        "                   otherwise. One JSON line per file: path, ok, backup, error.\n"
        "                   --dry-run writes nothing (no page, no backup): each line tells what\n"
        "                   the save would do, with dryRun, changed (whether the page's bytes\n"
        "                   would change) and backup (the backup it would write). --diff, with\n"
        "                   --dry-run, prints instead a unified diff of each page that would\n"
        "                   change, ready for patch -p0; errors go to standard error.\n"
        "  block [VALUES] [--line-end crlf|lf|cr]\n"
        "                   Print the tag block exactly as the editor's META pane shows it.\n"
        "\n"
        "VALUES:\n"
        "  --description TEXT  --keywords TEXT  --author TEXT\n"
        "  --robots LIST       comma-separated noindex, nofollow, noimageindex, noimageclick,\n"
        "                      applied in order; of noindex, noimageindex and noimageclick the\n"
        "                      last one given stays on. An empty LIST clears all four.\n"
        "  --charset on|off    the ISO-8859-1 content-type tag\n"
        "\n"
        "Options:\n"
        "  -h, --help     Show this help.\n"
        "  -v, --version  Show the version.\n"
        "\n"
        "Exit status: 0 when every file was handled, 1 when any was not, 2 for a usage error.\n"
        "\n"
        "Examples:\n"
        "  find site -name '*.html' -print0 | xargs -0 tsmeta read > site.jsonl\n"
        "  tsmeta apply --description \"Fresh bread daily\" --robots noimageindex site/*.html\n"
        "  tsmeta apply --dry-run --diff --author \"Ann Baker\" site/*.html > authors.diff\n");
}

int usageError(QTextStream &err, const QString &message)
{
    err << "tsmeta: " << message << '\n' << TsmetaCommand::tr("Try 'tsmeta --help'.") << '\n';
    err.flush();
    return TsmetaCommand::UsageError;
}

bool backupsWanted(const QCommandLineParser &parser)
{
    if (parser.isSet(kBackup))
        return true;
    if (parser.isSet(kNoBackup))
        return false;
    SettingsStore store;
    return SettingsCatalogue(store).isOn(Setting::BackupFiles);
}

ApplyCommand::Mode applyMode(const QCommandLineParser &parser)
{
    if (!parser.isSet(kDryRun))
        return ApplyCommand::Mode::Save;
    return parser.isSet(kDiff) ? ApplyCommand::Mode::Diff : ApplyCommand::Mode::DryRun;
}

std::optional<std::string_view> lineEndNamed(const QString &name)
{
    if (name == QLatin1String("crlf"))
        return LineEnds::text(LineEnd::CrLf);
    if (name == QLatin1String("lf"))
        return LineEnds::text(LineEnd::Lf);
    if (name == QLatin1String("cr"))
        return LineEnds::text(LineEnd::Cr);
    return std::nullopt;
}

int printBlock(
    const QCommandLineParser &parser, const MetaOptions &values, QTextStream &out, QTextStream &err)
{
    const auto lineEnd
        = lineEndNamed(parser.isSet(kLineEnd) ? parser.value(kLineEnd) : QStringLiteral("crlf"));
    if (!lineEnd)
        return usageError(
            err, TsmetaCommand::tr("--line-end takes crlf, lf or cr, not '%1'").arg(parser.value(kLineEnd)));
    MetaElementSet set;
    values.applyTo(set);
    const std::string block = TagBlock::forView(set, ProgramVersion::version().toStdString(), *lineEnd);
    out << QString::fromStdString(block);
    out.flush();
    return TsmetaCommand::AllOk;
}

// Whether the stream writes to a terminal, where a progress line can be rewritten in place.
bool isTerminal(const QTextStream &stream)
{
    const auto *file = qobject_cast<const QFile *>(stream.device());
    return file && file->handle() >= 0 && isatty(file->handle());
}

int exitStatusOf(AuditCommand::Outcome outcome, bool check)
{
    switch (outcome) {
    case AuditCommand::Outcome::Failed:
        return TsmetaCommand::SomeFailed;
    case AuditCommand::Outcome::Warnings:
        return check ? TsmetaCommand::CheckFailed : TsmetaCommand::AllOk;
    case AuditCommand::Outcome::Clean:
        break;
    }
    return TsmetaCommand::AllOk;
}

int runAudit(const QCommandLineParser &parser, const QStringList &paths, QTextStream &out, QTextStream &err)
{
    for (const QString &name : parser.optionNames()) {
        if (name != kFormat && name != kJobs && name != kCheck)
            return usageError(
                err, TsmetaCommand::tr("audit takes no options but --format, --jobs and --check"));
    }
    const QString formatName = parser.isSet(kFormat) ? parser.value(kFormat) : QStringLiteral("jsonl");
    const auto format = AuditCommand::formatNamed(formatName);
    if (!format)
        return usageError(err, TsmetaCommand::tr("--format takes jsonl or table, not '%1'").arg(formatName));
    AuditCommand::Options options;
    options.format = *format;
    options.progress = isTerminal(err);
    if (parser.isSet(kJobs)) {
        bool number = false;
        options.jobs = parser.value(kJobs).toInt(&number);
        if (!number || options.jobs < 1 || options.jobs > kMaxJobs)
            return usageError(err,
                TsmetaCommand::tr("--jobs takes a number from 1 to %1, not '%2'")
                    .arg(kMaxJobs)
                    .arg(parser.value(kJobs)));
    }
    return exitStatusOf(AuditCommand::run(paths, options, out, err), parser.isSet(kCheck));
}

} // namespace

int TsmetaCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") }, tr("Show this help."));
    const QCommandLineOption version(
        { QStringLiteral("v"), QStringLiteral("version") }, tr("Show the version."));
    parser.addOptions(
        { help, version, { kBackup, tr("Write backups.") }, { kNoBackup, tr("Write no backups.") },
            { kLineEnd, tr("Line end of the block."), tr("crlf|lf|cr") } });
    parser.addOptions(MetaOptions::options());
    parser.addOption({ kFormat, tr("Output of audit."), tr("jsonl|table") });
    parser.addOption({ kJobs, tr("Threads that read pages for audit."), tr("N") });
    parser.addOption({ kCheck, tr("Exit with status 3 when audit finds a warning.") });
    parser.addOptions({ { kDryRun, tr("Work out the save but write nothing.") },
        { kDiff, tr("Print the dry run as a unified diff.") } });
    if (!parser.parse(arguments))
        return usageError(err, parser.errorText());
    if (parser.isSet(help)) {
        out << helpText();
        out.flush();
        return AllOk;
    }
    if (parser.isSet(version)) {
        out << "tsmeta " << ProgramVersion::version() << '.' << ProgramVersion::build() << '\n';
        out.flush();
        return AllOk;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(err, tr("no command given"));
    const QString command = positional.takeFirst();
    MetaOptions values;
    QString error;
    if (!values.parse(parser, error))
        return usageError(err, error);
    if (parser.isSet(kBackup) && parser.isSet(kNoBackup))
        return usageError(err, tr("--backup and --no-backup exclude each other"));
    if (parser.isSet(kDiff) && !parser.isSet(kDryRun))
        return usageError(err, tr("--diff shows a dry run and needs --dry-run"));
    if (parser.isSet(kDryRun) && command != QLatin1String("apply"))
        return usageError(err, tr("--dry-run is for apply only"));

    if (command == QLatin1String("block")) {
        if (!positional.isEmpty())
            return usageError(err, tr("block takes no FILE"));
        return printBlock(parser, values, out, err);
    }
    if (parser.isSet(kLineEnd))
        return usageError(err, tr("--line-end is for block only"));
    if (parser.isSet(kFormat) && command != QLatin1String("audit"))
        return usageError(err, tr("--format is for audit only"));
    if (parser.isSet(kJobs) && command != QLatin1String("audit"))
        return usageError(err, tr("--jobs is for audit only"));
    if (parser.isSet(kCheck) && command != QLatin1String("audit"))
        return usageError(err, tr("--check is for audit only"));
    if (command != QLatin1String("read") && command != QLatin1String("apply")
        && command != QLatin1String("audit"))
        return usageError(err, tr("unknown command '%1'").arg(command));
    if (positional.isEmpty())
        return usageError(err, tr("%1 needs at least one FILE").arg(command));
    if (command == QLatin1String("audit"))
        return runAudit(parser, positional, out, err);
    if (command == QLatin1String("read")) {
        if (parser.optionNames().size() > 0)
            return usageError(err, tr("read takes no options"));
        return ReadCommand::run(positional, out) ? AllOk : SomeFailed;
    }
    return ApplyCommand::run(positional, values, backupsWanted(parser), applyMode(parser), out, err)
        ? AllOk
        : SomeFailed;
}
