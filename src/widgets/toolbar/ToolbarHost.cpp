#include "toolbar/ToolbarHost.h"

#include "OleColor.h"
#include "PropertyBag.h"
#include "toolbar/MdiMenuBarAdapter.h"
#include "toolbar/Toolbar.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr int kGap = 2;
constexpr int kRowGap = 3;
constexpr int kIconSize = 16;
constexpr int kIconItemWidth = kIconSize + 4;

const QString kBackColorKey = QStringLiteral("BackColor");
const QString kBorderStyleKey = QStringLiteral("BorderStyle");
const QString kMDIToolbarKey = QStringLiteral("MDIToolbar");
constexpr quint32 kDefaultBackColor = OleColor::ButtonFace;
constexpr int kDefaultBorderStyle = 1;

} // namespace

ToolbarHost::ToolbarHost(QWidget *parent)
    : QFrame(parent)
    , m_icon(new QLabel(this))
    , m_caption{makeCaptionButton(QStyle::SP_TitleBarMinButton),
                makeCaptionButton(QStyle::SP_TitleBarNormalButton),
                makeCaptionButton(QStyle::SP_TitleBarCloseButton)}
    , m_backColor(kDefaultBackColor)
{
    m_icon->hide();
    m_icon->setAlignment(Qt::AlignCenter);
    m_icon->installEventFilter(this);
    for (CaptionButton which : {Minimize, Restore, Close})
        connect(m_caption[which], &QToolButton::clicked, this, [this, which] { actOnChild(which); });
    setBorderStyle(kDefaultBorderStyle);
}

// The adapter reports a last change as it goes, which must not reach a host half gone.
ToolbarHost::~ToolbarHost()
{
    if (m_mdiMenu)
        m_mdiMenu->disconnect(this);
}

void ToolbarHost::capture(Toolbar *toolbar)
{
    if (!toolbar)
        return;
    Captured item;
    item.toolbar = toolbar;
    item.window = toolbar->hwnd();
    if (item.window) {
        item.formerParent = item.window->parentWidget();
        item.window->setParent(this);
        item.window->show();
        item.width = item.window->width();
    }
    m_captured.append(item);
    layoutItems();
}

void ToolbarHost::capture(QWidget *control)
{
    if (!control)
        return;
    Captured item;
    item.window = control;
    item.formerParent = control->parentWidget();
    item.width = control->width();
    control->setParent(this);
    control->show();
    m_captured.append(item);
    layoutItems();
}

void ToolbarHost::releaseCaptures()
{
    for (const Captured &item : std::as_const(m_captured)) {
        if (item.toolbar && item.window) {
            item.window->setParent(item.formerParent);
            item.window->show();
        }
    }
    m_captured.clear();
    layoutItems();
}

void ToolbarHost::refresh()
{
    layoutItems();
}

void ToolbarHost::autosize()
{
    layoutItems();
    update();
}

void ToolbarHost::setMdiToolbar(bool on)
{
    m_mdiToolbar = on;
    if (on) {
        m_mdiMenu = std::make_unique<MdiMenuBarAdapter>();
        connect(m_mdiMenu.get(), &MdiMenuBarAdapter::maximizedStateChanged, this, &ToolbarHost::maximizedStateChanged);
        m_mdiMenu->attach(window());
    } else {
        m_mdiMenu.reset();
        maximizedStateChanged(nullptr, false);
    }
}

void ToolbarHost::setBorderStyle(int style)
{
    m_borderStyle = style;
    setFrameStyle(style == 0 ? QFrame::NoFrame : (QFrame::Panel | QFrame::Sunken));
    setLineWidth(1);
    layoutItems();
}

void ToolbarHost::setBackColor(quint32 oleColor)
{
    m_backColor = oleColor;
    update();
}

void ToolbarHost::readProperties(const PropertyBag &bag)
{
    setBackColor(bag.readProperty(kBackColorKey, kDefaultBackColor).toUInt());
    setBorderStyle(bag.readProperty(kBorderStyleKey, kDefaultBorderStyle).toInt());
    setMdiToolbar(bag.readProperty(kMDIToolbarKey, false).toBool());
}

void ToolbarHost::writeProperties(PropertyBag &bag) const
{
    bag.writeProperty(kBackColorKey, m_backColor, kDefaultBackColor);
    bag.writeProperty(kBorderStyleKey, m_borderStyle, kDefaultBorderStyle);
    bag.writeProperty(kMDIToolbarKey, m_mdiToolbar, false);
}

void ToolbarHost::maximizedStateChanged(QMdiSubWindow *child, bool maximized)
{
    m_activeChild = child;
    m_showCaption = child && maximized;
    if (m_showCaption) {
        QIcon icon = child->windowIcon();
        if (icon.isNull())
            icon = style()->standardIcon(QStyle::SP_TitleBarMenuButton);
        m_icon->setPixmap(icon.pixmap(kIconSize, kIconSize));
    }
    m_icon->setVisible(m_showCaption);
    for (QToolButton *button : m_caption)
        button->setVisible(m_showCaption);
    layoutItems();
}

QWidget *ToolbarHost::childIcon() const
{
    return m_icon;
}

