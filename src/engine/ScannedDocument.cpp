#include "ScannedDocument.h"

#include "TagRecognition.h"

namespace {

std::string valueOrNoValueText(const std::string &collected, TextField field)
{
    return collected.empty() ? std::string(MetaElementSet::noValueText(field)) : collected;
}

void applyRobotsWords(MetaElementSet &values, std::string_view robots)
{
    for (std::size_t i = 0; i < robots.size(); ++i) {
        for (const RobotsFlag flag : MetaElementSet::kRobotsFlags) {
            if (TagRecognition::startsWithFolded(robots.substr(i), MetaElementSet::robotsWord(flag)))
                values.setFlag(flag, true);
        }
    }
}

} // namespace

MetaElementSet ScannedDocument::values() const
{
    MetaElementSet values;
    values.setCharset(charsetTagFound);
    values.setText(TextField::Description, valueOrNoValueText(description, TextField::Description));
    values.setText(TextField::Keywords, valueOrNoValueText(keywords, TextField::Keywords));
    values.setText(TextField::Author, valueOrNoValueText(author, TextField::Author));
    applyRobotsWords(values, robots);
    return values;
}
