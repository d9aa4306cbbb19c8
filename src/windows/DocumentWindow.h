#pragma once

#include "MetaElementSet.h"
#include "PageWarnings.h"
#include "WidthLimits.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class Document;
class LineEditActions;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class SnippetPreview;
class WarningLabel;
class WidthCounter;

// Shows one document: its META values in fields and check boxes, the path it is shown by, the
// page as a search result lists it, the widths of title and description and, under each field,
// the warnings about its value. What the user changes goes into the document; what changes
// in the document shows here.
class DocumentWindow : public QWidget
{
    Q_OBJECT

public:
    explicit DocumentWindow(Document &document, QWidget *parent = nullptr);

    // The document in the area's active window, else in its current one; nullptr for none.
    static DocumentWindow *activeIn(const QMdiArea &area);
    // The path as the status bar and the prompts show it: "NONE" for a page never saved.
    static QString shownPath(const Document &document);
    static QString markedCaption(const QString &caption);

    Document &document() const { return m_document; }
    // All the page needs to show without scrolling.
    QSize sizeHint() const override;

    // What the fields show.
    QString text(TextField field) const;
    bool flag(RobotsFlag flag) const;
    bool flagEnabled(RobotsFlag flag) const;
    bool charset() const;

    QLineEdit *field(TextField field) const;
    QCheckBox *flagBox(RobotsFlag flag) const;
    QCheckBox *charsetBox() const { return m_charsetBox; }
    // The field that last had the focus, if any did.
    std::optional<TextField> activeField() const { return m_activeField; }
    // The Edit menu's operations on a text field.
    LineEditActions &editActions(TextField field) const;

    // As of the last change.
    const std::vector<Warning> &warnings() const { return m_warnings; }
    SnippetPreview &preview() const { return *m_preview; }
    WidthCounter &titleWidth() const { return *m_titleWidth; }
    WidthCounter &descriptionWidth() const { return *m_descriptionWidth; }
    // The widths the counters measure against, as the settings name them.
    void setWidthLimits(const WidthLimits &limits);
    WarningLabel &warningLabel(WarningTarget target) const;

    // Asked before the window closes; false keeps it open.
    using CloseGuard = std::function<bool(DocumentWindow &)>;
    void setCloseGuard(CloseGuard guard) { m_closeGuard = std::move(guard); }

Q_SIGNALS:
    void fieldFocused(TextField field);
    // The page needs another size: a warning came or went.
    void contentsResized();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QLineEdit *makeField(TextField field);
    void showValues();
    void showFlagStates();
    void showPage();
    void showModified();
    void refreshInsights();
    QString previewTitle() const;

    Document &m_document;
    QWidget *m_contents;
    std::array<QLineEdit *, 3> m_fields; // by TextField
    std::array<LineEditActions *, 3> m_editActions; // by TextField
    std::array<QCheckBox *, 4> m_flagBoxes; // by RobotsFlag
    QCheckBox *m_charsetBox = nullptr;
    QLabel *m_pathLabel = nullptr;
    std::optional<TextField> m_activeField;
    CloseGuard m_closeGuard;

    SnippetPreview *m_preview;
    WidthCounter *m_titleWidth;
    WidthCounter *m_descriptionWidth;
    WidthLimits m_limits;
    std::array<WarningLabel *, kWarningTargetCount> m_warningLabels; // by WarningTarget
    std::vector<Warning> m_warnings;
};
