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

void TabStrip::paintEvent(QPaintEvent *event)
{
    if (!m_buttons)
        QTabBar::paintEvent(event);
    QPainter painter(this);
    if (m_buttons)
        paintButtons(painter);
    else
        paintHotTab(painter);
    paintFocusFrame(painter);
}

// Buttons: every tab a push button, the selected one pushed in. Flat buttons show a frame
// only on the selected tab and the one under the mouse.
void TabStrip::paintButtons(QPainter &painter)
{
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab tab;
        initStyleOption(&tab, i);
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
    frame.rect = tabRect(currentIndex()).adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    frame.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

void TabStrip::mouseMoveEvent(QMouseEvent *event)
{
    QTabBar::mouseMoveEvent(event);
    if (m_hotTrack)
        setHot(tabAt(event->position().toPoint()));
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
