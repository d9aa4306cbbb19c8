#include "SiteLoader.h"

#include "PageWalk.h"

#include <QDir>
#include <QMetaObject>
#include <QMutexLocker>
#include <QTimer>

#include <iterator>
#include <utility>

SiteLoader::SiteLoader(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<QList<SitePage>>();
}

SiteLoader::~SiteLoader()
{
    cancel();
    stopThreads();
}

void SiteLoader::setThreads(int threads)
{
    m_readers.setMaxThreadCount(threads > 0 ? threads : QThread::idealThreadCount());
}

void SiteLoader::start(const QString &folder)
{
    cancel();
    stopThreads();
    m_folder = folder;
    m_cancelled = false;
    m_walkDone = false;
    m_found = 0;
    m_read = 0;
    {
        const QMutexLocker locker(&m_lock);
        m_batch.clear();
        m_deliveryQueued = false;
    }
    m_sinceDelivery.invalidate();
    m_walker.reset(QThread::create([this, folder] { walk(folder); }));
    m_walker->start();
}

void SiteLoader::cancel()
{
    m_cancelled = true;
}

void SiteLoader::stopThreads()
{
    if (m_walker)
        m_walker->wait();
    // Not cleared: each read still queued gives back its place among the paths ahead,
    // and after a cancel it returns at once.
    m_readers.waitForDone();
    m_walker.reset();
}

void SiteLoader::walk(const QString &folder)
{
    const QDir root(folder);
    PageWalk pages({ folder });
    while (!m_cancelled) {
        const std::optional<QString> page = pages.next();
        if (!page)
            break;
        m_pathsAhead.acquire();
        ++m_found;
        const QString relativePath = root.relativeFilePath(*page);
        m_readers.start(
            [this, folder, relativePath, limits = m_limits] { readPage(folder, relativePath, limits); });
    }
    m_walkDone = true;
    queueDelivery();
}

void SiteLoader::readPage(const QString &folder, const QString &relativePath, const WidthLimits &limits)
{
    if (!m_cancelled) {
        SitePage page = SitePage::read(folder, relativePath, limits);
        const QMutexLocker locker(&m_lock);
        m_batch.append(std::move(page));
    }
    ++m_read;
    m_pathsAhead.release();
    queueDelivery();
}

// One delivery waits in the event queue at a time; the rows read meanwhile join it.
void SiteLoader::queueDelivery()
{
    {
        const QMutexLocker locker(&m_lock);
        if (m_deliveryQueued)
            return;
        m_deliveryQueued = true;
    }
    QMetaObject::invokeMethod(this, &SiteLoader::deliver, Qt::QueuedConnection);
}

void SiteLoader::deliver()
{
    // Counted before the batch is taken: a page counted as read is in the batch already.
    const bool walkDone = m_walkDone;
    const qint64 found = m_found;
    const qint64 read = m_read;
    bool last = walkDone && read == found;
    QList<SitePage> batch;
    bool rowsLeft = false;
    {
        const QMutexLocker locker(&m_lock);
        if (m_walker && !deliveryDue(last)) {
            // Still queued as far as the readers know: the rows they add meanwhile join it.
            QTimer::singleShot(kIntervalMs - m_sinceDelivery.elapsed(), this, &SiteLoader::deliver);
            return;
        }
        batch = takeBatch();
        rowsLeft = !m_batch.isEmpty();
        m_deliveryQueued = rowsLeft;
    }
    if (!m_walker)
        return;
    last = last && !rowsLeft;
    m_sinceDelivery.start();
    if (!batch.isEmpty())
        emit pagesRead(batch);
    emit progress(found, read);
    // Every page found was read (or skipped when cancelled) and its row is delivered.
    if (last) {
        stopThreads();
        emit finished(m_cancelled);
    } else if (rowsLeft) {
        // Rows piled up while the receiving thread was busy: the rest go after it has had a
        // turn. A timer of no length would be a posted call, run in the same turn as this one.
        QTimer::singleShot(kNextTurnMs, this, &SiteLoader::deliver);
    }
}

QList<SitePage> SiteLoader::takeBatch()
{
    if (m_batch.size() <= kBatchRows)
        return std::exchange(m_batch, {});
    QList<SitePage> batch(
        std::make_move_iterator(m_batch.begin()), std::make_move_iterator(m_batch.begin() + kBatchRows));
    m_batch.remove(0, kBatchRows);
    return batch;
}

bool SiteLoader::deliveryDue(bool last) const
{
    return last || !m_sinceDelivery.isValid() || m_sinceDelivery.elapsed() >= kIntervalMs
        || m_batch.size() >= kBatchRows;
}
