#include "MainWindow.h"

#include "ProgressBar.h"
#include "TextBox.h"
#include "toolbar/Rebar.h"
#include "toolbar/Toolbar.h"
#include "toolbar/ToolbarHost.h"
#include "StatusBar.h"
#include "DocumentRewriter.h"
#include "TagBlock.h"
#include "DocumentWindow.h"
#include "ProgramIcons.h"
#include "ResourceText.h"
#include "StringTable.h"
#include "IconList.h"
#include "PopupMenu.h"
#include "RecentFileList.h"
#include "RegistryKey.h"
#include "SettingsStore.h"
#include "SettingsCatalogue.h"
#include "CommandDispatcher.h"
#include "CommandTables.h"
#include "DocumentCommands.h"
#include "EditCommands.h"
#include "ExternalTools.h"
#include "LineNumberGutter.h"
#include "RecentFilesMenu.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

const QString kRecentFilesKey = QStringLiteral("Software\\Vantorel\\Tagsmith LITE");
constexpr int kMetaPaneHeight = 123;
constexpr int kToolbarBandMinWidth = 64;

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_store(std::make_unique<SettingsStore>())
    , m_settings(std::make_unique<SettingsCatalogue>(*m_store))
    , m_recent(std::make_unique<RecentFileList>())
    , m_icons(std::make_unique<IconList>())
    , m_prompts(std::make_unique<UserPrompts>(this))
    , m_cMenu(std::make_unique<PopupMenu>())
    , m_rebar(std::make_unique<Rebar>())
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_picBar = new QWidget(central);
    m_picBar2 = new QWidget(central);
    m_mdi = new QMdiArea(central);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_picMetaElements = new QWidget(central);
    layout->addWidget(m_picBar);
    layout->addWidget(m_picBar2);
    layout->addWidget(m_mdi, 1);
    layout->addWidget(m_picMetaElements);
    setCentralWidget(central);
    // A maximized document hands its caption buttons to the window's menu bar; the menu
    // bar here is a toolbar host that shows them itself, so they go to a hidden one.
    auto *captionSink = new QMenuBar(this);
    setMenuWidget(captionSink);
    captionSink->hide();
    m_commands = std::make_unique<DocumentCommands>(*this);
    m_editCommands = std::make_unique<EditCommands>(*this);
    m_tools = std::make_unique<ExternalTools>(*this);
    m_dispatcher = std::make_unique<CommandDispatcher>(*this);

    loadRecentFiles();
    loadIcons();
    buildMenuBar();
    buildRebar();
    m_recentMenu = std::make_unique<RecentFilesMenu>(*m_cMenu, *m_recent);
    m_recentMenu->Build();
    connect(m_commands.get(), &DocumentCommands::recentFilesChanged, this, [this] { m_recentMenu->Build(); });
    buildMetaPane();
    buildStatusBar();
    restorePlacement();
    setWindowTitle(QString::fromLatin1(TagBlock::kProgramTitle.data()) + QLatin1Char(' ')
        + m_settings->text(Setting::Version));
    applyToolbarSetting(m_settings->isOn(Setting::Toolbar));
    applyMetaSetting(m_settings->isOn(Setting::ViewMeta));
    m_tbrMenu->setButtonVisible(CommandTables::kWindowMenuButton, false);
    m_rebar->setBandVisible(1, false);
    layoutMenuBar();
}

MainWindow::~MainWindow()
{
    // The commands answer to the MDI area's signals; they go before the windows do.
    m_commands.reset();
}

void MainWindow::loadIcons()
{
    // The tables number their images from 1, as the pictures are numbered; image 0 is
    // used by none of them and holds the program's mark.
    m_icons->addIcon(ProgramIcons::picture(ProgramIcons::kPictureCount));
    for (int number = 1; number < ProgramIcons::kPictureCount; ++number)
        m_icons->addIcon(ProgramIcons::picture(number));
}

void MainWindow::buildMenuBar()
{
    CommandTables::buildMenu(*m_cMenu);
    m_cMenu->setItemImageList(m_icons.get());
    m_cMenu->setOwnerWindow(this);
    connect(m_cMenu.get(), &PopupMenu::clicked, this, &MainWindow::m_cMenu_Click);

    m_cToolbarHost = new ToolbarHost(m_picBar);
    m_cToolbarHost->setBorderStyle(0);
    m_tbrMenu = new Toolbar(this);
    m_tbrMenu->createFromMenu(m_cMenu.get());
    m_cToolbarHost->capture(m_tbrMenu);
    m_cToolbarHost->setMdiToolbar(true);
    m_picBar->installEventFilter(this);
}

