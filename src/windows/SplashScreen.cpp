#include "SplashScreen.h"

#include "ProgramIcons.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

SplashScreen::SplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_picture(ProgramIcons::splash())
{
    // The picture covers the whole window: nothing needs clearing under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(m_picture.deviceIndependentSize().toSize());
}

void SplashScreen::showNow()
{
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SplashScreen::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_picture);
}
