#pragma once

#include <QString>

// What the commands hand to the open and save routines. One set for the whole program;
// whether a document has unsaved edits is each window's own (DocumentWindow::isModified).
class DocumentState
{
public:
    QString sourcePath;
    QString targetPath;
    bool isNewDocument = false;
    bool saveAsCancelled = false;
    bool openWithDialog = false;
    QString pathToOpen;
    QString savedStatusText;
    QString activeField;

    // Before a Save: a document never saved ("NONE") goes through Save As instead.
    // Returns whether it needs Save As.
    bool prepareSave(const QString &filePath);
};
