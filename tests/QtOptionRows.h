#pragma once

#include <QStringList>
#include <QTest>

// Command lines and what Qt 6.4's QApplication on X11 leaves of them for the program: the
// rows test_qt_options holds the program's own rule to, and test_qt_option_agreement holds
// the installed Qt to. displayName is a display the X11 rows can name.
inline void addQtOptionRows(const QString &displayName)
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("left");
    const auto row = [](const char *name, const QStringList &arguments, const QStringList &left) {
        QTest::newRow(name) << arguments << left;
    };
    const QString page = QStringLiteral("page.html");

    row("style and its value", { "-style", "fusion", page }, { page });
    row("style joined to its value", { "-style=fusion", page }, { page });
    row("style joined to nothing", { "-style=", page }, { page });
    row("style sheet and its value", { page, "-stylesheet", "none.qss" }, { page });
    row("style sheet joined to its value", { "-stylesheet=none.qss", page }, { page });
    row("right to left", { "-reverse", page }, { page });
    row("widget count", { page, "-widgetcount" }, { page });
    row("old debugging switches", { "-qdevel", page, "-qdebug" }, { page });
    row("session and its value", { "-session", "1234_5678", page }, { page });
    row("generic plugin and its value", { "-plugin", "none", page }, { page });
    row("testability", { "-testability", page }, { page });
    row("QML debugger and its value", { "-qmljsdebugger", "port:3768", page }, { page });
    row("QML debugger joined to its value", { "-qmljsdebugger=port:3768", page }, { page });
    row("platform and its value", { "-platform", "xcb", page }, { page });
    row("platform plugin folder and its value", { "-platformpluginpath", "/nonexistent", page }, { page });
    row("platform theme and its value", { "-platformtheme", "none", page }, { page });
    row("window geometry, title and icon",
        { "-qwindowgeometry", "640x480", "-qwindowtitle", "Not a page", "-qwindowicon", "none", page },
        { page });
    row("X11 geometry, title and icon",
        { "-geometry", "640x480+10+10", "-title", "Not a page", "-icon", "none", page }, { page });
    row("display and its value", { "-display", displayName, page }, { page });
    row("instance name and its value", { page, "-name", "tagsmith" }, { page });
    row("visual and its value", { "-visual", "0x21", page }, { page });
    row("grab switches", { "-nograb", page, "-dograb" }, { page });

    row("two dashes",
        { "--style", "fusion", "--reverse", "--display", displayName, "--qwindowtitle", "T", page },
        { page });
    row("two dashes, joined", { "--style=fusion", "--qmljsdebugger=port:3768", page }, { page });
    row("three dashes are a page", { "---style", "fusion" }, { "---style", "fusion" });
    row("joined only where Qt joins", { "-platform=xcb", "--qwindowtitle=T", "-reverse=1", page },
        { "-platform=xcb", "--qwindowtitle=T", "-reverse=1", page });
    row("names are case-sensitive", { "-Style", "fusion", page }, { "-Style", "fusion", page });

    row("last style without a value stays", { page, "-style" }, { page, "-style" });
    row("last style sheet without a value stays", { page, "-stylesheet" }, { page, "-stylesheet" });
    row("last session without a value stays", { page, "-session" }, { page, "-session" });
    row("last display without a value stays", { page, "-display" }, { page, "-display" });
    row("last QML debugger without a value stays", { page, "-qmljsdebugger" }, { page, "-qmljsdebugger" });
    row("last plugin goes even without a value", { page, "-plugin" }, { page });
    row("last window title goes even without a value", { page, "-qwindowtitle" }, { page });
    row("a value that looks like an option is a value", { "-session", "-style", "fusion", page },
        { "fusion", page });
    row("platform options are read before the style", { "-style", "-platform", "xcb", page }, {});
    row("X11 options are read before the QML debugger", { "-qmljsdebugger", "-display", displayName, page },
        {});
    row("the style is read before the style sheet", { "-stylesheet", "-style", "fusion", page }, {});

    row("other options are pages", { "-x.html", "--verbose", "-" }, { "-x.html", "--verbose", "-" });
    row("Qt 4's X11 options are pages", { "-sync", "-ncols", "16", "-cmap" },
        { "-sync", "-ncols", "16", "-cmap" });
    row("information options are not Qt's", { "-h", "--help", "--help-all", "-v", "--version" },
        { "-h", "--help", "--help-all", "-v", "--version" });
    row("-- ends no options", { "--", "-style", "fusion", page }, { "--", page });
    row("empty and blank arguments stay", { "", " ", page }, { "", " ", page });
    row("nothing", {}, {});
}
