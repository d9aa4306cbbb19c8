#pragma once

#include "KeyboardState.h"
#include "OleColor.h"
#include "IntervalTimer.h"

#include <QIcon>
#include <QList>
#include <QStatusBar>
#include <QVariant>

#include <functional>
#include <memory>

class IconList;
class PropertyBag;

// A status bar of keyed panels (a panel is named by its 1-based position or its key) with one
// spring panel, fit-to-contents widths, icons, owner-drawn panels and panels that show the
// lock keys, the time or the date and keep themselves up to date.
class StatusBar : public QStatusBar
{
    Q_OBJECT

public:
    enum PanelStyles {
        Sunken = 0,
        NoBorders = 256,
        Raised = 512,
        RightToLeftReading = 1024,
        OwnerDraw = 4096,
        CapsLock = 4097,
        NumLock = 4098,
        Overwrite = 4099,
        ScrollLock = 4100,
        ShortTime = 4101,
        MediumDate = 4102,
        DateAndTime = 4103,
    };
    static constexpr int MaxPanels = 255;
    static constexpr int SelfUpdateInterval = 250;

    using KeyStateReader = std::function<bool(KeyboardState::LockKey)>;

    explicit StatusBar(QWidget *parent = nullptr);

    // Returns the 1-based index of the new panel.
    int addPanel(int style = Sunken, const QString &text = {}, const QString &toolTipText = {},
        int imageIndex = -1, int minWidth = 0, bool spring = false, bool fitContents = false,
        qint32 itemData = 0, const QString &key = {}, const QVariant &keyBefore = {});
    void removePanel(const QVariant &key);
    int panelCount() const { return static_cast<int>(m_panels.size()); }
    int panelIndex(const QVariant &key) const;

    QString panelKey(int index) const;
    void setPanelKey(int index, const QString &key);
    QString panelText(const QVariant &key) const;
    // The text as the panel shows it: cut in the middle with "…" when the panel is too narrow.
    QString panelShownText(const QVariant &key) const;
    void setPanelText(const QVariant &key, const QString &text);
    QString panelToolTipText(const QVariant &key) const;
    void setPanelToolTipText(const QVariant &key, const QString &text);
    bool panelSpring(const QVariant &key) const;
    void setPanelSpring(const QVariant &key, bool spring);
    bool panelFitToContents(const QVariant &key) const;
    void setPanelFitToContents(const QVariant &key, bool fit);
    int panelIcon(const QVariant &key) const;
    void setPanelIcon(const QVariant &key, int imageIndex);
    QIcon panelhIcon(const QVariant &key) const;
    void setPanelhIcon(const QVariant &key, const QIcon &icon);
    int panelStyle(const QVariant &key) const;
    void setPanelStyle(const QVariant &key, int style);
    int panelMinWidth(const QVariant &key) const;
    int panelIdealWidth(const QVariant &key) const;
    void setPanelIdealWidth(const QVariant &key, int width);
    // The width the last layout gave the panel.
    int panelWidth(const QVariant &key) const;

    QRect panelRect(const QVariant &key) const;
    void redrawPanel(const QVariant &key);

    bool simpleMode() const { return m_simpleMode; }
    void setSimpleMode(bool simple);
    QString simpleText() const { return m_simpleText; }
    void setSimpleText(const QString &text);
    int simpleStyle() const { return m_simpleStyle; }
    void setSimpleStyle(int style);

    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 oleColor);
    void setImageList(IconList *imageList);
    // An IconList pointer or an hImageList number; anything else clears the list and raises.
    void setImageList(const QVariant &imageList);
    bool sizeGrip() const { return isSizeGripEnabled(); }
    void setSizeGrip(bool on) { setSizeGripEnabled(on); }

    // 0 while no self-updating panel keeps the refresh timer alive.
    int selfUpdateTimerInterval() const;
    void setKeyStateReader(KeyStateReader reader);

    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // panel is 0 when the pointer is over no panel; button is 1 left, 2 right.
    void clicked(int panel, int x, int y, int button);
    void doubleClicked(int panel, int x, int y, int button);
    void drawItem(QPainter *painter, int panel, const QRect &rect);
    void resized();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    struct Panel
    {
        QString key;
        qint32 itemData = 0;
        int imageIndex = -1;
        QIcon icon;
        QString text;
        QString toolTip;
        int minWidth = 0;
        int idealWidth = 0;
        int width = 0;
        bool spring = false;
        bool fitContents = false;
        int style = Sunken;
        bool state = false;
    };

    int require(const QVariant &key) const;
    int insertPosition(const QVariant &keyBefore) const;
    void makeSpring(int index);
    void computeIdealWidth(Panel &panel) const;
    int textWidth(const QString &text) const;
    void layoutPanels();
    int panelAt(const QPoint &pos) const;
    QRect panelArea(int index) const;
    QRect panelTextArea(int index) const;
    QString selfUpdatingText(int style) const;
    bool selfUpdatingState(int style) const;
    void refreshSelfUpdatingPanels();
    void startOrStopTimer();
    void paintPanel(QPainter &painter, int index);
    void paintSelfUpdating(QPainter &painter, Panel &panel, const QRect &rect);
    void paintSimpleText(QPainter &painter);
    int naturalHeight() const;
    void mouseClicked(QMouseEvent *event, bool doubleClick);

    QList<Panel> m_panels;
    QList<int> m_rightEdges;
    IconList *m_imageList = nullptr;
    std::unique_ptr<IntervalTimer> m_timer;
    KeyStateReader m_keyState;
    bool m_simpleMode = false;
    QString m_simpleText;
    int m_simpleStyle = NoBorders;
    quint32 m_backColor = OleColor::ButtonFace;
};
