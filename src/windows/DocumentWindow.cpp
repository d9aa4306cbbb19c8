#include "DocumentWindow.h"

#include "LineEditActions.h"
#include "ResourceText.h"
#include "SnippetPreview.h"
#include "StringTable.h"
#include "TextWidth.h"
#include "WarningLabel.h"
#include "WidthCounter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view utf8View(const QByteArray &utf8)
{
    return { utf8.constData(), static_cast<std::size_t>(utf8.size()) };
}

QLabel *captionLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *captionLabel(int id, QWidget *parent)
{
    return captionLabel(ResourceText::caption(id), parent);
}

} // namespace

DocumentWindow::DocumentWindow(QWidget *parent)
    : QWidget(parent)
    , m_descriptionEdit(makeField(QStringLiteral("Description")))
    , m_keywordsEdit(makeField(QStringLiteral("Keywords")))
    , m_authorEdit(makeField(QStringLiteral("Author")))
    , m_noIndexBox(new QCheckBox(QStringLiteral("NOINDEX"), this))
    , m_noFollowBox(new QCheckBox(QStringLiteral("NOFOLLOW"), this))
    , m_noImageIndexBox(new QCheckBox(QStringLiteral("NOIMAGESINDEX"), this))
    , m_noImageClickBox(new QCheckBox(QStringLiteral("NOIMAGECLICK"), this))
    , m_charsetBox(new QCheckBox(ResourceText::get(StringId::UseDefaultCharset), this))
    , m_filePathLabel(new QLabel(ResourceText::get(StringId::NoFile), this))
    , m_displayPathLabel(new QLabel(ResourceText::get(StringId::NoFile), this))
    , m_authorActions(new LineEditActions(this))
    , m_descriptionActions(new LineEditActions(this))
    , m_keywordsActions(new LineEditActions(this))
    , m_preview(new SnippetPreview(this))
    , m_titleWidth(new WidthCounter(TextWidth::kTitleLimit, this))
    , m_descriptionWidth(new WidthCounter(TextWidth::kDescriptionLimit, this))
{
    for (WarningLabel *&label : m_warningLabels)
        label = new WarningLabel(this);
    m_authorActions->setTextBox(m_authorEdit);
    m_descriptionActions->setTextBox(m_descriptionEdit);
    m_keywordsActions->setTextBox(m_keywordsEdit);
    setWindowTitle(kNewCaption);
    buildControls();
    for (QLineEdit *edit : { m_descriptionEdit, m_keywordsEdit, m_authorEdit })
        connect(edit, &QLineEdit::textChanged, this, &DocumentWindow::markChanged);
    for (QCheckBox *box : { m_noFollowBox, m_charsetBox })
        connect(box, &QCheckBox::toggled, this, &DocumentWindow::markChanged);
    for (const RobotsFlag flag :
        { RobotsFlag::NoIndex, RobotsFlag::NoImageIndex, RobotsFlag::NoImageClick }) {
        connect(flagBox(flag), &QCheckBox::toggled, this, [this, flag](bool on) {
            exclusiveFlagClicked(flag, on);
            markChanged();
        });
    }
    // First, so that whoever else listens sees the warnings of the new values.
    connect(this, &DocumentWindow::valuesChanged, this, &DocumentWindow::refreshInsights);
    refreshInsights();
}

DocumentWindow *DocumentWindow::activeIn(const QMdiArea &area)
{
    QMdiSubWindow *frame = area.activeSubWindow();
    if (!frame)
        frame = area.currentSubWindow();
    return frame ? qobject_cast<DocumentWindow *>(frame->widget()) : nullptr;
}

QLineEdit *DocumentWindow::makeField(const QString &name)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("txt") + name);
    edit->setProperty("fieldName", name);
    edit->installEventFilter(this);
    return edit;
}

