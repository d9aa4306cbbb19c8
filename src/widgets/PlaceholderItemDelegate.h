#pragma once

#include <QStyledItemDelegate>

// Draws an empty cell with the text its model gives under a role of the model's choosing,
// as a line edit draws its placeholder; the cell's colour and font come from the model.
class PlaceholderItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    PlaceholderItemDelegate(int placeholderRole, QObject *parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    int m_placeholderRole;
};
