#pragma once

#include "DescriptionTally.h"
#include "Document.h"
#include "PageWarnings.h"
#include "SitePage.h"
#include "SitePageRow.h"
#include "SiteTableCsv.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class DocumentList;
class TextChange;

// The pages of a site, one row each, with the edits pending on them. Edits are saved page
// by page as a document window saves, never over a page that changed on disk since it was
// read; the last save can be taken back from its backups. A page of the site that is open
// in a document window shares its values with its row both ways.
class SiteModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        PathColumn,
        TitleColumn,
        TitlePixelsColumn,
        DescriptionColumn,
        DescriptionPixelsColumn,
        KeywordsColumn,
        AuthorColumn,
        RobotsColumn,
        NoIndexColumn,
        NoFollowColumn,
        NoImageIndexColumn,
        NoImageClickColumn,
        CharsetColumn,
        WarningsColumn,
        StateColumn,
        ColumnCount
    };
    Q_ENUM(Column)

    enum Role {
        // Numbers as numbers, flags as 0 and 1, the warnings by their number.
        SortRole = Qt::UserRole + 1,
        // Bit (1 << WarningKind) of each kind the page has, the shared description included.
        WarningKindsRole,
        EditedRole,
        // Why the last save or undo left the page as it is; empty when nothing stopped it.
        IssueRole,
    };

    struct Summary
    {
        int pages = 0;
        int unreadable = 0;
        int withWarnings = 0;
        int edited = 0;
        // Pages with at least one warning of each kind, by WarningKind.
        std::array<int, kWarningKindCount> warnings {};
    };

    struct Outcome
    {
        enum class Result { Saved, Refused };
        int row = -1;
        QString path; // relative to the folder
        Result result = Result::Refused;
        QString backupPath; // of a page saved with a backup
        QString reason; // of a page refused
    };

    struct Preview
    {
        int row = -1;
        QString path;
        QByteArray diff; // unified, of the page as it is and as a save would write it
        QString reason; // when the save would be refused
    };

    struct ChangedText
    {
        int row = -1;
        QString path;
        QString before; // as the row shows it
        QString after;
    };

    explicit SiteModel(QObject *parent = nullptr);

    // Forgets every row and takes rows of pages under folder from now on.
    void reset(const QString &folder);
    QString folder() const { return m_folder; }
    // Pages appended carry the limits they were read with; those given here win.
    void appendPages(const QList<SitePage> &pages);
    // Every row's description held to these limits from now on, until the next reset.
    void setWidthLimits(const WidthLimits &limits);
    const SitePage &page(int row) const { return m_pages[std::size_t(row)]; }
    int rowOf(const QString &relativePath) const { return m_rowOfPath.value(relativePath, -1); }
    QString filePath(int row) const;
    // The text a column shows, if it shows one of the page's texts.
    static std::optional<TextField> textFieldOf(int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // The same value in one column of many rows, as one change; rows that cannot take it
    // (unreadable pages) are passed over. False when none took it.
    bool setDataOnRows(const QList<int> &rows, int column, const QVariant &value, int role = Qt::EditRole);
    // What change makes of the text in column (description, keywords or author) of each of
    // rows, for the rows whose text it changes; unreadable pages are passed over. A row
    // showing that it has no such text changes from the empty text.
    QList<ChangedText> textChanges(const QList<int> &rows, int column, const TextChange &change) const;
    // The same, as pending edits made in one step; the number of rows changed.
    int applyTextChange(const QList<int> &rows, int column, const TextChange &change);

    void revertRow(int row);
    void revertAll();

    // The row as an exported table holds it: the values shown, edits included, and a text
    // without a value (none, or a placeholder) empty.
    SitePageRow tableRow(int row) const;

    struct Import
    {
        int edited = 0; // rows the table changed
        QStringList refused; // "path: why", of the pages that could not take their edit
    };
    // Edits read from a table become pending edits, as if typed in the rows. A text without
    // a value given for a page that has none leaves that page as it is, so that a table
    // exported and imported unchanged edits nothing.
    Import takeEdits(const QList<SiteTableCsv::PageEdit> &edits);

    // All rows whose description counts as the same as this row's, itself included; empty
    // when no other page shares it.
    QList<int> rowsSharingDescription(int row) const;
    bool isDescriptionShared(int row) const;
    std::vector<Warning> warnings(int row) const;
    Summary summary() const;

    // Every edited page, one at a time. A page is written only when its file is still the
    // one its row was read from; a page refused keeps its edits and says why in its row.
    QList<Outcome> save(const Document::SaveSettings &settings);
    // What save would write, page by page: each page that would change, with its diff.
    QList<Preview> preview(const Document::SaveSettings &settings) const;
    // Puts back the pages of the last save from their backups, each only when neither the
    // page nor its backup changed since; the others are refused and say why.
    QList<Outcome> undoLastSave();
    bool canUndoLastSave() const { return !m_lastSave.empty(); }

    // Pages open in document windows share their values with their rows from now on.
    void attach(DocumentList &documents);

private:
    struct SavedPage
    {
        int row = -1;
        QString backupPath;
        QByteArray backupDigest; // of the bytes the backup was written with
        FileStamp stamp; // of the page as the save left it
    };

    QVariant displayData(int row, int column) const;
    static QVariant valueData(const SitePage &page, int column);
    static QString stateText(const SitePage &page);
    QVariant sortData(int row, int column) const;
    int warningKinds(int row) const;
    bool applyEdit(int row, int column, const QVariant &value);
    std::optional<ChangedText> changedText(int row, TextField field, const TextChange &change) const;
    void changeRow(int row, const std::function<void(SitePage &)> &change);
    void setIssue(int row, const QString &issue);
    void addToDescriptions(int row);
    void removeFromDescriptions(int row);
    void emitGroupChanged(const DescriptionTally::Digest &digest);
    void emitRowChanged(int row);
    Outcome saveRow(int row, const Document::SaveSettings &settings, std::vector<SavedPage> &saved);
    Outcome undoRow(const SavedPage &saved);
    void takeWritten(int row, const QByteArray &bytes, const FileStamp &stamp);

    void watch(Document *document);
    void forget(Document *document);
    int rowOfDocument(const Document *document) const;
    void takeFromDocument(Document *document);
    void pushToDocument(int row);

    QString m_folder;
    std::optional<WidthLimits> m_limits;
    std::vector<SitePage> m_pages;
    QHash<QString, int> m_rowOfPath;
    QHash<DescriptionTally::Digest, QList<int>> m_rowsOfDescription;
    std::vector<SavedPage> m_lastSave;
    QHash<int, QPointer<Document>> m_documentOfRow;
    bool m_syncing = false; // while a row and its document take each other's values
};
