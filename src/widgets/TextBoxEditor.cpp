#include "TextBoxEditor.h"

TextBoxEditor::TextBoxEditor(QWidget *parent)
    : QPlainTextEdit(parent)
{
    // The margin bands lie outside the viewport; the editor paints them in its own colour.
    setAutoFillBackground(true);
}

void TextBoxEditor::setMargins(int left, int right)
{
    setViewportMargins(left, 0, right, 0);
}