void MainWindow::buildRebar()
{
    m_cToolbar = new Toolbar(this);
    m_cToolbar->setImageSource(Toolbar::ImageLists);
    m_cToolbar->createToolbar(16, false, false, true);
    m_cToolbar->setImageList(QVariant::fromValue(m_icons.get()));
    CommandTables::buildToolbar(*m_cToolbar);
    connect(m_cToolbar, &Toolbar::buttonClicked, this, &MainWindow::cToolbar_ButtonClick);

    m_progressBar = new ProgressBar(m_picBar2);
    m_progressBar->setMin(1);
    m_progressBar->setMax(1500);
    m_progressBar->setSmooth(true);
    m_progressBar->resize(140, 16);
    m_piclogo = new QLabel(m_picBar2);
    m_piclogo->setPixmap(ProgramIcons::logo());
    m_piclogo->adjustSize();

    m_rebar->createRebar(m_picBar2);
    // One row: the buttons, the progress while a file is read, the logo at the end.
    m_rebar->addBandByHwnd(m_cToolbar->hwnd(), {}, false, false, QStringLiteral("Toolbar"));
    // Bands share the row; the buttons keep their whole width ahead of the logo.
    m_rebar->setBandChildMinWidth(
        m_rebar->bandCount() - 1, std::max(kToolbarBandMinWidth, m_cToolbar->toolbarWidth()));
    m_rebar->addBandByHwnd(m_progressBar, {}, false, true, QStringLiteral("ProgressBar"));
    m_rebar->addBandByHwnd(m_piclogo, {}, false, true);
    connect(m_rebar.get(), &Rebar::heightChanged, m_picBar2,
        [this](int height) { m_picBar2->setFixedHeight(height); });
    m_rebar->rebarSize();
    m_picBar2->setFixedHeight(m_rebar->rebarHeight());
}

void MainWindow::buildMetaPane()
{
    auto *layout = new QVBoxLayout(m_picMetaElements);
    layout->setContentsMargins(2, 2, 2, 2);
    m_txtMetaElements = new TextBox(m_picMetaElements);
    m_txtMetaElements->setMultiLine(true);
    m_txtMetaElements->setScrollBars(TextBox::ScrollHorizontal);
    m_txtMetaElements->setAppearance(TextBox::StaticEdge);
    m_txtMetaElements->setLockedBackColor(OleColor::Window);
    m_txtMetaElements->setLockedForeColor(OleColor::WindowText);
    m_txtMetaElements->setLocked(true);
    m_txtMetaElements->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_txtMetaElements->hwnd()->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_txtMetaElements);
    m_picLines = new LineNumberGutter(m_txtMetaElements);
    m_picMetaElements->setFixedHeight(kMetaPaneHeight);
    m_picMetaElements->installEventFilter(this);
}

void MainWindow::buildStatusBar()
{
    m_zebStatus = new StatusBar(this);
    m_zebStatus->setImageList(m_icons.get());
    m_zebStatus->addPanel(StatusBar::Sunken, ResourceText::status(StringId::NoDocumentOpen), {}, IconIdle,
        200, false, false, 0, QStringLiteral("fil"));
    m_zebStatus->addPanel(StatusBar::Sunken, {}, {}, -1, 64, false, false, 0, QStringLiteral("msg"));
    setStatusBar(m_zebStatus);
}

void MainWindow::restorePlacement()
{
    const SettingsCatalogue &settings = *m_settings;
    const bool maximized = settings.text(Setting::WindowState) == QStringLiteral("maximized");
    const bool stored = !settings.text(Setting::Width).isEmpty() || !settings.text(Setting::Height).isEmpty();
    if (stored && !maximized) {
        move(settings.number(Setting::Left), settings.number(Setting::Top));
        resize(settings.number(Setting::Width), settings.number(Setting::Height));
    } else if (maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        resize(900, 640);
    }
}

void MainWindow::savePlacement()
{
    if (isMinimized())
        return;
    if (isMaximized()) {
        m_settings->setText(Setting::WindowState, QStringLiteral("maximized"));
        return;
    }
    m_settings->setText(Setting::Left, QString::number(x()));
    m_settings->setText(Setting::Top, QString::number(y()));
    m_settings->setText(Setting::Height, QString::number(height()));
    m_settings->setText(Setting::Width, QString::number(width()));
    m_settings->setText(Setting::WindowState, QStringLiteral("normal"));
}

void MainWindow::loadRecentFiles()
{
    RegistryKey key = RegistryKey::at(RegistryKey::HKEY_CURRENT_USER, kRecentFilesKey);
    m_recent->load(key);
    m_recent->setCapacity(RecentFilesMenu::kCapacity);
}

void MainWindow::saveRecentFiles() const
{
    RegistryKey key = RegistryKey::at(RegistryKey::HKEY_CURRENT_USER, kRecentFilesKey);
    m_recent->save(key);
}

void MainWindow::applyToolbarSetting(bool on)
{
    m_picBar2->setVisible(on);
    const int item = m_cMenu->findItemByKey(CommandTables::kViewToolbar);
    m_cMenu->setItemChecked(item, on);
    m_cMenu->setItemImage(item, on ? CommandTables::kToolbarItemImage : -1);
}

