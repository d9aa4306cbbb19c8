#include "services/IconList.h"

IconList::IconList(int iconWidth, int iconHeight)
    : m_size(iconWidth, iconHeight)
{
}

int IconList::AddIcon(const QIcon &icon)
{
    m_icons.append(icon);
    return count() - 1;
}

QIcon IconList::icon(int index) const
{
    return isValidIndex(index) ? m_icons.at(index) : QIcon();
}

QPixmap IconList::pixmap(int index) const
{
    return isValidIndex(index) ? m_icons.at(index).pixmap(m_size) : QPixmap();
}
