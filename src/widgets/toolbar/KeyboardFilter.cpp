#include "toolbar/KeyboardFilter.h"

#include "toolbar/Toolbar.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace {

bool isOwnerActive(const Toolbar &toolbar)
{
    return toolbar.hwnd() && toolbar.ownerForm()
        && QApplication::activeWindow() == toolbar.ownerForm()->window();
}

bool isMenuButton(const Toolbar &toolbar, int index)
{
    return toolbar.buttonVisible(index) && toolbar.buttonEnabled(index) && toolbar.buttonSubMenu(index);
}

} // namespace

KeyboardFilter &KeyboardFilter::instance()
{
    static KeyboardFilter filter;
    return filter;
}

void KeyboardFilter::registerToolbar(Toolbar *toolbar)
{
    KeyboardFilter &filter = instance();
    if (!toolbar || filter.m_toolbars.contains(toolbar))
        return;
    filter.m_toolbars.append(toolbar);
    if (!filter.m_installed && qApp) {
        qApp->installEventFilter(&filter);
        filter.m_installed = true;
    }
}

void KeyboardFilter::unregisterToolbar(Toolbar *toolbar)
{
    KeyboardFilter &filter = instance();
    filter.m_toolbars.removeOne(toolbar);
    // The toolbar is going away: its buttons are no longer touched.
    if (filter.m_modeToolbar == toolbar) {
        filter.m_modeToolbar = nullptr;
        filter.showCaret();
    }
    if (filter.m_toolbars.isEmpty() && filter.m_installed) {
        if (qApp)
            qApp->removeEventFilter(&filter);
        filter.m_installed = false;
    }
}

bool KeyboardFilter::isInstalled()
{
    return instance().m_installed;
}

void KeyboardFilter::enterMenuBarMode(Toolbar *toolbar, int index)
{
    KeyboardFilter &filter = instance();
    if (!toolbar || !filter.m_toolbars.contains(toolbar) || !isMenuButton(*toolbar, index)) {
        leaveMenuBarMode();
        return;
    }
    if (filter.m_modeToolbar)
        filter.m_modeToolbar->setButtonHot(filter.m_modeIndex, false);
    else
        filter.hideCaret();
    filter.m_modeToolbar = toolbar;
    filter.m_modeIndex = index;
    toolbar->setButtonHot(index, true);
}

void KeyboardFilter::leaveMenuBarMode()
{
    KeyboardFilter &filter = instance();
    if (!filter.m_modeToolbar)
        return;
    filter.m_modeToolbar->setButtonHot(filter.m_modeIndex, false);
    filter.m_modeToolbar = nullptr;
    filter.m_modeIndex = -1;
    filter.showCaret();
}

Toolbar *KeyboardFilter::menuBarModeToolbar()
{
    return instance().m_modeToolbar;
}

// A handled key is used up here, so the same event never comes back through a parent.
bool KeyboardFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (m_toolbars.isEmpty())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(*static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease:
        return keyReleased(*static_cast<QKeyEvent *>(event));
    case QEvent::Shortcut:
        // The keyboard is never in two places: the command runs with the bar let go.
        leaveMenuBarMode();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::ApplicationDeactivate:
        m_altAlone = false;
        if (!QApplication::activePopupWidget())
            leaveMenuBarMode();
        return false;
    default:
        return false;
    }
}

bool KeyboardFilter::keyPressed(const QKeyEvent &key)
{
    // An open menu handles its own keys.
    if (QApplication::activePopupWidget())
        return false;
    const bool altAlone = key.key() == Qt::Key_Alt && !(key.modifiers() & ~Qt::AltModifier);
    m_altAlone = altAlone && !key.isAutoRepeat() && !m_modeToolbar;
    if (m_modeToolbar && !isOwnerActive(*m_modeToolbar))
        leaveMenuBarMode();
    if (m_modeToolbar && altAlone) {
        leaveMenuBarMode();
        return true;
    }
    if (key.key() == Qt::Key_F10 && key.modifiers() == Qt::NoModifier)
        return toggleMenuBarMode();
    if (m_modeToolbar)
        return menuBarModeKey(key);
    return altLetterPressed(key);
}

