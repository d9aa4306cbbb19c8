#pragma once

#include "document/MetaElementSet.h"

#include <QByteArray>
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
        bool changed = false; // whether the page written differs from the source
    };

    // A dry run: what a save would write, worked out the same way but writing nothing.
    struct Preview
    {
        Result result; // as the save would report it; backupPath names the backup it would write
        QByteArray before; // the source as read
        QByteArray after; // the page the save would write
    };

    // Tests hand in save files that fail on purpose, as a full disk would.
    using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString &path)>;

    static Result save(const Request &request, const SaveFileFactory &makeSaveFile = {});
    static Preview preview(const Request &request);
    static QString backupPathFor(const QString &filePath);
};
