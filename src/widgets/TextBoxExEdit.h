#pragma once

#include <QPlainTextEdit>

// The editor inside TextBoxEx: a plain-text editor whose left and right margins can be set
// from outside, as the box's LeftMargin and RightMargin need.
class TextBoxExEdit : public QPlainTextEdit
{
public:
    explicit TextBoxExEdit(QWidget *parent = nullptr);

    void setMargins(int left, int right);
};
