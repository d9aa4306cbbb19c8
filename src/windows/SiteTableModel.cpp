#include "SiteTableModel.h"

#include "SiteModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QPalette>

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
    // Only the roles that tell a placeholder apart look for one: a view asks many roles
    // of every cell it paints.
    switch (role) {
    case Qt::DisplayRole:
        return placeholderOf(index).isEmpty() ? SiteFilterModel::data(index, role) : QString();
    case PlaceholderRole: {
        const QString placeholder = placeholderOf(index);
        return placeholder.isEmpty() ? QVariant() : placeholder;
    }
    case Qt::ForegroundRole:
        if (!placeholderOf(index).isEmpty())
            return QGuiApplication::palette().brush(QPalette::PlaceholderText);
        break;
    case Qt::FontRole:
        return fontOf(index, !placeholderOf(index).isEmpty());
    default:
        break;
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

QString SiteTableModel::placeholderOf(const QModelIndex &index) const
{
    const std::optional<TextField> field = SiteModel::textFieldOf(index.column());
    if (!field)
        return {};
    const QString text = SiteFilterModel::data(index, Qt::EditRole).toString();
    return text.isEmpty() || MetaElementSet::hasValue(*field, text.toStdString()) ? QString() : text;
}

QVariant SiteTableModel::fontOf(const QModelIndex &index, bool placeholder) const
{
    const bool edited = SiteFilterModel::data(index, SiteModel::EditedRole).toBool();
    if (!edited && !placeholder)
        return {};
    QFont font;
    font.setBold(edited);
    font.setItalic(placeholder);
    return font;
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
