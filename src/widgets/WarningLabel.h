#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;

// The warnings of one field, shown under it: the warning mark and one message a line, the
// same text as tool tip. Hidden while the field has none; never a box to click away.
class WarningLabel : public QWidget
{
    Q_OBJECT

public:
    explicit WarningLabel(QWidget *parent = nullptr);

    void setMessages(const QStringList &messages);
    QStringList messages() const { return m_messages; }

private:
    QLabel *m_icon;
    QLabel *m_text;
    QStringList m_messages;
};
