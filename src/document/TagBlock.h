#pragma once

#include "document/MetaElementSet.h"

#include <string>
#include <string_view>
#include <vector>

// The program's own tags, in their fixed order and exact form. Values are inserted as
// they stand: no escaping, no trimming.
class TagBlock
{
public:
    static constexpr std::string_view kProgramTitle = "Tagsmith LITE";

    // "Tagsmith LITE " followed by the version text.
    static std::string generatorText(std::string_view version);
    static std::vector<std::string> tags(const MetaElementSet &values, std::string_view version);

    // As inserted into a file: every tag, the first included, preceded by the line end.
    static std::string forInsertion(
        const MetaElementSet &values, std::string_view version, std::string_view lineEnd);
    // As shown and copied: the tags separated by the line end.
    static std::string forView(
        const MetaElementSet &values, std::string_view version, std::string_view lineEnd);
};
