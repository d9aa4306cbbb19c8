#include "SiteWindow.h"

#include "SiteItemDelegate.h"
#include "SiteTableModel.h"
#include "WarningKindTexts.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kKindColumns = 4;

} // namespace

SiteWindow::SiteWindow(QWidget *parent)
    : QWidget(parent)
    , m_rows(new SiteTableModel(m_model, this))
{
    buildTable();
    m_summary = new QLabel(this);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFilters());
    layout->addWidget(m_table, 1);
    layout->addWidget(m_summary);
    layout->addWidget(buildButtons());

    connect(&m_loader, &SiteLoader::pagesRead, &m_model, &SiteModel::appendPages);
    connect(&m_loader, &SiteLoader::progress, this, &SiteWindow::loadProgress);
    connect(&m_loader, &SiteLoader::finished, this, [this](bool cancelled) {
        showLoading(false);
        emit loadFinished(cancelled);
    });
    // The summary counts over every row: a batch of rows read, or an edit reaching many
    // rows, signals once per row or range, and the count is made once for all of them.
    m_summaryDue.setSingleShot(true);
    m_summaryDue.setInterval(0);
    connect(&m_summaryDue, &QTimer::timeout, this, &SiteWindow::showSummary);
    const auto summaryDue = [this] { m_summaryDue.start(); };
    for (auto signal : { &QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved })
        connect(&m_model, signal, this, summaryDue);
    connect(&m_model, &QAbstractItemModel::dataChanged, this, summaryDue);
    connect(&m_model, &QAbstractItemModel::modelReset, this, summaryDue);
    // The filters change what is shown, not the site: the count shown follows them.
    for (auto signal : { &QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved })
        connect(m_rows, signal, this, summaryDue);
    connect(m_rows, &QAbstractItemModel::layoutChanged, this, summaryDue);
    connect(m_rows, &QAbstractItemModel::modelReset, this, summaryDue);
    showLoading(false);
    showSummary();
    resize(960, 560);
}

QWidget *SiteWindow::buildFilters()
{
    auto *filters = new QWidget(this);
    auto *grid = new QGridLayout(filters);
    grid->setContentsMargins(0, 0, 0, 0);
    m_filter = new QLineEdit(filters);
    m_filter->setPlaceholderText(tr("Filter by path, title or description"));
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, m_rows, &SiteFilterModel::setText);
    m_onlyWithWarnings = new QCheckBox(tr("Only pages with warnings"), filters);
    connect(m_onlyWithWarnings, &QCheckBox::toggled, m_rows, &SiteFilterModel::setOnlyWithWarnings);
    m_cancel = new QPushButton(tr("Cancel"), filters);
    m_cancel->setToolTip(tr("Stop reading the site's pages"));
    connect(m_cancel, &QPushButton::clicked, this, &SiteWindow::cancelLoad);
    grid->addWidget(m_filter, 0, 0, 1, kKindColumns - 2);
    grid->addWidget(m_onlyWithWarnings, 0, kKindColumns - 2);
    grid->addWidget(m_cancel, 0, kKindColumns - 1, Qt::AlignRight);
    for (std::size_t i = 0; i < kWarningKindCount; ++i) {
        const auto kind = static_cast<WarningKind>(i);
        auto *box = new QCheckBox(filters);
        box->setToolTip(tr("Only pages with this warning; with none ticked, every kind counts"));
        connect(box, &QCheckBox::toggled, m_rows, [this, kind](bool on) { m_rows->setKindShown(kind, on); });
        grid->addWidget(box, 1 + int(i) / kKindColumns, int(i) % kKindColumns);
        m_kindBoxes[i] = box;
    }
    return filters;
}

void SiteWindow::buildTable()
{
    m_table = new QTableView(this);
    m_table->setModel(m_rows);
    m_table->setItemDelegate(new SiteItemDelegate(*m_rows, m_table));
    m_rows->setSelectionModel(m_table->selectionModel());
    m_rows->setSortRole(SiteModel::SortRole);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(SiteModel::PathColumn, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setSectionsMovable(true);
    m_table->horizontalHeader()->setDefaultSectionSize(120);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QTableView::activated, this, &SiteWindow::activateRow);
    connect(m_table, &QWidget::customContextMenuRequested, this, &SiteWindow::showContextMenu);
    m_selectSharing = new QAction(tr("Select Pages Sharing This &Description"), this);
    connect(m_selectSharing, &QAction::triggered, this, &SiteWindow::selectPagesSharingDescription);
}

QWidget *SiteWindow::buildButtons()
{
    auto *buttons = new QWidget(this);
    auto *row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    m_saveAll = new QPushButton(tr("&Save All..."), buttons);
    connect(m_saveAll, &QPushButton::clicked, this, &SiteWindow::saveAllRequested);
    auto *revertSelected = new QPushButton(tr("&Revert Selected"), buttons);
    connect(revertSelected, &QPushButton::clicked, this, &SiteWindow::revertSelected);
    auto *revertAll = new QPushButton(tr("Revert &All"), buttons);
    connect(revertAll, &QPushButton::clicked, this, &SiteWindow::revertAll);
    m_undo = new QPushButton(tr("&Undo Last Save..."), buttons);
    connect(m_undo, &QPushButton::clicked, this, &SiteWindow::undoLastSaveRequested);
    auto *sharing = new QPushButton(m_selectSharing->text(), buttons);
    connect(sharing, &QPushButton::clicked, m_selectSharing, &QAction::trigger);
    auto *exportTable = new QPushButton(tr("E&xport CSV..."), buttons);
    exportTable->setToolTip(tr("Write the rows shown, with their warnings, to a CSV file"));
    connect(exportTable, &QPushButton::clicked, this, &SiteWindow::exportRequested);
    auto *importTable = new QPushButton(tr("&Import CSV..."), buttons);
    importTable->setToolTip(tr("Take edits from a CSV file of paths and values, to save like any edit"));
    connect(importTable, &QPushButton::clicked, this, &SiteWindow::importRequested);
    for (QPushButton *button : { m_saveAll, revertSelected, revertAll, m_undo })
        row->addWidget(button);
    row->addStretch(1);
    row->addWidget(buildTextChange(buttons));
    for (QPushButton *button : { sharing, exportTable, importTable })
        row->addWidget(button);
    return buttons;
}

