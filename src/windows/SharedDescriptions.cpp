#include "SharedDescriptions.h"

#include "DocumentWindow.h"

#include <QHash>

SharedDescriptions::SharedDescriptions(QObject *parent)
    : QObject(parent)
{
}

QString SharedDescriptions::comparable(const QString &description)
{
    // A page shows runs of white space as one space, so they differ in nothing a reader sees.
    const QString shown = description.simplified();
    const QByteArray utf8 = shown.toUtf8();
    if (!MetaElementSet::hasValue(
            TextField::Description, std::string_view(utf8.constData(), std::size_t(utf8.size()))))
        return {};
    return shown;
}

void SharedDescriptions::add(DocumentWindow &document)
{
    m_documents.append(&document);
    connect(&document, &DocumentWindow::valuesChanged, this, &SharedDescriptions::refresh);
    connect(&document, &QObject::destroyed, this, &SharedDescriptions::forget);
    refresh();
}

void SharedDescriptions::forget(QObject *document)
{
    // Called while the window is being destroyed: only its address is used.
    m_documents.removeIf([document](const DocumentWindow *known) { return known == document; });
    refresh();
}

void SharedDescriptions::refresh()
{
    QHash<QString, int> uses;
    QList<QString> keys;
    keys.reserve(m_documents.size());
    for (const DocumentWindow *document : std::as_const(m_documents)) {
        keys.append(comparable(document->text(TextField::Description)));
        if (!keys.last().isEmpty())
            ++uses[keys.last()];
    }
    for (qsizetype i = 0; i < m_documents.size(); ++i)
        m_documents[i]->setDescriptionShared(!keys[i].isEmpty() && uses.value(keys[i]) > 1);
}
