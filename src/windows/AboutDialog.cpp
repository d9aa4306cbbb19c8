#include "AboutDialog.h"

#include "DocumentCreator.h"
#include "ProgramIcons.h"
#include "ProgramVersion.h"
#include "ResourceText.h"
#include "SettingsCatalogue.h"
#include "SettingsStore.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kAuthorCredit = QStringLiteral(" the Tagsmith LITE developers at Vantorel");

} // namespace

AboutDialog::AboutDialog(const SettingsCatalogue &settings, QWidget *parent)
    : QDialog(parent)
    , m_mark(new QLabel(this))
    , m_title(new QLabel(this))
    , m_version(new QLabel(this))
    , m_uses(new QLabel(this))
    , m_components(new QListWidget(this))
    , m_credit(new QLabel(this))
    , m_okButton(new QPushButton(this))
{
    const QString version = ProgramVersion::version();
    m_okButton->setText(ResourceText::get(3000));
    m_version->setText(QStringLiteral("Version ") + version + QLatin1Char('.') + ProgramVersion::build()
        + QStringLiteral(" (") + ProgramVersion::company() + QLatin1Char(')'));
    m_title->setText(QStringLiteral("Tagsmith LITE ") + version);
    m_uses->setText(ResourceText::status(300));
    m_credit->setText(ResourceText::get(301) + kAuthorCredit);
    m_components->addItem(DocumentCreator::description());
    m_components->addItem(settings.store().description());

    setWindowTitle(ResourceText::get(2034).remove(QLatin1Char('&')));
    m_mark->setPixmap(ProgramIcons::picture(ProgramIcons::kPictureCount).pixmap(48, 48));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    m_title->setFont(titleFont);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *heading = new QHBoxLayout;
    auto *titles = new QVBoxLayout;
    titles->addWidget(m_title);
    titles->addWidget(m_version);
    heading->addWidget(m_mark, 0, Qt::AlignTop);
    heading->addLayout(titles, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(m_uses);
    layout->addWidget(m_components, 1);
    layout->addWidget(m_credit);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    layout->addLayout(buttons);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    m_components->setWordWrap(true);
    resize(560, 320);
}

QString AboutDialog::titleText() const
{
    return m_title->text();
}

QString AboutDialog::versionText() const
{
    return m_version->text();
}
