#pragma once

#include "PlaceholderItemDelegate.h"

class SiteTableModel;

// The site table's cells: placeholders drawn as such, and a description's width shown in
// its rows while it is typed, before Enter commits it.
class SiteItemDelegate : public PlaceholderItemDelegate
{
    Q_OBJECT

public:
    SiteItemDelegate(SiteTableModel &rows, QObject *parent = nullptr);

    QWidget *createEditor(
        QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;

private:
    SiteTableModel &m_rows;
};
