#pragma once

#include "HeadRegion.h"
#include "PageCharset.h"
#include "TagRecognition.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A managed META tag the program neither reads nor removes, as written in the page.
struct UnreadTag
{
    TagKind kind;
    std::uint64_t offset = 0; // of its "<"
    std::string text;         // the tag as written, shortened for display, UTF-8

    bool operator==(const UnreadTag &) const = default;
};

// What the page's bytes tell beyond the values: found once when a page is read, so that
// warnings can follow every keystroke without reading the page again.
struct PageFacts
{
    bool hasHead = false;
    PageCharset charset;
    // The charset named by the first declaration a save keeps; empty if none.
    std::string declaredCharset;
    // The charset named by a Content-Type tag that a save removes; empty if none.
    std::string removedCharset;
    // Inside the HEAD region, in a form a save would leave beside the new tag (attributes
    // in another order, extra spaces, single quotes...).
    std::vector<UnreadTag> unreadTags;
    // Outside the HEAD region, where nothing is read or changed.
    std::vector<UnreadTag> outsideTags;
    // Description tags a read runs together into one value; a save writes one.
    std::size_t descriptionTags = 0;
    // The title as a search result shows it: references decoded, runs of white space as one.
    std::string shownTitle;

    static PageFacts of(std::string_view bytes);
    // When the region and what it holds have been found already.
    static PageFacts of(std::string_view bytes, const std::optional<HeadRegion> &region, const HeadContents &contents);

    bool operator==(const PageFacts &) const = default;
};
