#include "MainWindow.h"

#include "CommandTables.h"
#include "DocumentCommands.h"
#include "DocumentWindow.h"
#include "EditCommands.h"
#include "ExternalTools.h"
#include "MetaPane.h"
#include "PopupMenu.h"
#include "ProgramCommands.h"
#include "ProgramIcons.h"
#include "ProgramServices.h"
#include "ProgramVersion.h"
#include "ProgressBar.h"
#include "RecentFilesMenu.h"
#include "ResourceText.h"
#include "SettingsCatalogue.h"
#include "SiteCommands.h"
#include "StatusBar.h"
#include "StatusPanels.h"
#include "StringTable.h"
#include "TagBlock.h"
#include "UserPrompts.h"
#include "toolbar/Rebar.h"
#include "toolbar/Toolbar.h"
#include "toolbar/ToolbarHost.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kToolbarBandMinWidth = 64;
const QString kProgressBand = QStringLiteral("ProgressBar");

} // namespace

MainWindow::MainWindow(ProgramServices &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_prompts(std::make_unique<UserPrompts>(this))
    , m_menu(std::make_unique<PopupMenu>())
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_menuBarStrip = new QWidget(central);
    m_toolbarStrip = new QWidget(central);
    m_mdiArea = new QMdiArea(central);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_metaPane = new MetaPane(central);
    layout->addWidget(m_menuBarStrip);
    layout->addWidget(m_toolbarStrip);
    layout->addWidget(m_mdiArea, 1);
    layout->addWidget(m_metaPane);
    setCentralWidget(central);
    m_mdiArea->viewport()->installEventFilter(this);

    buildMenuBar();
    buildStatusBar();
    buildCommands();
    restorePlacement();
    setWindowTitle(
        QString::fromLatin1(TagBlock::kProgramTitle.data()) + QLatin1Char(' ') + ProgramVersion::version());
    applyToolbarSetting(m_services.settings().isOn(Setting::Toolbar));
    applyMetaSetting(m_services.settings().isOn(Setting::ViewMeta));
    m_menuBar->setButtonVisible(CommandTables::kWindowMenu, false);
    layoutMenuBar();
}

MainWindow::~MainWindow()
{
    // The commands answer to the MDI area's signals; they go before the windows do.
    m_siteCommands.reset();
    m_commands.reset();
}

// The commands get what they act on; what they change in this window comes back as signals.
void MainWindow::buildCommands()
{
    m_commands = std::make_unique<DocumentCommands>(m_services, *m_mdiArea, *m_prompts, *m_statusPanels);
    m_siteCommands
        = std::make_unique<SiteCommands>(*m_mdiArea, *m_prompts, *m_statusPanels, *m_commands, m_services.settings());
    connect(m_siteCommands.get(), &SiteCommands::loadProgress, this, &MainWindow::showSiteProgress);
    connect(m_siteCommands.get(), &SiteCommands::loadFinished, this, &MainWindow::endSiteProgress);
    m_editCommands = std::make_unique<EditCommands>(*m_mdiArea, m_services.settings());
    m_tools
        = std::make_unique<ExternalTools>(*m_mdiArea, *m_commands, m_services.settings(), *m_statusPanels);
    m_programCommands = new ProgramCommands(*this, m_services, *m_commands, *m_editCommands, *m_tools);
    m_recentMenu = std::make_unique<RecentFilesMenu>(*m_menu, m_services.recentFiles());
    m_recentMenu->build();
    connect(m_commands.get(), &DocumentCommands::recentFilesChanged, this, [this] { m_recentMenu->build(); });
    m_recentSitesMenu
        = std::make_unique<RecentFilesMenu>(*m_menu, m_services.recentSites(), RecentFilesMenu::Kind::Sites);
    m_recentSitesMenu->build();
    connect(m_siteCommands.get(), &SiteCommands::siteOpened, this, &MainWindow::rememberSite);
    connect(m_commands.get(), &DocumentCommands::busyChanged, this, &MainWindow::setBusy);
    connect(m_commands.get(), &DocumentCommands::documentOpened, this,
        [this] { setDocumentCommandsEnabled(true); });
    connect(m_commands.get(), &DocumentCommands::activeDocumentChanged, m_metaPane, &MetaPane::showDocument);
    connect(m_commands.get(), &DocumentCommands::saveOnCloseChosen, m_metaPane, &MetaPane::clear);
}

void MainWindow::buildMenuBar()
{
    CommandTables::buildMenu(*m_menu);
    m_menu->setItemImageList(&m_services.icons());
    connect(m_menu.get(), &PopupMenu::clicked, this, &MainWindow::onMenuItemClicked);

    m_toolbarHost = new ToolbarHost(m_menuBarStrip);
    m_toolbarHost->setBorderStyle(0);
    m_menuBar = new Toolbar(this);
    m_menuBar->createFromMenu(m_menu.get());
    m_toolbarHost->capture(m_menuBar);
    m_toolbarHost->setMdiToolbar(true);
    m_menuBarStrip->installEventFilter(this);
}

