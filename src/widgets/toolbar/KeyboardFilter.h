#pragma once

#include <QList>
#include <QObject>

class Toolbar;

// Turns Alt+letter (neither Ctrl nor Shift held) into a click on the toolbar button with
// that accelerator letter. Watches the key presses of the whole application while at
// least one toolbar is registered.
class KeyboardFilter : public QObject
{
    Q_OBJECT

public:
    static void registerToolbar(Toolbar *toolbar);
    static void unregisterToolbar(Toolbar *toolbar);
    static bool isInstalled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyboardFilter() = default;
    static KeyboardFilter &instance();

    QList<Toolbar *> m_toolbars;
    bool m_installed = false;
};
