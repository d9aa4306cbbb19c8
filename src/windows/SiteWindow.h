#pragma once

#include "PageWarnings.h"
#include "SiteLoader.h"
#include "SiteModel.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class SiteTableModel;

// Every page under a folder, one row each, with its values, widths and warnings: filtered by
// text, by having warnings and by their kinds, sorted by any column, edited many rows at a
// time. Pages come in as they are read, and the window answers meanwhile. What needs the
// user's word (saving, taking a save back, opening a page) is asked of whoever listens.
class SiteWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SiteWindow(QWidget *parent = nullptr);

    // Forgets the rows shown and reads the pages under folder, their descriptions held to
    // the width limits given.
    void load(const QString &folder, const WidthLimits &limits);
    void cancelLoad();
    bool isLoading() const { return m_loader.isRunning(); }

    SiteModel &model() { return m_model; }
    const SiteModel &model() const { return m_model; }
    SiteTableModel &rows() const { return *m_rows; }
    SiteLoader &loader() { return m_loader; }
    QTableView *table() const { return m_table; }
    QLineEdit *filterBox() const { return m_filter; }
    QCheckBox *onlyWithWarningsBox() const { return m_onlyWithWarnings; }
    QCheckBox *kindBox(WarningKind kind) const { return m_kindBoxes[std::size_t(kind)]; }
    QLabel *summaryLabel() const { return m_summary; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *saveAllButton() const { return m_saveAll; }
    // The menu a right click at position in the table's viewport shows.
    std::unique_ptr<QMenu> contextMenu(const QPoint &position);
    QPushButton *undoButton() const { return m_undo; }
    QAction *sharingAction() const { return m_selectSharing; }
    // Find and replace over the selected rows (Ctrl+H), asked of whoever listens.
    QAction *textChangeAction() const { return m_changeText; }

    // The selected rows as the model numbers them; selects these rows alone.
    QList<int> selectedRows() const;
    // The rows the filters let through, in the order shown, as the model numbers them.
    QList<int> shownRows() const;
    void selectRows(const QList<int> &rows);
    void selectPagesSharingDescription();
    void revertSelected();
    void revertAll();

    // The pages the last save wrote, relative to the folder, for the undo to name.
    void setLastSaved(const QStringList &paths);
    const QStringList &lastSaved() const { return m_lastSaved; }

    static QString summaryText(const SiteModel::Summary &summary);
    static QString kindText(WarningKind kind, int pages);

    // Asked before the window closes; false keeps it open.
    using CloseGuard = std::function<bool(SiteWindow &)>;
    void setCloseGuard(CloseGuard guard) { m_closeGuard = std::move(guard); }

Q_SIGNALS:
    void saveAllRequested();
    void undoLastSaveRequested();
    void exportRequested();
    void importRequested();
    void pageOpenRequested(int row);
    void textChangeRequested();
    void loadProgress(qint64 found, qint64 read);
    void loadFinished(bool cancelled);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildFilters();
    QWidget *buildButtons();
    QPushButton *buildTextChange(QWidget *buttons);
    void buildTable();
    void showSummary();
    void showLoading(bool loading);
    void activateRow(const QModelIndex &shown);
    void showContextMenu(const QPoint &position);

    SiteModel m_model;
    SiteLoader m_loader;
    SiteTableModel *m_rows;
    QTableView *m_table = nullptr;
    QLineEdit *m_filter = nullptr;
    QCheckBox *m_onlyWithWarnings = nullptr;
    std::array<QCheckBox *, kWarningKindCount> m_kindBoxes {};
    QLabel *m_summary = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_saveAll = nullptr;
    QPushButton *m_undo = nullptr;
    QAction *m_selectSharing = nullptr;
    QTimer m_summaryDue;
    QAction *m_changeText = nullptr;
    QStringList m_lastSaved;
    CloseGuard m_closeGuard;
};
