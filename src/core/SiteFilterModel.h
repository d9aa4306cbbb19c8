#pragma once

#include "PageWarnings.h"

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

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool matchesText(int sourceRow) const;

    QString m_text;
    bool m_onlyWithWarnings = false;
    int m_kinds = 0; // bit (1 << WarningKind) of each kind switched on
};
