#include "StatusBar.h"

#include "ControlError.h"
#include "IconList.h"
#include "ImageListArgument.h"
#include "ProgramFile.h"
#include "PropertyBag.h"
#include "VariantKey.h"

#include <QDate>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QTime>
#include <QToolTip>
#include <qdrawutil.h>

namespace {

enum StatusError { InvalidImageList = 1049, InvalidPanelIndex = 1050, TooManyPanels = 1051 };

constexpr int kIdealPadding = 12;
constexpr int kSelfUpdatingPadding = 8;
constexpr int kPanelGap = 2;
constexpr int kPanelTop = 2;
constexpr int kTextInset = 4;

bool isSelfUpdating(int style)
{
    return style > StatusBar::OwnerDraw;
}

bool isOwnerDrawn(int style)
{
    return style == StatusBar::OwnerDraw;
}

QString controlSource()
{
    return ProgramFile::errorSource(u"zebStatusBar");
}

QFont defaultFont()
{
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

QString mediumDate()
{
    return QLocale().toString(QDate::currentDate(), QStringLiteral("dd-MMM-yy"));
}

QString shortTime()
{
    return QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
}

void drawBorder(QPainter &painter, const QRect &rect, int style, const QPalette &palette)
{
    if (style & StatusBar::NoBorders)
        return;
    qDrawShadePanel(&painter, rect, palette, !(style & StatusBar::Raised), 1);
}

} // namespace

StatusBar::StatusBar(QWidget *parent)
    : QStatusBar(parent)
    , m_keyState(&KeyboardState::isOn)
{
    setSizeGripEnabled(true);
    setFont(defaultFont());
    setBackColor(OleColor::ButtonFace);
}

int StatusBar::addPanel(int style, const QString &text, const QString &toolTipText, int imageIndex,
    int minWidth, bool spring, bool fitContents, qint32 itemData, const QString &key,
    const QVariant &keyBefore)
{
    if (panelCount() >= MaxPanels)
        throw ControlError(TooManyPanels, controlSource(), QStringLiteral("Too many panels."));

    Panel panel;
    panel.key = key;
    panel.itemData = itemData;
    panel.imageIndex = imageIndex;
    panel.text = text;
    panel.toolTip = toolTipText;
    panel.minWidth = minWidth;
    panel.fitContents = fitContents;
    panel.style = style;
    if (isSelfUpdating(style)) {
        panel.fitContents = true;
        panel.text = selfUpdatingText(style);
        panel.state = selfUpdatingState(style);
        panel.minWidth = textWidth(panel.text) + kSelfUpdatingPadding;
    }
    if (m_imageList && m_imageList->isValidIndex(imageIndex))
        panel.icon = m_imageList->icon(imageIndex);
    computeIdealWidth(panel);

    const int index = insertPosition(keyBefore);
    m_panels.insert(index, panel);
    if (spring)
        makeSpring(index);
    layoutPanels();
    startOrStopTimer();
    return index + 1;
}

void StatusBar::removePanel(const QVariant &key)
{
    m_panels.removeAt(require(key));
    layoutPanels();
}

int StatusBar::panelIndex(const QVariant &key) const
{
    return require(key) + 1;
}

QString StatusBar::panelKey(int index) const
{
    return m_panels.at(require(index)).key;
}

void StatusBar::setPanelKey(int index, const QString &key)
{
    m_panels[require(index)].key = key;
}

QString StatusBar::panelText(const QVariant &key) const
{
    return m_panels.at(require(key)).text;
}

void StatusBar::setPanelText(const QVariant &key, const QString &text)
{
    const int index = require(key);
    m_panels[index].text = text;
    update(panelArea(index));
}

QString StatusBar::panelToolTipText(const QVariant &key) const
{
    return m_panels.at(require(key)).toolTip;
}

void StatusBar::setPanelToolTipText(const QVariant &key, const QString &text)
{
    m_panels[require(key)].toolTip = text;
}

bool StatusBar::panelSpring(const QVariant &key) const
{
    return m_panels.at(require(key)).spring;
}

void StatusBar::setPanelSpring(const QVariant &key, bool spring)
{
    const int index = require(key);
    if (spring)
        makeSpring(index);
    else
        m_panels[index].spring = false;
    for (Panel &panel : m_panels)
        computeIdealWidth(panel);
    layoutPanels();
}

bool StatusBar::panelFitToContents(const QVariant &key) const
{
    return m_panels.at(require(key)).fitContents;
}

void StatusBar::setPanelFitToContents(const QVariant &key, bool fit)
{
    m_panels[require(key)].fitContents = fit;
    layoutPanels();
}

int StatusBar::panelIcon(const QVariant &key) const
{
    return m_panels.at(require(key)).imageIndex;
}

void StatusBar::setPanelIcon(const QVariant &key, int imageIndex)
{
    const int index = require(key);
    m_panels[index].imageIndex = imageIndex;
    setPanelhIcon(index + 1, m_imageList ? m_imageList->icon(imageIndex) : QIcon());
}

QIcon StatusBar::panelhIcon(const QVariant &key) const
{
    return m_panels.at(require(key)).icon;
}

void StatusBar::setPanelhIcon(const QVariant &key, const QIcon &icon)
{
    Panel &panel = m_panels[require(key)];
    panel.icon = icon;
    computeIdealWidth(panel);
    layoutPanels();
}

int StatusBar::panelStyle(const QVariant &key) const
{
    return m_panels.at(require(key)).style;
}

void StatusBar::setPanelStyle(const QVariant &key, int style)
{
    const int index = require(key);
    m_panels[index].style = style;
    update(panelArea(index));
}

int StatusBar::panelMinWidth(const QVariant &key) const
{
    return m_panels.at(require(key)).minWidth;
}

int StatusBar::panelIdealWidth(const QVariant &key) const
{
    return m_panels.at(require(key)).idealWidth;
}

void StatusBar::setPanelIdealWidth(const QVariant &key, int width)
{
    m_panels[require(key)].idealWidth = width;
    layoutPanels();
}

int StatusBar::panelWidth(const QVariant &key) const
{
    return m_panels.at(require(key)).width;
}

QRect StatusBar::panelRect(const QVariant &key) const
{
    return panelArea(require(key));
}

void StatusBar::redrawPanel(const QVariant &key)
{
    repaint(panelArea(require(key)));
}

void StatusBar::setSimpleMode(bool simple)
{
    m_simpleMode = simple;
    update();
}

void StatusBar::setSimpleText(const QString &text)
{
    m_simpleText = text;
    update();
}

void StatusBar::setSimpleStyle(int style)
{
    m_simpleStyle = style;
    update();
}

void StatusBar::setBackColor(quint32 oleColor)
{
    m_backColor = oleColor;
    const QColor colour = OleColor::translate(oleColor);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour.isValid() ? colour : QPalette().color(QPalette::Window));
    setPalette(pal);
    setAutoFillBackground(true);
}

