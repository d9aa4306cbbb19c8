#include "document/DocumentRewriter.h"

#include "document/TagBlock.h"
#include "document/TagRecognition.h"

#include <cstring>

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

bool isTagSpace(char c)
{
    return isBlank(c) || isLineEnd(c) || c == '\f';
}

// Where the tag opened at lt ends (just past its ">"), or npos when another tag starts
// first. A ">" inside a quoted value does not end the tag, but the end never runs past
// the next "<", so unbalanced quotes cannot swallow the rest of the page.
std::size_t tagEnd(std::string_view page, std::size_t lt)
{
    std::size_t firstGreater = npos;
    bool inQuote = false;
    for (std::size_t i = lt + 1; i < page.size(); ++i) {
        const char c = page[i];
        if (c == '"') {
            inQuote = !inQuote;
        } else if (c == '<') {
            break;
        } else if (c == '>') {
            if (!inQuote)
                return i + 1;
            if (firstGreater == npos)
                firstGreater = i;
        }
    }
    return firstGreater == npos ? npos : firstGreater + 1;
}

struct Span
{
    std::size_t from;
    std::size_t to;
};

// A tag alone on its line goes with its line: the blanks around it and the line end
// before it (the one after it on the first line). Otherwise only the tag itself goes.
Span removalSpan(std::string_view page, std::size_t lt, std::size_t end)
{
    std::size_t lineStart = lt;
    while (lineStart > 0 && isBlank(page[lineStart - 1]))
        --lineStart;
    std::size_t lineEnd = end;
    while (lineEnd < page.size() && isBlank(page[lineEnd]))
        ++lineEnd;
    const bool startsLine = lineStart == 0 || isLineEnd(page[lineStart - 1]);
    const bool endsLine = lineEnd == page.size() || isLineEnd(page[lineEnd]);
    if (!startsLine || !endsLine)
        return { lt, end };
    if (lineStart > 0) {
        std::size_t from = lineStart - 1;
        if (page[from] == '\n' && from > 0 && page[from - 1] == '\r')
            --from;
        return { from, lineEnd };
    }
    std::size_t to = lineEnd;
    if (to < page.size() && page[to] == '\r')
        ++to;
    if (to < page.size() && page[to] == '\n' && (to == lineEnd || page[to - 1] == '\r'))
        ++to;
    return { 0, to };
}

// Length of a HEAD start tag at lt ("<head>" or "<head" with attributes), or 0.
std::size_t headStartLength(std::string_view page, std::size_t lt)
{
    const std::string_view after = page.substr(lt + 1);
    if (!TagRecognition::startsWithFolded(after, "head") || after.size() < 5)
        return 0;
    if (after[4] == '>')
        return 6;
    if (!isTagSpace(after[4]))
        return 0;
    const std::size_t end = tagEnd(page, lt);
    return end == npos ? 0 : end - lt;
}

class Rewrite
{
public:
    Rewrite(std::string_view page, std::string_view block, std::string_view lineEnd)
        : m_page(page)
        , m_block(block)
        , m_lineEnd(lineEnd)
    {
        m_out.reserve(page.size() + block.size());
    }

    std::optional<DocumentRewriter::Plan> run()
    {
        std::size_t at = 0;
        while (at < m_page.size()) {
            const void *hit = std::memchr(m_page.data() + at, '<', m_page.size() - at);
            if (!hit)
                break;
            const auto lt = static_cast<std::size_t>(static_cast<const char *>(hit) - m_page.data());
            if (atHeadEnd(lt))
                break;
            at = visit(lt);
        }
        if (!m_inserted)
            return std::nullopt;
        return DocumentRewriter::Plan { std::move(m_out), m_copied };
    }

private:
    // Returns where the search for the next tag goes on.
    std::size_t visit(std::size_t lt)
    {
        if (!m_inserted) {
            if (const std::size_t length = headStartLength(m_page, lt)) {
                emitUpTo(lt);
                // The bare start tag is written in capitals; one with attributes stays as written.
                m_out.append(length == 6 ? std::string_view("<HEAD>") : m_page.substr(lt, length));
                m_out.append(m_block);
                m_copied = lt + length;
                if (m_copied < m_page.size() && !isLineEnd(m_page[m_copied]))
                    m_out.append(m_lineEnd);
                m_inserted = true;
                return m_copied;
            }
        }
        if (TagRecognition::matchRemoval(m_page.substr(lt + 1))) {
            const std::size_t end = tagEnd(m_page, lt);
            if (end == npos)
                return lt + 1;
            const Span span = removalSpan(m_page, lt, end);
            emitUpTo(std::max(span.from, m_copied));
            m_copied = std::max(span.to, m_copied);
            return end;
        }
        return lt + 1;
    }

    // Past the HEAD end tag nothing is touched: it is written in capitals, the rest as it is.
    bool atHeadEnd(std::size_t lt)
    {
        if (!TagRecognition::startsWithFolded(m_page.substr(lt + 1), "/head>"))
            return false;
        emitUpTo(lt);
        m_out.append("</HEAD>");
        m_copied = lt + 7;
        return true;
    }

    void emitUpTo(std::size_t position)
    {
        if (position > m_copied)
            m_out.append(m_page.substr(m_copied, position - m_copied));
        m_copied = std::max(m_copied, position);
    }

    std::string_view m_page;
    std::string_view m_block;
    std::string_view m_lineEnd;
    std::string m_out;
    std::size_t m_copied = 0;
    bool m_inserted = false;
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

std::optional<DocumentRewriter::Plan> DocumentRewriter::plan(
    std::string_view page, std::string_view block, std::string_view lineEnd)
{
    return Rewrite(page, block, lineEnd).run();
}

std::optional<std::string> DocumentRewriter::rewrite(
    std::string_view page, std::string_view block, std::string_view lineEnd)
{
    const auto planned = plan(page, block, lineEnd);
    return planned ? std::optional(planned->joined(page)) : std::nullopt;
}

std::string DocumentRewriter::encodedBlock(
    const MetaElementSet &values, std::string_view version, LineEnd lineEnd, Encoding encoding)
{
    return TextEncoding::fromUtf8ForHtml(
        TagBlock::forInsertion(values, version, LineEnds::text(lineEnd)), encoding);
}

std::optional<DocumentRewriter::Plan> DocumentRewriter::planSave(
    std::string_view page, const MetaElementSet &values, std::string_view version)
{
    const LineEnd lineEnd = LineEnds::detect(page);
    const std::string block = encodedBlock(values, version, lineEnd, TextEncoding::detect(page));
    return plan(page, block, LineEnds::text(lineEnd));
}

std::optional<std::string> DocumentRewriter::save(
    std::string_view page, const MetaElementSet &values, std::string_view version)
{
    const auto planned = planSave(page, values, version);
    return planned ? std::optional(planned->joined(page)) : std::nullopt;
}
