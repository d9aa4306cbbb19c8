#include "SiteFilterModel.h"

#include "SiteModel.h"

SiteFilterModel::SiteFilterModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSortRole(SiteModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setDynamicSortFilter(true);
}

void SiteFilterModel::setText(const QString &text)
{
    m_text = text;
    refilter();
}

void SiteFilterModel::setOnlyWithWarnings(bool only)
{
    m_onlyWithWarnings = only;
    refilter();
}

void SiteFilterModel::setKindShown(WarningKind kind, bool shown)
{
    const int bit = 1 << int(kind);
    m_kinds = shown ? m_kinds | bit : m_kinds & ~bit;
    refilter();
}

void SiteFilterModel::keepShown(const QList<int> &sourceRows)
{
    for (const int row : sourceRows)
        m_kept.insert(row);
}

void SiteFilterModel::setSourceModel(QAbstractItemModel *source)
{
    QSortFilterProxyModel::setSourceModel(source);
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_kept.clear(); });
}

void SiteFilterModel::refilter()
{
    m_kept.clear();
    invalidateFilter();
}

bool SiteFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_kept.contains(sourceRow))
        return true;
    const int kinds
        = sourceModel()->index(sourceRow, 0, sourceParent).data(SiteModel::WarningKindsRole).toInt();
    if (m_onlyWithWarnings && kinds == 0)
        return false;
    if (m_kinds != 0 && (kinds & m_kinds) == 0)
        return false;
    return m_text.isEmpty() || matchesText(sourceRow);
}

bool SiteFilterModel::matchesText(int sourceRow) const
{
    for (const int column : { SiteModel::PathColumn, SiteModel::TitleColumn, SiteModel::DescriptionColumn }) {
        const QString text = sourceModel()->index(sourceRow, column).data(Qt::EditRole).toString();
        if (text.contains(m_text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}
