#pragma once

#include "PageWarnings.h"

#include <QString>

#include <cstdint>
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

    static PageAudit read(const QString &path);

    bool hasDescription() const;
    // Descriptions count as the same when they differ only in white space.
    std::string descriptionKey() const;
    // The text with runs of white space as one space, none at the ends.
    static std::string collapsedSpaces(std::string_view text);
};
