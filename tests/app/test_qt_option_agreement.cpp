// The installed Qt itself, on a real X server, against the rows QtOptions is held to: a
// Qt that takes other options than the program's rule shows here, not as pages in a
// user's recent files.

#include "QtOptionRows.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const char kShowArguments[] = "TAGSMITH_SHOW_ARGUMENTS_LEFT";

// As a child: what QApplication leaves of the command line, each argument ended by a NUL.
int showArgumentsLeft(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    const QStringList left = QCoreApplication::arguments().mid(1);
    for (const QString &argument : left)
        out.write(argument.toLocal8Bit() + '\0');
    return 0;
}

} // namespace

class TestQtOptionAgreement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "needs an X server: run under xvfb-run");
    }

    void leftByQt_data() { addQtOptionRows(qEnvironmentVariable("DISPLAY")); }
    void leftByQt()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, left);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kShowArguments), QStringLiteral("1"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), arguments);
        QVERIFY(child.waitForFinished(20000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
            child.readAllStandardError().constData());
        QStringList leftByQt;
        const QList<QByteArray> written = child.readAllStandardOutput().split('\0');
        for (const QByteArray &argument : written.mid(0, written.size() - 1))
            leftByQt.append(QString::fromLocal8Bit(argument));
        QCOMPARE(leftByQt, left);
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(kShowArguments))
        return showArgumentsLeft(argc, argv);
    QCoreApplication app(argc, argv);
    TestQtOptionAgreement test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_qt_option_agreement.moc"
