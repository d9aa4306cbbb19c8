#include "CommandLinePaths.h"

#include <QTest>

class TestCommandLinePaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The files the arguments left by Qt name, as paths from the folder the program started in.
    void fromArguments_data()
    {
        QTest::addColumn<QString>("workingFolder");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("paths");
        const auto row = [](const char *name, const QStringList &arguments, const QStringList &paths,
                             const QString &workingFolder = QStringLiteral("/site")) {
            QTest::newRow(name) << workingFolder << arguments << paths;
        };
        row("relative", { "page.html" }, { "/site/page.html" });
        row("absolute", { "/other/page.html" }, { "/other/page.html" });
        row("kept as given", { " a.html ", "\"b\".html", "../c.html" },
            { "/site/ a.html ", "/site/\"b\".html", "/site/../c.html" });
        row("empty and blank name nothing", { "", " ", "\t", "page.html" }, { "/site/page.html" });
        row("a lone -- names nothing", { "--", "page.html", "--" }, { "/site/page.html" });
        row("names that begin like options are pages", { "-x.html", "---", "--x", "-" },
            { "/site/-x.html", "/site/---", "/site/--x", "/site/-" });
        row("a page named -- by its path", { "./--" }, { "/site/./--" });
        row("blanks around -- make a name", { " --", "-- " }, { "/site/ --", "/site/-- " });
        row("started in the root folder", { "page.html", "/a.html" }, { "/page.html", "/a.html" }, "/");
        row("a folder given with its slash", { "page.html" }, { "/site/page.html" }, "/site/");
        row("a folder with blanks and quotes", { "p.html" }, { "/my \"site\" /p.html" }, "/my \"site\" ");
    }
    void fromArguments()
    {
        QFETCH(QString, workingFolder);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, paths);
        QCOMPARE(CommandLinePaths::fromArguments(arguments, workingFolder), paths);
    }
};

QTEST_GUILESS_MAIN(TestCommandLinePaths)
#include "test_command_line_paths.moc"
