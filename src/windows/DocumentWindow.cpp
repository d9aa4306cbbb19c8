#include "DocumentWindow.h"

#include "Document.h"
#include "LineEditActions.h"
#include "ResourceText.h"
#include "SnippetPreview.h"
#include "StringTable.h"
#include "TextContrast.h"
#include "TextWidth.h"
#include "WidthLimits.h"
#include "WarningLabel.h"
#include "WidthCounter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr TextField kTextFields[] = { TextField::Description, TextField::Keywords, TextField::Author };
constexpr RobotsFlag kExclusiveFlags[]
    = { RobotsFlag::NoIndex, RobotsFlag::NoImageIndex, RobotsFlag::NoImageClick };

QString fieldName(TextField field)
{
    switch (field) {
    case TextField::Description:
        return QStringLiteral("Description");
    case TextField::Keywords:
        return QStringLiteral("Keywords");
    case TextField::Author:
        break;
    }
    return QStringLiteral("Author");
}

// A caption in the first column, right-aligned beside what it names in the second; told
// which that is, so that assistive tools read them together.
QLabel *addCaptioned(QGridLayout &grid, int row, const QString &caption, QWidget *named)
{
    auto *label = new QLabel(caption, named->parentWidget());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(named);
    grid.addWidget(label, row, 0);
    grid.addWidget(named, row, 1);
    return label;
}

} // namespace

DocumentWindow::DocumentWindow(Document &document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_contents(new QWidget)
    , m_preview(new SnippetPreview(m_contents))
    , m_titleWidth(new WidthCounter(WidthLimits::desktop().title, m_contents))
    , m_descriptionWidth(new WidthCounter(WidthLimits::desktop().description, m_contents))
{
    // Made in the order the Tab key visits them, the description first, where a page opens.
    for (const TextField field : kTextFields) {
        const auto index = static_cast<std::size_t>(field);
        m_fields[index] = makeField(field);
        m_editActions[index] = new LineEditActions(this);
        m_editActions[index]->setTextBox(m_fields[index]);
    }
    constexpr const char *kFlagCaptions[] = { "NOINDEX", "NOFOLLOW", "NOIMAGESINDEX", "NOIMAGECLICK" };
    for (const RobotsFlag flag : MetaElementSet::kRobotsFlags) {
        QCheckBox *&box = m_flagBoxes[static_cast<std::size_t>(flag)];
        box = new QCheckBox(QString::fromLatin1(kFlagCaptions[static_cast<std::size_t>(flag)]), m_contents);
        connect(box, &QCheckBox::toggled, this, [this, flag](bool on) { m_document.setFlag(flag, on); });
    }
    m_charsetBox = new QCheckBox(ResourceText::get(StringId::UseDefaultCharset), m_contents);
    m_pathLabel = new QLabel(m_contents);
    connect(m_charsetBox, &QCheckBox::toggled, this, [this](bool on) { m_document.setCharset(on); });
    for (WarningLabel *&label : m_warningLabels)
        label = new WarningLabel(m_contents);
    buildControls();
    // A window too small for its page scrolls rather than cuts anything off.
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    // The fields take the keyboard, not the area around them.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_contents);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    m_contents->installEventFilter(this);
    connect(&m_document, &Document::valuesChanged, this, &DocumentWindow::showValues);
    connect(&m_document, &Document::pageChanged, this, &DocumentWindow::showPage);
    connect(&m_document, &Document::modifiedChanged, this, &DocumentWindow::showModified);
    showValues();
    showPage();
}

DocumentWindow *DocumentWindow::activeIn(const QMdiArea &area)
{
    QMdiSubWindow *frame = area.activeSubWindow();
    if (!frame)
        frame = area.currentSubWindow();
    return frame ? qobject_cast<DocumentWindow *>(frame->widget()) : nullptr;
}

QSize DocumentWindow::sizeHint() const
{
    return m_contents->sizeHint();
}

QString DocumentWindow::shownPath(const Document &document)
{
    return document.isNew() ? ResourceText::get(StringId::NoFile) : document.path();
}

QLineEdit *DocumentWindow::makeField(TextField field)
{
    auto *edit = new QLineEdit(m_contents);
    edit->setObjectName(QStringLiteral("txt") + fieldName(field));
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this,
        [this, field](const QString &text) { m_document.setText(field, text); });
    return edit;
}

void DocumentWindow::buildControls()
{
    auto *grid = new QGridLayout(m_contents);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(4);
    addCaptioned(*grid, 0, ResourceText::caption(StringId::Description), field(TextField::Description));
    grid->addWidget(&warningLabel(WarningTarget::Description), 1, 1);
    addCaptioned(*grid, 2, ResourceText::caption(StringId::Keywords), field(TextField::Keywords));
    grid->addWidget(&warningLabel(WarningTarget::Keywords), 3, 1);
    addCaptioned(*grid, 4, ResourceText::caption(StringId::Author), field(TextField::Author));
    grid->addWidget(&warningLabel(WarningTarget::Author), 5, 1);

    auto *robots = new QWidget(m_contents);
    auto *flags = new QGridLayout(robots);
    flags->setContentsMargins({});
    flags->addWidget(flagBox(RobotsFlag::NoIndex), 0, 0);
    flags->addWidget(flagBox(RobotsFlag::NoFollow), 0, 1);
    flags->addWidget(flagBox(RobotsFlag::NoImageIndex), 1, 0);
    flags->addWidget(flagBox(RobotsFlag::NoImageClick), 1, 1);
    flags->setColumnStretch(2, 1);
    addCaptioned(*grid, 6, ResourceText::caption(StringId::Robots), robots)->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(&warningLabel(WarningTarget::Robots), 7, 1);
    addCaptioned(*grid, 8, ResourceText::caption(StringId::Charset), m_charsetBox);
    grid->addWidget(&warningLabel(WarningTarget::Charset), 9, 1);

    m_pathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Grey, as secondary text is, but dark enough to read.
    QPalette palette = m_pathLabel->palette();
    palette.setColor(QPalette::WindowText,
        TextContrast::readable(palette.color(QPalette::PlaceholderText), palette.color(QPalette::Window)));
    m_pathLabel->setPalette(palette);
    grid->addWidget(m_pathLabel, 10, 0, 1, 2);

    grid->setRowMinimumHeight(11, 4);
    grid->addWidget(m_preview, 12, 0, 1, 2);
    addCaptioned(*grid, 13, tr("Title:"), m_titleWidth);
    addCaptioned(*grid, 14, tr("Description:"), m_descriptionWidth);
    grid->setRowStretch(15, 1);
}

