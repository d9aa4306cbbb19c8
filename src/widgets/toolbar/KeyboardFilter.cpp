#include "toolbar/KeyboardFilter.h"

#include "toolbar/Toolbar.h"

#include <QApplication>
#include <QKeyEvent>

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

bool KeyboardFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || m_toolbars.isEmpty())
        return QObject::eventFilter(watched, event);
    // An open menu handles its own letters.
    if (QApplication::activePopupWidget())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if (!(modifiers & Qt::AltModifier) || (modifiers & (Qt::ControlModifier | Qt::ShiftModifier)))
        return false;
    if (key->key() < Qt::Key_Space || key->key() > 0xFFFF)
        return false;
    const QChar letter(key->key());
    // A toolbar may go away while an earlier one handles the key, so walk a copy.
    const QList<Toolbar *> toolbars = m_toolbars;
    for (Toolbar *toolbar : toolbars) {
        if (m_toolbars.contains(toolbar) && toolbar->handleAltKey(letter))
            return true;
    }
    return false;
}
