#pragma once

#include <QPixmap>
#include <QWidget>

// The picture shown while the main window loads.
class SplashScreen : public QWidget
{
    Q_OBJECT

public:
    explicit SplashScreen(QWidget *parent = nullptr);

    // Shows the window and paints it at once: the main window's load keeps the event
    // loop busy until it is done.
    void showNow();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
