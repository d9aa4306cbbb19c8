#pragma once

#include "LineEnds.h"
#include "MetaElementSet.h"
#include "TextEncoding.h"

#include <string>

// What a read finds in a page: its line end and encoding, and the title and tag values
// collected from its HEAD region (decoded to UTF-8, character references resolved).
// Repeated tags have their values run together.
struct ScannedDocument
{
    bool hasHead = false;
    LineEnd lineEnd = LineEnd::CrLf;
    Encoding encoding = Encoding::Utf8;
    std::string title; // as written, decoded to UTF-8
    std::string description;
    std::string keywords;
    std::string author;
    std::string robots;
    bool charsetTagFound = false;

    // The values as a document window shows them after opening the page: a missing text
    // becomes its "no value" text, and the robots words switch the flags on in the order
    // they appear, so of the exclusive flags the last one found stays on.
    MetaElementSet values() const;

    bool operator==(const ScannedDocument &) const = default;
};
