#include "PageAudit.h"

#include "TextWidth.h"

#include <cmath>
#include <mutex>

PageAudit PageAudit::read(const QString &path, const WidthLimits &limits)
{
    return of(path, DocumentFile::open(path, DocumentFile::Facts::Take, &largePageTurn()), limits);
}

std::mutex &PageAudit::largePageTurn()
{
    // Large pages are read and scanned one at a time, whatever the number of threads
    // reading pages: memory is then set by the largest page, not by how many of them the
    // threads happen to hold together.
    static std::mutex turn;
    return turn;
}

PageAudit PageAudit::of(const QString &path, const DocumentFile::OpenResult &opened, const WidthLimits &limits)
{
    PageAudit page;
    page.path = path;
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
    page.titlePixels = roundedPixels(TextWidth::titlePixels(page.title));
    if (page.hasDescription())
        page.descriptionPixels = roundedPixels(TextWidth::descriptionPixels(page.description));
    page.warnings = PageWarnings::evaluate(opened.facts, foundValues(opened.document), false, limits);
    return page;
}

MetaElementSet PageAudit::foundValues(const ScannedDocument &document)
{
    MetaElementSet values = document.values();
    values.setText(TextField::Description, document.description);
    values.setText(TextField::Keywords, document.keywords);
    values.setText(TextField::Author, document.author);
    return values;
}

double PageAudit::roundedPixels(double pixels)
{
    return std::round(pixels * 10) / 10;
}

bool PageAudit::hasDescription() const
{
    return MetaElementSet::hasValue(TextField::Description, description);
}

std::string PageAudit::descriptionKey() const
{
    return TextWidth::collapsedSpaces(description);
}
