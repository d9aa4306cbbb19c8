#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>

class OverwriteCaretStyle;
class QKeyEvent;

// The Edit menu's operations on one text field. The field keeps its own selection when
// the focus leaves it, so a command given from the toolbar or another control still acts
// on what the user had selected there. Insert switches the field to overwriting, which
// its caret shows as a block.
class LineEditActions : public QObject
{
    Q_OBJECT

public:
    explicit LineEditActions(QObject *parent = nullptr);

    void setTextBox(QLineEdit *field);
    QLineEdit *textBox() const { return m_field; }

    void cut();
    void copy();
    void paste();
    // Only when there is something to undo.
    void undo();

    bool canCut() const;
    bool canCopy() const;
    bool canPaste() const;
    bool canUndo() const;

    // Replaces a non-empty selection; with nothing selected the text stays as it is.
    // Without undo the field forgets its earlier edits, as after any program change.
    void replaceSelection(const QString &text, bool allowUndo = true);
    void deleteSelection(bool allowUndo = true);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool overwriteKey(const QKeyEvent &key);

    struct Selection
    {
        int start = 0;
        int length = 0;
        bool caretAtStart = false;
    };

    // Puts back the selection the field had when it lost the focus.
    void recallSelection();
    int selectionLength() const;
    bool writable() const;
    void replace(const QString &text, bool allowUndo);

    QPointer<QLineEdit> m_field;
    // The field's own, so that it lives as long as the field that draws with it.
    QPointer<OverwriteCaretStyle> m_caretStyle;
    Selection m_kept;
    bool m_hasKept = false;
};
