#pragma once

#include <QStringList>

#include <optional>

// "tagsmith --help" and "tagsmith --version" answer on standard output, as Linux programs
// do, before any window, display or file is needed. Such an option asks wherever it stands
// among the arguments Qt's options left, and the first one given answers; so a page named
// like one is opened by its path, ./--help.
class InformationOptions
{
public:
    // The exit status when the arguments asked for information (printed by then), else none.
    static std::optional<int> answer(const QStringList &arguments);
};
