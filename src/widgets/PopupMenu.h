#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class IconList;
class QAction;
class QMenu;

// The program's menu object: a tree of keyed items over QMenu/QAction, numbered from 1
// in table order. Top-level items (parent 0) live in the menu-bar menu hMenu(1); an item
// that gets children opens a submenu of its own.
//
// A caption "-" is a separator and "-Heading" a separator with a heading. The text after
// a tab is the shortcut: shown in the shortcut column and, once ownerWindow is set,
// working as a key of that window.
class PopupMenu : public QObject
{
    Q_OBJECT

public:
    explicit PopupMenu(QObject *parent = nullptr);
    ~PopupMenu() override;

    int count() const { return static_cast<int>(m_items.size()); }

    // Returns the new item's index; 0 when parentIndex names no item.
    int appendItem(const QString &caption, int parentIndex = 0, const QString &key = {});
    // Inserts under the same parent right before the item keyed beforeKey; the items from
    // there on move up one index. Returns the new index, 0 when beforeKey is absent.
    int insertItem(const QString &caption, const QString &beforeKey, const QString &key = {});
    // Removes the keyed item and everything under it; an absent key does nothing.
    void removeItem(const QString &key);
    // 0 when no item has the key.
    int findItemByKey(const QString &key) const;

    // The menu holding item i (the menu bar for top-level items); nullptr out of range.
    QMenu *hMenu(int index) const;
    // The submenu item i opens, or nullptr.
    QMenu *subMenu(int index) const;
    int itemParent(int index) const;
    bool isSeparator(int index) const;
    // The identifier a menu reports when item i is chosen; 0 out of range.
    int itemCommandId(int index) const;

    QString caption(int index) const;
    void setCaption(int index, const QString &caption);
    QString itemKey(int index) const;
    bool isEnabled(int index) const;
    void setEnabled(int index, bool enabled);
    bool itemChecked(int index) const;
    void setItemChecked(int index, bool checked);
    // -1 for none.
    int itemImage(int index) const;
    void setItemImage(int index, int image);
    // A default item is shown in bold.
    bool itemDefault(int index) const;
    void setItemDefault(int index, bool isDefault);

    IconList *itemImageList() const { return m_images; }
    void setItemImageList(IconList *images);
    QWidget *ownerWindow() const { return m_owner; }
    void setOwnerWindow(QWidget *owner);

    // While a caller tracks a menu itself it reports the choice with emulateMenuClick;
    // the menu stays silent meanwhile so the choice is not reported twice.
    void createSubClass(QWidget *owner);
    void destroySubClass();
    // Raises Click for the item with that command identifier; other values do nothing.
    void emulateMenuClick(int commandId);

Q_SIGNALS:
    void clicked(int index);

private:
    struct Item;

    Item *itemAt(int index) const;
    int indexOf(const Item *item) const;
    QMenu *menuHolding(const Item *item) const;
    QMenu *ensureSubMenu(Item *item);
    int addItem(const QString &caption, Item *parent, const QString &key, int tableIndex,
                QAction *before);
    void buildAction(Item *item, QAction *before);
    void applyLook(Item *item) const;
    void applyShortcut(Item *item) const;
    void removeTree(Item *item);
    void onTriggered(Item *item);

    std::unique_ptr<QMenu> m_bar;
    QList<Item *> m_items;
    int m_lastCommand = 0;
    IconList *m_images = nullptr;
    QPointer<QWidget> m_owner;
    bool m_tracked = false;
};
