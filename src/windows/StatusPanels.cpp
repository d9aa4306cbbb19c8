#include "StatusPanels.h"

#include "StatusBar.h"

namespace {

const QString kFilePanel = QStringLiteral("fil");
const QString kMessagePanel = QStringLiteral("msg");

} // namespace

StatusPanels::StatusPanels(StatusBar &bar)
    : m_bar(bar)
{
}

void StatusPanels::showFileStatus(const QString &text, int icon)
{
    m_bar.setPanelIcon(kFilePanel, icon);
    m_bar.setPanelText(kFilePanel, text);
}

void StatusPanels::setFileStatusIcon(int icon)
{
    m_bar.setPanelIcon(kFilePanel, icon);
}

void StatusPanels::showMessage(const QString &text)
{
    m_bar.setPanelText(kMessagePanel, text);
}

QString StatusPanels::message() const
{
    return m_bar.panelText(kMessagePanel);
}
