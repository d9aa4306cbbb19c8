#include "controls/toolbar/KeyboardFilter.h"
#include "controls/toolbar/cToolbar.h"
#include "services/ControlError.h"
#include "services/IconList.h"
#include "services/PopupMenu.h"

#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

QIcon squareIcon(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

// The widget drawn for button i, found where the toolbar says the button is.
QToolButton *buttonWidget(const cToolbar &toolbar, int index)
{
    return qobject_cast<QToolButton *>(toolbar.hwnd()->childAt(toolbar.ButtonRect(index).center()));
}

void addTextButtons(cToolbar &toolbar, const QStringList &texts)
{
    for (const QString &text : texts)
        toolbar.AddButton({}, -1, {}, 0, text, cToolbar::StyleAutosize, QStringLiteral("k") + text);
}

} // namespace

class TestToolbar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void buttonIndex_data();
    void buttonIndex();
    void insertBeforeNamedButton_data();
    void insertBeforeNamedButton();
    void equalTextsShareOneStringIndex_data();
    void equalTextsShareOneStringIndex();
    void captionChangeGoesThroughThePool();
    void acceleratorLetter_data();
    void acceleratorLetter();
    void identifiersKeepCountingAcrossToolbarsAndRemoval();
    void toolbarHeightIsZeroWithAllButtonsHidden();
    void hiddenButtonGivesUpItsWidth();
    void resizeFitsTheVisibleButtons();
    void wrappableToolbarWrapsWhenNarrow();
    void textWrapStateBreaksTheRow();
    void textVisibility_data();
    void textVisibility();
    void imageListArguments_data();
    void imageListArguments();
    void imagesFromAStrip_data();
    void imagesFromAStrip();
    void wrongImageListArgumentRaisesError_data();
    void wrongImageListArgumentRaisesError();
    void clickKeepsOrTogglesTheCheckMark_data();
    void clickKeepsOrTogglesTheCheckMark();
    void dropDownArrowRaisesDropDownPress();
    void hotItemChanges();
    void mouseMakesButtonsHot();
    void keyboardFilterLivesWhileToolbarsDo();
    void dropDownPositionIsInTwips();
    void createFromMenuMakesTextButtons();
    void altLetterClicksTheButton_data();
    void altLetterClicksTheButton();
    void altLetterNeedsTheOwnerFormActive();

private:
    std::unique_ptr<QWidget> m_form;
    std::unique_ptr<cToolbar> m_toolbar;
};

void TestToolbar::init()
{
    m_form = std::make_unique<QWidget>();
    m_form->resize(500, 200);
    m_toolbar = std::make_unique<cToolbar>(m_form.get());
    m_toolbar->CreateToolbar();
}

void TestToolbar::cleanup()
{
    m_toolbar.reset();
    m_form.reset();
}

void TestToolbar::buttonIndex_data()
{
    QTest::addColumn<QVariant>("button");
    QTest::addColumn<int>("expected");
    QTest::newRow("first key") << QVariant(QStringLiteral("tbNew")) << 0;
    QTest::newRow("last key") << QVariant(QStringLiteral("tbSave")) << 2;
    QTest::newRow("missing key") << QVariant(QStringLiteral("missing")) << -1;
    QTest::newRow("key differs in case") << QVariant(QStringLiteral("TBNEW")) << -1;
    QTest::newRow("index 0") << QVariant(0) << 0;
    QTest::newRow("last index") << QVariant(2) << 2;
    QTest::newRow("one past the end") << QVariant(3) << -1;
    QTest::newRow("index 99") << QVariant(99) << -1;
    QTest::newRow("negative index") << QVariant(-1) << -1;
    QTest::newRow("no argument") << QVariant() << -1;
}

void TestToolbar::buttonIndex()
{
    QFETCH(QVariant, button);
    QFETCH(int, expected);
    for (const char *key : {"tbNew", "tbLoad", "tbSave"})
        m_toolbar->AddButton({}, 0, {}, 0, {}, cToolbar::StyleButton, QString::fromLatin1(key));
    QCOMPARE(m_toolbar->ButtonIndex(button), expected);
}

void TestToolbar::insertBeforeNamedButton_data()
{
    QTest::addColumn<QVariant>("before");
    QTest::addColumn<QStringList>("expectedKeys");
    QTest::newRow("before first by key") << QVariant(QStringLiteral("a")) << QStringList{"new", "a", "b"};
    QTest::newRow("before second by index") << QVariant(1) << QStringList{"a", "new", "b"};
    QTest::newRow("missing key appends") << QVariant(QStringLiteral("zz")) << QStringList{"a", "b", "new"};
    QTest::newRow("index past the end appends") << QVariant(7) << QStringList{"a", "b", "new"};
}

