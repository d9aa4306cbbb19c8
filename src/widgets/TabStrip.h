#pragma once

#include <QTabBar>

// The tab control's strip: Qt's tab bar, with the looks the tab control's styles ask for
// drawn over it: tabs as buttons (flat ones too), the tab under the mouse in the hot-track
// colour, and a focus frame on the selected tab whenever the strip has the keyboard focus.
class TabStrip : public QTabBar
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);

    // Flat buttons only count together with buttons.
    void setButtonLook(bool buttons, bool flat);
    void setHotTrack(bool on);
    int hotTab() const { return m_hot; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintButtons(QPainter &painter);
    void paintHotTab(QPainter &painter);
    void paintFocusFrame(QPainter &painter);
    void setHot(int index);

    bool m_buttons = false;
    bool m_flat = false;
    bool m_hotTrack = false;
    int m_hot = -1;
};
