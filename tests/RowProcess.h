#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

// GIO reads where the desktop keeps its files (XDG_DATA_DIRS, XDG_CONFIG_HOME, ...) once in a
// process and never again. A test row that sets up a desktop of its own in fresh folders
// therefore runs in a process of its own: the test program started again for that row alone.
//
//     void row() { TAGSMITH_ROW_IN_OWN_PROCESS(); ...the row... }
class RowProcess
{
public:
    static bool isRowProcess() { return qEnvironmentVariableIsSet(kMarker); }

    // Runs the current row in its process and takes over its verdict: a failure with the
    // row's output, a skip with its reason.
    static void runCurrentRow()
    {
        const QString function = QString::fromLatin1(QTest::currentTestFunction());
        const QString tag = QString::fromUtf8(QTest::currentDataTag());
        QProcess row;
        QProcessEnvironment environment = startEnvironment;
        environment.insert(QString::fromLatin1(kMarker), QStringLiteral("1"));
        row.setProcessEnvironment(environment);
        row.setProcessChannelMode(QProcess::MergedChannels);
        row.start(QCoreApplication::applicationFilePath(), { tag.isEmpty() ? function : function + u':' + tag });
        if (!row.waitForFinished(120000)) {
            row.kill();
            row.waitForFinished();
            QFAIL("the row's process did not end within two minutes");
        }
        const QString output = QString::fromUtf8(row.readAll());
        QVERIFY2(row.exitStatus() == QProcess::NormalExit && row.exitCode() == 0, qPrintable(output));
        const QString verdict = verdictLine(output, QStringLiteral("::") + function + u'(' + tag + u')');
        QVERIFY2(!verdict.isEmpty(), qPrintable(output));
        if (verdict.startsWith(QStringLiteral("SKIP")))
            QSKIP(qPrintable(verdict.section(QStringLiteral(") "), 1)));
    }

private:
    // The row starts as the program did, not in the folders the row's process has since set
    // up for itself.
    inline static const QProcessEnvironment startEnvironment = QProcessEnvironment::systemEnvironment();

    // "PASS   : TestClass::function(tag)", or SKIP with the reason after it.
    static QString verdictLine(const QString &output, const QString &row)
    {
        for (const QString &line : output.split(u'\n')) {
            if ((line.startsWith(QStringLiteral("PASS")) || line.startsWith(QStringLiteral("SKIP")))
                && line.contains(row))
                return line;
        }
        return {};
    }

    static constexpr const char *kMarker = "TAGSMITH_ROW_PROCESS";
};

#define TAGSMITH_ROW_IN_OWN_PROCESS()                                                                  \
    do {                                                                                               \
        if (!RowProcess::isRowProcess()) {                                                             \
            RowProcess::runCurrentRow();                                                               \
            return;                                                                                    \
        }                                                                                              \
    } while (false)
