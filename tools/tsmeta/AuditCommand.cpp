#include "AuditCommand.h"

#include "DescriptionTally.h"
#include "JsonText.h"
#include "PageAudit.h"
#include "PageLines.h"
#include "PageSource.h"
#include "PageWalk.h"
#include "ProgressLine.h"

#include "TextWidth.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFileDevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryFile>
#include <QTextStream>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>

namespace {

QByteArray bytesOf(const std::string &text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// English has one form for one and another for every other count.
QString counted(qint64 count, const QString &one, const QString &other)
{
    return (count == 1 ? one : other).arg(count);
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
    qint64 sharedDescriptions = 0;
    QMap<QString, int> warnings;
    WidthLimits limits;

    void count(const PageAudit &page)
    {
        ++pages;
        countWarnings(page.warnings);
        if (!page.ok) {
            ++unreadable;
            return;
        }
        missingTitles += TextWidth::collapsedSpaces(page.title).empty();
        missingDescriptions += !page.hasDescription();
        titlesTooLong += page.titlePixels > limits.title;
        descriptionsTooLong += page.descriptionPixels > limits.description;
    }

    void countWarnings(const std::vector<Warning> &found)
    {
        for (const Warning &warning : found)
            ++warnings[QString::fromUtf8(PageWarnings::kindName(warning.kind))];
    }
};

// The type first, as on every line that is not a page's, for readers that look no further.
QByteArray typedLine(const char *type, const QJsonObject &fields)
{
    return QByteArray("{\"type\":\"") + type + "\","
        + QJsonDocument(fields).toJson(QJsonDocument::Compact).mid(1) + '\n';
}

QByteArray summaryLine(const Summary &summary)
{
    QJsonObject warnings;
    for (auto it = summary.warnings.cbegin(); it != summary.warnings.cend(); ++it)
        warnings[it.key()] = it.value();
    return typedLine("summary",
        QJsonObject { { QStringLiteral("pages"), summary.pages },
            { QStringLiteral("unreadable"), summary.unreadable },
            { QStringLiteral("missingTitles"), summary.missingTitles },
            { QStringLiteral("missingDescriptions"), summary.missingDescriptions },
            { QStringLiteral("sharedDescriptions"), summary.sharedDescriptions },
            { QStringLiteral("titlesTooLong"), summary.titlesTooLong },
            { QStringLiteral("descriptionsTooLong"), summary.descriptionsTooLong },
            { QStringLiteral("warnings"), warnings } });
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
        << AuditCommand::tr("%1, %2 unreadable.")
               .arg(counted(summary.pages, AuditCommand::tr("%1 page"), AuditCommand::tr("%1 pages")))
               .arg(summary.unreadable)
        << '\n'
        << AuditCommand::tr("%1 without a title, %2 without a description.")
               .arg(summary.missingTitles)
               .arg(summary.missingDescriptions)
        << '\n'
        << AuditCommand::tr("%1 wider than %2 px, %3 wider than %4 px (marked !).")
               .arg(counted(
                   summary.titlesTooLong, AuditCommand::tr("%1 title"), AuditCommand::tr("%1 titles")))
               .arg(summary.limits.title)
               .arg(counted(summary.descriptionsTooLong, AuditCommand::tr("%1 description"),
                   AuditCommand::tr("%1 descriptions")))
               .arg(summary.limits.description)
        << '\n';
}

void writeWarningCountsInWords(const Summary &summary, QTextStream &out)
{
    for (auto it = summary.warnings.cbegin(); it != summary.warnings.cend(); ++it)
        out << counted(it.value(), AuditCommand::tr("%1 warning of kind %2."),
            AuditCommand::tr("%1 warnings of kind %2."))
                   .arg(it.key())
            << '\n';
}

// Text that is UTF-8 already goes to the device as it is; a stream on a string (as the
// tests use) takes it as text. A write that fails marks the stream, where the caller looks
// for lost output.
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
            if (device->write(bytes) != bytes.size())
                m_out.setStatus(QTextStream::WriteFailed);
        } else {
            m_out << QString::fromUtf8(bytes);
        }
    }

    QTextStream &text() { return m_out; }

    // Out of the program's buffers, so that a reader sees what is settled.
    void flush()
    {
        m_out.flush();
        auto *file = qobject_cast<QFileDevice *>(m_out.device());
        if (file && !file->flush())
            m_out.setStatus(QTextStream::WriteFailed);
    }

    bool failed() const { return m_out.status() == QTextStream::WriteFailed; }

private:
    QTextStream &m_out;
};

