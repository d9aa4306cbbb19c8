#include "TextBox.h"

#include "KeyboardState.h"
#include "PropertyBag.h"
#include "TextContrast.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>

namespace {

const QString &indentText()
{
    static const QString indent(TextBox::IndentWidth, QLatin1Char(' '));
    return indent;
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

int buttonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

bool isTabKey(int key)
{
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

bool isReturnKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A character the user types, as opposed to a shortcut such as Ctrl+C, whose text is a control code.
bool isTypedCharacter(const QKeyEvent *event)
{
    if (event->text().isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    const QChar c = event->text().at(0);
    return c.isPrint() || c == QLatin1Char('\b') || c == QLatin1Char('\r');
}

QColor colourOr(quint32 oleColor, QPalette::ColorGroup group, QPalette::ColorRole fallback)
{
    const QColor colour = OleColor::translate(oleColor);
    return colour.isValid() ? colour : QApplication::palette().color(group, fallback);
}

QString plainText(QString text)
{
    return text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QWidget(parent)
    , m_edit(new TextBoxEditor(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    setFocusProxy(m_edit);
    // Tab reaches the box only through translateAccelerator; otherwise it moves the focus on.
    m_edit->setTabChangesFocus(true);
    m_edit->installEventFilter(this);
    m_edit->viewport()->installEventFilter(this);
    connect(m_edit->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TextBox::hScroll);
    connect(m_edit->verticalScrollBar(), &QScrollBar::valueChanged, this, &TextBox::vScroll);
    connect(m_edit->document(), &QTextDocument::contentsChange, this,
        [this](int position, int charsRemoved, int charsAdded) {
            followMaskedText(position, charsRemoved, charsAdded);
            enforceLimits(position, charsAdded);
        });
    connect(&m_delayedEvent, &IntervalTimer::thatTime, this, &TextBox::raiseDelayedEvents);
    buildEditMenu();
    applyFrame();
    applyLayoutMode();
    applyAlignment();
    applyColours();
}

void TextBox::setAppearance(int appearance)
{
    m_appearance = appearance;
    applyFrame();
}

void TextBox::setBorderStyle(int style)
{
    m_borderStyle = style;
    applyFrame();
}

void TextBox::setMultiLine(bool multiLine)
{
    m_multiLine = multiLine;
    applyLayoutMode();
}

void TextBox::setScrollBars(int scrollBars)
{
    m_scrollBars = scrollBars;
    applyLayoutMode();
}

void TextBox::setAutoScrollH(bool on)
{
    m_autoScrollH = on;
    applyLayoutMode();
}

void TextBox::setAlignment(int alignment)
{
    m_alignment = alignment;
    applyAlignment();
}

void TextBox::setHideSelection(bool hide)
{
    m_hideSelection = hide;
    applyColours();
}

void TextBox::setBackColor(quint32 oleColor)
{
    m_backColor = oleColor;
    applyColours();
}

void TextBox::setForeColor(quint32 oleColor)
{
    m_foreColor = oleColor;
    applyColours();
}

void TextBox::setDisabledForeColor(quint32 oleColor)
{
    m_disabledForeColor = oleColor;
    applyColours();
}

void TextBox::setLockedBackColor(quint32 oleColor)
{
    m_lockedBackColor = oleColor;
    applyColours();
}

void TextBox::setLockedForeColor(quint32 oleColor)
{
    m_lockedForeColor = oleColor;
    applyColours();
}

void TextBox::setLocked(bool locked)
{
    m_locked = locked;
    m_edit->setReadOnly(locked);
    // Read-only alone would hide the caret and stop keyboard selection.
    if (locked)
        m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    applyColours();
}

void TextBox::setMaxLength(int length)
{
    m_maxLength = qMax(0, length);
}

void TextBox::setLeftMargin(int pixels)
{
    m_leftMargin = pixels;
    applyMargins();
}

void TextBox::setRightMargin(int pixels)
{
    m_rightMargin = pixels;
    applyMargins();
}

QString TextBox::text() const
{
    return m_passwordChar.isEmpty() ? m_edit->toPlainText() : m_secret;
}

void TextBox::setText(const QString &text)
{
    m_settingText = true;
    m_secret = text;
    m_edit->setPlainText(m_passwordChar.isEmpty() ? text : QString(text.size(), m_passwordChar.at(0)));
    m_edit->document()->setModified(false);
    m_settingText = false;
}

void TextBox::setPasswordChar(const QString &passwordChar)
{
    const QString current = text();
    m_passwordChar = passwordChar.left(1);
    // Undo would bring back masked text as if it had been typed.
    m_edit->setUndoRedoEnabled(m_passwordChar.isEmpty());
    const bool dirty = isDirty();
    setText(current);
    setDirty(dirty);
}

int TextBox::selStart() const
{
    return m_edit->textCursor().selectionStart();
}

void TextBox::setSelStart(int start)
{
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(qBound(0, start, static_cast<int>(text().size())));
    m_edit->setTextCursor(cursor);
}

int TextBox::selLength() const
{
    const QTextCursor cursor = m_edit->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TextBox::setSelLength(int length)
{
    QTextCursor cursor = m_edit->textCursor();
    const int start = cursor.selectionStart();
    cursor.setPosition(start);
    cursor.setPosition(qBound(0, start + length, static_cast<int>(text().size())), QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
}

QString TextBox::selText() const
{
    return plainText(m_edit->textCursor().selectedText());
}

void TextBox::setSelText(const QString &text)
{
    m_edit->textCursor().insertText(text);
}

void TextBox::setTextAppend(const QString &text)
{
    QTextCursor cursor = m_edit->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    m_edit->setTextCursor(cursor);
}

bool TextBox::isDirty() const
{
    return m_edit->document()->isModified();
}

void TextBox::setDirty(bool dirty)
{
    m_edit->document()->setModified(dirty);
}

int TextBox::lineCount() const
{
    return m_edit->document()->blockCount();
}

int TextBox::currentLine() const
{
    return lineForCharacterIndex(selStart());
}

int TextBox::currentColumn() const
{
    return m_edit->textCursor().positionInBlock();
}

int TextBox::firstVisibleLine() const
{
    return m_edit->cursorForPosition(QPoint(0, 0)).blockNumber();
}

int TextBox::lineForCharacterIndex(int index) const
{
    const int last = m_edit->document()->characterCount() - 1;
    return m_edit->document()->findBlock(qBound(0, index, last)).blockNumber();
}

QString TextBox::textInRange(int start, int end) const
{
    const QString all = text();
    if (start < 0 || start >= all.size())
        return {};
    return end < start ? all.mid(start) : all.mid(start, end - start);
}

bool TextBox::canEditPerform(int editFunction) const
{
    const bool hasSelection = selLength() > 0;
    switch (editFunction) {
    case EditCut:
        return !m_locked && hasSelection && m_passwordChar.isEmpty();
    case EditClear:
        return !m_locked && hasSelection;
    case EditCopy:
        return hasSelection && m_passwordChar.isEmpty();
    case EditPaste: {
        const QMimeData *clipboard = QApplication::clipboard()->mimeData();
        return !m_locked && clipboard && clipboard->hasText();
    }
    case EditUndo:
        return !m_locked && m_edit->document()->isUndoAvailable();
    default:
        return false;
    }
}

QPoint TextBox::posFromChar(int index) const
{
    QTextCursor cursor(m_edit->document());
    cursor.setPosition(qBound(0, index, m_edit->document()->characterCount() - 1));
    // In the editor's own coordinates, so that the margins count as they do for the user.
    return m_edit->viewport()->mapTo(m_edit, m_edit->cursorRect(cursor).topLeft());
}

void TextBox::scrollToLine(int line)
{
    const QTextBlock block = m_edit->document()->findBlockByNumber(qBound(1, line, lineCount()) - 1);
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(block.position());
    m_edit->setTextCursor(cursor);
    m_edit->verticalScrollBar()->setValue(block.blockNumber());
    scrollCaret();
}

void TextBox::scrollCaret()
{
    m_edit->ensureCursorVisible();
}

void TextBox::refresh()
{
    m_edit->viewport()->update();
    update();
}

void TextBox::editPerform(int editFunction)
{
    // Whatever changes the text is refused while locked; the editor's own calls would not check.
    if (m_locked && editFunction != EditCopy)
        return;
    switch (editFunction) {
    case EditCut:
        m_edit->cut();
        break;
    case EditCopy:
        m_edit->copy();
        break;
    case EditPaste:
        m_edit->paste();
        break;
    case EditClear:
        m_edit->textCursor().removeSelectedText();
        break;
    case EditUndo:
        m_edit->undo();
        break;
    default:
        break;
    }
}

int TextBox::translateAccelerator(QKeyEvent *event)
{
    const int key = event->key();
    const int shift = shiftState(event->modifiers());
    if (isNavigationKey(key)) {
        int keyCode = key;
        Q_EMIT keyDown(keyCode, shift);
        if (keyCode == 0)
            return Consumed;
        passToEdit(event);
        Q_EMIT keyUp(keyCode, shift);
        schedule(CaretMoved);
        return Consumed;
    }
    if (m_trapTab && isTabKey(key)) {
        int keyCode = Qt::Key_Tab;
        Q_EMIT keyDown(keyCode, shift);
        if (keyCode != 0)
            blockIndent(key == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier));
        return Consumed;
    }
    return NotConsumed;
}

void TextBox::readProperties(const PropertyBag &bag)
{
    const auto read = [&bag](const char *name, const QVariant &defaultValue) {
        return bag.readProperty(QLatin1String(name), defaultValue);
    };
    setAlignment(read("Alignment", 0).toInt());
    setAppearance(read("Appearance", int(Sunken3D)).toInt());
    setAutoHighLight(read("AutoHighLight", false).toBool());
    setAutoScrollH(read("AutoScrollH", true).toBool());
    setAutoScrollV(read("AutoScrollV", true).toBool());
    setBackColor(read("BackColor", OleColor::Window).toUInt());
    setBorderStyle(read("BorderStyle", 0).toInt());
    setDisableContextMenu(read("DisableContextMenu", false).toBool());
    setDisableColumnChangeEvent(read("DisableColumnChangeEvent", false).toBool());
    setDisabledForeColor(read("DisabledForeColor", OleColor::GrayText).toUInt());
    setEnabled(read("Enabled", true).toBool());
    if (bag.contains(QStringLiteral("Font")))
        setFont(read("Font", font()).value<QFont>());
    setForeColor(read("ForeColor", OleColor::WindowText).toUInt());
    setHideSelection(read("HideSelection", true).toBool());
    setIgnoreChangeEvent(read("IgnoreChangeEvent", false).toBool());
    setLocked(read("Locked", false).toBool());
    setLockedBackColor(read("LockedBackColor", OleColor::ButtonFace).toUInt());
    setLockedForeColor(read("LockedForeColor", OleColor::GrayText).toUInt());
    setMaxLength(read("MaxLength", 0).toInt());
    setMultiLine(read("MultiLine", false).toBool());
    setPasswordChar(read("PasswordChar", QString()).toString());
    setScrollBars(read("ScrollBars", 0).toInt());
    setText(read("Text", QString()).toString());
    setTrapTabKey(read("TrapTab", false).toBool());
}

void TextBox::writeProperties(PropertyBag &bag) const
{
    const auto write = [&bag](const char *name, const QVariant &value, const QVariant &defaultValue) {
        bag.writeProperty(QLatin1String(name), value, defaultValue);
    };
    write("Alignment", m_alignment, 0);
    write("Appearance", m_appearance, int(Sunken3D));
    write("AutoHighLight", m_autoHighLight, false);
    write("AutoScrollH", m_autoScrollH, true);
    write("AutoScrollV", m_autoScrollV, true);
    write("BackColor", m_backColor, OleColor::Window);
    write("BorderStyle", m_borderStyle, 0);
    write("DisableContextMenu", m_disableContextMenu, false);
    write("DisableColumnChangeEvent", m_disableColumnChange, false);
    write("DisabledForeColor", m_disabledForeColor, OleColor::GrayText);
    write("Enabled", !testAttribute(Qt::WA_ForceDisabled), true);
    write("Font", font(), parentWidget() ? parentWidget()->font() : QApplication::font());
    write("ForeColor", m_foreColor, OleColor::WindowText);
    write("HideSelection", m_hideSelection, true);
    write("IgnoreChangeEvent", m_ignoreChangeEvent, false);
    write("Locked", m_locked, false);
    write("LockedBackColor", m_lockedBackColor, OleColor::ButtonFace);
    write("LockedForeColor", m_lockedForeColor, OleColor::GrayText);
    write("MaxLength", m_maxLength, 0);
    write("MultiLine", m_multiLine, false);
    write("PasswordChar", m_passwordChar, QString());
    write("ScrollBars", m_scrollBars, 0);
    write("Text", text(), QString());
    write("TrapTab", m_trapTab, false);
}

QSize TextBox::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int lines = m_multiLine ? 5 : 1;
    const QString sample
        = text().isEmpty() ? QStringLiteral("HHHHWWWW") : text().section(QLatin1Char('\n'), 0, 0);
    return { qMax(metrics.horizontalAdvance(sample), metrics.horizontalAdvance(QStringLiteral("HHHHWWWW")))
            + borderAllowance(),
        metrics.lineSpacing() * lines + borderAllowance() };
}

bool TextBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit->viewport()) {
        if (event->type() == QEvent::ContextMenu)
            return contextMenuRequested(static_cast<QContextMenuEvent *>(event));
        viewportMouse(event);
        return false;
    }
    if (watched != m_edit)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return editKeyPressed(static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease:
        editKeyReleased(static_cast<QKeyEvent *>(event));
        return false;
    case QEvent::FocusIn:
        editFocused(static_cast<QFocusEvent *>(event));
        return false;
    case QEvent::ContextMenu:
        return contextMenuRequested(static_cast<QContextMenuEvent *>(event));
    default:
        return false;
    }
}

void TextBox::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        applyColours();
}

bool TextBox::editKeyPressed(QKeyEvent *event)
{
    if (translateAccelerator(event) == Consumed)
        return true;
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        toggleOverwrite();
        return true;
    }
    // Nothing masked leaves the box through the keyboard either.
    if (!m_passwordChar.isEmpty()
        && (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut)))
        return true;
    if (!m_multiLine && isReturnKey(event->key())) {
        // Ignored rather than eaten, so the dialog's default button still gets it.
        event->ignore();
        return true;
    }
    int keyCode = event->key();
    Q_EMIT keyDown(keyCode, shiftState(event->modifiers()));
    if (!isTypedCharacter(event))
        return false;
    if (m_locked)
        return true;

    const int typed = event->text().at(0).unicode();
    int keyAscii = typed;
    Q_EMIT keyPress(keyAscii);
    if (keyAscii == 0)
        return true;
    if (!m_ignoreChangeEvent)
        schedule(TextChanged);
    if (keyAscii == typed)
        return false;
    QKeyEvent replaced(QEvent::KeyPress, event->key(), event->modifiers(), QString(QChar(keyAscii)));
    passToEdit(&replaced);
    return true;
}

void TextBox::editKeyReleased(QKeyEvent *event)
{
    int keyCode = event->key();
    Q_EMIT keyUp(keyCode, shiftState(event->modifiers()));
    schedule(CaretMoved);
}

void TextBox::editFocused(QFocusEvent *event)
{
    showOverwrite();
    if (event->reason() != Qt::MouseFocusReason && m_autoHighLight)
        m_edit->selectAll();
}

bool TextBox::contextMenuRequested(QContextMenuEvent *event)
{
    if (m_disableContextMenu)
        return true;
    if (!m_locked)
        return false;
    m_editMenu->popup(event->globalPos());
    return true;
}

void TextBox::viewportMouse(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        break;
    default:
        return;
    }
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const int button = buttonCode(mouse->button());
    const int shift = shiftState(mouse->modifiers());
    const QPoint pos = mouse->position().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_mouseDown = true;
        schedule(CaretMoved);
        Q_EMIT mouseDown(button, shift, pos.x(), pos.y());
        break;
    case QEvent::MouseMove:
        Q_EMIT mouseMove(buttonCode(mouse->buttons()), shift, pos.x(), pos.y());
        break;
    case QEvent::MouseButtonRelease:
        Q_EMIT mouseUp(button, shift, pos.x(), pos.y());
        if (std::exchange(m_mouseDown, false))
            Q_EMIT clicked(button);
        if (mouse->button() == Qt::LeftButton)
            schedule(CaretMoved);
        break;
    default:
        Q_EMIT doubleClicked(button);
        break;
    }
}