void TestToolbar::insertBeforeNamedButton()
{
    QFETCH(QVariant, before);
    QFETCH(QStringList, expectedKeys);
    m_toolbar->AddButton({}, -1, {}, 0, {}, 0, QStringLiteral("a"));
    m_toolbar->AddButton({}, -1, {}, 0, {}, 0, QStringLiteral("b"));
    m_toolbar->AddButton({}, -1, before, 0, {}, 0, QStringLiteral("new"));
    QStringList keys;
    for (int i = 0; i < m_toolbar->ButtonCount(); ++i)
        keys << m_toolbar->ButtonKey(i);
    QCOMPARE(keys, expectedKeys);
}

void TestToolbar::equalTextsShareOneStringIndex_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("repeated text") << QStringList{"Open", "Save", "Open"} << QList<int>{0, 1, 0};
    QTest::newRow("no text has none") << QStringList{"", "Open", ""} << QList<int>{-1, 0, -1};
    QTest::newRow("case counts") << QStringList{"open", "Open"} << QList<int>{0, 1};
    QTest::newRow("accelerator counts") << QStringList{"&Open", "Open", "&Open"} << QList<int>{0, 1, 0};
}

void TestToolbar::equalTextsShareOneStringIndex()
{
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, expected);
    for (const QString &text : texts)
        m_toolbar->AddButton({}, -1, {}, 0, text);
    QList<int> indexes;
    for (int i = 0; i < m_toolbar->ButtonCount(); ++i)
        indexes << m_toolbar->ButtonStringIndex(i);
    QCOMPARE(indexes, expected);
}

void TestToolbar::captionChangeGoesThroughThePool()
{
    m_toolbar->CreateToolbar(16, true, true);
    addTextButtons(*m_toolbar, {"&File", "&Edit"});
    m_toolbar->setButtonCaption(1, QStringLiteral("&File"));
    QCOMPARE(m_toolbar->ButtonStringIndex(1), m_toolbar->ButtonStringIndex(0));
    QCOMPARE(m_toolbar->ButtonCaption(1), QStringLiteral("&File"));
    QCOMPARE(buttonWidget(*m_toolbar, 1)->text(), QStringLiteral("&File"));

    m_toolbar->setButtonCaption(1, QString());
    QCOMPARE(m_toolbar->ButtonStringIndex(1), -1);
    QVERIFY(buttonWidget(*m_toolbar, 1)->text().isEmpty());
}

void TestToolbar::acceleratorLetter_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QChar>("expected");
    QTest::newRow("ampersand before f") << QStringLiteral("&file") << QChar(u'F');
    QTest::newRow("ampersand inside") << QStringLiteral("E&xit") << QChar(u'X');
    QTest::newRow("doubled ampersand first") << QStringLiteral("Tom && &Jerry") << QChar();
    QTest::newRow("only ampersand is last") << QStringLiteral("Save&") << QChar();
    QTest::newRow("no ampersand") << QStringLiteral("View") << QChar();
    QTest::newRow("first of two counts") << QStringLiteral("&Tools &Help") << QChar(u'T');
    QTest::newRow("digit") << QStringLiteral("&1 recent") << QChar(u'1');
    QTest::newRow("empty") << QString() << QChar();
}

void TestToolbar::acceleratorLetter()
{
    QFETCH(QString, caption);
    QFETCH(QChar, expected);
    m_toolbar->AddButton({}, -1, {}, 0, caption);
    QCOMPARE(m_toolbar->ButtonAccelerator(0), expected);
}

void TestToolbar::identifiersKeepCountingAcrossToolbarsAndRemoval()
{
    cToolbar other(m_form.get());
    other.CreateToolbar();
    m_toolbar->AddButton();
    const int first = m_toolbar->ButtonID(0);
    other.AddButton();
    QCOMPARE(other.ButtonID(0), first + 1);
    m_toolbar->RemoveButton(0);
    m_toolbar->AddButton();
    QCOMPARE(m_toolbar->ButtonID(0), first + 2);
    other.DestroyToolBar();
    other.CreateToolbar();
    other.AddButton();
    QCOMPARE(other.ButtonID(0), first + 3);
    QCOMPARE(cToolbar::LastButtonID(), first + 3);
}

