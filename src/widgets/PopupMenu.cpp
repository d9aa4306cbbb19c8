#include "PopupMenu.h"

#include "IconList.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QWidgetAction>

struct PopupMenu::Item {
    QString key;
    QString caption;
    Item *parent = nullptr;
    int command = 0;
    int image = -1;
    bool enabled = true;
    bool checked = false;
    bool isDefault = false;
    QAction *action = nullptr;
    QMenu *subMenu = nullptr;
};

namespace {

const QLatin1Char kSeparatorMark('-');
const QLatin1Char kShortcutMark('\t');

bool isPlainSeparator(const QString &caption)
{
    return caption == QString(kSeparatorMark);
}

bool isHeading(const QString &caption)
{
    return caption.size() > 1 && caption.startsWith(kSeparatorMark);
}

// A heading repeats its submenu's caption; a label would show the caption's mnemonic
// mark itself, so "&&" becomes "&" and a single "&" goes.
QString withoutMnemonic(const QString &caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && ++i == caption.size())
            break;
        text += caption.at(i);
    }
    return text;
}

// A heading must read like text, not like a greyed-out command, although it cannot be
// chosen.
QWidgetAction *makeHeading(const QString &caption, QMenu *menu)
{
    auto *label = new QLabel(withoutMnemonic(caption));
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setContentsMargins(6, 3, 6, 3);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText,
                     palette.color(QPalette::Active, QPalette::WindowText));
    label->setPalette(palette);
    auto *action = new QWidgetAction(menu);
    action->setDefaultWidget(label);
    return action;
}

} // namespace

PopupMenu::PopupMenu(QObject *parent)
    : QObject(parent)
    , m_bar(std::make_unique<QMenu>())
{
}

PopupMenu::~PopupMenu()
{
    qDeleteAll(m_items);
}

int PopupMenu::appendItem(const QString &caption, int parentIndex, const QString &key)
{
    Item *parent = itemAt(parentIndex);
    if (parentIndex != 0 && !parent)
        return 0;
    return addItem(caption, parent, key, count(), nullptr);
}

int PopupMenu::insertItem(const QString &caption, const QString &beforeKey, const QString &key)
{
    const int beforeIndex = findItemByKey(beforeKey);
    Item *before = itemAt(beforeIndex);
    if (!before)
        return 0;
    return addItem(caption, before->parent, key, beforeIndex - 1, before->action);
}

void PopupMenu::removeItem(const QString &key)
{
    if (Item *item = itemAt(findItemByKey(key)))
        removeTree(item);
}

int PopupMenu::findItemByKey(const QString &key) const
{
    if (key.isEmpty())
        return 0;
    for (int i = 0; i < count(); ++i) {
        if (m_items.at(i)->key == key)
            return i + 1;
    }
    return 0;
}

QMenu *PopupMenu::hMenu(int index) const
{
    const Item *item = itemAt(index);
    return item ? menuHolding(item) : nullptr;
}

QMenu *PopupMenu::subMenu(int index) const
{
    const Item *item = itemAt(index);
    return item ? item->subMenu : nullptr;
}

int PopupMenu::itemParent(int index) const
{
    const Item *item = itemAt(index);
    return item ? indexOf(item->parent) : 0;
}

bool PopupMenu::isSeparator(int index) const
{
    const Item *item = itemAt(index);
    return item && item->caption.startsWith(kSeparatorMark);
}

int PopupMenu::itemCommandId(int index) const
{
    const Item *item = itemAt(index);
    return item ? item->command : 0;
}

QString PopupMenu::caption(int index) const
{
    const Item *item = itemAt(index);
    return item ? item->caption : QString();
}

void PopupMenu::setCaption(int index, const QString &caption)
{
    Item *item = itemAt(index);
    if (!item)
        return;
    item->caption = caption;
    // The caption decides the kind of action (command, separator, heading): build anew.
    QAction *old = item->action;
    buildAction(item, old);
    old->setMenu(static_cast<QMenu *>(nullptr));
    delete old;
}

QString PopupMenu::itemKey(int index) const
{
    const Item *item = itemAt(index);
    return item ? item->key : QString();
}

bool PopupMenu::isEnabled(int index) const
{
    const Item *item = itemAt(index);
    return item && item->enabled;
}

void PopupMenu::setEnabled(int index, bool enabled)
{
    if (Item *item = itemAt(index)) {
        item->enabled = enabled;
        applyLook(item);
    }
}

bool PopupMenu::itemChecked(int index) const
{
    const Item *item = itemAt(index);
    return item && item->checked;
}

