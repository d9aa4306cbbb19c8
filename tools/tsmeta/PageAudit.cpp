#include "PageAudit.h"

#include "DocumentFile.h"
#include "TextWidth.h"

#include <QDataStream>

#include <cmath>

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

QByteArray bytesOf(const std::string &text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string textOf(const QByteArray &bytes)
{
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

PageAudit PageAudit::read(const QString &path)
{
    PageAudit page;
    page.path = path;
    DocumentFile::OpenResult opened = DocumentFile::open(path, DocumentFile::Facts::Take);
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

QDataStream &operator<<(QDataStream &stream, const PageAudit &page)
{
    stream << page.path << page.ok << page.error << bytesOf(page.title) << bytesOf(page.description)
           << bytesOf(page.keywords) << bytesOf(page.author) << bytesOf(page.robots) << page.titlePixels
           << page.descriptionPixels << quint32(page.warnings.size());
    for (const Warning &warning : page.warnings)
        stream << qint32(warning.kind) << qint32(warning.target) << bytesOf(warning.message);
    return stream;
}

QDataStream &operator>>(QDataStream &stream, PageAudit &page)
{
    QByteArray title, description, keywords, author, robots;
    quint32 warnings = 0;
    stream >> page.path >> page.ok >> page.error >> title >> description >> keywords >> author >> robots
        >> page.titlePixels >> page.descriptionPixels >> warnings;
    page.title = textOf(title);
    page.description = textOf(description);
    page.keywords = textOf(keywords);
    page.author = textOf(author);
    page.robots = textOf(robots);
    page.warnings.clear();
    for (quint32 i = 0; i < warnings && stream.status() == QDataStream::Ok; ++i) {
        qint32 kind = 0, target = 0;
        QByteArray message;
        stream >> kind >> target >> message;
        page.warnings.push_back({ WarningKind(kind), WarningTarget(target), textOf(message) });
    }
    return stream;
}
