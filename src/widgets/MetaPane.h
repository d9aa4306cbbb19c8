#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class Document;
class LineNumberGutter;
class TextBox;

// The pane under the documents that shows, with line numbers, the tag block a save of the
// active document would write. It follows the document's values while it shows it, and keeps
// the last block when the document goes. Its text box is built when the pane first shows or
// is asked for: hidden, as on a first run, the pane costs the start nothing.
class MetaPane : public QWidget
{
    Q_OBJECT

public:
    explicit MetaPane(QWidget *parent = nullptr);

    void showDocument(Document *document);
    void clear();
    // The block with the document's own line ends, as Copy puts it on the clipboard.
    QString copyText();

    TextBox &text();
    LineNumberGutter &gutter();

    void setVisible(bool visible) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void ensureText();
    void refresh();
    void useFixedFont();
    int fittingHeight() const;

    QPointer<Document> m_document;
    TextBox *m_text = nullptr;
    LineNumberGutter *m_gutter = nullptr;
    // What the pane shows, kept while its text box is not built.
    QString m_block;
    // The line end of the document the block was last built for; the pane itself shows lines.
    QString m_lineEnd = QStringLiteral("\r\n");
};
