#pragma once

#include <QTabBar>

// The tab control's strip: Qt's tab bar, with the looks the tab control's styles ask for
// drawn over it: tabs as buttons (flat ones too), the tab under the mouse in the hot-track
// colour, a focus frame on the selected tab whenever the strip has the keyboard focus, and
// with multi-line, as many rows of tabs as the width needs (above or below the pane).
class TabStrip : public QTabBar
{
    Q_OBJECT

public:
    explicit TabStrip(QWidget *parent = nullptr);

    // Flat buttons only count together with buttons.
    void setButtonLook(bool buttons, bool flat);
    void setHotTrack(bool on);
    void setMultiLine(bool on);
    int hotTab() const { return m_hot; }

    // Where a tab shows and which tab is at a point, rows of a multi-line strip included.
    QRect shownTabRect(int index) const;
    int tabAtPoint(const QPoint &point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool inRows() const;
    QList<QRect> rows(int width) const;
    void paintRows(QPainter &painter);
    void paintButtons(QPainter &painter);
    void paintHotTab(QPainter &painter);
    void paintFocusFrame(QPainter &painter);
    void setHot(int index);

    bool m_buttons = false;
    bool m_flat = false;
    bool m_hotTrack = false;
    bool m_multiLine = false;
    int m_hot = -1;
};
