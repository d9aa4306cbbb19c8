#pragma once

#include <QObject>
#include <QString>

class Document;
class DocumentList;

// Which open pages have the same description as another open one: two pages listed with one
// description look like one page twice. Kept up to date as pages open, change and close; each
// document is told whether its description is shared.
class SharedDescriptions : public QObject
{
    Q_OBJECT

public:
    explicit SharedDescriptions(DocumentList &documents, QObject *parent = nullptr);

    // What two descriptions must agree in to count as the same; empty for a text that is no
    // description at all (nothing, or a field's placeholder).
    static QString comparable(const QString &description);

private:
    void watch(Document *document);
    void refresh();

    DocumentList &m_documents;
};
