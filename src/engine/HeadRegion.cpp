#include "HeadRegion.h"

#include "LineEnds.h"
#include "TagAttributes.h"

#include <cstring>

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isTagSpace(char c)
{
    return TagAttributes::isSpace(c);
}

std::string_view trimmed(std::string_view text)
{
    return TagAttributes::trimmed(text);
}

std::size_t findByte(std::string_view bytes, char wanted, std::size_t from, std::size_t limit)
{
    if (from >= limit)
        return npos;
    const void *hit = std::memchr(bytes.data() + from, wanted, limit - from);
    return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - bytes.data()) : npos;
}

bool opensHead(std::string_view page, std::size_t lt)
{
    const std::string_view after = page.substr(lt + 1);
    return after.size() >= 5 && TagRecognition::startsWithFolded(after, "head")
        && (after[4] == '>' || isTagSpace(after[4]));
}

// Just past the HEAD start tag at lt; nothing when its attributes never end.
std::optional<std::size_t> headStartEnd(std::string_view page, std::size_t lt)
{
    if (page[lt + 5] == '>')
        return lt + 6;
    const auto attributes = TagAttributes::read(page, lt + 5, page.size());
    return attributes ? std::optional(attributes->end()) : std::nullopt;
}

std::size_t findHeadEnd(std::string_view page, std::size_t from)
{
    for (std::size_t lt = findByte(page, '<', from, page.size()); lt != npos;
         lt = findByte(page, '<', lt + 1, page.size())) {
        if (TagRecognition::startsWithFolded(page.substr(lt + 1), "/head"))
            return lt;
    }
    return page.size();
}

// The charset a Content-Type value ("text/html; charset=utf-8") names, found the way a
// browser finds it: "charset", optional spaces, "=", a quoted or bare value.
std::string_view charsetParameter(std::string_view content)
{
    constexpr std::string_view kKey = "charset";
    for (std::size_t at = 0; at + kKey.size() <= content.size(); ++at) {
        if (!TagRecognition::startsWithFolded(content.substr(at), kKey))
            continue;
        std::string_view rest = trimmed(content.substr(at + kKey.size()));
        if (rest.empty() || rest.front() != '=')
            continue;
        rest = trimmed(rest.substr(1));
        if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
            const std::size_t close = rest.find(rest.front(), 1);
            return close == npos ? std::string_view() : rest.substr(1, close - 1);
        }
        std::size_t length = 0;
        while (length < rest.size() && !isTagSpace(rest[length]) && rest[length] != ';')
            ++length;
        return rest.substr(0, length);
    }
    return {};
}