QLineEdit *DocumentWindow::field(TextField field) const
{
    return m_fields[static_cast<std::size_t>(field)];
}

LineEditActions &DocumentWindow::editActions(TextField field) const
{
    return *m_editActions[static_cast<std::size_t>(field)];
}

QCheckBox *DocumentWindow::flagBox(RobotsFlag flag) const
{
    return m_flagBoxes[static_cast<std::size_t>(flag)];
}

QString DocumentWindow::text(TextField which) const
{
    return field(which)->text();
}

bool DocumentWindow::flag(RobotsFlag which) const
{
    return flagBox(which)->isChecked();
}

bool DocumentWindow::flagEnabled(RobotsFlag which) const
{
    return flagBox(which)->isEnabled();
}

bool DocumentWindow::charset() const
{
    return m_charsetBox->isChecked();
}

void DocumentWindow::setWidthLimits(const WidthLimits &limits)
{
    m_limits = limits;
    m_titleWidth->setLimit(limits.title);
    m_descriptionWidth->setLimit(limits.description);
    m_preview->setWidthLimits(limits);
    refreshInsights();
}

WarningLabel &DocumentWindow::warningLabel(WarningTarget target) const
{
    return *m_warningLabels[static_cast<std::size_t>(target)];
}

void DocumentWindow::showValues()
{
    const MetaElementSet &values = m_document.values();
    for (const TextField which : kTextFields) {
        const QString text = QString::fromStdString(values.text(which));
        if (field(which)->text() == text)
            continue;
        const QSignalBlocker blocker(field(which));
        field(which)->setText(text);
        // A long value reads from its beginning.
        field(which)->setCursorPosition(0);
    }
    for (const RobotsFlag which : MetaElementSet::kRobotsFlags) {
        const QSignalBlocker blocker(flagBox(which));
        flagBox(which)->setChecked(values.flag(which));
    }
    const QSignalBlocker blocker(m_charsetBox);
    m_charsetBox->setChecked(values.charset());
    showFlagStates();
    refreshInsights();
}

// Of noindex, noimageindex and noimageclick one at most is on; while one is, the other two
// cannot be chosen.
void DocumentWindow::showFlagStates()
{
    for (const RobotsFlag which : kExclusiveFlags) {
        bool otherOn = false;
        for (const RobotsFlag other : kExclusiveFlags)
            otherOn = otherOn || (other != which && m_document.values().flag(other));
        flagBox(which)->setEnabled(!otherOn);
    }
}

// The caption with Qt's modified mark, which shows as "*" while the page has edits; a "[*]" of
// the caption's own is doubled so that it shows as written.
QString DocumentWindow::markedCaption(const QString &caption)
{
    return QString(caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")) + QStringLiteral("[*]");
}

// The MDI frame follows the window's title and mark itself.
void DocumentWindow::showModified()
{
    setWindowModified(m_document.isModified());
}

void DocumentWindow::showPage()
{
    setWindowTitle(markedCaption(m_document.caption()));
    showModified();
    m_pathLabel->setText(shownPath(m_document));
    refreshInsights();
}

QString DocumentWindow::previewTitle() const
{
    if (m_document.isNew())
        return m_document.caption();
    // A result without a title is listed by its file name.
    return m_document.title().isEmpty() ? QFileInfo(m_document.path()).fileName() : m_document.title();
}

void DocumentWindow::refreshInsights()
{
    const MetaElementSet &current = m_document.values();
    const std::string &description = current.text(TextField::Description);
    // A placeholder is never written, so the page would show no description at all.
    const std::string written
        = MetaElementSet::hasValue(TextField::Description, description) ? description : std::string();
    // The counter measures the title the result shows, the file name of a page without one.
    const QString title = previewTitle();
    m_preview->setTitle(title);
    // A page not yet saved has no address.
    m_preview->setPath(m_document.path());
    m_preview->setDescription(QString::fromStdString(written));
    m_titleWidth->setPixels(TextWidth::titlePixels(title.toStdString()));
    m_descriptionWidth->setPixels(TextWidth::descriptionPixels(written));

    m_warnings = PageWarnings::evaluate(m_document.facts(), current, m_document.descriptionShared(), m_limits);
    std::array<QStringList, kWarningTargetCount> messages;
    for (const Warning &warning : m_warnings)
        messages[static_cast<std::size_t>(warning.target)].append(QString::fromStdString(warning.message));
    for (std::size_t target = 0; target < kWarningTargetCount; ++target)
        m_warningLabels[target]->setMessages(messages[target]);
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard(*this)) {
        event->ignore();
        return;
    }
    event->accept();
}

bool DocumentWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Warnings that come and go change the room the page needs.
    if (watched == m_contents && event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        emit contentsResized();
    }
    if (event->type() == QEvent::FocusIn) {
        for (const TextField which : kTextFields) {
            if (watched == field(which)) {
                m_activeField = which;
                emit fieldFocused(which);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
