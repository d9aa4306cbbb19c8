// A window with the status bar, a locked META text box, a tab control and a progress bar,
// for looking at the controls on a real display. With --screenshot <file.png> it saves
// what the screen shows of the window and quits.
#include "ProgressBar.h"
#include "TabControl.h"
#include "TextBox.h"
#include "StatusBar.h"
#include "IconList.h"

#include <QApplication>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QIcon drawnIcon(const QColor &colour, bool page)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(160));
    painter.setBrush(colour);
    if (page)
        painter.drawRect(3, 1, 10, 13);
    else
        painter.drawEllipse(2, 2, 12, 12);
    return QIcon(pixmap);
}

const char *const kMetaTags = "<META NAME=\"Description\" CONTENT=\"Hand-made kites and kite repair.\">\n"
                              "<META NAME=\"Keywords\" CONTENT=\"kites, repair, lines, spools\">\n"
                              "<META NAME=\"Author\" CONTENT=\"A. Flyer\">\n"
                              "<META NAME=\"robots\" CONTENT=\"noindex, nofollow\">\n"
                              "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-1\">";

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    IconList icons;
    icons.addIcon(drawnIcon(QColor(0xF0, 0xD0, 0x60), true));
    icons.addIcon(drawnIcon(QColor(0x50, 0x90, 0xE0), false));
    icons.addIcon(drawnIcon(QColor(0x60, 0xC0, 0x60), false));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tagsmith LITE controls"));
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);

    auto *tabs = new TabControl;
    tabs->setImageList(&icons);
    tabs->addTab(QStringLiteral("META elements"), 0, -1, QStringLiteral("meta"));
    tabs->addTab(QStringLiteral("Settings"), 1, -1, QStringLiteral("set"));
    tabs->addTab(QStringLiteral("File extentions"), 2, -1, QStringLiteral("ext"));
    tabs->setMinimumSize(560, 200);
    auto *metaBox = new TextBox(tabs);
    metaBox->setMultiLine(true);
    metaBox->setScrollBars(3);
    metaBox->setText(QString::fromLatin1(kMetaTags));
    metaBox->setLocked(true);
    metaBox->setHideSelection(false);
    metaBox->setLeftMargin(4);
    layout->addWidget(tabs);

    auto *progress = new ProgressBar;
    progress->setMin(1);
    progress->setMax(1500);
    progress->setPosition(900);
    progress->setFixedHeight(18);
    layout->addWidget(progress);
    window.setCentralWidget(central);

    auto *status = new StatusBar;
    status->setImageList(&icons);
    status->addPanel(StatusBar::Sunken, QStringLiteral("/home/a/site/index.html"), QStringLiteral("File"),
        0, 60, false, true, 0, QStringLiteral("fil"));
    status->addPanel(StatusBar::Sunken, QStringLiteral("Document opened..."), {}, -1, 80, true, false, 0,
        QStringLiteral("msg"));
    status->addPanel(StatusBar::OwnerDraw, {}, QStringLiteral("Owner-drawn"), -1, 40);
    status->addPanel(StatusBar::CapsLock);
    status->addPanel(StatusBar::NumLock);
    status->addPanel(StatusBar::DateAndTime);
    QObject::connect(status, &StatusBar::drawItem, status, [](QPainter *painter, int, const QRect &rect) {
        painter->fillRect(rect.adjusted(4, 3, -6, -3), QColor(0xC0, 0x40, 0x40));
    });
    window.setStatusBar(status);
    window.resize(720, 340);
    window.show();

    // The text box sits in the tab control's client area, below the strip.
    const auto placePage = [tabs, metaBox] {
        metaBox->setGeometry(
            tabs->clientLeft() + 4, tabs->clientTop() + 4, tabs->clientWidth() - 8, tabs->clientHeight() - 8);
    };
    placePage();
    QTimer::singleShot(0, &window, placePage);

    const int shotArgument
        = static_cast<int>(QApplication::arguments().indexOf(QStringLiteral("--screenshot")));
    if (shotArgument > 0 && shotArgument + 1 < QApplication::arguments().size()) {
        const QString path = QApplication::arguments().at(shotArgument + 1);
        QTimer::singleShot(1500, &window, [&window, metaBox, path] {
            metaBox->setFocus();
            metaBox->setSelStart(16);
            metaBox->setSelLength(11);
            QTimer::singleShot(300, &window, [&window, path] {
                window.screen()
                    ->grabWindow(
                        0, window.geometry().x(), window.geometry().y(), window.width(), window.height())
                    .save(path);
                QApplication::quit();
            });
        });
    }
    return QApplication::exec();
}
