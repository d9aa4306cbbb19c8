#include "MetaOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QString kDescription = QStringLiteral("description");
const QString kKeywords = QStringLiteral("keywords");
const QString kAuthor = QStringLiteral("author");
const QString kRobots = QStringLiteral("robots");
const QString kCharset = QStringLiteral("charset");

std::optional<QString> valueIfSet(const QCommandLineParser &parser, const QString &name)
{
    return parser.isSet(name) ? std::optional(parser.value(name)) : std::nullopt;
}

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

} // namespace

QList<QCommandLineOption> MetaOptions::options()
{
    return {
        { kDescription, tr("Description text."), tr("text") },
        { kKeywords, tr("Keywords text."), tr("text") },
        { kAuthor, tr("Author text."), tr("text") },
        { kRobots, tr("Robots words, comma-separated, applied in order (empty clears all)."), tr("list") },
        { kCharset, tr("The ISO-8859-1 content-type tag: on or off."), tr("on|off") },
    };
}

bool MetaOptions::parse(const QCommandLineParser &parser, QString &error)
{
    m_description = valueIfSet(parser, kDescription);
    m_keywords = valueIfSet(parser, kKeywords);
    m_author = valueIfSet(parser, kAuthor);
    if (const auto charset = valueIfSet(parser, kCharset)) {
        if (*charset != QLatin1String("on") && *charset != QLatin1String("off")) {
            error = tr("--charset takes on or off, not '%1'").arg(*charset);
            return false;
        }
        m_charset = *charset == QLatin1String("on");
    }
    if (const auto robots = valueIfSet(parser, kRobots)) {
        QList<RobotsFlag> flags;
        for (const QString &word : robots->split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const auto flag = robotsFlagNamed(word.trimmed());
            if (!flag) {
                error = tr("unknown robots word '%1' (use noindex, nofollow, noimageindex, noimageclick)")
                            .arg(word.trimmed());
                return false;
            }
            flags.append(*flag);
        }
        m_robots = flags;
    }
    return true;
}

void MetaOptions::applyTo(MetaElementSet &values) const
{
    if (m_description)
        values.setText(TextField::Description, m_description->toStdString());
    if (m_keywords)
        values.setText(TextField::Keywords, m_keywords->toStdString());
    if (m_author)
        values.setText(TextField::Author, m_author->toStdString());
    if (m_charset)
        values.setCharset(*m_charset);
    if (m_robots) {
        for (const RobotsFlag flag : MetaElementSet::kRobotsFlags)
            values.setFlag(flag, false);
        for (const RobotsFlag flag : *m_robots)
            values.setFlag(flag, true);
    }
}
