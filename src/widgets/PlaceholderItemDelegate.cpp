#include "PlaceholderItemDelegate.h"

PlaceholderItemDelegate::PlaceholderItemDelegate(int placeholderRole, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_placeholderRole(placeholderRole)
{
}

void PlaceholderItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!option->text.isEmpty())
        return;
    const QString placeholder = index.data(m_placeholderRole).toString();
    if (placeholder.isEmpty())
        return;
    option->text = placeholder;
    option->features |= QStyleOptionViewItem::HasDisplay;
}
