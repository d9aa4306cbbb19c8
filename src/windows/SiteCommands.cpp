#include "SiteCommands.h"

#include "DocumentCommands.h"
#include "ResourceText.h"
#include "SettingsCatalogue.h"
#include "SiteModel.h"
#include "SiteTableCsv.h"
#include "SiteTableModel.h"
#include "SiteWindow.h"
#include "StatusPanels.h"
#include "StringTable.h"
#include "TextChangeDialog.h"
#include "UserPrompts.h"
#include "WindowArranger.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <QTableView>
#include <algorithm>

namespace {

QString pathList(const QStringList &paths)
{
    return QStringLiteral("  ") + paths.join(QStringLiteral("\n  "));
}

} // namespace

SiteCommands::SiteCommands(QMdiArea &mdiArea, UserPrompts &prompts, StatusPanels &status,
    DocumentCommands &documents, const SettingsCatalogue &settings, QObject *parent)
    : QObject(parent)
    , m_mdiArea(mdiArea)
    , m_prompts(prompts)
    , m_status(status)
    , m_documents(documents)
    , m_settings(settings)
{
}

SiteWindow *SiteCommands::activeWindow() const
{
    QMdiSubWindow *frame = m_mdiArea.activeSubWindow();
    return frame ? qobject_cast<SiteWindow *>(frame->widget()) : nullptr;
}

SiteWindow *SiteCommands::windowOf(const QString &folder) const
{
    for (QMdiSubWindow *frame : m_mdiArea.subWindowList()) {
        auto *window = qobject_cast<SiteWindow *>(frame->widget());
        if (window && window->model().folder() == folder)
            return window;
    }
    return nullptr;
}

void SiteCommands::applyWidthLimits(const WidthLimits &limits)
{
    for (QMdiSubWindow *frame : m_mdiArea.subWindowList()) {
        if (auto *window = qobject_cast<SiteWindow *>(frame->widget()))
            window->model().setWidthLimits(limits);
    }
}

void SiteCommands::openWithDialog()
{
    const QString folder = m_prompts.folderName();
    if (!folder.isEmpty())
        open(folder);
}

SiteWindow *SiteCommands::open(const QString &given)
{
    const QString folder = QDir::cleanPath(QDir(given).absolutePath());
    if (!QFileInfo(folder).isDir()) {
        m_status.showMessage(tr("Not a folder... (%1)").arg(folder));
        return nullptr;
    }
    // Two windows on one site would each save over the other's edits.
    if (SiteWindow *shown = windowOf(folder)) {
        m_mdiArea.setActiveSubWindow(qobject_cast<QMdiSubWindow *>(shown->parentWidget()));
        m_status.showMessage(tr("Already open... (%1)").arg(folder));
        emit siteOpened(folder);
        return shown;
    }
    SiteWindow *window = createWindow();
    m_status.showFileStatus(folder, StatusPanels::IconOpening);
    m_status.showMessage(tr("Reading the site... (%1)").arg(folder));
    window->load(folder, m_settings.widthLimits());
    emit siteOpened(folder);
    return window;
}

SiteWindow *SiteCommands::createWindow()
{
    auto *window = new SiteWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->model().attach(m_documents.documents());
    window->setCloseGuard([this](SiteWindow &closing) { return confirmClose(closing); });
    connect(window, &SiteWindow::saveAllRequested, this, [this, window] { saveAll(*window); });
    connect(window, &SiteWindow::undoLastSaveRequested, this, [this, window] { undoLastSave(*window); });
    connect(window, &SiteWindow::exportRequested, this, [this, window] { exportTable(*window); });
    connect(window, &SiteWindow::importRequested, this, [this, window] { importTable(*window); });
    connect(
        window, &SiteWindow::pageOpenRequested, this, [this, window](int row) { openPage(*window, row); });
    connect(window, &SiteWindow::textChangeRequested, this, [this, window] { changeText(*window); });
    connect(window, &SiteWindow::loadProgress, this, &SiteCommands::loadProgress);
    connect(window, &SiteWindow::loadFinished, this,
        [this, window](bool cancelled) { reportLoadEnd(*window, cancelled); });
    QMdiSubWindow *frame = m_mdiArea.addSubWindow(window);
    // A table of many columns: the whole area, as long as nothing else is open.
    frame->resize(m_mdiArea.viewport()->size().expandedTo(WindowArranger::kLeastWindowSize));
    frame->show();
    m_mdiArea.setActiveSubWindow(frame);
    // The first thing asked of a large site is usually which pages to look at.
    window->filterBox()->setFocus();
    return window;
}

void SiteCommands::reportLoadEnd(const SiteWindow &window, bool cancelled)
{
    const QString folder = window.model().folder();
    m_status.showFileStatus(folder, StatusPanels::IconIdle);
    const int pages = window.model().rowCount();
    m_status.showMessage(cancelled ? tr("Reading stopped: %1 pages read... (%2)").arg(pages).arg(folder)
                                   : tr("%1 pages read... (%2)").arg(pages).arg(folder));
    emit loadFinished();
}

