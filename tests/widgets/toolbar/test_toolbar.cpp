#include "toolbar/Rebar.h"
#include "toolbar/Toolbar.h"
#include "toolbar/ToolbarHost.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

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

enum class Placement { OneRow, SecondBelow, SecondWraps };

struct Click {
    int style;
    bool onArrow; // else in the middle
    bool checkedBefore, checkedAfter;
    bool dropped; // dropDownPressed instead of buttonClicked
};

} // namespace

Q_DECLARE_METATYPE(Placement)

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
        QTest::addColumn<QKeyCombination>("keys");
        QTest::addColumn<bool>("ownerActive");
        QTest::addColumn<QList<int>>("clicked");
        QTest::addColumn<QString>("typed");
        QTest::newRow("Alt+V") << (Qt::ALT | Qt::Key_V) << true << QList<int>{2} << "";
        QTest::newRow("Alt+Shift+F") << (Qt::ALT | Qt::SHIFT | Qt::Key_F) << true << QList<int>{} << "";
        QTest::newRow("F without Alt") << QKeyCombination(Qt::Key_F) << true << QList<int>{} << "f";
        QTest::newRow("hidden button") << (Qt::ALT | Qt::Key_W) << true << QList<int>{} << "";
        QTest::newRow("Alt+digit") << (Qt::ALT | Qt::Key_5) << true << QList<int>{} << "";
        QTest::newRow("owner form not active") << (Qt::ALT | Qt::Key_F) << false << QList<int>{} << "";
    }
    void altLetter()
    {
        QFETCH(QKeyCombination, keys);
        QFETCH(bool, ownerActive);
        QFETCH(QList<int>, clicked);
        QFETCH(QString, typed);
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

    void hostPlacesItemsInRows_data()
    {
        QTest::addColumn<int>("hostWidth"); // -1: the first toolbar and one button more
        QTest::addColumn<int>("borderStyle");
        QTest::addColumn<bool>("wrappable");
        QTest::addColumn<Placement>("placement");
        QTest::newRow("room for both") << 600 << 0 << false << Placement::OneRow;
        QTest::newRow("second would not fit") << 150 << 0 << false << Placement::SecondBelow;
        QTest::newRow("too narrow even for one") << 20 << 0 << false << Placement::SecondBelow;
        QTest::newRow("inside the default border") << 600 << 1 << false << Placement::OneRow;
        QTest::newRow("wrappable with room for both") << 600 << 0 << true << Placement::OneRow;
        QTest::newRow("wrappable second wraps its buttons beside the first")
            << -1 << 0 << true << Placement::SecondWraps;
    }
    void hostPlacesItemsInRows()
    {
        QFETCH(int, hostWidth);
        QFETCH(int, borderStyle);
        QFETCH(bool, wrappable);
        QFETCH(Placement, placement);
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

    // Three bands in one row of a rebar: 100, 200 and 100 px children, the middle one able
    // to shrink to 50. The middle band's gripper is dragged by `drag`, its y in band heights.
    void rebarBandsByMouse_data()
    {
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("doubleClickFirst");
        QTest::addColumn<int>("formWidth");
        QTest::addColumn<int>("secondMoves"); // along the bar; -1: to a row of its own
        QTest::addColumn<bool>("chevron"); // the second band shows one and reports its push
        QTest::newRow("gripper dragged right") << QPoint(40, 0) << false << false << 600 << 40 << false;
        QTest::newRow("gripper dragged left past the first band's minimum")
            << QPoint(-300, 0) << false << false << 600 << 0 << false;
        QTest::newRow("gripper dragged down half a row")
            << QPoint(0, 1) << false << false << 600 << -1 << false;
        QTest::newRow("a refused drag") << QPoint(40, 0) << true << false << 600 << 0 << false;
        // The others at their least (gripper and child): 598 - 58 - 108 = 432 for the first.
        QTest::newRow("double click on the first maximises it")
            << QPoint() << false << true << 600 << 432 - 108 << true;
        QTest::newRow("row too short: the middle band's chevron")
            << QPoint() << false << false << 300 << 0 << true;
    }
    void rebarBandsByMouse()
    {
        QFETCH(QPoint, drag);
        QFETCH(bool, refused);
        QFETCH(bool, doubleClickFirst);
        QFETCH(int, formWidth);
        QFETCH(int, secondMoves);
        QFETCH(bool, chevron);
        m_form->resize(formWidth, 400);
        Rebar rebar;
        rebar.createRebar(m_form.get());
        for (const int width : {100, 200, 100})
            rebar.addBandByHwnd(child(width, 20));
        rebar.setBandChildMinWidth(1, 50);
        QWidget *bar = rebar.hwnd();
        const QRect before = rebar.bandRectangle(1);
        const int oneRow = rebar.rebarHeight();
        QSignalSpy begun(&rebar, &Rebar::beginBandDrag);
        QSignalSpy ended(&rebar, &Rebar::endBandDrag);
        QSignalSpy pushed(&rebar, &Rebar::chevronPushed);
        QSignalSpy childResizes(&rebar, &Rebar::bandChildResize);
        if (refused)
            connect(&rebar, &Rebar::beginBandDrag, this, [](int, bool *cancel) { *cancel = true; });
        if (doubleClickFirst)
            QTest::mouseDClick(bar, Qt::LeftButton, {}, rebar.bandRectangle(0).topLeft() + QPoint(3, 5));
        const QPoint gripper = before.topLeft() + QPoint(3, before.height() / 2);
        const QPoint by(drag.x(), drag.y() * before.height());
        if (!drag.isNull()) {
            QTest::mousePress(bar, Qt::LeftButton, {}, gripper);
            QTest::mouseMove(bar, gripper + by / 2);
            QTest::mouseMove(bar, gripper + by);
            QTest::mouseRelease(bar, Qt::LeftButton, {}, gripper + by);
        }
        const QRect after = rebar.bandRectangle(1);
        if (secondMoves < 0) {
            QVERIFY(after.top() > rebar.bandRectangle(0).bottom());
            QVERIFY(rebar.rebarHeight() > oneRow);
        } else {
            QCOMPARE(after.left() - before.left(), secondMoves);
            QCOMPARE(rebar.rebarHeight(), oneRow);
        }
        const int drags = drag.isNull() || refused ? 0 : 1;
        QCOMPARE(begun.count(), drag.isNull() ? 0 : 1);
        QCOMPARE(ended.count(), drags);
        if (drags > 0)
            QCOMPARE(ended.first().at(0).toInt(), rebar.bandIdForIndex(1));
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

private:
    std::unique_ptr<QWidget> m_form;
    std::unique_ptr<Toolbar> m_toolbar;
    QMdiArea *m_area = nullptr;
};

QTEST_MAIN(TestToolbar)
#include "test_toolbar.moc"
