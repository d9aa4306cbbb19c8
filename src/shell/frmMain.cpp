#include "shell/frmMain.h"

#include <QLabel>

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
    , m_summary(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Tagsmith LITE"));
    m_summary->setMargin(12);
    m_summary->setTextFormat(Qt::PlainText);
    setCentralWidget(m_summary);
    resize(640, 360);
}

void frmMain::OpenCommandLine(const QString &commandLine)
{
    m_summary->setText(commandLine);
}
