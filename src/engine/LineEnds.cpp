#include "LineEnds.h"

#include <algorithm>
#include <cstring>

LineEnd LineEnds::detect(std::string_view bytes)
{
    // Two byte searches: a set search costs a comparison per byte and per member, which
    // shows on pages written as one long line.
    const auto *lf = static_cast<const char *>(std::memchr(bytes.data(), '\n', bytes.size()));
    const std::size_t beforeLf = lf ? static_cast<std::size_t>(lf - bytes.data()) : bytes.size();
    const auto *cr = static_cast<const char *>(std::memchr(bytes.data(), '\r', beforeLf));
    if (!cr)
        return lf ? LineEnd::Lf : LineEnd::CrLf;
    return cr + 1 == lf ? LineEnd::CrLf : LineEnd::Cr;
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
