#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

// What --help and "tsmeta help" print: the overview of all commands, or one command's
// usage line, options and exit status.
class HelpText
{
    // All of tsmeta's texts share one translation context.
    Q_DECLARE_TR_FUNCTIONS(tsmeta)

public:
    static QString general();
    // Nothing when no command has this name.
    static std::optional<QString> forCommand(const QString &command);
};
