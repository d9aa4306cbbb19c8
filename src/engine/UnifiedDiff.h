#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A unified diff between two texts in the form GNU patch applies: a line runs up to and
// including its LF, hunks carry three lines of context, and a last line without an LF is
// followed by "\ No newline at end of file". Bytes are compared as they are, so CR line
// ends and any encoding come back out of the patch unchanged.
class UnifiedDiff
{
public:
    static constexpr std::size_t kContext = 3;
    // Steps the line matching may take on the changed region. Past it the region goes out
    // as one replacement: still a correct patch, only longer, and no input costs quadratic
    // time or memory.
    static constexpr std::size_t kWorkLimit = 4'000'000;

    // Empty when the texts are equal. The names head the diff, quoted as patch reads
    // them when they hold blanks, quotes or control characters.
    static std::string between(std::string_view oldText, std::string_view newText, std::string_view oldName,
        std::string_view newName, std::size_t workLimit = kWorkLimit);

    static std::string quotedName(std::string_view name);
};
