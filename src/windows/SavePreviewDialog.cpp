#include "SavePreviewDialog.h"

#include "UserPrompts.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

SavePreviewDialog::SavePreviewDialog(const QString &text, const QString &diffs, QWidget *parent)
    : QDialog(parent)
    , m_text(new QLabel(text, this))
    , m_diffs(new QPlainTextEdit(diffs, this))
{
    setWindowTitle(UserPrompts::kTitle);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_diffs->setReadOnly(true);
    m_diffs->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_diffs->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    m_save = buttons->button(QDialogButtonBox::Save);
    m_save->setText(tr("&Save"));
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    // Writing many pages is the step to take on purpose, not the one Enter takes.
    m_save->setAutoDefault(false);
    m_cancel->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_diffs, 1);
    layout->addWidget(buttons);
    resize(820, 560);
}
