#pragma once

#include "DocumentFile.h"
#include "DocumentSaver.h"
#include "FileStamp.h"
#include "LineEnds.h"
#include "MetaElementSet.h"
#include "PageFacts.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// One open page: the values the user edits, where the page lives, and what the program last
// knew of its file (the bytes it read or wrote, and their stamp). Knowing that much, a page
// changed on disk is told from one the program left as it was, and a page that vanished can
// still be saved from the bytes last read: nothing typed is lost to the disk.
class Document : public QObject
{
    Q_OBJECT

public:
    static inline const QString kNewCaption = QStringLiteral("Unsaved HTML Document");

    enum class DiskChange { Unchanged, Changed, Vanished };
    Q_ENUM(DiskChange)

    struct SaveSettings
    {
        QString version;
        bool backup = true;
    };

    explicit Document(QObject *parent = nullptr);

    // A page not yet on disk, with the texts a new document starts with.
    void startNew(const QString &standardAuthor, bool defaultCharset);
    // What a read of path found: values, title, facts, line end, bytes and stamp. Unmodified.
    void takeOpened(const QString &path, const DocumentFile::OpenResult &page);

    // Empty for a page never saved.
    QString path() const { return m_path; }
    bool isNew() const { return m_path.isEmpty(); }
    // New: "Unsaved HTML Document"; opened: the page's title; after a Save As: the new path.
    QString caption() const { return m_caption; }
    QString title() const { return m_title; }
    const PageFacts &facts() const { return m_facts; }
    LineEnd lineEnd() const { return m_lineEnd; }

    const MetaElementSet &values() const { return m_values; }
    QString text(TextField field) const;
    // Each setter marks the page modified when the value really changes.
    void setValues(const MetaElementSet &values);
    void setText(TextField field, const QString &text);
    void setFlag(RobotsFlag flag, bool on);
    void setCharset(bool on);

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // Another open page has the same description.
    bool descriptionShared() const { return m_descriptionShared; }
    void setDescriptionShared(bool shared);

    const QByteArray &diskBytes() const { return m_diskBytes; }
    const FileStamp &diskStamp() const { return m_diskStamp; }
    // Whether the file still holds what was last read or written. A stamp that moved over the
    // same bytes (a touch, a copy of the same page) is taken as the new stamp.
    DiskChange diskChange();
    // A change on disk the user was told of and chose to leave for now: not asked again until
    // the file changes once more.
    bool isDiskChangeSeen() const;
    void setDiskChangeSeen();

    // Reads the page again and shows what it holds now; the edits go. On failure nothing changes.
    DocumentFile::OpenResult reload();
    // Writes the values into target. The page's own file is the source (for a new page, the
    // file just made at target), or the bytes last read when that file is gone.
    DocumentSaver::Result save(const QString &target, const SaveSettings &settings);

Q_SIGNALS:
    void valuesChanged();
    void modifiedChanged(bool modified);
    // The path, caption, title, facts or shared description changed.
    void pageChanged();

private:
    void takePage(const DocumentFile::OpenResult &page);
    DocumentSaver::Request saveRequest(const QString &target, const SaveSettings &settings) const;

    QString m_path;
    QString m_caption = kNewCaption;
    QString m_title;
    PageFacts m_facts;
    LineEnd m_lineEnd = LineEnd::CrLf;
    MetaElementSet m_values;
    bool m_modified = false;
    bool m_descriptionShared = false;
    QByteArray m_diskBytes;
    FileStamp m_diskStamp;
    FileStamp m_seenChange;
};
