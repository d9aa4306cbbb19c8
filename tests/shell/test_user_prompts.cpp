#include "shell/UserPrompts.h"

#include <QTest>

class TestUserPrompts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtersBecomeNameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("one pair") << "HyperText Markup Language|*.htm;*.html"
                                  << QStringList { "HyperText Markup Language (*.htm *.html)" };
        QTest::newRow("all files match names without a dot")
            << "Active Server Pages|*.asp|All Files (*.*)|*.*"
            << QStringList { "Active Server Pages (*.asp)", "All Files (*)" };
        QTest::newRow("a description without patterns is dropped")
            << "Pages|*.htm|Orphan" << QStringList { "Pages (*.htm)" };
        QTest::newRow("empty") << "" << QStringList {};
    }

    void filtersBecomeNameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(UserPrompts::nameFilters(filter), nameFilters);
    }

    void openAndSaveFiltersListTheFamilies()
    {
        const QStringList open = UserPrompts::nameFilters(UserPrompts::kOpenFilter);
        const QStringList save = UserPrompts::nameFilters(UserPrompts::kSaveFilter);
        QCOMPARE(open.size(), 5);
        QCOMPARE(open.at(2), QStringLiteral("Pre Hypertext Processor (*.php *.php3 *.phtml)"));
        QCOMPARE(save.at(2), QStringLiteral("Pre Hypertext Processor (*.phtml *.php *.php3)"));
        QCOMPARE(save.at(3), QStringLiteral("ServerSide Includes (*.shtml *.ssi)"));
    }

    void scriptedAnswersComeInOrderThenCancel()
    {
        UserPrompts prompts;
        prompts.setScripted(true);
        prompts.answerNext(QMessageBox::No);
        prompts.chooseFileNext(QStringLiteral("/tmp/a.html"));
        QCOMPARE(prompts.askSaveChanges(QStringLiteral("first")), QMessageBox::No);
        QCOMPARE(prompts.askSaveChanges(QStringLiteral("second")), QMessageBox::Cancel);
        QCOMPARE(prompts.saveFileName(), QStringLiteral("/tmp/a.html"));
        QCOMPARE(prompts.openFileName(), QString());
        QCOMPARE(prompts.shown().size(), 4);
        QCOMPARE(prompts.shown().at(1).text, QStringLiteral("second"));
        QCOMPARE(prompts.shown().at(2).text, QStringLiteral("Save As..."));
        QCOMPARE(prompts.shown().at(3).text, QStringLiteral("Open..."));
    }
};

QTEST_MAIN(TestUserPrompts)
#include "test_user_prompts.moc"
