#pragma once

#include "TextChange.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class SiteModel;

// Find and replace, or a text added before or after, in one text column of the rows given,
// with the pages it would change and how, shown as it is typed. OK is offered only for a
// change that changes some page; an expression that does not compile says why instead.
class TextChangeDialog : public QDialog
{
    Q_OBJECT

public:
    // column: the column offered first, when it is a text column.
    TextChangeDialog(const SiteModel &model, const QList<int> &rows, int column, QWidget *parent = nullptr);

    int column() const;
    TextChange change() const;

    QComboBox *columnBox() const { return m_column; }
    QComboBox *modeBox() const { return m_mode; }
    QLineEdit *findBox() const { return m_find; }
    // The replacement, or the text added.
    QLineEdit *textBox() const { return m_text; }
    QCheckBox *expressionBox() const { return m_expression; }
    QCheckBox *matchCaseBox() const { return m_matchCase; }
    QLabel *errorLabel() const { return m_error; }
    QLabel *countLabel() const { return m_count; }
    QTableWidget *previewTable() const { return m_preview; }
    QPushButton *okButton() const { return m_ok; }

private:
    QWidget *buildFields(int column);
    void buildPreview();
    void showMode();
    void showPreview();

    const SiteModel &m_model;
    QList<int> m_rows;
    QComboBox *m_column = nullptr;
    QComboBox *m_mode = nullptr;
    QLineEdit *m_find = nullptr;
    QLabel *m_textLabel = nullptr;
    QLineEdit *m_text = nullptr;
    QCheckBox *m_expression = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QLabel *m_error = nullptr;
    QLabel *m_count = nullptr;
    QTableWidget *m_preview = nullptr;
    QPushButton *m_ok = nullptr;
};