QToolButton *ToolbarHost::captionButtonWidget(CaptionButton which) const
{
    return m_caption[which];
}

void ToolbarHost::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutItems();
}

void ToolbarHost::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // A button at the edge must not paint over the host's own border.
    painter.setClipRect(contentsRect());
    const QColor back = OleColor::translate(m_backColor);
    // The toolbars are transparent; the back colour shows only right behind their buttons.
    for (const Captured &item : std::as_const(m_captured)) {
        if (!item.toolbar || !item.window)
            continue;
        for (int i = 0; i < item.toolbar->buttonCount(); ++i) {
            const QRect button = item.toolbar->buttonRect(i);
            if (!button.isEmpty())
                painter.fillRect(button.adjusted(-2, -1, 2, 1).translated(item.window->pos()), back);
        }
    }
}

bool ToolbarHost::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_icon && event->type() == QEvent::MouseButtonPress) {
        openSystemMenu();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

QToolButton *ToolbarHost::makeCaptionButton(QStyle::StandardPixmap pixmap)
{
    auto *button = new QToolButton(this);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(style()->standardIcon(pixmap));
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize) + 2;
    button->setFixedSize(side, side);
    button->hide();
    return button;
}

void ToolbarHost::layoutItems()
{
    const QRect area = contentsRect();
    const int captionWidth = m_showCaption ? 3 * m_caption[0]->width() + kGap : 0;
    int x = kGap;
    int y = 0;
    int rowHeight = 0;
    int firstRowHeight = 0;
    int lowest = 0;
    bool placed = false;
    bool firstRow = true;

    const auto limit = [&] { return area.width() - (firstRow ? captionWidth : 0); };
    const auto newRow = [&] {
        if (firstRow)
            firstRowHeight = rowHeight;
        firstRow = false;
        y += rowHeight + kRowGap;
        x = kGap;
        rowHeight = 0;
    };
    const auto put = [&](QWidget *widget, int width, int height) {
        widget->setGeometry(area.left() + x, area.top() + y, width, height);
        x += width + kGap;
        rowHeight = qMax(rowHeight, height);
        lowest = qMax(lowest, y + height);
        placed = true;
    };
    const auto place = [&](QWidget *widget, int width, int height) {
        if (x > kGap && x + width > limit())
            newRow();
        put(widget, width, height);
    };
    // A wrappable toolbar that does not fit takes the rest of the row and wraps its buttons
    // there, as a menu bar does in a narrow window; a new row only when not one button fits.
    const auto placeWrapping = [&](Toolbar &toolbar, QWidget *window) {
        const int natural = toolbar.toolbarWidth();
        if (x + natural <= limit()) {
            put(window, natural, toolbar.wrapToWidth(natural));
            return;
        }
        if (x > kGap && limit() - x < toolbar.maxButtonWidth())
            newRow();
        const int width = qMax(limit() - x, toolbar.maxButtonWidth());
        put(window, width, toolbar.wrapToWidth(width));
    };

    if (m_showCaption)
        place(m_icon, kIconItemWidth, m_caption[0]->height());
    for (Captured &item : m_captured) {
        if (!item.window)
            continue;
        if (item.toolbar && item.toolbar->wrappable())
            placeWrapping(*item.toolbar, item.window);
        else if (item.toolbar)
            place(item.window, item.toolbar->toolbarWidth(), item.toolbar->toolbarHeight());
        else
            place(item.window, item.width, item.window->height());
    }
    if (firstRow)
        firstRowHeight = rowHeight;
    m_requiredHeight = placed ? lowest + 2 * frameWidth() : 0;
    placeCaptionButtons(firstRowHeight);
    update();
}

void ToolbarHost::placeCaptionButtons(int rowHeight)
{
    if (!m_showCaption)
        return;
    const QRect area = contentsRect();
    const int side = m_caption[0]->width();
    int x = area.right() + 1 - kGap - 3 * side;
    const int y = area.top() + (rowHeight - side) / 2;
    for (QToolButton *button : m_caption) {
        button->move(x, y);
        button->raise();
        x += side;
    }
}

void ToolbarHost::openSystemMenu()
{
    // Through the menu bar, so that the arrow keys lead on into its menus.
    for (const Captured &item : std::as_const(m_captured)) {
        if (item.toolbar && item.toolbar->menu()) {
            item.toolbar->trackMenu(Toolbar::kSystemMenuIndex);
            return;
        }
    }
    if (m_activeChild && m_activeChild->systemMenu())
        m_activeChild->systemMenu()->exec(m_icon->mapToGlobal(QPoint(0, m_icon->height())));
}

void ToolbarHost::actOnChild(CaptionButton which)
{
    QMdiSubWindow *child = m_activeChild;
    if (!child)
        return;
    // Later, as a posted message would: closing deletes the child and this host's reason
    // to show the button.
    QMetaObject::invokeMethod(child, [child, which] {
        switch (which) {
        case Minimize:
            child->showMinimized();
            break;
        case Restore:
            child->showNormal();
            break;
        case Close:
            child->close();
            break;
        }
    }, Qt::QueuedConnection);
}
