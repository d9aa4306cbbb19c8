#include "seo/PageWarnings.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// The names browsers take for windows-1252, which is what the ISO-8859-1 declaration
// means to them: declaring one of these twice is no conflict.
constexpr std::array<std::string_view, 17> kLatin1Labels = { "ansi_x3.4-1968", "ascii", "cp1252", "cp819",
    "csisolatin1", "ibm819", "iso-8859-1", "iso-ir-100", "iso8859-1", "iso88591", "iso_8859-1",
    "iso_8859-1:1987", "l1", "latin1", "us-ascii", "windows-1252", "x-cp1252" };

struct FieldNames
{
    TextField field;
    WarningTarget target;
    std::string_view name;
};

constexpr std::array<FieldNames, 3> kFields = { {
    { TextField::Description, WarningTarget::Description, "description" },
    { TextField::Keywords, WarningTarget::Keywords, "keywords" },
    { TextField::Author, WarningTarget::Author, "author" },
} };

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isLatin1Label(std::string_view charset)
{
    std::string folded;
    for (const char c : charset) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f')
            folded += foldAscii(c);
    }
    return std::find(kLatin1Labels.begin(), kLatin1Labels.end(), folded) != kLatin1Labels.end();
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
    const std::string remedy = isLatin1Label(page.removedCharset)
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
    if (page.utf8WithNonAscii)
        warnings.push_back({ WarningKind::CharsetMismatch, WarningTarget::Charset,
            "The page is UTF-8 with non-ASCII text; declaring ISO-8859-1 would make browsers show it "
            "wrongly, so switch the charset tag off." });
    if (!page.declaredCharset.empty() && !isLatin1Label(page.declaredCharset))
        warnings.push_back({ WarningKind::CharsetConflict, WarningTarget::Charset,
            "The page already declares the charset \"" + page.declaredCharset
                + "\"; adding ISO-8859-1 gives browsers two answers, so switch the charset tag off." });
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

void addQuoteWarnings(std::vector<Warning> &warnings, const MetaElementSet &values)
{
    for (const FieldNames &field : kFields) {
        const std::string &text = values.text(field.field);
        if (text.find('"') == std::string::npos || !MetaElementSet::hasValue(field.field, text))
            continue;
        warnings.push_back({ WarningKind::QuoteInValue, field.target,
            "The " + std::string(field.name)
                + " contains a double quote, which ends the tag's value early; write &quot; or ' "
                  "instead." });
    }
}

void addDescriptionWarnings(std::vector<Warning> &warnings, const MetaElementSet &values, bool shared)
{
    const std::string &description = values.text(TextField::Description);
    if (isBlank(description))
        warnings.push_back({ WarningKind::DescriptionMissing, WarningTarget::Description,
            "The description is empty; search engines will make up a snippet from the page, so write "
            "a sentence or two about it." });
    else if (!MetaElementSet::hasValue(TextField::Description, description))
        warnings.push_back({ WarningKind::DescriptionPlaceholder, WarningTarget::Description,
            "The description is the placeholder \"" + description
                + "\", so no description tag is written; write a sentence or two about the page." });
    else if (shared)
        warnings.push_back({ WarningKind::DescriptionShared, WarningTarget::Description,
            "Another page has the same description; give each page its own so search results tell "
            "them apart." });
}

} // namespace

std::vector<Warning> PageWarnings::evaluate(
    const PageFacts &page, const MetaElementSet &values, bool descriptionShared)
{
    std::vector<Warning> warnings;
    addCharsetWarnings(warnings, page, values);
    addUnreadTagWarnings(warnings, page);
    addQuoteWarnings(warnings, values);
    addDescriptionWarnings(warnings, values, descriptionShared);
    return warnings;
}

std::string_view PageWarnings::kindName(WarningKind kind)
{
    switch (kind) {
    case WarningKind::CharsetMismatch:
        return "charset-mismatch";
    case WarningKind::CharsetConflict:
        return "charset-conflict";
    case WarningKind::CharsetDropped:
        return "charset-dropped";
    case WarningKind::UnreadTagForm:
        return "unread-tag-form";
    case WarningKind::QuoteInValue:
        return "quote-in-value";
    case WarningKind::DescriptionMissing:
        return "description-missing";
    case WarningKind::DescriptionPlaceholder:
        return "description-placeholder";
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
