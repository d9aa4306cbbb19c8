#include "Document.h"

#include "ByteView.h"

Document::Document(QObject *parent)
    : QObject(parent)
{
}

void Document::startNew(const QString &standardAuthor, bool defaultCharset)
{
    MetaElementSet values;
    for (const TextField field : { TextField::Description, TextField::Keywords })
        values.setText(field, std::string(MetaElementSet::newDocumentText(field)));
    values.setText(TextField::Author, standardAuthor.toStdString());
    values.setCharset(defaultCharset);
    m_path.clear();
    m_caption = kNewCaption;
    setValues(values);
    setModified(false);
    emit pageChanged();
}

void Document::takeOpened(const QString &path, const DocumentFile::OpenResult &page)
{
    m_path = path;
    takePage(page);
    m_caption = m_title;
    setValues(page.document.values());
    setModified(false);
    emit pageChanged();
}

void Document::takePage(const DocumentFile::OpenResult &page)
{
    m_title = QString::fromStdString(page.document.title);
    m_facts = page.facts;
    m_lineEnd = page.document.lineEnd;
    m_diskBytes = page.bytes;
    m_diskStamp = page.stamp;
}

QString Document::text(TextField field) const
{
    return QString::fromStdString(m_values.text(field));
}

void Document::setValues(const MetaElementSet &values)
{
    if (values == m_values)
        return;
    m_values = values;
    setModified(true);
    emit valuesChanged();
}

void Document::setText(TextField field, const QString &text)
{
    MetaElementSet values = m_values;
    values.setText(field, text.toStdString());
    setValues(values);
}

void Document::setFlag(RobotsFlag flag, bool on)
{
    MetaElementSet values = m_values;
    values.setFlag(flag, on);
    setValues(values);
}

void Document::setCharset(bool on)
{
    MetaElementSet values = m_values;
    values.setCharset(on);
    setValues(values);
}

void Document::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void Document::setDescriptionShared(bool shared)
{
    if (shared == m_descriptionShared)
        return;
    m_descriptionShared = shared;
    emit pageChanged();
}

Document::DiskChange Document::diskChange()
{
    if (isNew())
        return DiskChange::Unchanged;
    const FileStamp now = FileStamp::of(m_path);
    if (!now.exists)
        return DiskChange::Vanished;
    if (now == m_diskStamp)
        return DiskChange::Unchanged;
    const DocumentFile::ReadResult read = DocumentFile::readBytes(m_path);
    if (read.code == DocumentFile::OpenError::Missing)
        return DiskChange::Vanished;
    // A file that cannot be read now is no evidence of a change; the save says what is wrong.
    if (!read.ok)
        return DiskChange::Unchanged;
    if (read.bytes != m_diskBytes)
        return DiskChange::Changed;
    m_diskStamp = now;
    return DiskChange::Unchanged;
}

bool Document::isDiskChangeSeen() const
{
    return m_seenChange.exists && m_seenChange == FileStamp::of(m_path);
}

void Document::setDiskChangeSeen()
{
    m_seenChange = FileStamp::of(m_path);
}

DocumentFile::OpenResult Document::reload()
{
    DocumentFile::OpenResult page = DocumentFile::open(m_path, DocumentFile::Facts::Take);
    if (page.ok)
        takeOpened(m_path, page);
    return page;
}

DocumentSaver::Request Document::saveRequest(const QString &target, const SaveSettings &settings) const
{
    DocumentSaver::Request request;
    request.sourcePath = isNew() ? target : m_path;
    request.targetPath = target;
    request.filePath = request.sourcePath;
    request.values = m_values;
    request.version = settings.version;
    request.backup = settings.backup;
    // A page gone from disk is saved from the bytes last read; with no file left, there is
    // nothing for a backup to keep.
    if (!isNew() && !FileStamp::of(m_path).exists) {
        request.sourceBytes = m_diskBytes;
        request.backup = false;
    }
    return request;
}

DocumentSaver::Result Document::save(const QString &target, const SaveSettings &settings)
{
    const DocumentSaver::Result result = DocumentSaver::save(saveRequest(target, settings));
    if (!result.ok)
        return result;
    if (!isNew() && target != m_path)
        m_caption = target;
    m_path = target;
    // What the page holds now: its title and facts may have moved with the new tags.
    DocumentFile::OpenResult written = DocumentFile::fromBytes(result.written);
    written.stamp = result.stamp;
    takePage(written);
    m_seenChange = {};
    setModified(false);
    emit pageChanged();
    return result;
}
