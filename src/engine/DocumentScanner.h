#pragma once

#include "HeadRegion.h"
#include "ScannedDocument.h"

#include <optional>
#include <string_view>

// Reads a page's bytes: the HEAD test, then the title and the managed META tags of its
// HEAD region. Malformed values contribute nothing; the scan goes on.
class DocumentScanner
{
public:
    // What a read still needs once it holds the first bytes of a page. A read depends on
    // the page up to the end of its HEAD region and its first line end, and on the rest
    // only for the encoding, and that only when the region declares no charset.
    enum class Need {
        MoreBytes,
        Nothing,
        // Whether the whole page is UTF-8.
        RestEncoding,
    };

    // "<head" in any letter case anywhere in the page (so "<header" counts too).
    static bool hasHeadStart(std::string_view bytes);
    static ScannedDocument scan(std::string_view bytes);

    static Need needOf(std::string_view prefix);
    // The read of a whole page from its first bytes, once needOf them is not MoreBytes.
    // pageIsUtf8 matters only when the rest's encoding was needed.
    static ScannedDocument scanPrefix(std::string_view prefix, bool pageIsUtf8);
    // The read when the region and what it holds have been found already.
    static ScannedDocument scanFound(std::string_view bytes, const std::optional<HeadRegion> &region,
        const HeadContents &contents, Encoding encoding);
};
