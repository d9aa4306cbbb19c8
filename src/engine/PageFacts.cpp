#include "PageFacts.h"

#include "CharacterReference.h"
#include "DocumentRewriter.h"
#include "DocumentScanner.h"
#include "HeadRegion.h"
#include "TagAttributes.h"
#include "TextEncoding.h"
#include "TextWidth.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr std::size_t kShownBytes = 120;

struct ManagedName
{
    std::string_view name;
    TagKind kind;
};

constexpr std::array<ManagedName, 4> kManagedNames = { {
    { "description", TagKind::Description },
    { "keywords", TagKind::Keywords },
    { "author", TagKind::Author },
    { "robots", TagKind::Robots },
} };

bool isSpace(char c)
{
    return TagAttributes::isSpace(c);
}

std::string_view trimmed(std::string_view text)
{
    return TagAttributes::trimmed(text);
}

// The kind a META tag in any form is, by what a browser reads from it.
std::optional<TagKind> managedKind(const TagAttributes &attributes)
{
    if (const auto name = attributes.value("name")) {
        for (const ManagedName &managed : kManagedNames) {
            if (TagRecognition::equalsFolded(trimmed(*name), managed.name))
                return managed.kind;
        }
    }
    const auto httpEquiv = attributes.value("http-equiv");
    if (httpEquiv && TagRecognition::equalsFolded(trimmed(*httpEquiv), "content-type"))
        return TagKind::ContentType;
    return std::nullopt;
}

// The start of the UTF-8 character holding the byte at limit.
std::size_t characterStart(std::string_view utf8, std::size_t limit)
{
    while (limit > 0 && (static_cast<unsigned char>(utf8[limit]) & 0xC0) == 0x80)
        --limit;
    return limit;
}

// The tag as a one-line UTF-8 text of at most kShownBytes bytes of the page, plus "…".
std::string shownText(std::string_view tag, Encoding encoding)
{
    const bool shortened = tag.size() > kShownBytes;
    if (shortened)
        tag = tag.substr(0, encoding == Encoding::Utf8 ? characterStart(tag, kShownBytes) : kShownBytes);
    std::string text = TextEncoding::toUtf8(tag, encoding);
    for (char &c : text) {
        if (isSpace(c))
            c = ' ';
    }
    if (shortened)
        text += "\xE2\x80\xA6";
    return text;
}

// Every META tag of a managed kind that a read does not take: inside the region in a
// form it does not know, or outside the region altogether. Comments are skipped.
class OtherTags
{
public:
    OtherTags(std::string_view bytes, const std::optional<HeadRegion> &region, Encoding encoding)
        : m_bytes(bytes)
        , m_region(region)
        , m_encoding(encoding)
    {
    }

    void collect(PageFacts &page)
    {
        for (std::size_t at = 0; (at = TagRecognition::findMetaOrComment(m_bytes, at)) != std::string_view::npos;)
            at = visit(at, page);
    }

private:
    bool inRegion(std::size_t lt) const
    {
        return m_region && lt >= m_region->contentFrom && lt < m_region->contentTo;
    }

    std::size_t visit(std::size_t lt, PageFacts &page)
    {
        if (HeadRegion::opensComment(m_bytes, lt))
            return HeadRegion::commentEnd(m_bytes, lt);
        const std::string_view afterLessThan = m_bytes.substr(lt + 1);
        if (!TagRecognition::opensMeta(afterLessThan))
            return lt + 1;
        const bool inside = inRegion(lt);
        const auto attributes = TagAttributes::read(m_bytes, lt + 5, inside ? m_region->contentTo : m_bytes.size());
        if (!attributes)
            return inside ? m_region->contentTo : m_bytes.size();
        const auto kind = managedKind(*attributes);
        if (kind && (!inside || TagRecognition::match(afterLessThan) != kind)) {
            UnreadTag tag { *kind, lt, shownText(m_bytes.substr(lt, attributes->end() - lt), m_encoding) };
            (inside ? page.unreadTags : page.outsideTags).push_back(std::move(tag));
        }
        return attributes->end();
    }

    std::string_view m_bytes;
    const std::optional<HeadRegion> &m_region;
    Encoding m_encoding;
};

void addDeclarations(PageFacts &page, const HeadContents &contents)
{
    for (const CharsetDeclaration &declaration : contents.declarations) {
        std::string &named = declaration.removedBySave ? page.removedCharset : page.declaredCharset;
        if (named.empty())
            named = TextEncoding::toUtf8(declaration.label, page.charset.readAs);
    }
}

std::size_t descriptionTagsIn(const HeadContents &contents)
{
    return std::size_t(std::count_if(contents.tags.begin(), contents.tags.end(),
        [](const ManagedTag &tag) { return tag.kind == TagKind::Description; }));
}

} // namespace

PageFacts PageFacts::of(std::string_view bytes)
{
    const std::optional<HeadRegion> region = HeadRegion::find(bytes);
    return of(bytes, region, region ? HeadContents::of(bytes, *region) : HeadContents());
}

PageFacts PageFacts::of(std::string_view bytes, const std::optional<HeadRegion> &region, const HeadContents &contents)
{
    PageFacts page;
    page.hasHead = region || DocumentScanner::hasHeadStart(bytes);
    if (region) {
        page.charset = DocumentRewriter::charsetOf(bytes, *region, contents);
        addDeclarations(page, contents);
        page.descriptionTags = descriptionTagsIn(contents);
        page.shownTitle = TextWidth::collapsedSpaces(CharacterReference::decodeAll(
            TextEncoding::toUtf8(contents.title, page.charset.readAs), CharacterReference::Context::Text));
    } else {
        page.charset = PageCharset::ofBytes(bytes);
    }
    OtherTags(bytes, region, page.charset.readAs).collect(page);
    return page;
}
