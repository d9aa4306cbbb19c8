#include "toolbar/Toolbar.h"

#include "VariantKey.h"
#include "toolbar/KeyboardFilter.h"
#include "toolbar/MenuBarTracker.h"
#include "ControlError.h"
#include "IconList.h"
#include "PopupMenu.h"
#include "EventHooks.h"

#include <QApplication>
#include <QBitmap>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QToolButton>

namespace {

int s_lastButtonID = 0;

constexpr int kSeparatorWidth = 8;
constexpr int kMaxStripImages = 54;
constexpr int kTwipsPerInch = 1440;

QToolButton *toolButton(QWidget *widget)
{
    return qobject_cast<QToolButton *>(widget);
}

QString executableName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

} // namespace

Toolbar::Toolbar(QWidget *ownerForm)
    : m_owner(ownerForm)
{
    KeyboardFilter::registerToolbar(this);
}

Toolbar::~Toolbar()
{
    KeyboardFilter::unregisterToolbar(this);
    destroyToolbar();
}

int Toolbar::lastButtonId()
{
    return s_lastButtonID;
}

void Toolbar::createToolbar(int buttonSize, bool styleList, bool withText, bool wrappable)
{
    destroyToolbar();
    m_bitmapSize = buttonSize;
    m_listStyle = styleList;
    m_withText = withText;
    m_wrappable = wrappable;
    m_window = new QWidget(m_owner);
    m_window->setObjectName(QStringLiteral("cToolbarWindow"));
    loadImageStrip();
    EventHooks::instance().watchMessage(this, m_window, QEvent::Resize);
    if (m_owner)
        m_window->show();
}

void Toolbar::createFromMenu(PopupMenu *menu)
{
    if (!menu)
        return;
    if (m_window) {
        while (buttonCount() > 0)
            removeButton(buttonCount() - 1);
    } else {
        createToolbar(16, true, true, true);
    }
    const QMenu *bar = menu->hMenu(1);
    for (int i = 1; i <= menu->count(); ++i) {
        if (menu->hMenu(i) != bar)
            continue;
        const int index = addButton({}, -1, {}, 0, menu->caption(i), StyleAutosize, menu->itemKey(i));
        if (index < 0)
            continue;
        m_buttons[index].subMenu = menu->subMenu(i);
        if (!menu->isEnabled(i))
            setButtonEnabled(index, false);
    }
    m_menu = menu;
}

void Toolbar::destroyToolbar()
{
    if (m_window) {
        EventHooks::instance().unwatchMessage(this, m_window, QEvent::Resize);
        m_window->hide();
        delete m_window;
    }
    m_buttons.clear();
    m_rects.clear();
    m_textPool.clear();
    m_hot = -1;
}

int Toolbar::addButton(const QString &tip, int image, const QVariant &buttonBefore, int extraWidth,
                        const QString &text, int style, const QString &key)
{
    if (!m_window)
        return -1;
    const int before = indexOf(buttonBefore);
    const int at = before >= 0 ? before : buttonCount();

    Button button;
    button.id = ++s_lastButtonID;
    button.image = image;
    button.tip = tip;
    button.text = text;
    button.textVisible = m_withText;
    button.extraWidth = extraWidth;
    button.key = key;
    button.style = style;
    button.stringIndex = text.isEmpty() ? -1 : poolIndex(text);
    button.widget = makeButtonWidget(button);
    applyButton(button);
    m_buttons.insert(at, button);
    if (m_hot >= at)
        ++m_hot;
    resizeToolbar();
    return at;
}

void Toolbar::removeButton(const QVariant &button)
{
    const int index = indexOf(button);
    if (index < 0)
        return;
    // The button may be the sender of the click being handled right now.
    QWidget *widget = m_buttons.at(index).widget;
    widget->hide();
    widget->deleteLater();
    m_buttons.removeAt(index);
    if (m_hot == index)
        m_hot = -1;
    else if (m_hot > index)
        --m_hot;
    layoutButtons();
}

