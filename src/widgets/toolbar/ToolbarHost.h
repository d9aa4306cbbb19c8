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
// MDI menu bar (MDIToolbar) it also shows the icon of a maximized child, which opens the
// child's system menu, and minimize, restore and close buttons acting on that child.
class ToolbarHost : public QFrame
{
    Q_OBJECT

public:
    enum CaptionButton { Minimize, Restore, Close };

    explicit ToolbarHost(QWidget *parent = nullptr);
    ~ToolbarHost() override;

    // A toolbar is as wide as its visible buttons; it goes back to its former parent on
    // ReleaseCaptures. A toolbar without a window is recorded but not placed.
    void Capture(Toolbar *toolbar);
    // Any other control keeps the width it has now.
    void Capture(QWidget *control);
    void ReleaseCaptures();
    void Refresh();
    void Autosize();
    int RequiredHeight() const { return m_requiredHeight; }
    int CapturedCount() const { return static_cast<int>(m_captured.size()); }

    bool MDIToolbar() const { return m_mdiToolbar; }
    void setMDIToolbar(bool on);
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    // An OLE colour: 0x00BBGGRR, or a system colour such as button face (the default).
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 oleColor);
    QWidget *hwnd() { return this; }

    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    // From MdiMenuBarAdapter whenever the active child or its maximized state changes.
    void MaximizedStateChanged(QMdiSubWindow *child, bool maximized);
    QMdiSubWindow *ActiveChild() const { return m_activeChild; }
    bool ShowsChildIcon() const { return m_showCaption; }
    QWidget *ChildIcon() const;
    QToolButton *CaptionButtonWidget(CaptionButton which) const;

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
    QLabel *m_picIcon;
    QToolButton *m_caption[3];
    QPointer<QMdiSubWindow> m_activeChild;
    std::unique_ptr<MdiMenuBarAdapter> m_mdiMenu;
    bool m_mdiToolbar = false;
    bool m_showCaption = false;
    int m_borderStyle = 1;
    quint32 m_backColor;
    int m_requiredHeight = 0;
};
