#include "WarningLabel.h"

#include "ProgramIcons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>

WarningLabel::WarningLabel(QWidget *parent)
    : QWidget(parent)
    , m_icon(new QLabel(this))
    , m_text(new QLabel(this))
{
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    m_icon->setPixmap(ProgramIcons::warning().pixmap(iconSize, iconSize));
    m_icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_icon, 0, Qt::AlignTop);
    layout->addWidget(m_text, 1);
    hide();
}

void WarningLabel::setMessages(const QStringList &messages)
{
    if (messages == m_messages)
        return;
    m_messages = messages;
    m_text->setText(messages.join(QLatin1Char('\n')));
    // Tool tips guess rich text from a leading tag, and messages quote tags like <meta ...>.
    QString tip;
    for (const QString &message : messages)
        tip += QStringLiteral("<p>") + message.toHtmlEscaped() + QStringLiteral("</p>");
    setToolTip(tip);
    setVisible(!messages.isEmpty());
}
