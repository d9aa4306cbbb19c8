#include "controls/PropertyBag.h"
#include "controls/toolbar/cToolbar.h"
#include "controls/toolbar/cToolbarHost.h"
#include "services/PopupMenu.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolButton>

namespace {

std::unique_ptr<cToolbar> textToolbar(QWidget *form, const QStringList &captions)
{
    auto toolbar = std::make_unique<cToolbar>(form);
    toolbar->CreateToolbar(16, true, true, true);
    for (const QString &caption : captions)
        toolbar->AddButton({}, -1, {}, 0, caption, cToolbar::StyleAutosize);
    return toolbar;
}

} // namespace

class TestToolbarHost : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void requiredHeightWithoutPlacedItemsIsZero_data();
    void requiredHeightWithoutPlacedItemsIsZero();
    void itemsSitSideBySideOrWrap_data();
    void itemsSitSideBySideOrWrap();
    void toolbarFollowsItsVisibleButtons();
    void otherControlKeepsItsCapturedWidth();
    void releaseGivesToolbarsBack();
    void maximizedChildShowsIconAndCaptionButtons();
    void captionButtonsActOnTheActiveChild_data();
    void captionButtonsActOnTheActiveChild();
    void childIconOpensTheSystemMenu_data();
    void childIconOpensTheSystemMenu();
    void mdiToolbarWithoutMdiAreaDoesNothing();
    void propertiesKeepTheirDefaults();

private:
    QMdiSubWindow *addChild();

    std::unique_ptr<QWidget> m_form;
    cToolbarHost *m_host = nullptr;
    QMdiArea *m_area = nullptr;
};

void TestToolbarHost::init()
{
    m_form = std::make_unique<QWidget>();
    m_form->resize(600, 400);
    m_host = new cToolbarHost(m_form.get());
    m_host->setGeometry(0, 0, 600, 60);
    m_area = new QMdiArea(m_form.get());
    m_area->setGeometry(0, 60, 600, 340);
}

void TestToolbarHost::cleanup()
{
    m_form.reset();
}

QMdiSubWindow *TestToolbarHost::addChild()
{
    QMdiSubWindow *child = m_area->addSubWindow(new QLabel(QStringLiteral("page")));
    child->show();
    m_area->setActiveSubWindow(child);
    return child;
}

void TestToolbarHost::requiredHeightWithoutPlacedItemsIsZero_data()
{
    QTest::addColumn<bool>("captureToolbarWithoutWindow");
    QTest::newRow("nothing captured") << false;
    QTest::newRow("toolbar never created") << true;
}

void TestToolbarHost::requiredHeightWithoutPlacedItemsIsZero()
{
    QFETCH(bool, captureToolbarWithoutWindow);
    cToolbar toolbar(m_form.get());
    if (captureToolbarWithoutWindow)
        m_host->Capture(&toolbar);
    QCOMPARE(m_host->CapturedCount(), captureToolbarWithoutWindow ? 1 : 0);
    QCOMPARE(m_host->RequiredHeight(), 0);
}

void TestToolbarHost::itemsSitSideBySideOrWrap_data()
{
    QTest::addColumn<int>("hostWidth");
    QTest::addColumn<bool>("wraps");
    QTest::newRow("room for both") << 600 << false;
    QTest::newRow("second would not fit") << 150 << true;
    QTest::newRow("too narrow even for one") << 20 << true;
}

void TestToolbarHost::itemsSitSideBySideOrWrap()
{
    QFETCH(int, hostWidth);
    QFETCH(bool, wraps);
    m_host->setBorderStyle(0);
    auto first = textToolbar(m_form.get(), {"&File", "&Edit"});
    auto second = textToolbar(m_form.get(), {"&View", "&Help"});
    m_host->resize(hostWidth, 60);
    m_host->Capture(first.get());
    m_host->Capture(second.get());
    QCOMPARE(first->hwnd()->parentWidget(), m_host);
    QCOMPARE(first->hwnd()->pos(), QPoint(2, 0));
    const int rowHeight = first->ToolbarHeight();
    if (wraps) {
        QCOMPARE(second->hwnd()->pos(), QPoint(2, rowHeight + 3));
        QCOMPARE(m_host->RequiredHeight(), rowHeight + 3 + second->ToolbarHeight());
    } else {
        QCOMPARE(second->hwnd()->pos(), QPoint(2 + first->ToolbarWidth() + 2, 0));
        QCOMPARE(m_host->RequiredHeight(), rowHeight);
    }
}

