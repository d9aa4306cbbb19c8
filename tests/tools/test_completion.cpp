#include "TsmetaRun.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kBashCompletion = u"/usr/share/bash-completion/bash_completion"_s;

// What bash offers for the last of these words, as it does at a TAB: the completion function
// called with COMP_WORDS and COMP_CWORD, after bash-completion's own functions when asked.
const char *const kDriver = R"(
[ -n "$1" ] && source "$1"
source "$2"
shift 2
COMP_WORDS=("$@")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
COMP_LINE="${COMP_WORDS[*]}"
COMP_POINT=${#COMP_LINE}
COMPREPLY=()
_tsmeta
[ ${#COMPREPLY[@]} -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}"
)";

QString bash(const QStringList &arguments, const QString &folder = {})
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(u"bash"_s, arguments);
    if (!process.waitForFinished(30000))
        return u"bash did not finish"_s;
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

QStringList offered(const QStringList &words, bool withLibrary, const QString &folder = {})
{
    const QString output = bash(QStringList { u"-c"_s, QString::fromUtf8(kDriver), u"bash"_s,
                                    withLibrary ? kBashCompletion : QString(), QStringLiteral(TSMETA_COMPLETION) }
            + words,
        folder);
    QStringList offers = output.split(u'\n', Qt::SkipEmptyParts);
    offers.sort();
    return offers;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// The options a help text names: words starting with one or two dashes and a letter.
QStringList optionsNamedIn(const QString &help)
{
    static const QRegularExpression option(u"(?<![\\w-])--?[a-z][a-z-]*(?![\\w-])"_s);
    QStringList names;
    for (auto it = option.globalMatch(help); it.hasNext();)
        names.append(it.next().captured());
    names.removeDuplicates();
    return sorted(names);
}

void addRowsWithAndWithoutLibrary(const char *name, const QStringList &words, const QStringList &offers)
{
    QTest::addRow("%s, alone", name) << words << sorted(offers) << false;
    QTest::addRow("%s, with bash-completion", name) << words << sorted(offers) << true;
}

} // namespace

class TestCompletion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registersForTsmeta()
    {
        const QString output = bash({ u"-c"_s,
            u"source \"$1\" 2>/dev/null; source \"$2\"; complete -p tsmeta"_s, u"bash"_s, kBashCompletion,
            QStringLiteral(TSMETA_COMPLETION) });
        QCOMPARE(output, u"complete -F _tsmeta tsmeta\n"_s);
    }

    void offers_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("offers");
        QTest::addColumn<bool>("withLibrary");
        const QStringList commands { "read", "audit", "apply", "block", "help" };
        addRowsWithAndWithoutLibrary("commands", { "tsmeta", "" }, commands);
        addRowsWithAndWithoutLibrary("commands by their start", { "tsmeta", "a" }, { "apply", "audit" });
        addRowsWithAndWithoutLibrary("options before the command", { "tsmeta", "-" },
            { "-q", "--quiet", "-h", "--help", "-v", "--version" });
        addRowsWithAndWithoutLibrary("apply's options", { "tsmeta", "apply", "--" },
            { "--description", "--keywords", "--author", "--robots", "--charset", "--backup", "--no-backup",
                "--dry-run", "--check", "--diff", "--from-csv", "--site", "--quiet", "--help" });
        addRowsWithAndWithoutLibrary("audit's options after a path", { "tsmeta", "audit", "site", "-" },
            { "--format", "-j", "--jobs", "--widths", "--check", "-q", "--quiet", "-h", "--help" });
        addRowsWithAndWithoutLibrary("the width presets", { "tsmeta", "audit", "--widths", "m" }, { "mobile" });
        addRowsWithAndWithoutLibrary("an option's value is no command", { "tsmeta", "--author", "apply", "read", "--" },
            { "--quiet", "--help" });
        addRowsWithAndWithoutLibrary("formats", { "tsmeta", "audit", "--format", "" }, { "jsonl", "table" });
        addRowsWithAndWithoutLibrary("formats after =", { "tsmeta", "audit", "--format", "=", "t" }, { "table" });
        addRowsWithAndWithoutLibrary("line ends", { "tsmeta", "block", "--line-end", "" }, { "crlf", "lf", "cr" });
        addRowsWithAndWithoutLibrary("charset", { "tsmeta", "apply", "--charset", "" }, { "on", "off" });
        addRowsWithAndWithoutLibrary("robots words", { "tsmeta", "block", "--robots", "" },
            { "noindex", "nofollow", "noimageindex", "noimageclick" });
        addRowsWithAndWithoutLibrary("robots list", { "tsmeta", "apply", "--robots", "nofollow,noi" },
            { "nofollow,noindex", "nofollow,noimageindex", "nofollow,noimageclick" });
        addRowsWithAndWithoutLibrary("free text", { "tsmeta", "apply", "--author", "" }, {});
        addRowsWithAndWithoutLibrary("help's commands", { "tsmeta", "help", "" }, { "read", "audit", "apply", "block" });
        addRowsWithAndWithoutLibrary("block takes no file", { "tsmeta", "block", "" }, {});
        addRowsWithAndWithoutLibrary("pages", { "tsmeta", "read", "-q", "pa" }, { "page one.html" });
        addRowsWithAndWithoutLibrary("folders", { "tsmeta", "audit", "s" }, { "site" });
        addRowsWithAndWithoutLibrary("a table", { "tsmeta", "apply", "--from-csv", "" }, { "page one.html", "site" });
        addRowsWithAndWithoutLibrary("a site's folder", { "tsmeta", "apply", "--from-csv", "t.csv", "--site", "" }, { "site" });
        addRowsWithAndWithoutLibrary("a folder named like a command is no command", { "tsmeta", "--site", "apply", "read", "--" }, { "--quiet", "--help" });
    }
    void offers()
    {
        QFETCH(QStringList, words);
        QFETCH(QStringList, offers);
        QFETCH(bool, withLibrary);
        if (withLibrary && !QFileInfo::exists(kBashCompletion))
            QSKIP("bash-completion is not installed");
        QTemporaryDir folder;
        QDir(folder.path()).mkdir(u"site"_s);
        QFile page(folder.filePath(u"page one.html"_s));
        QVERIFY(page.open(QIODevice::WriteOnly));
        QCOMPARE(offered(words, withLibrary, folder.path()), offers);
    }

    // A command's options as its help names them, no more and no fewer.
    void optionsAreThoseOfTheHelp_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *command : { "read", "audit", "apply", "block" })
            QTest::newRow(command) << QString::fromLatin1(command);
    }
    void optionsAreThoseOfTheHelp()
    {
        QFETCH(QString, command);
        const TsmetaRun help = runTsmeta({ command, "--help" });
        QCOMPARE(help.status, 0);
        QCOMPARE(offered({ "tsmeta", command, "-" }, false), optionsNamedIn(help.out));
    }
};

QTEST_GUILESS_MAIN(TestCompletion)
#include "test_completion.moc"