void Toolbar::setImageList(const QVariant &images, ImageListType type)
{
    IconList *list = nullptr;
    if (images.metaType() == QMetaType::fromType<IconList *>())
        list = images.value<IconList *>();
    else if (VariantKey::isPosition(images))
        list = IconList::fromHandle(images.value<qintptr>());
    else
        throw ControlError(kErrImageListArgument, QStringLiteral("cToolbar.") + executableName(),
                           QStringLiteral("ImageList property expects ImageList object or long "
                                          "hImageList handle."));
    m_imageLists[type] = list;
    applyImagesToAll();
}

void Toolbar::resizeToolbar()
{
    layoutButtons();
    if (!m_window || m_buttons.isEmpty())
        return;
    m_window->resize(toolbarWidth(), toolbarHeight());
    // A hidden window gets its resize event only when shown; the rows must fit now.
    layoutButtons();
}

void Toolbar::getDropDownPosition(int index, int &x, int &y) const
{
    const QRect rect = buttonRect(index);
    if (rect.isEmpty() || !m_owner)
        return;
    const QPoint corner = m_window->mapTo(m_owner, QPoint(rect.left(), rect.top() + rect.height()));
    x = corner.x() * kTwipsPerInch / m_owner->logicalDpiX();
    y = corner.y() * kTwipsPerInch / m_owner->logicalDpiY();
}

int Toolbar::buttonIndex(const QVariant &button) const
{
    return indexOf(button);
}

QString Toolbar::buttonKey(int index) const
{
    const Button *button = buttonAt(index);
    return button ? button->key : QString();
}

int Toolbar::buttonId(const QVariant &button) const
{
    const Button *b = buttonAt(button);
    return b ? b->id : 0;
}

int Toolbar::buttonStringIndex(const QVariant &button) const
{
    const Button *b = buttonAt(button);
    return b ? b->stringIndex : -1;
}

QString Toolbar::buttonToolTip(const QVariant &button) const
{
    const Button *b = buttonAt(button);
    return b ? b->tip : QString();
}

void Toolbar::setButtonToolTip(const QVariant &button, const QString &tip)
{
    if (Button *b = buttonAt(button)) {
        b->tip = tip;
        applyButton(*b);
    }
}

QString Toolbar::buttonCaption(const QVariant &button) const
{
    const Button *b = buttonAt(button);
    return b ? b->text : QString();
}

void Toolbar::setButtonCaption(const QVariant &button, const QString &caption)
{
    Button *b = buttonAt(button);
    if (!b)
        return;
    b->text = caption;
    b->stringIndex = caption.isEmpty() ? -1 : poolIndex(caption);
    applyButton(*b);
    layoutButtons();
}

int Toolbar::buttonImage(const QVariant &button) const
{
    const Button *b = buttonAt(button);
    return b ? b->image : -1;
}

void Toolbar::setButtonImage(const QVariant &button, int image)
{
    if (Button *b = buttonAt(button)) {
        b->image = image;
        applyButton(*b);
        layoutButtons();
    }
}

bool Toolbar::buttonTextVisible(const QVariant &button) const
{
    const Button *b = buttonAt(button);
    return b && b->textVisible;
}

void Toolbar::setButtonTextVisible(const QVariant &button, bool visible)
{
    Button *b = buttonAt(button);
    if (!b)
        return;
    // Only a list-style toolbar can show text on some buttons and not on others.
    if (m_listStyle) {
        b->textVisible = visible;
        applyButton(*b);
    } else {
        for (Button &each : m_buttons) {
            each.textVisible = visible;
            applyButton(each);
        }
    }
    resizeToolbar();
}

QChar Toolbar::buttonAccelerator(const QVariant &button) const
{
    const Button *b = buttonAt(button);
    if (!b)
        return {};
    const QString &text = b->text;
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp < 0 || amp == text.size() - 1 || text.at(amp + 1) == QLatin1Char('&'))
        return {};
    return text.at(amp + 1).toUpper();
}

bool Toolbar::buttonVisible(const QVariant &button) const
{
    return buttonAt(button) && !hasState(button, StateHidden);
}

bool Toolbar::buttonHot(const QVariant &button) const
{
    const int index = indexOf(button);
    return index >= 0 && index == m_hot;
}

void Toolbar::setButtonHot(const QVariant &button, bool hot)
{
    const int index = indexOf(button);
    if (index < 0)
        return;
    if (hot)
        changeHot(index, HotOther);
    else if (m_hot == index)
        changeHot(-1, HotOther);
}

