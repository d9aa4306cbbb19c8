#pragma once

#include "DescriptionTally.h"
#include "DocumentFile.h"
#include "FileStamp.h"
#include "MetaElementSet.h"
#include "PageFacts.h"
#include "PageWarnings.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

// One page of a site as its row shows it: the values, what the page's bytes tell of them,
// and the file's stamp, never the bytes themselves, so a site costs memory by its number
// of pages and not by their size.
struct SitePage
{
    QString path; // relative to the site's folder
    bool ok = false;
    QString error; // why the page could not be read
    std::string title; // UTF-8, as written
    double titlePixels = 0;
    MetaElementSet found; // texts empty where the page has none, as the audit reads them
    std::optional<MetaElementSet> edited; // pending, held as a document window holds values
    PageFacts facts;
    FileStamp stamp; // of the bytes the row was read from
    QString issue; // why the last save or undo left the page as it is
    WidthLimits limits;

    // Worked out from the above whenever the values change.
    // Of the warnings only their number and kinds are kept: their texts, worked out again
    // when asked for, would cost a large site more than all its values.
    double descriptionPixels = 0;
    int warningCount = 0;
    quint32 warningKinds = 0; // bit (1 << WarningKind) of each kind
    std::optional<DescriptionTally::Digest> digest;

    // relativePath names the row; the page is read at folder + "/" + relativePath.
    // limits: where a description counts as too long or too short.
    static SitePage read(const QString &folder, const QString &relativePath, const WidthLimits &limits);
    static SitePage of(
        const QString &relativePath, const DocumentFile::OpenResult &opened, const WidthLimits &limits);

    // The width a row shows for a description: none for a text that writes no tag.
    static double descriptionPixelsOf(const std::string &description);

    // What a save writes: the edits, else the values as a document window opens the page.
    MetaElementSet values() const;
    bool isEdited() const { return edited.has_value(); }
    // All but the shared description, which the other pages decide.
    std::vector<Warning> warnings() const;
    void edit(const MetaElementSet &values);
    void revert();
    // The description held to other limits from now on.
    void setLimits(const WidthLimits &widthLimits);

private:
    void refresh();
};