void StatusBar::setImageList(IconList *imageList)
{
    m_imageList = imageList;
    layoutPanels();
}

void StatusBar::setImageList(const QVariant &imageList)
{
    const std::optional<IconList *> list = ImageListArgument::resolve(imageList);
    setImageList(list.value_or(nullptr));
    if (!list)
        throw ControlError(InvalidImageList, controlSource(),
            QStringLiteral("ImageList property expects ImageList object or long hImageList handle."));
}

int StatusBar::selfUpdateTimerInterval() const
{
    return m_timer ? m_timer->interval() : 0;
}

void StatusBar::setKeyStateReader(KeyStateReader reader)
{
    m_keyState = std::move(reader);
}

void StatusBar::readProperties(const PropertyBag &bag)
{
    setSizeGrip(bag.readProperty(QStringLiteral("SizeGrip"), true).toBool());
    setFont(bag.readProperty(QStringLiteral("Font"), defaultFont()).value<QFont>());
    setBackColor(bag.readProperty(QStringLiteral("BackColor"), OleColor::ButtonFace).toUInt());
    setSimpleText(bag.readProperty(QStringLiteral("SimpleText"), QString()).toString());
    setSimpleStyle(bag.readProperty(QStringLiteral("SimpleStyle"), int(NoBorders)).toInt());
    setSimpleMode(bag.readProperty(QStringLiteral("SimpleMode"), false).toBool());
}

void StatusBar::writeProperties(PropertyBag &bag) const
{
    bag.writeProperty(QStringLiteral("SizeGrip"), sizeGrip(), true);
    bag.writeProperty(QStringLiteral("Font"), font(), defaultFont());
    bag.writeProperty(QStringLiteral("BackColor"), m_backColor, OleColor::ButtonFace);
    bag.writeProperty(QStringLiteral("SimpleText"), m_simpleText, QString());
    bag.writeProperty(QStringLiteral("SimpleStyle"), m_simpleStyle, int(NoBorders));
    bag.writeProperty(QStringLiteral("SimpleMode"), m_simpleMode, false);
}

QSize StatusBar::sizeHint() const
{
    return { QStatusBar::sizeHint().width(), naturalHeight() };
}

QSize StatusBar::minimumSizeHint() const
{
    return { QStatusBar::minimumSizeHint().width(), naturalHeight() };
}

