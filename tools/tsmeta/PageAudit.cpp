#include "PageAudit.h"

#include "PageSource.h"
#include "TextWidth.h"

#include <cmath>
#include <mutex>

namespace {

double rounded(double pixels)
{
    return std::round(pixels * 10) / 10;
}

// The texts as found, so that a missing one is empty rather than its "no value" text.
MetaElementSet foundValues(const ScannedDocument &document)
{
    MetaElementSet values = document.values();
    values.setText(TextField::Description, document.description);
    values.setText(TextField::Keywords, document.keywords);
    values.setText(TextField::Author, document.author);
    return values;
}

} // namespace

PageAudit PageAudit::read(const QString &path)
{
    PageAudit page;
    page.path = path;
    // Large pages are read and scanned one at a time, whatever the number of threads
    // reading pages: memory is then set by the largest page, not by how many of them the
    // threads happen to hold together.
    static std::mutex largePageTurn;
    const DocumentFile::OpenResult opened
        = PageSource::open(path, DocumentFile::Facts::Take, &largePageTurn);
    page.ok = opened.ok;
    if (!opened.ok) {
        page.error = opened.error;
        return page;
    }
    const MetaElementSet values = opened.document.values();
    page.title = opened.document.title;
    page.description = values.text(TextField::Description);
    page.keywords = values.text(TextField::Keywords);
    page.author = values.text(TextField::Author);
    page.robots = values.robotsValue();
    page.titlePixels = rounded(TextWidth::titlePixels(page.title));
    if (page.hasDescription())
        page.descriptionPixels = rounded(TextWidth::descriptionPixels(page.description));
    page.warnings = PageWarnings::evaluate(opened.facts, foundValues(opened.document), false);
    return page;
}

bool PageAudit::hasDescription() const
{
    return MetaElementSet::hasValue(TextField::Description, description);
}

std::string PageAudit::descriptionKey() const
{
    return collapsedSpaces(description);
}

std::string PageAudit::collapsedSpaces(std::string_view text)
{
    std::string key;
    bool space = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            space = !key.empty();
            continue;
        }
        if (space)
            key += ' ';
        space = false;
        key += c;
    }
    return key;
}
