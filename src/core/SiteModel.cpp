#include "SiteModel.h"

#include "ByteView.h"
#include "DocumentFile.h"
#include "DocumentList.h"
#include "DocumentSaver.h"
#include "TextChange.h"
#include "UnifiedDiff.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

QString textOf(const std::string &text)
{
    return QString::fromStdString(text);
}

std::optional<RobotsFlag> robotsFlagOf(int column)
{
    switch (column) {
    case SiteModel::NoIndexColumn:
        return RobotsFlag::NoIndex;
    case SiteModel::NoFollowColumn:
        return RobotsFlag::NoFollow;
    case SiteModel::NoImageIndexColumn:
        return RobotsFlag::NoImageIndex;
    case SiteModel::NoImageClickColumn:
        return RobotsFlag::NoImageClick;
    default:
        return std::nullopt;
    }
}

bool isFlagColumn(int column)
{
    return robotsFlagOf(column) || column == SiteModel::CharsetColumn;
}

QByteArray digestOfBytes(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Blake2s_128);
}

QString joinedMessages(const std::vector<Warning> &warnings)
{
    QStringList messages;
    for (const Warning &warning : warnings)
        messages.append(textOf(warning.message));
    return messages.join(QLatin1Char('\n'));
}

} // namespace

SiteModel::SiteModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void SiteModel::reset(const QString &folder)
{
    beginResetModel();
    m_folder = folder;
    m_limits.reset();
    m_pages.clear();
    m_rowOfPath.clear();
    m_rowsOfDescription.clear();
    m_lastSave.clear();
    m_documentOfRow.clear();
    endResetModel();
}

void SiteModel::appendPages(const QList<SitePage> &pages)
{
    if (pages.isEmpty())
        return;
    const int first = int(m_pages.size());
    beginInsertRows({}, first, first + int(pages.size()) - 1);
    for (const SitePage &page : pages) {
        m_rowOfPath.insert(page.path, int(m_pages.size()));
        m_pages.push_back(page);
        if (m_limits && page.limits != *m_limits)
            m_pages.back().setLimits(*m_limits);
    }
    endInsertRows();
    for (int row = first; row < int(m_pages.size()); ++row)
        addToDescriptions(row);
}

void SiteModel::setWidthLimits(const WidthLimits &limits)
{
    m_limits = limits;
    for (SitePage &page : m_pages)
        page.setLimits(limits);
    if (!m_pages.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

QString SiteModel::filePath(int row) const
{
    return QDir(m_folder).filePath(page(row).path);
}

int SiteModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_pages.size());
}

int SiteModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

std::optional<TextField> SiteModel::textFieldOf(int column)
{
    switch (column) {
    case DescriptionColumn:
        return TextField::Description;
    case KeywordsColumn:
        return TextField::Keywords;
    case AuthorColumn:
        return TextField::Author;
    default:
        return std::nullopt;
    }
}

QVariant SiteModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case PathColumn:
        return tr("Page");
    case TitleColumn:
        return tr("Title");
    case TitlePixelsColumn:
        return tr("Title px");
    case DescriptionColumn:
        return tr("Description");
    case DescriptionPixelsColumn:
        return tr("Descr. px");
    case KeywordsColumn:
        return tr("Keywords");
    case AuthorColumn:
        return tr("Author");
    case RobotsColumn:
        return tr("Robots");
    case NoIndexColumn:
        return QStringLiteral("noindex");
    case NoFollowColumn:
        return QStringLiteral("nofollow");
    case NoImageIndexColumn:
        return QStringLiteral("noimageindex");
    case NoImageClickColumn:
        return QStringLiteral("noimageclick");
    case CharsetColumn:
        return tr("Charset");
    case WarningsColumn:
        return tr("Warnings");
    default:
        return tr("State");
    }
}

QVariant SiteModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    const SitePage &shown = page(row);
    switch (role) {
    case Qt::DisplayRole:
        return isFlagColumn(index.column()) ? QVariant() : displayData(row, index.column());
    case Qt::EditRole:
        return displayData(row, index.column());
    case Qt::CheckStateRole:
        if (!isFlagColumn(index.column()) || !shown.ok)
            return {};
        return displayData(row, index.column()).toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole:
        if (index.column() == WarningsColumn)
            return joinedMessages(warnings(row));
        if (index.column() == StateColumn)
            return shown.ok ? shown.issue : shown.error;
        return {};
    case SortRole:
        return sortData(row, index.column());
    case WarningKindsRole:
        return warningKinds(row);
    case EditedRole:
        return shown.isEdited();
    case IssueRole:
        return shown.issue;
    default:
        return {};
    }
}

