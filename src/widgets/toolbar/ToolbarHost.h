#pragma once

#include <QFrame>
#include <QList>
#include <QPointer>
#include <QMdiSubWindow>
#include <QStyle>

#include <memory>

class PropertyBag;
class QLabel;
class QToolButton;
class MdiMenuBarAdapter;
class Toolbar;

// A strip that holds toolbars and other controls side by side, wrapping into rows. As the
// MDI menu bar (mdiToolbar) it also shows the icon of a maximized child, which opens the
// child's system menu, and minimize, restore and close buttons acting on that child.
class ToolbarHost : public QFrame
{
    Q_OBJECT

public:
    enum CaptionButton { Minimize, Restore, Close };

    explicit ToolbarHost(QWidget *parent = nullptr);
    ~ToolbarHost() override;

    // A toolbar is as wide as its visible buttons; it goes back to its former parent on
    // releaseCaptures. A toolbar without a window is recorded but not placed.
    void capture(Toolbar *toolbar);
    // Any other control keeps the width it has now.
    void capture(QWidget *control);
    void releaseCaptures();
    void refresh();
    void autosize();
    int requiredHeight() const { return m_requiredHeight; }
    int capturedCount() const { return static_cast<int>(m_captured.size()); }

    bool mdiToolbar() const { return m_mdiToolbar; }
    void setMdiToolbar(bool on);
    int borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    // An OLE colour: 0x00BBGGRR, or a system colour such as button face (the default).
    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 oleColor);
    QWidget *hwnd() { return this; }

    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    // Whenever the active child or its maximized state changes.
    void maximizedStateChanged(QMdiSubWindow *child, bool maximized);
    QMdiSubWindow *activeChild() const { return m_activeChild; }
    bool showsChildIcon() const { return m_showCaption; }
    QWidget *childIcon() const;
    QToolButton *captionButtonWidget(CaptionButton which) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Captured {
        QPointer<Toolbar> toolbar;
        QPointer<QWidget> window;
        QPointer<QWidget> formerParent;
        int width = 0;
    };

    QToolButton *makeCaptionButton(QStyle::StandardPixmap pixmap);
    void layoutItems();
    void placeCaptionButtons(int rowHeight);
    void openSystemMenu();
    void actOnChild(CaptionButton which);

    QList<Captured> m_captured;
    QLabel *m_icon;
    QToolButton *m_caption[3];
    QPointer<QMdiSubWindow> m_activeChild;
    std::unique_ptr<MdiMenuBarAdapter> m_mdiMenu;
    bool m_mdiToolbar = false;
    bool m_showCaption = false;
    int m_borderStyle = 1;
    quint32 m_backColor;
    int m_requiredHeight = 0;
};