bool StatusBar::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QStatusBar::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const int panel = panelAt(help->pos());
    const QString tip = panel > 0 ? m_panels.at(panel - 1).toolTip : QString();
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this, panelArea(panel - 1));
    return true;
}

void StatusBar::changeEvent(QEvent *event)
{
    QStatusBar::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    for (Panel &panel : m_panels)
        computeIdealWidth(panel);
    updateGeometry();
    layoutPanels();
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_simpleMode) {
        paintSimpleText(painter);
        return;
    }
    for (int i = 0; i < panelCount(); ++i)
        paintPanel(painter, i);
}

void StatusBar::resizeEvent(QResizeEvent *event)
{
    QStatusBar::resizeEvent(event);
    layoutPanels();
}

void StatusBar::mouseReleaseEvent(QMouseEvent *event)
{
    mouseClicked(event, false);
    QStatusBar::mouseReleaseEvent(event);
}

void StatusBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    mouseClicked(event, true);
    QStatusBar::mouseDoubleClickEvent(event);
}

int StatusBar::require(const QVariant &key) const
{
    if (VariantKey::isPosition(key)) {
        const int position = key.toInt();
        if (position >= 1 && position <= panelCount())
            return position - 1;
    } else {
        const QString wanted = key.toString();
        for (int i = 0; i < panelCount(); ++i) {
            if (m_panels.at(i).key == wanted)
                return i;
        }
    }
    throw ControlError(
        InvalidPanelIndex, controlSource(), QStringLiteral("Invalid Panel Index: ") + VariantKey::text(key));
}

int StatusBar::insertPosition(const QVariant &keyBefore) const
{
    return keyBefore.isValid() ? require(keyBefore) : panelCount();
}

void StatusBar::makeSpring(int index)
{
    for (int i = 0; i < panelCount(); ++i)
        m_panels[i].spring = i == index;
}

void StatusBar::computeIdealWidth(Panel &panel) const
{
    panel.idealWidth = qMax(textWidth(panel.text) + kIdealPadding, panel.minWidth);
}

int StatusBar::textWidth(const QString &text) const
{
    return fontMetrics().horizontalAdvance(text);
}

void StatusBar::layoutPanels()
{
    const int iconWidth = m_imageList ? m_imageList->iconWidth() : 0;
    QList<int> widths;
    for (const Panel &panel : std::as_const(m_panels))
        widths.append(
            (panel.fitContents ? panel.idealWidth : panel.minWidth) + (panel.icon.isNull() ? 0 : iconWidth));
    if (!widths.isEmpty())
        widths.last() += (3 * height()) / 4; // room for the size grip

    int total = 0;
    for (int w : std::as_const(widths))
        total += w;
    if (!widths.isEmpty() && total <= width()) {
        auto spring
            = std::find_if(m_panels.cbegin(), m_panels.cend(), [](const Panel &p) { return p.spring; });
        const qsizetype growing = spring == m_panels.cend() ? widths.size() - 1 : spring - m_panels.cbegin();
        widths[growing] += width() - total;
    }

    m_rightEdges.clear();
    int right = 0;
    for (int i = 0; i < widths.size(); ++i) {
        right += widths.at(i);
        m_rightEdges.append(right);
        m_panels[i].width = widths.at(i);
    }
    update();
    Q_EMIT resized();
}

int StatusBar::panelAt(const QPoint &pos) const
{
    if (m_simpleMode)
        return 0;
    for (int i = 0; i < panelCount(); ++i) {
        if (panelArea(i).contains(pos))
            return i + 1;
    }
    return 0;
}

QRect StatusBar::panelArea(int index) const
{
    const int left = index == 0 ? 0 : m_rightEdges.value(index - 1);
    const int right = m_rightEdges.value(index);
    return QRect(QPoint(left, kPanelTop), QPoint(right - 1, height() - 1));
}

QString StatusBar::selfUpdatingText(int style) const
{
    switch (style) {
    case CapsLock:
        return QStringLiteral("CAPS");
    case NumLock:
        return QStringLiteral("NUM");
    case Overwrite:
        return QStringLiteral("OVR");
    case ScrollLock:
        return QStringLiteral("SCRL");
    case ShortTime:
        return shortTime();
    case MediumDate:
        return mediumDate();
    default:
        return mediumDate() + QLatin1Char(' ') + shortTime();
    }
}

bool StatusBar::selfUpdatingState(int style) const
{
    switch (style) {
    case CapsLock:
        return m_keyState(KeyboardState::CapsLock);
    case NumLock:
        return m_keyState(KeyboardState::NumLock);
    case Overwrite:
        return m_keyState(KeyboardState::Insert);
    case ScrollLock:
        return m_keyState(KeyboardState::ScrollLock);
    default:
        return true;
    }
}