void TestToolbar::toolbarHeightIsZeroWithAllButtonsHidden()
{
    for (int i = 0; i < 3; ++i)
        m_toolbar->AddButton({}, -1, {}, 0, QStringLiteral("B%1").arg(i));
    QVERIFY(m_toolbar->ToolbarHeight() > 0);
    for (int i = 0; i < 3; ++i)
        m_toolbar->setButtonVisible(i, false);
    QCOMPARE(m_toolbar->ToolbarHeight(), 0);
    QCOMPARE(m_toolbar->ToolbarWidth(), 0);
    m_toolbar->setButtonVisible(2, true);
    QVERIFY(m_toolbar->ToolbarHeight() > 0);
}

void TestToolbar::hiddenButtonGivesUpItsWidth()
{
    addTextButtons(*m_toolbar, {"&File", "&Window", "&Help"});
    const int all = m_toolbar->ToolbarWidth();
    const int window = m_toolbar->ButtonWidth(1);
    const int helpLeft = m_toolbar->ButtonRect(2).left();
    m_toolbar->setButtonVisible(QStringLiteral("k&Window"), false);
    QVERIFY(!m_toolbar->ButtonVisible(1));
    QCOMPARE(m_toolbar->ToolbarWidth(), all - window);
    QCOMPARE(m_toolbar->ButtonRect(2).left(), helpLeft - window);
    QVERIFY(m_toolbar->ButtonRect(1).isEmpty());
}

void TestToolbar::resizeFitsTheVisibleButtons()
{
    addTextButtons(*m_toolbar, {"&File", "&Edit", "&Insert", "&View"});
    m_toolbar->setButtonVisible(3, false);
    m_toolbar->ResizeToolbar();
    QCOMPARE(m_toolbar->hwnd()->size(), QSize(m_toolbar->ToolbarWidth(), m_toolbar->ToolbarHeight()));
    QCOMPARE(m_toolbar->ToolbarWidth(), m_toolbar->ButtonRect(2).right() + 1);
}

void TestToolbar::wrappableToolbarWrapsWhenNarrow()
{
    m_toolbar->CreateToolbar(16, true, true, true);
    addTextButtons(*m_toolbar, {"&File", "&Edit", "&View"});
    const int oneRow = m_toolbar->ToolbarHeight();
    m_toolbar->hwnd()->resize(m_toolbar->ButtonWidth(0) + m_toolbar->ButtonWidth(1), 100);
    QCoreApplication::sendPostedEvents();
    m_toolbar->hwnd()->show();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(m_toolbar->ButtonRect(1).top(), 0);
    QCOMPARE(m_toolbar->ButtonRect(2).topLeft(), QPoint(0, oneRow));
    // The height is the first row's, as the strip shows one row.
    QCOMPARE(m_toolbar->ToolbarHeight(), oneRow);
}

void TestToolbar::textWrapStateBreaksTheRow()
{
    addTextButtons(*m_toolbar, {"&File", "&Edit", "&View"});
    m_toolbar->setButtonTextWrap(0, true);
    QVERIFY(m_toolbar->ButtonTextWrap(0));
    QCOMPARE(m_toolbar->ButtonRect(1).topLeft(), QPoint(0, m_toolbar->ButtonHeight(0)));
    QCOMPARE(m_toolbar->ButtonRect(2).top(), m_toolbar->ButtonRect(1).top());
}

void TestToolbar::textVisibility_data()
{
    QTest::addColumn<bool>("listStyle");
    QTest::addColumn<QList<bool>>("expected");
    QTest::newRow("list style: that button only") << true << QList<bool>{true, false, true};
    QTest::newRow("otherwise: the whole toolbar") << false << QList<bool>{false, false, false};
}

void TestToolbar::textVisibility()
{
    QFETCH(bool, listStyle);
    QFETCH(QList<bool>, expected);
    m_toolbar->CreateToolbar(16, listStyle, true);
    for (const char *text : {"New", "Open", "Save"})
        m_toolbar->AddButton({}, 0, {}, 0, QString::fromLatin1(text));
    const int width = m_toolbar->ButtonWidth(1);
    m_toolbar->setButtonTextVisible(1, false);
    QList<bool> visible;
    for (int i = 0; i < 3; ++i)
        visible << m_toolbar->ButtonTextVisible(i);
    QCOMPARE(visible, expected);
    QVERIFY(buttonWidget(*m_toolbar, 1)->text().isEmpty());
    QVERIFY(m_toolbar->ButtonWidth(1) < width);
    QCOMPARE(m_toolbar->ButtonCaption(1), QStringLiteral("Open"));
}

