#include "HelpText.h"

namespace {

QString valuesHelp()
{
    return HelpText::tr(
        "VALUES (each one given is set; the others keep what the page holds):\n"
        "  --description TEXT  --keywords TEXT  --author TEXT\n"
        "  --robots LIST       comma-separated noindex, nofollow, noimageindex, noimageclick,\n"
        "                      applied in order; of noindex, noimageindex and noimageclick the\n"
        "                      last one given stays on. An empty LIST clears all four.\n"
        "  --charset on|off    the ISO-8859-1 content-type tag\n"
        "\n");
}

// The options every command takes, closing its list of options.
QString commonOptionsHelp()
{
    return HelpText::tr("  -q, --quiet     Print nothing on standard output; errors still go to standard\n"
                        "                  error.\n"
                        "  -h, --help      Show this help.\n"
                        "\n");
}

QString exitStatusHelp(const QString &done, const QString &failed, const QString &found = {})
{
    QString text = HelpText::tr("Exit status:\n") + QStringLiteral("  0  ") + done + QLatin1Char('\n')
        + QStringLiteral("  1  ") + failed + QLatin1Char('\n') + QStringLiteral("  2  ")
        + HelpText::tr("a usage error") + QLatin1Char('\n');
    if (!found.isEmpty())
        text += QStringLiteral("  3  ") + found + QLatin1Char('\n');
    return text;
}

QString readHelp()
{
    return HelpText::tr(
               "Usage: tsmeta read [options] FILE...\n"
               "For each file, print one line of JSON (JSON Lines) with the keys path, ok, error\n"
               "(only when not ok), title, description, keywords, author, noindex, nofollow,\n"
               "noimageindex, noimageclick, charset, robots, lineEnd and encoding. Missing values\n"
               "read as the texts the editor shows (\"No description\", \"No, keywords\", \"No author\").\n"
               "A file that cannot be read is named on standard error too. A FILE of - is standard\n"
               "input; its path reads \"-\".\n"
               "\n"
               "Options:\n")
        + commonOptionsHelp()
        + exitStatusHelp(HelpText::tr("every file was read"),
            HelpText::tr("a file could not be read, or standard output could not be written"));
}

QString auditHelp()
{
    return HelpText::tr("Usage: tsmeta audit [--format jsonl|table] [-j N] [--check] [options] PATH...\n"
                        "Read each page as read does (a folder: every .htm .html .asp .php .php3 .phtml\n"
                        ".shtml .ssi file below it; -: standard input) and report what a search result\n"
                        "shows of it and what the editor warns about. One JSON line per page: path, ok,\n"
                        "error, title, description, keywords, author, robots, titlePixels,\n"
                        "descriptionPixels (widths in Arial at 20 and 14 px) and warnings\n"
                        "[{kind, target, message}]. A page's line comes as soon as it is settled: at\n"
                        "once for a page that has no description or cannot be read, or whose description\n"
                        "an earlier page has; the pages whose description no earlier page had come when\n"
                        "all are read, in page order. Page lines have no type field; after them comes a\n"
                        "line {\"type\":\"sharedDescription\", description, pages} for each description\n"
                        "several pages share, in order of first use, and last {\"type\":\"summary\"} with\n"
                        "pages, unreadable, missingTitles, missingDescriptions, sharedDescriptions (the\n"
                        "number of such lines), titlesTooLong, descriptionsTooLong (wider than the\n"
                        "limits) and warnings (the count of each kind).\n"
                        "\n"
                        "Options:\n"
                        "  --format jsonl|table  jsonl (the default) as above; table: waits for the last\n"
                        "                  page, so that its columns align, and prints the pages in order,\n"
                        "                  then the summary in words.\n"
                        "  -j, --jobs N    Read the pages on N threads (one per core unless given). When\n"
                        "                  standard error is a terminal it shows how many have been read.\n"
                        "  --widths desktop|mobile|T,D  The widths in pixels past which a title or a\n"
                        "                  description counts as too long: desktop (580 and 920), mobile\n"
                        "                  (580 and 680) or two numbers; unless given, the editor's setting.\n"
                        "  --check         Exit with status 3 when a page has a warning.\n")
        + commonOptionsHelp()
        + exitStatusHelp(HelpText::tr("every page was read (with --check: and none has a warning)"),
            HelpText::tr("a page could not be read, or standard output could not be written"),
            HelpText::tr("with --check: a page has a warning"));
}

QString applyHelp()
{
    return HelpText::tr(
               "Usage: tsmeta apply [VALUES] [--backup | --no-backup] [--dry-run | --check] [--diff]\n"
               "                    [options] FILE...\n"
               "       tsmeta apply --from-csv TABLE [--site FOLDER] [--backup | --no-backup]\n"
               "                    [--dry-run | --check] [--diff] [options]\n"
               "Open each file as the editor does, set the values given, and save it as the editor\n"
               "does: the program's tag block after the HEAD start tag, the old managed tags\n"
               "removed, every other byte kept. One JSON line per file: path, ok, backup, error; a\n"
               "file that cannot be saved is named on standard error too.\n"
               "A FILE of - makes apply a filter: it reads the page from standard input and writes\n"
               "the saved page to standard output, never a backup; - is then its only FILE. A dry\n"
               "run takes - as any other FILE.\n"
               "\n")
        + valuesHelp()
        + HelpText::tr("TABLE (--from-csv): a CSV file, as the site window exports it, names the pages and\n"
                       "their values instead: a header row with path and any of description, keywords,\n"
                       "author, robots and charset, in any order and letter case (other columns of the\n"
                       "export are ignored), then one row per page. A column left out keeps what the pages\n"
                       "hold; an empty cell empties the value (no tag). Robots cells take the words of\n"
                       "--robots; charset cells on/off, yes/no, true/false or 1/0. Paths are relative to\n"
                       "the table's folder, or to --site FOLDER; every page must be inside it. UTF-8, with\n"
                       "or without a byte order mark; commas or, as some spreadsheets write, semicolons.\n"
                       "When any row is bad (an unknown column, a page named twice, a value not understood,\n"
                       "a page outside the folder), each is named with its line on standard error and no\n"
                       "page is touched. No VALUES and no FILE go with --from-csv.\n"
                       "\n")
        + HelpText::tr("Options:\n"
                       "  --backup        Write a backup of each page first (the name up to its first dot,\n"
                       "                  plus .bak).\n"
                       "  --no-backup     Write no backups. Without either, the editor's \"Backup Files\"\n"
                       "                  setting decides.\n"
                       "  --dry-run       Write nothing (no page, no backup): each line tells what the save\n"
                       "                  would do, with dryRun, changed (whether the page's bytes would\n"
                       "                  change) and backup (the backup it would write).\n"
                       "  --check         A dry run whose exit status is 3 when a page would change.\n"
                       "  --diff          With --dry-run or --check: print instead a unified diff of each\n"
                       "                  page that would change, ready for patch -p0.\n"
                       "  --from-csv TABLE  Take the pages and their values from TABLE (see above).\n"
                       "  --site FOLDER   With --from-csv: the folder the table's paths are in.\n")
        + commonOptionsHelp()
        + exitStatusHelp(HelpText::tr("every file was saved, or in a dry run could be (with --check: and\n"
                                      "     none would change)"),
            HelpText::tr("a file could not be handled, the table could not be read or has a bad\n"
                         "     row, or standard output could not be written"),
            HelpText::tr("with --check: a page would change"));
}

QString blockHelp()
{
    return HelpText::tr("Usage: tsmeta block [VALUES] [--line-end crlf|lf|cr] [options]\n"
                        "Print the tag block exactly as the editor's META pane shows it.\n"
                        "\n")
        + valuesHelp()
        + HelpText::tr("Options:\n"
                       "  --line-end crlf|lf|cr  The line end between the tags (crlf unless given).\n")
        + commonOptionsHelp()
        + exitStatusHelp(
            HelpText::tr("the block was printed"), HelpText::tr("standard output could not be written"));
}

} // namespace

