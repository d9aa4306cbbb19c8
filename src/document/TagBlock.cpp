#include "document/TagBlock.h"

namespace {

std::string namedTag(std::string_view name, std::string_view content)
{
    std::string tag = "<META name=\"";
    tag += name;
    tag += "\" content=\"";
    tag += content;
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

std::vector<std::string> TagBlock::tags(const MetaElementSet &values, std::string_view version)
{
    std::vector<std::string> tags;
    if (values.charset())
        tags.emplace_back("<META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">");
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
    const MetaElementSet &values, std::string_view version, std::string_view lineEnd)
{
    std::string block;
    for (const std::string &tag : tags(values, version)) {
        block += lineEnd;
        block += tag;
    }
    return block;
}

std::string TagBlock::forView(
    const MetaElementSet &values, std::string_view version, std::string_view lineEnd)
{
    return forInsertion(values, version, lineEnd).substr(lineEnd.size());
}
