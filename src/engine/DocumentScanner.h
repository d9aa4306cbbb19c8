#pragma once

#include "ScannedDocument.h"

#include <string_view>

// Reads a page's bytes: the HEAD test, then the title and the managed META tags of its
// HEAD region. Malformed values contribute nothing; the scan goes on.
class DocumentScanner
{
public:
    // "<head" in any letter case anywhere in the page (so "<header" counts too).
    static bool hasHeadStart(std::string_view bytes);
    static ScannedDocument scan(std::string_view bytes);
};