void TestToolbar::imageListArguments_data()
{
    QTest::addColumn<bool>("byHandle");
    QTest::newRow("IconList object") << false;
    QTest::newRow("hImageList handle") << true;
}

void TestToolbar::imageListArguments()
{
    QFETCH(bool, byHandle);
    IconList icons;
    icons.AddIcon(squareIcon(Qt::red));
    icons.AddIcon(squareIcon(Qt::blue));
    m_toolbar->AddButton(QStringLiteral("Blue"), 1);
    m_toolbar->AddButton(QStringLiteral("None"), 5);
    QVERIFY(buttonWidget(*m_toolbar, 0)->icon().isNull());
    m_toolbar->SetImageList(byHandle ? QVariant::fromValue(icons.hImageList()) : QVariant::fromValue(&icons));
    const QImage drawn = buttonWidget(*m_toolbar, 0)->icon().pixmap(16, 16).toImage();
    QCOMPARE(drawn.pixelColor(8, 8), QColor(Qt::blue));
    QVERIFY(buttonWidget(*m_toolbar, 1)->icon().isNull());
}

void TestToolbar::imagesFromAStrip_data()
{
    QTest::addColumn<int>("source");
    QTest::newRow("bitmap file") << int(cToolbar::BitmapFile);
    QTest::newRow("picture") << int(cToolbar::Picture);
}

void TestToolbar::imagesFromAStrip()
{
    QFETCH(int, source);
    // Three 16-pixel images on a magenta ground: red, green and blue squares.
    QPixmap strip(48, 16);
    strip.fill(Qt::magenta);
    QPainter painter(&strip);
    const QList<QColor> colours{Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i)
        painter.fillRect(i * 16 + 4, 4, 8, 8, colours.at(i));
    painter.end();
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("strip.png"));
    QVERIFY(strip.save(file));

    m_toolbar->setImageSource(source);
    m_toolbar->setImageFile(file);
    m_toolbar->setImagePicture(strip);
    m_toolbar->CreateToolbar(16);
    m_toolbar->AddButton({}, 1);
    m_toolbar->AddButton({}, 3);
    const QImage drawn = buttonWidget(*m_toolbar, 0)->icon().pixmap(16, 16).toImage();
    QCOMPARE(drawn.pixelColor(8, 8), QColor(Qt::green));
    QCOMPARE(drawn.pixelColor(1, 1).alpha(), 0);
    QVERIFY(buttonWidget(*m_toolbar, 1)->icon().isNull());
}

void TestToolbar::wrongImageListArgumentRaisesError_data()
{
    QTest::addColumn<QVariant>("argument");
    QTest::newRow("text") << QVariant(QStringLiteral("icons"));
    QTest::newRow("nothing") << QVariant();
    QTest::newRow("size") << QVariant(QSize(16, 16));
}

void TestToolbar::wrongImageListArgumentRaisesError()
{
    QFETCH(QVariant, argument);
    try {
        m_toolbar->SetImageList(argument, cToolbar::HotImages);
        QFAIL("no error raised");
    } catch (const ControlError &error) {
        QCOMPARE(error.number(), static_cast<qint32>(0x80040419u));
        QCOMPARE(error.source(), QStringLiteral("cToolbar.test_toolbar"));
        QCOMPARE(error.description(),
                 QStringLiteral("ImageList property expects ImageList object or long hImageList handle."));
    }
}

void TestToolbar::clickKeepsOrTogglesTheCheckMark_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("checkedBefore");
    QTest::addColumn<bool>("checkedAfter");
    QTest::newRow("plain button keeps its check") << int(cToolbar::StyleButton) << true << true;
    QTest::newRow("plain button stays unchecked") << int(cToolbar::StyleButton) << false << false;
    QTest::newRow("check button checks") << int(cToolbar::StyleCheck) << false << true;
    QTest::newRow("check button unchecks") << int(cToolbar::StyleCheck) << true << false;
}

