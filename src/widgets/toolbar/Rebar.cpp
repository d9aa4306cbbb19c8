#include "toolbar/Rebar.h"

#include "EventHooks.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <utility>

namespace {

constexpr int kGripperLength = 8;
constexpr int kBandMargin = 2;
constexpr int kRowGap = 2;
constexpr int kEdge = 2;
constexpr int kChevronLength = 14;
const QEvent::Type kMouseEvents[] = { QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease,
    QEvent::MouseButtonDblClick };
constexpr char kSideProperty[] = "zeb:cRebarPosition";

struct DockEntry {
    QPointer<QWidget> window;
    QPointer<QWidget> parent;
};

QList<DockEntry> &dockRegistry()
{
    static QList<DockEntry> entries;
    return entries;
}

void registerDocked(QWidget *parentForm, QWidget *window, int side)
{
    window->setProperty(kSideProperty, side);
    QList<DockEntry> &entries = dockRegistry();
    entries.removeIf([window](const DockEntry &e) { return !e.window || e.window == window; });
    entries.append(DockEntry{window, parentForm});
}

int dockedSide(const QWidget *window)
{
    return window->property(kSideProperty).toInt();
}

int dockedThickness(const QWidget *window)
{
    const int side = dockedSide(window);
    return side == Rebar::Left || side == Rebar::Right ? window->width() : window->height();
}

} // namespace

Rebar::Rebar(QObject *parent)
    : QObject(parent)
{
}

Rebar::~Rebar()
{
    destroyRebar();
}

bool Rebar::createRebar(QWidget *parentForm)
{
    destroyRebar();
    if (!parentForm)
        return false;
    m_parent = parentForm;
    auto *frame = new QFrame(parentForm);
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    frame->setObjectName(QStringLiteral("cReBarWindow"));
    m_window = frame;
    m_window->resize(parentForm->size());
    registerDocked(parentForm, m_window, m_side);
    EventHooks &service = EventHooks::instance();
    service.watchMessage(this, m_window, QEvent::Paint);
    for (const QEvent::Type type : kMouseEvents)
        service.watchMessage(this, m_window, type);
    service.watchMessage(this, m_parent, QEvent::Resize);
    m_window->show();
    layoutBands();
    rebarSize();
    return true;
}

void Rebar::destroyRebar()
{
    if (!m_window)
        return;
    removeAllRebarBands();
    EventHooks &service = EventHooks::instance();
    service.unwatchMessage(this, m_window, QEvent::Paint);
    for (const QEvent::Type type : kMouseEvents)
        service.unwatchMessage(this, m_window, type);
    if (m_parent)
        service.unwatchMessage(this, m_parent, QEvent::Resize);
    QWidget *window = m_window;
    dockRegistry().removeIf([window](const DockEntry &e) { return !e.window || e.window == window; });
    delete window;
    m_thickness = 0;
}

int Rebar::addBandByHwnd(QWidget *window, const QString &bandText, bool breakLine, bool fixedSize,
                          const QVariant &data)
{
    if (!m_window || !window)
        return 0;
    Band band;
    band.id = ++m_lastId;
    band.data = data;
    band.child = window;
    band.formerParent = window->parentWidget();
    band.text = bandText;
    band.breakLine = breakLine;
    band.fixedSize = fixedSize;
    band.gripper = !fixedSize;
    const QSize size = window->size();
    band.minLength = isVertical() ? size.height() : size.width();
    band.idealLength = band.minLength;
    band.minThickness = isVertical() ? size.width() : size.height();
    window->setParent(m_window);
    window->show();
    m_bands.append(band);
    layoutBands();
    return band.id;
}

void Rebar::removeBand(int index)
{
    if (Band *band = bandAt(index)) {
        giveBack(*band);
        m_bands.removeAt(index);
        layoutBands();
    }
}

void Rebar::removeAllRebarBands()
{
    for (Band &band : m_bands)
        giveBack(band);
    m_bands.clear();
    layoutBands();
}

