#pragma once

#include "HeadRegion.h"
#include "MetaElementSet.h"
#include "TextEncoding.h"

#include <optional>
#include <string_view>

// How a save writes the values into a page.
struct SaveEncoding
{
    Encoding encoding = Encoding::Utf8;
    // The charset tag, when the flag is on, declares UTF-8 rather than ISO-8859-1.
    bool declaresUtf8 = false;

    bool operator==(const SaveEncoding &) const = default;
};

// What a page's bytes say about its encoding, as a read finds it, in a browser's order: a
// UTF-8 byte order mark decides whatever the page declares; then a charset the HEAD region
// declares, when it names UTF-8 or the ISO-8859-1 family; otherwise the bytes: UTF-8 when
// they all are, else Windows-1252.
struct PageCharset
{
    Encoding readAs = Encoding::Utf8; // how the values were decoded
    // What the first declaration that a save keeps names, when it names one of the two.
    std::optional<Encoding> keptDeclaration;
    // The bytes a save keeps (all but the managed tags it removes): valid UTF-8, non-ASCII.
    bool keptValidUtf8 = true;
    bool keptNonAscii = false;
    // The page starts with EF BB BF; a save keeps it, so the saved page is UTF-8 too.
    bool utf8Mark = false;

    // The encoding a declared label stands for, when it is one the program writes in.
    static std::optional<Encoding> encodingOfLabel(std::string_view label);
    static bool isLatin1Label(std::string_view label);
    static bool isUtf8Label(std::string_view label);

    // A page without a HEAD region: its bytes alone. DocumentRewriter::charsetOf reads a
    // page that has one, as a save would leave it.
    static PageCharset ofBytes(std::string_view page);

    static bool startsWithUtf8Mark(std::string_view page);
    // The first declaration decides, as in a browser, when it names one of the two.
    static std::optional<Encoding> declaredEncodingOf(const HeadContents &contents);
    // What decides before the bytes are looked at: the mark, then the declaration.
    static std::optional<Encoding> decidedEncodingOf(std::string_view page, const HeadContents &contents);
    // Then the page's bytes.
    static Encoding readEncoding(
        std::string_view page, const HeadContents &contents, const TextEncoding::Survey &bytes);
    static std::optional<Encoding> keptDeclarationOf(const HeadContents &contents);

    // The values are written in the encoding the saved page will be read in, so that a read
    // gives back what was typed and a second save writes the same bytes: the page's own
    // when that holds, else the other one.
    SaveEncoding saveEncoding(const MetaElementSet &values) const;

    bool operator==(const PageCharset &) const = default;
};
