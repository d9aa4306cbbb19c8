#include "toolbar/Rebar.h"
#include "toolbar/Toolbar.h"
#include "toolbar/ToolbarHost.h"
#include "ControlError.h"
#include "IconList.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace {

// The widget drawn for a button, found where the toolbar says the button is.
QToolButton *buttonWidget(const Toolbar &toolbar, int index)
{
    return qobject_cast<QToolButton *>(toolbar.hwnd()->childAt(toolbar.buttonRect(index).center()));
}

void addTextButtons(Toolbar &toolbar, const QStringList &texts)
{
    for (const QString &text : texts)
        toolbar.addButton({}, -1, {}, 0, text, Toolbar::StyleAutosize, QStringLiteral("k") + text);
}

// The buttons the user sees: those whose widget shows where the toolbar placed the button.
QList<int> shownButtons(const Toolbar &toolbar)
{
    QList<int> shown;
    const QList<QWidget *> widgets = toolbar.hwnd()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < toolbar.buttonCount(); ++i) {
        const QRect rect = toolbar.buttonRect(i);
        for (const QWidget *widget : widgets) {
            if (!rect.isEmpty() && widget->geometry() == rect && widget->isVisibleTo(toolbar.hwnd()))
                shown.append(i);
        }
    }
    return shown;
}

// The middle of a band's gripper.
QPoint gripper(const Rebar &rebar, int index)
{
    const QRect band = rebar.bandRectangle(index);
    return band.topLeft() + QPoint(3, band.height() / 2);
}

// Takes the band by its gripper, moves the mouse to `to` in two steps and lets go.
void dragGripper(Rebar &rebar, int index, const QPoint &to)
{
    QWidget *bar = rebar.hwnd();
    const QPoint from = gripper(rebar, index);
    QTest::mousePress(bar, Qt::LeftButton, {}, from);
    QTest::mouseMove(bar, (from + to) / 2);
    QTest::mouseMove(bar, to);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
}

// The bands' names (their data) row by row as they show, rows parted by "|".
QString bandLayout(const Rebar &rebar)
{
    QList<int> shown;
    for (int i = 0; i < rebar.bandCount(); ++i) {
        if (!rebar.bandRectangle(i).isEmpty())
            shown.append(i);
    }
    std::sort(shown.begin(), shown.end(), [&rebar](int a, int b) {
        const QRect ra = rebar.bandRectangle(a);
        const QRect rb = rebar.bandRectangle(b);
        return std::pair(ra.top(), ra.left()) < std::pair(rb.top(), rb.left());
    });
    QString layout;
    int top = -1;
    for (const int i : shown) {
        const QRect rect = rebar.bandRectangle(i);
        if (!layout.isEmpty())
            layout += rect.top() == top ? QStringLiteral(" ") : QStringLiteral(" | ");
        layout += rebar.bandData(rebar.bandIdForIndex(i)).toString();
        top = rect.top();
    }
    return layout;
}

enum class Placement { OneRow, SecondBelow, SecondWraps };

struct Click {
    int style;
    bool onArrow; // else in the middle
    bool checkedBefore, checkedAfter;
    bool dropped; // dropDownPressed instead of buttonClicked
};

// A change made to a rebar of two bands, A (100 x 20) and B (80 x 20), in one row.
using RebarChange = std::function<void(Rebar &)>;

} // namespace

Q_DECLARE_METATYPE(Placement)
Q_DECLARE_METATYPE(RebarChange)

struct AltPress { QKeyCombination keys; bool ownerActive; QList<int> clicked; QString typed; };
Q_DECLARE_METATYPE(AltPress)

// hostWidth: -1: the first toolbar and one button more
struct HostRow { int hostWidth; int borderStyle; bool wrappable; Placement placement; };
Q_DECLARE_METATYPE(HostRow)

// hidden: a button hidden by its owner; -1 none
struct Room { int room; int extra; int hidden; bool wrappable; QList<int> shown; };
Q_DECLARE_METATYPE(Room)

// moves: the band's start; the band before it grows as much
struct DragAlong { int band; int by; bool refused; int moves; };
Q_DECLARE_METATYPE(DragAlong)

// band: its name; alongAt: -1: straight across
struct DragAcross { QString layout; char band; int rowsDown; int alongAt; QString after; };
Q_DECLARE_METATYPE(DragAcross)

struct ImageLists { bool withHot; bool withDisabled; QColor hot; QColor disabled; };
Q_DECLARE_METATYPE(ImageLists)

// secondMoves: along the bar; chevron: the second band shows one and reports its push
struct RowOfThree { bool doubleClickFirst; int formWidth; int secondMoves; bool chevron; };
Q_DECLARE_METATYPE(RowOfThree)