void DocumentWindow::buildControls()
{
    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(4);
    grid->addWidget(captionLabel(StringId::Description, this), 0, 0);
    grid->addWidget(m_descriptionEdit, 0, 1);
    grid->addWidget(&warningLabel(WarningTarget::Description), 1, 1);
    grid->addWidget(captionLabel(StringId::Keywords, this), 2, 0);
    grid->addWidget(m_keywordsEdit, 2, 1);
    grid->addWidget(&warningLabel(WarningTarget::Keywords), 3, 1);
    grid->addWidget(captionLabel(StringId::Author, this), 4, 0);
    grid->addWidget(m_authorEdit, 4, 1);
    grid->addWidget(&warningLabel(WarningTarget::Author), 5, 1);

    auto *robots = new QGridLayout;
    robots->addWidget(m_noIndexBox, 0, 0);
    robots->addWidget(m_noFollowBox, 0, 1);
    robots->addWidget(m_noImageIndexBox, 1, 0);
    robots->addWidget(m_noImageClickBox, 1, 1);
    robots->setColumnStretch(2, 1);
    auto *robotsLabel = captionLabel(StringId::Robots, this);
    robotsLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(robotsLabel, 6, 0);
    grid->addLayout(robots, 6, 1);
    grid->addWidget(&warningLabel(WarningTarget::Robots), 7, 1);
    grid->addWidget(captionLabel(StringId::Charset, this), 8, 0);
    grid->addWidget(m_charsetBox, 8, 1);
    grid->addWidget(&warningLabel(WarningTarget::Charset), 9, 1);

    // The file path is kept for the commands; the user sees the display path.
    m_filePathLabel->hide();
    m_displayPathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_displayPathLabel->setForegroundRole(QPalette::PlaceholderText);
    grid->addWidget(m_displayPathLabel, 10, 0, 1, 2);

    grid->setRowMinimumHeight(11, 4);
    grid->addWidget(m_preview, 12, 0, 1, 2);
    grid->addWidget(captionLabel(tr("Title:"), this), 13, 0);
    grid->addWidget(m_titleWidth, 13, 1);
    grid->addWidget(captionLabel(tr("Description:"), this), 14, 0);
    grid->addWidget(m_descriptionWidth, 14, 1);
    grid->setRowStretch(15, 1);
}

void DocumentWindow::applyNewDefaults(const QString &standardAuthor, bool defaultCharset)
{
    setCaption(kNewCaption);
    setText(TextField::Description, ResourceText::get(StringId::NewDescription));
    setText(TextField::Keywords, ResourceText::get(StringId::NewKeywords));
    setText(TextField::Author, standardAuthor);
    setFilePath(ResourceText::get(StringId::NoFile));
    setDisplayPath(ResourceText::get(StringId::NoFile));
    setCharset(defaultCharset);
    m_modified = false;
}

MetaElementSet DocumentWindow::values() const
{
    MetaElementSet values;
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author })
        values.setText(field, text(field).toStdString());
    // Straight into the set: the window already keeps the exclusive flags apart.
    for (const RobotsFlag robots : MetaElementSet::kRobotsFlags) {
        if (flag(robots))
            values.setFlag(robots, true);
    }
    values.setCharset(charset());
    return values;
}

void DocumentWindow::setValues(const MetaElementSet &values)
{
    for (const TextField field : { TextField::Description, TextField::Keywords, TextField::Author })
        setText(field, fromUtf8(values.text(field)));
    for (const RobotsFlag robots : MetaElementSet::kRobotsFlags)
        setFlag(robots, false);
    for (const RobotsFlag robots : MetaElementSet::kRobotsFlags) {
        if (values.flag(robots))
            setFlag(robots, true);
    }
    setCharset(values.charset());
}

QLineEdit *DocumentWindow::field(TextField field) const
{
    switch (field) {
    case TextField::Description:
        return m_descriptionEdit;
    case TextField::Keywords:
        return m_keywordsEdit;
    case TextField::Author:
        break;
    }
    return m_authorEdit;
}

QCheckBox *DocumentWindow::flagBox(RobotsFlag flag) const
{
    switch (flag) {
    case RobotsFlag::NoIndex:
        return m_noIndexBox;
    case RobotsFlag::NoFollow:
        return m_noFollowBox;
    case RobotsFlag::NoImageIndex:
        return m_noImageIndexBox;
    case RobotsFlag::NoImageClick:
        break;
    }
    return m_noImageClickBox;
}

QString DocumentWindow::text(TextField which) const
{
    return field(which)->text();
}

