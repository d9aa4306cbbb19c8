#include "TextBoxExEdit.h"

TextBoxExEdit::TextBoxExEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    // The margin bands lie outside the viewport; the editor paints them in its own colour.
    setAutoFillBackground(true);
}

void TextBoxExEdit::setMargins(int left, int right)
{
    setViewportMargins(left, 0, right, 0);
}
