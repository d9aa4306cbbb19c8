#pragma once

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPaintEvent>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QStyle>
#include <QTest>
#include <QWidget>

// Where a text widget with the focus draws its caret, read from its pixels: the widget as it
// is, against the widget as an open popup leaves it, which puts the caret away and changes
// nothing else; then the popup is over again. Empty when no caret shows. The caret must not
// blink (a cursor flash time of 0), or a picture may catch it off.
inline QRect caretArea(QWidget *widget)
{
    const QImage shown = widget->grab().toImage();
    QFocusEvent away(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(widget, &away);
    const QImage hidden = widget->grab().toImage();
    QFocusEvent back(QEvent::FocusIn, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(widget, &back);
    QRect area;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) != hidden.pixel(x, y))
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

// The caret's width in a widget that can overwrite: the style's thin line while inserting;
// overwriting, a block as wide as the characters under it, or as an average one where the
// caret stands on none.
inline int overwriteCaretWidth(const QWidget *widget, bool overwriting, const QString &under)
{
    if (!overwriting)
        return QApplication::style()->pixelMetric(QStyle::PM_TextCursorWidth);
    const QFontMetrics metrics = widget->fontMetrics();
    return under.isEmpty() ? metrics.averageCharWidth() : metrics.horizontalAdvance(under);
}

// What of a widget has been painted since the watch began.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget *widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

// Presses Insert in a text widget that many times and says whether each press redrew the
// caret whole at once, where it was and where it is, rather than in part at its next blink.
// canvas is where the widget paints its text.
inline bool insertRedrawsCaret(QWidget *widget, QWidget *canvas, int presses)
{
    const QPoint offset = canvas->mapTo(widget, QPoint());
    for (int press = 0; press < presses; ++press) {
        const QRect before = caretArea(widget);
        QCoreApplication::processEvents();
        PaintWatch watch(canvas);
        QTest::keyClick(widget, Qt::Key_Insert);
        const auto covers = [&watch, offset](const QRect &area) {
            return (QRegion(area) - watch.painted.translated(offset)).isEmpty();
        };
        if (!QTest::qWaitFor([&] { return covers(before); }, 2000))
            return false;
        canvas->removeEventFilter(&watch);
        if (!covers(caretArea(widget)))
            return false;
    }
    return true;
}
