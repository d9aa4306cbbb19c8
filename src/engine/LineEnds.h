#pragma once

#include <cstdint>
#include <string_view>

enum class LineEnd { CrLf, Lf, Cr };

// A document keeps its own line ends; the first one in the file is the document's line
// end, used between the tags the program writes.
class LineEnds
{
public:
    // The first line end of the bytes; CR LF when there is none.
    static LineEnd detect(std::string_view bytes);
    static bool isLineEndByte(char c) { return c == '\n' || c == '\r'; }
    static std::string_view text(LineEnd lineEnd);
    static std::string_view name(LineEnd lineEnd);
    // Lines as a line reader sees them: CR LF, LF and a lone CR each end one line, and a
    // last line without a line end still counts.
    static std::int64_t countLines(std::string_view bytes);
};
