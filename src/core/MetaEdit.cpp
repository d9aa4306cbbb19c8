#include "MetaEdit.h"

namespace {

std::optional<RobotsFlag> robotsFlagNamed(const QString &word)
{
    for (const RobotsFlag flag : MetaElementSet::kRobotsFlags) {
        const std::string_view name = MetaElementSet::robotsWord(flag);
        if (word.compare(QLatin1String(name.data(), static_cast<qsizetype>(name.size())), Qt::CaseInsensitive)
            == 0)
            return flag;
    }
    return std::nullopt;
}

std::size_t indexOf(TextField field)
{
    return static_cast<std::size_t>(field);
}

} // namespace

void MetaEdit::setText(TextField field, const QString &text)
{
    m_texts[indexOf(field)] = text;
}

void MetaEdit::setRobots(const QList<RobotsFlag> &flags)
{
    m_robots = flags;
}

void MetaEdit::setCharset(bool on)
{
    m_charset = on;
}

bool MetaEdit::isEmpty() const
{
    return *this == MetaEdit();
}

void MetaEdit::applyTo(MetaElementSet &values) const
{
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author }) {
        if (const std::optional<QString> &text = m_texts[indexOf(field)])
            values.setText(field, text->toStdString());
    }
    if (m_charset)
        values.setCharset(*m_charset);
    if (m_robots) {
        for (const RobotsFlag flag : MetaElementSet::kRobotsFlags)
            values.setFlag(flag, false);
        for (const RobotsFlag flag : *m_robots)
            values.setFlag(flag, true);
    }
}

bool MetaEdit::parseRobots(const QString &list, QList<RobotsFlag> &flags, QString &error)
{
    flags.clear();
    for (const QString &item : list.split(QLatin1Char(','))) {
        const QString word = item.trimmed();
        if (word.isEmpty())
            continue;
        const auto flag = robotsFlagNamed(word);
        if (!flag) {
            error = tr("unknown robots word '%1' (use noindex, nofollow, noimageindex, noimageclick)")
                        .arg(word);
            return false;
        }
        flags.append(*flag);
    }
    return true;
}
