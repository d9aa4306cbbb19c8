#pragma once

#include "DocumentFile.h"

#include <QCoreApplication>
#include <QString>

#include <mutex>

// Where tsmeta reads a page from: the file named, or standard input for "-", as the tools
// people script with take it. A file named "-" is reached as "./-".
class PageSource
{
    // All of tsmeta's texts share one translation context.
    Q_DECLARE_TR_FUNCTIONS(tsmeta)

public:
    static bool isStandardInput(const QString &path);
    // DocumentFile::open for a file; standard input is read to its end, the page's bytes kept.
    static DocumentFile::OpenResult open(const QString &path,
        DocumentFile::Facts facts = DocumentFile::Facts::Skip, std::mutex *largePageTurn = nullptr);

private:
    static DocumentFile::OpenResult openStandardInput();
};
