#include "TabStrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>

namespace {

constexpr int kFocusInset = 3;

} // namespace

TabStrip::TabStrip(QWidget *parent)
    : QTabBar(parent)
{
    // A tab reached with the keyboard must be one a user can see being there.
    setFocusPolicy(Qt::StrongFocus);
}

void TabStrip::setButtonLook(bool buttons, bool flat)
{
    m_buttons = buttons;
    m_flat = buttons && flat;
    setDrawBase(!buttons);
    update();
}

void TabStrip::setHotTrack(bool on)
{
    m_hotTrack = on;
    setMouseTracking(on);
    setAttribute(Qt::WA_Hover, on);
    if (!on)
        setHot(-1);
    update();
}

void TabStrip::setMultiLine(bool on)
{
    m_multiLine = on;
    setUsesScrollButtons(!on);
    setElideMode(Qt::ElideNone);
    updateGeometry();
    update();
}

bool TabStrip::inRows() const
{
    return m_multiLine && (shape() == QTabBar::RoundedNorth || shape() == QTabBar::RoundedSouth);
}

// Tabs at their own width, left to right, a new row where the next would pass the edge.
QList<QRect> TabStrip::rows(int width) const
{
    QList<QRect> rects;
    int x = 0;
    int y = 0;
    for (int i = 0; i < count(); ++i) {
        const QSize size = tabSizeHint(i);
        if (x > 0 && x + size.width() > width) {
            x = 0;
            y += size.height();
        }
        rects.append(QRect(QPoint(x, y), size));
        x += size.width();
    }
    return rects;
}

QRect TabStrip::shownTabRect(int index) const
{
    if (!inRows())
        return tabRect(index);
    return rows(width()).value(index);
}

int TabStrip::tabAtPoint(const QPoint &point) const
{
    if (!inRows())
        return tabAt(point);
    const QList<QRect> rects = rows(width());
    for (int i = 0; i < rects.size(); ++i) {
        if (rects.at(i).contains(point))
            return i;
    }
    return -1;
}

QSize TabStrip::sizeHint() const
{
    if (!inRows() || count() == 0)
        return QTabBar::sizeHint();
    const int width = parentWidget() ? parentWidget()->width() : QTabBar::sizeHint().width();
    const QList<QRect> rects = rows(width);
    return { width, rects.last().bottom() + 1 };
}

QSize TabStrip::minimumSizeHint() const
{
    return inRows() ? sizeHint() : QTabBar::minimumSizeHint();
}

void TabStrip::paintEvent(QPaintEvent *event)
{
    if (!m_buttons && !inRows())
        QTabBar::paintEvent(event);
    QPainter painter(this);
    if (m_buttons)
        paintButtons(painter);
    else if (inRows())
        paintRows(painter);
    else
        paintHotTab(painter);
    paintFocusFrame(painter);
}

void TabStrip::paintRows(QPainter &painter)
{
    const QList<QRect> rects = rows(width());
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab tab;
        initStyleOption(&tab, i);
        tab.rect = rects.at(i).translated(0, -rects.at(i).top());
        tab.state &= ~QStyle::State_HasFocus;
        if (m_hotTrack && i == m_hot)
            tab.palette.setColor(QPalette::WindowText, palette().color(QPalette::Link));
        // Styles turn a bottom tab about its own row; each row is drawn as if it were the first.
        painter.save();
        painter.translate(0, rects.at(i).top());
        style()->drawControl(QStyle::CE_TabBarTab, &tab, &painter, this);
        painter.restore();
    }
}

// Buttons: every tab a push button, the selected one pushed in. Flat buttons show a frame
// only on the selected tab and the one under the mouse.
void TabStrip::paintButtons(QPainter &painter)
{
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab tab;
        initStyleOption(&tab, i);
        tab.rect = shownTabRect(i);
        const bool selected = i == currentIndex();
        const bool hot = m_hotTrack && i == m_hot;
        QStyleOptionButton panel;
        panel.initFrom(this);
        panel.rect = tab.rect.adjusted(1, 1, -1, -1);
        panel.state = (panel.state & ~QStyle::State_HasFocus)
            | (selected ? QStyle::State_Sunken | QStyle::State_On : QStyle::State_Raised);
        if (!m_flat || selected || hot)
            style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &panel, &painter, this);
        if (hot)
            tab.palette.setColor(QPalette::WindowText, palette().color(QPalette::Link));
        tab.state &= ~QStyle::State_HasFocus;
        style()->drawControl(QStyle::CE_TabBarTabLabel, &tab, &painter, this);
    }
}

// The tab under the mouse drawn again with its text in the hot-track colour.
void TabStrip::paintHotTab(QPainter &painter)
{
    if (!m_hotTrack || m_hot < 0 || m_hot >= count())
        return;
    QStyleOptionTab tab;
    initStyleOption(&tab, m_hot);
    tab.palette.setColor(QPalette::WindowText, palette().color(QPalette::Link));
    tab.state &= ~QStyle::State_HasFocus;
    style()->drawControl(QStyle::CE_TabBarTab, &tab, &painter, this);
}

// Drawn whatever the style's habit: some draw it only right after a Tab key press.
void TabStrip::paintFocusFrame(QPainter &painter)
{
    if (!hasFocus() || currentIndex() < 0)
        return;
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
    frame.rect = shownTabRect(currentIndex()).adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    frame.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

// Qt's bar knows only its one row; in rows the tab hit is chosen here.
void TabStrip::mousePressEvent(QMouseEvent *event)
{
    if (!inRows())
        return QTabBar::mousePressEvent(event);
    const int index = tabAtPoint(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0)
        setCurrentIndex(index);
    event->accept();
}

void TabStrip::mouseMoveEvent(QMouseEvent *event)
{
    QTabBar::mouseMoveEvent(event);
    if (m_hotTrack)
        setHot(tabAtPoint(event->position().toPoint()));
}

void TabStrip::leaveEvent(QEvent *event)
{
    QTabBar::leaveEvent(event);
    setHot(-1);
}

void TabStrip::setHot(int index)
{
    if (index == m_hot)
        return;
    m_hot = index;
    update();
}
