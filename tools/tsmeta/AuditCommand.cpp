#include "AuditCommand.h"

#include "JsonLines.h"
#include "PageAudit.h"
#include "PageWalk.h"

#include "TextWidth.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryFile>
#include <QTextStream>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("tsmeta", text);
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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
    line[QStringLiteral("description")] = fromUtf8(page.description);
    line[QStringLiteral("keywords")] = fromUtf8(page.keywords);
    line[QStringLiteral("author")] = fromUtf8(page.author);
    line[QStringLiteral("robots")] = fromUtf8(page.robots);
    line[QStringLiteral("titlePixels")] = page.titlePixels;
    line[QStringLiteral("descriptionPixels")] = page.descriptionPixels;
    line[QStringLiteral("warnings")] = warningsJson(page.warnings);
    return line;
}

// Pages that share a description, in the order of first use.
struct DuplicateGroup
{
    std::string description; // as the first page has it
    QStringList paths;
};

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
    std::vector<DuplicateGroup> duplicates;

    void count(const PageAudit &page)
    {
        ++pages;
        if (!page.ok) {
            ++unreadable;
            return;
        }
        missingTitles += PageAudit::collapsedSpaces(page.title).empty();
        missingDescriptions += !page.hasDescription();
        titlesTooLong += page.titlePixels > TextWidth::kTitleLimit;
        descriptionsTooLong += page.descriptionPixels > TextWidth::kDescriptionLimit;
    }

    void countWarnings(const std::vector<Warning> &found)
    {
        for (const Warning &warning : found)
            ++warnings[fromUtf8(PageWarnings::kindName(warning.kind))];
    }
};

