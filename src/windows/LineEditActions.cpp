#include "LineEditActions.h"

#include "KeyboardState.h"
#include "OverwriteCaretStyle.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

LineEditActions::LineEditActions(QObject *parent)
    : QObject(parent)
{
}

void LineEditActions::setTextBox(QLineEdit *field)
{
    if (m_field) {
        m_field->removeEventFilter(this);
        disconnect(m_field, nullptr, this, nullptr);
        m_field->setStyle(nullptr);
        delete m_caretStyle;
    }
    m_field = field;
    m_hasKept = false;
    if (!m_field)
        return;
    m_field->installEventFilter(this);
    m_caretStyle = new OverwriteCaretStyle(m_field);
    m_field->setStyle(m_caretStyle);
    // What was selected no longer names the same characters.
    connect(m_field, &QLineEdit::textChanged, this, [this] { m_hasKept = false; });
}

void LineEditActions::cut()
{
    if (!m_field || !writable())
        return;
    recallSelection();
    m_field->cut();
}

void LineEditActions::copy()
{
    if (!m_field)
        return;
    recallSelection();
    m_field->copy();
}

void LineEditActions::paste()
{
    if (!m_field || !writable())
        return;
    recallSelection();
    m_field->paste();
}

void LineEditActions::undo()
{
    if (canUndo())
        m_field->undo();
}

bool LineEditActions::canCut() const
{
    return selectionLength() > 0 && writable();
}

bool LineEditActions::canCopy() const
{
    return selectionLength() >= 1;
}

bool LineEditActions::canPaste() const
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText();
}

bool LineEditActions::canUndo() const
{
    return m_field && m_field->isUndoAvailable();
}

void LineEditActions::replaceSelection(const QString &text, bool allowUndo)
{
    if (selectionLength() > 0)
        replace(text, allowUndo);
}

void LineEditActions::deleteSelection(bool allowUndo)
{
    if (selectionLength() > 0)
        replace(QString(), allowUndo);
}

bool LineEditActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress)
        return overwriteKey(*static_cast<QKeyEvent *>(event));
    if (watched == m_field) {
        if (event->type() == QEvent::FocusOut && m_field->hasSelectedText()) {
            // The field drops its selection right after this; keep it for the commands.
            const int start = m_field->selectionStart();
            m_kept = { start, m_field->selectionLength(), m_field->cursorPosition() == start };
            m_hasKept = true;
        } else if (event->type() == QEvent::FocusIn) {
            m_hasKept = false;
        }
    }
    return QObject::eventFilter(watched, event);
}

// Insert switches between inserting and overwriting, for every field at once as the status
// bar's OVR shows it; overwriting, a typed character takes the place of the one after the
// caret.
bool LineEditActions::overwriteKey(const QKeyEvent &key)
{
    if (key.key() == Qt::Key_Insert && key.modifiers() == Qt::NoModifier) {
        KeyboardState::setOverwrite(!KeyboardState::isOn(KeyboardState::Insert));
        // The caret changes its shape now, not in part at its next blink.
        m_field->update();
        return true;
    }
    const bool typed = !key.text().isEmpty() && key.text().at(0).isPrint()
        && !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typed && KeyboardState::isOn(KeyboardState::Insert) && !m_field->isReadOnly()
        && !m_field->hasSelectedText() && m_field->cursorPosition() < m_field->text().size())
        m_field->cursorForward(true, 1);
    return false;
}

void LineEditActions::recallSelection()
{
    if (!m_hasKept || m_field->hasFocus() || m_field->hasSelectedText())
        return;
    if (m_kept.caretAtStart)
        m_field->setSelection(m_kept.start + m_kept.length, -m_kept.length);
    else
        m_field->setSelection(m_kept.start, m_kept.length);
}

int LineEditActions::selectionLength() const
{
    if (!m_field)
        return 0;
    if (m_field->hasSelectedText())
        return m_field->selectionLength();
    return m_hasKept && !m_field->hasFocus() ? m_kept.length : 0;
}

bool LineEditActions::writable() const
{
    return m_field && !m_field->isReadOnly();
}

void LineEditActions::replace(const QString &text, bool allowUndo)
{
    recallSelection();
    if (allowUndo) {
        m_field->insert(text);
        return;
    }
    const int start = m_field->selectionStart();
    QString whole = m_field->text();
    whole.replace(start, m_field->selectionLength(), text);
    m_field->setText(whole);
    m_field->setCursorPosition(start + static_cast<int>(text.size()));
}
