#include "LineEnds.h"

#include <algorithm>
#include <cstring>

LineEnd LineEnds::detect(std::string_view bytes)
{
    const std::size_t at = bytes.find_first_of("\r\n");
    if (at == std::string_view::npos || bytes[at] == '\n')
        return at == std::string_view::npos ? LineEnd::CrLf : LineEnd::Lf;
    return (at + 1 < bytes.size() && bytes[at + 1] == '\n') ? LineEnd::CrLf : LineEnd::Cr;
}

std::string_view LineEnds::text(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::Lf:
        return "\n";
    case LineEnd::Cr:
        return "\r";
    case LineEnd::CrLf:
        break;
    }
    return "\r\n";
}

std::string_view LineEnds::name(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::Lf:
        return "LF";
    case LineEnd::Cr:
        return "CR";
    case LineEnd::CrLf:
        break;
    }
    return "CRLF";
}

std::int64_t LineEnds::countLines(std::string_view bytes)
{
    if (bytes.empty())
        return 0;
    std::int64_t ends = std::count(bytes.begin(), bytes.end(), '\n');
    // A CR ends a line of its own unless an LF follows it.
    for (const char *p = bytes.data(), *end = p + bytes.size();
         (p = static_cast<const char *>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)))); ++p) {
        if (p + 1 == end || p[1] != '\n')
            ++ends;
    }
    const char last = bytes.back();
    return ends + ((last == '\n' || last == '\r') ? 0 : 1);
}
