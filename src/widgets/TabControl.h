#pragma once

#include "EventHook.h"
#include "TabStrip.h"

#include <QList>
#include <QPointer>
#include <QTabBar>
#include <QVariant>
#include <QWidget>

class IconList;
class PropertyBag;

// A tab strip with keyed tabs, icons, item data and a beforeClick that can refuse a change of
// tab. Pages are placed by the container over the client area; the control draws only the
// strip and the frame around that area. A tab is named by its 1-based position or its key.
class TabControl : public QWidget, private EventHook
{
    Q_OBJECT

public:
    enum TabAlignment { AlignTop = 0, AlignLeft = 1, AlignBottom = 2, AlignRight = 3 };

    explicit TabControl(QWidget *parent = nullptr);

    // keyBefore: a position n (> -1) inserts before the n-th tab, -1 or less appends, a key
    // inserts before that tab.
    void addTab(const QString &text, int iconIndex = -1, const QVariant &keyBefore = -1,
        const QString &key = {}, qint32 itemData = 0);
    void removeTab(const QVariant &key);
    void removeAllTabs();

    // 0 when no tab is selected.
    int selectedTab() const;
    // Unless noEvents, asks beforeClick first and raises tabClicked after.
    void selectTab(const QVariant &key, bool noEvents = false);

    QString tabText(const QVariant &key) const;
    int tabImage(const QVariant &key) const;
    void setTabImage(const QVariant &key, int imageIndex);
    qint32 tabItemData(const QVariant &key) const;
    void setTabItemData(const QVariant &key, qint32 itemData);
    QString tabKey(int index) const;
    int indexForTab(const QVariant &key) const;
    int tabCount() const;

    int clientLeft() const { return clientRect().left(); }
    int clientTop() const { return clientRect().top(); }
    int clientWidth() const { return clientRect().width(); }
    int clientHeight() const { return clientRect().height(); }

    void setImageList(IconList *imageList);
    // An IconList pointer or an hImageList number; anything else clears the list and raises.
    void setImageList(const QVariant &imageList);

    bool flatSeparators() const { return m_flatSeparators; }
    void setFlatSeparators(bool on) { m_flatSeparators = on; }
    // Styles that take effect on the next Rebuild.
    bool hotTrack() const { return m_hotTrack; }
    void setHotTrack(bool on) { m_hotTrack = on; }
    bool buttons() const { return m_buttons; }
    void setButtons(bool on) { m_buttons = on; }
    bool flatButtons() const { return m_flatButtons; }
    void setFlatButtons(bool on) { m_flatButtons = on; }
    bool multiLine() const { return m_multiLine; }
    void setMultiLine(bool on) { m_multiLine = on; }
    bool rightJustify() const { return m_rightJustify; }
    void setRightJustify(bool on) { m_rightJustify = on; }
    int tabAlign() const { return m_tabAlign; }
    void setTabAlign(int alignment) { m_tabAlign = alignment; }

    // Recreates the strip with the current styles, keeping the tabs and their order.
    void rebuild();

    QWidget *hwnd() { return this; }
    QTabBar *tabCtrlHwnd() const { return m_strip; }

    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

Q_SIGNALS:
    void beforeClick(int tab, bool &cancel);
    void tabClicked(int tab);
    void tabRightClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct Tab
    {
        QString key;
        int image;
        qint32 itemData;
    };

    int msgResponse() override;
    bool windowProc(QObject *target, QEvent *event) override;

    void createStrip();
    void insertIntoStrip(int position, const Tab &tab);
    void layoutStrip();
    QRect stripRect() const;
    QRect clientRect() const;
    int find(const QVariant &key) const;
    // The 0-based position of the tab, or the numbered error with %1 in the message as the key.
    int require(const QVariant &key, int errorOffset, const QString &message) const;
    int insertPosition(const QVariant &keyBefore) const;
    void showImages();
    bool mayLeaveSelectedTab();
    bool wouldChangeTab(QEvent *event) const;
    void stripSelectionChanged(int index);

    QPointer<TabStrip> m_strip;
    QList<Tab> m_tabs;
    IconList *m_imageList = nullptr;
    int m_quiet = 0;
    bool m_flatSeparators = false;
    bool m_hotTrack = false;
    bool m_buttons = false;
    bool m_flatButtons = false;
    bool m_multiLine = false;
    bool m_rightJustify = false;
    int m_tabAlign = AlignTop;
};
