#include "SitePage.h"

#include "PageAudit.h"
#include "TextWidth.h"

#include <QDir>

namespace {

// As the document window opens a page: a text the page lacks shows its "no value" text.
MetaElementSet openedValues(const MetaElementSet &found)
{
    MetaElementSet values = found;
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author }) {
        if (found.text(field).empty())
            values.setText(field, std::string(MetaElementSet::noValueText(field)));
    }
    return values;
}

} // namespace

SitePage SitePage::read(const QString &folder, const QString &relativePath, const WidthLimits &limits)
{
    const QString file = QDir(folder).filePath(relativePath);
    return of(relativePath, DocumentFile::open(file, DocumentFile::Facts::Take, &PageAudit::largePageTurn()),
        limits);
}

SitePage SitePage::of(
    const QString &relativePath, const DocumentFile::OpenResult &opened, const WidthLimits &limits)
{
    SitePage page;
    page.path = relativePath;
    page.limits = limits;
    page.ok = opened.ok;
    page.error = opened.error;
    page.stamp = opened.stamp;
    if (!opened.ok)
        return page;
    page.title = opened.document.title;
    page.titlePixels = PageAudit::roundedPixels(TextWidth::titlePixels(page.title));
    page.found = PageAudit::foundValues(opened.document);
    page.facts = opened.facts;
    page.refresh();
    return page;
}

double SitePage::descriptionPixelsOf(const std::string &description)
{
    if (!MetaElementSet::hasValue(TextField::Description, description))
        return 0;
    return PageAudit::roundedPixels(TextWidth::descriptionPixels(description));
}

MetaElementSet SitePage::values() const
{
    return edited ? *edited : openedValues(found);
}

void SitePage::edit(const MetaElementSet &values)
{
    edited = values;
    refresh();
}

void SitePage::revert()
{
    edited.reset();
    refresh();
}

void SitePage::setLimits(const WidthLimits &widthLimits)
{
    limits = widthLimits;
    if (ok)
        refresh();
}

std::vector<Warning> SitePage::warnings() const
{
    if (!ok)
        return {};
    // Unedited, a missing description is missing, as the audit says; edited, the texts are
    // judged as the document window judges what is typed.
    return PageWarnings::evaluate(facts, edited ? *edited : found, false, limits);
}

void SitePage::refresh()
{
    const std::string description = values().text(TextField::Description);
    descriptionPixels = descriptionPixelsOf(description);
    const std::vector<Warning> current = warnings();
    warningCount = int(current.size());
    warningKinds = 0;
    for (const Warning &warning : current)
        warningKinds |= 1u << unsigned(warning.kind);
    digest = DescriptionTally::digestOfDescription(description);
}
