#include "LineNumberGutter.h"

#include "TextBox.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>

namespace {

constexpr int kDigits = 3;

} // namespace

LineNumberGutter::LineNumberGutter(TextBox *box)
    : QWidget(box)
    , m_box(box)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QPlainTextEdit *edit = box->hwnd();
    connect(edit->verticalScrollBar(), &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    connect(edit, &QPlainTextEdit::cursorPositionChanged, this, qOverload<>(&QWidget::update));
    connect(edit, &QPlainTextEdit::textChanged, this, qOverload<>(&QWidget::update));
}

void LineNumberGutter::place()
{
    setFont(m_box->hwnd()->font());
    const int width = fontMetrics().horizontalAdvance(QString(kDigits, QLatin1Char('9'))) + 8;
    const int scrollArrow = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setGeometry(1, 1, width, std::max(0, m_box->height() - (scrollArrow + 2)));
    m_box->setLeftMargin(width + 2);
    m_box->setRightMargin(0);
    raise();
    update();
}

int LineNumberGutter::lineTop(int line) const
{
    QPlainTextEdit *edit = m_box->hwnd();
    const QTextBlock block = edit->document()->findBlockByNumber(line);
    const QRect caret = edit->cursorRect(QTextCursor(block));
    return mapFrom(m_box, edit->viewport()->mapTo(m_box, caret.topLeft())).y();
}

QList<LineNumberGutter::Number> LineNumberGutter::visibleNumbers() const
{
    QList<Number> numbers;
    const int count = m_box->lineCount();
    if (m_box->text().isEmpty())
        return numbers;
    const int current = m_box->currentLine();
    const int selStart = m_box->selStart();
    const int selEnd = selStart + m_box->selLength() - 1;
    const int lastSelected = selEnd > selStart ? m_box->lineForCharacterIndex(selEnd) : current;
    for (int line = m_box->firstVisibleLine(); line < count; ++line) {
        const int top = lineTop(line);
        if (!numbers.isEmpty() && top >= height())
            break;
        numbers.append({ line + 1, line >= current && line <= lastSelected, top });
    }
    return numbers;
}

void LineNumberGutter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int lineHeight = fontMetrics().height();
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor text = palette().color(QPalette::WindowText);
    for (const Number &number : visibleNumbers()) {
        painter.setPen(number.current ? text : shadow);
        painter.drawText(QRect(2, number.top, width() - 6, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
            QString::number(number.line));
    }
    painter.setPen(shadow);
    painter.drawLine(width() - 1, 0, width() - 1, height());
}
