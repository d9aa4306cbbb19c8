#include "InformationOptions.h"

#include "ProgramVersion.h"
#include "QtOptions.h"

#include <QLatin1String>
#include <QTextStream>

namespace {

const char kHelp[] = "Usage: tagsmith [--site FOLDER] [FILE...]\n"
                     "       tagsmith -h | --help | --help-all | -v | --version\n"
                     "Edits the META element tags in the HEAD of web pages.\n"
                     "\n"
                     "Each FILE is one page, used exactly as given and opened in a window of its own;\n"
                     "a relative name is taken from the current folder. When a copy of the program\n"
                     "already runs, the pages are handed to it. To open a page named like an option,\n"
                     "give its path, e.g. ./--help. With --site FOLDER, every page under FOLDER opens\n"
                     "in a site window, one row a page.\n"
                     "\n"
                     "Qt's own options (-style fusion, -display :0 and the others --help-all lists)\n"
                     "may stand anywhere; neither they nor their values are pages. Any other argument\n"
                     "is a page, one that begins with \"-\" too. A lone -- is passed over: it ends no\n"
                     "options, since Qt reads its own wherever they stand.\n"
                     "\n"
                     "  -h, --help     Show this help and exit.\n"
                     "      --help-all Show this help and Qt's options, and exit.\n"
                     "  -v, --version  Show the version and exit.\n"
                     "\n"
                     "The user guide opens from Help > Index; see also tagsmith(1) and tsmeta(1).\n";

const char kQtOptionsHeading[] = "\n"
                                 "Qt's options, each also written with two dashes (--style fusion):\n";

enum class Answer { Help, HelpAll, Version };

struct Spelling
{
    QLatin1String option;
    Answer answer;
};

constexpr Spelling kSpellings[] = {
    { QLatin1String("-h"), Answer::Help },
    { QLatin1String("--help"), Answer::Help },
    { QLatin1String("--help-all"), Answer::HelpAll },
    { QLatin1String("-v"), Answer::Version },
    { QLatin1String("--version"), Answer::Version },
};

std::optional<Answer> asked(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        for (const Spelling &spelling : kSpellings) {
            if (argument == spelling.option)
                return spelling.answer;
        }
    }
    return std::nullopt;
}

void print(Answer answer)
{
    QTextStream out(stdout);
    if (answer == Answer::Version) {
        out << "tagsmith " << ProgramVersion::version() << '.' << ProgramVersion::build() << '\n';
        return;
    }
    out << kHelp;
    if (answer == Answer::HelpAll) {
        out << kQtOptionsHeading;
        const QStringList forms = QtOptions::forms();
        for (const QString &form : forms)
            out << "  " << form << '\n';
    }
}

} // namespace

std::optional<int> InformationOptions::answer(const QStringList &arguments)
{
    const std::optional<Answer> answer = asked(arguments);
    if (!answer)
        return std::nullopt;
    print(*answer);
    return 0;
}
