#pragma once

#include <optional>

// "tagsmith --help" and "tagsmith --version" answer on standard output, as Linux programs
// do, before any window or display is needed. Only a single argument that is exactly one
// of these asks; anything else is a page name, so "./--help" still opens such a page.
class InformationOptions
{
public:
    // The exit status when the arguments asked for information (printed by then), else none.
    static std::optional<int> answer(int argc, const char *const argv[]);
};
