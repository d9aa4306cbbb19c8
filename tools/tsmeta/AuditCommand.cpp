#include "AuditCommand.h"

#include "JsonLines.h"

#include "DocumentFile.h"
#include "PageWarnings.h"
#include "TextWidth.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("tsmeta", text);
}

const QStringList kPageSuffixes
    = { QStringLiteral("htm"), QStringLiteral("html"), QStringLiteral("asp"), QStringLiteral("php"),
          QStringLiteral("php3"), QStringLiteral("phtml"), QStringLiteral("shtml"), QStringLiteral("ssi") };

// What one page shows in a search result and what the editor would warn about.
struct PageAudit
{
    QString path;
    bool ok = false;
    QString error;
    std::string title;
    MetaElementSet values; // as "tsmeta read" shows them
    MetaElementSet found; // with the texts as found, so a missing one is empty
    PageFacts facts;
    double titlePixels = 0;
    double descriptionPixels = 0;
    std::vector<Warning> warnings;

    const std::string &description() const { return values.text(TextField::Description); }
    bool hasDescription() const { return MetaElementSet::hasValue(TextField::Description, description()); }
};

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool isPageFile(const QFileInfo &info)
{
    return kPageSuffixes.contains(info.suffix().toLower());
}

void collectFolder(const QString &folder, QSet<QString> &visited, QStringList &pages)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);
    const QFileInfoList entries
        = QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir())
            collectFolder(entry.filePath(), visited, pages);
        else if (isPageFile(entry))
            pages.append(entry.filePath());
    }
}

double rounded(double pixels)
{
    return std::round(pixels * 10) / 10;
}

// Descriptions count as the same when they differ only in white space.
std::string descriptionKey(std::string_view description)
{
    std::string key;
    bool space = false;
    for (const char c : description) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            space = !key.empty();
            continue;
        }
        if (space)
            key += ' ';
        space = false;
        key += c;
    }
    return key;
}

MetaElementSet foundValues(const ScannedDocument &document)
{
    MetaElementSet values = document.values();
    values.setText(TextField::Description, document.description);
    values.setText(TextField::Keywords, document.keywords);
    values.setText(TextField::Author, document.author);
    return values;
}

PageAudit readPage(const QString &path)
{
    PageAudit page;
    page.path = path;
    DocumentFile::OpenResult opened = DocumentFile::open(path, DocumentFile::Facts::Take);
    page.ok = opened.ok;
    if (!opened.ok) {
        page.error = opened.error;
        return page;
    }
    page.title = opened.document.title;
    page.values = opened.document.values();
    page.found = foundValues(opened.document);
    page.facts = std::move(opened.facts);
    page.titlePixels = rounded(TextWidth::titlePixels(page.title));
    if (page.hasDescription())
        page.descriptionPixels = rounded(TextWidth::descriptionPixels(page.description()));
    return page;
}

// The pages of each description that more than one page has, in the order of first use.
std::vector<std::vector<const PageAudit *>> sharedDescriptions(const std::vector<PageAudit> &pages)
{
    std::vector<std::vector<const PageAudit *>> groups;
    std::unordered_map<std::string, std::size_t> groupOf;
    for (const PageAudit &page : pages) {
        if (!page.ok || !page.hasDescription())
            continue;
        const auto [it, added] = groupOf.try_emplace(descriptionKey(page.description()), groups.size());
        if (added)
            groups.emplace_back();
        groups[it->second].push_back(&page);
    }
    std::erase_if(groups, [](const auto &group) { return group.size() < 2; });
    return groups;
}

void addWarnings(std::vector<PageAudit> &pages, const std::vector<std::vector<const PageAudit *>> &shared)
{
    std::unordered_set<const PageAudit *> sharing;
    for (const auto &group : shared)
        sharing.insert(group.begin(), group.end());
    for (PageAudit &page : pages) {
        if (page.ok)
            page.warnings = PageWarnings::evaluate(page.facts, page.found, sharing.contains(&page));
    }
}

