#include "AboutDialog.h"

#include "DocumentCreator.h"
#include "ProgramIcons.h"
#include "ResourceText.h"
#include "SettingsStore.h"
#include "SettingsCatalogue.h"
#include "ProgramVersion.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kAuthorCredit = QStringLiteral(" the Tagsmith LITE developers at Vantorel");

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
    , Picture1(new QLabel(this))
    , lblTitle(new QLabel(this))
    , lblVersion(new QLabel(this))
    , lblUses(new QLabel(this))
    , ListUsers(new QListWidget(this))
    , lblWrittenBy(new QLabel(this))
    , btnOK(new QPushButton(this))
{
    SettingsStore store;
    const QString version = SettingsCatalogue(store).text(Setting::Version);
    btnOK->setText(ResourceText::get(3000));
    lblVersion->setText(QStringLiteral("Version ") + version + QLatin1Char('.') + ProgramVersion::build()
        + QStringLiteral(" (") + ProgramVersion::company() + QLatin1Char(')'));
    lblTitle->setText(QStringLiteral("Tagsmith LITE ") + version);
    lblUses->setText(ResourceText::status(300));
    lblWrittenBy->setText(ResourceText::get(301) + kAuthorCredit);
    ListUsers->addItem(DocumentCreator::Description());
    ListUsers->addItem(store.description());

    setWindowTitle(ResourceText::get(2034).remove(QLatin1Char('&')));
    Picture1->setPixmap(ProgramIcons::picture(ProgramIcons::kPictureCount).pixmap(48, 48));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    lblTitle->setFont(titleFont);
    lblVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *heading = new QHBoxLayout;
    auto *titles = new QVBoxLayout;
    titles->addWidget(lblTitle);
    titles->addWidget(lblVersion);
    heading->addWidget(Picture1, 0, Qt::AlignTop);
    heading->addLayout(titles, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(lblUses);
    layout->addWidget(ListUsers, 1);
    layout->addWidget(lblWrittenBy);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    ListUsers->setWordWrap(true);
    resize(560, 320);
}
