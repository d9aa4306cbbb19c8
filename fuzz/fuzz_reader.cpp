// Any bytes must read without a crash: values come out as UTF-8 and compose a tag block,
// and a page with a HEAD region is one that passes the HEAD test. A read that stops where
// the bytes read so far decide it reads what a read of the whole page reads; UTF-8
// checked in two pieces, or as two halves cut anywhere, is UTF-8 whole, and checked with
// vectors of each width, byte by byte.

#include "DocumentScanner.h"
#include "HeadRegion.h"
#include "TagBlock.h"
#include "PageFacts.h"
#include "PageRead.h"
#include "Utf8Validator.h"
#include "Utf8VectorCheck.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const ScannedDocument document = DocumentScanner::scan(bytes);
    if (document.hasHead != DocumentScanner::hasHeadStart(bytes))
        std::abort();
    if (HeadRegion::find(bytes) && !document.hasHead)
        std::abort();
    const MetaElementSet values = document.values();
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author }) {
        if (!TextEncoding::isValidUtf8(values.text(field)))
            std::abort();
    }
    // Every tag the facts point at starts where they say.
    const PageFacts facts = PageFacts::of(bytes);
    for (const auto *tags : { &facts.unreadTags, &facts.outsideTags }) {
        for (const UnreadTag &tag : *tags) {
            if (tag.offset >= size || bytes[tag.offset] != '<' || !TextEncoding::isValidUtf8(tag.text))
                std::abort();
        }
    }
    // The last byte chooses where the bytes read so far end.
    const std::size_t cut = size == 0 ? 0 : data[size - 1] * size / 256;
    const std::string_view prefix = bytes.substr(0, cut);
    const bool pageIsUtf8 = TextEncoding::isValidUtf8(bytes);
    if (pageIsUtf8 != TextEncoding::isValidUtf8ByteByByte(bytes) || pageIsUtf8 != TextEncoding::survey(bytes).validUtf8)
        std::abort();
    for (const Utf8VectorCheck::Width width : Utf8VectorCheck::widths()) {
        if (Utf8VectorCheck::isValid(width, bytes) != pageIsUtf8)
            std::abort();
    }
    if (DocumentScanner::needOf(prefix) != DocumentScanner::Need::MoreBytes
        && !(DocumentScanner::scanPrefix(prefix, pageIsUtf8) == document))
        std::abort();
    Utf8Validator validator;
    validator.feed(prefix);
    validator.feed(bytes.substr(cut));
    if (validator.valid() != pageIsUtf8 || (document.hasHead && PageRead::of(bytes).document != document))
        std::abort();
    // Checked as two halves at once, the second from the first character at or after cut.
    const std::size_t secondFrom = cut + Utf8Validator::characterTailLength(bytes.substr(cut));
    Utf8Validator first;
    first.feed(bytes.substr(0, secondFrom));
    Utf8Validator second;
    second.feed(bytes.substr(secondFrom));
    if ((first.valid() && second.valid()) != pageIsUtf8)
        std::abort();
    const std::string block = TagBlock::forView(values, "2.01a", LineEnds::text(document.lineEnd));
    return block.empty() ? 1 : 0;
}