bool SiteCommands::saveAll(SiteWindow &window)
{
    SiteModel &model = window.model();
    const Document::SaveSettings settings = m_documents.saveSettings();
    QList<SiteModel::Preview> preview = model.preview(settings);
    // Rows come in the order the pages happened to be read; a person looks pages up by path.
    std::sort(preview.begin(), preview.end(),
        [](const SiteModel::Preview &a, const SiteModel::Preview &b) { return a.path < b.path; });
    if (preview.isEmpty()) {
        m_status.showMessage(tr("No page has edits to save... (%1)").arg(model.folder()));
        return false;
    }
    QStringList pages;
    QString diffs;
    for (const SiteModel::Preview &page : preview) {
        pages.append(page.reason.isEmpty() ? page.path
                                           : tr("%1 (will not be written: %2)").arg(page.path, page.reason));
        diffs += QString::fromUtf8(page.diff);
    }
    const QString heading
        = preview.size() == 1 ? tr("This page changes:") : tr("These %1 pages change:").arg(preview.size());
    const QString text = heading + QLatin1Char('\n') + pathList(pages);
    if (m_prompts.askSavePreview(text, diffs) != QMessageBox::Save)
        return false;
    QStringList saved;
    int refused = 0;
    for (const SiteModel::Outcome &outcome : model.save(settings)) {
        if (outcome.result == SiteModel::Outcome::Result::Saved)
            saved.append(outcome.path);
        else
            ++refused;
    }
    if (!saved.isEmpty())
        window.setLastSaved(saved);
    m_status.setFileStatusIcon(StatusPanels::IconSaved);
    m_status.showMessage(
        tr("%1 pages saved, %2 refused... (%3)").arg(saved.size()).arg(refused).arg(model.folder()));
    return refused == 0 && !saved.isEmpty();
}

bool SiteCommands::undoLastSave(SiteWindow &window)
{
    SiteModel &model = window.model();
    if (!model.canUndoLastSave())
        return false;
    const QString question = tr("Put back these pages as they were before the last save?") + QLatin1Char('\n')
        + pathList(window.lastSaved());
    if (m_prompts.askConfirm(question) != QMessageBox::Yes)
        return false;
    int restored = 0;
    int refused = 0;
    for (const SiteModel::Outcome &outcome : model.undoLastSave())
        ++(outcome.result == SiteModel::Outcome::Result::Saved ? restored : refused);
    window.setLastSaved({});
    m_status.showMessage(
        tr("%1 pages put back, %2 refused... (%3)").arg(restored).arg(refused).arg(model.folder()));
    return refused == 0;
}

bool SiteCommands::exportTable(SiteWindow &window)
{
    const QString path = m_prompts.fileName(UserPrompts::Kind::ExportTable);
    if (path.isEmpty())
        return false;
    QList<SitePageRow> rows;
    for (const int row : window.shownRows())
        rows.append(window.model().tableRow(row));
    QString error;
    if (!SiteTableCsv::writeExport(path, rows, error)) {
        m_prompts.critical(tr("The table was not written to %1: %2").arg(path, error));
        return false;
    }
    m_status.showMessage(tr("%1 rows exported... (%2)").arg(rows.size()).arg(path));
    return true;
}

bool SiteCommands::importTable(SiteWindow &window)
{
    const QString path = m_prompts.fileName(UserPrompts::Kind::ImportTable);
    if (path.isEmpty())
        return false;
    SiteModel &model = window.model();
    const SiteTableCsv::Import read = SiteTableCsv::readImport(path, model.folder());
    if (!read.errors.isEmpty()) {
        QStringList errors;
        for (const SiteTableCsv::RowError &error : read.errors)
            errors.append(SiteTableCsv::describe(path, error));
        m_prompts.critical(tr("Nothing was taken from the table:") + QLatin1Char('\n') + pathList(errors));
        return false;
    }
    const SiteModel::Import taken = model.takeEdits(read.edits);
    if (!taken.refused.isEmpty())
        m_prompts.critical(
            tr("These pages could not take their edits:") + QLatin1Char('\n') + pathList(taken.refused));
    m_status.showMessage(tr("%1 pages edited from the table, %2 refused... (%3)")
                             .arg(taken.edited)
                             .arg(taken.refused.size())
                             .arg(path));
    return taken.edited > 0;
}

void SiteCommands::changeText(SiteWindow &window)
{
    SiteModel &model = window.model();
    const QList<int> rows = window.selectedRows();
    if (rows.isEmpty()) {
        m_status.showMessage(tr("Select the pages to change first... (%1)").arg(model.folder()));
        return;
    }
    // Opened on the column the user stands in, when it is one a change can take.
    TextChangeDialog dialog(model, rows, window.table()->currentIndex().column(), &window);
    if (!m_prompts.askDialog(dialog))
        return;
    window.rows().keepShown(rows);
    const int changed = model.applyTextChange(rows, dialog.column(), dialog.change());
    m_status.showMessage(
        tr("%1 pages changed, to be written by Save All... (%2)").arg(changed).arg(model.folder()));
}

bool SiteCommands::confirmClose(SiteWindow &window)
{
    if (window.model().summary().edited == 0)
        return true;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window.parentWidget()))
        m_mdiArea.setActiveSubWindow(frame);
    const QMessageBox::StandardButton answer = m_prompts.askSaveChanges(
        ResourceText::get(StringId::SaveChangesPrompt) + QLatin1Char('\n') + window.model().folder());
    if (answer == QMessageBox::Cancel)
        return false;
    // A save cancelled in its preview, or refused for a page, keeps the window and its edits.
    return answer == QMessageBox::No || saveAll(window);
}

void SiteCommands::openPage(SiteWindow &window, int row)
{
    if (row >= 0 && row < window.model().rowCount())
        m_documents.open(window.model().filePath(row));
}
