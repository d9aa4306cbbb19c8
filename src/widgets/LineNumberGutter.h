#pragma once

#include <QList>
#include <QWidget>

class TextBox;

// The line numbers laid over the left edge of a text box: the lines from the caret to the
// end of the selection in the text colour, the others grey.
class LineNumberGutter : public QWidget
{
    Q_OBJECT

public:
    struct Number
    {
        int line; // from 1
        bool current;
        int top; // in the gutter
    };

    explicit LineNumberGutter(TextBox *box);

    // Follows the box's size and font and makes room in its left margin.
    void place();
    QList<Number> visibleNumbers() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int lineTop(int line) const;

    TextBox *m_box;
};