void TextBox::passToEdit(QEvent *event)
{
    // Straight to the editor's own handling: through the filters it would come back here.
    static_cast<QObject *>(m_edit)->event(event);
}

void TextBox::schedule(PendingEvent pending)
{
    m_pending |= pending;
    m_delayedEvent.setInterval(ChangeDelay);
}

void TextBox::raiseDelayedEvents()
{
    m_delayedEvent.setInterval(0);
    const int pending = std::exchange(m_pending, 0);
    if (pending & TextChanged)
        Q_EMIT changed();
    if (pending & CaretMoved)
        reportCaret();
}

void TextBox::reportCaret()
{
    const int line = currentLine();
    const int lines = lineCount();
    const int column = currentColumn();
    if (line != m_lastLine || lines != m_lastLineCount) {
        m_lastLine = line;
        m_lastLineCount = lines;
        m_lastColumn = column;
        Q_EMIT lineChanged(line, column, lines);
    } else if (column != m_lastColumn && !m_disableColumnChange) {
        m_lastColumn = column;
        Q_EMIT columnChanged(line, column, lines);
    }
}

void TextBox::blockIndent(bool unindent)
{
    if (m_locked)
        return;
    QTextCursor cursor = m_edit->textCursor();
    const QTextDocument *document = m_edit->document();
    const QTextBlock first = document->findBlock(cursor.selectionStart());
    const QTextBlock last = document->findBlock(cursor.selectionEnd());
    if (first != last || unindent) {
        indentLines(first, last, unindent);
        return;
    }
    const int column = cursor.selectionStart() - first.position();
    cursor.insertText(QString(IndentWidth - column % IndentWidth, QLatin1Char(' ')));
    m_edit->setTextCursor(cursor);
}