class TestToolbar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_toolbar.reset();
        m_form = std::make_unique<QWidget>();
        m_form->resize(600, 400);
        m_toolbar = std::make_unique<Toolbar>(m_form.get());
        m_toolbar->createToolbar();
    }

    // A button named by a key or index the toolbar lacks changes nothing, and a toolbar not
    // yet made takes no buttons.
    void unknownButtonsChangeNothing()
    {
        m_toolbar->addButton({}, 0, {}, 0, {}, 0, QStringLiteral("a"));
        m_toolbar->addButton({}, 0, {}, 0, {}, 0, QStringLiteral("b"));
        m_toolbar->setButtonHot(QStringLiteral("b"), true);
        m_toolbar->setButtonHot(QStringLiteral("gone"), true);
        m_toolbar->setButtonHot(7, false);
        QVERIFY(m_toolbar->buttonHot(1));
        QVERIFY(!m_toolbar->buttonHot(0));
        Toolbar unmade(m_form.get());
        QCOMPARE(unmade.addButton({}, 0, {}, 0, {}, 0, QStringLiteral("a")), -1);
        QCOMPARE(unmade.buttonCount(), 0);
    }

    // Hot is drawn as the hover look, whoever made the button hot: the style is told the
    // button is under the mouse, and the one it took over from that it is not.
    void hotButtonIsDrawnAsHovered()
    {
        m_toolbar->addButton({}, 0, {}, 0, {}, 0, QStringLiteral("a"));
        m_toolbar->addButton({}, 0, {}, 0, {}, 0, QStringLiteral("b"));
        const auto hovered = [this](int index) { return buttonWidget(*m_toolbar, index)->testAttribute(Qt::WA_UnderMouse); };
        m_toolbar->setButtonHot(QStringLiteral("a"), true);
        QVERIFY(hovered(0) && !hovered(1));
        m_toolbar->setButtonHot(QStringLiteral("b"), true);
        QVERIFY(!hovered(0) && hovered(1));
    }

    void insertBefore_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("a key") << QVariant("b") << QStringList{"a", "new", "b"};
        QTest::newRow("an index") << QVariant(0) << QStringList{"new", "a", "b"};
        QTest::newRow("key in other case: appends") << QVariant("A") << QStringList{"a", "b", "new"};
        QTest::newRow("index past the end: appends") << QVariant(2) << QStringList{"a", "b", "new"};
    }
    void insertBefore()
    {
        QFETCH(QVariant, before);
        QFETCH(QStringList, keys);
        m_toolbar->addButton({}, -1, {}, 0, {}, 0, QStringLiteral("a"));
        m_toolbar->addButton({}, -1, {}, 0, {}, 0, QStringLiteral("b"));
        m_toolbar->addButton({}, -1, before, 0, {}, 0, QStringLiteral("new"));
        QStringList actual;
        for (int i = 0; i < m_toolbar->buttonCount(); ++i)
            actual << m_toolbar->buttonKey(i);
        QCOMPARE(actual, keys);
    }

    void acceleratorLetters_data()
    {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("letters"); // a space where a button has none
        QTest::newRow("inside, raised") << QStringList{"E&xit", "Save"} << "X ";
        QTest::newRow("empty, trailing ampersand") << QStringList{"", "Save&"} << "  ";
        // Only the first ampersand is looked at.
        QTest::newRow("doubled ampersand first") << QStringList{"Tom && &Jerry", "&Tools &Help"} << " T";
    }
    void acceleratorLetters()
    {
        QFETCH(QStringList, captions);
        QFETCH(QString, letters);
        for (const QString &caption : captions)
            m_toolbar->addButton({}, -1, {}, 0, caption);
        QString actual;
        for (int i = 0; i < m_toolbar->buttonCount(); ++i)
            actual += m_toolbar->buttonAccelerator(i).isNull() ? QChar(u' ') : m_toolbar->buttonAccelerator(i);
        QCOMPARE(actual, letters);
    }

    // Hidden buttons give up their room, and the chevron offers only shown buttons that do not fit.
    void hiddenButtonsGiveUpTheirRoom()
    {
        addTextButtons(*m_toolbar, {"&File", "&Window", "&Help"});
        QCOMPARE(m_toolbar->buttonsBeyond(0), QList<int>({0, 1, 2}));
        QCOMPARE(m_toolbar->buttonsBeyond(m_toolbar->buttonRect(1).right()), QList<int>({1, 2}));
        QCOMPARE(m_toolbar->buttonsBeyond(m_toolbar->toolbarWidth()), QList<int>());
        const int all = m_toolbar->toolbarWidth();
        const int window = m_toolbar->buttonWidth(1);
        const int helpLeft = m_toolbar->buttonRect(2).left();
        m_toolbar->setButtonVisible(QStringLiteral("k&Window"), false);
        QCOMPARE(m_toolbar->toolbarWidth(), all - window);
        QCOMPARE(m_toolbar->buttonRect(2).left(), helpLeft - window);
        QVERIFY(m_toolbar->buttonRect(1).isEmpty());
        QCOMPARE(m_toolbar->buttonsBeyond(m_toolbar->buttonRect(0).left()), QList<int>({0, 2}));
        m_toolbar->setButtonVisible(0, false);
        m_toolbar->setButtonVisible(2, false);
        QCOMPARE(m_toolbar->toolbarHeight(), 0);
    }

    void stripImages_data()
    {
        QTest::addColumn<bool>("fileThere");
        QTest::newRow("bitmap file") << true;
        QTest::newRow("bitmap file gone") << false;
    }
    void stripImages()
    {
        QFETCH(bool, fileThere);
        // Three squares on a magenta ground, which the strip makes transparent.
        QPixmap strip(48, 16);
        strip.fill(Qt::magenta);
        QPainter painter(&strip);
        for (int i = 0; i < 3; ++i)
            painter.fillRect(i * 16 + 4, 4, 8, 8, QList<QColor>{Qt::red, Qt::green, Qt::blue}.at(i));
        painter.end();
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("strip.png"));
        QVERIFY(!fileThere || strip.save(file));
        m_toolbar->setImageSource(Toolbar::BitmapFile);
        m_toolbar->setImageFile(file);
        m_toolbar->createToolbar(16);
        m_toolbar->addButton({}, 1);
        m_toolbar->addButton({}, 5);
        const QImage image = buttonWidget(*m_toolbar, 0)->icon().pixmap(16, 16).toImage();
        QCOMPARE(image.isNull(), !fileThere);
        if (fileThere) {
            QCOMPARE(image.pixelColor(8, 8), QColor(Qt::green));
            QCOMPARE(image.pixelColor(1, 1).alpha(), 0);
        }
        QVERIFY(buttonWidget(*m_toolbar, 1)->icon().isNull());
    }

    void mouseClick_data()
    {
        QTest::addColumn<Click>("click");
        QTest::newRow("plain button keeps its check") << Click{Toolbar::StyleButton, true, true, true, false};
        QTest::newRow("check button checks") << Click{Toolbar::StyleCheck, false, false, true, false};
        QTest::newRow("check button unchecks") << Click{Toolbar::StyleCheck, false, true, false, false};
        QTest::newRow("drop-down arrow") << Click{Toolbar::StyleDropDown, true, false, false, true};
        QTest::newRow("drop-down body") << Click{Toolbar::StyleDropDown, false, false, false, false};
    }
    void mouseClick()
    {
        QFETCH(Click, click);
        m_form->show();
        m_toolbar->addButton(QStringLiteral("Sep"), -1, {}, 0, {}, Toolbar::StyleSeparator);
        m_toolbar->addButton({}, 0, {}, 0, QStringLiteral("M"), click.style, QStringLiteral("tbMeta"));
        m_toolbar->setButtonChecked(QStringLiteral("tbMeta"), click.checkedBefore);
        QList<int> clicks;
        bool pressedDuringClick = false;
        connect(m_toolbar.get(), &Toolbar::buttonClicked, this, [&](int index) {
            clicks << index;
            pressedDuringClick = m_toolbar->buttonPressed(index);
        });
        QSignalSpy drops(m_toolbar.get(), &Toolbar::dropDownPressed);
        QToolButton *button = buttonWidget(*m_toolbar, 1);
        QTest::mouseClick(button, Qt::LeftButton, {},
                          QPoint(click.onArrow ? button->width() - 3 : button->width() / 2, button->height() / 2));
        QCOMPARE(clicks, click.dropped ? QList<int>{} : QList<int>{1});
        QCOMPARE(drops.count(), click.dropped ? 1 : 0);
        QCOMPARE(pressedDuringClick, !click.dropped);
        QVERIFY(!m_toolbar->buttonPressed(1));
        QCOMPARE(m_toolbar->buttonChecked(1), click.checkedAfter);
    }

    void altLetter_data()
    {
        QTest::addColumn<AltPress>("row");
        QTest::newRow("Alt+V") << AltPress { (Qt::ALT | Qt::Key_V), true, QList<int>{2}, "" };
        QTest::newRow("Alt+Shift+F") << AltPress { (Qt::ALT | Qt::SHIFT | Qt::Key_F), true, QList<int>{}, "" };
        QTest::newRow("F without Alt") << AltPress { QKeyCombination(Qt::Key_F), true, QList<int>{}, "f" };
        QTest::newRow("hidden button") << AltPress { (Qt::ALT | Qt::Key_W), true, QList<int>{}, "" };
        QTest::newRow("Alt+digit") << AltPress { (Qt::ALT | Qt::Key_5), true, QList<int>{}, "" };
        QTest::newRow("owner form not active") << AltPress { (Qt::ALT | Qt::Key_F), false, QList<int>{}, "" };
    }
    void altLetter()
    {
        QFETCH(AltPress, row);
        const auto [keys, ownerActive, clicked, typed] = row;
        addTextButtons(*m_toolbar, {"&File", "&Window", "&View"});
        m_toolbar->setButtonVisible(1, false);
        auto *field = new QLineEdit(m_form.get());
        field->move(0, 100);
        m_form->show();
        QLineEdit otherField;
        QWidget *active = ownerActive ? static_cast<QWidget *>(field) : &otherField;
        active->window()->show();
        active->activateWindow();
        active->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(active->window()));
        QList<int> clicks;
        connect(m_toolbar.get(), &Toolbar::buttonClicked, this, [&](int index) { clicks << index; });
        QTest::keyClick(active, keys.key(), keys.keyboardModifiers());
        QCOMPARE(clicks, clicked);
        QCOMPARE(qobject_cast<QLineEdit *>(active)->text(), typed);
    }

    // Any control is taken in at the width it has and stays; only toolbars go back to their
    // former parent. A toolbar without a window is recorded, not placed.
    void hostTakesInOtherControls()
    {
        ToolbarHost *host = makeHost();
        host->resize(600, 60);
        auto *field = new QLineEdit(m_form.get());
        field->resize(120, 22);
        Toolbar windowless(m_form.get());
        addTextButtons(*m_toolbar, { "&File" });
        host->capture(static_cast<Toolbar *>(nullptr));
        host->capture(static_cast<QWidget *>(nullptr));
        QCOMPARE(host->capturedCount(), 0);
        QCOMPARE(host->requiredHeight(), 0);
        host->capture(&windowless);
        host->capture(field);
        host->capture(m_toolbar.get());
        QCOMPARE(host->capturedCount(), 3);
        QCOMPARE(field->parentWidget(), host);
        QCOMPARE(field->geometry(), QRect(2 + host->frameWidth(), host->frameWidth(), 120, 22));
        QCOMPARE(m_toolbar->hwnd()->x(), field->geometry().right() + 3);
        host->resize(130, 60);
        host->refresh();
        QVERIFY2(m_toolbar->hwnd()->y() > field->geometry().bottom(), "the toolbar on a row of its own");
        host->resize(600, 60);
        host->autosize();
        QCOMPARE(m_toolbar->hwnd()->y(), field->y());
        host->releaseCaptures();
        QCOMPARE(host->capturedCount(), 0);
        QCOMPARE(m_toolbar->hwnd()->parentWidget(), m_form.get());
        QCOMPARE(field->parentWidget(), host);
    }

    // Without a menu bar among its toolbars the host opens the maximized child's own system
    // menu from the child's icon.
    void hostChildIconOpensTheSystemMenu()
    {
        ToolbarHost *host = makeHost();
        addTextButtons(*m_toolbar, { "&File" });
        host->capture(m_toolbar.get());
        host->setMdiToolbar(true);
        m_form->show();
        QPointer<QMdiSubWindow> child = m_area->addSubWindow(new QWidget);
        child->showMaximized();
        QVERIFY(host->showsChildIcon());
        QWidget *opened = nullptr;
        QTimer::singleShot(0, [&opened] {
            opened = QApplication::activePopupWidget();
            if (opened)
                opened->close();
        });
        QTest::mousePress(host->childIcon(), Qt::LeftButton);
        QTRY_VERIFY(opened);
        QCOMPARE(opened, child->systemMenu());
    }

    void hostPlacesItemsInRows_data()
    {
        QTest::addColumn<HostRow>("row");
        QTest::newRow("room for both") << HostRow { 600, 0, false, Placement::OneRow };
        QTest::newRow("second would not fit") << HostRow { 150, 0, false, Placement::SecondBelow };
        QTest::newRow("too narrow even for one") << HostRow { 20, 0, false, Placement::SecondBelow };
        QTest::newRow("inside the default border") << HostRow { 600, 1, false, Placement::OneRow };
        QTest::newRow("wrappable with room for both") << HostRow { 600, 0, true, Placement::OneRow };
        QTest::newRow("wrappable second wraps its buttons beside the first")
            << HostRow { -1, 0, true, Placement::SecondWraps };
    }
    void hostPlacesItemsInRows()
    {
        QFETCH(HostRow, row);
        auto [hostWidth, borderStyle, wrappable, placement] = row;
        ToolbarHost *host = makeHost();
        host->setBorderStyle(borderStyle);
        constexpr quint32 kRed = 0x0000FF;
        host->setBackColor(kRed);
        Toolbar second(m_form.get());
        for (Toolbar *toolbar : {m_toolbar.get(), &second}) {
            toolbar->createToolbar(16, true, true, wrappable);
            addTextButtons(*toolbar, {"&File", "&Window", "&Help"});
        }
        if (hostWidth < 0)
            hostWidth = 2 + m_toolbar->toolbarWidth() + 2 + second.maxButtonWidth() + 8;
        host->resize(hostWidth, 60);
        host->capture(m_toolbar.get());
        host->capture(&second);
        const int border = host->frameWidth();
        const QRect first = m_toolbar->hwnd()->geometry();
        QCOMPARE(first, QRect(2 + border, border, m_toolbar->toolbarWidth(), m_toolbar->toolbarHeight()));
        const QRect next = second.hwnd()->geometry();
        QCOMPARE(next.topLeft(),
            placement == Placement::SecondBelow ? QPoint(2 + border, border + first.height() + 3)
                                                : QPoint(first.right() + 3, border));
        QCOMPARE(next.height(), second.toolbarHeight());
        QCOMPARE(next.height() > first.height(), placement == Placement::SecondWraps);
        QVERIFY2(placement == Placement::SecondBelow || next.right() <= host->contentsRect().right(),
            "the second stays inside the host");
        QCOMPARE(host->requiredHeight(), 2 * border + next.bottom() + 1 - border);
        const QImage drawn = host->grab().toImage();
        // Red just left of the first button; on the top edge only where no border is.
        QCOMPARE(drawn.pixelColor(first.left() - 1, first.center().y()), QColor(Qt::red));
        QCOMPARE(drawn.pixelColor(first.left() + 4, 0) == QColor(Qt::red), border == 0);
        host->releaseCaptures();
        QCOMPARE(m_toolbar->hwnd()->parentWidget(), m_form.get());
        QCOMPARE(host->requiredHeight(), 0);
    }

    void hostCaptionButtonsActOnTheMaximizedChild_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("state");
        QTest::newRow("minimize") << int(ToolbarHost::Minimize) << QStringLiteral("minimized");
        QTest::newRow("restore") << int(ToolbarHost::Restore) << QStringLiteral("normal");
        QTest::newRow("close") << int(ToolbarHost::Close) << QStringLiteral("closed");
    }
    void hostCaptionButtonsActOnTheMaximizedChild()
    {
        QFETCH(int, button);
        QFETCH(QString, state);
        ToolbarHost *host = makeHost();
        addTextButtons(*m_toolbar, {"&File", "&Edit"});
        host->capture(m_toolbar.get());
        host->setMdiToolbar(true);
        m_form->show();
        QPointer<QMdiSubWindow> child = m_area->addSubWindow(new QWidget);
        child->show();
        QVERIFY(!host->showsChildIcon());
        const QPoint before = m_toolbar->hwnd()->pos();
        child->showMaximized();
        QCOMPARE(host->activeChild(), child.data());
        QVERIFY(host->childIcon()->isVisible());
        QVERIFY(m_toolbar->hwnd()->x() > host->childIcon()->geometry().right());
        QToolButton *close = host->captionButtonWidget(ToolbarHost::Close);
        QVERIFY(close->isVisible() && close->geometry().right() < host->width());
        QVERIFY(host->captionButtonWidget(ToolbarHost::Minimize)->x() < close->x());
        QTest::mouseClick(host->captionButtonWidget(ToolbarHost::CaptionButton(button)), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(!child || child->isHidden() ? QStringLiteral("closed")
                 : child->isMinimized()      ? QStringLiteral("minimized")
                 : child->isMaximized()      ? QStringLiteral("maximized")
                                             : QStringLiteral("normal"),
                 state);
        if (state == QStringLiteral("normal")) {
            QVERIFY(!host->showsChildIcon() && !close->isVisible());
            QCOMPARE(m_toolbar->hwnd()->pos(), before);
        }
    }

    void rebarBandsComeAndGo()
    {
        Rebar rebar;
        QWidget *holder = child(300, 100);
        QWidget *a = child(100, 20, holder);
        QCOMPARE(rebar.addBandByHwnd(a), 0); // no rebar window yet
        QCOMPARE(a->parentWidget(), holder);
        rebar.createRebar(m_form.get());
        const int first = rebar.addBandByHwnd(a, {}, false, false, QStringLiteral("Toolbar"));
        QWidget *b = child(100, 20);
        const int second = rebar.addBandByHwnd(b, {}, false, false, 7);
        QCOMPARE(a->parentWidget(), rebar.hwnd());
        rebar.removeBand(0);
        QCOMPARE(a->parentWidget(), holder);
        const int third = rebar.addBandByHwnd(child(100, 20), {}, false, false, QStringLiteral("Progress"));
        QCOMPARE(third, second + 1);
        QCOMPARE(second, first + 1);
        QCOMPARE(rebar.bandIndexForId(first), -1);
        QCOMPARE(rebar.bandIndexForData(7), 0);
        QCOMPARE(rebar.bandIndexForData(QStringLiteral("Progress")), 1);
        QCOMPARE(rebar.bandIndexForData(QStringLiteral("progress")), -1);
        const int left = rebar.bandRectangle(1).left();
        rebar.setBandChildMinWidth(0, 150);
        QCOMPARE(b->width(), 150);
        QCOMPARE(rebar.bandRectangle(1).left(), left + 50);
    }

    void rebarLeavesRoomForEarlierDockedWindows_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QRect>("geometry"); // the height is the rebar's
        QTest::newRow("window on the same side") << int(Rebar::Top) << true << QRect(0, 32, 600, 0);
        QTest::newRow("window on the left") << int(Rebar::Left) << true << QRect(32, 0, 568, 0);
        QTest::newRow("window opposite") << int(Rebar::Bottom) << true << QRect(0, 0, 600, 0);
        QTest::newRow("hidden window on the same side") << int(Rebar::Top) << false << QRect(0, 0, 600, 0);
    }
    void rebarLeavesRoomForEarlierDockedWindows()
    {
        QFETCH(int, side);
        QFETCH(bool, visible);
        QFETCH(QRect, geometry);
        QWidget *docked = child(30, 30);
        docked->setVisible(visible);
        Rebar::addResizeObject(m_form.get(), docked, Rebar::Side(side));
        Rebar rebar;
        rebar.createRebar(m_form.get());
        rebar.addBandByHwnd(child(100, 24));
        geometry.setHeight(rebar.rebarHeight());
        QCOMPARE(rebar.hwnd()->geometry(), geometry);
    }

    void rebarHeightFollowsRowsAndVisibility()
    {
        Rebar rebar;
        rebar.createRebar(m_form.get());
        QCOMPARE(rebar.rebarHeight(), 0);
        QSignalSpy heights(&rebar, &Rebar::heightChanged);
        rebar.addBandByHwnd(child(100, 24));
        const int oneRow = rebar.rebarHeight();
        rebar.addBandByHwnd(child(100, 20));
        QCOMPARE(rebar.rebarHeight(), oneRow);
        rebar.addBandByHwnd(child(100, 30), {}, true);
        QVERIFY(rebar.rebarHeight() >= oneRow + 30);
        QVERIFY(rebar.bandRectangle(2).top() >= rebar.bandRectangle(0).bottom());
        rebar.setBandVisible(2, false);
        QCOMPARE(rebar.rebarHeight(), oneRow);
        QVERIFY(rebar.bandRectangle(2).isEmpty());
        QCOMPARE(heights.last().at(0).toInt(), oneRow);
    }

    // Four plain buttons in a window `room` buttons and `extra` pixels wide. The buttons'
    // states change afterwards: that must not bring back one that does not fit.
    void onlyWholeButtonsShow_data()
    {
        QTest::addColumn<Room>("row");
        QTest::newRow("room for three exactly") << Room { 3, 0, -1, false, QList<int> { 0, 1, 2 } };
        QTest::newRow("a pixel short of three") << Room { 3, -1, -1, false, QList<int> { 0, 1 } };
        QTest::newRow("three and a pixel") << Room { 3, 1, -1, false, QList<int> { 0, 1, 2 } };
        QTest::newRow("room for all") << Room { 4, 0, -1, false, QList<int> { 0, 1, 2, 3 } };
        QTest::newRow("room for none") << Room { 0, 5, -1, false, QList<int> {} };
        QTest::newRow("the second hidden: the fourth takes its room")
            << Room { 3, 0, 1, false, QList<int> { 0, 2, 3 } };
        // A menu bar has no chevron: each row shows its button, cut or not.
        QTest::newRow("wrapping, narrower than a button") << Room { 0, 5, -1, true, QList<int> { 0, 1, 2, 3 } };
    }
    void onlyWholeButtonsShow()
    {
        QFETCH(Room, row);
        const auto [room, extra, hidden, wrappable, shown] = row;
        m_toolbar->setWrappable(wrappable);
        m_form->show();
        for (int i = 0; i < 4; ++i)
            m_toolbar->addButton(QStringLiteral("tip %1").arg(i));
        const int width = m_toolbar->buttonWidth(0);
        if (hidden >= 0)
            m_toolbar->setButtonVisible(hidden, false);
        m_toolbar->hwnd()->resize(room * width + extra, m_toolbar->hwnd()->height());
        for (int i = 0; i < 4; ++i) {
            m_toolbar->setButtonChecked(i, true);
            m_toolbar->setButtonEnabled(i, i % 2 == 0);
            m_toolbar->setButtonToolTip(i, QStringLiteral("changed"));
        }
        QCOMPARE(shownButtons(*m_toolbar), shown);
    }

    // A toolbar band as the main window builds it: text buttons in two groups, able to
    // shrink to 64 px, a fixed 120 px logo after it, its chevron dropping the buttons that
    // do not fit. Every button shows whole in the band or is in the chevron's menu.
    void narrowBandShowsWholeButtons_data()
    {
        QTest::addColumn<int>("formWidth");
        QTest::addColumn<bool>("chevron");
        QTest::newRow("200 px") << 200 << true;
        QTest::newRow("260 px") << 260 << true;
        QTest::newRow("330 px") << 330 << true;
        QTest::newRow("450 px") << 450 << true;
        QTest::newRow("wide enough for all") << 1200 << false;
    }
    void narrowBandShowsWholeButtons()
    {
        QFETCH(int, formWidth);
        QFETCH(bool, chevron);
        m_toolbar->createToolbar(16, true, true, false);
        addTextButtons(*m_toolbar, { "New", "Open", "Save" });
        m_toolbar->addButton({}, -1, {}, 0, {}, Toolbar::StyleSeparator);
        addTextButtons(*m_toolbar, { "Cut", "Copy", "Paste", "Undo", "Settings" });
        m_form->resize(formWidth, 400);
        m_form->show();
        Rebar rebar;
        rebar.createRebar(m_form.get());
        rebar.addBandByHwnd(m_toolbar->hwnd(), {}, false, false, QStringLiteral("Toolbar"));
        rebar.setBandChildMinWidth(0, 64);
        rebar.addBandByHwnd(child(120, 24), {}, false, true);
        QWidget *window = m_toolbar->hwnd();
        connect(&rebar, &Rebar::chevronPushed, this, [this, window](int, const QRect &at) {
            m_toolbar->popupButtonsBeyond(window->width(), m_form->mapToGlobal(at.bottomLeft()));
        });

        QStringList seen;
        for (const int i : shownButtons(*m_toolbar)) {
            QVERIFY2(window->rect().contains(m_toolbar->buttonRect(i)), "a button shows only whole");
            if (!m_toolbar->buttonCaption(i).isEmpty())
                seen.append(m_toolbar->buttonCaption(i));
        }
        const QRect chevronRect = rebar.bandChevronRectangle(0);
        QCOMPARE(!chevronRect.isEmpty(), chevron);
        if (chevron) {
            QVERIFY(window->geometry().right() < chevronRect.left());
            QStringList offered;
            QTimer::singleShot(0, this, [&offered] {
                auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                QVERIFY(popup);
                for (const QAction *action : popup->actions()) {
                    if (!action->isSeparator())
                        offered.append(action->text());
                }
                popup->close();
            });
            QTest::mouseClick(rebar.hwnd(), Qt::LeftButton, {}, chevronRect.center());
            QVERIFY2(!offered.isEmpty(), "the chevron offers what does not show");
            seen += offered;
        }
        QCOMPARE(seen, QStringList({ "New", "Open", "Save", "Cut", "Copy", "Paste", "Undo", "Settings" }));
    }

    // Three bands in a 600 px rebar: 100, 200 and 100 px children, the second able to
    // shrink to 50. Each band takes its child's width and the gripper's 8 px; the last one
    // takes the rest of the 598 px within the frame: 108, 208 and 282.
    void rebarGripperDraggedAlong_data()
    {
        QTest::addColumn<DragAlong>("row");
        QTest::newRow("second band right") << DragAlong { 1, 40, false, 40 };
        QTest::newRow("second band right down to its least") << DragAlong { 1, 400, false, 208 - 58 };
        QTest::newRow("second band left: the first is at its least") << DragAlong { 1, -300, false, 0 };
        QTest::newRow("last band left") << DragAlong { 2, -30, false, -30 };
        QTest::newRow("last band left down to the second's least") << DragAlong { 2, -500, false, 58 - 208 };
        QTest::newRow("last band right down to its least") << DragAlong { 2, 500, false, 282 - 108 };
        QTest::newRow("the first band has none before it") << DragAlong { 0, 50, false, 0 };
        QTest::newRow("a refused drag") << DragAlong { 1, 40, true, 0 };
    }
    void rebarGripperDraggedAlong()
    {
        QFETCH(DragAlong, row);
        const auto [band, by, refused, moves] = row;
        Rebar rebar;
        rebar.createRebar(m_form.get());
        for (const int width : { 100, 200, 100 })
            rebar.addBandByHwnd(child(width, 20));
        rebar.setBandChildMinWidth(1, 50);
        const QRect dragged = rebar.bandRectangle(band);
        const QRect before = rebar.bandRectangle(band - 1);
        const int height = rebar.rebarHeight();
        QSignalSpy begun(&rebar, &Rebar::beginBandDrag);
        QSignalSpy ended(&rebar, &Rebar::endBandDrag);
        QSignalSpy changed(&rebar, &Rebar::layoutChanged);
        if (refused)
            connect(&rebar, &Rebar::beginBandDrag, this, [](int, bool *cancel) { *cancel = true; });
        dragGripper(rebar, band, gripper(rebar, band) + QPoint(by, 0));
        QCOMPARE(rebar.bandRectangle(band).left() - dragged.left(), moves);
        QCOMPARE(rebar.bandRectangle(band).right(), dragged.right());
        if (band > 0)
            QCOMPARE(rebar.bandRectangle(band - 1).width() - before.width(), moves);
        QCOMPARE(rebar.rebarHeight(), height);
        QCOMPARE(begun.count(), 1);
        QCOMPARE(begun.first().at(0).toInt(), rebar.bandIdForIndex(band));
        QCOMPARE(ended.count(), refused ? 0 : 1);
        QCOMPARE(changed.isEmpty(), moves == 0);
    }

    // Bands named by letters, rows parted by "|", each band 100 px with a 20 px child. A
    // band's gripper is dragged a row's height up or down, the mouse ending straight across
    // or at `alongAt` along the bar.
    void rebarGripperDraggedAcross_data()
    {
        QTest::addColumn<DragAcross>("row");
        QTest::newRow("first band down onto a row of its own") << DragAcross { "A B C", 'A', 1, -1, "B C | A" };
        QTest::newRow("middle band down onto a row of its own") << DragAcross { "A B C", 'B', 1, -1, "A C | B" };
        QTest::newRow("back up to the start of the row") << DragAcross { "B C | A", 'A', -1, -1, "A B C" };
        // B is 108 long from 1: its middle at 55; C, last, counts as long as it wants: its
        // middle at 163, not at 354.
        QTest::newRow("up past the middle of the first band") << DragAcross { "B C | A", 'A', -1, 80, "B A C" };
        QTest::newRow("up to the end of the row") << DragAcross { "B C | A", 'A', -1, 300, "B C A" };
        QTest::newRow("down into the next row, at its start") << DragAcross { "A B | C", 'A', 1, -1, "B | A C" };
        QTest::newRow("up: the band after it starts its row now")
            << DragAcross { "A | B C", 'B', -1, 400, "A B | C" };
        QTest::newRow("down from the second row onto a row of its own")
            << DragAcross { "A | B C", 'B', 1, -1, "A | C | B" };
        QTest::newRow("alone in the middle row, down into the last")
            << DragAcross { "A | B | C", 'B', 1, -1, "A | B C" };
        QTest::newRow("alone in the last row: it has a row of its own")
            << DragAcross { "A B | C", 'C', 1, -1, "A B | C" };
        QTest::newRow("up from the first row: no row there") << DragAcross { "A B C", 'B', -1, -1, "A B C" };
    }
    void rebarGripperDraggedAcross()
    {
        QFETCH(DragAcross, row);
        const auto [layout, band, rowsDown, alongAt, after] = row;
        const QString name(QLatin1Char { band });
        Rebar rebar;
        rebar.createRebar(m_form.get());
        addBands(rebar, layout);
        QCOMPARE(bandLayout(rebar), layout);
        const int id = rebar.bandIdForIndex(rebar.bandIndexForData(name));
        const int height = rebar.rebarHeight();
        QSignalSpy heights(&rebar, &Rebar::heightChanged);
        QSignalSpy changed(&rebar, &Rebar::layoutChanged);
        QSignalSpy ended(&rebar, &Rebar::endBandDrag);
        const int index = rebar.bandIndexForId(id);
        QPoint to = gripper(rebar, index) + QPoint(0, rowsDown * rebar.bandRectangle(index).height());
        if (alongAt >= 0)
            to.setX(alongAt);
        dragGripper(rebar, index, to);
        QCOMPARE(bandLayout(rebar), after);
        QCOMPARE(rebar.bandData(id).toString(), name);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.first().at(0).toInt(), id);
        QCOMPARE(changed.isEmpty(), after == layout);
        const qsizetype rowsBefore = layout.count(QLatin1Char('|'));
        const qsizetype rowsAfter = after.count(QLatin1Char('|'));
        QCOMPARE(rebar.rebarHeight() > height, rowsAfter > rowsBefore);
        QCOMPARE(rebar.rebarHeight() < height, rowsAfter < rowsBefore);
        QCOMPARE(heights.isEmpty(), rowsAfter == rowsBefore);
        if (!heights.isEmpty())
            QCOMPARE(heights.last().at(0).toInt(), rebar.rebarHeight());
        // Each child moves with its band.
        for (auto it = m_children.cbegin(); it != m_children.cend(); ++it) {
            const QRect bandRect = rebar.bandRectangle(rebar.bandIndexForData(it.key()));
            QVERIFY2(bandRect.contains(it.value()->geometry()), qPrintable(it.key()));
        }
    }

    // A button's tip, caption and image show on its widget; equal captions share one entry of
    // the text pool; a missing button answers with nothing and takes no change.
    void toolbarButtonProperties()
    {
        IconList icons;
        icons.addIcon(QIcon(QPixmap(16, 16)));
        m_toolbar->setImageList(QVariant::fromValue(&icons));
        addTextButtons(*m_toolbar, { QStringLiteral("Open"), QStringLiteral("Save") });
        m_toolbar->setButtonToolTip(QStringLiteral("kSave"), QStringLiteral("Save the page"));
        m_toolbar->setButtonCaption(1, QStringLiteral("Open"));
        m_toolbar->setButtonImage(1, 0);
        m_form->show();
        QCOMPARE(buttonWidget(*m_toolbar, 1)->toolTip(), QStringLiteral("Save the page"));
        QCOMPARE(m_toolbar->buttonToolTip(1), QStringLiteral("Save the page"));
        QCOMPARE(m_toolbar->buttonCaption(1), QStringLiteral("Open"));
        QCOMPARE(m_toolbar->buttonStringIndex(1), m_toolbar->buttonStringIndex(0));
        QVERIFY(!buttonWidget(*m_toolbar, 1)->icon().isNull());
        QCOMPARE(m_toolbar->buttonImage(1), 0);
        QVERIFY(m_toolbar->buttonId(1) != m_toolbar->buttonId(0));
        m_toolbar->setButtonCaption(0, QString());
        QCOMPARE(m_toolbar->buttonStringIndex(0), -1);
        QCOMPARE(m_toolbar->buttonCaption(0), QString());

        const QVariant missing(QStringLiteral("kNone"));
        m_toolbar->setButtonToolTip(missing, QStringLiteral("x"));
        m_toolbar->setButtonCaption(missing, QStringLiteral("x"));
        m_toolbar->setButtonImage(missing, 0);
        m_toolbar->setButtonTextVisible(missing, false);
        QCOMPARE(m_toolbar->buttonCount(), 2);
        QCOMPARE(m_toolbar->buttonKey(5), QString());
        QCOMPARE(m_toolbar->buttonId(missing), 0);
        QCOMPARE(m_toolbar->buttonStringIndex(missing), -1);
        QCOMPARE(m_toolbar->buttonToolTip(missing), QString());
        QCOMPARE(m_toolbar->buttonCaption(missing), QString());
        QCOMPARE(m_toolbar->buttonImage(missing), -1);
        QVERIFY(!m_toolbar->buttonTextVisible(missing));
        QVERIFY(m_toolbar->buttonAccelerator(missing).isNull());
    }

    // Only a list-style toolbar shows text on some buttons and not on others; any other takes
    // the choice for all its buttons.
    void buttonTextVisible_data()
    {
        QTest::addColumn<bool>("listStyle");
        QTest::addColumn<QList<bool>>("visible");
        QTest::newRow("list style: that button alone") << true << QList<bool> { true, false };
        QTest::newRow("otherwise: every button") << false << QList<bool> { false, false };
    }
    void buttonTextVisible()
    {
        QFETCH(bool, listStyle);
        QFETCH(QList<bool>, visible);
        addTextButtons(*m_toolbar, { QStringLiteral("Open"), QStringLiteral("Save") });
        m_toolbar->setListStyle(listStyle);
        m_toolbar->setButtonTextVisible(0, true);
        m_toolbar->setButtonTextVisible(1, true);
        const int wide = m_toolbar->toolbarWidth();
        m_toolbar->setButtonTextVisible(1, false);
        QCOMPARE((QList<bool> { m_toolbar->buttonTextVisible(0), m_toolbar->buttonTextVisible(1) }), visible);
        QVERIFY(m_toolbar->toolbarWidth() <= wide);
    }

    // With hot or disabled lists a button shows the hot picture under the mouse and the
    // disabled one when disabled, each from its own list; without them only the normal one.
    void buttonImagesPerState_data()
    {
        QTest::addColumn<ImageLists>("row");
        QTest::newRow("normal list only") << ImageLists { false, false, QColor(Qt::red), QColor() };
        QTest::newRow("hot list") << ImageLists { true, false, QColor(Qt::green), QColor() };
        QTest::newRow("disabled list") << ImageLists { false, true, QColor(Qt::red), QColor(Qt::blue) };
        QTest::newRow("all three") << ImageLists { true, true, QColor(Qt::green), QColor(Qt::blue) };
    }
    void buttonImagesPerState()
    {
        QFETCH(ImageLists, row);
        const auto [withHot, withDisabled, hot, disabled] = row;
        const auto flat = [](Qt::GlobalColor colour) {
            IconList list;
            QPixmap pixmap(16, 16);
            pixmap.fill(colour);
            list.addIcon(QIcon(pixmap));
            return list;
        };
        IconList normalList = flat(Qt::red);
        IconList hotList = flat(Qt::green);
        IconList disabledList = flat(Qt::blue);
        m_toolbar->setImageList(QVariant::fromValue(&normalList));
        if (withHot)
            m_toolbar->setImageList(QVariant::fromValue(hotList.hImageList()), Toolbar::HotImages);
        if (withDisabled)
            m_toolbar->setImageList(QVariant::fromValue(&disabledList), Toolbar::DisabledImages);
        m_toolbar->addButton(QStringLiteral("Open"), 0);
        m_toolbar->addButton(QStringLiteral("Past the lists"), 3);
        m_form->show();
        const QIcon icon = buttonWidget(*m_toolbar, 0)->icon();
        const auto shown = [&icon](QIcon::Mode mode) { return icon.pixmap(QSize(16, 16), mode).toImage().pixelColor(8, 8); };
        QCOMPARE(shown(QIcon::Normal), QColor(Qt::red));
        QCOMPARE(shown(QIcon::Active), hot);
        if (disabled.isValid())
            QCOMPARE(shown(QIcon::Disabled), disabled);
        else
            QVERIFY2(shown(QIcon::Disabled) != QColor(Qt::red), "greyed from the normal picture");
        QVERIFY(buttonWidget(*m_toolbar, 1)->icon().isNull());
    }

    // An image list of any other kind than a list or its handle is refused by number.
    void toolbarRefusesOtherImageLists()
    {
        try {
            m_toolbar->setImageList(QVariant(QStringLiteral("icons")));
            QFAIL("no error raised");
        } catch (const ControlError &error) {
            QCOMPARE(error.number(), qint32(0x80040000u) + Toolbar::kErrImageListArgument);
            QCOMPARE(error.description(), QStringLiteral("ImageList property expects ImageList object or long hImageList handle."));
        }
    }

    // A drop-down opens at the button's bottom-left corner, given in twips of the owner form.
    void dropDownPosition()
    {
        addTextButtons(*m_toolbar, { QStringLiteral("Open"), QStringLiteral("Recent") });
        m_toolbar->hwnd()->move(30, 40);
        int x = -1;
        int y = -1;
        m_toolbar->getDropDownPosition(1, x, y);
        const QRect button = m_toolbar->buttonRect(1);
        QCOMPARE(qRound(x * m_form->logicalDpiX() / 1440.0), 30 + button.left());
        QCOMPARE(qRound(y * m_form->logicalDpiY() / 1440.0), 40 + button.bottom() + 1);
        int untouchedX = -1;
        int untouchedY = -1;
        m_toolbar->getDropDownPosition(7, untouchedX, untouchedY);
        QCOMPARE(untouchedX, -1);
        QCOMPARE(untouchedY, -1);
    }

    // The rebar keeps to the side of the form it is put on, as long as that side, as thick
    // as its rows.
    void rebarSides_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<Qt::Edge>("edge");
        QTest::newRow("top") << int(Rebar::Top) << Qt::TopEdge;
        QTest::newRow("bottom") << int(Rebar::Bottom) << Qt::BottomEdge;
        QTest::newRow("left") << int(Rebar::Left) << Qt::LeftEdge;
        QTest::newRow("right") << int(Rebar::Right) << Qt::RightEdge;
    }
    void rebarSides()
    {
        QFETCH(int, side);
        QFETCH(Qt::Edge, edge);
        Rebar rebar;
        rebar.createRebar(m_form.get());
        rebar.addBandByHwnd(child(100, 24));
        // A second row stands beside the first, after it across the bar.
        rebar.addBandByHwnd(child(100, 24), {}, true);
        QSignalSpy heights(&rebar, &Rebar::heightChanged);
        rebar.setPosition(Rebar::Side(side));
        QCOMPARE(rebar.position(), Rebar::Side(side));
        QVERIFY(!heights.isEmpty());
        const QRect form = m_form->rect();
        const QRect bar = rebar.hwnd()->geometry();
        const bool upright = edge == Qt::LeftEdge || edge == Qt::RightEdge;
        QCOMPARE(rebar.rebarWidth(), upright ? form.height() : form.width());
        QCOMPARE(upright ? bar.width() : bar.height(), rebar.rebarHeight());
        QVERIFY(rebar.rebarHeight() >= 48);
        const QRect outer = rebar.bandRectangle(0);
        const QRect inner = rebar.bandRectangle(1);
        QVERIFY2(upright ? inner.left() > outer.right() : inner.top() > outer.bottom(), qPrintable(QStringLiteral("%1,%2 %3x%4 against %5,%6 %7x%8").arg(inner.x()).arg(inner.y())
            .arg(inner.width()).arg(inner.height()).arg(outer.x()).arg(outer.y()).arg(outer.width()).arg(outer.height())));
        const auto corner = [edge](const QRect &r) {
            return edge == Qt::BottomEdge ? r.bottomLeft() : edge == Qt::RightEdge ? r.topRight() : r.topLeft();
        };
        QCOMPARE(corner(bar), corner(form));
    }

    // What each band property does to the bands as they show.
    void rebarBandProperties_data()
    {
        QTest::addColumn<RebarChange>("change");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, RebarChange change, const char *expected) {
            QTest::newRow(name) << change << QString::fromLatin1(expected);
        };
        row("as added", [](Rebar &) {}, "A B");
        row("B moved before A", [](Rebar &r) { r.bandMove(1, 0); }, "B A");
        row("moved onto itself", [](Rebar &r) { r.bandMove(1, 1); }, "A B");
        row("moved to no band", [](Rebar &r) { r.bandMove(1, 5); }, "A B");
        row("B hidden", [](Rebar &r) { r.setBandVisible(1, false); }, "A");
        row("B shown again", [](Rebar &r) {
            r.setBandVisible(1, false);
            r.setBandVisible(1, true);
        }, "A B");
        row("B removed", [](Rebar &r) { r.removeBand(1); }, "A");
        row("all removed", [](Rebar &r) { r.removeAllRebarBands(); }, "");
    }
    void rebarBandProperties()
    {
        QFETCH(RebarChange, change);
        QFETCH(QString, expected);
        Rebar rebar;
        rebar.createRebar(m_form.get());
        rebar.addBandByHwnd(child(100, 20), {}, false, false, QStringLiteral("A"));
        rebar.addBandByHwnd(child(80, 20), {}, false, false, QStringLiteral("B"));
        change(rebar);
        QCOMPARE(bandLayout(rebar), expected);
        QCOMPARE(rebar.bandVisible(1), expected.size() == 3);
    }

    // Where a band's child sits: after the gripper (none on a fixed band or when taken away),
    // inside an edge when asked, as thick as its minimum height allows and no thicker than
    // its maximum.
    void rebarBandChild_data()
    {
        QTest::addColumn<RebarChange>("change");
        QTest::addColumn<int>("leftShift"); // against the child of a plain band
        QTest::addColumn<int>("height"); // -1: no taller than the child
        const auto row = [](const char *name, RebarChange change, int leftShift, int height) {
            QTest::newRow(name) << change << leftShift << height;
        };
        row("plain", [](Rebar &) {}, 0, 20);
        row("gripper taken away", [](Rebar &r) { r.setBandGripper(0, false); }, -1, 20);
        row("gripper back", [](Rebar &r) {
            r.setBandGripper(0, false);
            r.setBandGripper(0, true);
        }, 0, 20);
        row("child edge", [](Rebar &r) { r.setBandChildEdge(0, true); }, 1, -1);
        row("minimum height 30", [](Rebar &r) { r.setBandChildMinHeight(0, 30); }, 0, 30);
        row("maximum height 12", [](Rebar &r) {
            r.setBandChildMinHeight(0, 30);
            r.setBandChildMaxHeight(0, 12);
        }, 0, 12);
        row("child resized to 40 x 26", [](Rebar &r) { r.bandChildResized(0, 40, 26); }, 0, 26);
    }
    void rebarBandChild()
    {
        QFETCH(RebarChange, change);
        QFETCH(int, leftShift);
        QFETCH(int, height);
        Rebar rebar;
        rebar.createRebar(m_form.get());
        QWidget *plainChild = child(100, 20);
        QWidget *changedChild = child(100, 20);
        rebar.addBandByHwnd(changedChild, {}, true);
        rebar.addBandByHwnd(plainChild, {}, true);
        change(rebar);
        const int shift = changedChild->x() - plainChild->x();
        QCOMPARE(shift == 0 ? 0 : shift > 0 ? 1 : -1, leftShift);
        if (height >= 0)
            QCOMPARE(changedChild->height(), height);
        else
            QVERIFY(changedChild->height() <= 20);
        QCOMPARE(rebar.bandGripper(0), leftShift >= 0);
        QCOMPARE(rebar.bandChildEdge(0), leftShift > 0);
    }

    // A band's text stands between its gripper and its child.
    void rebarBandText()
    {
        Rebar rebar;
        rebar.createRebar(m_form.get());
        QWidget *plain = child(100, 20);
        QWidget *named = child(100, 20);
        rebar.addBandByHwnd(plain, {}, true);
        rebar.addBandByHwnd(named, QStringLiteral("Tools"), true);
        const int textWidth = rebar.hwnd()->fontMetrics().horizontalAdvance(QStringLiteral("Tools"));
        QVERIFY(named->x() - plain->x() > textWidth);
    }

    // Minimising a band makes it as short as its child; maximising gives it what the others
    // in its row can spare.
    void rebarBandMinimiseAndMaximise()
    {
        Rebar rebar;
        rebar.createRebar(m_form.get());
        QWidget *a = child(100, 20);
        QWidget *b = child(80, 20);
        rebar.addBandByHwnd(a);
        rebar.addBandByHwnd(b);
        QSignalSpy changed(&rebar, &Rebar::layoutChanged);
        rebar.bandMaximise(0);
        QVERIFY(rebar.bandRectangle(0).width() > 400);
        QVERIFY(rebar.bandRectangle(1).width() < 200);
        QCOMPARE(b->width(), 80);
        rebar.bandMinimise(0);
        QVERIFY(rebar.bandRectangle(0).width() < 200);
        QVERIFY(rebar.bandRectangle(1).width() > 400);
        QCOMPARE(a->width(), 100);
        rebar.bandMaximise(1);
        QVERIFY(rebar.bandRectangle(1).width() > 400);
        QCOMPARE(changed.count(), 3);
        rebar.bandMaximise(7);
        rebar.bandMinimise(7);
        QCOMPARE(changed.count(), 3);
    }

    // Asked about a band that is not there, the rebar answers with nothing.
    void rebarNamesNoMissingBand()
    {
        Rebar rebar;
        QCOMPARE(rebar.rebarWidth(), 0);
        rebar.createRebar(m_form.get());
        rebar.addBandByHwnd(child(100, 20));
        for (const int index : { -1, 1 }) {
            QVERIFY(!rebar.bandVisible(index));
            QVERIFY(!rebar.bandGripper(index));
            QVERIFY(!rebar.bandChildEdge(index));
            QVERIFY(!rebar.bandChevron(index));
            QCOMPARE(rebar.bandChildMinHeight(index), 0);
            QCOMPARE(rebar.bandChildMaxHeight(index), 0);
            QCOMPARE(rebar.bandChildMinWidth(index), 0);
            QVERIFY(rebar.bandRectangle(index).isNull());
            QVERIFY(rebar.bandChevronRectangle(index).isNull());
        }
        QVERIFY(rebar.bandGripper(0));
        QVERIFY(rebar.bandChevron(0));
        rebar.setBandChevron(0, false);
        QVERIFY(!rebar.bandChevron(0));
    }

    // A rebar can be hidden and shown, and draws a picture behind its bands when it has one.
    void rebarVisibilityAndPicture()
    {
        Rebar rebar;
        rebar.createRebar(m_form.get());
        rebar.addBandByHwnd(child(100, 20));
        m_form->show();
        QVERIFY(rebar.isVisible());
        rebar.setVisible(false);
        QVERIFY(!rebar.isVisible());
        rebar.setVisible(true);
        const QImage plain = rebar.hwnd()->grab().toImage();
        rebar.setImageFile(QStringLiteral("/nonexistent/picture.png"));
        QVERIFY(!rebar.hasBitmap());
        QPixmap picture(8, 8);
        picture.fill(Qt::magenta);
        rebar.setImagePicture(picture);
        QVERIFY(rebar.hasBitmap());
        QCOMPARE(rebar.backgroundBitmap().size(), QSize(8, 8));
        const QImage drawn = rebar.hwnd()->grab().toImage();
        QVERIFY(drawn != plain);
        QCOMPARE(drawn.pixelColor(drawn.width() - 2, 1), QColor(Qt::magenta));
    }

    // Up beside another band, the drag goes on from where the band joined the row: its start
    // follows the mouse along the row, the band before it growing, itself able to shrink.
    void rebarDragGoesOnInTheNewRow()
    {
        Rebar rebar;
        rebar.createRebar(m_form.get());
        addBands(rebar, QStringLiteral("B C | A"));
        QWidget *bar = rebar.hwnd();
        const int index = rebar.bandIndexForData(QStringLiteral("A"));
        rebar.setBandChildMinWidth(index, 50);
        const QPoint from = gripper(rebar, index);
        const QPoint joined(80, from.y() - rebar.bandRectangle(index).height());
        QTest::mousePress(bar, Qt::LeftButton, {}, from);
        QTest::mouseMove(bar, joined);
        QCOMPARE(bandLayout(rebar), QStringLiteral("B A C"));
        const int start = rebar.bandRectangle(rebar.bandIndexForData(QStringLiteral("A"))).left();
        QTest::mouseMove(bar, joined + QPoint(30, 0));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, joined + QPoint(30, 0));
        QCOMPARE(bandLayout(rebar), QStringLiteral("B A C"));
        QCOMPARE(rebar.bandRectangle(rebar.bandIndexForData(QStringLiteral("A"))).left(), start + 30);
        QCOMPARE(rebar.bandRectangle(rebar.bandIndexForData(QStringLiteral("B"))).width(), 108 + 30);
    }

    // Down onto a row of its own and back: the bands are where they were.
    void rebarBandDraggedDownAndBack()
    {
        Rebar rebar;
        rebar.createRebar(m_form.get());
        addBands(rebar, QStringLiteral("A B C"));
        QList<QRect> rects;
        for (int i = 0; i < rebar.bandCount(); ++i)
            rects.append(rebar.bandRectangle(i));
        const int height = rebar.rebarHeight();
        const QPoint start = gripper(rebar, 0);
        dragGripper(rebar, 0, start + QPoint(0, rects.first().height()));
        QCOMPARE(bandLayout(rebar), QStringLiteral("B C | A"));
        const int index = rebar.bandIndexForData(QStringLiteral("A"));
        dragGripper(rebar, index, gripper(rebar, index) - QPoint(0, rects.first().height()));
        QCOMPARE(rebar.rebarHeight(), height);
        for (int i = 0; i < rebar.bandCount(); ++i)
            QCOMPARE(rebar.bandRectangle(i), rects.at(i));
    }

    // Three bands in one row of a rebar: 100, 200 and 100 px children, the middle one able
    // to shrink to 50.
    void rebarDoubleClickAndChevron_data()
    {
        QTest::addColumn<RowOfThree>("row");
        // The others at their least (gripper and child): 598 - 58 - 108 = 432 for the first.
        QTest::newRow("double click on the first maximises it") << RowOfThree { true, 600, 432 - 108, true };
        QTest::newRow("row too short: the middle band's chevron") << RowOfThree { false, 300, 0, true };
        QTest::newRow("room for all") << RowOfThree { false, 600, 0, false };
    }
    void rebarDoubleClickAndChevron()
    {
        QFETCH(RowOfThree, row);
        const auto [doubleClickFirst, formWidth, secondMoves, chevron] = row;
        m_form->resize(formWidth, 400);
        Rebar rebar;
        rebar.createRebar(m_form.get());
        for (const int width : {100, 200, 100})
            rebar.addBandByHwnd(child(width, 20));
        rebar.setBandChildMinWidth(1, 50);
        QWidget *bar = rebar.hwnd();
        const QRect before = rebar.bandRectangle(1);
        QSignalSpy pushed(&rebar, &Rebar::chevronPushed);
        QSignalSpy childResizes(&rebar, &Rebar::bandChildResize);
        if (doubleClickFirst)
            QTest::mouseDClick(bar, Qt::LeftButton, {}, gripper(rebar, 0));
        QCOMPARE(rebar.bandRectangle(1).left() - before.left(), secondMoves);
        QCOMPARE(childResizes.isEmpty(), secondMoves == 0);
        const QRect chevronRect = rebar.bandChevronRectangle(1);
        QCOMPARE(!chevronRect.isEmpty(), chevron);
        if (!chevron)
            return;
        QVERIFY2(!bar->childAt(chevronRect.center()), "no child covers the chevron");
        QTest::mouseClick(bar, Qt::LeftButton, {}, chevronRect.center());
        QCOMPARE(pushed.count(), 1);
        QCOMPARE(pushed.first().at(0).toInt(), rebar.bandIdForIndex(1));
        QCOMPARE(pushed.first().at(1).toRect(), chevronRect.translated(bar->pos()));
    }