int Toolbar::buttonWidth(const QVariant &button) const
{
    return buttonRect(indexOf(button)).width();
}

int Toolbar::buttonHeight(const QVariant &button) const
{
    return buttonRect(indexOf(button)).height();
}

QRect Toolbar::buttonRect(int index) const
{
    return m_rects.value(index);
}

int Toolbar::maxButtonWidth() const
{
    int widest = 0;
    for (const QRect &rect : m_rects)
        widest = qMax(widest, rect.width());
    return widest;
}

int Toolbar::maxButtonHeight() const
{
    int highest = 0;
    for (const QRect &rect : m_rects)
        highest = qMax(highest, rect.height());
    return highest;
}

int Toolbar::toolbarWidth() const
{
    int width = 0;
    for (const QRect &rect : m_rects)
        width += rect.width();
    return width;
}

int Toolbar::toolbarHeight() const
{
    int lowest = 0;
    for (const QRect &rect : m_rects) {
        if (!rect.isEmpty())
            lowest = qMax(lowest, rect.top() + rect.height());
    }
    return lowest;
}

int Toolbar::wrapToWidth(int width)
{
    if (!m_window)
        return 0;
    m_window->resize(width, m_window->height());
    // Laid out now: a hidden window gets its resize event only when shown.
    layoutButtons();
    m_window->resize(width, toolbarHeight());
    return toolbarHeight();
}

void Toolbar::setAutosizeButtonPadding(int padding)
{
    m_padding = padding & 0x7FFF7FFF;
    resizeToolbar();
}

void Toolbar::setListStyle(bool on)
{
    m_listStyle = on;
    for (Button &button : m_buttons)
        applyButton(button);
    resizeToolbar();
}

void Toolbar::setWrappable(bool on)
{
    m_wrappable = on;
    for (Button &button : m_buttons)
        applyButton(button);
    resizeToolbar();
}

QMenu *Toolbar::buttonSubMenu(int index) const
{
    const Button *button = buttonAt(index);
    return button ? button->subMenu.data() : nullptr;
}

QMdiArea *Toolbar::mdiClient() const
{
    return m_owner ? m_owner->findChild<QMdiArea *>() : nullptr;
}

bool Toolbar::hasMaximizedChild() const
{
    const QMdiArea *area = mdiClient();
    const QMdiSubWindow *child = area ? area->currentSubWindow() : nullptr;
    return child && child->isMaximized();
}

int Toolbar::hitTest(const QPoint &point) const
{
    if (!m_window)
        return -1;
    if (m_window->rect().contains(point)) {
        for (int i = 0; i < m_rects.size(); ++i) {
            const QRect &rect = m_rects.at(i);
            if (!rect.isEmpty() && point.x() >= rect.left() && point.x() <= rect.right())
                return i;
        }
        return -1;
    }
    return hasMaximizedChild() && systemMenuRect().contains(point) ? kSystemMenuIndex : -1;
}

QRect Toolbar::systemMenuRect() const
{
    for (const QRect &first : m_rects) {
        if (first.isEmpty())
            continue;
        const int captionHeight = m_window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        return QRect(QPoint(first.left() - captionHeight - 4, first.top()),
                     QPoint(first.left() - 3, first.bottom()));
    }
    return {};
}

bool Toolbar::handleAltKey(QChar letter)
{
    if (!m_window || !m_owner || QApplication::activeWindow() != m_owner->window())
        return false;
    const QChar wanted = letter.toUpper();
    for (int i = 0; i < buttonCount(); ++i) {
        if (buttonAccelerator(i) != wanted || !buttonVisible(i) || !buttonEnabled(i))
            continue;
        const int id = m_buttons.at(i).id;
        setButtonPressed(i, true);
        changeHot(i, HotAccelerator);
        command(i);
        setButtonPressed(indexOfID(id), false);
        return true;
    }
    return false;
}

int Toolbar::msgResponse()
{
    return EventHooks::instance().dispatchedMessage() == QEvent::MouseButtonPress
               ? HandlerDecides
               : WidgetFirst;
}

