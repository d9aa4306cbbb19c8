#include "TabControl.h"

#include "ImageListArgument.h"
#include "ProgramFile.h"
#include "PropertyBag.h"
#include "VariantKey.h"
#include "ControlError.h"
#include "IconList.h"
#include "EventHooks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace {

constexpr int kFrameWidth = 2;

enum TabError {
    NoSuchTab = 1049,
    NoImage = 1050,
    NoSuchTabText = 1051,
    InvalidImageList = 1052,
    NoItemData = 1053,
    ItemDataNotSet = 1054,
    ImageNotSet = 1055,
};

QTabBar::Shape shapeFor(int tabAlign)
{
    switch (tabAlign) {
    case TabControl::AlignLeft:
        return QTabBar::RoundedWest;
    case TabControl::AlignBottom:
        return QTabBar::RoundedSouth;
    case TabControl::AlignRight:
        return QTabBar::RoundedEast;
    default:
        return QTabBar::RoundedNorth;
    }
}

// The stored default names only the face; the size is the desktop's.
QFont defaultFont()
{
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("MS Sans Serif"));
    return font;
}

const QList<QEvent::Type> &strippedEvents()
{
    static const QList<QEvent::Type> events { QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
        QEvent::KeyPress, QEvent::Wheel };
    return events;
}

} // namespace

TabControl::TabControl(QWidget *parent)
    : QWidget(parent)
{
    setFont(defaultFont());
    createStrip();
}

void TabControl::addTab(
    const QString &text, int iconIndex, const QVariant &keyBefore, const QString &key, qint32 itemData)
{
    const int requested = insertPosition(keyBefore);
    if (requested < 0)
        return;
    const Tab tab { key, iconIndex, itemData };
    ++m_quiet;
    const int position = m_strip->insertTab(requested, text);
    --m_quiet;
    m_tabs.insert(position, tab);
    showImages();
    layoutStrip();
}

void TabControl::removeTab(const QVariant &key)
{
    const int index = find(key);
    if (index < 0)
        return;
    ++m_quiet;
    m_strip->removeTab(index);
    --m_quiet;
    m_tabs.removeAt(index);
    layoutStrip();
}

void TabControl::removeAllTabs()
{
    ++m_quiet;
    while (m_strip->count() > 0)
        m_strip->removeTab(0);
    --m_quiet;
    m_tabs.clear();
    layoutStrip();
}

int TabControl::selectedTab() const
{
    return m_strip->currentIndex() + 1;
}

void TabControl::selectTab(const QVariant &key, bool noEvents)
{
    const int index = find(key);
    if (index < 0)
        return;
    if (!noEvents && !mayLeaveSelectedTab())
        return;
    ++m_quiet;
    m_strip->setCurrentIndex(index);
    --m_quiet;
    if (!noEvents && m_strip->currentIndex() == index)
        Q_EMIT tabClicked(index + 1);
}

QString TabControl::tabText(const QVariant &key) const
{
    return m_strip->tabText(require(key, NoSuchTabText, QStringLiteral("TabIndex %1 does not exist")));
}

int TabControl::tabImage(const QVariant &key) const
{
    return m_tabs.at(require(key, NoImage, QStringLiteral("Failed to get image for tab %1"))).image;
}

void TabControl::setTabImage(const QVariant &key, int imageIndex)
{
    m_tabs[require(key, ImageNotSet, QStringLiteral("Failed to set image for tab %1"))].image = imageIndex;
    showImages();
}

qint32 TabControl::tabItemData(const QVariant &key) const
{
    return m_tabs.at(require(key, NoItemData, QStringLiteral("Failed to get item data for tab %1")))
        .itemData;
}

void TabControl::setTabItemData(const QVariant &key, qint32 itemData)
{
    m_tabs[require(key, ItemDataNotSet, QStringLiteral("Failed to set item data for tab %1"))].itemData
        = itemData;
}

QString TabControl::tabKey(int index) const
{
    return m_tabs.at(require(index, NoSuchTab, QStringLiteral("TabIndex %1 does not exist"))).key;
}

int TabControl::indexForTab(const QVariant &key) const
{
    return require(key, NoSuchTab, QStringLiteral("TabIndex %1 does not exist")) + 1;
}

int TabControl::tabCount() const
{
    return m_strip->count();
}

void TabControl::setImageList(IconList *imageList)
{
    m_imageList = imageList;
    showImages();
    layoutStrip();
}

void TabControl::setImageList(const QVariant &imageList)
{
    const std::optional<IconList *> list = ImageListArgument::resolve(imageList);
    setImageList(list.value_or(nullptr));
    if (!list)
        throw ControlError(
            InvalidImageList, ProgramFile::errorSource(u"cTabCtrl"), QStringLiteral("Invalid Image List."));
}

void TabControl::rebuild()
{
    QStringList texts;
    for (int i = 0; i < m_strip->count(); ++i)
        texts.append(m_strip->tabText(i).left(255));
    const int selected = m_strip->currentIndex();
    createStrip();
    ++m_quiet;
    for (const QString &text : std::as_const(texts))
        m_strip->addTab(text);
    m_strip->setCurrentIndex(selected);
    --m_quiet;
    showImages();
    layoutStrip();
}

void TabControl::readProperties(const PropertyBag &bag)
{
    setHotTrack(bag.readProperty(QStringLiteral("HotTrack"), false).toBool());
    setButtons(bag.readProperty(QStringLiteral("Buttons"), false).toBool());
    setMultiLine(bag.readProperty(QStringLiteral("MultiLine"), false).toBool());
    setRightJustify(bag.readProperty(QStringLiteral("RightJustify"), false).toBool());
    setFlatSeparators(bag.readProperty(QStringLiteral("FlatSeparators"), false).toBool());
    setFlatButtons(bag.readProperty(QStringLiteral("FlatButtons"), false).toBool());
    setTabAlign(bag.readProperty(QStringLiteral("TabAlign"), int(AlignTop)).toInt());
    setFont(bag.readProperty(QStringLiteral("Font"), defaultFont()).value<QFont>());
    rebuild();
}

