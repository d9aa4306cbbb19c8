#include "UserPrompts.h"

#include "ResourceText.h"
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
    record(Kind::Critical, text);
    if (m_scripted) {
        if (!m_answers.isEmpty())
            m_answers.dequeue();
        return;
    }
    QMessageBox::critical(m_owner, kTitle, text, QMessageBox::Ok);
}

QMessageBox::StandardButton UserPrompts::askSaveChanges(const QString &text)
{
    record(Kind::SaveChanges, text);
    if (m_scripted)
        return m_answers.isEmpty() ? QMessageBox::Cancel : m_answers.dequeue();
    return QMessageBox::question(
        m_owner, kTitle, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

QMessageBox::StandardButton UserPrompts::askChangedOnDisk(const QString &text)
{
    record(Kind::ChangedOnDisk, text);
    if (m_scripted)
        return m_answers.isEmpty() ? QMessageBox::Cancel : m_answers.dequeue();
    QMessageBox box(QMessageBox::Warning, kTitle, text,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_owner);
    box.button(QMessageBox::Discard)->setText(tr("&Reload"));
    box.button(QMessageBox::Save)->setText(tr("&Save Over"));
    // Nothing is lost by waiting: the safe answer is the one Enter gives.
    box.setDefaultButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void UserPrompts::record(Kind kind, const QString &text)
{
    m_shown.append({ kind, text, QGuiApplication::overrideCursor() != nullptr });
}

QString UserPrompts::openFileName()
{
    return askForFile(Kind::OpenFile);
}

QString UserPrompts::saveFileName()
{
    return askForFile(Kind::SaveFile);
}

QString UserPrompts::askForFile(Kind kind)
{
    const bool saving = kind == Kind::SaveFile;
    const QString title = ResourceText::status(saving ? StringId::SaveAs : StringId::Open);
    record(kind, title);
    if (m_scripted)
        return m_files.isEmpty() ? QString() : m_files.dequeue();

    // A child of the main window, so the dialog opens centred over it.
    QFileDialog dialog(m_owner, title);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(saving ? kSaveFilter : kOpenFilter));
    if (saving)
        dialog.setDefaultSuffix(QStringLiteral("html"));
    showColumnsWhole(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
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
