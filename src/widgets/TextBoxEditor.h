#pragma once

#include <QPlainTextEdit>

// The editor inside TextBox: a plain-text editor whose left and right margins can be set
// from outside, as the box's leftMargin and rightMargin need.
class TextBoxEditor : public QPlainTextEdit
{
public:
    explicit TextBoxEditor(QWidget *parent = nullptr);

    void setMargins(int left, int right);
};
