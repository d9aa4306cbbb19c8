#include "SettingsDialog.h"

#include "TabControl.h"
#include "ProgramIcons.h"
#include "ResourceText.h"
#include "StringTable.h"
#include "IconList.h"
#include "SettingsStore.h"
#include "SettingsCatalogue.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kAuthorPlaceholder = 109;
// Pictures for the tabs: the gear for General, a page for the file types, the author.
constexpr int kGeneralPicture = 7;
constexpr int kFilesPicture = 9;
constexpr int kEditorPicture = 4;

QCheckBox *checkBox(const QString &caption, QWidget *page)
{
    auto *box = new QCheckBox(caption, page);
    page->layout()->addWidget(box);
    return box;
}

QWidget *page(QWidget *parent)
{
    auto *widget = new QWidget(parent);
    auto *layout = new QVBoxLayout(widget);
    layout->setAlignment(Qt::AlignTop);
    return widget;
}

} // namespace

SettingsDialog::SettingsDialog(const FileAssociations &associations, QWidget *parent)
    : QDialog(parent)
    , m_associations(associations)
    , m_store(std::make_unique<SettingsStore>())
    , m_settings(std::make_unique<SettingsCatalogue>(*m_store))
{
    buildPages();
    buildTabs();
    loadValues();
    trackChanges();
    showPage(1);
    // Loading set the boxes, which counts as a change; the dialog opens unchanged.
    btnApply->setEnabled(false);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::buildPages()
{
    setWindowTitle(ResourceText::status(200));
    auto *layout = new QVBoxLayout(this);
    TabControl1 = new TabControl(this);
    TabControl1->setHotTrack(true);
    layout->addWidget(TabControl1, 1);

    Picture3 = page(TabControl1);
    lblAuthor2 = new QLabel(ResourceText::caption(201), Picture3);
    txtAuthor2 = new QLineEdit(Picture3);
    Picture3->layout()->addWidget(lblAuthor2);
    Picture3->layout()->addWidget(txtAuthor2);
    chkCharset = checkBox(ResourceText::get(203) + QLatin1Char('.'), Picture3);

    Picture1 = page(TabControl1);
    chkBackupFiles = checkBox(ResourceText::get(202) + QLatin1Char('.'), Picture1);

    Picture2 = page(TabControl1);
    Label1 = new QLabel(QStringLiteral("Associate file types with these extentions:"), Picture2);
    Picture2->layout()->addWidget(Label1);
    chkHTM = checkBox(QStringLiteral("HyperText Markup Language (*.HTM, *.HTML)"), Picture2);
    chkASP = checkBox(QStringLiteral("Active Server Pages (*.ASP)"), Picture2);
    chkPHP = checkBox(QStringLiteral("Pre HyperText Processor (*.PHP, *.PHP3, *.PHTML)"), Picture2);
    chkSSI = checkBox(QStringLiteral("ServerSide Includes (*.SHTML, *.SSI)"), Picture2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    btnOK = new QPushButton(ResourceText::get(3000), this);
    btnApply = new QPushButton(ResourceText::get(3001), this);
    btnCancel = new QPushButton(ResourceText::get(3002), this);
    for (QPushButton *button : { btnOK, btnApply, btnCancel })
        buttons->addWidget(button);
    layout->addLayout(buttons);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
    connect(btnApply, &QPushButton::clicked, this, &SettingsDialog::apply);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(460, 300);
}

void SettingsDialog::buildTabs()
{
    m_icons = std::make_unique<IconList>();
    for (const int picture : { kGeneralPicture, kFilesPicture, kEditorPicture })
        m_icons->addIcon(ProgramIcons::picture(picture));
    TabControl1->setImageList(m_icons.get());
    TabControl1->addTab(ResourceText::get(206), 2, -1, QStringLiteral("EDITOR"), 3000);
    TabControl1->addTab(ResourceText::get(204), 0, -1, QStringLiteral("GENERAL"), 1000);
    TabControl1->addTab(ResourceText::get(205), 1, -1, QStringLiteral("FILES"), 2000);
    connect(TabControl1, &TabControl::tabClicked, this, &SettingsDialog::showPage);
    TabControl1->installEventFilter(this);
}

// The pages fill the tab control's client area, which moves with every resize.
bool SettingsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TabControl1 && event->type() == QEvent::Resize)
        showPage(TabControl1->selectedTab());
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::loadValues()
{
    txtAuthor2->setText(m_settings->text(Setting::Author));
    chkCharset->setChecked(m_settings->isOn(Setting::DefaultCharset));
    chkBackupFiles->setChecked(m_settings->isOn(Setting::BackupFiles));
    for (const auto &family : FileAssociations::families())
        boxFor(family.family)->setChecked(m_associations.read(family.family).registered);
}

void SettingsDialog::trackChanges()
{
    const auto changed = [this] { btnApply->setEnabled(true); };
    connect(txtAuthor2, &QLineEdit::textChanged, this, changed);
    for (QCheckBox *box : { chkCharset, chkBackupFiles, chkHTM, chkASP, chkPHP, chkSSI })
        connect(box, &QCheckBox::clicked, this, changed);
}

void SettingsDialog::showPage(int position)
{
    const QRect client(TabControl1->clientLeft(), TabControl1->clientTop(), TabControl1->clientWidth(),
        TabControl1->clientHeight());
    const std::array<QWidget *, 3> pages = { Picture3, Picture1, Picture2 };
    if (position < 1 || position > int(pages.size()))
        return;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pages[i]->setGeometry(client);
        pages[i]->setVisible(int(i) + 1 == position);
    }
}

QCheckBox *SettingsDialog::boxFor(FileAssociations::Family family) const
{
    switch (family) {
    case FileAssociations::Family::Asp:
        return chkASP;
    case FileAssociations::Family::Php:
        return chkPHP;
    case FileAssociations::Family::Ssi:
        return chkSSI;
    case FileAssociations::Family::Htm:
        break;
    }
    return chkHTM;
}

void SettingsDialog::apply()
{
    const QString author
        = txtAuthor2->text().isEmpty() ? ResourceText::get(kAuthorPlaceholder) : txtAuthor2->text();
    const bool backups = chkBackupFiles->checkState() != Qt::Unchecked;
    m_settings->setOn(Setting::DefaultCharset, chkCharset->checkState() != Qt::Unchecked);
    for (const auto &family : FileAssociations::families())
        m_associations.write(family.family, boxFor(family.family)->checkState() == Qt::Checked);
    m_settings->setText(Setting::Author, author);
    m_settings->setOn(Setting::BackupFiles, backups);
    btnApply->setEnabled(false);
}
