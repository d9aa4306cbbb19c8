#pragma once

#include "EventHook.h"

#include <QList>
#include <QMenu>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QVariant>

#include <memory>

class IconList;
class PopupMenu;
class QMdiArea;
class QWidget;
class MenuBarTracker;

// A toolbar of flat buttons drawn in a window of its own, created on the owner form.
// Buttons are addressed by a zero-based index or by their key (a QVariant holding a number
// is an index, anything else a key). Built from a PopupMenu with createFromMenu, the
// toolbar is a menu bar whose text buttons drop their menus. A toolbar that does not wrap
// shows only the buttons that fit its window whole.
class Toolbar : public QObject, public EventHook
{
    Q_OBJECT

public:
    enum ButtonStyle {
        StyleButton = 0x00,
        StyleSeparator = 0x01,
        StyleCheck = 0x02,
        StyleDropDown = 0x08,
        StyleAutosize = 0x10,
    };
    enum ButtonState {
        StateChecked = 0x01,
        StatePressed = 0x02,
        StateEnabled = 0x04,
        StateHidden = 0x08,
        StateWrap = 0x20,
        StateEllipses = 0x40,
    };
    enum ImageListType { NormalImages, HotImages, DisabledImages };
    // Where createToolbar takes the button images from. A bitmap file or picture is a strip
    // of square images, ButtonSize wide each; its top-left colour is transparent.
    enum ImageSourceKind { NoImageSource = -1, BitmapFile = 1, ImageLists = 2, Picture = 3 };
    // Why the hot button changed, as passed with hotItemChanged.
    enum HotItemReason { HotOther = 0x00, HotMouse = 0x01, HotAccelerator = 0x04, HotLeaving = 0x20 };

    // The index that stands for the system menu of a maximized MDI child.
    static constexpr int kSystemMenuIndex = 32767;
    static constexpr int kErrImageListArgument = 1049;

    explicit Toolbar(QWidget *ownerForm);
    ~Toolbar() override;

    void createToolbar(int buttonSize = 16, bool styleList = false, bool withText = false,
                       bool wrappable = false);
    void createFromMenu(PopupMenu *menu);
    void destroyToolbar();
    // Returns the new button's index, -1 without a toolbar window.
    int addButton(const QString &tip = {}, int image = -1, const QVariant &buttonBefore = {},
                  int extraWidth = 0, const QString &text = {}, int style = StyleButton,
                  const QString &key = {});
    void removeButton(const QVariant &button);
    // images: an IconList*, or the hImageList handle of one; anything else is refused
    // with error 1049.
    void setImageList(const QVariant &images, ImageListType type = NormalImages);
    void resizeToolbar();
    // The button's bottom-left corner in the owner form, in twips.
    void getDropDownPosition(int index, int &x, int &y) const;
    void raiseButtonClick(int index) { emit buttonClicked(index); }

    int buttonCount() const { return static_cast<int>(m_buttons.size()); }
    int buttonIndex(const QVariant &button) const;
    QString buttonKey(int index) const;
    int buttonId(const QVariant &button) const;
    // The button's entry in the text pool; equal texts share one; -1 without text.
    int buttonStringIndex(const QVariant &button) const;
    QString buttonToolTip(const QVariant &button) const;
    void setButtonToolTip(const QVariant &button, const QString &tip);
    QString buttonCaption(const QVariant &button) const;
    void setButtonCaption(const QVariant &button, const QString &caption);
    int buttonImage(const QVariant &button) const;
    void setButtonImage(const QVariant &button, int image);
    bool buttonTextVisible(const QVariant &button) const;
    void setButtonTextVisible(const QVariant &button, bool visible);
    // The character after the caption's first single "&", upper-cased; null when none.
    QChar buttonAccelerator(const QVariant &button) const;

    bool buttonEnabled(const QVariant &button) const { return hasState(button, StateEnabled); }
    void setButtonEnabled(const QVariant &button, bool on) { setState(button, StateEnabled, on); }
    bool buttonChecked(const QVariant &button) const { return hasState(button, StateChecked); }
    void setButtonChecked(const QVariant &button, bool on) { setState(button, StateChecked, on); }
    bool buttonPressed(const QVariant &button) const { return hasState(button, StatePressed); }
    void setButtonPressed(const QVariant &button, bool on) { setState(button, StatePressed, on); }
    bool buttonTextWrap(const QVariant &button) const { return hasState(button, StateWrap); }
    void setButtonTextWrap(const QVariant &button, bool on) { setState(button, StateWrap, on); }
    bool buttonTextEllipses(const QVariant &button) const { return hasState(button, StateEllipses); }
    void setButtonTextEllipses(const QVariant &button, bool on) { setState(button, StateEllipses, on); }
    bool buttonVisible(const QVariant &button) const;
    void setButtonVisible(const QVariant &button, bool visible) { setState(button, StateHidden, !visible); }
    bool buttonHot(const QVariant &button) const;
    void setButtonHot(const QVariant &button, bool hot);