void TestToolbarHost::toolbarFollowsItsVisibleButtons()
{
    m_host->setBorderStyle(1);
    const int border = m_host->frameWidth();
    QVERIFY(border > 0);
    auto toolbar = textToolbar(m_form.get(), {"&File", "&Window", "&Help"});
    m_host->Capture(toolbar.get());
    QCOMPARE(toolbar->hwnd()->geometry(),
             QRect(border + 2, border, toolbar->ToolbarWidth(), toolbar->ToolbarHeight()));
    QCOMPARE(m_host->RequiredHeight(), toolbar->ToolbarHeight() + 2 * border);
    const int all = toolbar->hwnd()->width();
    const int window = toolbar->ButtonWidth(1);
    toolbar->setButtonVisible(1, false);
    m_host->Refresh();
    QCOMPARE(toolbar->hwnd()->width(), all - window);
}

void TestToolbarHost::otherControlKeepsItsCapturedWidth()
{
    m_host->setBorderStyle(0);
    auto toolbar = textToolbar(m_form.get(), {"&File"});
    auto *label = new QLabel(QStringLiteral("logo"), m_form.get());
    label->resize(77, 40);
    m_host->Capture(toolbar.get());
    m_host->Capture(label);
    QCOMPARE(label->parentWidget(), m_host);
    QCOMPARE(label->geometry(), QRect(2 + toolbar->ToolbarWidth() + 2, 0, 77, 40));
    // The row is as high as its highest item.
    QCOMPARE(m_host->RequiredHeight(), qMax(40, toolbar->ToolbarHeight()));
}

void TestToolbarHost::releaseGivesToolbarsBack()
{
    auto toolbar = textToolbar(m_form.get(), {"&File"});
    m_host->Capture(toolbar.get());
    m_host->ReleaseCaptures();
    QCOMPARE(toolbar->hwnd()->parentWidget(), m_form.get());
    QCOMPARE(m_host->CapturedCount(), 0);
    QCOMPARE(m_host->RequiredHeight(), 0);
}

void TestToolbarHost::maximizedChildShowsIconAndCaptionButtons()
{
    m_host->setBorderStyle(0);
    auto toolbar = textToolbar(m_form.get(), {"&File", "&Edit"});
    m_host->Capture(toolbar.get());
    m_host->setMDIToolbar(true);
    m_form->show();
    QMdiSubWindow *child = addChild();
    QVERIFY(!m_host->ShowsChildIcon());
    const QPoint before = toolbar->hwnd()->pos();

    child->showMaximized();
    QVERIFY(m_host->ShowsChildIcon());
    QCOMPARE(m_host->ActiveChild(), child);
    QVERIFY(m_host->ChildIcon()->isVisible());
    QCOMPARE(m_host->ChildIcon()->x(), 2);
    QVERIFY(toolbar->hwnd()->x() > before.x());
    // Minimize, restore, close from left to right at the right end of the first row.
    const QToolButton *minimize = m_host->CaptionButtonWidget(cToolbarHost::Minimize);
    const QToolButton *restore = m_host->CaptionButtonWidget(cToolbarHost::Restore);
    const QToolButton *close = m_host->CaptionButtonWidget(cToolbarHost::Close);
    QVERIFY(minimize->isVisible() && restore->isVisible() && close->isVisible());
    QVERIFY(minimize->x() < restore->x() && restore->x() < close->x());
    QCOMPARE(close->geometry().right(), m_host->width() - 1 - 2);
    QCOMPARE(minimize->y(), (toolbar->ToolbarHeight() - minimize->height()) / 2);

    child->showNormal();
    QVERIFY(!m_host->ShowsChildIcon());
    QVERIFY(!close->isVisible());
    QCOMPARE(toolbar->hwnd()->pos(), before);
}

