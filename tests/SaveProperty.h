#pragma once

// The promise a save makes for any page and any values, checked the same way by the fuzz
// targets and by the property test over real pages. Engine only: no Qt.

#include "DocumentRewriter.h"
#include "DocumentScanner.h"
#include "HeadRegion.h"
#include "TextEncoding.h"

#include <string>
#include <string_view>

namespace SaveProperty {

// The text a field holds once typed: the editor only holds Unicode, so bytes that are not
// UTF-8 stand for U+FFFD.
inline std::string typed(std::string_view text)
{
    std::string out;
    for (std::size_t pos = 0; pos < text.size();)
        TextEncoding::appendUtf8(out, TextEncoding::decodeNext(text, pos));
    return out;
}

// The values as a read of the saved page must show them.
inline MetaElementSet expectedRead(const MetaElementSet &values)
{
    MetaElementSet expected = values;
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author }) {
        const std::string text = typed(values.text(field));
        expected.setText(field,
            MetaElementSet::hasValue(field, text) ? text : std::string(MetaElementSet::noValueText(field)));
    }
    return expected;
}

// The region's bytes without the managed tags and without white space: what a save keeps.
inline std::string unmanaged(std::string_view page, const HeadRegion &region)
{
    std::string kept;
    std::size_t at = region.contentFrom;
    const auto keep = [&](std::size_t to) {
        for (; at < to; ++at) {
            const char c = page[at];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                kept += c;
        }
    };
    for (const ManagedTag &tag : HeadContents::of(page, region).tags) {
        keep(tag.from);
        at = tag.to;
    }
    keep(region.contentTo);
    return kept;
}

// Empty when the save of page with values keeps every promise, else what it broke.
inline std::string check(std::string_view page, const MetaElementSet &values, std::string_view version = "2.01a")
{
    const auto before = HeadRegion::find(page);
    const auto written = DocumentRewriter::save(page, values, version);
    if (!written)
        return before ? "a page with a HEAD start tag was refused" : std::string();
    if (!before || !DocumentScanner::hasHeadStart(page))
        return "a page without a HEAD start tag was written";
    const auto after = HeadRegion::find(*written);
    if (!after)
        return "the saved page has no HEAD region";
    if (DocumentScanner::scan(*written).values() != expectedRead(values))
        return "reading the saved page does not give back the values set";
    if (DocumentRewriter::save(*written, values, version) != written)
        return "a second save wrote other bytes";
    if (written->compare(0, before->startTag, page.substr(0, before->startTag)) != 0)
        return "bytes before the HEAD start tag changed";
    const std::string_view tail = page.substr(before->end);
    if (written->size() < tail.size() || written->compare(written->size() - tail.size(), tail.size(), tail) != 0)
        return "bytes after the HEAD region changed";
    if (unmanaged(page, *before) != unmanaged(*written, *after))
        return "bytes inside the HEAD region other than managed tags changed";
    return {};
}

} // namespace SaveProperty