QJsonArray warningsJson(const std::vector<Warning> &warnings)
{
    QJsonArray array;
    for (const Warning &warning : warnings) {
        array.append(QJsonObject { { QStringLiteral("kind"), fromUtf8(PageWarnings::kindName(warning.kind)) },
            { QStringLiteral("target"), fromUtf8(PageWarnings::targetName(warning.target)) },
            { QStringLiteral("message"), fromUtf8(warning.message) } });
    }
    return array;
}

QJsonObject pageJson(const PageAudit &page)
{
    QJsonObject line { { QStringLiteral("path"), page.path }, { QStringLiteral("ok"), page.ok } };
    if (!page.ok) {
        line[QStringLiteral("error")] = page.error;
        return line;
    }
    line[QStringLiteral("title")] = fromUtf8(page.title);
    line[QStringLiteral("description")] = fromUtf8(page.description());
    line[QStringLiteral("keywords")] = fromUtf8(page.values.text(TextField::Keywords));
    line[QStringLiteral("author")] = fromUtf8(page.values.text(TextField::Author));
    line[QStringLiteral("robots")] = fromUtf8(page.values.robotsValue());
    line[QStringLiteral("titlePixels")] = page.titlePixels;
    line[QStringLiteral("descriptionPixels")] = page.descriptionPixels;
    line[QStringLiteral("warnings")] = warningsJson(page.warnings);
    return line;
}

// The figures the summary gives, in both formats.
struct Summary
{
    int pages = 0;
    int unreadable = 0;
    int missingTitles = 0;
    int missingDescriptions = 0;
    int titlesTooLong = 0;
    int descriptionsTooLong = 0;
    QMap<QString, int> warnings;
    std::vector<std::vector<const PageAudit *>> duplicates;
};

bool isBlank(std::string_view text)
{
    return descriptionKey(text).empty();
}

Summary summaryOf(const std::vector<PageAudit> &pages, std::vector<std::vector<const PageAudit *>> duplicates)
{
    Summary summary;
    summary.pages = static_cast<int>(pages.size());
    summary.duplicates = std::move(duplicates);
    for (const PageAudit &page : pages) {
        if (!page.ok) {
            ++summary.unreadable;
            continue;
        }
        summary.missingTitles += isBlank(page.title);
        summary.missingDescriptions += !page.hasDescription();
        summary.titlesTooLong += page.titlePixels > TextWidth::kTitleLimit;
        summary.descriptionsTooLong += page.descriptionPixels > TextWidth::kDescriptionLimit;
        for (const Warning &warning : page.warnings)
            ++summary.warnings[fromUtf8(PageWarnings::kindName(warning.kind))];
    }
    return summary;
}

QJsonObject summaryJson(const Summary &summary)
{
    QJsonArray duplicates;
    for (const auto &group : summary.duplicates) {
        QJsonArray paths;
        for (const PageAudit *page : group)
            paths.append(page->path);
        duplicates.append(
            QJsonObject { { QStringLiteral("description"), fromUtf8(group.front()->description()) },
                { QStringLiteral("pages"), paths } });
    }
    QJsonObject warnings;
    for (auto it = summary.warnings.cbegin(); it != summary.warnings.cend(); ++it)
        warnings[it.key()] = it.value();
    return QJsonObject { { QStringLiteral("summary"),
        QJsonObject { { QStringLiteral("pages"), summary.pages },
            { QStringLiteral("unreadable"), summary.unreadable },
            { QStringLiteral("missingTitles"), summary.missingTitles },
            { QStringLiteral("missingDescriptions"), summary.missingDescriptions },
            { QStringLiteral("duplicateDescriptions"), duplicates },
            { QStringLiteral("titlesTooLong"), summary.titlesTooLong },
            { QStringLiteral("descriptionsTooLong"), summary.descriptionsTooLong },
            { QStringLiteral("warnings"), warnings } } } };
}

