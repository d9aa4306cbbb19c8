#include "AuditCommand.h"

#include "JsonText.h"
#include "PageAudit.h"
#include "PageLines.h"
#include "PageWalk.h"

#include "TextWidth.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFileDevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryFile>
#include <QTextStream>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_map>

namespace {

QByteArray bytesOf(const std::string &text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string textOf(const QByteArray &bytes)
{
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A description shared by several pages, in the order of first use.
struct DuplicateGroup
{
    std::string description; // as the first page has it
    qint64 pages = 0;
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
        countWarnings(page.warnings);
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
            ++warnings[QString::fromUtf8(PageWarnings::kindName(warning.kind))];
    }
};

// The summary line with its list of shared descriptions left empty, for the audit to
// stream into it.
QJsonObject summaryJson(const Summary &summary)
{
    QJsonObject warnings;
    for (auto it = summary.warnings.cbegin(); it != summary.warnings.cend(); ++it)
        warnings[it.key()] = it.value();
    return QJsonObject { { QStringLiteral("summary"),
        QJsonObject { { QStringLiteral("pages"), summary.pages },
            { QStringLiteral("unreadable"), summary.unreadable },
            { QStringLiteral("missingTitles"), summary.missingTitles },
            { QStringLiteral("missingDescriptions"), summary.missingDescriptions },
            { QStringLiteral("duplicateDescriptions"), QJsonArray() },
            { QStringLiteral("titlesTooLong"), summary.titlesTooLong },
            { QStringLiteral("descriptionsTooLong"), summary.descriptionsTooLong },
            { QStringLiteral("warnings"), warnings } } } };
}

void writeTableHeader(qsizetype pathWidth, QTextStream &out)
{
    out << AuditCommand::tr("Page").leftJustified(pathWidth) << "  "
        << AuditCommand::tr("Title px").rightJustified(9) << "  "
        << AuditCommand::tr("Descr. px").rightJustified(9) << "  " << AuditCommand::tr("Warnings") << '\n';
}

void writeCountsInWords(const Summary &summary, QTextStream &out)
{
    out << '\n'
        << AuditCommand::tr("%1 pages, %2 unreadable.").arg(summary.pages).arg(summary.unreadable) << '\n'
        << AuditCommand::tr("%1 without a title, %2 without a description.")
               .arg(summary.missingTitles)
               .arg(summary.missingDescriptions)
        << '\n'
        << AuditCommand::tr("%1 titles wider than %2 px, %3 descriptions wider than %4 px (marked !).")
               .arg(summary.titlesTooLong)
               .arg(TextWidth::kTitleLimit)
               .arg(summary.descriptionsTooLong)
               .arg(TextWidth::kDescriptionLimit)
        << '\n';
}

void writeWarningCountsInWords(const Summary &summary, QTextStream &out)
{
    for (auto it = summary.warnings.cbegin(); it != summary.warnings.cend(); ++it)
        out << AuditCommand::tr("%1 warnings of kind %2.").arg(it.value()).arg(it.key()) << '\n';
}

// Text that is UTF-8 already goes to the device as it is; a stream on a string (as the
// tests use) takes it as text.
class Utf8Output
{
public:
    explicit Utf8Output(QTextStream &out)
        : m_out(out)
    {
    }

    void write(const QByteArray &bytes)
    {
        if (QIODevice *device = m_out.device()) {
            m_out.flush();
            device->write(bytes);
        } else {
            m_out << QString::fromUtf8(bytes);
        }
    }

    QTextStream &text() { return m_out; }

    void flush()
    {
        m_out.flush();
        if (auto *file = qobject_cast<QFileDevice *>(m_out.device()))
            file->flush();
    }

private:
    QTextStream &m_out;
};

// How often each description's hash came up, up to twice, in a table of fixed size so that
// memory stays the same however many pages there are. Two descriptions that meet in a
// slot only make candidates, which their texts then tell apart.
class HashTally
{
public:
    void add(std::size_t hash)
    {
        std::uint8_t &count = m_counts[hash % m_counts.size()];
        count = std::min<std::uint8_t>(count + 1, 2);
    }
    bool repeated(std::size_t hash) const { return m_counts[hash % m_counts.size()] == 2; }

private:
    std::vector<std::uint8_t> m_counts = std::vector<std::uint8_t>(std::size_t(1) << 20);
};

// What the threads make of a page: the page itself for the summary, and its output, with
// and without the warning that its description is shared.
struct ReadPage
{
    PageAudit page;
    std::string key; // the description as compared; empty when the page has none
    QByteArray lead; // what goes before the padding: the path, in a table
    QByteArray text;
    QByteArray sharedText;
    QByteArray entry; // the page in the list of pages sharing a description
};

// A temporary file that records go to in order and are read back from in order.
class Spool
{
public:
    bool open(QString &error)
    {
        if (!m_file.open()) {
            error = AuditCommand::tr("cannot create a temporary file: %1").arg(m_file.errorString());
            return false;
        }
        m_stream.setDevice(&m_file);
        return true;
    }

    QDataStream &stream() { return m_stream; }

    // After the last record: whether all of them were written.
    bool written(QString &error)
    {
        if (m_stream.status() == QDataStream::Ok && m_file.flush())
            return true;
        error = AuditCommand::tr("cannot write the temporary file %1: %2")
                    .arg(m_file.fileName(), m_file.errorString());
        return false;
    }

    template <typename Record> void forEach(Record read)
    {
        m_file.seek(0);
        QDataStream stream(&m_file);
        while (!stream.atEnd() && stream.status() == QDataStream::Ok)
            read(stream);
    }

private:
    QTemporaryFile m_file;
    QDataStream m_stream;
};

// An audit in passes, so that memory stays the same however many pages a site has. The
// pages are read on several threads, and their output, made there in both forms, is put
// aside in page order, with the pages that have a description in a second file. The pages
// sharing a description are then found from that file, and the candidates of each group
// put aside once more; last, each page's output is written in the form it needs, and the
// groups are written into the summary a window of pages at a time.
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
        QString error;
        if (!m_lines.open(error) || !m_described.open(error) || !m_candidates.open(error))
            return error;
        readPages(PageWalk(paths));
        if (!m_lines.written(error) || !m_described.written(error))
            return error;
        findDuplicates();
        if (!m_candidates.written(error))
            return error;
        writePages();
        writeSummary();
        return {};
    }

