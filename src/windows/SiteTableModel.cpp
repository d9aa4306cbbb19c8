#include "SiteTableModel.h"

#include "SiteModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QItemSelectionModel>

#include <algorithm>

SiteTableModel::SiteTableModel(SiteModel &site, QObject *parent)
    : SiteFilterModel(parent)
    , m_site(site)
{
    setSourceModel(&site);
}

QList<int> SiteTableModel::selectedSourceRows() const
{
    QList<int> rows;
    if (!m_selection)
        return rows;
    for (const QModelIndex &shown : m_selection->selectedIndexes())
        rows.append(mapToSource(shown).row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QVariant SiteTableModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::FontRole && SiteFilterModel::data(index, SiteModel::EditedRole).toBool()) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    const QString issue = SiteFilterModel::data(index, SiteModel::IssueRole).toString();
    if (role == Qt::BackgroundRole && !issue.isEmpty())
        return QBrush(QColor(255, 224, 204));
    const QVariant value = SiteFilterModel::data(index, role);
    // Anywhere in a refused row, the pointer finds out why.
    if (role == Qt::ToolTipRole && value.toString().isEmpty() && !issue.isEmpty())
        return issue;
    return value;
}

bool SiteTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const QList<int> selected = selectedSourceRows();
    const int row = mapToSource(index).row();
    // An edit in a row outside the selection is that row's alone.
    const QList<int> edited = selected.size() < 2 || !selected.contains(row) ? QList<int> { row } : selected;
    keepShown(edited);
    return m_site.setDataOnRows(edited, mapToSource(index).column(), value, role);
}