bool Toolbar::windowProc(QObject *target, QEvent *event)
{
    if (target == m_window) {
        layoutButtons();
        return false;
    }
    const int index = indexOfWidget(target);
    if (index < 0)
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        changeHot(index, HotMouse);
        return false;
    case QEvent::Leave:
        if (m_hot == index)
            changeHot(-1, HotMouse | HotLeaving);
        return false;
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (isDropDownArrow(m_buttons.at(index), mouse->position().toPoint())) {
            emit dropDownPressed(index);
            return true;
        }
        return EventHooks::instance().callPreviousProc(target, event);
    }
    default:
        return false;
    }
}

int Toolbar::indexOf(const QVariant &button) const
{
    if (!button.isValid())
        return -1;
    if (VariantKey::isPosition(button)) {
        const int index = button.toInt();
        return index >= 0 && index < buttonCount() ? index : -1;
    }
    const QString key = button.toString();
    for (int i = 0; i < buttonCount(); ++i) {
        if (!key.isEmpty() && m_buttons.at(i).key == key)
            return i;
    }
    return -1;
}

const Toolbar::Button *Toolbar::buttonAt(const QVariant &button) const
{
    const int index = indexOf(button);
    return index >= 0 ? &m_buttons.at(index) : nullptr;
}

Toolbar::Button *Toolbar::buttonAt(const QVariant &button)
{
    const int index = indexOf(button);
    return index >= 0 ? &m_buttons[index] : nullptr;
}

bool Toolbar::hasState(const QVariant &button, int state) const
{
    const Button *b = buttonAt(button);
    if (!b)
        return false;
    // The pressed look is also the user's doing, so it is read from the button itself.
    if (state == StatePressed) {
        const QToolButton *tool = toolButton(b->widget);
        return tool && tool->isDown();
    }
    return (b->state & state) != 0;
}

void Toolbar::setState(const QVariant &button, int state, bool on)
{
    Button *b = buttonAt(button);
    if (!b)
        return;
    if (state == StatePressed) {
        if (QToolButton *tool = toolButton(b->widget))
            tool->setDown(on);
        return;
    }
    if (on)
        b->state |= state;
    else
        b->state &= ~state;
    applyButton(*b);
    if (state == StateHidden || state == StateWrap)
        layoutButtons();
}

int Toolbar::poolIndex(const QString &text)
{
    const qsizetype known = m_textPool.indexOf(text);
    if (known >= 0)
        return static_cast<int>(known);
    m_textPool.append(text);
    return static_cast<int>(m_textPool.size() - 1);
}

QWidget *Toolbar::makeButtonWidget(Button &button)
{
    if (button.style & StyleSeparator) {
        auto *line = new QFrame(m_window);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        line->show();
        return line;
    }
    auto *tool = new QToolButton(m_window);
    tool->setAutoRaise(true);
    tool->setFocusPolicy(Qt::NoFocus);
    if (button.style & StyleDropDown) {
        // The arrow is drawn only for a button with a menu; presses on it are ours.
        tool->setPopupMode(QToolButton::MenuButtonPopup);
        tool->setMenu(new QMenu(tool));
    }
    connect(tool, &QToolButton::clicked, this, [this, tool] {
        const int index = indexOfWidget(tool);
        if (index < 0)
            return;
        Button &b = m_buttons[index];
        // Only a check-style button changes its check mark by being clicked.
        if (b.style & StyleCheck)
            b.state = tool->isChecked() ? (b.state | StateChecked) : (b.state & ~StateChecked);
        else
            tool->setChecked(b.state & StateChecked);
        command(index);
    });
    EventHooks &service = EventHooks::instance();
    for (QEvent::Type type : {QEvent::Enter, QEvent::Leave, QEvent::MouseButtonPress})
        service.watchMessage(this, tool, type);
    tool->show();
    return tool;
}

void Toolbar::applyButton(Button &button) const
{
    QWidget *widget = button.widget;
    widget->setEnabled(button.state & StateEnabled);
    QToolButton *tool = toolButton(widget);
    if (!tool)
        return;
    const bool showText = button.textVisible && !button.text.isEmpty();
    tool->setText(showText ? button.text : QString());
    // The accelerator letters belong to KeyboardFilter, not to the button's own mnemonic.
    tool->setShortcut(QKeySequence());
    tool->setToolTip(button.tip);
    tool->setIconSize(QSize(m_bitmapSize, m_bitmapSize));
    tool->setIcon(iconFor(button.image));
    if (!showText)
        tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
    else if (button.image < 0)
        tool->setToolButtonStyle(Qt::ToolButtonTextOnly);
    else
        tool->setToolButtonStyle(m_listStyle ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon);
    const bool checked = button.state & StateChecked;
    tool->setCheckable(checked || (button.style & StyleCheck));
    tool->setChecked(checked);
}