// What the threads make of a page: the page itself for the summary, and its output, with
// and without the warning that its description is shared.
struct ReadPage
{
    PageAudit page;
    std::optional<DescriptionTally::Digest> digest; // none when the page has no description
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
// pages are read on several threads, their output made there in both forms, and taken in
// page order. A JSON line that is settled (no description, or one an earlier page has) is
// written at once; the others, and every row of a table, are put aside in page order, and
// each page's entry for the lists of pages sharing a description in a second file. When
// all are read, what was put aside is written in the form it turned out to need, then the
// lists, a window of pages at a time, then the summary.
class Audit
{
public:
    Audit(const AuditCommand::Options &options, QTextStream &out, QTextStream &err)
        : m_options(options)
        , m_out(out)
        , m_progress(err, options.progress, options.progressInterval)
    {
        m_pool.setMaxThreadCount(options.jobs > 0 ? options.jobs : QThread::idealThreadCount());
        m_summary.limits = options.limits;
    }

    // Returns the reason when the pages could not be put aside.
    QString run(const QStringList &paths)
    {
        QString error;
        if (!m_heldPages.open(error) || !m_entries.open(error))
            return error;
        readPages(PageWalk(paths));
        m_progress.hide();
        if (!m_heldPages.written(error) || !m_entries.written(error))
            return error;
        numberGroups();
        writeHeldPages();
        writeGroupsAndSummary();
        return {};
    }

    AuditCommand::Outcome outcome() const
    {
        if (m_summary.unreadable > 0)
            return AuditCommand::Outcome::Failed;
        return m_summary.warnings.isEmpty() ? AuditCommand::Outcome::Clean : AuditCommand::Outcome::Warnings;
    }

private:
    static constexpr qsizetype kBatchPerThread = 128;

    bool table() const { return m_options.format == AuditCommand::Format::Table; }