private:
    // A host across the top of the form, above an MDI area.
    ToolbarHost *makeHost()
    {
        auto *host = new ToolbarHost(m_form.get());
        host->setGeometry(0, 0, 600, 60);
        host->setBorderStyle(0);
        m_area = new QMdiArea(m_form.get());
        m_area->setGeometry(0, 60, 600, 340);
        return host;
    }

    QWidget *child(int width, int height, QWidget *parent = nullptr)
    {
        auto *widget = new QWidget(parent ? parent : m_form.get());
        widget->resize(width, height);
        widget->show();
        return widget;
    }

    // Bands named in a layout such as "A B | C", each carrying its name as its data.
    void addBands(Rebar &rebar, const QString &layout)
    {
        m_children.clear();
        bool breakLine = false;
        for (const QString &name : layout.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (name == QStringLiteral("|")) {
                breakLine = true;
                continue;
            }
            m_children.insert(name, child(100, 20));
            rebar.addBandByHwnd(m_children.value(name), {}, breakLine, false, name);
            breakLine = false;
        }
    }

private:
    std::unique_ptr<QWidget> m_form;
    std::unique_ptr<Toolbar> m_toolbar;
    QMdiArea *m_area = nullptr;
    QHash<QString, QWidget *> m_children;
};

QTEST_MAIN(TestToolbar)
#include "test_toolbar.moc"