void Rebar::addResizeObject(QWidget *parentForm, QWidget *window, Side side)
{
    if (parentForm && window)
        registerDocked(parentForm, window, side);
}

void Rebar::rebarSize()
{
    if (!m_window || !m_parent)
        return;
    const QRect client = m_parent->contentsRect();
    const int length = isVertical() ? client.height() : client.width();
    int inward = 0;
    int startCut = 0;
    int endCut = 0;
    // Whoever registered earlier owns the edge and the corners.
    for (const DockEntry &entry : std::as_const(dockRegistry())) {
        if (entry.window == m_window)
            break;
        if (!entry.window || entry.parent != m_parent || !entry.window->isVisibleTo(m_parent))
            continue;
        const int side = dockedSide(entry.window);
        const int room = dockedThickness(entry.window) + kDockSpacing;
        const bool sideIsVertical = side == Left || side == Right;
        if (side == m_side)
            inward += room;
        else if (sideIsVertical != isVertical())
            (side == Top || side == Left ? startCut : endCut) += room;
    }
    const int thickness = rebarHeight();
    const int along = startCut;
    const int span = qMax(0, length - startCut - endCut);
    QRect rect;
    switch (m_side) {
    case Top:
        rect = QRect(client.left() + along, client.top() + inward, span, thickness);
        break;
    case Bottom:
        rect = QRect(client.left() + along, client.bottom() + 1 - inward - thickness, span, thickness);
        break;
    case Left:
        rect = QRect(client.left() + inward, client.top() + along, thickness, span);
        break;
    case Right:
        rect = QRect(client.right() + 1 - inward - thickness, client.top() + along, thickness, span);
        break;
    }
    m_window->setGeometry(rect);
    layoutBands();
}

void Rebar::autosize()
{
    layoutBands();
    rebarSize();
}

int Rebar::bandIndexForId(int id) const
{
    for (int i = 0; i < bandCount(); ++i) {
        if (m_bands.at(i).id == id)
            return i;
    }
    return -1;
}

int Rebar::bandIdForIndex(int index) const
{
    const Band *band = bandAt(index);
    return band ? band->id : 0;
}

QVariant Rebar::bandData(int id) const
{
    const Band *band = bandAt(bandIndexForId(id));
    return band ? band->data : QVariant();
}

int Rebar::bandIndexForData(const QVariant &data) const
{
    for (int i = 0; i < bandCount(); ++i) {
        if (m_bands.at(i).data == data)
            return i;
    }
    return -1;
}

bool Rebar::bandVisible(int index) const
{
    const Band *band = bandAt(index);
    return band && !band->hidden;
}

void Rebar::setBandVisible(int index, bool visible)
{
    if (Band *band = bandAt(index)) {
        band->hidden = !visible;
        layoutBands();
    }
}

bool Rebar::bandGripper(int index) const
{
    const Band *band = bandAt(index);
    return band && band->gripper;
}

void Rebar::setBandGripper(int index, bool on)
{
    if (Band *band = bandAt(index)) {
        band->gripper = on;
        layoutBands();
    }
}

bool Rebar::bandChildEdge(int index) const
{
    const Band *band = bandAt(index);
    return band && band->childEdge;
}

void Rebar::setBandChildEdge(int index, bool on)
{
    if (Band *band = bandAt(index)) {
        band->childEdge = on;
        layoutBands();
    }
}

int Rebar::bandChildMinHeight(int index) const
{
    const Band *band = bandAt(index);
    return band ? band->minThickness : 0;
}

void Rebar::setBandChildMinHeight(int index, int height)
{
    if (Band *band = bandAt(index)) {
        band->minThickness = height;
        layoutBands();
    }
}

int Rebar::bandChildMaxHeight(int index) const
{
    const Band *band = bandAt(index);
    return band ? band->maxThickness : 0;
}

void Rebar::setBandChildMaxHeight(int index, int height)
{
    if (Band *band = bandAt(index)) {
        band->maxThickness = height;
        layoutBands();
    }
}

