#include "OverwriteCaretStyle.h"

#include "KeyboardState.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyleOption>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

int blockWidth(const QLineEdit &field)
{
    const QString shown = field.displayText();
    const int position = field.cursorPosition();
    if (position >= shown.size())
        return field.fontMetrics().averageCharWidth();
    // A letter may take several code units (outside the BMP, or with its accents); the next
    // one typed replaces them all.
    QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, shown);
    letters.setPosition(position);
    const qsizetype next = letters.toNextBoundary();
    return field.fontMetrics().horizontalAdvance(shown.mid(position, next - position));
}

} // namespace

// A proxy owns the style under it, so it makes one of its own: the application's style is
// the application's.
OverwriteCaretStyle::OverwriteCaretStyle(QObject *parent)
    : QProxyStyle(QApplication::style()->name())
{
    setParent(parent);
}

int OverwriteCaretStyle::pixelMetric(
    PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    // A field asks for its caret's width with its frame's option, not naming itself.
    const auto *field = qobject_cast<const QLineEdit *>(widget || !option ? widget : option->styleObject);
    if (metric != PM_TextCursorWidth || !field || !KeyboardState::isOn(KeyboardState::Insert))
        return base;
    // A character without width would leave no caret at all.
    return std::max(base, blockWidth(*field));
}
