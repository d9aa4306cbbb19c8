#include "QtOptionRows.h"

#include "QtOptions.h"

#include <QTest>

class TestQtOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Both copies leave for the program what QApplication leaves it on X11.
    void removedFrom_data() { addQtOptionRows(QStringLiteral(":0")); }
    void removedFrom()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, left);
        QCOMPARE(QtOptions::removedFrom(arguments), left);
    }

    // Each form the help lists is one Qt takes, value and all, and nothing else is taken.
    void everyListedFormIsTaken()
    {
        const QStringList forms = QtOptions::forms();
        QVERIFY(forms.contains(QStringLiteral("-style VALUE")));
        QVERIFY(forms.contains(QStringLiteral("-style=VALUE")));
        QVERIFY(forms.contains(QStringLiteral("-reverse")));
        for (const QString &form : forms) {
            QStringList written = form.split(QLatin1Char(' '));
            written.replaceInStrings(QStringLiteral("VALUE"), QStringLiteral("fusion"));
            QCOMPARE(QtOptions::removedFrom(written + QStringList { QStringLiteral("page.html") }),
                QStringList { QStringLiteral("page.html") });
        }
    }
};

QTEST_GUILESS_MAIN(TestQtOptions)
#include "test_qt_options.moc"
