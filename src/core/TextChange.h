#pragma once

#include <QCoreApplication>
#include <QList>
#include <QRegularExpression>
#include <QString>

// One change of a text value: what is found replaced, as plain text or by a regular
// expression, or a text added before or after the value. A replacement of a regular
// expression names what a group captured as \1 or $1 (\0 the whole match); \\ and $$ stand
// for a backslash and a dollar sign. An expression that does not compile changes nothing.
class TextChange
{
    Q_DECLARE_TR_FUNCTIONS(TextChange)

public:
    enum class Mode { Replace, AddBefore, AddAfter };

    // Changes nothing.
    TextChange() = default;

    static TextChange replace(
        const QString &find, const QString &replacement, Qt::CaseSensitivity sensitivity);
    static TextChange replaceMatches(
        const QString &pattern, const QString &replacement, Qt::CaseSensitivity sensitivity);
    static TextChange addBefore(const QString &text);
    static TextChange addAfter(const QString &text);

    Mode mode() const { return m_mode; }
    bool isValid() const { return m_error.isEmpty(); }
    // Why the expression does not compile, and where; empty when it does.
    QString error() const { return m_error; }
    // The text as the change leaves it: as given when the change is invalid or finds nothing.
    QString applied(const QString &text) const;

private:
    // A piece of the replacement: literal text, or the text a group captured.
    struct Piece
    {
        QString literal;
        int group = -1;
    };

    TextChange(Mode mode, const QString &text);
    void takeReplacement(const QString &replacement);
    QString replacedMatches(const QString &text) const;

    Mode m_mode = Mode::Replace;
    QString m_find;
    QString m_text; // the replacement, or the text added
    Qt::CaseSensitivity m_sensitivity = Qt::CaseSensitive;
    QRegularExpression m_expression;
    bool m_matches = false; // m_find is taken as a regular expression
    QList<Piece> m_replacement;
    QString m_error;
};