void TestToolbar::clickKeepsOrTogglesTheCheckMark()
{
    QFETCH(int, style);
    QFETCH(bool, checkedBefore);
    QFETCH(bool, checkedAfter);
    m_form->show();
    m_toolbar->AddButton(QStringLiteral("Sep"), -1, {}, 0, {}, cToolbar::StyleSeparator);
    m_toolbar->AddButton(QStringLiteral("META"), 0, {}, 0, QStringLiteral("M"), style, QStringLiteral("tbMeta"));
    m_toolbar->setButtonChecked(QStringLiteral("tbMeta"), checkedBefore);
    QSignalSpy clicks(m_toolbar.get(), &cToolbar::ButtonClick);
    bool pressedDuringClick = false;
    connect(m_toolbar.get(), &cToolbar::ButtonClick, this,
            [&](int index) { pressedDuringClick = m_toolbar->ButtonPressed(index); });
    QTest::mouseClick(buttonWidget(*m_toolbar, 1), Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 1);
    QVERIFY(pressedDuringClick);
    QVERIFY(!m_toolbar->ButtonPressed(1));
    QCOMPARE(m_toolbar->ButtonChecked(1), checkedAfter);
}

void TestToolbar::dropDownArrowRaisesDropDownPress()
{
    m_form->show();
    m_toolbar->AddButton(QStringLiteral("Back"), 0, {}, 0, QStringLiteral("Back"), cToolbar::StyleDropDown);
    QSignalSpy drops(m_toolbar.get(), &cToolbar::DropDownPress);
    QSignalSpy clicks(m_toolbar.get(), &cToolbar::ButtonClick);
    QToolButton *button = buttonWidget(*m_toolbar, 0);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 3, button->height() / 2));
    QCOMPARE(drops.count(), 1);
    QCOMPARE(drops.at(0).at(0).toInt(), 0);
    QCOMPARE(clicks.count(), 0);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
    QCOMPARE(drops.count(), 1);
    QCOMPARE(clicks.count(), 1);
}

void TestToolbar::hotItemChanges()
{
    addTextButtons(*m_toolbar, {"&File", "&Edit", "&View"});
    QSignalSpy changes(m_toolbar.get(), &cToolbar::HotItemChange);
    m_toolbar->setButtonHot(1, true);
    m_toolbar->setButtonHot(2, true);
    m_toolbar->setButtonHot(1, false);
    m_toolbar->setButtonHot(2, false);
    m_toolbar->setButtonHot(7, true);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(changes.at(0), (QList<QVariant>{1, -1, int(cToolbar::HotOther)}));
    QCOMPARE(changes.at(1), (QList<QVariant>{2, 1, int(cToolbar::HotOther)}));
    QCOMPARE(changes.at(2), (QList<QVariant>{-1, 2, int(cToolbar::HotOther)}));
    QVERIFY(!m_toolbar->ButtonHot(2));
}

void TestToolbar::mouseMakesButtonsHot()
{
    addTextButtons(*m_toolbar, {"&File", "&Edit"});
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QWindow *window = m_form->windowHandle();
    const QPoint away(400, 150);
    QTest::mouseMove(window, away);
    QTRY_VERIFY(!m_toolbar->ButtonHot(0) && !m_toolbar->ButtonHot(1));
    QSignalSpy changes(m_toolbar.get(), &cToolbar::HotItemChange);
    QTest::mouseMove(window, m_toolbar->ButtonRect(1).center());
    QTRY_VERIFY(m_toolbar->ButtonHot(1));
    QTest::mouseMove(window, away);
    QTRY_VERIFY(!m_toolbar->ButtonHot(1));
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.first(), (QList<QVariant>{1, -1, int(cToolbar::HotMouse)}));
    QCOMPARE(changes.last(), (QList<QVariant>{-1, 1, int(cToolbar::HotMouse | cToolbar::HotLeaving)}));
}

void TestToolbar::keyboardFilterLivesWhileToolbarsDo()
{
    QVERIFY(KeyboardFilter::IsInstalled());
    {
        cToolbar second(m_form.get());
        m_toolbar.reset();
        QVERIFY(KeyboardFilter::IsInstalled());
    }
    QVERIFY(!KeyboardFilter::IsInstalled());
    m_toolbar = std::make_unique<cToolbar>(m_form.get());
    QVERIFY(KeyboardFilter::IsInstalled());
}

