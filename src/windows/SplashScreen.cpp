#include "SplashScreen.h"

#include "ProgramIcons.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

SplashScreen::SplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *picture = new QLabel(this);
    picture->setPixmap(ProgramIcons::splash());
    layout->addWidget(picture);
    adjustSize();
}

void SplashScreen::showNow()
{
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