    // Items come from next() in batches that the threads map while the next batch is
    // fetched; the results go to take() in the order the items came, and batchTaken() is
    // called after each batch.
    template <typename Next, typename Map, typename Take, typename BatchTaken>
    void inBatches(Next next, Map map, Take take, BatchTaken batchTaken)
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
            batchTaken();
            batch = std::move(nextBatch);
            mapping = std::move(nextMapping);
        }
    }

    ReadPage read(const QString &path) const
    {
        ReadPage read { PageSource::isStandardInput(path)
                ? PageAudit::of(path, PageSource::open(path, DocumentFile::Facts::Take), m_options.limits)
                : PageAudit::read(path, m_options.limits),
            {}, {}, {}, {}, {} };
        const PageAudit &page = read.page;
        if (page.ok)
            read.digest = DescriptionTally::digestOfDescription(page.description);
        if (table()) {
            read.lead = page.path.toUtf8();
            read.text = PageLines::tableCells(page, false, m_options.limits);
            read.entry = (QStringLiteral("  ") + page.path + QLatin1Char('\n')).toUtf8();
        } else {
            read.text = PageLines::json(page, false);
            JsonText::appendString(read.entry, page.path);
        }
        if (read.digest)
            read.sharedText = table() ? PageLines::tableCells(page, true, m_options.limits) : PageLines::json(page, true);
        return read;
    }

    void readPages(PageWalk walk)
    {
        // Once the output is lost, reading on would be for nothing.
        inBatches([&] { return m_out.failed() ? std::nullopt : walk.next(); },
            [this](const QString &path) { return read(path); }, [this](const ReadPage &read) { take(read); },
            [this] { writeSettled(); });
    }

    void take(const ReadPage &read)
    {
        m_summary.count(read.page);
        m_pathWidth = std::max(m_pathWidth, read.page.path.size());
        ++m_pagesRead;
        qint64 description = -1;
        if (read.digest) {
            description = m_tally.add(*read.digest);
            const bool firstUse = m_tally.pagesWith(description) == 1;
            m_entries.stream() << description << (firstUse ? bytesOf(read.page.description) : QByteArray())
                               << read.entry;
        }
        const bool settled = description < 0 || m_tally.pagesWith(description) > 1;
        if (settled && !table())
            m_settled += description < 0 ? read.text : read.sharedText;
        else
            m_heldPages.stream() << read.lead << qint32(read.page.path.size()) << read.text << read.sharedText
                                 << description;
    }

    void writeSettled()
    {
        if (!m_settled.isEmpty()) {
            m_progress.hide();
            m_out.write(m_settled);
            m_out.flush();
            m_settled.clear();
        }
        m_progress.update(
            counted(m_pagesRead, AuditCommand::tr("%1 page read"), AuditCommand::tr("%1 pages read")));
    }

    bool shared(qint64 description) const { return description >= 0 && m_tally.pagesWith(description) > 1; }

    // The descriptions of more than one page, numbered as groups in order of first use.
    void numberGroups()
    {
        m_groupOf.assign(std::size_t(m_tally.descriptions()), -1);
        qint64 sharedPages = 0;
        for (qsizetype description = 0; description < m_tally.descriptions(); ++description) {
            if (!shared(description))
                continue;
            m_groupOf[std::size_t(description)] = qint64(m_groupPages.size());
            m_groupPages.push_back(m_tally.pagesWith(description));
            sharedPages += m_tally.pagesWith(description);
        }
        m_summary.sharedDescriptions = qint64(m_groupPages.size());
        if (sharedPages > 0)
            m_summary.warnings[QString::fromUtf8(PageWarnings::kindName(WarningKind::DescriptionShared))]
                += int(sharedPages);
    }

    void writeHeldPages()
    {
        const qsizetype padTo = table() ? m_pathWidth : 0;
        if (table())
            writeTableHeader(m_pathWidth, m_out.text());
        m_heldPages.forEach([&](QDataStream &stream) {
            QByteArray lead, text, sharedText;
            qint32 leadWidth = 0;
            qint64 description = -1;
            stream >> lead >> leadWidth >> text >> sharedText >> description;
            m_out.write(lead + QByteArray(std::max<qsizetype>(padTo - leadWidth, 0), ' ')
                + (shared(description) ? sharedText : text));
        });
    }

    // Visits the entries of the groups in output order: group after group in the order
    // of first use, each group's pages in page order; the first of each carries the
    // description as its page has it. Entries are put aside in page order, so each window
    // of the output is gathered by one pass over them.
    template <typename Visit> void forEachGroupEntry(Visit visit)
    {
        struct Entry
        {
            QByteArray description;
            QByteArray page;
        };
        std::vector<qint64> groupStart;
        qint64 total = 0;
        for (const qint64 pages : m_groupPages) {
            groupStart.push_back(total);
            total += pages;
        }
        std::size_t group = 0;
        qint64 inGroup = 0;
        for (qint64 windowStart = 0; windowStart < total; windowStart += m_options.listWindow) {
            std::vector<Entry> window(std::size_t(std::min(m_options.listWindow, total - windowStart)));
            std::vector<qint64> seen(m_groupPages.size(), 0);
            m_entries.forEach([&](QDataStream &stream) {
                qint64 description = 0;
                Entry entry;
                stream >> description >> entry.description >> entry.page;
                const qint64 shared = m_groupOf.at(std::size_t(description));
                if (shared < 0)
                    return;
                const qint64 at = groupStart[std::size_t(shared)] + seen[std::size_t(shared)]++ - windowStart;
                if (at >= 0 && at < qint64(window.size()))
                    window[std::size_t(at)] = std::move(entry);
            });
            for (const Entry &entry : window) {
                while (inGroup == m_groupPages[group]) {
                    ++group;
                    inGroup = 0;
                }
                visit(m_groupPages[group], inGroup++, entry.description, entry.page);
            }
        }
    }

    void writeGroupsAndSummary()
    {
        if (table())
            writeSummaryInWords();
        else
            writeGroupAndSummaryLines();
        m_out.flush();
    }

    void writeSummaryInWords()
    {
        writeCountsInWords(m_summary, m_out.text());
        forEachGroupEntry(
            [this](qint64 pages, qint64 inGroup, const QByteArray &description, const QByteArray &entry) {
                if (inGroup == 0) {
                    m_out.text() << counted(pages, AuditCommand::tr("%1 page has the description \"%2\":"),
                        AuditCommand::tr("%1 pages share the description \"%2\":"))
                                        .arg(QString::fromUtf8(description))
                                 << '\n';
                }
                m_out.write(entry);
            });
        writeWarningCountsInWords(m_summary, m_out.text());
    }

    void writeGroupAndSummaryLines()
    {
        forEachGroupEntry(
            [this](qint64 pages, qint64 inGroup, const QByteArray &description, const QByteArray &entry) {
                QByteArray text;
                if (inGroup == 0) {
                    text += "{\"type\":\"sharedDescription\",\"description\":";
                    JsonText::appendUtf8(
                        text, std::string_view(description.constData(), std::size_t(description.size())));
                    text += ",\"pages\":[";
                } else {
                    text += ',';
                }
                text += entry;
                if (inGroup == pages - 1)
                    text += "]}\n";
                m_out.write(text);
            });
        m_out.write(summaryLine(m_summary));
    }

    const AuditCommand::Options m_options;
    Utf8Output m_out;
    ProgressLine m_progress;
    QThreadPool m_pool;
    Spool m_heldPages;
    Spool m_entries;
    Summary m_summary;
    qsizetype m_pathWidth = AuditCommand::tr("Page").size();
    qint64 m_pagesRead = 0;
    QByteArray m_settled; // lines of the batch taken last, written together
    DescriptionTally m_tally;
    std::vector<qint64> m_groupOf; // for each description, its group, or -1 for one page
    std::vector<qint64> m_groupPages; // for each group, its number of pages
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

AuditCommand::Outcome AuditCommand::run(
    const QStringList &paths, const Options &options, QTextStream &out, QTextStream &err)
{
    Audit audit(options, out, err);
    if (const QString error = audit.run(paths); !error.isEmpty()) {
        err << "tsmeta: " << error << '\n';
        err.flush();
        return Outcome::Failed;
    }
    return audit.outcome();
}
