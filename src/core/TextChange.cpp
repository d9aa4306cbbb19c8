#include "TextChange.h"

namespace {

int digitAt(const QString &text, qsizetype at)
{
    if (at >= text.size() || text[at] < QLatin1Char('0') || text[at] > QLatin1Char('9'))
        return -1;
    return text[at].unicode() - '0';
}

// The group named by the digits at, or -1 when they name none. A second digit counts only
// when the expression has that many groups: "\10" is group 1 and a zero in an expression of
// fewer than ten.
int groupAt(const QString &text, qsizetype at, int groups, qsizetype &digits)
{
    const int first = digitAt(text, at);
    const int second = digitAt(text, at + 1);
    if (first >= 0 && second >= 0 && first * 10 + second <= groups) {
        digits = 2;
        return first * 10 + second;
    }
    digits = 1;
    return first <= groups ? first : -1;
}

} // namespace

TextChange::TextChange(Mode mode, const QString &text)
    : m_mode(mode)
    , m_text(text)
{
}

TextChange TextChange::replace(
    const QString &find, const QString &replacement, Qt::CaseSensitivity sensitivity)
{
    TextChange change(Mode::Replace, replacement);
    change.m_find = find;
    change.m_sensitivity = sensitivity;
    return change;
}

TextChange TextChange::replaceMatches(
    const QString &pattern, const QString &replacement, Qt::CaseSensitivity sensitivity)
{
    TextChange change(Mode::Replace, replacement);
    change.m_find = pattern;
    change.m_sensitivity = sensitivity;
    change.m_matches = true;
    // Values are in any language: \w and \b know letters beyond ASCII.
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (sensitivity == Qt::CaseInsensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    change.m_expression = QRegularExpression(pattern, options);
    if (!change.m_expression.isValid()) {
        change.m_error = tr("%1, at character %2 of the expression")
                             .arg(change.m_expression.errorString())
                             .arg(change.m_expression.patternErrorOffset() + 1);
        return change;
    }
    change.takeReplacement(replacement);
    return change;
}

TextChange TextChange::addBefore(const QString &text)
{
    return TextChange(Mode::AddBefore, text);
}

TextChange TextChange::addAfter(const QString &text)
{
    return TextChange(Mode::AddAfter, text);
}

void TextChange::takeReplacement(const QString &replacement)
{
    const int groups = m_expression.captureCount();
    QString literal;
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar character = replacement[i];
        const bool marks = character == QLatin1Char('\\') || character == QLatin1Char('$');
        if (marks && i + 1 < replacement.size() && replacement[i + 1] == character) {
            literal += character;
            ++i;
            continue;
        }
        qsizetype digits = 0;
        const int group = marks ? groupAt(replacement, i + 1, groups, digits) : -1;
        if (group < 0) {
            literal += character;
            continue;
        }
        m_replacement.append({ literal, -1 });
        m_replacement.append({ {}, group });
        literal.clear();
        i += digits;
    }
    m_replacement.append({ literal, -1 });
}

QString TextChange::applied(const QString &text) const
{
    switch (m_mode) {
    case Mode::AddBefore:
        return m_text + text;
    case Mode::AddAfter:
        return text + m_text;
    case Mode::Replace:
        break;
    }
    // An empty find would match between every two characters: nothing to replace.
    if (!isValid() || m_find.isEmpty())
        return text;
    if (!m_matches)
        return QString(text).replace(m_find, m_text, m_sensitivity);
    return replacedMatches(text);
}

QString TextChange::replacedMatches(const QString &text) const
{
    QString result;
    qsizetype copied = 0;
    QRegularExpressionMatchIterator matches = m_expression.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        result += QStringView(text).mid(copied, match.capturedStart() - copied);
        for (const Piece &piece : m_replacement)
            result += piece.group < 0 ? piece.literal : match.captured(piece.group);
        copied = match.capturedEnd();
    }
    result += QStringView(text).mid(copied);
    return result;
}