QPushButton *SiteWindow::buildTextChange(QWidget *buttons)
{
    m_changeText = new QAction(tr("Find and Re&place..."), this);
    m_changeText->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    m_changeText->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(m_changeText);
    connect(m_changeText, &QAction::triggered, this, &SiteWindow::textChangeRequested);
    auto *button = new QPushButton(m_changeText->text(), buttons);
    connect(button, &QPushButton::clicked, m_changeText, &QAction::trigger);
    return button;
}

void SiteWindow::load(const QString &folder, const WidthLimits &limits)
{
    m_lastSaved.clear();
    m_model.reset(folder);
    setWindowTitle(folder);
    showLoading(true);
    m_loader.setWidthLimits(limits);
    m_loader.start(folder);
}

void SiteWindow::cancelLoad()
{
    m_loader.cancel();
}

void SiteWindow::showLoading(bool loading)
{
    m_cancel->setVisible(loading);
    m_saveAll->setEnabled(!loading);
    showSummary();
}

QString SiteWindow::kindText(WarningKind kind, int pages)
{
    return WarningKindTexts::text(kind) + QStringLiteral(" (%1)").arg(pages);
}

QString SiteWindow::summaryText(const SiteModel::Summary &summary)
{
    QString text = tr("%1 pages, %2 unreadable, %3 with warnings, %4 edited")
                       .arg(summary.pages)
                       .arg(summary.unreadable)
                       .arg(summary.withWarnings)
                       .arg(summary.edited);
    QStringList kinds;
    for (std::size_t i = 0; i < kWarningKindCount; ++i) {
        if (summary.warnings[i] > 0)
            kinds.append(kindText(static_cast<WarningKind>(i), summary.warnings[i]));
    }
    if (!kinds.isEmpty())
        text += QStringLiteral("; ") + kinds.join(QStringLiteral(", "));
    return text;
}

void SiteWindow::showSummary()
{
    const SiteModel::Summary summary = m_model.summary();
    QString text = tr("%1 shown of ").arg(m_rows->rowCount()) + summaryText(summary);
    if (m_loader.isRunning())
        text += QStringLiteral(" ") + tr("(reading...)");
    m_summary->setText(text);
    for (std::size_t i = 0; i < kWarningKindCount; ++i)
        m_kindBoxes[i]->setText(kindText(static_cast<WarningKind>(i), summary.warnings[i]));
    m_undo->setEnabled(m_model.canUndoLastSave());
}

QList<int> SiteWindow::selectedRows() const
{
    return m_rows->selectedSourceRows();
}

QList<int> SiteWindow::shownRows() const
{
    QList<int> rows;
    rows.reserve(m_rows->rowCount());
    for (int shown = 0; shown < m_rows->rowCount(); ++shown)
        rows.append(m_rows->mapToSource(m_rows->index(shown, 0)).row());
    return rows;
}

void SiteWindow::selectRows(const QList<int> &rows)
{
    QItemSelection selection;
    for (const int row : rows) {
        const QModelIndex shown = m_rows->mapFromSource(m_model.index(row, 0));
        if (shown.isValid())
            selection.select(shown, shown);
    }
    m_table->selectionModel()->select(
        selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// The pages a person would give one description each, picked from the one in front of them.
void SiteWindow::selectPagesSharingDescription()
{
    const QModelIndex current = m_rows->mapToSource(m_table->currentIndex());
    const QList<int> selected = selectedRows();
    const int row = current.isValid() ? current.row() : selected.value(0, -1);
    if (row >= 0)
        selectRows(m_model.rowsSharingDescription(row));
}

void SiteWindow::revertSelected()
{
    for (const int row : selectedRows())
        m_model.revertRow(row);
}

void SiteWindow::revertAll()
{
    m_model.revertAll();
}

void SiteWindow::setLastSaved(const QStringList &paths)
{
    m_lastSaved = paths;
    showSummary();
}

void SiteWindow::activateRow(const QModelIndex &shown)
{
    const int column = shown.column();
    if (column == SiteModel::PathColumn || column == SiteModel::TitleColumn)
        emit pageOpenRequested(m_rows->mapToSource(shown).row());
}

std::unique_ptr<QMenu> SiteWindow::contextMenu(const QPoint &position)
{
    auto menu = std::make_unique<QMenu>(this);
    const QModelIndex shown = m_table->indexAt(position);
    if (shown.isValid()) {
        QAction *open = menu->addAction(tr("Open Page"));
        connect(open, &QAction::triggered, this,
            [this, row = m_rows->mapToSource(shown).row()] { emit pageOpenRequested(row); });
    }
    menu->addAction(m_selectSharing);
    menu->addAction(tr("Revert Selected"), this, &SiteWindow::revertSelected);
    menu->addAction(m_changeText);
    return menu;
}

void SiteWindow::showContextMenu(const QPoint &position)
{
    contextMenu(position)->exec(m_table->viewport()->mapToGlobal(position));
}

void SiteWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard(*this)) {
        event->ignore();
        return;
    }
    m_loader.cancel();
    event->accept();
}
