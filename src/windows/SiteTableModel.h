#pragma once

#include "SiteFilterModel.h"

#include <QItemSelectionModel>
#include <QList>
#include <QPointer>

class SiteModel;

// The site's rows as its table shows them. A value typed into, or a box ticked in, one of
// several selected rows goes to every selected row as one change; edited rows stand out in
// bold, and rows whose save was refused in a warning colour, with the reason as their tip.
class SiteTableModel : public SiteFilterModel
{
    Q_OBJECT

public:
    explicit SiteTableModel(SiteModel &site, QObject *parent = nullptr);

    void setSelectionModel(QItemSelectionModel *selection) { m_selection = selection; }
    // The selected rows, as the site model numbers them, top to bottom.
    QList<int> selectedSourceRows() const;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    SiteModel &m_site;
    QPointer<QItemSelectionModel> m_selection;
};
