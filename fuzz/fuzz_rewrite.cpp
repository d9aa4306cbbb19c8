// A save of any page either refuses it (no HEAD start tag) or writes a page that reads
// back the values set, that a second save leaves byte for byte alone, and that keeps every
// byte the save does not manage.

#include "document/DocumentRewriter.h"
#include "document/DocumentScanner.h"
#include "document/TagRecognition.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

MetaElementSet valuesFrom(std::string_view seed)
{
    MetaElementSet values;
    // Values come from the input too. Quotes and angle brackets are left out: a value that
    // holds markup breaks its own tag, and no save can promise to find its end again.
    std::string description;
    for (const char c : seed.substr(0, std::min<std::size_t>(seed.size() / 3, 40))) {
        if (c != '"' && c != '<' && c != '>')
            description += c;
    }
    values.setText(TextField::Description, TextEncoding::toUtf8(description, Encoding::Windows1252));
    values.setText(TextField::Author, "Fuzz");
    values.setFlag(RobotsFlag::NoFollow, !seed.empty() && (seed[0] & 1));
    values.setCharset(seed.size() % 2 == 0);
    return values;
}

// Every byte of the page is either kept in order or part of a removed managed tag line:
// the kept bytes, with the block taken out, form a subsequence of the page.
bool keptInOrder(std::string_view page, std::string_view written)
{
    std::size_t at = 0;
    for (const char c : written) {
        const std::size_t found = page.find(c, at);
        if (found == std::string_view::npos)
            return false;
        at = found + 1;
    }
    return true;
}

// A tag that runs into the next "<" before any ">" is not one the save can place: removing
// the tags around it changes what follows it, so such pages may settle only on a second save.
bool hasUnfinishedTag(std::string_view page)
{
    for (std::size_t lt = page.find('<'); lt != std::string_view::npos; lt = page.find('<', lt + 1)) {
        const char next = lt + 1 < page.size() ? static_cast<char>(page[lt + 1] | 0x20) : '\0';
        if (!((next >= 'a' && next <= 'z') || next == '/'
                || TagRecognition::matchRemoval(page.substr(lt + 1))))
            continue;
        const std::size_t following = page.find('<', lt + 1);
        const std::size_t close = page.find('>', lt + 1);
        if (close == std::string_view::npos || (following != std::string_view::npos && following < close))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view page(reinterpret_cast<const char *>(data), size);
    const MetaElementSet values = valuesFrom(page);
    const auto written = DocumentRewriter::save(page, values, "2.01a");
    if (!written)
        return 0;
    if (!DocumentScanner::hasHeadStart(page))
        std::abort();
    const auto again = DocumentRewriter::save(*written, values, "2.01a");
    // The page's line end is its first one, and its encoding depends on every byte: when a
    // removed tag took the first line end or the only non-UTF-8 bytes with it, the second
    // save rightly follows what the page has become.
    const bool sameForm = LineEnds::detect(page) == LineEnds::detect(*written)
        && TextEncoding::detect(page) == TextEncoding::detect(*written);
    if (!again || (*again != *written && !hasUnfinishedTag(page) && sameForm))
        std::abort();

    const ScannedDocument doc = DocumentScanner::scan(page);
    const std::string block = DocumentRewriter::encodedBlock(values, "2.01a", doc.lineEnd, doc.encoding);
    std::string rest = *written;
    const std::size_t blockAt = rest.find(block);
    if (blockAt == std::string::npos)
        std::abort();
    rest.erase(blockAt, block.size());
    // The head tags are written in capitals; compare letters without their case.
    std::string foldedPage(page);
    for (std::string *text : { &rest, &foldedPage }) {
        for (char &c : *text)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    // Text right after the HEAD start tag is moved to a line of its own by one line end.
    const std::string_view lineEnd = LineEnds::text(doc.lineEnd);
    std::string restWithoutBreak = rest;
    if (restWithoutBreak.compare(blockAt, lineEnd.size(), lineEnd) == 0)
        restWithoutBreak.erase(blockAt, lineEnd.size());
    if (!keptInOrder(foldedPage, rest) && !keptInOrder(foldedPage, restWithoutBreak))
        std::abort();
    return 0;
}
