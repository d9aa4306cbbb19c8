// A window built from the toolbar controls, for looking at them: menu bar and MDI caption
// buttons in a host, a button toolbar in a rebar, and optionally a dropped menu.
// Usage: toolbar_demo [screenshot.png [menu-index]]

#include "toolbar/Rebar.h"
#include "toolbar/Toolbar.h"
#include "toolbar/ToolbarHost.h"
#include "IconList.h"
#include "PopupMenu.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace {

QPixmap page(const QColor &fold)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}}));
    p.setBrush(fold);
    p.drawPolygon(QPolygon({{10, 1}, {10, 4}, {13, 4}}));
    return pixmap;
}

QPixmap drawn(const std::function<void(QPainter &)> &paint)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return pixmap;
}

void fillIcons(IconList &icons)
{
    icons.addIcon(QIcon(drawn([](QPainter &p) { p.fillRect(4, 4, 8, 8, Qt::gray); })));
    icons.addIcon(QIcon(page(QColor(200, 200, 200))));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.setPen(QColor(150, 110, 0));
        p.setBrush(QColor(250, 210, 80));
        p.drawRect(1, 4, 13, 9);
        p.drawRect(1, 2, 5, 2);
    })));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.setPen(QColor(20, 40, 120));
        p.setBrush(QColor(60, 100, 200));
        p.drawRect(1, 1, 13, 13);
        p.fillRect(4, 2, 7, 4, Qt::white);
        p.fillRect(4, 9, 7, 5, QColor(30, 30, 30));
    })));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.setBrush(QColor(230, 180, 140));
        p.setPen(Qt::NoPen);
        p.drawEllipse(5, 1, 6, 6);
        p.setBrush(QColor(40, 110, 60));
        p.drawRoundedRect(2, 8, 12, 7, 3, 3);
    })));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.setPen(QColor(120, 40, 40));
        p.setFont(QFont(QStringLiteral("Sans"), 6, QFont::Bold));
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("<m>"));
    })));
    for (const QColor &c : {QColor(90, 90, 90), QColor(20, 90, 200), QColor(20, 90, 200)}) {
        icons.addIcon(QIcon(drawn([c](QPainter &p) {
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawEllipse(1, 1, 14, 14);
            p.setPen(Qt::white);
            p.setFont(QFont(QStringLiteral("Sans"), 8, QFont::Bold));
            p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        })));
    }
    icons.addIcon(QIcon(drawn([](QPainter &p) { p.fillRect(2, 2, 12, 12, QColor(120, 160, 220)); })));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.setPen(QPen(QColor(30, 120, 30), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(2, 2, 12, 12);
        p.drawLine(2, 8, 14, 8);
        p.drawLine(8, 2, 8, 14);
    })));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.setPen(QPen(QColor(180, 30, 30), 2));
        p.drawLine(3, 3, 13, 13);
        p.drawLine(13, 3, 3, 13);
    })));
    icons.addIcon(QIcon(page(QColor(255, 240, 160))));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.setPen(QPen(QColor(40, 60, 160), 2));
        p.drawArc(3, 3, 10, 10, 90 * 16, 270 * 16);
        p.drawLine(3, 8, 1, 5);
    })));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.drawEllipse(1, 10, 5, 5);
        p.drawEllipse(10, 10, 5, 5);
        p.drawLine(4, 10, 11, 1);
        p.drawLine(12, 10, 5, 1);
    })));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.drawPixmap(0, 0, page(QColor(200, 200, 200)));
        p.drawPixmap(3, 2, page(QColor(200, 200, 200)));
    })));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.setPen(QColor(110, 70, 20));
        p.setBrush(QColor(190, 140, 70));
        p.drawRect(2, 2, 11, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 5, 7, 8);
        p.fillRect(5, 1, 5, 3, QColor(120, 120, 120));
    })));
    icons.addIcon(QIcon(drawn([](QPainter &p) {
        p.drawPixmap(0, 0, page(QColor(255, 240, 160)));
        p.setPen(QColor(120, 40, 40));
        p.setFont(QFont(QStringLiteral("Sans"), 5, QFont::Bold));
        p.drawText(QRect(3, 5, 10, 8), Qt::AlignCenter, QStringLiteral("M"));
    })));
}

