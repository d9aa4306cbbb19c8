#include "SettingsDialog.h"

#include "ProgramServices.h"
#include "ResourceText.h"
#include "StringTable.h"
#include "TabControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

constexpr int kAuthorPlaceholder = 109;
// Pictures for the tabs, numbered as in the program's icon list: the gear for General, a
// page for the file types, the author.
constexpr int kGeneralPicture = 7;
constexpr int kFilesPicture = 9;
constexpr int kEditorPicture = 4;

struct WidthPreset
{
    const char *name;
    WidthLimits limits;
};

const std::array<WidthPreset, 2> kWidthPresets = { {
    { QT_TRANSLATE_NOOP("SettingsDialog", "Desktop"), WidthLimits::desktop() },
    { QT_TRANSLATE_NOOP("SettingsDialog", "Mobile"), WidthLimits::mobile() },
} };
constexpr int kCustomPreset = int(kWidthPresets.size());

QSpinBox *pixelBox(QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(1, WidthLimits::kWidest);
    box->setSuffix(QStringLiteral(" px"));
    return box;
}

QCheckBox *checkBox(const QString &caption, QWidget *page)
{
    auto *box = new QCheckBox(caption, page);
    page->layout()->addWidget(box);
    return box;
}

QWidget *makePage(QWidget *parent)
{
    auto *widget = new QWidget(parent);
    auto *layout = new QVBoxLayout(widget);
    layout->setAlignment(Qt::AlignTop);
    return widget;
}

} // namespace

SettingsDialog::SettingsDialog(
    ProgramServices &services, const FileAssociations &associations, QWidget *parent)
    : QDialog(parent)
    , m_associations(associations)
    , m_settings(services.settings())
{
    buildPages();
    buildTabs(services);
    loadValues();
    trackChanges();
    showPage(1);
    // Loading set the boxes, which counts as a change; the dialog opens unchanged.
    m_applyButton->setEnabled(false);
}

void SettingsDialog::buildPages()
{
    setWindowTitle(ResourceText::status(200));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new TabControl(this);
    m_tabs->setHotTrack(true);
    layout->addWidget(m_tabs, 1);

    m_editorPage = makePage(m_tabs);
    m_authorLabel = new QLabel(ResourceText::caption(201), m_editorPage);
    m_authorEdit = new QLineEdit(m_editorPage);
    m_editorPage->layout()->addWidget(m_authorLabel);
    m_editorPage->layout()->addWidget(m_authorEdit);
    m_charsetBox = checkBox(ResourceText::get(203) + QLatin1Char('.'), m_editorPage);
    buildWidthLimits();

    m_generalPage = makePage(m_tabs);
    m_backupBox = checkBox(ResourceText::get(202) + QLatin1Char('.'), m_generalPage);

    m_filesPage = makePage(m_tabs);
    m_associationsLabel
        = new QLabel(QStringLiteral("Associate file types with these extentions:"), m_filesPage);
    m_filesPage->layout()->addWidget(m_associationsLabel);
    m_htmBox = checkBox(QStringLiteral("HyperText Markup Language (*.HTM, *.HTML)"), m_filesPage);
    m_aspBox = checkBox(QStringLiteral("Active Server Pages (*.ASP)"), m_filesPage);
    m_phpBox = checkBox(QStringLiteral("Pre HyperText Processor (*.PHP, *.PHP3, *.PHTML)"), m_filesPage);
    m_ssiBox = checkBox(QStringLiteral("ServerSide Includes (*.SHTML, *.SSI)"), m_filesPage);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_okButton = new QPushButton(ResourceText::get(3000), this);
    m_applyButton = new QPushButton(ResourceText::get(3001), this);
    m_cancelButton = new QPushButton(ResourceText::get(3002), this);
    for (QPushButton *button : { m_okButton, m_applyButton, m_cancelButton })
        buttons->addWidget(button);
    layout->addLayout(buttons);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
    connect(m_applyButton, &QPushButton::clicked, this, &SettingsDialog::apply);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    resize(460, 300);
}

void SettingsDialog::buildWidthLimits()
{
    auto *widths = new QWidget(m_editorPage);
    auto *form = new QFormLayout(widths);
    form->setContentsMargins(0, 0, 0, 0);
    m_widthPreset = new QComboBox(widths);
    for (const WidthPreset &preset : kWidthPresets)
        m_widthPreset->addItem(tr("%1 (%2 / %3 px)")
                                   .arg(tr(preset.name))
                                   .arg(preset.limits.title)
                                   .arg(preset.limits.description));
    m_widthPreset->addItem(tr("Custom"));
    m_titleWidth = pixelBox(widths);
    m_descriptionWidth = pixelBox(widths);
    form->addRow(tr("Search result widths:"), m_widthPreset);
    form->addRow(tr("Title:"), m_titleWidth);
    form->addRow(tr("Description:"), m_descriptionWidth);
    m_editorPage->layout()->addWidget(widths);
    connect(m_widthPreset, &QComboBox::currentIndexChanged, this, &SettingsDialog::showPreset);
}

