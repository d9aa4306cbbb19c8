#pragma once

#include "document/MetaElementSet.h"

#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>

// Saving a document: the source is read again, a backup of it is written beside the
// document unless backups are off, and the rewritten page replaces the target in one
// step. Any failure leaves every file as it was and says why.
class DocumentSaver
{
public:
    struct Request
    {
        QString sourcePath;
        QString targetPath;
        // The document's own path, which names the backup (still the old one in a Save As).
        QString filePath;
        MetaElementSet values;
        QString version;
        bool backup = true;
    };

    struct Result
    {
        bool ok = false;
        QString error; // the reason, when not ok
        QString backupPath; // when a backup was written
    };

    // Tests hand in save files that fail on purpose, as a full disk would.
    using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString &path)>;

    static Result save(const Request &request, const SaveFileFactory &makeSaveFile = {});
    static QString backupPathFor(const QString &filePath);
};
