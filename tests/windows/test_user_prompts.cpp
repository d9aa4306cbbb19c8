#include "SavePreviewDialog.h"
#include "UserPrompts.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(UserPrompts::Kind)

namespace {

// The buttons of a box as a user reads them, left to right as Qt orders them, the default
// one marked with "*".
QStringList buttonsOf(const QMessageBox &box)
{
    QStringList buttons;
    for (QAbstractButton *button : box.buttons()) {
        QString text = button->text().remove(u'&');
        if (button == box.defaultButton())
            text += u'*';
        buttons << text;
    }
    buttons.sort();
    return buttons;
}

} // namespace

// The prompts as they would be shown, looked at before anyone answers: what they offer, what
// Enter and Escape give.
class TestUserPrompts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageBoxes_data()
    {
        QTest::addColumn<UserPrompts::Kind>("kind");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("enter");
        QTest::addColumn<int>("escape");
        QTest::newRow("error") << UserPrompts::Kind::Critical << int(QMessageBox::Critical) << QStringList { "OK" }
                               << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("save changes") << UserPrompts::Kind::SaveChanges << int(QMessageBox::Question)
                                      << QStringList { "Cancel", "No", "Yes*" } << int(QMessageBox::Yes)
                                      << int(QMessageBox::Cancel);
        QTest::newRow("changed on disk: waiting loses nothing")
            << UserPrompts::Kind::ChangedOnDisk << int(QMessageBox::Warning)
            << QStringList { "Cancel*", "Reload", "Save Over" } << int(QMessageBox::Cancel) << int(QMessageBox::Cancel);
        QTest::newRow("confirm: nothing happens by Enter") << UserPrompts::Kind::Confirm << int(QMessageBox::Question)
                                                           << QStringList { "No*", "Yes" } << int(QMessageBox::No)
                                                           << int(QMessageBox::No);
    }
    void messageBoxes()
    {
        QFETCH(UserPrompts::Kind, kind);
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        QFETCH(int, enter);
        QFETCH(int, escape);
        QWidget owner;
        const UserPrompts prompts(&owner);
        for (const auto &[key, answer] : { std::pair { Qt::Key_Return, enter }, std::pair { Qt::Key_Escape, escape } }) {
            const std::unique_ptr<QMessageBox> box = prompts.messageBox(kind, u"The page changed."_s);
            QCOMPARE(box->windowTitle(), UserPrompts::kTitle);
            QCOMPARE(box->text(), u"The page changed."_s);
            QCOMPARE(int(box->icon()), icon);
            QCOMPARE(box->parentWidget(), &owner);
            box->show();
            QCOMPARE(buttonsOf(*box), buttons);
            QTest::keyClick(box.get(), key);
            QTRY_VERIFY(!box->isVisible());
            QCOMPARE(int(box->standardButton(box->clickedButton())), answer);
        }
    }

    void fileDialogs_data()
    {
        QTest::addColumn<UserPrompts::Kind>("kind");
        QTest::addColumn<int>("acceptMode");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("firstFilter");
        QTest::newRow("open: an existing page") << UserPrompts::Kind::OpenFile << int(QFileDialog::AcceptOpen)
                                                << int(QFileDialog::ExistingFile) << QString()
                                                << u"HyperText Markup Language (*.htm *.html)"_s;
        QTest::newRow("save as: any name, .html when none is typed")
            << UserPrompts::Kind::SaveFile << int(QFileDialog::AcceptSave) << int(QFileDialog::AnyFile) << u"html"_s
            << u"HyperText Markup Language (*.htm *.html)"_s;
        QTest::newRow("export table: any name, .csv when none is typed")
            << UserPrompts::Kind::ExportTable << int(QFileDialog::AcceptSave) << int(QFileDialog::AnyFile) << u"csv"_s
            << u"Comma-Separated Values (*.csv)"_s;
        QTest::newRow("import table: an existing table") << UserPrompts::Kind::ImportTable << int(QFileDialog::AcceptOpen)
                                                         << int(QFileDialog::ExistingFile) << QString()
                                                         << u"Comma-Separated Values (*.csv)"_s;
    }
    void fileDialogs()
    {
        QFETCH(UserPrompts::Kind, kind);
        QFETCH(int, acceptMode);
        QFETCH(int, fileMode);
        QFETCH(QString, suffix);
        QFETCH(QString, firstFilter);
        QWidget owner;
        UserPrompts prompts(&owner);
        const std::unique_ptr<QFileDialog> dialog = prompts.fileDialog(kind);
        QCOMPARE(dialog->parentWidget(), &owner);
        QCOMPARE(int(dialog->acceptMode()), acceptMode);
        QCOMPARE(int(dialog->fileMode()), fileMode);
        QCOMPARE(dialog->defaultSuffix(), suffix);
        QCOMPARE(dialog->nameFilters().value(0), firstFilter);
        QCOMPARE(dialog->nameFilters().constLast(), u"All Files (*)"_s);
        QVERIFY(dialog->width() >= 780 && dialog->height() >= 480);
        // A scripted prompt records the same title the dialog shows.
        prompts.setScripted(true);
        prompts.fileName(kind);
        QCOMPARE(prompts.shown().constLast().text, dialog->windowTitle());
    }

    void folderDialog()
    {
        QWidget owner;
        UserPrompts prompts(&owner);
        const std::unique_ptr<QFileDialog> dialog = prompts.fileDialog(UserPrompts::Kind::OpenFolder);
        QCOMPARE(dialog->parentWidget(), &owner);
        QCOMPARE(int(dialog->fileMode()), int(QFileDialog::Directory));
        QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
        QCOMPARE(int(dialog->acceptMode()), int(QFileDialog::AcceptOpen));
        prompts.setScripted(true);
        prompts.chooseFileNext(u"/srv/site"_s);
        QCOMPARE(prompts.folderName(), u"/srv/site"_s);
        QCOMPARE(prompts.folderName(), QString());
        QCOMPARE(prompts.shown().constLast().kind, UserPrompts::Kind::OpenFolder);
        QCOMPARE(prompts.shown().constLast().text, dialog->windowTitle());
    }

    void savePreview_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter cancels") << u"enter"_s << int(QDialog::Rejected);
        QTest::newRow("Escape cancels") << u"escape"_s << int(QDialog::Rejected);
        QTest::newRow("Save saves") << u"save"_s << int(QDialog::Accepted);
        QTest::newRow("Alt+S saves") << u"alt+s"_s << int(QDialog::Accepted);
    }
    void savePreview()
    {
        QFETCH(QString, how);
        QFETCH(int, result);
        QWidget owner;
        const UserPrompts prompts(&owner);
        const std::unique_ptr<SavePreviewDialog> dialog = prompts.savePreviewDialog(u"2 pages change"_s, u"+new line"_s);
        QCOMPARE(dialog->parentWidget(), &owner);
        QCOMPARE(dialog->textLabel()->text(), u"2 pages change"_s);
        QCOMPARE(dialog->diffView()->toPlainText(), u"+new line"_s);
        QVERIFY(dialog->diffView()->isReadOnly());
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        if (how == u"save"_s)
            dialog->saveButton()->click();
        else if (how == u"alt+s"_s)
            QTest::keyClick(dialog.get(), Qt::Key_S, Qt::AltModifier);
        else
            QTest::keyClick(dialog.get(), how == u"enter"_s ? Qt::Key_Return : Qt::Key_Escape);
        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), result);
    }

    void scriptedSavePreview()
    {
        UserPrompts prompts;
        prompts.setScripted(true);
        prompts.answerNext(QMessageBox::Save);
        QCOMPARE(prompts.askSavePreview(u"a.html"_s, u"-old\n+new"_s), QMessageBox::Save);
        // Nothing queued: nothing written.
        QCOMPARE(prompts.askSavePreview(u"a.html"_s, u"-old\n+new"_s), QMessageBox::Cancel);
        QCOMPARE(prompts.shown().constLast().kind, UserPrompts::Kind::SavePreview);
        QCOMPARE(prompts.shown().constLast().text, u"a.html\n-old\n+new"_s);
    }
};

QTEST_MAIN(TestUserPrompts)
#include "test_user_prompts.moc"