    int buttonWidth(const QVariant &button) const;
    int buttonHeight(const QVariant &button) const;
    // The button's rectangle in the toolbar window; empty for a hidden or missing button.
    QRect buttonRect(int index) const;
    int maxButtonWidth() const;
    int maxButtonHeight() const;
    int toolbarWidth() const;
    int toolbarHeight() const;
    // A wrappable toolbar's rows at that width; returns the height they need.
    int wrapToWidth(int width);
    int autosizeButtonPadding() const { return m_padding & 0x7FFF; }
    void setAutosizeButtonPadding(int padding);
    void setImageSource(int source) { m_imageSource = source; }
    void setImageFile(const QString &path) { m_imageFile = path; }
    void setImagePicture(const QPixmap &picture) { m_imagePicture = picture; }

    bool listStyle() const { return m_listStyle; }
    void setListStyle(bool on);
    bool wrappable() const { return m_wrappable; }
    void setWrappable(bool on);

    QWidget *hwnd() const { return m_window; }
    QWidget *ownerForm() const { return m_owner; }
    PopupMenu *menu() const { return m_menu; }
    QMenu *buttonSubMenu(int index) const;
    // The owner form's MDI area and whether its active child is maximized.
    QMdiArea *mdiClient() const;
    bool hasMaximizedChild() const;
    // The button at a point of the toolbar window: kSystemMenuIndex in the strip left of
    // the first button while a child is maximized, -1 elsewhere.
    int hitTest(const QPoint &point) const;
    QRect systemMenuRect() const;

    // Drops the menus from that button (or the maximized child's system menu) until the
    // user chooses or leaves; a chosen command reaches the menu object's Click.
    void trackMenu(int index);
    // As a click on a menu button would: the button pressed while its menu is open.
    void openButtonMenu(int index);

    // The buttons that do not show whole within that length from the toolbar's start, as
    // a rebar band's chevron offers them; the popup clicks the one chosen.
    QList<int> buttonsBeyond(int visibleLength) const;
    void popupButtonsBeyond(int visibleLength, const QPoint &globalPos);

    // Alt+letter from KeyboardFilter: clicks the button with that accelerator letter
    // while the owner form is the active window. Returns whether it did.
    bool handleAltKey(QChar letter);

    int msgResponse() override;
    bool windowProc(QObject *target, QEvent *event) override;

    // Identifiers are shared by all toolbars of the process and never reused.
    static int lastButtonId();

Q_SIGNALS:
    void buttonClicked(int index);
    void dropDownPressed(int index);
    void hotItemChanged(int newIndex, int oldIndex, int reason);

private:
    struct Button {
        int id = 0;
        int image = -1;
        QString tip;
        QString text;
        bool textVisible = false;
        int extraWidth = 0;
        QString key;
        int style = StyleButton;
        QPointer<QMenu> subMenu;
        int stringIndex = -1;
        int state = StateEnabled;
        QWidget *widget = nullptr;
    };

    int indexOf(const QVariant &button) const;
    const Button *buttonAt(const QVariant &button) const;
    Button *buttonAt(const QVariant &button);
    bool hasState(const QVariant &button, int state) const;
    void setState(const QVariant &button, int state, bool on);
    int poolIndex(const QString &text);
    QWidget *makeButtonWidget(Button &button);
    void applyButton(Button &button) const;
    QIcon iconFor(int image) const;
    QSize buttonSize(const Button &button) const;
    void layoutButtons();
    void applyImagesToAll();
    void loadImageStrip();
    void changeHot(int index, int reason);
    void command(int index);
    void dropMenu(int index);
    bool isDropDownArrow(const Button &button, const QPoint &point) const;
    int indexOfID(int id) const;
    int indexOfWidget(const QObject *widget) const;

    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_window;
    QList<Button> m_buttons;
    QList<QString> m_textPool;
    IconList *m_imageLists[3] = {nullptr, nullptr, nullptr};
    int m_imageSource = NoImageSource;
    QString m_imageFile;
    QPixmap m_imagePicture;
    std::unique_ptr<IconList> m_stripImages;
    int m_bitmapSize = 16;
    bool m_withText = false;
    bool m_listStyle = false;
    bool m_wrappable = false;
    int m_padding = 0;
    int m_hot = -1;
    PopupMenu *m_menu = nullptr;
    std::unique_ptr<MenuBarTracker> m_tracker;
    QList<QRect> m_rects;
};
