#include "DocumentList.h"

#include "Document.h"
#include "FileStamp.h"

DocumentList::DocumentList(QObject *parent)
    : QObject(parent)
{
}

Document *DocumentList::add(std::unique_ptr<Document> document)
{
    Document *taken = document.release();
    taken->setParent(this);
    m_documents.append(taken);
    emit added(taken);
    return taken;
}

void DocumentList::remove(Document *document)
{
    if (!m_documents.removeOne(document))
        return;
    emit removed(document);
    document->deleteLater();
}

Document *DocumentList::find(const QString &path) const
{
    if (path.isEmpty())
        return nullptr;
    const FileStamp wanted = FileStamp::of(path);
    for (Document *document : m_documents) {
        if (document->path() == path)
            return document;
        if (wanted.exists && !document->isNew() && wanted.sameFile(FileStamp::of(document->path())))
            return document;
    }
    return nullptr;
}
