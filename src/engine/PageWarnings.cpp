#include "PageWarnings.h"

#include "TextWidth.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
}

std::optional<WarningTarget> targetOf(TagKind kind)
{
    switch (kind) {
    case TagKind::Description:
        return WarningTarget::Description;
    case TagKind::Keywords:
        return WarningTarget::Keywords;
    case TagKind::Author:
        return WarningTarget::Author;
    case TagKind::Robots:
        return WarningTarget::Robots;
    case TagKind::ContentType:
        return WarningTarget::Charset;
    default:
        return std::nullopt;
    }
}

std::string_view tagName(TagKind kind)
{
    switch (kind) {
    case TagKind::Description:
        return "description";
    case TagKind::Keywords:
        return "keywords";
    case TagKind::Author:
        return "author";
    case TagKind::Robots:
        return "robots";
    default:
        return "content-type";
    }
}

void addDroppedCharsetWarning(std::vector<Warning> &warnings, const PageFacts &page)
{
    if (page.removedCharset.empty() || !page.declaredCharset.empty())
        return;
    const std::string remedy = PageCharset::isLatin1Label(page.removedCharset)
        ? "switch the charset tag on to keep ISO-8859-1 declared"
        : "add <meta charset=\"" + page.removedCharset + "\"> to the page by hand, which a save keeps";
    warnings.push_back({ WarningKind::CharsetDropped, WarningTarget::Charset,
        "A save removes the Content-Type tag that declares the charset \"" + page.removedCharset
            + "\" and the charset tag is off, so browsers would have to guess; " + remedy + "." });
}

void addCharsetWarnings(
    std::vector<Warning> &warnings, const PageFacts &page, const MetaElementSet &values)
{
    if (!values.charset()) {
        addDroppedCharsetWarning(warnings, page);
        return;
    }
    // The tag a save writes names UTF-8 or ISO-8859-1; another declaration that names the
    // same is no conflict.
    const bool writesUtf8 = page.charset.saveEncoding(values).declaresUtf8;
    const std::string_view written = writesUtf8 ? "UTF-8" : "ISO-8859-1";
    const bool sameCharset = writesUtf8 ? PageCharset::isUtf8Label(page.declaredCharset)
                                        : PageCharset::isLatin1Label(page.declaredCharset);
    if (!page.declaredCharset.empty() && !sameCharset)
        warnings.push_back({ WarningKind::CharsetConflict, WarningTarget::Charset,
            "The page already declares the charset \"" + page.declaredCharset + "\"; adding "
                + std::string(written) + " gives browsers two answers, so switch the charset tag off." });
}

void addUnreadTagWarnings(std::vector<Warning> &warnings, const PageFacts &page)
{
    for (const UnreadTag &tag : page.unreadTags) {
        const auto target = targetOf(tag.kind);
        if (!target)
            continue;
        warnings.push_back({ WarningKind::UnreadTagForm, *target,
            "The page has a " + std::string(tagName(tag.kind))
                + " tag written in a form this program does not read (" + tag.text
                + "); a save leaves it beside the new one, so remove it by hand." });
    }
}

void addOutsideHeadWarnings(std::vector<Warning> &warnings, const PageFacts &page)
{
    for (const UnreadTag &tag : page.outsideTags) {
        const auto target = targetOf(tag.kind);
        if (!target)
            continue;
        warnings.push_back({ WarningKind::OutsideHead, *target,
            "The page has a " + std::string(tagName(tag.kind)) + " tag outside its HEAD (" + tag.text
                + "); this program neither reads nor changes it, so move it into the HEAD or remove it "
                  "by hand." });
    }
}

void addDescriptionSizeWarnings(
    std::vector<Warning> &warnings, const std::string &description, const WidthLimits &limits)
{
    const double pixels = TextWidth::descriptionPixels(description);
    const double shortest = limits.description * WidthLimits::kShortShare;
    if (pixels > limits.description)
        warnings.push_back({ WarningKind::DescriptionTooLong, WarningTarget::Description,
            "The description is wider than the " + std::to_string(int(limits.description))
                + " pixels a search result shows, so its end is cut off; shorten it." });
    else if (pixels < shortest)
        warnings.push_back({ WarningKind::DescriptionTooShort, WarningTarget::Description,
            "The description is narrower than " + std::to_string(int(shortest))
                + " pixels, too short to tell searchers what the page offers; say a little more." });
}

