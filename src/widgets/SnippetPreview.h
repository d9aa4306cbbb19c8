#pragma once

#include "WidthLimits.h"

#include <QString>
#include <QWidget>

// The page as a search engine lists it on a desktop: the title as a link, the path, and the
// description over at most two lines, each cut with "…" where a result cuts it. Drawn at
// the result's own size (Liberation Sans 20 px and 14 px) and scaled down as a whole when
// the window is narrower, so that where the text is cut never depends on the window.
class SnippetPreview : public QWidget
{
    Q_OBJECT

public:
    // The column a result takes on a desktop results page.
    static constexpr int kResultWidth = 600;
    static constexpr int kMaxDescriptionLines = 2;

    explicit SnippetPreview(QWidget *parent = nullptr);

    // Text cut so that it and the "…" fit into limit pixels as the engine measures them;
    // text that fits is returned as it is.
    static QString cut(const QString &text, double pixelSize, double limit);

    void setTitle(const QString &title);
    void setPath(const QString &path);
    void setDescription(const QString &description);
    // Where the title and the description are cut: a desktop's limits until set.
    void setWidthLimits(const WidthLimits &limits);
    // As the result shows them, cut; the description in its lines, which joined give its text.
    QString shownTitle() const { return m_shownTitle; }
    QString shownPath() const;
    QStringList shownDescription() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr int kPadding = 10;
    static constexpr int kLineGap = 2;

    QSize naturalSize() const;
    double scaleFor(int width) const;

    QFont m_titleFont;
    QFont m_textFont;
    WidthLimits m_limits;
    QString m_title;
    QString m_shownTitle;
    QString m_path;
    QString m_fullDescription;
    QString m_description;
};