std::string_view declaredLabel(const TagAttributes &attributes)
{
    if (const auto charset = attributes.value("charset"))
        return trimmed(*charset);
    const auto httpEquiv = attributes.value("http-equiv");
    const auto content = attributes.value("content");
    if (httpEquiv && content && TagRecognition::equalsFolded(trimmed(*httpEquiv), "content-type"))
        return charsetParameter(*content);
    return {};
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

struct Span
{
    std::size_t from;
    std::size_t to;
};

// A tag alone on its line goes with its line: the blanks around it and the line end
// before it. Otherwise only the tag itself goes. A tag inside the HEAD region always has
// the start tag's ">" somewhere before it on the page, so a line end precedes its line.
Span removalSpan(std::string_view page, std::size_t lt, std::size_t end)
{
    std::size_t lineStart = lt;
    while (lineStart > 0 && isBlank(page[lineStart - 1]))
        --lineStart;
    std::size_t lineEnd = end;
    while (lineEnd < page.size() && isBlank(page[lineEnd]))
        ++lineEnd;
    const bool startsLine = lineStart > 0 && LineEnds::isLineEndByte(page[lineStart - 1]);
    const bool endsLine = lineEnd == page.size() || LineEnds::isLineEndByte(page[lineEnd]);
    if (!startsLine || !endsLine)
        return { lt, end };
    std::size_t from = lineStart - 1;
    if (page[from] == '\n' && from > 0 && page[from - 1] == '\r')
        --from;
    return { from, lineEnd };
}

bool continuesTagName(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '!' || c == '?'
        || c == '/' || c == '-';
}

// Whether taking the span out could open markup that was not there: "<meta<meta ...>\n"
// leaves "<meta\n", "<<meta ...>x" leaves "<x", "<!-<meta ...>-" a comment. Only what
// stands before the span decides: what follows it may itself be removed by the same save,
// and the answer must be the same on the next save.
bool removalOpensMarkup(std::string_view page, Span span)
{
    std::size_t nameStart = span.from;
    while (nameStart > 0 && continuesTagName(page[nameStart - 1]))
        --nameStart;
    return nameStart > 0 && page[nameStart - 1] == '<';
}

class ContentsReader
{
public:
    ContentsReader(std::string_view page, const HeadRegion &region)
        : m_page(page)
        , m_limit(region.contentTo)
        , m_at(region.contentFrom)
    {
    }

    HeadContents read()
    {
        HeadContents contents;
        while ((m_at = findByte(m_page, '<', m_at, m_limit)) != npos)
            m_at = visit(m_at, contents);
        return contents;
    }

private:
    // Returns where the search for the next tag goes on.
    std::size_t visit(std::size_t lt, HeadContents &contents)
    {
        if (HeadRegion::opensComment(m_page, lt))
            return HeadRegion::commentEnd(m_page, lt);
        const std::string_view after = m_page.substr(lt + 1, m_limit - lt - 1);
        const std::optional<TagKind> kind = TagRecognition::match(after);
        if (kind == TagKind::Title) {
            const std::size_t start = lt + 1 + TagRecognition::prefix(TagKind::Title).size();
            const std::size_t end = findByte(m_page, '<', start, m_limit);
            contents.title.append(m_page.substr(start, (end == npos ? m_limit : end) - start));
            return start;
        }
        if (!TagRecognition::opensMeta(after))
            return lt + 1;
        const auto attributes = TagAttributes::read(m_page, lt + 5, m_limit);
        // A tag that never ends swallows the rest of the region, as in a browser; going
        // on would also make every later "<meta" read to the end again.
        if (!attributes)
            return m_limit;
        const Span span = removalSpan(m_page, lt, attributes->end());
        const bool managed = kind && !removalOpensMarkup(m_page, span);
        if (managed)
            contents.tags.push_back({ *kind, lt, attributes->end(), attributes->value("content"), span.from, span.to });
        if (const std::string_view label = declaredLabel(*attributes); !label.empty())
            contents.declarations.push_back({ label, managed });
        return attributes->end();
    }

    std::string_view m_page;
    std::size_t m_limit;
    std::size_t m_at;
};

} // namespace

bool HeadRegion::opensComment(std::string_view page, std::size_t lt)
{
    return page.substr(lt, 4) == "<!--";
}

std::size_t HeadRegion::commentEnd(std::string_view page, std::size_t lt)
{
    // Searching from the first dash also ends the empty comments "<!-->" and "<!--->".
    const std::size_t close = page.find("-->", lt + 2);
    return close == npos ? page.size() : close + 3;
}

std::optional<HeadRegion> HeadRegion::find(std::string_view page)
{
    std::size_t at = 0;
    while ((at = findByte(page, '<', at, page.size())) != npos) {
        if (opensComment(page, at)) {
            at = commentEnd(page, at);
            continue;
        }
        if (opensHead(page, at)) {
            // A tag that never ends swallows the rest of the page, as in a browser.
            const auto startEnd = headStartEnd(page, at);
            if (!startEnd)
                return std::nullopt;
            HeadRegion region;
            region.startTag = at;
            region.contentFrom = *startEnd;
            region.bareStartTag = *startEnd == at + 6;
            region.contentTo = findHeadEnd(page, *startEnd);
            const bool bareEndTag = TagRecognition::startsWithFolded(page.substr(region.contentTo), "</head>");
            region.end = region.contentTo + (bareEndTag ? 7 : 0);
            return region;
        }
        ++at;
    }
    return std::nullopt;
}

HeadContents HeadContents::of(std::string_view page, const HeadRegion &region)
{
    return ContentsReader(page, region).read();
}
