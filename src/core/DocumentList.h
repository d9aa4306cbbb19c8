#pragma once

#include "Document.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

// The pages open in the program, one document each: whoever shows a page, a document window
// or a list of the whole site, shows the same model.
class DocumentList : public QObject
{
    Q_OBJECT

public:
    explicit DocumentList(QObject *parent = nullptr);

    Document *add(std::unique_ptr<Document> document);
    // Forgets the document and deletes it once control returns to the event loop.
    void remove(Document *document);
    const QList<Document *> &documents() const { return m_documents; }
    // The document of the page at path: the same file, reached by any name, or the same
    // path when the file is gone.
    Document *find(const QString &path) const;

Q_SIGNALS:
    void added(Document *document);
    void removed(Document *document);

private:
    QList<Document *> m_documents;
};