QIcon Toolbar::iconFor(int image) const
{
    const IconList *normal = m_imageLists[NormalImages];
    const IconList *hot = m_imageLists[HotImages];
    const IconList *disabled = m_imageLists[DisabledImages];
    if (!hot && !disabled)
        return normal ? normal->icon(image) : QIcon();
    QIcon icon;
    if (normal && normal->isValidIndex(image))
        icon.addPixmap(normal->pixmap(image), QIcon::Normal);
    if (hot && hot->isValidIndex(image))
        icon.addPixmap(hot->pixmap(image), QIcon::Active);
    if (disabled && disabled->isValidIndex(image))
        icon.addPixmap(disabled->pixmap(image), QIcon::Disabled);
    return icon;
}

void Toolbar::layoutButtons()
{
    m_rects = QList<QRect>(m_buttons.size());
    if (!m_window)
        return;
    // Plain buttons share the widest plain width; all share one height, as in a strip.
    int uniformWidth = 0;
    int rowHeight = 0;
    for (const Button &button : std::as_const(m_buttons)) {
        if (button.style & StyleSeparator)
            continue;
        const QSize hint = button.widget->sizeHint();
        rowHeight = qMax(rowHeight, hint.height());
        if (!(button.style & StyleAutosize))
            uniformWidth = qMax(uniformWidth, hint.width());
    }
    rowHeight += m_padding >> 16;

    const int available = m_window->width();
    int x = 0;
    int y = 0;
    for (int i = 0; i < m_buttons.size(); ++i) {
        const Button &button = m_buttons.at(i);
        if (button.state & StateHidden) {
            button.widget->hide();
            continue;
        }
        int width = kSeparatorWidth;
        if (!(button.style & StyleSeparator)) {
            width = (button.style & StyleAutosize) ? button.widget->sizeHint().width() : uniformWidth;
            width += button.extraWidth + (m_padding & 0xFFFF);
        }
        if (m_wrappable && x > 0 && x + width > available) {
            x = 0;
            y += rowHeight;
        }
        m_rects[i] = QRect(x, y, width, rowHeight);
        button.widget->setGeometry(m_rects.at(i));
        // Cut off by a short window (a rebar band's), a button would look usable with part
        // of it missing: the band's chevron offers it instead. A wrapped row has nowhere
        // else to put a button wider than the window.
        button.widget->setVisible(m_wrappable || m_rects.at(i).right() < available);
        x += width;
        if (button.state & StateWrap) {
            x = 0;
            y += rowHeight;
        }
    }
}

void Toolbar::applyImagesToAll()
{
    for (Button &button : m_buttons)
        applyButton(button);
    layoutButtons();
}

void Toolbar::loadImageStrip()
{
    if (m_imageLists[NormalImages] == m_stripImages.get())
        m_imageLists[NormalImages] = nullptr;
    m_stripImages.reset();
    QPixmap strip;
    if (m_imageSource == BitmapFile)
        strip.load(m_imageFile);
    else if (m_imageSource == Picture)
        strip = m_imagePicture;
    if (strip.isNull() || m_bitmapSize <= 0)
        return;
    // The strip's top-left colour is its ground, shown as no colour at all.
    const QImage image = strip.toImage();
    strip.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, 0), Qt::MaskInColor)));
    m_stripImages = std::make_unique<IconList>(m_bitmapSize, m_bitmapSize);
    const int count = qMin(kMaxStripImages, strip.width() / m_bitmapSize);
    for (int i = 0; i < count; ++i)
        m_stripImages->addIcon(QIcon(strip.copy(i * m_bitmapSize, 0, m_bitmapSize, m_bitmapSize)));
    m_imageLists[NormalImages] = m_stripImages.get();
}