void TestToolbar::dropDownPositionIsInTwips()
{
    addTextButtons(*m_toolbar, {"&File", "&Edit"});
    m_toolbar->hwnd()->move(30, 45);
    int x = -1;
    int y = -1;
    m_toolbar->GetDropDownPosition(1, x, y);
    const QRect edit = m_toolbar->ButtonRect(1);
    QCOMPARE(x, (30 + edit.left()) * 1440 / m_form->logicalDpiX());
    QCOMPARE(y, (45 + edit.height()) * 1440 / m_form->logicalDpiY());
}

void TestToolbar::createFromMenuMakesTextButtons()
{
    PopupMenu menu;
    const int file = menu.AppendItem(QStringLiteral("&File"), 0, QStringLiteral("mnuFileTOP"));
    menu.AppendItem(QStringLiteral("&New\tCtrl+N"), file, QStringLiteral("mnuFile(0)"));
    const int edit = menu.AppendItem(QStringLiteral("&Edit"), 0, QStringLiteral("mnuEditTOP"));
    menu.AppendItem(QStringLiteral("&Undo"), edit, QStringLiteral("mnuEdit(0)"));
    menu.setEnabled(edit, false);
    menu.AppendItem(QStringLiteral("&Help"), 0, QStringLiteral("mnuHelpTOP"));

    cToolbar bar(m_form.get());
    for (int round = 0; round < 2; ++round) {
        bar.CreateFromMenu(&menu);
        QCOMPARE(bar.ButtonCount(), 3);
    }
    QCOMPARE(bar.ButtonKey(1), QStringLiteral("mnuEditTOP"));
    QCOMPARE(bar.ButtonCaption(0), QStringLiteral("&File"));
    QVERIFY(bar.ButtonTextVisible(0));
    QVERIFY(bar.Wrappable());
    QVERIFY(bar.ListStyle());
    QVERIFY(bar.ButtonEnabled(0));
    QVERIFY(!bar.ButtonEnabled(1));
    QCOMPARE(bar.ButtonSubMenu(0), menu.SubMenu(file));
    QCOMPARE(bar.ButtonSubMenu(2), nullptr);
    QCOMPARE(bar.Menu(), &menu);
    // Autosized: each text button is as wide as its own text needs.
    QVERIFY(bar.ButtonWidth(0) != bar.ButtonWidth(1) || bar.ButtonWidth(0) != bar.ButtonWidth(2));
}

void TestToolbar::altLetterClicksTheButton_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expectedClicks");
    QTest::addColumn<int>("expectedIndex");
    QTest::newRow("Alt+F") << int(Qt::Key_F) << int(Qt::AltModifier) << 1 << 0;
    QTest::newRow("Alt+V") << int(Qt::Key_V) << int(Qt::AltModifier) << 1 << 2;
    QTest::newRow("Alt+Shift+F") << int(Qt::Key_F) << int(Qt::AltModifier | Qt::ShiftModifier) << 0 << -1;
    QTest::newRow("Ctrl+Alt+F") << int(Qt::Key_F) << int(Qt::AltModifier | Qt::ControlModifier) << 0 << -1;
    QTest::newRow("F without Alt") << int(Qt::Key_F) << int(Qt::NoModifier) << 0 << -1;
    QTest::newRow("Alt+letter of no button") << int(Qt::Key_Q) << int(Qt::AltModifier) << 0 << -1;
    QTest::newRow("Alt+letter of hidden button") << int(Qt::Key_W) << int(Qt::AltModifier) << 0 << -1;
    QTest::newRow("Alt+letter after doubled ampersand") << int(Qt::Key_B) << int(Qt::AltModifier) << 0 << -1;
}

void TestToolbar::altLetterClicksTheButton()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expectedClicks);
    QFETCH(int, expectedIndex);
    addTextButtons(*m_toolbar, {"&File", "&Window", "&View", "A&&B"});
    m_toolbar->setButtonVisible(1, false);
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QSignalSpy clicks(m_toolbar.get(), &cToolbar::ButtonClick);
    QTest::keyClick(m_form.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicks.count(), expectedClicks);
    if (expectedClicks > 0)
        QCOMPARE(clicks.at(0).at(0).toInt(), expectedIndex);
}

void TestToolbar::altLetterNeedsTheOwnerFormActive()
{
    addTextButtons(*m_toolbar, {"&File"});
    m_form->show();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QSignalSpy clicks(m_toolbar.get(), &cToolbar::ButtonClick);
    QTest::keyClick(&other, Qt::Key_F, Qt::AltModifier);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(!m_toolbar->HandleAltKey(QChar(u'f')));
}

QTEST_MAIN(TestToolbar)
#include "test_toolbar.moc"
