#include "DocumentRewriter.h"

#include "TagBlock.h"
#include "TextEncoding.h"

#include <algorithm>

namespace {

class Rewrite
{
public:
    Rewrite(std::string_view page, std::string_view block)
        : m_page(page)
    {
        m_out.reserve(std::min(page.size(), std::size_t(1) << 20) + block.size());
    }

    DocumentRewriter::Plan run(const HeadRegion &region, const HeadContents &contents, std::string_view block,
        std::string_view lineEnd)
    {
        emitUpTo(region.startTag);
        // The bare start tag is written in capitals; one with attributes stays as written.
        if (region.bareStartTag)
            m_out.append("<HEAD>");
        else
            m_out.append(m_page.substr(region.startTag, region.contentFrom - region.startTag));
        m_copied = region.contentFrom;
        m_out.append(block);
        if (m_copied < m_page.size() && !LineEnds::isLineEndByte(m_page[m_copied]))
            m_out.append(lineEnd);
        for (const ManagedTag &tag : contents.tags) {
            emitUpTo(tag.removeFrom);
            m_copied = std::max(tag.removeTo, m_copied);
        }
        emitUpTo(region.contentTo);
        if (region.end > region.contentTo) {
            m_out.append("</HEAD>");
            m_copied = region.end;
        }
        return DocumentRewriter::Plan { std::move(m_out), m_copied };
    }

private:
    void emitUpTo(std::size_t position)
    {
        if (position > m_copied)
            m_out.append(m_page.substr(m_copied, position - m_copied));
        m_copied = std::max(m_copied, position);
    }

    std::string_view m_page;
    std::string m_out;
    std::size_t m_copied = 0;
};

} // namespace

std::string DocumentRewriter::Plan::joined(std::string_view page) const
{
    std::string whole;
    whole.reserve(head.size() + page.size() - tailFrom);
    whole.append(head);
    whole.append(page.substr(tailFrom));
    return whole;
}

DocumentRewriter::Plan DocumentRewriter::plan(std::string_view page, const HeadRegion &region,
    const HeadContents &contents, std::string_view block, std::string_view lineEnd)
{
    return Rewrite(page, block).run(region, contents, block, lineEnd);
}

std::string DocumentRewriter::encodedBlock(
    const MetaElementSet &values, std::string_view version, LineEnd lineEnd, const SaveEncoding &encoding)
{
    return TextEncoding::fromUtf8ForHtml(
        TagBlock::forInsertion(values, version, LineEnds::text(lineEnd), encoding.declaresUtf8), encoding.encoding);
}

std::string DocumentRewriter::shownBlock(const MetaElementSet &values, std::string_view version,
    std::string_view lineEnd, const SaveEncoding &encoding)
{
    const std::string written = TextEncoding::fromUtf8ForHtml(
        TagBlock::forView(values, version, lineEnd, encoding.declaresUtf8), encoding.encoding);
    return TextEncoding::toUtf8(written, encoding.encoding);
}

PageCharset DocumentRewriter::charsetOf(std::string_view page, const HeadRegion &region, const HeadContents &contents)
{
    const TextEncoding::Survey bytes = TextEncoding::survey(page);
    PageCharset charset;
    charset.utf8Mark = PageCharset::startsWithUtf8Mark(page);
    charset.readAs = PageCharset::readEncoding(page, contents, bytes);
    charset.keptDeclaration = PageCharset::keptDeclarationOf(contents);
    charset.keptValidUtf8 = bytes.validUtf8;
    charset.keptNonAscii = bytes.nonAscii;
    if (bytes.validUtf8 && !bytes.nonAscii)
        return charset;
    // A save cuts the managed tags out at ASCII bytes, so UTF-8 stays UTF-8; but what it
    // cuts may hold the only non-ASCII or the only stray bytes. The saved page is the
    // bytes kept with the block put in between ASCII bytes, so the block decides the rest.
    const Plan kept = plan(page, region, contents, {}, "\n");
    const std::string_view tail = page.substr(kept.tailFrom);
    charset.keptNonAscii = TextEncoding::hasNonAscii(kept.head) || TextEncoding::hasNonAscii(tail);
    if (!bytes.validUtf8)
        charset.keptValidUtf8 = TextEncoding::isValidUtf8Joined(kept.head, tail);
    return charset;
}

std::optional<DocumentRewriter::Plan> DocumentRewriter::planSave(
    std::string_view page, const MetaElementSet &values, std::string_view version)
{
    const auto region = HeadRegion::find(page);
    if (!region)
        return std::nullopt;
    const HeadContents contents = HeadContents::of(page, *region);
    const LineEnd lineEnd = LineEnds::detect(page);
    const SaveEncoding encoding = charsetOf(page, *region, contents).saveEncoding(values);
    return plan(page, *region, contents, encodedBlock(values, version, lineEnd, encoding), LineEnds::text(lineEnd));
}

std::optional<std::string> DocumentRewriter::save(
    std::string_view page, const MetaElementSet &values, std::string_view version)
{
    const auto planned = planSave(page, values, version);
    return planned ? std::optional(planned->joined(page)) : std::nullopt;
}