void TabControl::writeProperties(PropertyBag &bag) const
{
    bag.writeProperty(QStringLiteral("HotTrack"), m_hotTrack, false);
    bag.writeProperty(QStringLiteral("Buttons"), m_buttons, false);
    bag.writeProperty(QStringLiteral("MultiLine"), m_multiLine, false);
    bag.writeProperty(QStringLiteral("RightJustify"), m_rightJustify, false);
    bag.writeProperty(QStringLiteral("FlatSeparators"), m_flatSeparators, false);
    bag.writeProperty(QStringLiteral("FlatButtons"), m_flatButtons, false);
    bag.writeProperty(QStringLiteral("TabAlign"), m_tabAlign, int(AlignTop));
    bag.writeProperty(QStringLiteral("Font"), font(), defaultFont());
}

void TabControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutStrip();
}

void TabControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = clientRect().adjusted(-kFrameWidth, -kFrameWidth, kFrameWidth, kFrameWidth);
    frame.shape = m_strip->shape();
    frame.tabBarSize = m_strip->size();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

int TabControl::msgResponse()
{
    return HandlerDecides;
}

bool TabControl::windowProc(QObject *target, QEvent *event)
{
    // The original strip never turns tabs on the wheel, and a turn would bypass beforeClick.
    if (event->type() == QEvent::Wheel)
        return true;
    if (wouldChangeTab(event) && !mayLeaveSelectedTab())
        return true;
    const bool handled = EventHooks::instance().callPreviousProc(target, event);
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
        Q_EMIT tabRightClicked();
    return handled;
}

void TabControl::createStrip()
{
    delete m_strip;
    auto *strip = new TabStrip(this);
    strip->setShape(shapeFor(m_tabAlign));
    strip->setHotTrack(m_hotTrack);
    strip->setButtonLook(m_buttons, m_flatButtons);
    strip->setMultiLine(m_multiLine);
    m_strip = strip;
    m_strip->setExpanding(false);
    connect(m_strip, &QTabBar::currentChanged, this, &TabControl::stripSelectionChanged);
    for (QEvent::Type type : strippedEvents())
        EventHooks::instance().watchMessage(this, m_strip, type);
    m_strip->show();
}

void TabControl::layoutStrip()
{
    m_strip->setGeometry(stripRect());
    update();
}

QRect TabControl::stripRect() const
{
    const QSize hint = m_strip->sizeHint();
    switch (m_tabAlign) {
    case AlignLeft:
        return { 0, 0, hint.width(), height() };
    case AlignBottom:
        return { 0, height() - hint.height(), width(), hint.height() };
    case AlignRight:
        return { width() - hint.width(), 0, hint.width(), height() };
    default:
        return { 0, 0, width(), hint.height() };
    }
}

QRect TabControl::clientRect() const
{
    const QRect strip = stripRect();
    QRect pane = rect();
    switch (m_tabAlign) {
    case AlignLeft:
        pane.setLeft(strip.right() + 1);
        break;
    case AlignBottom:
        pane.setBottom(strip.top() - 1);
        break;
    case AlignRight:
        pane.setRight(strip.left() - 1);
        break;
    default:
        pane.setTop(strip.bottom() + 1);
        break;
    }
    return pane.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth);
}

int TabControl::find(const QVariant &key) const
{
    if (VariantKey::isPosition(key)) {
        const int position = key.toInt();
        return position >= 1 && position <= m_tabs.size() ? position - 1 : -1;
    }
    const QString wanted = key.toString();
    for (int i = 0; i < m_tabs.size(); ++i) {
        if (m_tabs.at(i).key == wanted)
            return i;
    }
    return -1;
}

int TabControl::require(const QVariant &key, int errorOffset, const QString &message) const
{
    const int index = find(key);
    if (index < 0)
        throw ControlError(
            errorOffset, ProgramFile::errorSource(u"cTabCtrl"), message.arg(VariantKey::text(key)));
    return index;
}

int TabControl::insertPosition(const QVariant &keyBefore) const
{
    if (!keyBefore.isValid())
        return tabCount();
    if (VariantKey::isPosition(keyBefore)) {
        const int before = keyBefore.toInt();
        return before > -1 ? qBound(0, before - 1, tabCount()) : tabCount();
    }
    return find(keyBefore);
}

void TabControl::showImages()
{
    if (m_imageList)
        m_strip->setIconSize(m_imageList->iconSize());
    for (int i = 0; i < m_tabs.size(); ++i)
        m_strip->setTabIcon(i, m_imageList ? m_imageList->icon(m_tabs.at(i).image) : QIcon());
}

bool TabControl::mayLeaveSelectedTab()
{
    if (selectedTab() == 0)
        return true;
    bool cancel = false;
    Q_EMIT beforeClick(selectedTab(), cancel);
    return !cancel;
}

bool TabControl::wouldChangeTab(QEvent *event) const
{
    const int current = m_strip->currentIndex();
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int target = m_strip->tabAtPoint(mouse->position().toPoint());
        return mouse->button() == Qt::LeftButton && target >= 0 && target != current;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        return (key == Qt::Key_Left && current > 0) || (key == Qt::Key_Right && current < tabCount() - 1);
    }
    return false;
}

void TabControl::stripSelectionChanged(int index)
{
    if (m_quiet == 0 && index >= 0)
        Q_EMIT tabClicked(index + 1);
}