QVariant SiteModel::displayData(int row, int column) const
{
    const SitePage &shown = page(row);
    switch (column) {
    case PathColumn:
        return shown.path;
    case TitleColumn:
        return textOf(shown.title);
    case TitlePixelsColumn:
        return shown.titlePixels;
    case DescriptionPixelsColumn:
        return shown.descriptionPixels;
    case WarningsColumn:
        return shown.warningCount + int(isDescriptionShared(row));
    case StateColumn:
        return stateText(shown);
    default:
        return valueData(shown, column);
    }
}

// Worked out only for the columns that show them: sorting a large site asks every row.
QVariant SiteModel::valueData(const SitePage &shown, int column)
{
    const MetaElementSet values = shown.values();
    if (const auto field = textFieldOf(column))
        return shown.ok ? textOf(values.text(*field)) : QString();
    if (const auto flag = robotsFlagOf(column))
        return values.flag(*flag);
    if (column == CharsetColumn)
        return values.charset();
    return textOf(values.robotsValue());
}

QString SiteModel::stateText(const SitePage &shown)
{
    if (!shown.ok)
        return shown.error;
    if (!shown.issue.isEmpty())
        return shown.issue;
    return shown.isEdited() ? tr("Edited") : QString();
}

QVariant SiteModel::sortData(int row, int column) const
{
    const QVariant value = displayData(row, column);
    if (value.typeId() == QMetaType::Bool)
        return int(value.toBool());
    return value;
}

std::vector<Warning> SiteModel::warnings(int row) const
{
    std::vector<Warning> found = page(row).warnings();
    if (isDescriptionShared(row))
        found.push_back(PageWarnings::descriptionShared());
    return found;
}

int SiteModel::warningKinds(int row) const
{
    const int shared = isDescriptionShared(row) ? 1 << int(WarningKind::DescriptionShared) : 0;
    return int(page(row).warningKinds) | shared;
}

Qt::ItemFlags SiteModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid() || !page(index.row()).ok)
        return flags;
    if (textFieldOf(index.column()))
        flags |= Qt::ItemIsEditable;
    if (isFlagColumn(index.column()))
        flags |= Qt::ItemIsUserCheckable | Qt::ItemIsEditable;
    return flags;
}

bool SiteModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid())
        return false;
    return setDataOnRows({ index.row() }, index.column(), value, role);
}

bool SiteModel::setDataOnRows(const QList<int> &rows, int column, const QVariant &value, int role)
{
    if (role != Qt::EditRole && !(role == Qt::CheckStateRole && isFlagColumn(column)))
        return false;
    bool taken = false;
    for (const int row : rows)
        taken = applyEdit(row, column, value) || taken;
    return taken;
}

// A check box's Qt::Checked and Qt::Unchecked read as true and false, as a bool does.
bool SiteModel::applyEdit(int row, int column, const QVariant &value)
{
    if (row < 0 || row >= rowCount() || !page(row).ok)
        return false;
    MetaElementSet values = page(row).values();
    if (const auto field = textFieldOf(column))
        values.setText(*field, value.toString().toStdString());
    else if (const auto flag = robotsFlagOf(column))
        values.setFlag(*flag, value.toBool());
    else if (column == CharsetColumn)
        values.setCharset(value.toBool());
    else
        return false;
    if (values != page(row).values())
        changeRow(row, [&values](SitePage &edited) { edited.edit(values); });
    return true;
}

QList<SiteModel::ChangedText> SiteModel::textChanges(
    const QList<int> &rows, int column, const TextChange &change) const
{
    QList<ChangedText> changes;
    const auto field = textFieldOf(column);
    if (!field || !change.isValid())
        return changes;
    for (const int row : rows) {
        if (const auto changed = changedText(row, *field, change))
            changes.append(*changed);
    }
    return changes;
}

// The "no value" text a row shows for a text its page lacks stands for nothing: a text
// added to it is the whole value, and a change that leaves nothing changes nothing.
std::optional<SiteModel::ChangedText> SiteModel::changedText(
    int row, TextField field, const TextChange &change) const
{
    if (row < 0 || row >= rowCount() || !page(row).ok)
        return std::nullopt;
    const std::string shown = page(row).values().text(field);
    const QString before = textOf(shown);
    const QString from = shown == MetaElementSet::noValueText(field) ? QString() : before;
    const QString after = change.applied(from);
    if (after == from || after == before)
        return std::nullopt;
    return ChangedText { row, page(row).path, before, after };
}

