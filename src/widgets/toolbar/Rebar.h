#pragma once

#include "EventHook.h"

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QVariant>
#include <QWidget>

class QMouseEvent;

// A rebar: a strip docked to one side of its parent form whose bands each carry one
// window, in rows. Bands are addressed by index; each also has an identifier and the data
// given when it was added. Windows docked on one form (rebars and any others registered
// with addResizeObject) share the form's edges: the first registered sits outermost.
// A band's gripper dragged along the bar moves the band's start, the band before it giving
// or taking the room; dragged half a row across, the band moves to the next row up or down,
// or onto a row of its own below the last. Either way its index may change, its id not.
class Rebar : public QObject, public EventHook
{
    Q_OBJECT

public:
    enum Side { Top = 0, Left = 1, Right = 2, Bottom = 3 };
    static constexpr int kDockSpacing = 2;

    explicit Rebar(QObject *parent = nullptr);
    ~Rebar() override;

    bool createRebar(QWidget *parentForm);
    void destroyRebar();
    // Returns the new band's identifier, 0 without a rebar or a window.
    int addBandByHwnd(QWidget *window, const QString &bandText = {}, bool breakLine = false,
                      bool fixedSize = false, const QVariant &data = {});
    void removeBand(int index);
    void removeAllRebarBands();
    static void addResizeObject(QWidget *parentForm, QWidget *window, Side side);
    void rebarSize();
    void autosize();

    int bandCount() const { return static_cast<int>(m_bands.size()); }
    int bandIndexForId(int id) const;
    int bandIdForIndex(int index) const;
    QVariant bandData(int id) const;
    int bandIndexForData(const QVariant &data) const;
    bool bandVisible(int index) const;
    void setBandVisible(int index, bool visible);
    bool bandGripper(int index) const;
    void setBandGripper(int index, bool on);
    bool bandChildEdge(int index) const;
    void setBandChildEdge(int index, bool on);
    int bandChildMinHeight(int index) const;
    void setBandChildMinHeight(int index, int height);
    int bandChildMaxHeight(int index) const;
    void setBandChildMaxHeight(int index, int height);
    int bandChildMinWidth(int index) const;
    void setBandChildMinWidth(int index, int width);
    void bandChildResized(int index, int width, int height);
    void bandMove(int index, int toIndex);
    // A band with a chevron shows one when its row is too short for the whole child.
    bool bandChevron(int index) const;
    void setBandChevron(int index, bool on);
    // The band as short as its child allows, or as long as the others in its row allow.
    void bandMinimise(int index);
    void bandMaximise(int index);
    // The band's rectangle in the rebar; empty for a hidden or missing band.
    QRect bandRectangle(int index) const;
    // The chevron's rectangle in the rebar; empty while the whole child shows.
    QRect bandChevronRectangle(int index) const;

    int rebarHeight() const;
    int rebarWidth() const;
    QWidget *rebarHwnd() const { return m_window; }
    QWidget *hwnd() const { return m_window; }
    Side position() const { return m_side; }
    void setPosition(Side side);
    bool isVisible() const;
    void setVisible(bool visible);
    // A picture drawn behind the bands, tiled; a file that does not load leaves none.
    void setImageFile(const QString &path);
    void setImagePicture(const QPixmap &picture);
    QPixmap backgroundBitmap() const { return m_background; }
    bool hasBitmap() const { return !m_background.isNull(); }

    int msgResponse() override { return WidgetFirst; }
    bool windowProc(QObject *target, QEvent *event) override;

Q_SIGNALS:
    void heightChanged(int height);
    // A band's gripper was taken with the mouse; a handler may refuse by setting *cancel.
    void beginBandDrag(int id, bool *cancel);
    // The drag ended; id is -1 when the band went away meanwhile.
    void endBandDrag(int id);
    // A band's child is about to get a new rectangle; a handler may change it.
    void bandChildResize(int id, const QRect &band, QRect *child);
    void layoutChanged();
    // The chevron's rectangle, in the parent form's coordinates.
    void chevronPushed(int id, const QRect &chevron);

private:
    struct Band {
        int id = 0;
        QVariant data;
        QPointer<QWidget> child;
        QPointer<QWidget> formerParent;
        QString text;
        bool breakLine = false;
        bool fixedSize = false;
        bool hidden = false;
        bool gripper = true;
        bool childEdge = false;
        bool chevron = true;
        int minLength = 0;    // along the bar
        int idealLength = 0;  // the whole child, along the bar
        int minThickness = 0; // across the bar
        int maxThickness = 0; // 0: no limit
        int length = 0;       // chosen by dragging, minimising or maximising; 0: ideal
        QRect rect;
        QRect chevronRect;
    };

    bool isVertical() const { return m_side == Left || m_side == Right; }
    QRect oriented(int along, int across, int length, int thickness) const;
    int headerLength(const Band &band) const;
    int minimumLength(const Band &band) const;
    int wantedLength(const Band &band) const;
    int barLength() const;
    QList<int> rowLengths(const QList<int> &row) const;
    QList<QList<int>> bandRows() const;
    QList<int> rowOf(int index) const;
    void layoutBands();
    void placeChild(Band &band, const QRect &childRect);
    bool mousePressed(const QMouseEvent &mouse);
    void dragFrom(int index, const QPoint &globalPos);
    bool mouseMoved(const QMouseEvent &mouse);
    bool resizeWithBandBefore(int index, int by);
    bool moveAcrossRows(int index, int rowStep, int alongPosition);
    qsizetype dropPosition(const QList<int> &row, int alongPosition) const;
    bool mouseReleased();
    bool mouseDoubleClicked(const QMouseEvent &mouse);
    int bandAtGripper(const QPoint &point) const;
    int lengthOf(const Band &band) const { return isVertical() ? band.rect.height() : band.rect.width(); }
    int along(const QPoint &point) const { return isVertical() ? point.y() : point.x(); }
    int across(const QPoint &point) const { return isVertical() ? point.x() : point.y(); }
    void paintBands();
    void giveBack(Band &band);
    Band *bandAt(int index);
    const Band *bandAt(int index) const;

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_parent;
    Side m_side = Top;
    QList<Band> m_bands;
    int m_lastId = 0;
    int m_thickness = 0;
    QPixmap m_background;
    // The band being dragged (-1 none), where the drag started and the lengths it and the
    // band before it had then.
    int m_dragId = -1;
    QPoint m_dragOrigin;
    int m_dragLength = 0;
    int m_dragBeforeLength = 0;
};
