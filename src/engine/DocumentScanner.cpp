#include "DocumentScanner.h"

#include "CharacterReference.h"
#include "PageCharset.h"
#include "HeadRegion.h"
#include "TagRecognition.h"

#include <array>
#include <cstring>

namespace {


// The two charset tags the program has written; either reads as the flag on.
constexpr std::array<std::string_view, 2> kCharsetTags
    = { "meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">",
          "meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">" };

bool isCharsetTag(std::string_view page, const ManagedTag &tag)
{
    const std::string_view text = page.substr(tag.from + 1, tag.to - tag.from - 1);
    for (const std::string_view charsetTag : kCharsetTags) {
        if (TagRecognition::equalsFolded(text, charsetTag))
            return true;
    }
    return false;
}

constexpr std::string_view kHeadEndTag = "</head>";

std::string *member(ScannedDocument &doc, TagKind kind)
{
    switch (kind) {
    case TagKind::Description:
        return &doc.description;
    case TagKind::Keywords:
        return &doc.keywords;
    case TagKind::Author:
        return &doc.author;
    case TagKind::Robots:
        return &doc.robots;
    default:
        return nullptr;
    }
}

void collect(ScannedDocument &doc, std::string_view page, const HeadContents &contents)
{
    doc.title = TextEncoding::toUtf8(contents.title, doc.encoding);
    for (const ManagedTag &tag : contents.tags) {
        if (tag.kind == TagKind::ContentType)
            doc.charsetTagFound = doc.charsetTagFound || isCharsetTag(page, tag);
        std::string *collected = member(doc, tag.kind);
        if (collected && tag.content)
            collected->append(CharacterReference::decodeAll(
                TextEncoding::toUtf8(*tag.content, doc.encoding), CharacterReference::Context::Attribute));
    }
}

template <typename PageIsUtf8> ScannedDocument scanWith(std::string_view bytes, PageIsUtf8 pageIsUtf8)
{
    const auto region = HeadRegion::find(bytes);
    if (!region) {
        // A page that cannot be opened needs no encoding; one with only "<header" does.
        const bool utf8
            = !DocumentScanner::hasHeadStart(bytes) || PageCharset::startsWithUtf8Mark(bytes) || pageIsUtf8();
        return DocumentScanner::scanFound(bytes, region, {}, utf8 ? Encoding::Utf8 : Encoding::Windows1252);
    }
    const HeadContents contents = HeadContents::of(bytes, *region);
    const std::optional<Encoding> decided = PageCharset::decidedEncodingOf(bytes, contents);
    const Encoding encoding = decided ? *decided : (pageIsUtf8() ? Encoding::Utf8 : Encoding::Windows1252);
    return DocumentScanner::scanFound(bytes, region, contents, encoding);
}

} // namespace

bool DocumentScanner::hasHeadStart(std::string_view bytes)
{
    for (const char *at = static_cast<const char *>(std::memchr(bytes.data(), '<', bytes.size())); at;) {
        const auto lt = static_cast<std::size_t>(at - bytes.data());
        if (TagRecognition::startsWithFolded(bytes.substr(lt + 1), "head"))
            return true;
        at = static_cast<const char *>(std::memchr(at + 1, '<', bytes.size() - lt - 1));
    }
    return false;
}

ScannedDocument DocumentScanner::scan(std::string_view bytes)
{
    return scanWith(bytes, [bytes] { return TextEncoding::isValidUtf8(bytes); });
}

DocumentScanner::Need DocumentScanner::needOf(std::string_view prefix)
{
    // A CR is a line end of its own only when no LF follows it.
    const std::size_t lineEnd = prefix.find_first_of("\r\n");
    if (lineEnd == std::string_view::npos || lineEnd + 1 == prefix.size())
        return Need::MoreBytes;
    const auto region = HeadRegion::find(prefix);
    if (!region || prefix.size() - region->contentTo < kHeadEndTag.size())
        return Need::MoreBytes;
    return PageCharset::decidedEncodingOf(prefix, HeadContents::of(prefix, *region)) ? Need::Nothing : Need::RestEncoding;
}

ScannedDocument DocumentScanner::scanPrefix(std::string_view prefix, bool pageIsUtf8)
{
    return scanWith(prefix, [pageIsUtf8] { return pageIsUtf8; });
}

ScannedDocument DocumentScanner::scanFound(std::string_view bytes, const std::optional<HeadRegion> &region,
    const HeadContents &contents, Encoding encoding)
{
    ScannedDocument doc;
    doc.lineEnd = LineEnds::detect(bytes);
    doc.hasHead = region || hasHeadStart(bytes);
    doc.encoding = encoding;
    if (region)
        collect(doc, bytes, contents);
    return doc;
}
