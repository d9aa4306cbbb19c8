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
    const std::pair<QString, TextField> texts[] = { { kDescription, TextField::Description },
        { kKeywords, TextField::Keywords }, { kAuthor, TextField::Author } };
    for (const auto &[name, field] : texts) {
        if (const auto text = valueIfSet(parser, name))
            m_edit.setText(field, *text);
    }
    if (const auto charset = valueIfSet(parser, kCharset)) {
        if (*charset != QLatin1String("on") && *charset != QLatin1String("off")) {
            error = tr("--charset takes on or off, not '%1'").arg(*charset);
            return false;
        }
        m_edit.setCharset(*charset == QLatin1String("on"));
    }
    if (const auto robots = valueIfSet(parser, kRobots)) {
        QList<RobotsFlag> flags;
        if (!MetaEdit::parseRobots(*robots, flags, error))
            return false;
        m_edit.setRobots(flags);
    }
    return true;
}