int Rebar::bandChildMinWidth(int index) const
{
    const Band *band = bandAt(index);
    return band ? band->minLength : 0;
}

void Rebar::setBandChildMinWidth(int index, int width)
{
    if (Band *band = bandAt(index)) {
        band->minLength = width;
        layoutBands();
    }
}

void Rebar::bandChildResized(int index, int width, int height)
{
    if (Band *band = bandAt(index)) {
        band->minLength = isVertical() ? height : width;
        band->minThickness = isVertical() ? width : height;
        layoutBands();
    }
}

void Rebar::bandMove(int index, int toIndex)
{
    if (!bandAt(index) || !bandAt(toIndex) || index == toIndex)
        return;
    m_bands.move(index, toIndex);
    layoutBands();
    emit layoutChanged();
}

bool Rebar::bandChevron(int index) const
{
    const Band *band = bandAt(index);
    return band && band->chevron;
}

void Rebar::setBandChevron(int index, bool on)
{
    if (Band *band = bandAt(index)) {
        band->chevron = on;
        layoutBands();
    }
}

void Rebar::bandMinimise(int index)
{
    if (Band *band = bandAt(index); band && !band->rect.isEmpty()) {
        band->length = minimumLength(*band);
        layoutBands();
        emit layoutChanged();
    }
}

void Rebar::bandMaximise(int index)
{
    const QList<int> row = rowOf(index);
    if (row.isEmpty())
        return;
    int others = 0;
    for (const int i : row) {
        if (i != index) {
            m_bands[i].length = minimumLength(m_bands.at(i));
            others += m_bands.at(i).length;
        }
    }
    m_bands[index].length = qMax(minimumLength(m_bands.at(index)), barLength() - others);
    layoutBands();
    emit layoutChanged();
}

QRect Rebar::bandRectangle(int index) const
{
    const Band *band = bandAt(index);
    return band ? band->rect : QRect();
}

QRect Rebar::bandChevronRectangle(int index) const
{
    const Band *band = bandAt(index);
    return band ? band->chevronRect : QRect();
}

int Rebar::rebarHeight() const
{
    return m_thickness;
}

int Rebar::rebarWidth() const
{
    if (!m_window)
        return 0;
    return isVertical() ? m_window->height() : m_window->width();
}

void Rebar::setPosition(Side side)
{
    m_side = side;
    if (!m_window)
        return;
    m_window->setProperty(kSideProperty, side);
    layoutBands();
    rebarSize();
    emit heightChanged(rebarHeight());
    rebarSize();
}

bool Rebar::isVisible() const
{
    return m_window && m_window->isVisibleTo(m_parent);
}

void Rebar::setVisible(bool visible)
{
    if (m_window)
        m_window->setVisible(visible);
}

void Rebar::setImageFile(const QString &path)
{
    setImagePicture(QPixmap(path));
}

void Rebar::setImagePicture(const QPixmap &picture)
{
    m_background = picture;
    if (m_window)
        m_window->update();
}