QString warningKinds(const std::vector<Warning> &warnings)
{
    QStringList kinds;
    for (const Warning &warning : warnings)
        kinds.append(fromUtf8(PageWarnings::kindName(warning.kind)));
    kinds.removeDuplicates();
    return kinds.join(QStringLiteral(", "));
}

QString pixelCell(double pixels, double limit)
{
    const QString cell = QString::number(pixels, 'f', 1);
    return pixels > limit ? cell + QLatin1Char('!') : cell;
}

void writeTable(const std::vector<PageAudit> &pages, QTextStream &out)
{
    qsizetype pathWidth = tr("Page").size();
    for (const PageAudit &page : pages)
        pathWidth = std::max(pathWidth, page.path.size());
    out << tr("Page").leftJustified(pathWidth) << "  " << tr("Title px").rightJustified(9) << "  "
        << tr("Descr. px").rightJustified(9) << "  " << tr("Warnings") << '\n';
    for (const PageAudit &page : pages) {
        out << page.path.leftJustified(pathWidth) << "  ";
        if (!page.ok) {
            out << tr("unreadable: %1").arg(page.error) << '\n';
            continue;
        }
        out << pixelCell(page.titlePixels, TextWidth::kTitleLimit).rightJustified(9) << "  "
            << pixelCell(page.descriptionPixels, TextWidth::kDescriptionLimit).rightJustified(9) << "  "
            << page.warnings.size();
        if (!page.warnings.empty())
            out << " (" << warningKinds(page.warnings) << ')';
        out << '\n';
    }
}

void writeSummaryInWords(const Summary &summary, QTextStream &out)
{
    out << '\n'
        << tr("%1 pages, %2 unreadable.").arg(summary.pages).arg(summary.unreadable) << '\n'
        << tr("%1 without a title, %2 without a description.")
               .arg(summary.missingTitles)
               .arg(summary.missingDescriptions)
        << '\n'
        << tr("%1 titles wider than %2 px, %3 descriptions wider than %4 px (marked !).")
               .arg(summary.titlesTooLong)
               .arg(TextWidth::kTitleLimit)
               .arg(summary.descriptionsTooLong)
               .arg(TextWidth::kDescriptionLimit)
        << '\n';
    for (const auto &group : summary.duplicates) {
        out << tr("%1 pages share the description \"%2\":")
                   .arg(group.size())
                   .arg(fromUtf8(group.front()->description()))
            << '\n';
        for (const PageAudit *page : group)
            out << "  " << page->path << '\n';
    }
    for (auto it = summary.warnings.cbegin(); it != summary.warnings.cend(); ++it)
        out << tr("%1 warnings of kind %2.").arg(it.value()).arg(it.key()) << '\n';
    out.flush();
}

} // namespace

std::optional<AuditCommand::Format> AuditCommand::formatNamed(const QString &name)
{
    if (name == QLatin1String("jsonl"))
        return Format::JsonLines;
    if (name == QLatin1String("table"))
        return Format::Table;
    return std::nullopt;
}

QStringList AuditCommand::pagesIn(const QStringList &paths)
{
    QStringList pages;
    QSet<QString> visited;
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            pages.append(path);
            continue;
        }
        QStringList found;
        collectFolder(path, visited, found);
        std::sort(found.begin(), found.end());
        pages += found;
    }
    return pages;
}

bool AuditCommand::run(const QStringList &paths, Format format, QTextStream &out)
{
    std::vector<PageAudit> pages;
    for (const QString &path : pagesIn(paths))
        pages.push_back(readPage(path));
    auto duplicates = sharedDescriptions(pages);
    addWarnings(pages, duplicates);
    const Summary summary = summaryOf(pages, std::move(duplicates));
    if (format == Format::Table) {
        writeTable(pages, out);
        writeSummaryInWords(summary, out);
    } else {
        for (const PageAudit &page : pages)
            JsonLines::write(pageJson(page), out);
        JsonLines::write(summaryJson(summary), out);
    }
    return summary.unreadable == 0;
}
