#pragma once

#include "document/TagRecognition.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A managed tag written in a form the program neither reads nor removes (attributes in
// another order, extra spaces, single quotes...): a save would leave it beside the new tag.
struct UnreadTag
{
    TagKind kind;
    std::uint64_t offset = 0; // of its "<"
    std::string text;         // the tag as written, shortened for display, UTF-8
};

// What the page's bytes tell beyond the values: found once when a page is read, so that
// warnings can follow every keystroke without reading the page again.
struct PageFacts
{
    bool hasHead = false;
    bool utf8WithNonAscii = false;   // valid UTF-8 holding bytes above 0x7F
    std::string declaredCharset;     // value of <meta charset="...">, as written; empty if none
    // The charset named by a Content-Type tag that a save removes; empty if none.
    std::string removedCharset;
    std::vector<UnreadTag> unreadTags;

    static PageFacts of(std::string_view bytes);
};
