#pragma once

#include "SiteFilterModel.h"
#include "SiteModel.h"

#include <QItemSelectionModel>
#include <QList>
#include <QPointer>

// The site's rows as its table shows them. A value typed into, or a box ticked in, one of
// several selected rows goes to every selected row as one change; edited rows stand out in
// bold, and rows whose save was refused in a warning colour, with the reason as their tip.
// A text that writes no tag (the page has none, or it holds a placeholder) shows as an
// empty cell that offers the placeholder under PlaceholderRole, in grey italics, so it is
// never taken for the page's own value nor for a text a person emptied.
class SiteTableModel : public SiteFilterModel
{
    Q_OBJECT

public:
    enum Role { PlaceholderRole = SiteModel::IssueRole + 1 };

    explicit SiteTableModel(SiteModel &site, QObject *parent = nullptr);

    void setSelectionModel(QItemSelectionModel *selection) { m_selection = selection; }
    // The selected rows, as the site model numbers them, top to bottom.
    QList<int> selectedSourceRows() const;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // A description being typed into the cell shown: the rows it would go to show its width
    // before it is committed. Typing ends with the editor, committed or not.
    void showTyping(const QModelIndex &shown, const QString &text);
    void endTyping();

private:
    // The text the cell holds when it writes no tag; empty otherwise.
    QString placeholderOf(const QModelIndex &index) const;
    QVariant fontOf(const QModelIndex &index, bool placeholder) const;
    // The rows an edit of the row shown would go to, as the site model numbers them.
    QList<int> rowsEditedWith(const QModelIndex &shown) const;
    void emitWidthsChanged(const QList<int> &rows);

    SiteModel &m_site;
    QPointer<QItemSelectionModel> m_selection;
    QList<int> m_typingRows;
    double m_typingPixels = 0;
};