void TextBox::indentLines(const QTextBlock &first, const QTextBlock &last, bool unindent)
{
    QStringList lines;
    for (QTextBlock block = first; block.isValid() && block.blockNumber() <= last.blockNumber();
         block = block.next()) {
        const QString line = block.text();
        if (!unindent)
            lines.append(indentText() + line);
        else
            lines.append(line.startsWith(indentText()) ? line.mid(IndentWidth) : line);
    }
    const QString block = lines.join(QLatin1Char('\n'));
    const int start = first.position();
    const int end = last.position() + last.length() - 1;
    if (block == textInRange(start, end))
        return;
    QTextCursor cursor(m_edit->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.insertText(block);
    cursor.setPosition(start, QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
}

void TextBox::enforceLimits(int position, int charsAdded)
{
    if (m_settingText || m_enforcing || charsAdded <= 0)
        return;
    m_enforcing = true;
    QTextDocument *document = m_edit->document();
    QTextCursor cursor(document);
    if (!m_multiLine && document->blockCount() > 1) {
        cursor.setPosition(document->firstBlock().length() - 1);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    const int excess = document->characterCount() - 1 - m_maxLength;
    if (m_maxLength > 0 && excess > 0) {
        const int insertedEnd = qMin(position + charsAdded, document->characterCount() - 1);
        cursor.setPosition(qMax(position, insertedEnd - excess));
        cursor.setPosition(insertedEnd, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    m_enforcing = false;
}

void TextBox::followMaskedText(int position, int charsRemoved, int charsAdded)
{
    if (m_passwordChar.isEmpty() || m_settingText || m_masking)
        return;
    const QString typed = m_edit->toPlainText().mid(position, charsAdded);
    m_secret.replace(position, charsRemoved, typed);
    if (typed.isEmpty())
        return;
    m_masking = true;
    QTextCursor cursor(m_edit->document());
    cursor.setPosition(position);
    cursor.setPosition(position + static_cast<int>(typed.size()), QTextCursor::KeepAnchor);
    cursor.insertText(QString(typed.size(), m_passwordChar.at(0)));
    m_masking = false;
}

// One toggle for all text boxes, as the Insert key's state is one; the status bar's OVR
// panel reads it.
void TextBox::toggleOverwrite()
{
    KeyboardState::setOverwrite(!KeyboardState::isOn(KeyboardState::Insert));
    showOverwrite();
}

// The editor draws overwriting itself as a block over the next character, but at the end of
// a line its caret would stay the thin line of inserting; there it is a character wide. The
// caret changes its shape at once, not at its next blink.
void TextBox::showOverwrite()
{
    const bool overwrite = KeyboardState::isOn(KeyboardState::Insert);
    m_edit->setOverwriteMode(overwrite);
    m_edit->setCursorWidth(overwrite ? m_edit->fontMetrics().averageCharWidth()
                                     : style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, m_edit));
    m_edit->viewport()->update();
}

void TextBox::buildEditMenu()
{
    m_editMenu = new QMenu(this);
    const auto add = [this](const QString &caption, auto handler) {
        connect(m_editMenu->addAction(caption), &QAction::triggered, this, handler);
    };
    add(QStringLiteral("&Undo"), [this] { editPerform(EditUndo); });
    m_editMenu->addSeparator();
    add(QStringLiteral("Cu&t"), [this] { editPerform(EditCut); });
    add(QStringLiteral("&Copy"), [this] { editPerform(EditCopy); });
    add(QStringLiteral("&Paste"), [this] { editPerform(EditPaste); });
    add(QStringLiteral("&Delete"), [this] { editPerform(EditClear); });
    m_editMenu->addSeparator();
    add(QStringLiteral("Select &All"), [this] {
        setSelStart(0);
        setSelLength(static_cast<int>(text().size()));
    });
    connect(m_editMenu, &QMenu::aboutToShow, this, &TextBox::enableEditMenu);
}

void TextBox::enableEditMenu()
{
    const QList<QAction *> items = m_editMenu->actions();
    items.at(MenuUndo)->setEnabled(canEditPerform(EditUndo));
    items.at(MenuCut)->setEnabled(canEditPerform(EditCut));
    items.at(MenuCopy)->setEnabled(canEditPerform(EditCopy));
    items.at(MenuPaste)->setEnabled(canEditPerform(EditPaste));
    items.at(MenuDelete)->setEnabled(canEditPerform(EditClear));
}

void TextBox::applyFrame()
{
    switch (m_appearance) {
    case Flat:
        m_edit->setFrameStyle(m_borderStyle != 0 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        break;
    case StaticEdge:
        m_edit->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        break;
    default:
        m_edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        break;
    }
    m_edit->setLineWidth(1);
    updateGeometry();
}

void TextBox::applyLayoutMode()
{
    const bool wraps = m_multiLine && !m_autoScrollH;
    m_edit->setLineWrapMode(wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    const auto policy = [this](int flag) {
        return m_multiLine && (m_scrollBars & flag) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    };
    m_edit->setHorizontalScrollBarPolicy(policy(ScrollHorizontal));
    m_edit->setVerticalScrollBarPolicy(policy(ScrollVertical));
    updateGeometry();
}

void TextBox::applyAlignment()
{
    QTextOption option = m_edit->document()->defaultTextOption();
    switch (m_alignment) {
    case AlignRight:
        option.setAlignment(Qt::AlignRight);
        break;
    case AlignCenter:
        option.setAlignment(Qt::AlignHCenter);
        break;
    default:
        option.setAlignment(Qt::AlignLeft);
        break;
    }
    m_edit->document()->setDefaultTextOption(option);
}

void TextBox::applyColours()
{
    quint32 fore = m_foreColor;
    quint32 back = m_backColor;
    if (!isEnabled()) {
        fore = m_disabledForeColor;
    } else if (m_locked) {
        fore = m_lockedForeColor;
        back = m_lockedBackColor;
    }
    QPalette pal = QApplication::palette();
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        const QColor backColour = colourOr(back, group, QPalette::Base);
        QColor foreColour = colourOr(fore, group, QPalette::Text);
        if (m_locked && isEnabled())
            foreColour = TextContrast::readable(foreColour, backColour);
        pal.setColor(group, QPalette::Base, backColour);
        pal.setColor(group, QPalette::Window, backColour);
        pal.setColor(group, QPalette::Text, foreColour);
    }
    if (m_hideSelection) {
        pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Inactive, QPalette::Base));
        pal.setColor(
            QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Inactive, QPalette::Text));
    }
    m_edit->setPalette(pal);
}

void TextBox::applyMargins()
{
    m_edit->setMargins(m_leftMargin, m_rightMargin);
}

int TextBox::borderAllowance() const
{
    if (m_appearance != Flat)
        return 6;
    return m_borderStyle != 0 ? 4 : 2;
}
