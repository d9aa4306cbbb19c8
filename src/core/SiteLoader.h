#pragma once

#include "SitePage.h"

#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QSemaphore>
#include <QString>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <memory>

// Reads every page under a folder on worker threads while the folder is still being
// walked, so the first rows come at once. Rows reach the thread the loader lives on in
// batches: the first page as soon as it is read, then whatever was read since, at most
// every kIntervalMs unless kBatchRows are waiting, so a large site costs the window a few
// hundred updates and not one for each page. No batch holds more than kBatchRows rows, so
// that rows piled up while the window was busy do not hold it up for long in turn.
class SiteLoader : public QObject
{
    Q_OBJECT

public:
    explicit SiteLoader(QObject *parent = nullptr);
    ~SiteLoader() override;

    // Starts reading the pages under folder; a load still running is cancelled first.
    void start(const QString &folder);
    // Stops walking and reading; the pages read so far may still come in one last batch.
    void cancel();
    bool isRunning() const { return m_walker != nullptr; }
    QString folder() const { return m_folder; }
    // Threads reading pages; 0 for one per core.
    void setThreads(int threads);
    // Where descriptions count as too long or too short, for the loads started from now on.
    void setWidthLimits(const WidthLimits &limits) { m_limits = limits; }

Q_SIGNALS:
    void pagesRead(const QList<SitePage> &pages);
    void progress(qint64 found, qint64 read);
    // After the last batch; cancelled when cancel() stopped it.
    void finished(bool cancelled);

private:
    // Paths handed to the readers and not yet read: bounds the queue when walking outruns reading.
    static constexpr int kPathsAhead = 1024;
    static constexpr qint64 kIntervalMs = 20;
    static constexpr qsizetype kBatchRows = 2000;
    static constexpr int kNextTurnMs = 1;

    void walk(const QString &folder);
    void readPage(const QString &folder, const QString &relativePath, const WidthLimits &limits);
    void queueDelivery();
    void deliver();
    // At most kBatchRows of the rows read, the first read first; under m_lock.
    QList<SitePage> takeBatch();
    // Whether the rows read so far go now, or wait for more to join them.
    bool deliveryDue(bool last) const;
    void stopThreads();

    QString m_folder;
    WidthLimits m_limits;
    QThreadPool m_readers;
    std::unique_ptr<QThread> m_walker;
    QSemaphore m_pathsAhead { kPathsAhead };
    std::atomic<bool> m_cancelled { false };
    std::atomic<bool> m_walkDone { false };
    std::atomic<qint64> m_found { 0 };
    std::atomic<qint64> m_read { 0 };
    QMutex m_lock;
    QList<SitePage> m_batch; // read and not yet delivered, under m_lock
    bool m_deliveryQueued = false; // under m_lock
    QElapsedTimer m_sinceDelivery;
};
