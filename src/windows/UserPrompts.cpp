#include "UserPrompts.h"

#include "ResourceText.h"
#include "SavePreviewDialog.h"
#include "StringTable.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTreeView>

UserPrompts::UserPrompts(QWidget *owner)
    : m_owner(owner)
{
}

void UserPrompts::critical(const QString &text)
{
    ask(Kind::Critical, text);
}

QMessageBox::StandardButton UserPrompts::askSaveChanges(const QString &text)
{
    return ask(Kind::SaveChanges, text);
}

QMessageBox::StandardButton UserPrompts::askChangedOnDisk(const QString &text)
{
    return ask(Kind::ChangedOnDisk, text);
}

QMessageBox::StandardButton UserPrompts::askConfirm(const QString &text)
{
    return ask(Kind::Confirm, text);
}

QMessageBox::StandardButton UserPrompts::askSavePreview(const QString &text, const QString &diffs)
{
    record(Kind::SavePreview, text + QLatin1Char('\n') + diffs);
    if (m_scripted)
        return m_answers.isEmpty() ? QMessageBox::Cancel : m_answers.dequeue();
    return savePreviewDialog(text, diffs)->exec() == QDialog::Accepted ? QMessageBox::Save
                                                                       : QMessageBox::Cancel;
}

bool UserPrompts::askDialog(QDialog &dialog)
{
    record(Kind::Dialog, dialog.windowTitle());
    if (!m_scripted)
        return dialog.exec() == QDialog::Accepted;
    if (m_dialogAnswers.isEmpty())
        return false;
    dialog.show();
    m_dialogAnswers.dequeue()(dialog);
    return dialog.result() == QDialog::Accepted;
}

std::unique_ptr<SavePreviewDialog> UserPrompts::savePreviewDialog(
    const QString &text, const QString &diffs) const
{
    return std::make_unique<SavePreviewDialog>(text, diffs, m_owner);
}

QMessageBox::StandardButton UserPrompts::ask(Kind kind, const QString &text)
{
    record(kind, text);
    if (m_scripted)
        return m_answers.isEmpty() ? QMessageBox::Cancel : m_answers.dequeue();
    return static_cast<QMessageBox::StandardButton>(messageBox(kind, text)->exec());
}

std::unique_ptr<QMessageBox> UserPrompts::messageBox(Kind kind, const QString &text) const
{
    switch (kind) {
    case Kind::SaveChanges: {
        auto box = std::make_unique<QMessageBox>(QMessageBox::Question, kTitle, text,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_owner);
        box->setDefaultButton(QMessageBox::Yes);
        return box;
    }
    case Kind::ChangedOnDisk: {
        auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, kTitle, text,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_owner);
        box->button(QMessageBox::Discard)->setText(tr("&Reload"));
        box->button(QMessageBox::Save)->setText(tr("&Save Over"));
        // Nothing is lost by waiting: the safe answer is the one Enter gives.
        box->setDefaultButton(QMessageBox::Cancel);
        return box;
    }
    case Kind::Confirm: {
        auto box = std::make_unique<QMessageBox>(
            QMessageBox::Question, kTitle, text, QMessageBox::Yes | QMessageBox::No, m_owner);
        box->setDefaultButton(QMessageBox::No);
        return box;
    }
    default:
        return std::make_unique<QMessageBox>(QMessageBox::Critical, kTitle, text, QMessageBox::Ok, m_owner);
    }
}

void UserPrompts::record(Kind kind, const QString &text)
{
    m_shown.append({ kind, text, QGuiApplication::overrideCursor() != nullptr });
}

QString UserPrompts::openFileName()
{
    return fileName(Kind::OpenFile);
}

QString UserPrompts::saveFileName()
{
    return fileName(Kind::SaveFile);
}

QString UserPrompts::folderName()
{
    return fileName(Kind::OpenFolder);
}

QString UserPrompts::fileName(Kind kind)
{
    record(kind, fileDialogTitle(kind));
    if (m_scripted)
        return m_files.isEmpty() ? QString() : m_files.dequeue();
    const std::unique_ptr<QFileDialog> dialog = fileDialog(kind);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

QString UserPrompts::fileDialogTitle(Kind kind)
{
    if (kind == Kind::OpenFolder)
        return tr("Open Site");
    if (kind == Kind::ExportTable)
        return tr("Export Table");
    if (kind == Kind::ImportTable)
        return tr("Import Table");
    return ResourceText::status(kind == Kind::SaveFile ? StringId::SaveAs : StringId::Open);
}

std::unique_ptr<QFileDialog> UserPrompts::fileDialog(Kind kind) const
{
    const bool saving = kind == Kind::SaveFile || kind == Kind::ExportTable;
    const bool table = kind == Kind::ExportTable || kind == Kind::ImportTable;
    // A child of the main window, so the dialog opens centred over it.
    auto dialog = std::make_unique<QFileDialog>(m_owner, fileDialogTitle(kind));
    dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (kind == Kind::OpenFolder) {
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog->setNameFilters(nameFilters(table ? kTableFilter : saving ? kSaveFilter : kOpenFilter));
    }
    if (saving)
        dialog->setDefaultSuffix(table ? QStringLiteral("csv") : QStringLiteral("html"));
    showColumnsWhole(*dialog);
    return dialog;
}

// Qt's own dialog opens too narrow for its detail columns: the names get the room left, the
// size, type and date what their contents take.
void UserPrompts::showColumnsWhole(QFileDialog &dialog)
{
    dialog.resize(dialog.sizeHint().expandedTo(QSize(780, 480)));
    for (QTreeView *details : dialog.findChildren<QTreeView *>()) {
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

QStringList UserPrompts::nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i);
        // "All Files (*.*)" names its pattern already; Qt reads the last parentheses.
        const qsizetype shown = description.lastIndexOf(QStringLiteral(" ("));
        if (shown > 0 && description.endsWith(QLatin1Char(')')))
            description.truncate(shown);
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // Names without a dot are files too.
        for (QString &pattern : patterns) {
            if (pattern == QStringLiteral("*.*"))
                pattern = QStringLiteral("*");
        }
        filters.append(
            description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters;
}