Toolbar &MainWindow::toolbar()
{
    ensureRebar();
    return *m_toolbar;
}

Rebar &MainWindow::rebar()
{
    ensureRebar();
    return *m_rebar;
}

void MainWindow::ensureRebar()
{
    if (m_rebar)
        return;
    m_rebar = std::make_unique<Rebar>();
    buildRebar();
    m_toolbar->setButtonChecked(CommandTables::kMetaButton, m_services.settings().isOn(Setting::ViewMeta));
    m_toolbar->setButtonEnabled(CommandTables::kSaveButton, m_documentCommandsEnabled);
    showProgressBand(m_busy || m_siteLoading);
}

// By its data: the user may have dragged the bands into another order.
void MainWindow::showProgressBand(bool shown)
{
    m_rebar->setBandVisible(m_rebar->bandIndexForData(kProgressBand), shown);
}

void MainWindow::buildRebar()
{
    m_toolbar = new Toolbar(this);
    m_toolbar->setImageSource(Toolbar::ImageLists);
    // One row: in a narrow window the band's chevron offers the buttons that do not fit.
    m_toolbar->createToolbar(16, false, false, false);
    m_toolbar->setImageList(QVariant::fromValue(&m_services.icons()));
    CommandTables::buildToolbar(*m_toolbar);
    connect(m_toolbar, &Toolbar::buttonClicked, this, &MainWindow::onToolbarButtonClicked);

    m_progressBar = new ProgressBar(m_toolbarStrip);
    m_progressBar->setMin(1);
    m_progressBar->setMax(1500);
    m_progressBar->setSmooth(true);
    m_progressBar->resize(140, 16);
    m_logo = new QLabel(m_toolbarStrip);
    m_logo->setPixmap(ProgramIcons::logo());
    m_logo->adjustSize();

    m_rebar->createRebar(m_toolbarStrip);
    // One row: the buttons, the progress while a file is read, the logo at the end.
    m_rebar->addBandByHwnd(m_toolbar->hwnd(), {}, false, false, QStringLiteral("Toolbar"));
    // In a narrow window the buttons give way down to a few; the band's chevron offers
    // the rest.
    m_rebar->setBandChildMinWidth(m_rebar->bandCount() - 1, kToolbarBandMinWidth);
    connect(m_rebar.get(), &Rebar::chevronPushed, this, [this](int id, const QRect &chevron) {
        if (m_rebar->bandData(id) == QStringLiteral("Toolbar"))
            m_toolbar->popupButtonsBeyond(
                m_toolbar->hwnd()->width(), m_toolbarStrip->mapToGlobal(chevron.bottomLeft()));
    });
    m_rebar->addBandByHwnd(m_progressBar, {}, false, true, kProgressBand);
    m_rebar->addBandByHwnd(m_logo, {}, false, true);
    connect(m_rebar.get(), &Rebar::heightChanged, m_toolbarStrip,
        [this](int height) { m_toolbarStrip->setFixedHeight(height); });
    m_rebar->rebarSize();
    m_toolbarStrip->setFixedHeight(m_rebar->rebarHeight());
}

TextBox &MainWindow::metaText()
{
    return m_metaPane->text();
}

LineNumberGutter &MainWindow::gutter()
{
    return m_metaPane->gutter();
}

void MainWindow::buildStatusBar()
{
    m_statusBar = new StatusBar(this);
    m_statusBar->setImageList(&m_services.icons());
    m_statusBar->addPanel(StatusBar::Sunken, ResourceText::status(StringId::NoDocumentOpen), {},
        StatusPanels::IconIdle, 200, false, false, 0, QStringLiteral("fil"));
    m_statusBar->addPanel(StatusBar::Sunken, {}, {}, -1, 64, false, false, 0, QStringLiteral("msg"));
    setStatusBar(m_statusBar);
    m_statusPanels = std::make_unique<StatusPanels>(*m_statusBar);
}

void MainWindow::restorePlacement()
{
    const SettingsCatalogue &settings = m_services.settings();
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
        m_services.settings().setText(Setting::WindowState, QStringLiteral("maximized"));
        return;
    }
    m_services.settings().setText(Setting::Left, QString::number(x()));
    m_services.settings().setText(Setting::Top, QString::number(y()));
    m_services.settings().setText(Setting::Height, QString::number(height()));
    m_services.settings().setText(Setting::Width, QString::number(width()));
    m_services.settings().setText(Setting::WindowState, QStringLiteral("normal"));
}

void MainWindow::applyToolbarSetting(bool on)
{
    if (on)
        ensureRebar();
    m_toolbarStrip->setVisible(on);
    const int item = m_menu->findItemByKey(ProgramCommands::menuKey(CommandId::ToolbarStrip));
    m_menu->setItemChecked(item, on);
    m_menu->setItemImage(item, on ? CommandTables::kToolbarItemImage : -1);
}

void MainWindow::applyMetaSetting(bool on)
{
    m_menu->setItemChecked(m_menu->findItemByKey(ProgramCommands::menuKey(CommandId::MetaPane)), on);
    if (m_toolbar)
        m_toolbar->setButtonChecked(CommandTables::kMetaButton, on);
    m_metaPane->setVisible(on);
}

