#pragma once

#include "PageFacts.h"
#include "ScannedDocument.h"

#include <string_view>

// A page read once for both what its window shows and what it warns about: the HEAD
// region is found and the page's bytes are surveyed a single time.
struct PageRead
{
    ScannedDocument document;
    PageFacts facts;

    static PageRead of(std::string_view bytes);
};
