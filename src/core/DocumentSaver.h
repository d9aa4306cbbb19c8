#pragma once

#include "FileStamp.h"
#include "MetaElementSet.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <optional>

class FileWriter;

// Saving a document: the source is read again unless its bytes are given, a backup of it
// is written beside the document unless backups are off, and the rewritten page takes the
// target's place. The
// page keeps its mode, owner, group and links. Any failure leaves every file as it was,
// or the backup fully written and the page as it was, and says why.
class DocumentSaver
{
    Q_DECLARE_TR_FUNCTIONS(DocumentSaver)

public:
    // What stopped a save, for callers that act on the cause and not only show it.
    enum class SaveError { None, SourceUnreadable, NoHead, TargetRefused, BackupRefused, WriteFailed };

    struct Request
    {
        QString sourcePath;
        QString targetPath;
        // The document's own path, which names the backup (still the old one in a Save As).
        QString filePath;
        MetaElementSet values;
        QString version;
        bool backup = true;
        // The page as last read, saved from instead of sourcePath: a page deleted while it
        // was open, or moved away before a Save As, is still saved, and its backup holds these.
        // Empty braces: initialisations that leave it out stay warning-free.
        std::optional<QByteArray> sourceBytes {};
    };

    struct Result
    {
        bool ok = false;
        QString error; // the reason, when not ok
        SaveError code = SaveError::None;
        QString backupPath; // when a backup was written, even by a save that then failed
        bool changed = false; // whether the page written differs from the source
        QByteArray written; // after a save: the bytes the page now holds
        // After a save: the page's stamp as the save left it, for noticing later changes.
        FileStamp stamp;
    };

    // A dry run: what a save would write, worked out the same way but writing nothing.
    struct Preview
    {
        Result result; // as the save would report it; backupPath names the backup it would write
        QByteArray before; // the source as read
        QByteArray after; // the page the save would write
    };

    static Result save(const Request &request);
    // Tests hand in a writer that fails on purpose, as a full disk would.
    static Result save(const Request &request, FileWriter &writer);
    static Preview preview(const Request &request);
    // Puts bytes back as the page at path (a backup taken back), written as a save writes a
    // page, with its mode, owner and links kept, and no backup of what it replaces.
    static Result restore(const QString &path, const QByteArray &bytes);
    static QString backupPathFor(const QString &filePath);
};