void MainWindow::toggleToolbar()
{
    const bool on = !m_services.settings().isOn(Setting::Toolbar);
    m_services.settings().setOn(Setting::Toolbar, on);
    applyToolbarSetting(on);
}

void MainWindow::toggleMetaPane()
{
    const bool on = !m_services.settings().isOn(Setting::ViewMeta);
    m_services.settings().setOn(Setting::ViewMeta, on);
    applyMetaSetting(on);
}

void MainWindow::copyMetaElementTags()
{
    if (QClipboard *clipboard = QApplication::clipboard())
        clipboard->setText(m_metaPane->copyText());
}

void MainWindow::layoutMenuBar()
{
    m_toolbarHost->setGeometry(0, 0, m_menuBarStrip->width(), m_toolbarHost->requiredHeight());
    m_toolbarHost->refresh();
    m_menuBarStrip->setFixedHeight(std::max(m_toolbarHost->requiredHeight(), 1));
    m_toolbarHost->resize(m_menuBarStrip->width(), m_menuBarStrip->height());
}

// A maximized document hands its caption buttons to the window's menu bar; the menu bar
// here is a toolbar host that shows them itself, so they go to a hidden one. It is made
// with the first document window rather than at start, ahead of the first paint.
void MainWindow::ensureCaptionSink()
{
    if (menuWidget())
        return;
    auto *captionSink = new QMenuBar(this);
    setMenuWidget(captionSink);
    captionSink->hide();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ChildAdded && watched == m_mdiArea->viewport())
        ensureCaptionSink();
    if (event->type() == QEvent::Resize && watched == m_menuBarStrip)
        layoutMenuBar();
    return QMainWindow::eventFilter(watched, event);
}

DocumentWindow *MainWindow::activeDocument() const
{
    return DocumentWindow::activeIn(*m_mdiArea);
}

void MainWindow::setDocumentCommandsEnabled(bool enabled)
{
    for (const CommandId id : CommandTables::kDocumentCommands) {
        m_menu->setEnabled(m_menu->findItemByKey(ProgramCommands::menuKey(id)), enabled);
        m_programCommands->setEnabled(id, enabled);
    }
    m_documentCommandsEnabled = enabled;
    if (m_toolbar)
        m_toolbar->setButtonEnabled(CommandTables::kSaveButton, enabled);
}

void MainWindow::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    m_busy = busy;
    if (!m_rebar)
        return;
    if (!busy)
        m_progressBar->setPosition(1);
    showProgressBand(busy || m_siteLoading);
}

// No wait cursor: the site window answers while its pages are read.
void MainWindow::showSiteProgress(qint64 found, qint64 read)
{
    m_siteLoading = true;
    m_statusPanels->showMessage(tr("Reading the site: %1 of %2 pages found so far...").arg(read).arg(found));
    if (!m_rebar)
        return;
    const qint64 range = m_progressBar->max() - m_progressBar->min();
    m_progressBar->setPosition(
        m_progressBar->min() + qint32(found > 0 ? range * std::min(read, found) / found : 0));
    showProgressBand(true);
}

void MainWindow::endSiteProgress()
{
    m_siteLoading = false;
    if (!m_rebar)
        return;
    m_progressBar->setPosition(m_progressBar->min());
    showProgressBand(m_busy);
}

void MainWindow::onMenuItemClicked(int index)
{
    m_programCommands->triggerMenuKey(m_menu->itemKey(index));
}

void MainWindow::onToolbarButtonClicked(int index)
{
    if (const std::optional<CommandId> id = CommandTables::buttonCommand(index))
        m_programCommands->trigger(*id);
}

void MainWindow::restoreAndActivate()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void MainWindow::openCommandLine(const QStringList &paths)
{
    restoreAndActivate();
    if (paths.isEmpty() && m_mdiArea->subWindowList().isEmpty())
        setDocumentCommandsEnabled(false);
    for (const QString &path : paths)
        m_commands->open(path);
}

void MainWindow::openSite(const QString &folder)
{
    restoreAndActivate();
    m_siteCommands->open(folder);
}

void MainWindow::openRecentSite(int entry)
{
    RecentFileList &sites = m_services.recentSites();
    if (!sites.inUse(entry))
        return;
    const QString folder = sites.path(entry);
    if (QFileInfo(folder).isDir()) {
        m_siteCommands->open(folder);
        return;
    }
    sites.remove(folder);
    m_recentSitesMenu->build();
    m_statusPanels->showMessage(tr("No such folder any more, taken off Recent Sites... (%1)").arg(folder));
}

void MainWindow::rememberSite(const QString &folder)
{
    m_services.recentSites().add(folder);
    m_recentSitesMenu->build();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Each document window asks about its own edits; one Cancel keeps everything open.
    for (QMdiSubWindow *frame : m_mdiArea->subWindowList()) {
        if (!frame->close()) {
            event->ignore();
            return;
        }
    }
    m_services.saveRecentFiles();
    m_services.saveRecentSites();
    savePlacement();
    event->accept();
}