QJsonObject summaryJson(const Summary &summary)
{
    QJsonArray duplicates;
    for (const DuplicateGroup &group : summary.duplicates) {
        duplicates.append(QJsonObject { { QStringLiteral("description"), fromUtf8(group.description) },
            { QStringLiteral("pages"), QJsonArray::fromStringList(group.paths) } });
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

void writeTableHeader(qsizetype pathWidth, QTextStream &out)
{
    out << tr("Page").leftJustified(pathWidth) << "  " << tr("Title px").rightJustified(9) << "  "
        << tr("Descr. px").rightJustified(9) << "  " << tr("Warnings") << '\n';
}

void writeTableRow(const PageAudit &page, qsizetype pathWidth, QTextStream &out)
{
    out << page.path.leftJustified(pathWidth) << "  ";
    if (!page.ok) {
        out << tr("unreadable: %1").arg(page.error) << '\n';
        return;
    }
    out << pixelCell(page.titlePixels, TextWidth::kTitleLimit).rightJustified(9) << "  "
        << pixelCell(page.descriptionPixels, TextWidth::kDescriptionLimit).rightJustified(9) << "  "
        << page.warnings.size();
    if (!page.warnings.empty())
        out << " (" << warningKinds(page.warnings) << ')';
    out << '\n';
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
    for (const DuplicateGroup &group : summary.duplicates) {
        out << tr("%1 pages share the description \"%2\":").arg(group.paths.size()).arg(fromUtf8(group.description))
            << '\n';
        for (const QString &path : group.paths)
            out << "  " << path << '\n';
    }
    for (auto it = summary.warnings.cbegin(); it != summary.warnings.cend(); ++it)
        out << tr("%1 warnings of kind %2.").arg(it.value()).arg(it.key()) << '\n';
    out.flush();
}

// An audit in three passes, so that memory stays the same however many pages a site has:
// the pages are read on several threads and what each shows is put aside in a temporary
// file in page order; the pages sharing a description are then found from it; last, the
// lines are written with the shared descriptions added to their warnings.
class Audit
{
public:
    Audit(const AuditCommand::Options &options, QTextStream &out)
        : m_options(options)
        , m_out(out)
    {
        m_pool.setMaxThreadCount(options.jobs > 0 ? options.jobs : QThread::idealThreadCount());
    }

    // Returns the reason when the pages could not be put aside.
    QString run(const QStringList &paths)
    {
        if (!m_spool.open())
            return tr("cannot create a temporary file: %1").arg(m_spool.errorString());
        m_stream.setDevice(&m_spool);
        readPages(PageWalk(paths));
        if (m_stream.status() != QDataStream::Ok || !m_spool.flush())
            return tr("cannot write the temporary file %1: %2").arg(m_spool.fileName(), m_spool.errorString());
        findDuplicates();
        writePages();
        return {};
    }

    bool allRead() const { return m_summary.unreadable == 0; }

private:
    static constexpr qsizetype kBatchPerThread = 128;

    // Items come from next() in batches that the threads map while the next batch is
    // fetched; the results go to take() in the order the items came.
    template <typename Next, typename Map, typename Take> void inBatches(Next next, Map map, Take take)
    {
        using Item = typename std::invoke_result_t<Next>::value_type;
        using Result = std::invoke_result_t<Map, const Item &>;
        // Mapped in place: a future that carries results wakes its waiter at every one.
        struct Slot
        {
            Item item;
            Result result;
        };
        const auto fetch = [&] {
            std::vector<Slot> batch;
            const qsizetype size = kBatchPerThread * m_pool.maxThreadCount();
            while (qsizetype(batch.size()) < size) {
                auto item = next();
                if (!item)
                    break;
                batch.push_back({ std::move(*item), {} });
            }
            return batch;
        };
        for (auto batch = fetch(); !batch.empty();) {
            QFuture<void> mapping
                = QtConcurrent::map(&m_pool, batch, [&map](Slot &slot) { slot.result = map(slot.item); });
            auto nextBatch = fetch();
            mapping.waitForFinished();
            for (const Slot &slot : batch)
                take(slot.result);
            batch = std::move(nextBatch);
        }
    }

    void readPages(PageWalk walk)
    {
        inBatches([&walk] { return walk.next(); }, [](const QString &path) { return PageAudit::read(path); },
            [this](const PageAudit &page) { putAside(page); });
    }

    void putAside(const PageAudit &page)
    {
        m_summary.count(page);
        m_pathWidth = std::max(m_pathWidth, page.path.size());
        if (page.ok && page.hasDescription())
            ++m_descriptionCounts[std::hash<std::string>()(page.descriptionKey())];
        m_stream << page;
    }

    static std::optional<PageAudit> nextPutAside(QDataStream &stream)
    {
        if (stream.atEnd() || stream.status() != QDataStream::Ok)
            return std::nullopt;
        PageAudit page;
        stream >> page;
        return page;
    }

    template <typename Visit> void forEachPutAside(Visit visit)
    {
        m_spool.seek(0);
        QDataStream stream(&m_spool);
        while (std::optional<PageAudit> page = nextPutAside(stream))
            visit(*page);
    }

    // Only the pages whose description's hash came up twice are looked at again, by text.
    void findDuplicates()
    {
        std::unordered_map<std::string, std::size_t> groupOf;
        std::vector<DuplicateGroup> groups;
        forEachPutAside([&](const PageAudit &page) {
            if (!page.ok || !page.hasDescription())
                return;
            const std::string key = page.descriptionKey();
            if (m_descriptionCounts[std::hash<std::string>()(key)] < 2)
                return;
            const auto [it, added] = groupOf.try_emplace(key, groups.size());
            if (added)
                groups.push_back({ page.description, {} });
            groups[it->second].paths.append(page.path);
        });
        for (const auto &[key, index] : groupOf) {
            if (groups[index].paths.size() > 1)
                m_sharedKeys.insert(key);
        }
        std::erase_if(groups, [](const DuplicateGroup &group) { return group.paths.size() < 2; });
        m_summary.duplicates = std::move(groups);
    }

    // A page's line and its warnings, shared description included.
    struct WrittenPage
    {
        QString text;
        std::vector<Warning> warnings;
    };

    WrittenPage written(PageAudit page) const
    {
        if (page.ok && page.hasDescription() && m_sharedKeys.contains(page.descriptionKey()))
            page.warnings.push_back(PageWarnings::descriptionShared());
        if (m_options.format == AuditCommand::Format::JsonLines)
            return { JsonLines::lineOf(pageJson(page)), std::move(page.warnings) };
        QString row;
        QTextStream out(&row);
        writeTableRow(page, m_pathWidth, out);
        out.flush();
        return { row, std::move(page.warnings) };
    }

    // Writing a line costs more than reading the page back, so the threads write too.
    void writePages()
    {
        const bool table = m_options.format == AuditCommand::Format::Table;
        if (table)
            writeTableHeader(m_pathWidth, m_out);
        m_spool.seek(0);
        QDataStream stream(&m_spool);
        inBatches([&] { return nextPutAside(stream); }, [this](const PageAudit &page) { return written(page); },
            [this](const WrittenPage &page) {
            m_summary.countWarnings(page.warnings);
            m_out << page.text;
        });
        if (table)
            writeSummaryInWords(m_summary, m_out);
        else
            JsonLines::write(summaryJson(m_summary), m_out);
    }

    const AuditCommand::Options m_options;
    QTextStream &m_out;
    QThreadPool m_pool;
    QTemporaryFile m_spool;
    QDataStream m_stream;
    Summary m_summary;
    qsizetype m_pathWidth = tr("Page").size();
    std::unordered_map<std::size_t, int> m_descriptionCounts;
    std::unordered_set<std::string> m_sharedKeys;
};

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
    PageWalk walk(paths);
    while (std::optional<QString> page = walk.next())
        pages.append(*page);
    return pages;
}

bool AuditCommand::run(const QStringList &paths, const Options &options, QTextStream &out, QTextStream &err)
{
    Audit audit(options, out);
    if (const QString error = audit.run(paths); !error.isEmpty()) {
        err << "tsmeta: " << error << '\n';
        err.flush();
        return false;
    }
    return audit.allRead();
}