void fillMenu(PopupMenu &menu)
{
    const int file = menu.appendItem(QStringLiteral("&File"), 0, QStringLiteral("mnuFileTOP"));
    menu.setItemImage(menu.appendItem(QStringLiteral("&New\tCtrl+N"), file, QStringLiteral("mnuFile(0)")), 1);
    menu.setItemImage(menu.appendItem(QStringLiteral("&Open...\tCtrl+O"), file, QStringLiteral("mnuFile(1)")), 2);
    menu.appendItem(QStringLiteral("&Close"), file, QStringLiteral("mnuFile(2)"));
    menu.appendItem(QStringLiteral("-"), file);
    menu.setItemImage(menu.appendItem(QStringLiteral("&Save...\tCtrl+S"), file, QStringLiteral("mnuFile(3)")), 3);
    menu.appendItem(QStringLiteral("Save As..."), file, QStringLiteral("mnuFile(9)"));
    menu.appendItem(QStringLiteral("-"), file);
    const int exit = menu.appendItem(QStringLiteral("E&xit\tAlt+Q"), file, QStringLiteral("mnuFile(5)"));
    menu.setItemImage(exit, 11);
    menu.setItemDefault(exit, true);
    const int edit = menu.appendItem(QStringLiteral("&Edit"), 0, QStringLiteral("mnuEditTOP"));
    menu.setItemImage(menu.appendItem(QStringLiteral("&Undo\tCtrl+Z"), edit, QStringLiteral("mnuEdit(0)")), 13);
    menu.appendItem(QStringLiteral("-"), edit);
    menu.setItemImage(menu.appendItem(QStringLiteral("Cu&t\tCtrl+X"), edit, QStringLiteral("mnuEdit(1)")), 14);
    menu.setItemImage(menu.appendItem(QStringLiteral("&Copy\tCtrl+C"), edit, QStringLiteral("mnuEdit(2)")), 15);
    menu.setItemImage(menu.appendItem(QStringLiteral("&Paste\tCtrl+V"), edit, QStringLiteral("mnuEdit(3)")), 16);
    const int view = menu.appendItem(QStringLiteral("&View"), 0, QStringLiteral("mnuViewTOP"));
    const int meta = menu.appendItem(QStringLiteral("&META Element Tags\tF8"), view, QStringLiteral("mnuView(0)"));
    menu.setItemImage(meta, 5);
    menu.setItemChecked(meta, true);
    menu.appendItem(QStringLiteral("&Full Code\tCtrl+F"), view, QStringLiteral("mnuView(1)"));
    menu.appendItem(QStringLiteral("-"), view);
    const int toolbar = menu.appendItem(QStringLiteral("&Toolbar"), view, QStringLiteral("mnuView(2)"));
    menu.setItemChecked(toolbar, true);
    const int help = menu.appendItem(QStringLiteral("&Help"), 0, QStringLiteral("mnuHelpTOP"));
    menu.setItemImage(menu.appendItem(QStringLiteral("I&ndex\tF1"), help, QStringLiteral("mnuHelp(0)")), 8);
    menu.appendItem(QStringLiteral("-"), help);
    const int lab = menu.appendItem(QStringLiteral("&Quorn Lab"), help);
    menu.appendItem(QStringLiteral("-Quorn Lab"), lab);
    menu.setItemImage(menu.appendItem(QStringLiteral("Tagsmith &Homepage"), lab, QStringLiteral("mnuHelp(1)")), 10);
    menu.appendItem(QStringLiteral("-"), help);
    menu.appendItem(QStringLiteral("&About Tagsmith..."), help, QStringLiteral("mnuHelp(5)"));
}