QString HelpText::general()
{
    return tr("Usage: tsmeta <command> [options] [FILE...]\n"
              "Reads and rewrites the META element tags of web pages without opening a window.\n"
              "\n"
              "Commands:\n"
              "  read FILE...     Print each page's values as one line of JSON.\n"
              "  audit PATH...    Report what a search result shows of each page (a folder: the\n"
              "                   pages below it) and what the editor warns about.\n"
              "  apply [VALUES] FILE...\n"
              "                   Set the values given in each page and save it as the editor does.\n"
              "  apply --from-csv TABLE\n"
              "                   The same for the pages and values a CSV table names.\n"
              "  block [VALUES]   Print the tag block for the values given.\n"
              "  help [COMMAND]   Show this help, or the help of a command.\n"
              "A FILE or PATH of - is standard input.\n"
              "\n"
              "Options:\n"
              "  -q, --quiet      Print nothing on standard output; errors still go to\n"
              "                   standard error.\n"
              "  -h, --help       Show this help, or with a command, that command's help.\n"
              "  -v, --version    Show the version.\n"
              "\n"
              "Exit status:\n"
              "  0  every file was handled (with --check: and nothing was found)\n"
              "  1  a file could not be handled, or standard output could not be written\n"
              "  2  a usage error\n"
              "  3  with --check: a page would change (apply) or has a warning (audit)\n"
              "\n"
              "Examples:\n"
              "  find site -name '*.html' -print0 | xargs -0 tsmeta read > site.jsonl\n"
              "  tsmeta apply --description \"Fresh bread daily\" --robots noimageindex site/*.html\n"
              "  tsmeta apply --dry-run --diff --author \"Ann Baker\" site/*.html > authors.diff\n"
              "  tsmeta apply --check -q --author \"Ann Baker\" site/*.html   # 3: a page would change\n"
              "  curl -s https://example.com/ | tsmeta read -\n"
              "\n"
              "'tsmeta help COMMAND' or 'tsmeta COMMAND --help' tells a command's options.\n");
}

std::optional<QString> HelpText::forCommand(const QString &command)
{
    if (command == QLatin1String("read"))
        return readHelp();
    if (command == QLatin1String("audit"))
        return auditHelp();
    if (command == QLatin1String("apply"))
        return applyHelp();
    if (command == QLatin1String("block"))
        return blockHelp();
    if (command == QLatin1String("help"))
        return general();
    return std::nullopt;
}
