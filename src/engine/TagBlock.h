#pragma once

#include "MetaElementSet.h"

#include <string>
#include <string_view>
#include <vector>

// The program's own tags, in their fixed order and exact form. Values are attribute text:
// "&", "\"", "<" and ">" go in as character references, nothing is trimmed. The charset
// tag declares ISO-8859-1, or UTF-8 for a page that a save leaves in UTF-8 with non-ASCII
// bytes, so that it never contradicts the page.
class TagBlock
{
public:
    static constexpr std::string_view kProgramTitle = "Tagsmith LITE";

    // "Tagsmith LITE " followed by the version text.
    static std::string generatorText(std::string_view version);
    static std::string_view charsetTag(bool utf8);
    static std::vector<std::string> tags(
        const MetaElementSet &values, std::string_view version, bool charsetUtf8 = false);

    // As inserted into a file: every tag, the first included, preceded by the line end.
    static std::string forInsertion(const MetaElementSet &values, std::string_view version,
        std::string_view lineEnd, bool charsetUtf8 = false);
    // As shown and copied: the tags separated by the line end.
    static std::string forView(const MetaElementSet &values, std::string_view version,
        std::string_view lineEnd, bool charsetUtf8 = false);
};