void fillToolbar(Toolbar &toolbar)
{
    const struct {
        const char *key;
        int image;
        const char *tip;
    } buttons[] = {
        {"tbNew", 1, "New"}, {"tbLoad", 2, "Open..."}, {"tbSave", 3, "Save..."}, {nullptr, -1, ""},
        {"tbCut", 14, "Cut"}, {"tbCopy", 15, "Copy"}, {"tbPaste", 16, "Paste"},
        {"tbCopyMETA", 17, "Copy META Element Tags"}, {"tbUndo", 13, "Undo"}, {nullptr, -1, ""},
        {"tbAuthor", 4, "Standard Author"}, {"tbMeta", 5, "META Element Tags"}, {nullptr, -1, ""},
        {"tbSettings", 7, "Program Settings"}, {nullptr, -1, ""}, {"tbLink", 10, "Tagsmith Homepage"},
        {"tbHelp", 8, "Help"},
    };
    for (const auto &b : buttons) {
        toolbar.addButton(QString::fromLatin1(b.tip), b.image, {}, 0, {},
                          b.key ? Toolbar::StyleButton : Toolbar::StyleSeparator,
                          b.key ? QString::fromLatin1(b.key) : QString());
    }
    toolbar.setButtonChecked(QStringLiteral("tbMeta"), true);
    toolbar.setButtonEnabled(QStringLiteral("tbSave"), false);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString shot = args.value(1);
    const int dropIndex = args.value(2, QStringLiteral("-1")).toInt();

    QWidget form;
    form.setWindowTitle(QStringLiteral("Tagsmith LITE"));
    form.resize(640, 360);
    IconList icons;
    fillIcons(icons);
    PopupMenu menu;
    fillMenu(menu);
    menu.setItemImageList(&icons);
    menu.setOwnerWindow(&form);

    ToolbarHost host(&form);
    Toolbar menuBar(&form);
    menuBar.createFromMenu(&menu);
    host.capture(&menuBar);

    Toolbar buttons(&form);
    buttons.createToolbar();
    buttons.setImageList(QVariant::fromValue(&icons));
    fillToolbar(buttons);

    auto *mdi = new QMdiArea(&form);
    Rebar rebar;
    auto relayout = [&] {
        host.setGeometry(0, 0, form.width(), host.requiredHeight());
        rebar.rebarSize();
        const int top = rebar.hwnd()->geometry().bottom() + 1 + Rebar::kDockSpacing;
        mdi->setGeometry(0, top, form.width(), form.height() - top);
    };
    host.setGeometry(0, 0, form.width(), 30);
    host.refresh();
    Rebar::addResizeObject(&form, &host, Rebar::Top);
    rebar.createRebar(&form);
    rebar.addBandByHwnd(buttons.hwnd(), {}, false, false, QStringLiteral("Toolbar"));
    auto *progress = new QLabel(QStringLiteral("Ready"), &form);
    progress->resize(120, 20);
    rebar.addBandByHwnd(progress, {}, false, false, QStringLiteral("ProgressBar"));
    host.setMdiToolbar(true);

    auto *doc = new QLabel(QStringLiteral("  index.html"));
    QMdiSubWindow *child = mdi->addSubWindow(doc);
    child->setWindowTitle(QStringLiteral("index.html"));
    child->setWindowIcon(QIcon(icons.pixmap(1)));
    form.show();
    child->showMaximized();
    relayout();
    QObject::connect(&rebar, &Rebar::heightChanged, &form, relayout);

    if (shot.isEmpty())
        return QApplication::exec();

    auto grab = [&form, shot] {
        QScreen *screen = form.screen();
        screen->grabWindow(0, form.x(), form.y(), form.frameGeometry().width() + 40,
                           form.frameGeometry().height() + 60).save(shot);
    };
    if (dropIndex < 0) {
        QTimer::singleShot(500, &app, [&] { grab(); QApplication::quit(); });
    } else {
        QTimer::singleShot(300, &app, [&] { menuBar.trackMenu(dropIndex); QApplication::quit(); });
        QTimer::singleShot(900, &app, [&] {
            grab();
            QApplication::activePopupWidget()->close();
        });
    }
    return QApplication::exec();
}
