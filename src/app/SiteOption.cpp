#include "SiteOption.h"

#include "CommandLinePaths.h"

std::optional<QString> SiteOption::takeFrom(QStringList &arguments, const QString &workingFolder)
{
    const qsizetype option = arguments.indexOf(QStringLiteral("--site"));
    if (option < 0)
        return std::nullopt;
    if (option + 1 >= arguments.size()) {
        arguments.removeAt(option);
        return std::nullopt;
    }
    const QString folder = arguments.takeAt(option + 1);
    arguments.removeAt(option);
    if (CommandLinePaths::namesNothing(folder))
        return std::nullopt;
    return CommandLinePaths::absolute(folder, workingFolder);
}