int SiteModel::applyTextChange(const QList<int> &rows, int column, const TextChange &change)
{
    const QList<ChangedText> changes = textChanges(rows, column, change);
    for (const ChangedText &changed : changes)
        applyEdit(changed.row, column, changed.after);
    return int(changes.size());
}

// Every change of a row's values goes through here, so the shared descriptions, the
// document open on the page and the views all follow it.
void SiteModel::changeRow(int row, const std::function<void(SitePage &)> &change)
{
    removeFromDescriptions(row);
    change(m_pages[std::size_t(row)]);
    addToDescriptions(row);
    emitRowChanged(row);
    pushToDocument(row);
}

void SiteModel::emitRowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void SiteModel::setIssue(int row, const QString &issue)
{
    m_pages[std::size_t(row)].issue = issue;
    emitRowChanged(row);
}

void SiteModel::addToDescriptions(int row)
{
    const auto &digest = page(row).digest;
    if (!digest)
        return;
    QList<int> &rows = m_rowsOfDescription[*digest];
    rows.append(row);
    // A second page makes the first one's description shared too.
    if (rows.size() == 2)
        emitRowChanged(rows.first());
}

void SiteModel::removeFromDescriptions(int row)
{
    const auto &digest = page(row).digest;
    if (!digest)
        return;
    const auto found = m_rowsOfDescription.find(*digest);
    if (found == m_rowsOfDescription.end())
        return;
    found->removeOne(row);
    if (found->size() == 1)
        emitRowChanged(found->first());
    if (found->isEmpty())
        m_rowsOfDescription.erase(found);
}

QList<int> SiteModel::rowsSharingDescription(int row) const
{
    const auto &digest = page(row).digest;
    if (!digest)
        return {};
    QList<int> rows = m_rowsOfDescription.value(*digest);
    if (rows.size() < 2)
        return {};
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool SiteModel::isDescriptionShared(int row) const
{
    const auto &digest = page(row).digest;
    return digest && m_rowsOfDescription.value(*digest).size() > 1;
}

SiteModel::Summary SiteModel::summary() const
{
    Summary summary;
    summary.pages = rowCount();
    for (int row = 0; row < rowCount(); ++row) {
        summary.unreadable += !page(row).ok;
        summary.edited += page(row).isEdited();
        const int kinds = warningKinds(row);
        summary.withWarnings += kinds != 0;
        for (std::size_t kind = 0; kind < kWarningKindCount; ++kind)
            summary.warnings[kind] += (kinds >> kind) & 1;
    }
    return summary;
}

void SiteModel::revertRow(int row)
{
    if (row < 0 || row >= rowCount() || !page(row).isEdited())
        return;
    changeRow(row, [](SitePage &reverted) { reverted.revert(); });
}

void SiteModel::revertAll()
{
    for (int row = 0; row < rowCount(); ++row)
        revertRow(row);
}

SitePageRow SiteModel::tableRow(int row) const
{
    const SitePage &shown = page(row);
    const MetaElementSet values = shown.values();
    const auto valueOf = [&](TextField field) {
        const std::string &text = values.text(field);
        return shown.ok && MetaElementSet::hasValue(field, text) ? textOf(text) : QString();
    };
    SitePageRow exported;
    exported.path = shown.path;
    exported.title = textOf(shown.title);
    exported.titlePixels = shown.titlePixels;
    exported.description = valueOf(TextField::Description);
    exported.descriptionPixels = shown.descriptionPixels;
    exported.keywords = valueOf(TextField::Keywords);
    exported.author = valueOf(TextField::Author);
    exported.robots = shown.ok ? textOf(values.robotsValue()) : QString();
    exported.charset = shown.ok && values.charset();
    const int kinds = warningKinds(row);
    for (std::size_t i = 0; i < kWarningKindCount; ++i) {
        if ((kinds >> i) & 1)
            exported.warnings.append(static_cast<WarningKind>(i));
    }
    return exported;
}

SiteModel::Import SiteModel::takeEdits(const QList<SiteTableCsv::PageEdit> &edits)
{
    Import import;
    const QDir folder(m_folder);
    for (const SiteTableCsv::PageEdit &edit : edits) {
        const QString path = folder.relativeFilePath(edit.path);
        const int row = rowOf(path);
        if (row < 0 || !page(row).ok) {
            import.refused.append(tr("%1: %2").arg(path, row < 0 ? tr("not in the table") : page(row).error));
            continue;
        }
        const MetaElementSet current = page(row).values();
        MetaElementSet values = current;
        edit.edit.applyTo(values);
        for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author }) {
            if (!MetaElementSet::hasValue(field, values.text(field))
                && !MetaElementSet::hasValue(field, current.text(field)))
                values.setText(field, current.text(field));
        }
        if (values == current)
            continue;
        changeRow(row, [&values](SitePage &edited) { edited.edit(values); });
        ++import.edited;
    }
    return import;
}

