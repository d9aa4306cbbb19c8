#include "TsmetaCommand.h"

#include "ReadCommand.h"

#include "shell/ProgramVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("tsmeta", text);
}

QString helpText()
{
    return tr("Usage: tsmeta <command> [options] FILE...\n"
              "Reads the META element tags of web pages without opening a window.\n"
              "\n"
              "Commands:\n"
              "  read FILE...   For each file, print one line of JSON (JSON Lines) with the keys\n"
              "                 path, ok, error (only when not ok), title, description, keywords,\n"
              "                 author, noindex, nofollow, noimageindex, noimageclick, charset,\n"
              "                 robots, lineEnd and encoding. Missing values read as the texts the\n"
              "                 editor shows (\"No description\", \"No, keywords\", \"No author\").\n"
              "\n"
              "Options:\n"
              "  -h, --help     Show this help.\n"
              "  -v, --version  Show the version.\n"
              "\n"
              "Exit status: 0 when every file was read, 1 when any was not, 2 for a usage error.\n");
}

int usageError(QTextStream &err, const QString &message)
{
    err << "tsmeta: " << message << '\n' << tr("Try 'tsmeta --help'.") << '\n';
    err.flush();
    return TsmetaCommand::UsageError;
}

} // namespace

int TsmetaCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, tr("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, tr("Show the version."));
    parser.addOption(help);
    parser.addOption(version);
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
    if (command != QLatin1String("read"))
        return usageError(err, tr("unknown command '%1'").arg(command));
    if (positional.isEmpty())
        return usageError(err, tr("read needs at least one FILE"));
    return ReadCommand::run(positional, out) ? AllOk : SomeFailed;
}
