#include "TagBlock.h"

#include "CharacterReference.h"

namespace {

std::string namedTag(std::string_view name, std::string_view content)
{
    std::string tag = "<META name=\"";
    tag += name;
    tag += "\" content=\"";
    tag += CharacterReference::escapeAttribute(content);
    tag += "\">";
    return tag;
}

void addTextTag(
    std::vector<std::string> &tags, const MetaElementSet &values, TextField field, std::string_view name)
{
    if (MetaElementSet::hasValue(field, values.text(field)))
        tags.push_back(namedTag(name, values.text(field)));
}

} // namespace

std::string TagBlock::generatorText(std::string_view version)
{
    std::string text(kProgramTitle);
    text += ' ';
    text += version;
    return text;
}

std::string_view TagBlock::charsetTag(bool utf8)
{
    return utf8 ? "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
                : "<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">";
}

std::vector<std::string> TagBlock::tags(const MetaElementSet &values, std::string_view version, bool charsetUtf8)
{
    std::vector<std::string> tags;
    if (values.charset())
        tags.emplace_back(charsetTag(charsetUtf8));
    addTextTag(tags, values, TextField::Description, "description");
    addTextTag(tags, values, TextField::Keywords, "keywords");
    addTextTag(tags, values, TextField::Author, "author");
    if (const std::string robots = values.robotsValue(); !robots.empty())
        tags.push_back(namedTag("robots", robots));
    tags.push_back(namedTag("distribution", "global"));
    tags.push_back(namedTag("FORMATTER", generatorText(version)));
    return tags;
}

std::string TagBlock::forInsertion(
    const MetaElementSet &values, std::string_view version, std::string_view lineEnd, bool charsetUtf8)
{
    std::string block;
    for (const std::string &tag : tags(values, version, charsetUtf8)) {
        block += lineEnd;
        block += tag;
    }
    return block;
}

std::string TagBlock::forView(
    const MetaElementSet &values, std::string_view version, std::string_view lineEnd, bool charsetUtf8)
{
    return forInsertion(values, version, lineEnd, charsetUtf8).substr(lineEnd.size());
}