void StatusBar::refreshSelfUpdatingPanels()
{
    for (int i = 0; i < panelCount(); ++i) {
        const Panel &panel = m_panels.at(i);
        if (!isSelfUpdating(panel.style))
            continue;
        if (selfUpdatingText(panel.style) != panel.text || selfUpdatingState(panel.style) != panel.state)
            update(panelArea(i));
    }
}

void StatusBar::startOrStopTimer()
{
    const bool needed = std::any_of(
        m_panels.cbegin(), m_panels.cend(), [](const Panel &p) { return isSelfUpdating(p.style); });
    if (!needed) {
        m_timer.reset();
        return;
    }
    if (!m_timer) {
        m_timer = std::make_unique<IntervalTimer>();
        connect(m_timer.get(), &IntervalTimer::thatTime, this, &StatusBar::refreshSelfUpdatingPanels);
        m_timer->setInterval(SelfUpdateInterval);
    }
}

void StatusBar::paintPanel(QPainter &painter, int index)
{
    Panel &panel = m_panels[index];
    const QRect rect = panelArea(index);
    const QRect frame = rect.adjusted(0, 0, -kPanelGap, 0);
    drawBorder(painter, frame, panel.style, palette());
    if (isOwnerDrawn(panel.style)) {
        Q_EMIT drawItem(&painter, index + 1, rect);
        return;
    }
    if (isSelfUpdating(panel.style)) {
        paintSelfUpdating(painter, panel, frame);
        return;
    }
    if (!panel.icon.isNull() && m_imageList) {
        const QRect content = frame.adjusted(kTextInset, 1, -kTextInset, -1);
        const QSize iconSize = m_imageList->iconSize();
        panel.icon.paint(
            &painter, QRect(QPoint(content.left(), content.center().y() - iconSize.height() / 2), iconSize));
    }
    const Qt::Alignment align = (panel.style & RightToLeftReading) ? Qt::AlignRight : Qt::AlignLeft;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(panelTextArea(index), int(align | Qt::AlignVCenter), panelShownText(index + 1));
}

QRect StatusBar::panelTextArea(int index) const
{
    const Panel &panel = m_panels.at(index);
    QRect content = panelArea(index).adjusted(kTextInset, 1, -kPanelGap - kTextInset, -1);
    if (!panel.icon.isNull() && m_imageList)
        content.setLeft(content.left() + m_imageList->iconSize().width() + kTextInset);
    return content;
}

// Cut in the middle, so that a path keeps the file name it ends with.
QString StatusBar::panelShownText(const QVariant &key) const
{
    const int index = require(key);
    return fontMetrics().elidedText(m_panels.at(index).text, Qt::ElideMiddle, panelTextArea(index).width());
}

void StatusBar::paintSelfUpdating(QPainter &painter, Panel &panel, const QRect &rect)
{
    panel.text = selfUpdatingText(panel.style);
    panel.state = selfUpdatingState(panel.style);
    const QFontMetrics metrics = fontMetrics();
    const int x = rect.left() + (rect.width() - 4 - metrics.horizontalAdvance(panel.text)) / 2;
    const int baseline = rect.bottom() - 2 - metrics.descent();
    const QPalette::ColorGroup group = panel.state ? QPalette::Active : QPalette::Disabled;
    painter.setPen(palette().color(group, QPalette::WindowText));
    painter.drawText(QPoint(x, baseline), panel.text);
}

void StatusBar::paintSimpleText(QPainter &painter)
{
    const QRect frame = rect().adjusted(0, kPanelTop, -(3 * height()) / 4, 0);
    drawBorder(painter, frame, m_simpleStyle, palette());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(
        frame.adjusted(kTextInset, 0, -kTextInset, 0), Qt::AlignLeft | Qt::AlignVCenter, m_simpleText);
}

int StatusBar::naturalHeight() const
{
    return qMax(fontMetrics().height(), 16) + 8;
}

void StatusBar::mouseClicked(QMouseEvent *event, bool doubleClick)
{
    int button = 0;
    if (event->button() == Qt::LeftButton)
        button = 1;
    else if (event->button() == Qt::RightButton)
        button = 2;
    else
        return;
    const QPoint pos = event->position().toPoint();
    const int panel = panelAt(pos);
    if (doubleClick)
        Q_EMIT doubleClicked(panel, pos.x(), pos.y(), button);
    else
        Q_EMIT clicked(panel, pos.x(), pos.y(), button);
}
