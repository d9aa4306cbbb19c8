#pragma once

#include "LineEnds.h"
#include "MetaElementSet.h"
#include "PageWarnings.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class SnippetPreview;
class WarningLabel;
class WidthCounter;
class LineEditActions;

// The window of one document: its META values in fields and check boxes, its file path and
// the path it is shown by. Each window knows whether it has unsaved edits. Under the fields
// it shows the page as a search result lists it and the widths of title and description;
// under each field, the warnings about its value.
class DocumentWindow : public QWidget
{
    Q_OBJECT

public:
    static inline const QString kNewCaption = QStringLiteral("Unsaved HTML Document");

    explicit DocumentWindow(QWidget *parent = nullptr);

    // The document in the area's active window, else in its current one; nullptr for none.
    static DocumentWindow *activeIn(const QMdiArea &area);

    // The values a new document starts with; leaves the window unmodified.
    void applyNewDefaults(const QString &standardAuthor, bool defaultCharset);

    MetaElementSet values() const;
    // Runs the same handling as the user's edits and clicks would.
    void setValues(const MetaElementSet &values);

    QString text(TextField field) const;
    void setText(TextField field, const QString &text);
    bool flag(RobotsFlag flag) const;
    void setFlag(RobotsFlag flag, bool on);
    bool flagEnabled(RobotsFlag flag) const;
    bool charset() const;
    void setCharset(bool on);

    // "NONE" for a document never saved.
    QString filePath() const;
    void setFilePath(const QString &path);
    QString displayPath() const;
    void setDisplayPath(const QString &path);
    bool isNew() const;

    QString caption() const { return windowTitle(); }
    void setCaption(const QString &caption);

    // The file's own line end: it separates the tags of the copied block.
    LineEnd lineEnd() const { return m_lineEnd; }
    void setLineEnd(LineEnd lineEnd) { m_lineEnd = lineEnd; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // "Description", "Keywords" or "Author": the field that last had the focus.
    QString activeField() const { return m_activeField; }
    QLineEdit *field(TextField field) const;
    QCheckBox *flagBox(RobotsFlag flag) const;
    QCheckBox *charsetBox() const { return m_charsetBox; }
    // The Edit menu's operations on each text field.
    LineEditActions &editAuthor() const { return *m_authorActions; }
    LineEditActions &editDescription() const { return *m_descriptionActions; }
    LineEditActions &editKeywords() const { return *m_keywordsActions; }

    // What the page on disk holds beyond the values: its <title> and the facts its bytes tell, both
    // taken when the page is read and again after each save.
    QString pageTitle() const { return m_pageTitle; }
    void setPageTitle(const QString &title);
    const PageFacts &pageFacts() const { return m_pageFacts; }
    void setPageFacts(PageFacts facts);
    // Another open document has the same description.
    bool descriptionShared() const { return m_descriptionShared; }
    void setDescriptionShared(bool shared);

    // As of the last change of a value.
    const std::vector<Warning> &warnings() const { return m_warnings; }
    SnippetPreview &preview() const { return *m_preview; }
    WidthCounter &titleWidth() const { return *m_titleWidth; }
    WidthCounter &descriptionWidth() const { return *m_descriptionWidth; }
    WarningLabel &warningLabel(WarningTarget target) const;

    // Asked before the window closes; false keeps it open.
    using CloseGuard = std::function<bool(DocumentWindow &)>;
    void setCloseGuard(CloseGuard guard) { m_closeGuard = std::move(guard); }

Q_SIGNALS:
    // Any change of a value, by the user or by the program.
    void valuesChanged();
    void fieldFocused(const QString &fieldName);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QLineEdit *makeField(const QString &name);
    void exclusiveFlagClicked(RobotsFlag clicked, bool on);
    void markChanged();
    void refreshInsights();
    QString previewTitle() const;

    QLineEdit *m_descriptionEdit;
    QLineEdit *m_keywordsEdit;
    QLineEdit *m_authorEdit;
    QCheckBox *m_noIndexBox;
    QCheckBox *m_noFollowBox;
    QCheckBox *m_noImageIndexBox;
    QCheckBox *m_noImageClickBox;
    QCheckBox *m_charsetBox;
    QLabel *m_filePathLabel;
    QLabel *m_displayPathLabel;
    LineEditActions *m_authorActions;
    LineEditActions *m_descriptionActions;
    LineEditActions *m_keywordsActions;
    LineEnd m_lineEnd = LineEnd::CrLf;
    bool m_modified = false;
    QString m_activeField;
    CloseGuard m_closeGuard;

    SnippetPreview *m_preview;
    WidthCounter *m_titleWidth;
    WidthCounter *m_descriptionWidth;
    std::array<WarningLabel *, kWarningTargetCount> m_warningLabels; // by WarningTarget
    QString m_pageTitle;
    PageFacts m_pageFacts;
    bool m_descriptionShared = false;
    std::vector<Warning> m_warnings;
};