void Toolbar::changeHot(int index, int reason)
{
    if (index == m_hot)
        return;
    const int old = m_hot;
    m_hot = index;
    // Hot is drawn as the hover look, whoever made the button hot.
    if (const Button *previous = buttonAt(old)) {
        previous->widget->setAttribute(Qt::WA_UnderMouse, false);
        previous->widget->update();
    }
    if (const Button *current = buttonAt(index)) {
        current->widget->setAttribute(Qt::WA_UnderMouse, true);
        current->widget->update();
    }
    emit hotItemChanged(index, old, reason);
}

void Toolbar::command(int index)
{
    if (buttonSubMenu(index)) {
        dropMenu(index);
        return;
    }
    const int id = m_buttons.at(index).id;
    const bool wasPressed = buttonPressed(index);
    setButtonPressed(index, true);
    emit buttonClicked(index);
    // The handler may have added or removed buttons.
    setButtonPressed(indexOfID(id), wasPressed);
}

void Toolbar::dropMenu(int index)
{
    const int id = m_buttons.at(index).id;
    setButtonPressed(index, true);
    emit buttonClicked(index);
    trackMenu(index);
    setButtonPressed(indexOfID(id), false);
}

void Toolbar::trackMenu(int index)
{
    if (!m_tracker)
        m_tracker = std::make_unique<MenuBarTracker>();
    if (m_menu)
        m_menu->createSubClass(m_owner);
    m_tracker->init(m_owner, this);
    const int chosen = m_tracker->track(index);
    const bool leftByEscape = m_tracker->state() == MenuBarTracker::Hot;
    const int last = m_tracker->currentIndex();
    m_tracker->done();
    if (m_menu) {
        if (chosen != 0)
            m_menu->emulateMenuClick(chosen);
        m_menu->destroySubClass();
    }
    // Escape out of a menu leaves the menu bar in keyboard mode on that menu's button.
    if (leftByEscape)
        KeyboardFilter::enterMenuBarMode(this, last);
}

QList<int> Toolbar::buttonsBeyond(int visibleLength) const
{
    QList<int> beyond;
    for (int i = 0; i < buttonCount(); ++i) {
        const QRect rect = buttonRect(i);
        if (buttonVisible(i) && !rect.isEmpty() && rect.right() >= visibleLength)
            beyond.append(i);
    }
    return beyond;
}

void Toolbar::popupButtonsBeyond(int visibleLength, const QPoint &globalPos)
{
    QMenu popup;
    for (const int i : buttonsBeyond(visibleLength)) {
        const Button &button = m_buttons.at(i);
        if (button.style & StyleSeparator) {
            popup.addSeparator();
            continue;
        }
        QAction *action
            = popup.addAction(iconFor(button.image), button.text.isEmpty() ? button.tip : button.text);
        action->setEnabled(buttonEnabled(i));
        action->setCheckable(button.style & StyleCheck);
        action->setChecked(buttonChecked(i));
        action->setData(button.id);
    }
    if (const QAction *chosen = popup.exec(globalPos)) {
        const int index = indexOfID(chosen->data().toInt());
        if (index >= 0)
            command(index);
    }
}

void Toolbar::openButtonMenu(int index)
{
    if (buttonSubMenu(index))
        dropMenu(index);
}

bool Toolbar::isDropDownArrow(const Button &button, const QPoint &point) const
{
    QToolButton *tool = toolButton(button.widget);
    if (!tool || !(button.style & StyleDropDown))
        return false;
    QStyleOptionToolButton option;
    option.initFrom(tool);
    option.subControls = QStyle::SC_ToolButton | QStyle::SC_ToolButtonMenu;
    option.features = QStyleOptionToolButton::MenuButtonPopup | QStyleOptionToolButton::HasMenu;
    const QRect arrow = tool->style()->subControlRect(QStyle::CC_ToolButton, &option,
                                                      QStyle::SC_ToolButtonMenu, tool);
    return arrow.contains(point);
}

int Toolbar::indexOfID(int id) const
{
    for (int i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons.at(i).id == id)
            return i;
    }
    return -1;
}

int Toolbar::indexOfWidget(const QObject *widget) const
{
    for (int i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons.at(i).widget == widget)
            return i;
    }
    return -1;
}
