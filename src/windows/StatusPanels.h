#pragma once

#include <QString>

class StatusBar;

// The main window's two status panels: "fil" with the document's path and an icon for its
// state, "msg" with the last message.
class StatusPanels
{
public:
    // As numbered in the program's icon list.
    enum Icon { IconOpening = 2, IconSaved = 3, IconEdited = 8, IconIdle = 9 };

    explicit StatusPanels(StatusBar &bar);

    void showFileStatus(const QString &text, int icon);
    void setFileStatusIcon(int icon);
    void showMessage(const QString &text);
    QString message() const;

private:
    StatusBar &m_bar;
};
