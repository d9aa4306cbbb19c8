#include "PageLines.h"

#include "JsonText.h"
#include "TextWidth.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

std::vector<Warning> warningsOf(const PageAudit &page, bool descriptionShared)
{
    std::vector<Warning> warnings = page.warnings;
    if (descriptionShared)
        warnings.push_back(PageWarnings::descriptionShared());
    return warnings;
}

// Keys in the order QJsonObject keeps them: sorted.
void appendWarningsJson(QByteArray &line, const std::vector<Warning> &warnings)
{
    line += '[';
    bool first = true;
    for (const Warning &warning : warnings) {
        if (!first)
            line += ',';
        first = false;
        line += "{\"kind\":";
        JsonText::appendUtf8(line, PageWarnings::kindName(warning.kind));
        line += ",\"message\":";
        JsonText::appendUtf8(line, warning.message);
        line += ",\"target\":";
        JsonText::appendUtf8(line, PageWarnings::targetName(warning.target));
        line += '}';
    }
    line += ']';
}

QString warningKinds(const std::vector<Warning> &warnings)
{
    QStringList kinds;
    for (const Warning &warning : warnings)
        kinds.append(QString::fromUtf8(PageWarnings::kindName(warning.kind)));
    kinds.removeDuplicates();
    return kinds.join(QStringLiteral(", "));
}

QString pixelCell(double pixels, double limit)
{
    const QString cell = QString::number(pixels, 'f', 1);
    return pixels > limit ? cell + QLatin1Char('!') : cell;
}

} // namespace

QByteArray PageLines::json(const PageAudit &page, bool descriptionShared)
{
    QByteArray line;
    line.reserve(512);
    if (!page.ok) {
        line += "{\"error\":";
        JsonText::appendString(line, page.error);
        line += ",\"ok\":false,\"path\":";
        JsonText::appendString(line, page.path);
        line += "}\n";
        return line;
    }
    line += "{\"author\":";
    JsonText::appendUtf8(line, page.author);
    line += ",\"description\":";
    JsonText::appendUtf8(line, page.description);
    line += ",\"descriptionPixels\":";
    JsonText::appendNumber(line, page.descriptionPixels);
    line += ",\"keywords\":";
    JsonText::appendUtf8(line, page.keywords);
    line += ",\"ok\":true,\"path\":";
    JsonText::appendString(line, page.path);
    line += ",\"robots\":";
    JsonText::appendUtf8(line, page.robots);
    line += ",\"title\":";
    JsonText::appendUtf8(line, page.title);
    line += ",\"titlePixels\":";
    JsonText::appendNumber(line, page.titlePixels);
    line += ",\"warnings\":";
    appendWarningsJson(line, warningsOf(page, descriptionShared));
    line += "}\n";
    return line;
}

QByteArray PageLines::tableCells(const PageAudit &page, bool descriptionShared, const WidthLimits &limits)
{
    if (!page.ok)
        return (QStringLiteral("  ") + tr("unreadable: %1").arg(page.error) + QLatin1Char('\n')).toUtf8();
    const std::vector<Warning> warnings = warningsOf(page, descriptionShared);
    QString cells = QStringLiteral("  ") + pixelCell(page.titlePixels, limits.title).rightJustified(9)
        + QStringLiteral("  ") + pixelCell(page.descriptionPixels, limits.description).rightJustified(9)
        + QStringLiteral("  ") + QString::number(warnings.size());
    if (!warnings.empty())
        cells += QStringLiteral(" (") + warningKinds(warnings) + QLatin1Char(')');
    return (cells + QLatin1Char('\n')).toUtf8();
}
