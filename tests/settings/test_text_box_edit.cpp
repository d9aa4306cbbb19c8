#include "settings/cTextBoxEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace {

const QString kUntouched = QStringLiteral("(clipboard before)");

// Two fields in an active window, so that the focus really moves between them.
struct Form
{
    Form()
    {
        auto *layout = new QVBoxLayout(&window);
        field = new QLineEdit(&window);
        other = new QLineEdit(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        edit.setTextBox(field);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the form did not become active");
        QApplication::clipboard()->setText(kUntouched);
    }

    // Text as the user leaves it: typed, so that it can be undone.
    void type(const QString &text)
    {
        field->setFocus();
        QTest::keyClicks(field, text);
    }

    QWidget window;
    QLineEdit *field;
    QLineEdit *other;
    cTextBoxEdit edit;
};

QString clipboard()
{
    return QApplication::clipboard()->text();
}

} // namespace

class TestTextBoxEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void operations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clip");
        QTest::newRow("cut takes the selection") << "cut" << false << "kites "
                                                 << "& lines";
        QTest::newRow("cut on a locked field does nothing") << "cut" << true << "kites & lines" << kUntouched;
        QTest::newRow("copy leaves the text") << "copy" << false << "kites & lines"
                                              << "& lines";
        QTest::newRow("copy on a locked field still copies") << "copy" << true << "kites & lines"
                                                             << "& lines";
        QTest::newRow("paste replaces the selection")
            << "paste" << false << "kites (clipboard before)" << kUntouched;
        QTest::newRow("paste on a locked field does nothing")
            << "paste" << true << "kites & lines" << kUntouched;
    }

    void operations()
    {
        QFETCH(QString, operation);
        QFETCH(bool, locked);
        QFETCH(QString, text);
        QFETCH(QString, clip);
        Form form;
        form.field->setText(QStringLiteral("kites & lines"));
        form.field->setReadOnly(locked);
        form.field->setSelection(6, 7);
        if (operation == QStringLiteral("cut"))
            form.edit.Cut();
        else if (operation == QStringLiteral("copy"))
            form.edit.Copy();
        else
            form.edit.Paste();
        QCOMPARE(form.field->text(), text);
        QCOMPARE(clipboard(), clip);
    }

    void abilities_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("canCut");
        QTest::addColumn<bool>("canCopy");
        QTest::newRow("nothing selected") << 0 << false << false << false;
        QTest::newRow("one character") << 1 << false << true << true;
        QTest::newRow("locked with a selection copies only") << 4 << true << false << true;
    }

    void abilities()
    {
        QFETCH(int, selected);
        QFETCH(bool, locked);
        QFETCH(bool, canCut);
        QFETCH(bool, canCopy);
        Form form;
        form.field->setText(QStringLiteral("kites"));
        form.field->setReadOnly(locked);
        form.field->setSelection(0, selected);
        QCOMPARE(form.edit.CanCut(), canCut);
        QCOMPARE(form.edit.CanCopy(), canCopy);
    }

    void pasteNeedsTextOnTheClipboard()
    {
        Form form;
        QVERIFY(form.edit.CanPaste());
        QApplication::clipboard()->clear();
        QVERIFY(!form.edit.CanPaste());
    }

    void undoOnlyWhenThereIsSomethingToUndo()
    {
        Form form;
        form.field->setText(QStringLiteral("set by the program"));
        QVERIFY(!form.edit.CanUndo());
        form.edit.Undo();
        QCOMPARE(form.field->text(), QStringLiteral("set by the program"));
        form.field->end(false);
        form.type(QStringLiteral("!"));
        QVERIFY(form.edit.CanUndo());
        form.edit.Undo();
        QCOMPARE(form.field->text(), QStringLiteral("set by the program"));
    }

    void replaceSelection_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("allowUndo");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("canUndo");
        QTest::newRow("selection replaced, undoable") << 5 << true << "boxes & lines" << true;
        QTest::newRow("selection replaced, undo history gone") << 5 << false << "boxes & lines" << false;
        QTest::newRow("no selection: nothing at the caret") << 0 << true << "kites & lines" << true;
    }

    void replaceSelection()
    {
        QFETCH(int, selected);
        QFETCH(bool, allowUndo);
        QFETCH(QString, text);
        QFETCH(bool, canUndo);
        Form form;
        form.type(QStringLiteral("kites & lines"));
        form.field->setSelection(0, selected);
        form.edit.ReplaceSelection(QStringLiteral("boxes"), allowUndo);
        QCOMPARE(form.field->text(), text);
        QCOMPARE(form.edit.CanUndo(), canUndo);
        if (selected > 0)
            QCOMPARE(form.field->cursorPosition(), 5);
    }

    void deleteRemovesTheSelection()
    {
        Form form;
        form.type(QStringLiteral("kites & lines"));
        form.field->setSelection(5, 8);
        form.edit.Delete(false);
        QCOMPARE(form.field->text(), QStringLiteral("kites"));
        QVERIFY(!form.edit.CanUndo());
        form.field->setSelection(0, 0);
        form.edit.Delete();
        QCOMPARE(form.field->text(), QStringLiteral("kites"));
    }

    // The user selects, then gives the command from somewhere else.
    void theSelectionOutlivesTheFocus_data()
    {
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QString>("after");
        QTest::newRow("selected forwards") << false << "kites  lines";
        QTest::newRow("selected backwards") << true << "kites  lines";
    }

    void theSelectionOutlivesTheFocus()
    {
        QFETCH(bool, backwards);
        QFETCH(QString, after);
        Form form;
        form.type(QStringLiteral("kites & lines"));
        if (backwards)
            form.field->setSelection(7, -1);
        else
            form.field->setSelection(6, 1);
        form.other->setFocus();
        QVERIFY(!form.field->hasFocus());
        QVERIFY(form.edit.CanCut());
        form.edit.Cut();
        QCOMPARE(clipboard(), QStringLiteral("&"));
        QCOMPARE(form.field->text(), after);
        form.edit.Undo();
        QCOMPARE(form.field->text(), QStringLiteral("kites & lines"));
    }

    void aChangedTextForgetsTheOldSelection()
    {
        Form form;
        form.type(QStringLiteral("kites & lines"));
        form.field->setSelection(0, 5);
        form.other->setFocus();
        form.field->setText(QStringLiteral("boxes"));
        QVERIFY(!form.edit.CanCopy());
        form.edit.Copy();
        QCOMPARE(clipboard(), kUntouched);
    }

    void focusBackInStartsAfresh()
    {
        Form form;
        form.type(QStringLiteral("kites & lines"));
        form.field->setSelection(0, 5);
        form.other->setFocus();
        form.field->setFocus();
        form.field->deselect();
        form.edit.Copy();
        QCOMPARE(clipboard(), kUntouched);
    }
};

QTEST_MAIN(TestTextBoxEdit)
#include "test_text_box_edit.moc"
