#include "SharedDescriptions.h"

#include "Document.h"
#include "DocumentList.h"

#include <QHash>

SharedDescriptions::SharedDescriptions(DocumentList &documents, QObject *parent)
    : QObject(parent)
    , m_documents(documents)
{
    connect(&documents, &DocumentList::added, this, &SharedDescriptions::watch);
    connect(&documents, &DocumentList::removed, this, &SharedDescriptions::refresh);
    for (Document *document : documents.documents())
        watch(document);
}

QString SharedDescriptions::comparable(const QString &description)
{
    // A page shows runs of white space as one space, so they differ in nothing a reader sees.
    const QString shown = description.simplified();
    if (!MetaElementSet::hasValue(TextField::Description, shown.toStdString()))
        return {};
    return shown;
}

void SharedDescriptions::watch(Document *document)
{
    connect(document, &Document::valuesChanged, this, &SharedDescriptions::refresh);
    refresh();
}

void SharedDescriptions::refresh()
{
    const QList<Document *> &documents = m_documents.documents();
    QHash<QString, int> uses;
    QList<QString> keys;
    keys.reserve(documents.size());
    for (const Document *document : documents) {
        keys.append(comparable(document->text(TextField::Description)));
        if (!keys.last().isEmpty())
            ++uses[keys.last()];
    }
    for (qsizetype i = 0; i < documents.size(); ++i)
        documents[i]->setDescriptionShared(!keys[i].isEmpty() && uses.value(keys[i]) > 1);
}
