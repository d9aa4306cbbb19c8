#include "MetaPane.h"

#include "Document.h"
#include "DocumentRewriter.h"
#include "LineNumberGutter.h"
#include "ProgramVersion.h"
#include "TagBlock.h"
#include "TextBox.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kMargin = 2;

} // namespace

MetaPane::MetaPane(QWidget *parent)
    : QWidget(parent)
{
}

void MetaPane::showDocument(Document *document)
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    if (document)
        connect(document, &Document::valuesChanged, this, &MetaPane::refresh);
    refresh();
}

void MetaPane::clear()
{
    showDocument(nullptr);
    m_block.clear();
    if (m_text)
        m_text->setText({});
}

QString MetaPane::copyText()
{
    return text().text().replace(QLatin1Char('\n'), m_lineEnd);
}

TextBox &MetaPane::text()
{
    ensureText();
    return *m_text;
}

LineNumberGutter &MetaPane::gutter()
{
    ensureText();
    return *m_gutter;
}

void MetaPane::ensureText()
{
    if (m_text)
        return;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    m_text = new TextBox(this);
    m_text->setMultiLine(true);
    // The vertical bar shows only if a font leaves the pane too low after all.
    m_text->setScrollBars(TextBox::ScrollHorizontal | TextBox::ScrollVertical);
    m_text->setAppearance(TextBox::StaticEdge);
    m_text->setLockedBackColor(OleColor::Window);
    m_text->setLockedForeColor(OleColor::WindowText);
    m_text->setLocked(true);
    // Only shown, so only a click gives it the keyboard: a start without a page leaves no caret here.
    m_text->hwnd()->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(m_text);
    m_gutter = new LineNumberGutter(m_text);
    m_text->setText(m_block);
    m_gutter->place();
}

void MetaPane::setVisible(bool visible)
{
    if (visible) {
        ensureText();
        useFixedFont();
    }
    QWidget::setVisible(visible);
}

// Done when the pane shows: finding the fixed font costs start-up time that a hidden pane
// does not need, and the pane's height follows its font.
void MetaPane::useFixedFont()
{
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (m_text->font() != fixed) {
        m_text->setFont(fixed);
        m_text->hwnd()->setFont(fixed);
    }
    setFixedHeight(fittingHeight());
}

// High enough for the longest block, every tag on, in the pane's own font, above the
// horizontal scroll bar that a long value brings.
int MetaPane::fittingHeight() const
{
    MetaElementSet fullest;
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author })
        fullest.setText(field, "x");
    fullest.setFlag(RobotsFlag::NoFollow, true);
    fullest.setCharset(true);
    const auto lines = static_cast<int>(TagBlock::tags(fullest, {}).size());
    const QPlainTextEdit *edit = m_text->hwnd();
    const QFontMetrics metrics(edit->font());
    const int text
        = lines * metrics.lineSpacing() + 2 * static_cast<int>(std::ceil(edit->document()->documentMargin()));
    return text + 2 * edit->frameWidth() + edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent)
        + 2 * kMargin;
}

void MetaPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_text) {
        refresh();
        m_gutter->place();
    }
}

void MetaPane::refresh()
{
    if (!m_document)
        return;
    // As a save would write it: escaped values, and the charset tag the page's bytes call for.
    const MetaElementSet &values = m_document->values();
    const std::string block = DocumentRewriter::shownBlock(values, ProgramVersion::version().toStdString(),
        "\n", m_document->facts().charset.saveEncoding(values));
    m_block = QString::fromStdString(block);
    const std::string_view lineEnd = LineEnds::text(m_document->lineEnd());
    m_lineEnd = QString::fromLatin1(lineEnd.data(), static_cast<qsizetype>(lineEnd.size()));
    if (m_text) {
        m_text->setText(m_block);
        m_gutter->place();
    }
}
