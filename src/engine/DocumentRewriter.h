#pragma once

#include "HeadRegion.h"
#include "LineEnds.h"
#include "MetaElementSet.h"
#include "PageCharset.h"

#include <optional>
#include <string>
#include <string_view>

// Rewrites a page's HEAD region: the program's tag block goes right after the HEAD start
// tag and the managed tags inside the region are removed. Every other byte is kept.
class DocumentRewriter
{
public:
    // A rewritten page as its new beginning followed by the old page's bytes from tailFrom
    // on, so a large unchanged tail can be copied file to file instead of through memory.
    struct Plan
    {
        std::string head;
        std::size_t tailFrom = 0;

        std::string joined(std::string_view page) const;
    };

    // block: the tag block as inserted, every tag preceded by lineEnd, already in the page's
    // encoding. When text follows the HEAD start tag on its line, a line end after the block
    // keeps the last tag on a line of its own, so the next save removes it cleanly.
    static Plan plan(std::string_view page, const HeadRegion &region, const HeadContents &contents,
        std::string_view block, std::string_view lineEnd);

    // What the page's charset declarations and bytes say, the bytes being those a save keeps.
    static PageCharset charsetOf(std::string_view page, const HeadRegion &region, const HeadContents &contents);

    // The whole save: the page's line end and encoding, the block for these values, the rewrite.
    static std::optional<Plan> planSave(
        std::string_view page, const MetaElementSet &values, std::string_view version);
    static std::optional<std::string> save(
        std::string_view page, const MetaElementSet &values, std::string_view version);

    // The tag block as a save writes it; characters the encoding cannot hold are written
    // as numeric character references, which browsers read back as the same characters.
    static std::string encodedBlock(
        const MetaElementSet &values, std::string_view version, LineEnd lineEnd, const SaveEncoding &encoding);
    // The same block as the META pane shows it, in UTF-8, its tags separated by lineEnd.
    static std::string shownBlock(const MetaElementSet &values, std::string_view version,
        std::string_view lineEnd, const SaveEncoding &encoding);
};
