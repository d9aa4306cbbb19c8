#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QtGlobal>

// A list of small icons addressed by 0-based index; controls take a pointer to it as
// their ImageList. Icons are rendered at iconWidth x iconHeight.
// Every list also has a process-unique handle, so callers that only kept the number
// (as image lists were passed around before) can still reach the list.
class IconList
{
public:
    IconList(int iconWidth = 16, int iconHeight = 16);
    IconList(const IconList &other);
    IconList &operator=(const IconList &other);
    ~IconList();

    int iconWidth() const { return m_size.width(); }
    int iconHeight() const { return m_size.height(); }
    QSize iconSize() const { return m_size; }

    // Returns the index of the new icon.
    int addIcon(const QIcon &icon);
    int count() const { return static_cast<int>(m_icons.size()); }
    bool isValidIndex(int index) const { return index >= 0 && index < count(); }

    // A null icon / pixmap for an index outside the list, so a bad index draws nothing.
    QIcon icon(int index) const;
    QPixmap pixmap(int index) const;

    // Never 0; a copy gets a handle of its own.
    qintptr hImageList() const { return m_handle; }
    // The live list with that handle, or nullptr.
    static IconList *fromHandle(qintptr handle);

private:
    QSize m_size;
    QList<QIcon> m_icons;
    qintptr m_handle;
};