// A preset shows its numbers and keeps them; Custom starts from the numbers shown.
void SettingsDialog::showPreset(int index)
{
    const bool custom = index == kCustomPreset;
    m_titleWidth->setEnabled(custom);
    m_descriptionWidth->setEnabled(custom);
    if (!custom && index >= 0) {
        m_titleWidth->setValue(int(kWidthPresets[std::size_t(index)].limits.title));
        m_descriptionWidth->setValue(int(kWidthPresets[std::size_t(index)].limits.description));
    }
}

void SettingsDialog::showWidthLimits(const WidthLimits &limits)
{
    const auto preset = std::find_if(kWidthPresets.begin(), kWidthPresets.end(),
        [&limits](const WidthPreset &candidate) { return candidate.limits == limits; });
    m_titleWidth->setValue(int(limits.title));
    m_descriptionWidth->setValue(int(limits.description));
    m_widthPreset->setCurrentIndex(int(preset - kWidthPresets.begin()));
    showPreset(m_widthPreset->currentIndex());
}

WidthLimits SettingsDialog::shownWidthLimits() const
{
    return { double(m_titleWidth->value()), double(m_descriptionWidth->value()) };
}

void SettingsDialog::buildTabs(ProgramServices &services)
{
    m_tabs->setImageList(&services.icons());
    m_tabs->addTab(ResourceText::get(206), kEditorPicture, -1, QStringLiteral("EDITOR"), 3000);
    m_tabs->addTab(ResourceText::get(204), kGeneralPicture, -1, QStringLiteral("GENERAL"), 1000);
    m_tabs->addTab(ResourceText::get(205), kFilesPicture, -1, QStringLiteral("FILES"), 2000);
    connect(m_tabs, &TabControl::tabClicked, this, &SettingsDialog::showPage);
    m_tabs->installEventFilter(this);
}

// The pages fill the tab control's client area, which moves with every resize.
bool SettingsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tabs && event->type() == QEvent::Resize)
        showPage(m_tabs->selectedTab());
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::loadValues()
{
    m_authorEdit->setText(m_settings.text(Setting::Author));
    m_charsetBox->setChecked(m_settings.isOn(Setting::DefaultCharset));
    m_backupBox->setChecked(m_settings.isOn(Setting::BackupFiles));
    showWidthLimits(m_settings.widthLimits());
    for (const auto &family : FileAssociations::families())
        associationBox(family.family)->setChecked(m_associations.read(family.family).registered);
}

void SettingsDialog::trackChanges()
{
    const auto changed = [this] { m_applyButton->setEnabled(true); };
    connect(m_authorEdit, &QLineEdit::textChanged, this, changed);
    for (QCheckBox *box : { m_charsetBox, m_backupBox, m_htmBox, m_aspBox, m_phpBox, m_ssiBox })
        connect(box, &QCheckBox::clicked, this, changed);
    connect(m_widthPreset, &QComboBox::activated, this, changed);
    for (QSpinBox *box : { m_titleWidth, m_descriptionWidth })
        connect(box, &QSpinBox::valueChanged, this, changed);
}

void SettingsDialog::showPage(int position)
{
    const QRect client(
        m_tabs->clientLeft(), m_tabs->clientTop(), m_tabs->clientWidth(), m_tabs->clientHeight());
    if (position < 1 || position > kPageCount)
        return;
    for (int tab = 1; tab <= kPageCount; ++tab) {
        page(tab)->setGeometry(client);
        page(tab)->setVisible(tab == position);
    }
}

QWidget *SettingsDialog::page(int position) const
{
    const std::array<QWidget *, kPageCount> pages = { m_editorPage, m_generalPage, m_filesPage };
    return position >= 1 && position <= kPageCount ? pages[std::size_t(position - 1)] : nullptr;
}

QCheckBox *SettingsDialog::associationBox(FileAssociations::Family family) const
{
    switch (family) {
    case FileAssociations::Family::Asp:
        return m_aspBox;
    case FileAssociations::Family::Php:
        return m_phpBox;
    case FileAssociations::Family::Ssi:
        return m_ssiBox;
    case FileAssociations::Family::Htm:
        break;
    }
    return m_htmBox;
}

void SettingsDialog::apply()
{
    const QString author
        = m_authorEdit->text().isEmpty() ? ResourceText::get(kAuthorPlaceholder) : m_authorEdit->text();
    const bool backups = m_backupBox->checkState() != Qt::Unchecked;
    m_settings.setOn(Setting::DefaultCharset, m_charsetBox->checkState() != Qt::Unchecked);
    for (const auto &family : FileAssociations::families())
        m_associations.write(family.family, associationBox(family.family)->checkState() == Qt::Checked);
    m_settings.setText(Setting::Author, author);
    m_settings.setOn(Setting::BackupFiles, backups);
    const WidthLimits limits = shownWidthLimits();
    const bool limitsChanged = limits != m_settings.widthLimits();
    m_settings.setWidthLimits(limits);
    m_applyButton->setEnabled(false);
    if (limitsChanged)
        emit widthLimitsChanged(limits);
}
