#include "SiteItemDelegate.h"

#include "SiteTableModel.h"

#include <QLineEdit>
#include <QPersistentModelIndex>

SiteItemDelegate::SiteItemDelegate(SiteTableModel &rows, QObject *parent)
    : PlaceholderItemDelegate(SiteTableModel::PlaceholderRole, parent)
    , m_rows(rows)
{
}

QWidget *SiteItemDelegate::createEditor(
    QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QWidget *editor = PlaceholderItemDelegate::createEditor(parent, option, index);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        connect(line, &QLineEdit::textEdited, this,
            [this, shown = QPersistentModelIndex(index)](
                const QString &text) { m_rows.showTyping(shown, text); });
    }
    return editor;
}

void SiteItemDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    m_rows.endTyping();
    PlaceholderItemDelegate::destroyEditor(editor, index);
}
