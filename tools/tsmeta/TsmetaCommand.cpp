#include "TsmetaCommand.h"

#include "ApplyCommand.h"
#include "AuditCommand.h"
#include "DiscardingDevice.h"
#include "HelpText.h"
#include "MetaOptions.h"
#include "PageSource.h"
#include "ReadCommand.h"

#include "LineEnds.h"
#include "ProgramVersion.h"
#include "SettingsCatalogue.h"
#include "SettingsStore.h"
#include "SiteTableCsv.h"
#include "TagBlock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <unistd.h>

namespace {

const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
const QString kQuiet = QStringLiteral("quiet");
const QString kBackup = QStringLiteral("backup");
const QString kNoBackup = QStringLiteral("no-backup");
const QString kLineEnd = QStringLiteral("line-end");
const QString kFormat = QStringLiteral("format");
const QString kJobs = QStringLiteral("jobs");
const QString kWidths = QStringLiteral("widths");
// More threads than this only queue behind the disk.
constexpr int kMaxJobs = 256;
const QString kDryRun = QStringLiteral("dry-run");
const QString kDiff = QStringLiteral("diff");
const QString kCheck = QStringLiteral("check");
const QString kFromCsv = QStringLiteral("from-csv");
const QString kSite = QStringLiteral("site");

QList<QCommandLineOption> tsmetaOptions()
{
    QList<QCommandLineOption> options {
        { { QStringLiteral("h"), kHelp }, TsmetaCommand::tr("Show this help.") },
        { { QStringLiteral("v"), kVersion }, TsmetaCommand::tr("Show the version.") },
        { { QStringLiteral("q"), kQuiet }, TsmetaCommand::tr("Print nothing on standard output.") },
        { kBackup, TsmetaCommand::tr("Write backups.") },
        { kNoBackup, TsmetaCommand::tr("Write no backups.") },
        { kLineEnd, TsmetaCommand::tr("Line end of the block."), TsmetaCommand::tr("crlf|lf|cr") },
    };
    options += MetaOptions::options();
    options += {
        { kFormat, TsmetaCommand::tr("Output of audit."), TsmetaCommand::tr("jsonl|table") },
        { { QStringLiteral("j"), kJobs }, TsmetaCommand::tr("Threads that read pages for audit."),
            TsmetaCommand::tr("N") },
        { kWidths, TsmetaCommand::tr("Width limits of audit."), TsmetaCommand::tr("desktop|mobile|T,D") },
        { kDryRun, TsmetaCommand::tr("Work out the save but write nothing.") },
        { kDiff, TsmetaCommand::tr("Print the dry run as a unified diff.") },
        { kCheck, TsmetaCommand::tr("Say by the exit status whether anything was found.") },
        { kFromCsv, TsmetaCommand::tr("Take the pages and their values from a table."),
            TsmetaCommand::tr("FILE") },
        { kSite, TsmetaCommand::tr("The folder the table's paths are in."), TsmetaCommand::tr("FOLDER") },
    };
    return options;
}

// The options given, by their long names, but for those every command takes.
QStringList commandOptionNames(const QCommandLineParser &parser)
{
    QStringList names;
    for (const QCommandLineOption &option : tsmetaOptions()) {
        const QString name = option.names().constLast();
        if (name != kQuiet && name != kHelp && parser.isSet(name))
            names.append(name);
    }
    return names;
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
    if (parser.isSet(kDiff))
        return ApplyCommand::Mode::Diff;
    const bool dryRun = parser.isSet(kDryRun) || parser.isSet(kCheck);
    return dryRun ? ApplyCommand::Mode::DryRun : ApplyCommand::Mode::Save;
}

// A save of standard input writes the page where the other files' lines would go.
std::optional<QString> standardInputMisuse(const QCommandLineParser &parser, const QStringList &files)
{
    if (applyMode(parser) != ApplyCommand::Mode::Save || !files.contains(QStringLiteral("-")))
        return std::nullopt;
    if (files.size() > 1)
        return TsmetaCommand::tr("apply writes the page of - to standard output, so - must be its only FILE");
    if (parser.isSet(kBackup))
        return TsmetaCommand::tr("--backup: the page of - has no file to back up");
    return std::nullopt;
}

int exitStatusOf(const ApplyCommand::Outcome &outcome, bool check)
{
    if (!outcome.allOk)
        return TsmetaCommand::SomeFailed;
    return check && outcome.anyChanged ? TsmetaCommand::CheckFailed : TsmetaCommand::AllOk;
}

int runApply(const QCommandLineParser &parser, const QStringList &files, const MetaOptions &values,
    QTextStream &out, QTextStream &err)
{
    if (const auto misuse = standardInputMisuse(parser, files))
        return usageError(err, *misuse);
    return exitStatusOf(
        ApplyCommand::run(files, values.edit(), backupsWanted(parser), applyMode(parser), out, err),
        parser.isSet(kCheck));
}

// Without --site, the table's relative paths are read from the table's own folder, where an
// export saved beside the pages leaves it, whatever folder the command runs in. Pages are
// named from the folder as given, so that a diff of site/pages.csv names site/index.html,
// ready for patch -p0.
int runApplyFromCsv(const QCommandLineParser &parser, const QStringList &files, const MetaOptions &values,
    QTextStream &out, QTextStream &err)
{
    if (!values.edit().isEmpty())
        return usageError(err,
            TsmetaCommand::tr(
                "--from-csv takes the values from the table: give no --description, --keywords, "
                "--author, --robots or --charset"));
    if (!files.isEmpty())
        return usageError(err, TsmetaCommand::tr("--from-csv takes the pages from the table: give no FILE"));
    const QString table = parser.value(kFromCsv);
    const QString site = parser.isSet(kSite) ? parser.value(kSite) : QFileInfo(table).path();
    if (!QFileInfo(site).isDir())
        return usageError(err, TsmetaCommand::tr("--site: '%1' is not a folder").arg(site));
    const SiteTableCsv::Import import = SiteTableCsv::readImport(table, site);
    for (const SiteTableCsv::RowError &error : import.errors)
        err << "tsmeta: " << SiteTableCsv::describe(table, error) << '\n';
    err.flush();
    if (!import.errors.isEmpty())
        return TsmetaCommand::SomeFailed;
    QList<ApplyCommand::Page> pages;
    for (const SiteTableCsv::PageEdit &page : import.edits)
        pages.append({ page.path, page.edit });
    return exitStatusOf(
        ApplyCommand::run(pages, backupsWanted(parser), applyMode(parser), out, err), parser.isSet(kCheck));
}

// "tsmeta help [COMMAND]" and "tsmeta [COMMAND] --help" alike.
int printHelp(const QString &command, QTextStream &out, QTextStream &err)
{
    if (command.isEmpty()) {
        out << HelpText::general();
        return TsmetaCommand::AllOk;
    }
    const std::optional<QString> help = HelpText::forCommand(command);
    if (!help)
        return usageError(err, TsmetaCommand::tr("unknown command '%1'").arg(command));
    out << *help;
    return TsmetaCommand::AllOk;
}

// Whether all that was written to out reached it; said on err when not. A write that
// failed only at the end, when the buffers were flushed, counts too.
bool outputWritten(QTextStream &out, QTextStream &err)
{
    out.flush();
    QIODevice *device = out.device();
    auto *file = qobject_cast<QFileDevice *>(device);
    const bool fileFailed = file && (!file->flush() || file->error() != QFileDevice::NoError);
    if (out.status() != QTextStream::WriteFailed && !fileFailed)
        return true;
    const QString reason = device ? device->errorString() : QString();
    err << "tsmeta: " << TsmetaCommand::tr("write error");
    if (!reason.isEmpty())
        err << ": " << reason;
    err << '\n';
    err.flush();
    return false;
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
    values.edit().applyTo(set);
    const std::string block = TagBlock::forView(set, ProgramVersion::version().toStdString(), *lineEnd);
    out << QString::fromStdString(block);
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
    for (const QString &name : commandOptionNames(parser)) {
        if (name != kFormat && name != kJobs && name != kWidths && name != kCheck)
            return usageError(
                err, TsmetaCommand::tr("audit takes no options but --format, --jobs, --widths and --check"));
    }
    const QString formatName = parser.isSet(kFormat) ? parser.value(kFormat) : QStringLiteral("jsonl");
    const auto format = AuditCommand::formatNamed(formatName);
    if (!format)
        return usageError(err, TsmetaCommand::tr("--format takes jsonl or table, not '%1'").arg(formatName));
    AuditCommand::Options options;
    options.format = *format;
    options.progress = isTerminal(err);
    SettingsStore store;
    options.limits = SettingsCatalogue(store).widthLimits();
    if (parser.isSet(kWidths)) {
        const auto named = WidthLimits::named(parser.value(kWidths).toStdString());
        if (!named)
            return usageError(err,
                TsmetaCommand::tr("--widths takes desktop, mobile or two numbers of pixels as 600,700, not '%1'")
                    .arg(parser.value(kWidths)));
        options.limits = *named;
    }
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
    parser.addOptions(tsmetaOptions());
    if (!parser.parse(arguments))
        return usageError(err, parser.errorText());
    if (parser.isSet(kQuiet)) {
        DiscardingDevice nowhere;
        QTextStream quiet(&nowhere);
        return runCommand(parser, quiet, err);
    }
    const int status = runCommand(parser, out, err);
    return outputWritten(out, err) ? status : SomeFailed;
}

int TsmetaCommand::runCommand(const QCommandLineParser &parser, QTextStream &out, QTextStream &err)
{
    QStringList positional = parser.positionalArguments();
    if (parser.isSet(kHelp))
        return printHelp(positional.value(0), out, err);
    if (positional.value(0) == kHelp)
        return printHelp(positional.value(1), out, err);
    if (parser.isSet(kVersion)) {
        out << "tsmeta " << ProgramVersion::version() << '.' << ProgramVersion::build() << '\n';
        return AllOk;
    }

    if (positional.isEmpty())
        return usageError(err, tr("no command given"));
    const QString command = positional.takeFirst();
    MetaOptions values;
    QString error;
    if (!values.parse(parser, error))
        return usageError(err, error);
    if (parser.isSet(kBackup) && parser.isSet(kNoBackup))
        return usageError(err, tr("--backup and --no-backup exclude each other"));
    if (parser.isSet(kDiff) && !parser.isSet(kDryRun) && !parser.isSet(kCheck))
        return usageError(err, tr("--diff shows a dry run and needs --dry-run or --check"));
    if (parser.isSet(kDryRun) && command != QLatin1String("apply"))
        return usageError(err, tr("--dry-run is for apply only"));
    if (parser.isSet(kCheck) && command != QLatin1String("apply") && command != QLatin1String("audit"))
        return usageError(err, tr("--check is for apply and audit only"));
    if (parser.isSet(kFromCsv) && command != QLatin1String("apply"))
        return usageError(err, tr("--from-csv is for apply only"));
    if (parser.isSet(kSite) && !parser.isSet(kFromCsv))
        return usageError(err, tr("--site is for apply --from-csv only"));

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
    if (parser.isSet(kWidths) && command != QLatin1String("audit"))
        return usageError(err, tr("--widths is for audit only"));
    if (command != QLatin1String("read") && command != QLatin1String("apply")
        && command != QLatin1String("audit"))
        return usageError(err, tr("unknown command '%1'").arg(command));
    if (command == QLatin1String("apply") && parser.isSet(kFromCsv))
        return runApplyFromCsv(parser, positional, values, out, err);
    if (positional.isEmpty())
        return usageError(err, tr("%1 needs at least one FILE").arg(command));
    if (command == QLatin1String("audit"))
        return runAudit(parser, positional, out, err);
    if (command == QLatin1String("read")) {
        if (!commandOptionNames(parser).isEmpty())
            return usageError(err, tr("read takes no options but --quiet"));
        return ReadCommand::run(positional, out, err) ? AllOk : SomeFailed;
    }
    return runApply(parser, positional, values, out, err);
}