QList<SiteModel::Outcome> SiteModel::save(const Document::SaveSettings &settings)
{
    QList<Outcome> outcomes;
    std::vector<SavedPage> saved;
    for (int row = 0; row < rowCount(); ++row) {
        if (page(row).isEdited())
            outcomes.append(saveRow(row, settings, saved));
    }
    if (!saved.empty())
        m_lastSave = std::move(saved);
    return outcomes;
}

SiteModel::Outcome SiteModel::saveRow(
    int row, const Document::SaveSettings &settings, std::vector<SavedPage> &saved)
{
    Outcome outcome { row, page(row).path, Outcome::Result::Refused, {}, {} };
    const QString file = filePath(row);
    const DocumentFile::ReadResult now = DocumentFile::readBytes(file);
    if (!now.ok)
        outcome.reason = now.error;
    else if (!(now.stamp == page(row).stamp))
        outcome.reason = tr("The page changed on disk after it was read; reload the site to see it");
    if (!outcome.reason.isEmpty()) {
        setIssue(row, outcome.reason);
        return outcome;
    }
    // Saved from the bytes just compared, so nothing can change between the look and the write.
    const DocumentSaver::Result result = DocumentSaver::save(
        { file, file, file, page(row).values(), settings.version, settings.backup, now.bytes });
    if (!result.ok) {
        outcome.reason = result.error;
        setIssue(row, outcome.reason);
        return outcome;
    }
    outcome.result = Outcome::Result::Saved;
    outcome.backupPath = result.backupPath;
    takeWritten(row, result.written, result.stamp);
    saved.push_back({ row, result.backupPath, digestOfBytes(now.bytes), result.stamp });
    if (Document *document = m_documentOfRow.value(row))
        document->reload();
    return outcome;
}

// The row as the page now is on disk, its edits gone with the save.
void SiteModel::takeWritten(int row, const QByteArray &bytes, const FileStamp &stamp)
{
    DocumentFile::OpenResult written = DocumentFile::fromBytes(bytes);
    written.stamp = stamp;
    const QString path = page(row).path;
    removeFromDescriptions(row);
    m_pages[std::size_t(row)] = SitePage::of(path, written, page(row).limits);
    addToDescriptions(row);
    emitRowChanged(row);
}

QList<SiteModel::Preview> SiteModel::preview(const Document::SaveSettings &settings) const
{
    QList<Preview> previews;
    for (int row = 0; row < rowCount(); ++row) {
        if (!page(row).isEdited())
            continue;
        const QString file = filePath(row);
        Preview preview { row, page(row).path, {}, {} };
        const DocumentFile::ReadResult now = DocumentFile::readBytes(file);
        if (now.ok && !(now.stamp == page(row).stamp))
            preview.reason = tr("The page changed on disk after it was read; reload the site to see it");
        const DocumentSaver::Preview planned = DocumentSaver::preview(
            { file, file, file, page(row).values(), settings.version, settings.backup, std::nullopt });
        if (preview.reason.isEmpty())
            preview.reason = planned.result.error;
        if (preview.reason.isEmpty() && !planned.result.changed)
            continue;
        const std::string name = QFile::encodeName(page(row).path).toStdString();
        preview.diff = QByteArray::fromStdString(UnifiedDiff::between(
            byteView(planned.before), byteView(planned.after), "a/" + name, "b/" + name));
        previews.append(preview);
    }
    return previews;
}

QList<SiteModel::Outcome> SiteModel::undoLastSave()
{
    QList<Outcome> outcomes;
    for (const SavedPage &saved : m_lastSave)
        outcomes.append(undoRow(saved));
    m_lastSave.clear();
    return outcomes;
}

