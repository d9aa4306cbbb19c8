#pragma once

#include <QLineEdit>
#include <QString>
#include <QTest>

// Types into a field as a user does: at the end of what it holds, or over all of it.
inline void type(QLineEdit *field, const QString &text, bool over = false)
{
    field->setFocus();
    if (over)
        field->selectAll();
    else
        field->end(false);
    QTest::keyClicks(field, text);
}
