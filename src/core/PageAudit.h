#pragma once

#include "DocumentFile.h"
#include "PageWarnings.h"

#include <QString>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>


// What one page shows in a search result and what the editor would warn about, as far as
// the page alone tells: whether another page shares its description is for the audit to say.
struct PageAudit
{
    QString path;
    bool ok = false;
    QString error;
    std::string title; // UTF-8, as the values below
    std::string description; // as "tsmeta read" shows it
    std::string keywords;
    std::string author;
    std::string robots;
    double titlePixels = 0;
    double descriptionPixels = 0;
    std::vector<Warning> warnings;

    // Reads the file with its facts, one large page at a time over all threads.
    // limits: where a description counts as too long or too short.
    static PageAudit read(const QString &path, const WidthLimits &limits);
    // What a read with the facts gave, for readers that take the page from elsewhere.
    // Held while a large page is read and scanned, by every reader of many pages at once.
    static std::mutex &largePageTurn();
    static PageAudit of(const QString &path, const DocumentFile::OpenResult &opened, const WidthLimits &limits);
    // The texts as found, so that a missing one is empty rather than its "no value" text.
    static MetaElementSet foundValues(const ScannedDocument &document);
    static double roundedPixels(double pixels);

    bool hasDescription() const;
    // Descriptions count as the same when they differ only in white space.
    std::string descriptionKey() const;
};
