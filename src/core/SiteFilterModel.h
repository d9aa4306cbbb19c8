#pragma once

#include "PageWarnings.h"

#include <QSet>
#include <QSortFilterProxyModel>
#include <QString>

// The rows of a SiteModel a person asked to see, sorted as numbers where they are numbers:
// text found in the path, title or description (any letter case); only pages with
// warnings; only pages with one of the warning kinds switched on.
class SiteFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit SiteFilterModel(QObject *parent = nullptr);

    void setText(const QString &text);
    void setOnlyWithWarnings(bool only);
    // With no kind switched on, every kind passes.
    void setKindShown(WarningKind kind, bool shown);
    bool isKindShown(WarningKind kind) const { return (m_kinds >> int(kind)) & 1; }
    // Rows edited where they are shown stay shown until the filter changes, so that an edit
    // never pulls its row, and the rows selected with it, from under the person typing.
    void keepShown(const QList<int> &sourceRows);

    void setSourceModel(QAbstractItemModel *source) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool matchesText(int sourceRow) const;
    void refilter();

    QString m_text;
    bool m_onlyWithWarnings = false;
    int m_kinds = 0; // bit (1 << WarningKind) of each kind switched on
    QSet<int> m_kept;
};
