#include "UserPrompts.h"

#include "ResourceText.h"
#include "StringTable.h"

#include <QAbstractButton>
#include <QFileDialog>

UserPrompts::UserPrompts(QWidget *owner)
    : m_owner(owner)
{
}

void UserPrompts::critical(const QString &text)
{
    m_shown.append({ Kind::Critical, text });
    if (m_scripted) {
        if (!m_answers.isEmpty())
            m_answers.dequeue();
        return;
    }
    QMessageBox::critical(m_owner, kTitle, text, QMessageBox::Ok);
}

QMessageBox::StandardButton UserPrompts::askSaveChanges(const QString &text)
{
    m_shown.append({ Kind::SaveChanges, text });
    if (m_scripted)
        return m_answers.isEmpty() ? QMessageBox::Cancel : m_answers.dequeue();
    return QMessageBox::question(
        m_owner, kTitle, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

QMessageBox::StandardButton UserPrompts::askChangedOnDisk(const QString &text)
{
    m_shown.append({ Kind::ChangedOnDisk, text });
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
    m_shown.append({ kind, title });
    if (m_scripted)
        return m_files.isEmpty() ? QString() : m_files.dequeue();

    // A child of the main window, so the dialog opens centred over it.
    QFileDialog dialog(m_owner, title);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(saving ? kSaveFilter : kOpenFilter));
    if (saving)
        dialog.setDefaultSuffix(QStringLiteral("html"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
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
