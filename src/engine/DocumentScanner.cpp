#include "DocumentScanner.h"

#include "CharacterReference.h"
#include "DocumentRewriter.h"
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
    ScannedDocument doc;
    doc.lineEnd = LineEnds::detect(bytes);
    doc.hasHead = hasHeadStart(bytes);
    if (!doc.hasHead)
        return doc;
    const auto region = HeadRegion::find(bytes);
    if (!region) {
        doc.charset = PageCharset::ofBytes(bytes);
        doc.encoding = doc.charset.readAs;
        return doc;
    }
    const HeadContents contents = HeadContents::of(bytes, *region);
    doc.charset = DocumentRewriter::charsetOf(bytes, *region, contents);
    doc.encoding = doc.charset.readAs;
    collect(doc, bytes, contents);
    return doc;
}