SiteModel::Outcome SiteModel::undoRow(const SavedPage &saved)
{
    Outcome outcome { saved.row, page(saved.row).path, Outcome::Result::Refused, {}, {} };
    const QString file = filePath(saved.row);
    const DocumentFile::ReadResult backup = saved.backupPath.isEmpty()
        ? DocumentFile::ReadResult {}
        : DocumentFile::readBytes(saved.backupPath);
    if (saved.backupPath.isEmpty())
        outcome.reason = tr("The page was saved without a backup");
    else if (!(FileStamp::of(file) == saved.stamp))
        outcome.reason = tr("The page changed after the save; it is left as it is");
    else if (!backup.ok)
        outcome.reason = backup.error;
    else if (digestOfBytes(backup.bytes) != saved.backupDigest)
        outcome.reason
            = tr("The backup %1 changed after the save; the page is left as it is").arg(saved.backupPath);
    if (outcome.reason.isEmpty()) {
        const DocumentSaver::Result result = DocumentSaver::restore(file, backup.bytes);
        outcome.reason = result.error;
        if (result.ok) {
            outcome.result = Outcome::Result::Saved;
            outcome.backupPath = saved.backupPath;
            takeWritten(saved.row, backup.bytes, result.stamp);
            if (Document *document = m_documentOfRow.value(saved.row))
                document->reload();
            return outcome;
        }
    }
    setIssue(saved.row, outcome.reason);
    return outcome;
}

void SiteModel::attach(DocumentList &documents)
{
    connect(&documents, &DocumentList::added, this, &SiteModel::watch);
    connect(&documents, &DocumentList::removed, this, &SiteModel::forget);
    connect(this, &QAbstractItemModel::rowsInserted, &documents, [this, &documents] {
        for (Document *document : documents.documents())
            watch(document);
    });
    for (Document *document : documents.documents())
        watch(document);
}

int SiteModel::rowOfDocument(const Document *document) const
{
    if (document->isNew() || m_folder.isEmpty())
        return -1;
    const QString relative = QDir(QFileInfo(m_folder).canonicalFilePath())
                                 .relativeFilePath(QFileInfo(document->path()).canonicalFilePath());
    return rowOf(relative);
}

void SiteModel::watch(Document *document)
{
    const int row = rowOfDocument(document);
    if (row < 0 || m_documentOfRow.value(row) == document)
        return;
    m_documentOfRow.insert(row, document);
    connect(document, &Document::valuesChanged, this, [this, document] { takeFromDocument(document); });
    connect(document, &Document::pageChanged, this, [this, document] { takeFromDocument(document); });
    connect(document, &Document::modifiedChanged, this, [this, document] { takeFromDocument(document); });
    // Edits made in the row before the page was opened go on in its window.
    if (page(row).isEdited())
        pushToDocument(row);
    else
        takeFromDocument(document);
}

void SiteModel::forget(Document *document)
{
    const int row = rowOfDocument(document);
    disconnect(document, nullptr, this, nullptr);
    if (row < 0 || m_documentOfRow.value(row) != document)
        return;
    m_documentOfRow.remove(row);
    // Closed with its edits unsaved: the user let them go, in the window and so here.
    if (document->isModified())
        revertRow(row);
}

// The row shows what the document holds: its page as last read or written, and its
// values as edits while the document has any.
void SiteModel::takeFromDocument(Document *document)
{
    const int row = rowOfDocument(document);
    if (m_syncing || row < 0)
        return;
    m_syncing = true;
    const SitePage before = page(row);
    removeFromDescriptions(row);
    if (document->diskStamp() == before.stamp) {
        m_pages[std::size_t(row)].revert();
    } else {
        DocumentFile::OpenResult disk = DocumentFile::fromBytes(document->diskBytes());
        disk.stamp = document->diskStamp();
        m_pages[std::size_t(row)] = SitePage::of(before.path, disk, before.limits);
    }
    if (document->isModified())
        m_pages[std::size_t(row)].edit(document->values());
    addToDescriptions(row);
    emitRowChanged(row);
    m_syncing = false;
}

void SiteModel::pushToDocument(int row)
{
    Document *document = m_documentOfRow.value(row);
    if (m_syncing || !document)
        return;
    m_syncing = true;
    document->setValues(page(row).values());
    if (!page(row).isEdited())
        document->setModified(false);
    m_syncing = false;
}
