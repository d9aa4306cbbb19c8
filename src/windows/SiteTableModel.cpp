#include "SiteTableModel.h"

#include "SiteModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QPalette>

#include <algorithm>
#include <utility>

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
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && !m_typingRows.isEmpty()
        && index.column() == SiteModel::DescriptionPixelsColumn
        && m_typingRows.contains(mapToSource(index).row()))
        return m_typingPixels;
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
    const QList<int> edited = rowsEditedWith(index);
    keepShown(edited);
    return m_site.setDataOnRows(edited, mapToSource(index).column(), value, role);
}

QList<int> SiteTableModel::rowsEditedWith(const QModelIndex &shown) const
{
    const QList<int> selected = selectedSourceRows();
    const int row = mapToSource(shown).row();
    // An edit in a row outside the selection is that row's alone.
    return selected.size() < 2 || !selected.contains(row) ? QList<int> { row } : selected;
}

void SiteTableModel::showTyping(const QModelIndex &shown, const QString &text)
{
    if (mapToSource(shown).column() != SiteModel::DescriptionColumn)
        return;
    m_typingRows = rowsEditedWith(shown);
    m_typingPixels = SitePage::descriptionPixelsOf(text.toStdString());
    emitWidthsChanged(m_typingRows);
}

void SiteTableModel::endTyping()
{
    emitWidthsChanged(std::exchange(m_typingRows, {}));
}

void SiteTableModel::emitWidthsChanged(const QList<int> &rows)
{
    for (const int row : rows) {
        const QModelIndex width = mapFromSource(m_site.index(row, SiteModel::DescriptionPixelsColumn));
        if (width.isValid())
            emit dataChanged(width, width, { Qt::DisplayRole, Qt::EditRole });
    }
}