void TestToolbarHost::captionButtonsActOnTheActiveChild_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("expected");
    QTest::newRow("minimize") << int(cToolbarHost::Minimize) << QStringLiteral("minimized");
    QTest::newRow("restore") << int(cToolbarHost::Restore) << QStringLiteral("normal");
    QTest::newRow("close") << int(cToolbarHost::Close) << QStringLiteral("closed");
}

void TestToolbarHost::captionButtonsActOnTheActiveChild()
{
    QFETCH(int, button);
    QFETCH(QString, expected);
    m_host->setMDIToolbar(true);
    m_form->show();
    QMdiSubWindow *other = addChild();
    QPointer<QMdiSubWindow> child = addChild();
    child->showMaximized();
    QTest::mouseClick(m_host->CaptionButtonWidget(cToolbarHost::CaptionButton(button)), Qt::LeftButton);
    QCoreApplication::processEvents();
    const QString state = !child || child->isHidden() ? QStringLiteral("closed")
                          : child->isMinimized() ? QStringLiteral("minimized")
                          : child->isMaximized() ? QStringLiteral("maximized")
                                                 : QStringLiteral("normal");
    QCOMPARE(state, expected);
    QVERIFY(!other->isMinimized());
}

void TestToolbarHost::childIconOpensTheSystemMenu_data()
{
    QTest::addColumn<bool>("withMenuBar");
    QTest::addColumn<QStringList>("expected");
    // Through the menu bar, Right leads on into its menus.
    QTest::newRow("menu bar captured") << true << QStringList{"System", "File"};
    QTest::newRow("no menu bar") << false << QStringList{"System"};
}

void TestToolbarHost::childIconOpensTheSystemMenu()
{
    QFETCH(bool, withMenuBar);
    QFETCH(QStringList, expected);
    PopupMenu menu;
    const int file = menu.AppendItem(QStringLiteral("&File"), 0, QStringLiteral("mnuFileTOP"));
    menu.AppendItem(QStringLiteral("&New"), file, QStringLiteral("mnuFile(0)"));
    cToolbar bar(m_form.get());
    bar.CreateFromMenu(&menu);
    if (withMenuBar)
        m_host->Capture(&bar);
    m_host->setMDIToolbar(true);
    m_form->show();
    QMdiSubWindow *child = addChild();
    child->showMaximized();

    QStringList opened;
    auto onOpen = [&opened](QMenu *opening, const QString &name, int key) {
        opened << name;
        QCoreApplication::postEvent(opening, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    };
    connect(child->systemMenu(), &QMenu::aboutToShow, this,
            [&] { onOpen(child->systemMenu(), QStringLiteral("System"), withMenuBar ? Qt::Key_Right : Qt::Key_Escape); });
    connect(menu.SubMenu(file), &QMenu::aboutToShow, this,
            [&] { onOpen(menu.SubMenu(file), QStringLiteral("File"), Qt::Key_Escape); });
    QTest::mousePress(m_host->ChildIcon(), Qt::LeftButton);
    QCOMPARE(opened, expected);
    QVERIFY(child->isMaximized());
}

void TestToolbarHost::mdiToolbarWithoutMdiAreaDoesNothing()
{
    QWidget form;
    auto *host = new cToolbarHost(&form);
    host->setMDIToolbar(true);
    QVERIFY(host->MDIToolbar());
    QVERIFY(!host->ShowsChildIcon());
    QCOMPARE(host->RequiredHeight(), 0);
}

void TestToolbarHost::propertiesKeepTheirDefaults()
{
    PropertyBag bag;
    m_host->WriteProperties(bag);
    QCOMPARE(bag.count(), 0);

    m_host->setBackColor(0x00FF0000u);
    m_host->setBorderStyle(0);
    m_host->WriteProperties(bag);
    cToolbarHost other(m_form.get());
    other.ReadProperties(bag);
    QCOMPARE(other.BackColor(), 0x00FF0000u);
    QCOMPARE(other.BorderStyle(), 0);
    QVERIFY(!other.MDIToolbar());
    QCOMPARE(cToolbarHost(m_form.get()).BackColor(), 0x8000000Fu);
}

QTEST_MAIN(TestToolbarHost)
#include "test_toolbar_host.moc"