    bool allRead() const { return m_summary.unreadable == 0; }

private:
    static constexpr qsizetype kBatchPerThread = 128;

    bool table() const { return m_options.format == AuditCommand::Format::Table; }

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
        const auto start = [&](std::vector<Slot> &batch) {
            return QtConcurrent::map(&m_pool, batch, [&map](Slot &slot) { slot.result = map(slot.item); });
        };
        // Two batches in turn: the threads map one while this thread takes the other.
        std::vector<Slot> batch = fetch();
        QFuture<void> mapping = start(batch);
        while (!batch.empty()) {
            std::vector<Slot> nextBatch = fetch();
            mapping.waitForFinished();
            QFuture<void> nextMapping = start(nextBatch);
            for (Slot &slot : batch)
                take(slot.result);
            batch = std::move(nextBatch);
            mapping = std::move(nextMapping);
        }
    }

    ReadPage read(const QString &path) const
    {
        ReadPage read { PageAudit::read(path), {}, {}, {}, {}, {} };
        const PageAudit &page = read.page;
        if (page.ok && page.hasDescription())
            read.key = page.descriptionKey();
        if (table()) {
            read.lead = page.path.toUtf8();
            read.text = PageLines::tableCells(page, false);
            read.entry = (QStringLiteral("  ") + page.path + QLatin1Char('\n')).toUtf8();
        } else {
            read.text = PageLines::json(page, false);
            JsonText::appendString(read.entry, page.path);
        }
        if (!read.key.empty())
            read.sharedText = table() ? PageLines::tableCells(page, true) : PageLines::json(page, true);
        return read;
    }

    void readPages(PageWalk walk)
    {
        inBatches([&walk] { return walk.next(); }, [this](const QString &path) { return read(path); },
            [this](ReadPage &read) { putAside(read); });
    }

    void putAside(const ReadPage &read)
    {
        m_summary.count(read.page);
        m_pathWidth = std::max(m_pathWidth, read.page.path.size());
        m_lines.stream() << read.lead << qint32(read.page.path.size()) << read.text << read.sharedText;
        if (!read.key.empty()) {
            m_tally.add(std::hash<std::string>()(read.key));
            m_described.stream() << m_pageCount << bytesOf(read.page.description) << bytesOf(read.key) << read.entry;
        }
        ++m_pageCount;
    }

    // Only the pages whose description's hash came up twice are looked at again, by text;
    // they are put aside once more with their group, for the summary to list.
    void findDuplicates()
    {
        struct Candidate
        {
            std::string description;
            qint64 firstPage = 0;
            qint64 pages = 0;
        };
        std::unordered_map<std::string, std::size_t> groupOf;
        std::vector<Candidate> candidates;
        m_shared.assign(std::size_t(m_pageCount), false);
        m_described.forEach([&](QDataStream &stream) {
            qint64 page = 0;
            QByteArray description, key, entry;
            stream >> page >> description >> key >> entry;
            const std::string keyText = textOf(key);
            if (!m_tally.repeated(std::hash<std::string>()(keyText)))
                return;
            const auto [it, added] = groupOf.try_emplace(keyText, candidates.size());
            if (added)
                candidates.push_back({ textOf(description), page, 0 });
            Candidate &group = candidates[it->second];
            if (++group.pages == 2)
                m_shared[std::size_t(group.firstPage)] = true;
            if (group.pages >= 2)
                m_shared[std::size_t(page)] = true;
            m_candidates.stream() << qint64(it->second) << entry;
        });
        m_groupOfCandidate.assign(candidates.size(), -1);
        for (std::size_t candidate = 0; candidate < candidates.size(); ++candidate) {
            if (candidates[candidate].pages < 2)
                continue;
            m_groupOfCandidate[candidate] = qint64(m_summary.duplicates.size());
            m_summary.duplicates.push_back({ std::move(candidates[candidate].description), candidates[candidate].pages });
        }
    }

    void writePages()
    {
        const QString sharedKind = QString::fromUtf8(PageWarnings::kindName(WarningKind::DescriptionShared));
        const qsizetype padTo = table() ? m_pathWidth : 0;
        if (table())
            writeTableHeader(m_pathWidth, m_out.text());
        qint64 page = 0;
        m_lines.forEach([&](QDataStream &stream) {
            QByteArray lead, text, sharedText;
            qint32 leadWidth = 0;
            stream >> lead >> leadWidth >> text >> sharedText;
            const bool shared = m_shared[std::size_t(page++)];
            m_out.write(lead + QByteArray(std::max<qsizetype>(padTo - leadWidth, 0), ' ') + (shared ? sharedText : text));
        });
        if (const auto sharedPages = std::count(m_shared.begin(), m_shared.end(), true))
            m_summary.warnings[sharedKind] += int(sharedPages);
    }

    // Visits the entries of the groups in output order: group after group in the order
    // of first use, each group's pages in page order. Entries are put aside in page order,
    // so each window of the output is gathered by one pass over them.
    template <typename Visit> void forEachGroupEntry(Visit visit)
    {
        std::vector<qint64> groupStart;
        qint64 total = 0;
        for (const DuplicateGroup &group : m_summary.duplicates) {
            groupStart.push_back(total);
            total += group.pages;
        }
        std::size_t group = 0;
        qint64 inGroup = 0;
        for (qint64 windowStart = 0; windowStart < total; windowStart += m_options.listWindow) {
            std::vector<QByteArray> window(std::size_t(std::min(m_options.listWindow, total - windowStart)));
            std::vector<qint64> seen(m_summary.duplicates.size(), 0);
            m_candidates.forEach([&](QDataStream &stream) {
                qint64 candidate = 0;
                QByteArray entry;
                stream >> candidate >> entry;
                const qint64 shared = m_groupOfCandidate.at(std::size_t(candidate));
                if (shared < 0)
                    return;
                const qint64 at = groupStart[std::size_t(shared)] + seen[std::size_t(shared)]++ - windowStart;
                if (at >= 0 && at < qint64(window.size()))
                    window[std::size_t(at)] = std::move(entry);
            });
            for (const QByteArray &entry : window) {
                while (inGroup == m_summary.duplicates[group].pages) {
                    ++group;
                    inGroup = 0;
                }
                visit(m_summary.duplicates[group], inGroup++, entry);
            }
        }
    }

    void writeSummary()
    {
        if (table())
            writeSummaryInWords();
        else
            writeSummaryJson();
        m_out.flush();
    }

    void writeSummaryInWords()
    {
        writeCountsInWords(m_summary, m_out.text());
        forEachGroupEntry([this](const DuplicateGroup &group, qint64 inGroup, const QByteArray &entry) {
            if (inGroup == 0) {
                m_out.text() << AuditCommand::tr("%1 pages share the description \"%2\":")
                                    .arg(group.pages)
                                    .arg(QString::fromUtf8(group.description))
                             << '\n';
            }
            m_out.write(entry);
        });
        writeWarningCountsInWords(m_summary, m_out.text());
    }

    void writeSummaryJson()
    {
        const QByteArray summary = QJsonDocument(summaryJson(m_summary)).toJson(QJsonDocument::Compact);
        const QByteArray groupsFrom = "\"duplicateDescriptions\":[";
        const qsizetype split = summary.indexOf(groupsFrom) + groupsFrom.size();
        m_out.write(summary.left(split));
        bool first = true;
        forEachGroupEntry([&](const DuplicateGroup &group, qint64 inGroup, const QByteArray &entry) {
            QByteArray text;
            if (inGroup == 0) {
                text += first ? "{\"description\":" : "]},{\"description\":";
                JsonText::appendUtf8(text, group.description);
                text += ",\"pages\":[";
            } else {
                text += ',';
            }
            first = false;
            m_out.write(text + entry);
        });
        m_out.write((first ? QByteArray() : QByteArray("]}")) + summary.mid(split) + '\n');
    }

    const AuditCommand::Options m_options;
    Utf8Output m_out;
    QThreadPool m_pool;
    Spool m_lines;
    Spool m_described;
    Spool m_candidates;
    Summary m_summary;
    qsizetype m_pathWidth = AuditCommand::tr("Page").size();
    qint64 m_pageCount = 0;
    HashTally m_tally;
    std::vector<bool> m_shared; // one bit a page
    std::vector<qint64> m_groupOfCandidate; // -1 for a candidate group of one page
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
