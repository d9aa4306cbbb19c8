#include "InformationOptions.h"

#include "ProgramVersion.h"

#include <QTextStream>

#include <cstring>

namespace {

const char kHelp[] = "Usage: tagsmith [FILE...]\n"
                     "       tagsmith --help | --version\n"
                     "Edits the META element tags in the HEAD of web pages.\n"
                     "\n"
                     "Each FILE is one page, used exactly as given and opened in a window of its own;\n"
                     "a relative name is taken from the current folder. When a copy of the program\n"
                     "already runs, the pages are handed to it. To open a page named like an option,\n"
                     "give its path, e.g. ./--help.\n"
                     "\n"
                     "  --help     Show this help and exit.\n"
                     "  --version  Show the version and exit.\n"
                     "\n"
                     "The user guide opens from Help > Index; see also tagsmith(1) and tsmeta(1).\n";

} // namespace

std::optional<int> InformationOptions::answer(int argc, const char *const argv[])
{
    if (argc != 2)
        return std::nullopt;
    QTextStream out(stdout);
    if (std::strcmp(argv[1], "--help") == 0) {
        out << kHelp;
        return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        out << "tagsmith " << ProgramVersion::version() << '.' << ProgramVersion::build() << '\n';
        return 0;
    }
    return std::nullopt;
}