void addDescriptionTextWarnings(std::vector<Warning> &warnings, const PageFacts &page,
    const std::string &description, const WidthLimits &limits)
{
    addDescriptionSizeWarnings(warnings, description, limits);
    if (!page.shownTitle.empty() && TextWidth::collapsedSpaces(description) == page.shownTitle)
        warnings.push_back({ WarningKind::DescriptionSameAsTitle, WarningTarget::Description,
            "The description repeats the title, which a search result shows right above it; describe "
            "the page instead." });
    if (page.descriptionTags > 1)
        warnings.push_back({ WarningKind::DescriptionRepeated, WarningTarget::Description,
            "The page has " + std::to_string(page.descriptionTags)
                + " description tags, read as one text run together; a save writes one tag with the text "
                  "shown." });
}

void addDescriptionWarnings(std::vector<Warning> &warnings, const PageFacts &page, const MetaElementSet &values,
    bool shared, const WidthLimits &limits)
{
    const std::string &description = values.text(TextField::Description);
    if (isBlank(description)) {
        warnings.push_back({ WarningKind::DescriptionMissing, WarningTarget::Description,
            "The description is empty; search engines will make up a snippet from the page, so write "
            "a sentence or two about it." });
        return;
    }
    if (!MetaElementSet::hasValue(TextField::Description, description)) {
        warnings.push_back({ WarningKind::DescriptionPlaceholder, WarningTarget::Description,
            "The description is the placeholder \"" + description
                + "\", so no description tag is written; write a sentence or two about the page." });
        return;
    }
    addDescriptionTextWarnings(warnings, page, description, limits);
    if (shared)
        warnings.push_back(PageWarnings::descriptionShared());
}

} // namespace

std::vector<Warning> PageWarnings::evaluate(
    const PageFacts &page, const MetaElementSet &values, bool sharedDescription, const WidthLimits &limits)
{
    std::vector<Warning> warnings;
    addCharsetWarnings(warnings, page, values);
    addUnreadTagWarnings(warnings, page);
    addOutsideHeadWarnings(warnings, page);
    addDescriptionWarnings(warnings, page, values, sharedDescription, limits);
    return warnings;
}

Warning PageWarnings::descriptionShared()
{
    return { WarningKind::DescriptionShared, WarningTarget::Description,
        "Another page has the same description; give each page its own so search results tell them apart." };
}

std::string_view PageWarnings::kindName(WarningKind kind)
{
    switch (kind) {
    case WarningKind::CharsetConflict:
        return "charset-conflict";
    case WarningKind::CharsetDropped:
        return "charset-dropped";
    case WarningKind::UnreadTagForm:
        return "unread-tag-form";
    case WarningKind::OutsideHead:
        return "outside-head";
    case WarningKind::DescriptionMissing:
        return "description-missing";
    case WarningKind::DescriptionPlaceholder:
        return "description-placeholder";
    case WarningKind::DescriptionTooLong:
        return "description-too-long";
    case WarningKind::DescriptionTooShort:
        return "description-too-short";
    case WarningKind::DescriptionSameAsTitle:
        return "description-same-as-title";
    case WarningKind::DescriptionRepeated:
        return "description-repeated";
    case WarningKind::DescriptionShared:
        break;
    }
    return "description-shared";
}

std::string_view PageWarnings::targetName(WarningTarget target)
{
    switch (target) {
    case WarningTarget::Description:
        return "description";
    case WarningTarget::Keywords:
        return "keywords";
    case WarningTarget::Author:
        return "author";
    case WarningTarget::Robots:
        return "robots";
    case WarningTarget::Charset:
        break;
    }
    return "charset";
}
