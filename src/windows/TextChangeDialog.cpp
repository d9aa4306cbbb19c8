#include "TextChangeDialog.h"

#include "SiteModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kTextColumns[]
    = { SiteModel::DescriptionColumn, SiteModel::KeywordsColumn, SiteModel::AuthorColumn };

// A description is wider than its cell: the whole text is a hover away.
QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setToolTip(text);
    return item;
}

} // namespace

TextChangeDialog::TextChangeDialog(
    const SiteModel &model, const QList<int> &rows, int column, QWidget *parent)
    : QDialog(parent)
    , m_model(model)
    , m_rows(rows)
{
    setWindowTitle(tr("Find and Replace"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFields(column));
    buildPreview();
    layout->addWidget(m_error);
    layout->addWidget(m_count);
    layout->addWidget(m_preview, 1);
    layout->addWidget(buttons);
    showMode();
    resize(760, 480);
}

QWidget *TextChangeDialog::buildFields(int column)
{
    auto *fields = new QWidget(this);
    auto *form = new QFormLayout(fields);
    form->setContentsMargins(0, 0, 0, 0);
    m_column = new QComboBox(fields);
    for (const int text : kTextColumns)
        m_column->addItem(m_model.headerData(text, Qt::Horizontal).toString(), text);
    m_column->setCurrentIndex(std::max(0, m_column->findData(column)));
    m_mode = new QComboBox(fields);
    m_mode->addItem(tr("Replace"), int(TextChange::Mode::Replace));
    m_mode->addItem(tr("Add before"), int(TextChange::Mode::AddBefore));
    m_mode->addItem(tr("Add after"), int(TextChange::Mode::AddAfter));
    m_find = new QLineEdit(fields);
    m_text = new QLineEdit(fields);
    m_textLabel = new QLabel(fields);
    m_expression = new QCheckBox(tr("Regular e&xpression"), fields);
    m_matchCase = new QCheckBox(tr("Match &case"), fields);
    auto *options = new QHBoxLayout;
    options->addWidget(m_expression);
    options->addWidget(m_matchCase);
    options->addStretch(1);
    form->addRow(tr("C&olumn:"), m_column);
    form->addRow(tr("C&hange:"), m_mode);
    form->addRow(tr("F&ind:"), m_find);
    form->addRow(m_textLabel, m_text);
    form->addRow(QString(), options);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &TextChangeDialog::showMode);
    connect(m_column, &QComboBox::currentIndexChanged, this, &TextChangeDialog::showPreview);
    for (QLineEdit *box : { m_find, m_text })
        connect(box, &QLineEdit::textChanged, this, &TextChangeDialog::showPreview);
    for (QCheckBox *box : { m_expression, m_matchCase })
        connect(box, &QCheckBox::toggled, this, &TextChangeDialog::showPreview);
    return fields;
}

void TextChangeDialog::buildPreview()
{
    m_error = new QLabel(this);
    m_error->setWordWrap(true);
    m_error->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_count = new QLabel(this);
    m_preview = new QTableWidget(0, 3, this);
    m_preview->setHorizontalHeaderLabels({ tr("Page"), tr("Before"), tr("After") });
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_preview->setWordWrap(false);
    m_preview->verticalHeader()->hide();
    m_preview->verticalHeader()->setDefaultSectionSize(m_preview->fontMetrics().height() + 6);
    m_preview->horizontalHeader()->setStretchLastSection(true);
    m_preview->horizontalHeader()->setDefaultSectionSize(240);
}

int TextChangeDialog::column() const
{
    return m_column->currentData().toInt();
}

TextChange TextChangeDialog::change() const
{
    switch (static_cast<TextChange::Mode>(m_mode->currentData().toInt())) {
    case TextChange::Mode::AddBefore:
        return TextChange::addBefore(m_text->text());
    case TextChange::Mode::AddAfter:
        return TextChange::addAfter(m_text->text());
    case TextChange::Mode::Replace:
        break;
    }
    const Qt::CaseSensitivity sensitivity
        = m_matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (m_expression->isChecked())
        return TextChange::replaceMatches(m_find->text(), m_text->text(), sensitivity);
    return TextChange::replace(m_find->text(), m_text->text(), sensitivity);
}

// Adding a text needs nothing found: what only a replacement uses is put out of reach.
void TextChangeDialog::showMode()
{
    const bool replacing = m_mode->currentData().toInt() == int(TextChange::Mode::Replace);
    for (QWidget *field : std::initializer_list<QWidget *> { m_find, m_expression, m_matchCase })
        field->setEnabled(replacing);
    m_textLabel->setText(replacing ? tr("&Replace with:") : tr("&Text to add:"));
    m_textLabel->setBuddy(m_text);
    showPreview();
}

void TextChangeDialog::showPreview()
{
    const TextChange change = this->change();
    m_error->setText(change.error());
    m_error->setVisible(!change.isValid());
    QList<SiteModel::ChangedText> changes = m_model.textChanges(m_rows, column(), change);
    // Rows come in the order their pages happened to be read in.
    std::sort(changes.begin(), changes.end(),
        [](const SiteModel::ChangedText &a, const SiteModel::ChangedText &b) { return a.path < b.path; });
    m_preview->setRowCount(int(changes.size()));
    for (int row = 0; row < int(changes.size()); ++row) {
        const SiteModel::ChangedText &changed = changes.at(row);
        m_preview->setItem(row, 0, cell(changed.path));
        m_preview->setItem(row, 1, cell(changed.before));
        m_preview->setItem(row, 2, cell(changed.after));
    }
    m_count->setText(tr("%1 of %2 selected pages change").arg(changes.size()).arg(m_rows.size()));
    m_ok->setEnabled(!changes.isEmpty());
}