bool Rebar::windowProc(QObject *target, QEvent *event)
{
    if (target != m_window) {
        rebarSize();
        return false;
    }
    switch (event->type()) {
    case QEvent::Paint:
        paintBands();
        return false;
    case QEvent::MouseButtonPress:
        return mousePressed(*static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return mouseMoved(*static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonRelease:
        return mouseReleased();
    case QEvent::MouseButtonDblClick:
        return mouseDoubleClicked(*static_cast<QMouseEvent *>(event));
    default:
        return false;
    }
}

QRect Rebar::oriented(int along, int across, int length, int thickness) const
{
    return isVertical() ? QRect(across, along, thickness, length) : QRect(along, across, length, thickness);
}

int Rebar::headerLength(const Band &band) const
{
    int length = band.gripper ? kGripperLength : 0;
    if (!band.text.isEmpty() && m_window)
        length += m_window->fontMetrics().horizontalAdvance(band.text) + 2 * kBandMargin;
    return length;
}

int Rebar::minimumLength(const Band &band) const
{
    return headerLength(band) + band.minLength + (band.childEdge ? 2 * kEdge : 0);
}

int Rebar::wantedLength(const Band &band) const
{
    if (band.length > 0)
        return qMax(band.length, minimumLength(band));
    return minimumLength(band) + qMax(0, band.idealLength - band.minLength);
}

int Rebar::barLength() const
{
    if (!m_window)
        return 0;
    const int frame = static_cast<QFrame *>(m_window.data())->frameWidth();
    return (isVertical() ? m_window->height() : m_window->width()) - 2 * frame;
}

// Each band as long as it wants; when the row is too short, the bands before the last give
// way from right to left, down to what their children need at least. The last band takes
// what is left.
QList<int> Rebar::rowLengths(const QList<int> &row) const
{
    QList<int> lengths;
    int used = 0;
    for (qsizetype k = 0; k + 1 < row.size(); ++k) {
        lengths.append(wantedLength(m_bands.at(row.at(k))));
        used += lengths.last();
    }
    const Band &last = m_bands.at(row.last());
    int excess = used + minimumLength(last) - barLength();
    for (qsizetype k = lengths.size() - 1; k >= 0 && excess > 0; --k) {
        const int cut = qMin(excess, lengths.at(k) - minimumLength(m_bands.at(row.at(k))));
        lengths[k] -= cut;
        used -= cut;
        excess -= cut;
    }
    lengths.append(qMax(minimumLength(last), barLength() - used));
    return lengths;
}

// A band with a line break starts a new row; hidden bands take no part.
QList<QList<int>> Rebar::bandRows() const
{
    QList<QList<int>> rows;
    for (int i = 0; i < bandCount(); ++i) {
        const Band &band = m_bands.at(i);
        if (band.hidden || !band.child)
            continue;
        if (rows.isEmpty() || band.breakLine)
            rows.append(QList<int>());
        rows.last().append(i);
    }
    return rows;
}

QList<int> Rebar::rowOf(int index) const
{
    for (const QList<int> &row : bandRows()) {
        if (row.contains(index))
            return row;
    }
    return {};
}

void Rebar::layoutBands()
{
    if (!m_window)
        return;
    const int frame = static_cast<QFrame *>(m_window.data())->frameWidth();
    for (Band &band : m_bands) {
        band.rect = QRect();
        band.chevronRect = QRect();
        if (band.hidden && band.child)
            band.child->hide();
    }
    const QList<QList<int>> rows = bandRows();

    int across = frame;
    for (const QList<int> &row : std::as_const(rows)) {
        int rowThickness = 0;
        for (int i : row) {
            const Band &band = m_bands.at(i);
            const int edge = band.childEdge ? kEdge : 0;
            rowThickness = qMax(rowThickness, band.minThickness + 2 * (kBandMargin + edge));
        }
        const QList<int> lengths = rowLengths(row);
        int along = frame;
        for (qsizetype k = 0; k < row.size(); ++k) {
            Band &band = m_bands[row.at(k)];
            const int header = headerLength(band);
            const int length = lengths.at(k);
            band.rect = oriented(along, across, length, rowThickness);
            const int edge = band.childEdge ? kEdge : 0;
            int childLength = length - header - 2 * edge;
            if (band.chevron && !band.fixedSize && childLength < band.idealLength) {
                childLength = qMax(0, childLength - kChevronLength);
                band.chevronRect
                    = oriented(along + length - kChevronLength, across, kChevronLength, rowThickness);
            }
            int childThickness = rowThickness - 2 * (kBandMargin + edge);
            if (band.maxThickness > 0)
                childThickness = qMin(childThickness, band.maxThickness);
            placeChild(band,
                oriented(along + header + edge, across + kBandMargin + edge, childLength, childThickness));
            along += length;
        }
        across += rowThickness + kRowGap;
    }
    const int thickness = rows.isEmpty() ? 0 : across - kRowGap + frame;
    if (thickness != m_thickness) {
        m_thickness = thickness;
        rebarSize();
        emit heightChanged(m_thickness);
    }
    m_window->update();
}

void Rebar::placeChild(Band &band, const QRect &childRect)
{
    QRect placed = childRect;
    if (placed != band.child->geometry())
        emit bandChildResize(band.id, band.rect, &placed);
    band.child->setGeometry(placed);
    band.child->show();
}

bool Rebar::mousePressed(const QMouseEvent &mouse)
{
    if (mouse.button() != Qt::LeftButton)
        return false;
    const QPoint point = mouse.position().toPoint();
    for (const Band &band : std::as_const(m_bands)) {
        if (band.chevronRect.contains(point)) {
            emit chevronPushed(band.id, band.chevronRect.translated(m_window->pos()));
            return true;
        }
    }
    const int index = bandAtGripper(point);
    if (index < 0)
        return false;
    bool cancel = false;
    emit beginBandDrag(m_bands.at(index).id, &cancel);
    if (!cancel)
        dragFrom(index, mouse.globalPosition().toPoint());
    return true;
}

void Rebar::dragFrom(int index, const QPoint &globalPos)
{
    m_dragId = m_bands.at(index).id;
    m_dragOrigin = globalPos;
    m_dragLength = lengthOf(m_bands.at(index));
    const QList<int> row = rowOf(index);
    const qsizetype position = row.indexOf(index);
    m_dragBeforeLength = position > 0 ? lengthOf(m_bands.at(row.at(position - 1))) : 0;
}

// Across the bar, half a row takes the band into the next row; along it, the band's start
// follows the mouse.
bool Rebar::mouseMoved(const QMouseEvent &mouse)
{
    const int index = bandIndexForId(m_dragId);
    if (index < 0 || !(mouse.buttons() & Qt::LeftButton))
        return false;
    const QPoint now = mouse.globalPosition().toPoint();
    const QPoint moved = now - m_dragOrigin;
    const QRect &rect = m_bands.at(index).rect;
    const int half = (isVertical() ? rect.width() : rect.height()) / 2;
    const int rowStep = across(moved) > half ? 1 : across(moved) < -half ? -1 : 0;
    if (rowStep != 0 && moveAcrossRows(index, rowStep, along(mouse.position().toPoint()))) {
        layoutBands();
        // In another row now: the drag goes on from here.
        dragFrom(bandIndexForId(m_dragId), now);
        emit layoutChanged();
    } else if (resizeWithBandBefore(index, along(moved))) {
        layoutBands();
        emit layoutChanged();
    }
    return true;
}

// The band's start moves by that much from where the drag began: the band before it and
// this one share their lengths of then, neither below its least.
bool Rebar::resizeWithBandBefore(int index, int by)
{
    const QList<int> row = rowOf(index);
    const qsizetype position = row.indexOf(index);
    if (position <= 0)
        return false;
    Band &band = m_bands[index];
    Band &before = m_bands[row.at(position - 1)];
    const int shared = m_dragBeforeLength + m_dragLength;
    const int beforeLength
        = qBound(minimumLength(before), m_dragBeforeLength + by, shared - minimumLength(band));
    if (lengthOf(before) == beforeLength)
        return false;
    before.length = beforeLength;
    band.length = shared - beforeLength;
    return true;
}

// The band leaves its row for the next one up or down, taking the place the mouse points
// at; down from the last row it gets a row of its own, unless it has one already. A band
// that started its row hands its line break on, so the rest of that row stays a row.
bool Rebar::moveAcrossRows(int index, int rowStep, int alongPosition)
{
    const QList<QList<int>> rows = bandRows();
    qsizetype from = 0;
    while (!rows.at(from).contains(index))
        ++from;
    const QList<int> &leaving = rows.at(from);
    const qsizetype to = from + rowStep;
    const bool ownRow = to == rows.size();
    if (to < 0 || to > rows.size() || (ownRow && leaving.size() == 1))
        return false;
    if (leaving.first() == index && leaving.size() > 1)
        m_bands[leaving.at(1)].breakLine = m_bands.at(index).breakLine;
    int insertAt = bandCount();
    bool breakLine = true;
    if (!ownRow) {
        const QList<int> &joining = rows.at(to);
        const qsizetype position = dropPosition(joining, alongPosition);
        if (position < joining.size()) {
            insertAt = joining.at(position);
            breakLine = std::exchange(m_bands[insertAt].breakLine, false);
        } else {
            insertAt = joining.last() + 1;
            breakLine = false;
        }
    }
    Band band = m_bands.takeAt(index);
    band.breakLine = breakLine;
    m_bands.insert(insertAt > index ? insertAt - 1 : insertAt, band);
    return true;
}

// Before the first band whose middle lies past the mouse. The last band of a row counts as
// long as it wants to be, not as all the room left to it.
qsizetype Rebar::dropPosition(const QList<int> &row, int alongPosition) const
{
    qsizetype position = 0;
    for (; position < row.size(); ++position) {
        const Band &band = m_bands.at(row.at(position));
        if (along(band.rect.topLeft()) + qMin(lengthOf(band), wantedLength(band)) / 2 > alongPosition)
            break;
    }
    return position;
}

bool Rebar::mouseReleased()
{
    if (m_dragId < 0)
        return false;
    const int id = bandIndexForId(m_dragId) >= 0 ? m_dragId : -1;
    m_dragId = -1;
    emit endBandDrag(id);
    return true;
}

// A double click on the gripper toggles the band between its shortest and its longest.
bool Rebar::mouseDoubleClicked(const QMouseEvent &mouse)
{
    const int index = bandAtGripper(mouse.position().toPoint());
    if (index < 0)
        return false;
    if (lengthOf(m_bands.at(index)) > minimumLength(m_bands.at(index)))
        bandMinimise(index);
    else
        bandMaximise(index);
    return true;
}

int Rebar::bandAtGripper(const QPoint &point) const
{
    for (int i = 0; i < bandCount(); ++i) {
        const Band &band = m_bands.at(i);
        if (!band.gripper || !band.rect.contains(point))
            continue;
        if (along(point) - along(band.rect.topLeft()) < headerLength(band))
            return i;
    }
    return -1;
}

void Rebar::paintBands()
{
    QPainter painter(m_window);
    QStyleOption option;
    option.initFrom(m_window);
    for (const Band &band : std::as_const(m_bands)) {
        if (band.rect.isEmpty())
            continue;
        if (hasBitmap())
            painter.drawTiledPixmap(band.rect, m_background);
        QRect header = band.rect;
        if (band.gripper) {
            option.rect = oriented(isVertical() ? band.rect.top() : band.rect.left(),
                                   isVertical() ? band.rect.left() : band.rect.top(), kGripperLength,
                                   isVertical() ? band.rect.width() : band.rect.height())
                              .adjusted(1, 2, -1, -2);
            option.state = isVertical() ? QStyle::State_None : QStyle::State_Horizontal;
            m_window->style()->drawPrimitive(QStyle::PE_IndicatorToolBarHandle, &option, &painter, m_window);
            header.adjust(isVertical() ? 0 : kGripperLength, isVertical() ? kGripperLength : 0, 0, 0);
        }
        if (!band.text.isEmpty())
            painter.drawText(header.adjusted(kBandMargin, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, band.text);
        if (!band.chevronRect.isEmpty())
            painter.drawText(band.chevronRect, Qt::AlignCenter, QStringLiteral("\u00BB"));
    }
}

void Rebar::giveBack(Band &band)
{
    if (!band.child)
        return;
    band.child->setParent(band.formerParent);
    if (band.formerParent)
        band.child->show();
}

Rebar::Band *Rebar::bandAt(int index)
{
    return index >= 0 && index < bandCount() ? &m_bands[index] : nullptr;
}

const Rebar::Band *Rebar::bandAt(int index) const
{
    return index >= 0 && index < bandCount() ? &m_bands.at(index) : nullptr;
}