void PopupMenu::setItemChecked(int index, bool checked)
{
    if (Item *item = itemAt(index)) {
        item->checked = checked;
        applyLook(item);
    }
}

int PopupMenu::itemImage(int index) const
{
    const Item *item = itemAt(index);
    return item ? item->image : -1;
}

void PopupMenu::setItemImage(int index, int image)
{
    if (Item *item = itemAt(index)) {
        item->image = image;
        applyLook(item);
    }
}

bool PopupMenu::itemDefault(int index) const
{
    const Item *item = itemAt(index);
    return item && item->isDefault;
}

void PopupMenu::setItemDefault(int index, bool isDefault)
{
    if (Item *item = itemAt(index)) {
        item->isDefault = isDefault;
        applyLook(item);
    }
}

void PopupMenu::setItemImageList(IconList *images)
{
    m_images = images;
    for (Item *item : std::as_const(m_items))
        applyLook(item);
}

void PopupMenu::setOwnerWindow(QWidget *owner)
{
    m_owner = owner;
    for (Item *item : std::as_const(m_items))
        applyShortcut(item);
}

void PopupMenu::createSubClass(QWidget *owner)
{
    if (owner)
        m_tracked = true;
}

void PopupMenu::destroySubClass()
{
    m_tracked = false;
}

void PopupMenu::emulateMenuClick(int commandId)
{
    for (int i = 0; i < count(); ++i) {
        if (commandId != 0 && m_items.at(i)->command == commandId) {
            emit clicked(i + 1);
            return;
        }
    }
}

PopupMenu::Item *PopupMenu::itemAt(int index) const
{
    return index >= 1 && index <= count() ? m_items.at(index - 1) : nullptr;
}

int PopupMenu::indexOf(const Item *item) const
{
    return item ? static_cast<int>(m_items.indexOf(item)) + 1 : 0;
}

QMenu *PopupMenu::menuHolding(const Item *item) const
{
    return item->parent ? item->parent->subMenu : m_bar.get();
}

QMenu *PopupMenu::ensureSubMenu(Item *item)
{
    if (!item->subMenu) {
        item->subMenu = new QMenu(menuHolding(item));
        item->action->setMenu(item->subMenu);
    }
    return item->subMenu;
}

int PopupMenu::addItem(const QString &caption, Item *parent, const QString &key, int tableIndex,
                       QAction *before)
{
    if (parent)
        ensureSubMenu(parent);
    auto *item = new Item;
    item->key = key;
    item->caption = caption;
    item->parent = parent;
    item->command = ++m_lastCommand;
    m_items.insert(tableIndex, item);
    buildAction(item, before);
    return tableIndex + 1;
}

void PopupMenu::buildAction(Item *item, QAction *before)
{
    QMenu *menu = menuHolding(item);
    QAction *action = nullptr;
    if (isHeading(item->caption)) {
        action = makeHeading(item->caption.mid(1), menu);
    } else {
        action = new QAction(menu);
        if (isPlainSeparator(item->caption))
            action->setSeparator(true);
        else
            action->setText(item->caption);
    }
    action->setData(item->command);
    if (item->subMenu)
        action->setMenu(item->subMenu);
    connect(action, &QAction::triggered, this, [this, item] { onTriggered(item); });
    menu->insertAction(before, action);
    item->action = action;
    applyLook(item);
    applyShortcut(item);
}

void PopupMenu::applyLook(Item *item) const
{
    QAction *action = item->action;
    // Headings are never chosen, so they stay disabled whatever the caller sets.
    action->setEnabled(item->enabled && !isHeading(item->caption));
    action->setIcon(m_images ? m_images->icon(item->image) : QIcon());
    action->setCheckable(item->checked);
    action->setChecked(item->checked);
    QFont font = action->font();
    font.setBold(item->isDefault);
    action->setFont(font);
}

void PopupMenu::applyShortcut(Item *item) const
{
    const qsizetype tab = item->caption.indexOf(kShortcutMark);
    if (tab < 0)
        return;
    item->action->setShortcut(QKeySequence::fromString(item->caption.mid(tab + 1)));
    item->action->setShortcutContext(Qt::WindowShortcut);
    if (m_owner)
        m_owner->addAction(item->action);
}

void PopupMenu::removeTree(Item *item)
{
    const QList<Item *> items = m_items;
    for (Item *child : items) {
        if (child->parent == item)
            removeTree(child);
    }
    m_items.removeOne(item);
    delete item->subMenu;
    delete item->action;
    delete item;
}

void PopupMenu::onTriggered(Item *item)
{
    // A checkable action flips itself on a click; the check mark is the program's to set.
    applyLook(item);
    if (!m_tracked)
        emit clicked(indexOf(item));
}