void DocumentWindow::setText(TextField which, const QString &text)
{
    field(which)->setText(text);
    // A long value reads from its beginning.
    field(which)->setCursorPosition(0);
}

bool DocumentWindow::flag(RobotsFlag which) const
{
    return flagBox(which)->isChecked();
}

void DocumentWindow::setFlag(RobotsFlag which, bool on)
{
    flagBox(which)->setChecked(on);
}

bool DocumentWindow::flagEnabled(RobotsFlag which) const
{
    return flagBox(which)->isEnabled();
}

bool DocumentWindow::charset() const
{
    return m_charsetBox->isChecked();
}

void DocumentWindow::setCharset(bool on)
{
    m_charsetBox->setChecked(on);
}

QString DocumentWindow::filePath() const
{
    return m_filePathLabel->text();
}

void DocumentWindow::setFilePath(const QString &path)
{
    m_filePathLabel->setText(path);
    refreshInsights();
}

QString DocumentWindow::displayPath() const
{
    return m_displayPathLabel->text();
}

void DocumentWindow::setDisplayPath(const QString &path)
{
    m_displayPathLabel->setText(path);
    refreshInsights();
}

bool DocumentWindow::isNew() const
{
    return filePath() == ResourceText::get(StringId::NoFile);
}

void DocumentWindow::setCaption(const QString &caption)
{
    setWindowTitle(caption);
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->setWindowTitle(caption);
    refreshInsights();
}

void DocumentWindow::setPageTitle(const QString &title)
{
    m_pageTitle = title;
    refreshInsights();
}

void DocumentWindow::setPageFacts(PageFacts facts)
{
    m_pageFacts = std::move(facts);
    refreshInsights();
}

void DocumentWindow::setDescriptionShared(bool shared)
{
    if (shared == m_descriptionShared)
        return;
    m_descriptionShared = shared;
    refreshInsights();
}

WarningLabel &DocumentWindow::warningLabel(WarningTarget target) const
{
    return *m_warningLabels[static_cast<std::size_t>(target)];
}

QString DocumentWindow::previewTitle() const
{
    if (isNew())
        return caption();
    // A result without a title is listed by its file name.
    return m_pageTitle.isEmpty() ? QFileInfo(displayPath()).fileName() : m_pageTitle;
}

void DocumentWindow::refreshInsights()
{
    const MetaElementSet current = values();
    const std::string &description = current.text(TextField::Description);
    // A placeholder is never written, so the page would show no description at all.
    const std::string written
        = MetaElementSet::hasValue(TextField::Description, description) ? description : std::string();
    m_preview->setTitle(previewTitle());
    m_preview->setPath(displayPath());
    m_preview->setDescription(fromUtf8(written));
    m_titleWidth->setPixels(TextWidth::titlePixels(utf8View(m_pageTitle.toUtf8())));
    m_descriptionWidth->setPixels(TextWidth::descriptionPixels(written));

    m_warnings = PageWarnings::evaluate(m_pageFacts, current, m_descriptionShared);
    std::array<QStringList, kWarningTargetCount> messages;
    for (const Warning &warning : m_warnings)
        messages[static_cast<std::size_t>(warning.target)].append(fromUtf8(warning.message));
    for (std::size_t target = 0; target < kWarningTargetCount; ++target)
        m_warningLabels[target]->setMessages(messages[target]);
}

void DocumentWindow::exclusiveFlagClicked(RobotsFlag clicked, bool on)
{
    constexpr RobotsFlag kGroup[]
        = { RobotsFlag::NoIndex, RobotsFlag::NoImageIndex, RobotsFlag::NoImageClick };
    // Switching another box off runs its own handling, which enables the group again;
    // the states are settled after all of them are off.
    if (on) {
        for (const RobotsFlag other : kGroup) {
            if (other != clicked)
                setFlag(other, false);
        }
    }
    for (const RobotsFlag other : kGroup) {
        if (other != clicked)
            flagBox(other)->setEnabled(!on);
    }
}

void DocumentWindow::markChanged()
{
    m_modified = true;
    emit valuesChanged();
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
    if (event->type() == QEvent::FocusIn) {
        m_activeField = watched->property("fieldName").toString();
        emit fieldFocused(m_activeField);
    }
    return QWidget::eventFilter(watched, event);
}
