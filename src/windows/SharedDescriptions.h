#pragma once

#include <QList>
#include <QObject>
#include <QString>

class DocumentWindow;

// Which open documents have the same description as another open one: two pages listed
// with one description look like one page twice. Kept up to date as documents open,
// change and close; each document is told whether its description is shared.
class SharedDescriptions : public QObject
{
    Q_OBJECT

public:
    explicit SharedDescriptions(QObject *parent = nullptr);

    void add(DocumentWindow &document);
    // What two descriptions must agree in to count as the same; empty for a text that is
    // no description at all (nothing, or a field's placeholder).
    static QString comparable(const QString &description);

private:
    void forget(QObject *document);
    void refresh();

    QList<DocumentWindow *> m_documents;
};
