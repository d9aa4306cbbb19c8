#include "IconList.h"

#include <QHash>

namespace {

QHash<qintptr, IconList *> &liveLists()
{
    static QHash<qintptr, IconList *> lists;
    return lists;
}

qintptr nextHandle()
{
    static qintptr counter = 0;
    return ++counter;
}

} // namespace

IconList::IconList(int iconWidth, int iconHeight)
    : m_size(iconWidth, iconHeight)
    , m_handle(nextHandle())
{
    liveLists().insert(m_handle, this);
}

IconList::IconList(const IconList &other)
    : m_size(other.m_size)
    , m_icons(other.m_icons)
    , m_handle(nextHandle())
{
    liveLists().insert(m_handle, this);
}

IconList &IconList::operator=(const IconList &other)
{
    m_size = other.m_size;
    m_icons = other.m_icons;
    return *this;
}

IconList::~IconList()
{
    liveLists().remove(m_handle);
}

int IconList::addIcon(const QIcon &icon)
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

IconList *IconList::fromHandle(qintptr handle)
{
    return liveLists().value(handle, nullptr);
}
