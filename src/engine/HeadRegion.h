#pragma once

#include "TagRecognition.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A managed tag inside the HEAD region, from its "<" to just past its ">".
struct ManagedTag
{
    TagKind kind;
    std::size_t from = 0;
    std::size_t to = 0;
    std::optional<std::string_view> content; // its content attribute, as written
    // What a save removes: the tag, or its whole line when it stands alone on it.
    std::size_t removeFrom = 0;
    std::size_t removeTo = 0;
};

// A META tag that names a charset, through charset="..." or a Content-Type tag.
struct CharsetDeclaration
{
    std::string_view label; // as written
    bool removedBySave = false; // a managed tag, whatever attributes it carries
};

// The one part of a page that is read and rewritten: from the first HEAD start tag that
// stands outside a comment to the first "</head" after it, or to the end of the page.
// META tags outside it are neither read nor changed.
struct HeadRegion
{
    std::size_t startTag = 0; // the "<" of "<head"
    std::size_t contentFrom = 0; // just past the start tag
    std::size_t contentTo = 0; // the "<" of "</head", or the end of the page
    std::size_t end = 0; // past "</head>" when the end tag is exactly that, else contentTo
    bool bareStartTag = false; // "<head>" without attributes

    static std::optional<HeadRegion> find(std::string_view page);
    // Where the comment opened at lt ("<!--") ends: past its "-->", or the end of the page.
    static std::size_t commentEnd(std::string_view page, std::size_t lt);
    static bool opensComment(std::string_view page, std::size_t lt);
};

// What the region holds, in page order; comments inside it are skipped as browsers skip them.
// A managed tag whose removal would join a "<" before it to the text after it counts as
// no managed tag at all: the join could open a tag or a comment that was not there.
struct HeadContents
{
    std::string title; // every title's text run together, as written
    std::vector<ManagedTag> tags;
    std::vector<CharsetDeclaration> declarations;

    static HeadContents of(std::string_view page, const HeadRegion &region);
};