bool KeyboardFilter::keyReleased(const QKeyEvent &key)
{
    if (key.key() != Qt::Key_Alt || !m_altAlone)
        return false;
    m_altAlone = false;
    return toggleMenuBarMode();
}

bool KeyboardFilter::altLetterPressed(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    if (!(modifiers & Qt::AltModifier) || (modifiers & Qt::ControlModifier))
        return false;
    if (!(modifiers & Qt::ShiftModifier) && key.key() >= Qt::Key_Space && key.key() <= 0xFFFF
        && clickAccelerator(QChar(key.key())))
        return true;
    // An Alt+letter that opens nothing is a missed command, not text: a field would take
    // the letter and the document would count as edited.
    return !key.text().isEmpty() && key.text().at(0).isPrint();
}

bool KeyboardFilter::clickAccelerator(QChar letter)
{
    // A toolbar may go away while an earlier one handles the key, so walk a copy.
    const QList<Toolbar *> toolbars = m_toolbars;
    for (Toolbar *toolbar : toolbars) {
        if (m_toolbars.contains(toolbar) && toolbar->handleAltKey(letter))
            return true;
    }
    return false;
}

// Every key belongs to the menu bar while the mode lasts, as on any desktop.
bool KeyboardFilter::menuBarModeKey(const QKeyEvent &key)
{
    Toolbar *toolbar = m_modeToolbar;
    const int index = m_modeIndex;
    switch (key.key()) {
    case Qt::Key_Left:
        moveHighlight(-1);
        return true;
    case Qt::Key_Right:
        moveHighlight(+1);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        leaveMenuBarMode();
        toolbar->openButtonMenu(index);
        return true;
    case Qt::Key_Escape:
        leaveMenuBarMode();
        return true;
    default:
        break;
    }
    if (key.key() >= Qt::Key_Space && key.key() <= 0xFFFF && !(key.modifiers() & Qt::ControlModifier)) {
        const QChar letter = QChar(key.key()).toUpper();
        for (int i = 0; i < toolbar->buttonCount(); ++i) {
            if (toolbar->buttonAccelerator(i) == letter && isMenuButton(*toolbar, i)) {
                leaveMenuBarMode();
                toolbar->openButtonMenu(i);
                return true;
            }
        }
    }
    return true;
}

bool KeyboardFilter::toggleMenuBarMode()
{
    if (m_modeToolbar) {
        leaveMenuBarMode();
        return true;
    }
    for (Toolbar *toolbar : std::as_const(m_toolbars)) {
        if (!toolbar->menu() || !isOwnerActive(*toolbar))
            continue;
        for (int i = 0; i < toolbar->buttonCount(); ++i) {
            if (isMenuButton(*toolbar, i)) {
                enterMenuBarMode(toolbar, i);
                return true;
            }
        }
    }
    return false;
}

void KeyboardFilter::moveHighlight(int direction)
{
    Toolbar *toolbar = m_modeToolbar;
    const int count = toolbar->buttonCount();
    for (int step = 1; step < count; ++step) {
        const int index = ((m_modeIndex + direction * step) % count + count) % count;
        if (isMenuButton(*toolbar, index)) {
            enterMenuBarMode(toolbar, index);
            return;
        }
    }
}

// The focus stays where it is, so nothing there is lost or re-selected; the widget is told
// what an opening popup tells it, which puts its caret away until the bar lets go.
void KeyboardFilter::hideCaret()
{
    m_caretOwner = QApplication::focusWidget();
    if (!m_caretOwner)
        return;
    QFocusEvent away(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(m_caretOwner, &away);
}

// A click or another window may have moved the focus meanwhile; its new owner shows its own caret.
void KeyboardFilter::showCaret()
{
    QWidget *owner = m_caretOwner;
    m_caretOwner = nullptr;
    if (!owner || owner != QApplication::focusWidget())
        return;
    QFocusEvent back(QEvent::FocusIn, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(owner, &back);
}