void MainWindow::applyMetaSetting(bool on)
{
    m_cMenu->setItemChecked(m_cMenu->findItemByKey(CommandTables::kViewMeta), on);
    m_cToolbar->setButtonChecked(CommandTables::kMetaButton, on);
    m_picMetaElements->setVisible(on);
}

void MainWindow::ToggleToolbar()
{
    const bool on = !m_settings->isOn(Setting::Toolbar);
    m_settings->setOn(Setting::Toolbar, on);
    applyToolbarSetting(on);
}

void MainWindow::ToggleMetaPane()
{
    const bool on = !m_settings->isOn(Setting::ViewMeta);
    m_settings->setOn(Setting::ViewMeta, on);
    applyMetaSetting(on);
}

void MainWindow::CopyMetaElementTags()
{
    if (QClipboard *clipboard = QApplication::clipboard())
        clipboard->setText(m_txtMetaElements->text().replace(QLatin1Char('\n'), m_metaLineEnd));
}

void MainWindow::layoutMenuBar()
{
    m_cToolbarHost->setGeometry(0, 0, m_picBar->width(), m_cToolbarHost->requiredHeight());
    m_cToolbarHost->refresh();
    m_picBar->setFixedHeight(std::max(m_cToolbarHost->requiredHeight(), 1));
    m_cToolbarHost->resize(m_picBar->width(), m_picBar->height());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == m_picBar)
            layoutMenuBar();
        else if (watched == m_picMetaElements) {
            refreshTagBlockPane();
            m_picLines->place();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

DocumentWindow *MainWindow::activeDocument() const
{
    QMdiSubWindow *frame = m_mdi->activeSubWindow();
    if (!frame)
        frame = m_mdi->currentSubWindow();
    return frame ? qobject_cast<DocumentWindow *>(frame->widget()) : nullptr;
}

void MainWindow::refreshTagBlockPane()
{
    const DocumentWindow *document = activeDocument();
    if (!document)
        return;
    // As a save would write it: escaped values, and the charset tag the page's bytes call for.
    const MetaElementSet values = document->values();
    const std::string block = DocumentRewriter::shownBlock(values, m_settings->text(Setting::Version).toStdString(),
        "\n", document->pageFacts().charset.saveEncoding(values));
    m_txtMetaElements->setText(QString::fromUtf8(block.data(), static_cast<qsizetype>(block.size())));
    const std::string_view lineEnd = LineEnds::text(document->lineEnd());
    m_metaLineEnd = QString::fromLatin1(lineEnd.data(), static_cast<qsizetype>(lineEnd.size()));
    m_picLines->place();
}

bool MainWindow::saveActiveDocument()
{
    DocumentWindow *document = activeDocument();
    return document && m_commands->FileSave(*document);
}

void MainWindow::saveActiveDocumentAs()
{
    if (DocumentWindow *document = activeDocument())
        m_commands->FileSaveAs(*document);
}

void MainWindow::DisableDocumentCommands()
{
    setDocumentCommandsEnabled(false);
}

void MainWindow::EnableDocumentCommands()
{
    setDocumentCommandsEnabled(true);
}

void MainWindow::setDocumentCommandsEnabled(bool enabled)
{
    for (const QString &key : CommandTables::kDocumentCommandKeys)
        m_cMenu->setEnabled(m_cMenu->findItemByKey(key), enabled);
    m_cToolbar->setButtonEnabled(CommandTables::kSaveButton, enabled);
}

void MainWindow::showFileStatus(const QString &text, int icon)
{
    m_zebStatus->setPanelIcon(QStringLiteral("fil"), icon);
    m_zebStatus->setPanelText(QStringLiteral("fil"), text);
}

void MainWindow::setFileStatusIcon(int icon)
{
    m_zebStatus->setPanelIcon(QStringLiteral("fil"), icon);
}

void MainWindow::showMessage(const QString &text)
{
    m_zebStatus->setPanelText(QStringLiteral("msg"), text);
}

QString MainWindow::message() const
{
    return m_zebStatus->panelText(QStringLiteral("msg"));
}

void MainWindow::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    if (!busy)
        m_progressBar->setPosition(1);
    m_rebar->setBandVisible(1, busy);
}

void MainWindow::m_cMenu_Click(int index)
{
    m_dispatcher->menuClick(m_cMenu->itemKey(index));
}

void MainWindow::cToolbar_ButtonClick(int index)
{
    m_dispatcher->buttonClick(index);
}

void MainWindow::restoreAndActivate()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void MainWindow::OpenCommandLine(const QStringList &paths)
{
    restoreAndActivate();
    if (paths.isEmpty() && m_mdi->subWindowList().isEmpty())
        DisableDocumentCommands();
    for (const QString &path : paths) {
        m_state.PathToOpen = path;
        m_state.OpenWithDialog = false;
        m_commands->Open();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Each document window asks about its own edits; one Cancel keeps everything open.
    for (QMdiSubWindow *frame : m_mdi->subWindowList()) {
        if (!frame->close()) {
            event->ignore();
            return;
        }
    }
    saveRecentFiles();
    savePlacement();
    event->accept();
}
